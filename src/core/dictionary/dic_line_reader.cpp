#include "core/dictionary/dic_line_reader.h"

#include <algorithm>

#include "core/dictionary/dictionary_charset.h"
#include "core/shell/text_codec.h"

namespace lexaloom {

namespace {
// 1-based line of `bytes` holding its first byte that is not UTF-8.
qint64 lineOfOffset(QByteArrayView bytes, qsizetype offset)
{
    qint64 line = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && !(i + 1 < bytes.size() && bytes[i + 1] == '\n')))
            ++line;
    }
    return line;
}
} // namespace

bool IsWordCountLine(QStringView line)
{
    // Hunspell reads the leading number of the first line and ignores the rest
    // ("160502<TAB># Produced By ..."), so whatever follows the digits is no word.
    const QStringView trimmed = line.trimmed();
    return trimmed.isEmpty() || (trimmed.front() >= u'0' && trimmed.front() <= u'9');
}

DicStreamReader::DicStreamReader(QIODevice &device, DicReadQuestions questions, const DictionaryCharset *charset)
    : m_device(device)
    , m_questions(std::move(questions))
    , m_charset(charset)
{
    m_pending.reserve(blockBytes * 2);
    m_text.reserve(blockBytes * 2);
}

qint64 DicStreamReader::position() const
{
    // Bytes and UTF-16 units differ; the share of the block is close enough for a bar.
    const qsizetype size = m_text.size();
    return m_blockStart + (m_index < size ? m_blockBytes * m_index / size : m_blockBytes);
}

DicStreamReader::Status DicStreamReader::loadBlock()
{
    for (;;) {
        if (m_atEnd)
            return Status::End;
        const qsizetype old = m_pending.size();
        m_pending.resize(old + blockBytes);
        const qint64 n = m_device.read(m_pending.data() + old, blockBytes);
        if (n < 0) {
            m_pending.resize(old);
            return Status::Failed;
        }
        m_pending.resize(old + n);
        m_atEnd = n == 0;
        if (m_atStart) {
            if (m_pending.size() < utf8ByteOrderMark.size() && !m_atEnd)
                continue;
            m_atStart = false;
            if (QByteArrayView(m_pending).startsWith(utf8ByteOrderMark)) {
                m_pending.remove(0, utf8ByteOrderMark.size());
                m_pendingStart += utf8ByteOrderMark.size();
            }
        }
        // A block ends after its last LF, or after its last CR when no LF follows it,
        // so no line and no CR LF pair is split between blocks.
        qsizetype cut = m_pending.size();
        if (!m_atEnd) {
            cut = m_pending.lastIndexOf('\n') + 1;
            if (cut == 0 && m_pending.size() >= 2) // a CR as the last byte may yet be followed by a LF
                cut = m_pending.lastIndexOf('\r', m_pending.size() - 2) + 1;
            if (cut == 0)
                continue; // one long line: read on
        }
        if (cut == 0)
            return Status::End;
        const QByteArrayView bytes = QByteArrayView(m_pending).first(cut);
        m_text.resize(bytes.size());
        qsizetype invalid = 0;
        char16_t *begin = reinterpret_cast<char16_t *>(m_text.data());
        // Every byte is a character in a legacy charset (undefined ones are kept raw).
        m_text.truncate((m_charset ? m_charset->decodeInto(bytes, begin) : DecodeLosslessInto(bytes, begin, &invalid)) -
                        begin);
        m_index = 0;
        m_blockStart = m_pendingStart;
        m_blockBytes = cut;
        if (invalid > 0 && !m_invalidReported) {
            m_invalidReported = true;
            const qint64 line = m_lines + lineOfOffset(bytes, FirstInvalidUtf8Offset(bytes));
            if (m_questions.invalidUtf8 && !m_questions.invalidUtf8(line)) {
                m_pending.remove(0, cut);
                return Status::Stopped;
            }
        }
        m_pending.remove(0, cut);
        m_pendingStart += cut;
        return Status::Entry;
    }
}

DicStreamReader::Status DicStreamReader::next(QStringView &entry)
{
    for (;;) {
        if (m_index >= m_text.size()) {
            m_text.resize(0); // keeps the block's buffer for the next one
            m_index = 0;
            const Status status = loadBlock();
            if (status != Status::Entry)
                return status;
            if (m_text.isEmpty())
                continue;
        }
        char16_t *text = reinterpret_cast<char16_t *>(m_text.data());
        const qsizetype size = m_text.size();
        qsizetype i = m_index;
        const qsizetype start = i;
        qsizetype tab = -1;
        qsizetype space = -1;
        bool tagCharacter = false;
        if (m_mode == SeparatorMode::Tab) {
            // Spaces and tag characters no longer matter: look for tabs and line ends only.
            for (; i < size; ++i) {
                const char16_t c = text[i];
                if (c > u'\r')
                    continue;
                if (c == u'\n' || c == u'\r')
                    break;
                if (c == u'\t' && tab < 0)
                    tab = i;
            }
        } else {
            for (; i < size; ++i) {
                const char16_t c = text[i];
                if (c <= u'\r') {
                    if (c == u'\n' || c == u'\r')
                        break;
                    if (c == u'\t' && tab < 0)
                        tab = i;
                } else if (c == u' ') {
                    if (space < 0)
                        space = i;
                } else if (c == u'[' || c == u']' || c == u',' || c == u':') {
                    tagCharacter = true;
                }
            }
        }
        const qsizetype end = i;
        if (i < size)
            i += text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n' ? 2 : 1;
        m_index = i;
        // The first line holds the word count, which every save writes anew; a first
        // line that does not begin with a number is a word pasted without one and stays.
        if (m_lines++ == 0 && IsWordCountLine(QStringView(text + start, end - start)))
            continue;

        if (tab >= 0) {
            m_mode = SeparatorMode::Tab;
            text[tab] = u'\n';
        } else {
            if (m_mode == SeparatorMode::Undecided && tagCharacter) {
                m_mode = !m_questions.spaceSeparator || m_questions.spaceSeparator() ? SeparatorMode::Space
                                                                                     : SeparatorMode::Tab;
            }
            if (m_mode == SeparatorMode::Space && space >= 0)
                text[space] = u'\n';
        }
        entry = QStringView(text + start, end - start);
        return Status::Entry;
    }
}

DicLineReader::DicLineReader(const QString &path, DicReadQuestions questions, const DictionaryCharset *charset)
    : m_file(path)
{
    m_file.open(QIODevice::ReadOnly);
    m_reader = std::make_unique<DicStreamReader>(m_file, std::move(questions), charset);
}

bool DicLineReader::next(QStringView &entry)
{
    if (!m_file.isOpen())
        return false;
    const DicStreamReader::Status status = m_reader->next(entry);
    if (status != DicStreamReader::Status::Entry) {
        m_failed = status == DicStreamReader::Status::Failed;
        return false;
    }
    return true;
}

bool DicLineReader::next(QString &line)
{
    QStringView entry;
    if (!next(entry))
        return false;
    line = entry.toString();
    line.replace(u'\n', u'\t');
    return true;
}

QStringView DicLineReader::wordPart(QStringView line)
{
    const auto at = std::find_if(line.begin(), line.end(), [](QChar c) { return c == u'\t' || c == u'\n'; });
    return line.first(at - line.begin());
}

} // namespace lexaloom
