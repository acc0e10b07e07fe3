#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "core/shell/atomic_write.h"

namespace lexaloom {

class Ui;

// A report or extraction file (UTF-8 with a byte-order mark, text through the lossless
// codec) written by the shared atomic writer and put in place by commit(): a failed
// write never harms the file that was there. An aborted run commits what it wrote so
// far, as the tools promise.
class TextExportFile final {
public:
    explicit TextExportFile(const QString &path);
    TextExportFile(const TextExportFile &) = delete;
    TextExportFile &operator=(const TextExportFile &) = delete;

    // Opens the file and writes the byte-order mark; tells the user when it cannot.
    bool open(Ui &ui);
    void write(QStringView text);
    // Writes what is buffered and puts the file in place; tells the user on failure.
    bool commit(Ui &ui);
    // Bytes written so far, buffered ones included.
    qint64 size() const { return m_file.written(); }
    bool ok() const { return m_ok; }

private:
    AtomicFileWriter m_file;
    bool m_ok = true;
};

} // namespace lexaloom
