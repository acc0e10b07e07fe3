#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>

namespace lexaloom {

// Streams the entry lines of a .dic without holding the file: skips a leading
// byte-order mark, ends lines at LF, CR LF or CR, and drops the word-count line.
// The full document load with its tag handling lives in the dictionary document;
// this is for batch tools that only need each entry's word part.
class DicLineReader final {
public:
    explicit DicLineReader(const QString &path);

    bool isOpen() const { return m_file.isOpen(); }
    // The next line after the count line; false at the end of the file.
    bool next(QString &line);
    // Bytes consumed so far, for progress.
    qint64 position() const { return m_consumed; }
    qint64 size() const { return m_file.size(); }

    // The part of a line before its first tab: the word and its flags.
    static QStringView wordPart(QStringView line);

private:
    bool readLine(QString &line);
    bool fill();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_consumed = 0;
    bool m_eof = false;
    bool m_started = false;
};

} // namespace lexaloom
