#include "core/dictionary_tools/possessive_names.h"

#include <QHash>

#include <unordered_map>
#include <vector>

#include "core/dictionary/dictionary_document.h"
#include "core/dictionary_tools/bulk_import.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

bool isNothingToProcess(const QString &text)
{
    return text.isEmpty() || text == QLatin1String(" ") || text == QLatin1String("\n");
}

// A word worth adding: capitalised, not a dash-joined fragment.
bool isNameCandidate(QStringView word)
{
    if (word.isEmpty() || word.startsWith(u'-') || word.endsWith(u'-'))
        return false;
    const char16_t c = word[0].unicode();
    if (c < 0x80)
        return c < u'a' || c > u'z';
    const qsizetype firstLength = word.size() > 1 && word[0].isHighSurrogate() && word[1].isLowSurrogate() ? 2 : 1;
    const QString first = word.first(firstLength).toString();
    return first == first.toUpper();
}

// Which candidate words some text holds followed by the possessives. The candidates
// sit reversed in a trie, so every place where the possessives occur is matched
// backwards against all of them at once: one pass over the dictionary instead of one
// search of the dictionary per word.
class PresenceIndex final {
public:
    explicit PresenceIndex(QString possessives)
        : m_possessives(std::move(possessives))
    {
        m_wordAt.push_back(-1);
    }

    // The id of the word, added when new.
    qsizetype add(QStringView word)
    {
        qint32 node = 0;
        for (qsizetype j = word.size() - 1; j >= 0; --j) {
            const quint64 key = edgeKey(node, word[j]);
            auto it = m_children.find(key);
            if (it == m_children.end()) {
                it = m_children.emplace(key, static_cast<qint32>(m_wordAt.size())).first;
                m_wordAt.push_back(-1);
            }
            node = it->second;
        }
        if (m_wordAt[static_cast<size_t>(node)] < 0) {
            m_wordAt[static_cast<size_t>(node)] = static_cast<qint32>(m_present.size());
            m_present.push_back(0);
        }
        return m_wordAt[static_cast<size_t>(node)];
    }

    bool isPresent(qsizetype id) const { return m_present[static_cast<size_t>(id)] != 0; }

    // Marks every candidate w for which `text` contains w + possessives.
    void scan(QStringView text)
    {
        if (m_possessives.isEmpty()) {
            for (qsizetype k = 1; k <= text.size(); ++k)
                matchBefore(text, k);
            return;
        }
        for (qsizetype k = text.indexOf(m_possessives); k >= 0; k = text.indexOf(m_possessives, k + 1))
            matchBefore(text, k);
    }

private:
    static quint64 edgeKey(qint32 node, QChar c) { return (quint64(quint32(node)) << 16) | c.unicode(); }

    void matchBefore(QStringView text, qsizetype end)
    {
        qint32 node = 0;
        for (qsizetype j = end - 1; j >= 0; --j) {
            const auto it = m_children.find(edgeKey(node, text[j]));
            if (it == m_children.end())
                return;
            node = it->second;
            if (const qint32 id = m_wordAt[static_cast<size_t>(node)]; id >= 0)
                m_present[static_cast<size_t>(id)] = 1;
        }
    }

    QString m_possessives;
    std::unordered_map<quint64, qint32> m_children;
    std::vector<qint32> m_wordAt; // per trie node: the word ending there, or -1
    std::vector<char> m_present;
};

} // namespace

QString NormaliseNamesText(const QString &text, const PossessiveSettings &settings)
{
    QString t = NormaliseLineEnds(text);
    if (!t.endsWith(u'\n'))
        t.append(u'\n');
    const QLatin1String space(" ");
    // The single characters of each stage in one pass: they never make or break each
    // other, so the order among them does not matter; the stages stay in order.
    const auto mapCharacters = [&t](const auto &map) {
        for (QChar &c : t) {
            if (const char16_t to = map(c.unicode()))
                c = QChar(to);
        }
    };
    mapCharacters([](char16_t c) -> char16_t {
        switch (c) {
        case u'+':
        case u'%':
        case u',':
        case u'.':
        case u'&':
        case u'\t':
        case u'(':
        case u')':
        case u'[':
        case u']':
        case u'{':
        case u'}':
        case u'/':
        case u'*':
        case u'?':
        case u':':
        case u'!':
        case u';':
        case u'|':
            return u' ';
        case 0x2013:
            return u'-';
        default:
            return 0;
        }
    });
    t.replace(QLatin1String("--"), QLatin1String("-"));
    mapCharacters([](char16_t c) -> char16_t { return (c >= u'0' && c <= u'9') || c == u'<' || c == u'>' ? u' ' : 0; });
    t.replace(QLatin1String(" - "), space);
    t.replace(QStringLiteral(" \u2212 "), space);
    t.replace(QStringLiteral(" \u2014 "), space);
    for (const QString &remove : {settings.remove1, settings.remove2}) {
        if (!remove.isEmpty())
            t.replace(remove, space);
    }
    t.replace(QLatin1String("  "), space);
    return t;
}

