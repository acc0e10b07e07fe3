#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace lexaloom {

class AtomicFileWriter;

// Streams encoded text to an atomic file in blocks, without a string per entry;
// bytes that were not UTF-8 when read go back unchanged. Every file kind that
// writes many lines shares it.
class BlockWriter final {
public:
    static constexpr qsizetype blockBytes = 1 << 20;

    explicit BlockWriter(AtomicFileWriter &file);
    BlockWriter(const BlockWriter &) = delete;
    BlockWriter &operator=(const BlockWriter &) = delete;

    void append(QByteArrayView bytes);
    void append(QStringView text);
    void appendLineEnd();
    // The entry with each "\n" written as `fieldSeparator`, then the line's LF.
    void appendEntry(QStringView entry, char fieldSeparator);

    // Hands the buffered bytes to the file; false once any write failed.
    bool flush();
    bool failed() const { return m_failed; }
    // Bytes handed over so far, buffered ones included.
    qint64 written() const { return m_written + m_used; }

private:
    char *reserve(qsizetype bytes);

    AtomicFileWriter &m_file;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    qint64 m_written = 0;
    bool m_failed = false;
};

} // namespace lexaloom
