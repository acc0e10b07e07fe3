#include "core/dictionary/derive_sinks.h"

#include <QIODevice>

#include <cstring>

#include "core/shell/text_codec.h"

namespace lexaloom {

Utf8Writer::Utf8Writer(QIODevice &device)
    : m_device(device)
    , m_data(new char[size_t(2 * flushSize)])
    , m_capacity(2 * flushSize)
{
}

Utf8Writer::~Utf8Writer()
{
    flush();
}

char *Utf8Writer::room(qsizetype bytes)
{
    if (m_used + bytes > m_capacity) {
        flush();
        if (bytes > m_capacity) {
            m_capacity = bytes + flushSize;
            m_data.reset(new char[size_t(m_capacity)]);
        }
    }
    return m_data.get() + m_used;
}

void Utf8Writer::write(char c)
{
    char *out = room(1);
    *out++ = c;
    commit(out);
}

void Utf8Writer::writeByteOrderMark()
{
    char *out = room(3);
    std::memcpy(out, "\xEF\xBB\xBF", 3);
    commit(out + 3);
}

void Utf8Writer::write(QStringView text)
{
    // Three bytes per unit at most; make room once, then write through a pointer.
    // Lossless: a byte of the .dic that was not UTF-8 is written back as that byte.
    commit(EncodeLosslessInto(text, room(3 * text.size())));
}

void Utf8Writer::writeLine(QStringView text)
{
    char *out = EncodeLosslessInto(text, room(3 * text.size() + 1));
    *out++ = '\n';
    commit(out);
}

bool Utf8Writer::flush()
{
    if (m_used > 0) {
        if (m_ok && m_device.write(m_data.get(), m_used) != m_used)
            m_ok = false;
        m_flushed += m_used;
        m_used = 0;
    }
    return m_ok;
}

EditorRowsSink::EditorRowsSink(bool compactList, std::function<bool()> stopRequested)
    : m_compact(compactList)
    , m_stopRequested(std::move(stopRequested))
{
    m_pollsEvents = bool(m_stopRequested);
}

void EditorRowsSink::begin()
{
    if (!m_compact && onBegin)
        onBegin();
}

bool EditorRowsSink::accept(const DerivedWord &form)
{
    EditorRow row;
    row.word = form.word.toString();
    row.type = form.type;
    if (form.type != DerivedType::Primary) {
        row.flag = form.flag.toString();
        row.position = form.position;
        row.rule = ruleText(form);
        row.flagPath = flagPathText(form);
    }
    m_rows.push_back(std::move(row));
    return true;
}

QStringList EditorRowsSink::columns(const EditorRow &row) const
{
    if (m_compact)
        return {row.word, row.flag};
    if (row.type == DerivedType::Primary)
        return {row.word, derivedTypeText(row.type)};
    return {row.word, derivedTypeText(row.type), row.flag, QString::number(row.position), row.rule};
}

QString EditorRowsSink::derivedWordsHeading(qsizetype rowCount)
{
    return QStringLiteral("Derived words (") + QString::number(rowCount) + u')';
}

FileLinesSink::FileLinesSink(Utf8Writer &out, FileLineFormat format, int maxRuleCount, QString lineSuffix)
    : m_out(out)
    , m_format(format)
    , m_width(int(QString::number(maxRuleCount).size()))
    , m_lineSuffix(std::move(lineSuffix))
{
    // Plain and compound lines read nothing but the form's text.
    m_wordsOnly = format == FileLineFormat::Plain || format == FileLineFormat::Compounds;
}

bool FileLinesSink::acceptWord(QStringView word)
{
    if (m_format == FileLineFormat::Plain) {
        m_out.writeLine(word);
        return true;
    }
    DerivedWord form;
    form.word = word;
    return accept(form);
}

QString FileLinesSink::csvHeading()
{
    return QStringLiteral("\"Root_word\";\"Word\";\"Primary\";\"Type\";\"Code\";\"Position\";\"Rule\"\n");
}

bool FileLinesSink::accept(const DerivedWord &form)
{
    switch (m_format) {
    case FileLineFormat::Plain:
        m_out.writeLine(form.word);
        return true;
    case FileLineFormat::Compounds:
        if (!form.word.contains(u'-'))
            return false;
        m_out.write(form.word);
        m_out.write(m_lineSuffix);
        m_out.write('\n');
        return true;
    case FileLineFormat::Csv:
        writeCsv(form);
        return true;
    case FileLineFormat::Accepted:
        if (!form.acceptedAlone())
            return false;
        if (m_forbidden && !m_forbidden->isEmpty() && m_forbidden->contains(form.word.toString()))
            return false;
        m_out.write(form.word);
        m_out.write('\n');
        return true;
    }
    return false;
}

void FileLinesSink::writeCsv(const DerivedWord &form)
{
    const QLatin1String between("\";\"");
    m_line.resize(0);
    m_line += u'"';
    m_line += form.root;
    m_line += between;
    if (form.type == DerivedType::Primary) {
        const qsizetype slash = form.word.indexOf(u'/');
        m_line += slash < 0 ? form.word : form.word.first(slash);
        m_line += between;
        m_line += form.word;
        m_line += QLatin1String("\";\"Primary\";\"\";\"\";\"\"\n");
        m_out.write(m_line);
        return;
    }
    m_line += form.word;
    m_line += between;
    m_line += form.base;
    m_line += between;
    m_line += derivedTypeText(form.type);
    m_line += between;
    m_line += form.flag;
    m_line += between;
    m_line += QString::number(form.position);
    m_line += between;
    m_line += ruleText(form, m_width);
    m_line += u'"';
    // The suffix and Both rows drop a space before a quote (an empty condition
    // leaves none inside the last field); prefix rows keep it.
    if (form.type != DerivedType::Prefix)
        m_line.replace(QLatin1String(" \""), QLatin1String("\""));
    m_line += u'\n';
    m_out.write(m_line);
}

SharedListSink::SharedListSink(QStringList &list, qsizetype baseIndex, QString tail1, QString tail2)
    : m_list(list)
    , m_baseIndex(baseIndex)
    , m_tail1(std::move(tail1))
    , m_tail2(std::move(tail2))
{
    m_wordsOnly = true;
}

bool SharedListSink::acceptWord(QStringView word)
{
    const qsizetype index = m_baseIndex + m_count++;
    if (m_list.size() <= index)
        m_list.resize(index + 1);
    QString text = word.toString();
    text += m_tail1;
    text += m_tail2;
    m_list[index] = std::move(text);
    return true;
}

StatisticsSink::StatisticsSink(std::function<void(QStringView word)> countDerivedWord, bool skipCounting)
    : m_count(std::move(countDerivedWord))
    , m_skip(skipCounting)
{
}

bool StatisticsSink::accept(const DerivedWord &form)
{
    if (!m_skip && m_count)
        m_count(form.word);
    return true;
}

TypeFilterSink::TypeFilterSink(int typeNumber, bool markPrimary, std::function<void(QStringView line)> writeLine)
    : m_type(typeNumber)
    , m_mark(markPrimary)
    , m_writeLine(std::move(writeLine))
{
}

bool TypeFilterSink::matchesWordType(int typeNumber, QStringView word)
{
    switch (typeNumber) {
    case 0:
        return word.contains(u'\'');
    case 1:
        return word.contains(u'-');
    case 2: {
        if (word.isEmpty())
            return false;
        // Digits and signs have no upper case, so they count as upper-case starts.
        const QString first =
            word.first(QChar::isHighSurrogate(word[0].unicode()) && word.size() > 1 ? 2 : 1).toString();
        return first == first.toUpper();
    }
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
        return word.size() == typeNumber - 2;
    }
    return false;
}

bool TypeFilterSink::accept(const DerivedWord &form)
{
    if (!matchesWordType(m_type, form.word) || !m_writeLine)
        return false;
    m_line.resize(0);
    m_line += form.word;
    if (m_mark) {
        if (form.type == DerivedType::Primary) {
            m_line += QLatin1String(" (Primary)");
        } else {
            m_line += QLatin1String(" Flag:");
            m_line += form.flag;
            m_line += QLatin1String(" (Primary:");
            m_line += form.base;
            m_line += u')';
        }
    }
    m_writeLine(m_line);
    return false;
}

namespace {

// Takes the primary form and stops the call there: only the entry's own flags matter.
class PrimaryOnlySink final : public DerivationSink {
public:
    PrimaryOnlySink() { m_pollsEvents = true; }
    bool accept(const DerivedWord &form) override
    {
        if (form.type == DerivedType::Primary && form.entryForbidden)
            words.insert(form.word.toString());
        m_seen = true;
        return true;
    }
    bool stopRequested() override { return m_seen; }
    void begin() override { m_seen = false; }
    QSet<QString> words;

private:
    bool m_seen = false;
};

} // namespace

QSet<QString> ForbiddenWords(const EntryStore &entries, const AffixTable &table)
{
    if (!table.hasForbiddenWord || table.forbiddenWordFlag.isEmpty())
        return {};
    PrimaryOnlySink sink;
    WordDeriver deriver(table);
    for (qint64 i = 0; i < entries.size(); ++i) {
        const QStringView line = entries.view(i);
        const qsizetype tab = line.indexOf(u'\n');
        const QStringView part = tab < 0 ? line : line.first(tab);
        if (part.startsWith(u'/'))
            continue;
        sink.begin();
        deriver.DeriveWord(part, sink);
    }
    return sink.words;
}

} // namespace lexaloom