PossessiveNamesSession::PossessiveNamesSession(DictionaryDocument &dictionary, PossessiveSettings &possessives,
                                               const MainSettings &settings, Ui &ui)
    : m_dictionary(dictionary)
    , m_possessives(possessives)
    , m_settings(settings)
    , m_ui(ui)
{
}

QString PossessiveNamesSession::foundText() const
{
    return bulkImportTexts::found + FormatCount(m_found, m_settings.thousandsSeparator);
}

void PossessiveNamesSession::clearOutput()
{
    m_output.clear();
    m_found = 0;
}

bool PossessiveNamesSession::process()
{
    const QString text = NormaliseNamesText(input, m_possessives);
    if (isNothingToProcess(text)) {
        m_ui.showMessage(LongTask::warningTitle(), bulkImportTexts::nothingToProcess, MessageIcon::Warning);
        return false;
    }
    clearOutput();
    const QString possessives = m_possessives.possessives;
    const qint64 lines = text.count(u'\n');
    LongTask task(m_ui, m_settings);
    const auto progress = [&](qint64 i) {
        return bulkImportTexts::processing + task.formatCount(i) + u'/' + task.formatCount(lines);
    };
    task.begin(progress(0), lines);

    // The candidates first, then which of them the dictionary already holds.
    PresenceIndex index(possessives);
    std::vector<qsizetype> wordIds;     // per candidate occurrence, in text order
    QHash<QStringView, qsizetype> idOf; // a name repeats often; the trie sees it once
    for (const QStringView line : QStringView(text).tokenize(u'\n')) {
        for (const QStringView word : line.tokenize(u' ')) {
            if (!isNameCandidate(word))
                continue;
            auto it = idOf.constFind(word);
            if (it == idOf.constEnd())
                it = idOf.insert(word, index.add(word));
            wordIds.push_back(*it);
        }
        if (task.poll().abortRequested) {
            task.cancel();
            return false;
        }
    }
    const qint64 entries = m_dictionary.entries.size();
    for (qint64 i = 0; i < entries; ++i) {
        index.scan(m_dictionary.entries.view(i));
        if (task.poll().abortRequested) {
            task.cancel();
            return false;
        }
    }

    bool snapshotTaken = false;
    size_t occurrence = 0;
    qint64 lineNumber = 0;
    qsizetype start = 0;
    QString entry;
    while (lineNumber < lines) {
        const qsizetype end = text.indexOf(u'\n', start);
        const QStringView line = QStringView(text).sliced(start, end - start);
        start = end + 1;
        ++lineNumber;
        for (const QStringView word : line.tokenize(u' ')) {
            if (!isNameCandidate(word))
                continue;
            const qsizetype id = wordIds[occurrence++];
            if (index.isPresent(id))
                continue;
            if (!snapshotTaken) {
                TakeUndoSnapshot(m_dictionary);
                snapshotTaken = true;
            }
            entry = word.toString() + possessives;
            m_dictionary.entries.append(entry);
            m_dictionary.changed = true;
            // The new entry counts for the later words as the older ones did.
            index.scan(entry);
            if (logIndexOn) {
                m_output += QString::number(logIndexStart + m_found);
                m_output += QLatin1String(") ");
            }
            m_output += entry;
            m_output += u'\n';
            ++m_found;
        }
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            task.showProgress(progress(lineNumber), lineNumber);
            if (onTick)
                onTick();
        }
        if (poll.abortRequested) {
            if (snapshotTaken)
                UndoListChange(m_dictionary);
            task.cancel();
            return false;
        }
    }
    task.finish(progress(lines) + bulkImportTexts::done);
    return true;
}

} // namespace lexaloom
