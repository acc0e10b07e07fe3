#include "core/shell/block_writer.h"

#include <algorithm>
#include <cstring>

#include "core/shell/atomic_write.h"
#include "core/shell/text_codec.h"

namespace lexaloom {

BlockWriter::BlockWriter(AtomicFileWriter &file)
    : m_file(file)
    , m_buffer(blockBytes, Qt::Uninitialized)
{
}

void BlockWriter::append(QByteArrayView bytes)
{
    char *out = reserve(bytes.size());
    std::memcpy(out, bytes.data(), static_cast<size_t>(bytes.size()));
    m_used += bytes.size();
}

void BlockWriter::append(QStringView text)
{
    char *out = reserve(losslessEncodedSpace(text.size()));
    char *end = EncodeLosslessInto(text, out);
    m_used += end - out;
}

void BlockWriter::appendLineEnd()
{
    *reserve(1) = '\n';
    ++m_used;
}

void BlockWriter::appendEntry(QStringView entry, char fieldSeparator)
{
    char *out = reserve(losslessEncodedSpace(entry.size()) + 1);
    char *end = EncodeLosslessInto(entry, out);
    std::replace(out, end, '\n', fieldSeparator);
    *end++ = '\n';
    m_used += end - out;
}

bool BlockWriter::flush()
{
    if (m_used > 0 && !m_file.write(QByteArrayView(m_buffer.constData(), m_used)))
        m_failed = true;
    m_written += m_used;
    m_used = 0;
    return !m_failed;
}

char *BlockWriter::reserve(qsizetype bytes)
{
    if (m_used + bytes > m_buffer.size()) {
        flush();
        if (bytes > m_buffer.size())
            m_buffer.resize(bytes);
    }
    return m_buffer.data() + m_used;
}

} // namespace lexaloom
