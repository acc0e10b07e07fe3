#pragma once

#include <QIODevice>

namespace lexaloom {

class AtomicFileWriter;

// A write-only device over an AtomicFileWriter, for writers that stream to a QIODevice:
// the bytes still reach the file only when the writer commits. A failed write sets the
// device's error string to the system's reason.
class AtomicFileDevice final : public QIODevice {
public:
    explicit AtomicFileDevice(AtomicFileWriter &file);
    AtomicFileDevice(const AtomicFileDevice &) = delete;
    AtomicFileDevice &operator=(const AtomicFileDevice &) = delete;

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    AtomicFileWriter &m_file;
};

} // namespace lexaloom
