#include "dictionary/dic_line_reader.h"

namespace lexaloom {

namespace {
constexpr qint64 chunkSize = 1 << 20;
}

DicLineReader::DicLineReader(const QString &path) : m_file(path)
{
    m_file.open(QIODevice::ReadOnly);
}

bool DicLineReader::fill()
{
    if (m_eof || !m_file.isOpen())
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const QByteArray chunk = m_file.read(chunkSize);
    if (chunk.isEmpty()) {
        m_eof = true;
        return false;
    }
    m_buffer += chunk;
    return true;
}

bool DicLineReader::readLine(QString &line)
{
    for (;;) {
        const char *data = m_buffer.constData();
        for (qsizetype i = m_pos; i < m_buffer.size(); ++i) {
            if (data[i] != '\n' && data[i] != '\r')
                continue;
            // A CR at the end of the buffer may be the first half of CR LF.
            if (data[i] == '\r' && i + 1 == m_buffer.size() && !m_eof) {
                if (fill())
                    break;
            }
            data = m_buffer.constData();
            line = QString::fromUtf8(data + m_pos, i - m_pos);
            qsizetype end = i + 1;
            if (data[i] == '\r' && end < m_buffer.size() && data[end] == '\n')
                ++end;
            m_consumed += end - m_pos;
            m_pos = end;
            return true;
        }
        if (!fill()) {
            if (m_pos >= m_buffer.size())
                return false;
            line = QString::fromUtf8(m_buffer.constData() + m_pos, m_buffer.size() - m_pos);
            m_consumed += m_buffer.size() - m_pos;
            m_pos = m_buffer.size();
            return true;
        }
    }
}

bool DicLineReader::next(QString &line)
{
    if (!m_started) {
        m_started = true;
        fill();
        if (m_buffer.startsWith("\xEF\xBB\xBF")) {
            m_pos = 3;
            m_consumed = 3;
        }
        QString countLine;
        if (!readLine(countLine))
            return false;
    }
    return readLine(line);
}

QStringView DicLineReader::wordPart(QStringView line)
{
    const qsizetype tab = line.indexOf(u'\t');
    return tab < 0 ? line : line.first(tab);
}

} // namespace lexaloom
