#include "core/hyphenation/hyphenation_patterns.h"

#include <QChar>

#include <algorithm>

#include "core/shell/long_task.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

bool isValueChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'1' && u <= u'9') || u == u'-' || u == u'=';
}

// One unit at a time, so that positions in the lower-cased copy are those of the word.
char16_t lowerUnit(char16_t c)
{
    if (QChar::isSurrogate(c))
        return c;
    const char32_t lower = QChar::toLower(char32_t(c));
    return lower > 0xFFFF ? c : char16_t(lower);
}

// The integer at the start of `text`, as a BASIC Val() reads it: 0 when there is none.
int leadingInteger(QStringView text)
{
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<qint64>(value * 10 + (text[i].unicode() - u'0'), 1000000);
    return int(negative ? -value : value);
}

// The second space-separated field of a keyword line.
int keywordValue(QStringView line)
{
    const qsizetype first = line.indexOf(u' ');
    if (first < 0)
        return 0;
    QStringView rest = line.sliced(first + 1);
    const qsizetype second = rest.indexOf(u' ');
    return leadingInteger(second < 0 ? rest : rest.first(second));
}

QString checkPatternText(const QString &text)
{
    if (!text.startsWith(QStringLiteral("UTF-8")))
        return hyphenationTexts::mustStartWithUtf8;
    if (!text.endsWith(QLatin1Char('\n')))
        return hyphenationTexts::mustEndWithLf;
    QString bare = text;
    bare.remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
    if (text.count(QLatin1Char('\n')) < 2 || bare == QStringLiteral("UTF-8"))
        return hyphenationTexts::noRules;
    return {};
}

// Parses a checked text into the cache; false when the user aborted or a line was
// refused (`warning` then says why).
bool parsePatternText(HyphenationPatternCache &cache, const QString &text, LongTask *task, QString &warning)
{
    cache.clear();
    const QStringView all(text);
    qsizetype start = 0;
    qint64 lineNumber = 0;
    for (qsizetype end = all.indexOf(u'\n'); end >= 0; end = all.indexOf(u'\n', start)) {
        const QStringView line = all.sliced(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (task) {
            const LongTask::PollResult poll = task->poll();
            if (poll.ticked)
                task->showValue(lineNumber);
            if (poll.abortRequested) {
                cache.clear();
                return false;
            }
        }
        if (line.startsWith(u"LEFTHYPHENMIN"))
            cache.leftHyphenMin = keywordValue(line);
        else if (line.startsWith(u"RIGHTHYPHENMIN"))
            cache.rightHyphenMin = keywordValue(line);
        else if (line.startsWith(u"COMPOUNDLEFTHYPHENMIN"))
            cache.compoundLeftHyphenMin = keywordValue(line);
        else if (line.startsWith(u"COMPOUNDRIGHTHYPHENMIN"))
            cache.compoundRightHyphenMin = keywordValue(line);
        else if (line.startsWith(u"UTF-8") || line.startsWith(u'%'))
            continue;
        else if (line.size() > maxPatternLength) {
            cache.clear();
            warning = hyphenationTexts::patternTooLong.arg(lineNumber);
            return false;
        } else
            cache.addPattern(line);
    }
    cache.sourceText = text;
    return true;
}

QChar slotText(std::int8_t value)
{
    return value == HyphenationPattern::forcedBreak ? QLatin1Char('-') : QChar(u'0' + value);
}

} // namespace

SpacedPattern ParsePatternLine(QStringView line)
{
    SpacedPattern p;
    if (!line.isEmpty() && isValueChar(line.front())) {
        p.key += QLatin1Char(' ');
        p.values += QLatin1Char(' ');
    }
    for (QChar c : line) {
        if (isValueChar(c)) {
            // The slot is the last character written; a later value takes it.
            p.values.back() = c == u'=' ? QLatin1Char('-') : c;
            continue;
        }
        p.key += c;
        p.key += QLatin1Char(' ');
        p.values += c;
        p.values += QLatin1Char(' ');
    }
    if (p.key.endsWith(QLatin1Char(' ')))
        p.key.chop(1);
    if (p.values.endsWith(QLatin1Char(' ')))
        p.values.chop(1);
    return p;
}

HyphenationPattern CompilePattern(QStringView line)
{
    HyphenationPattern p;
    p.gapValues.push_back(0);
    p.leadingValue = !line.isEmpty() && isValueChar(line.front());
    for (QChar c : line) {
        if (isValueChar(c)) {
            p.gapValues.back() =
                c == u'-' || c == u'=' ? HyphenationPattern::forcedBreak : std::int8_t(c.unicode() - u'0');
            p.hasValues = true;
            continue;
        }
        p.letters.push_back(lowerUnit(c.unicode()));
        p.gapValues.push_back(0);
    }
    p.startsWithDot = !p.leadingValue && !p.letters.empty() && p.letters.front() == u'.';
    p.endsWithDot = !p.letters.empty() && p.letters.back() == u'.';
    return p;
}

void HyphenationPatternCache::clear()
{
    sourceText.clear();
    leftHyphenMin = rightHyphenMin = compoundLeftHyphenMin = compoundRightHyphenMin = 1;
    m_patterns.clear();
    m_nodes.assign(1, Node{});
    m_edges.clear();
}

int HyphenationPatternCache::child(int node, char16_t c) const
{
    const auto it = m_edges.find((std::uint64_t(node) << 16) | c);
    return it == m_edges.end() ? -1 : it->second;
}

void HyphenationPatternCache::addPattern(QStringView line)
{
    const int index = int(m_patterns.size());
    m_patterns.push_back(CompilePattern(line));
    const std::u16string &letters = m_patterns.back().letters;
    if (letters.empty())
        return; // an empty pair never matches
    int node = 0;
    for (char16_t c : letters) {
        const std::uint64_t edge = (std::uint64_t(node) << 16) | c;
        const auto it = m_edges.find(edge);
        if (it != m_edges.end()) {
            node = it->second;
        } else {
            m_nodes.push_back(Node{});
            const int next = int(m_nodes.size()) - 1;
            m_edges.emplace(edge, next);
            node = next;
        }
    }
    m_nodes[size_t(node)].patterns.push_back(index);
}

HyphenationPatternCache::Hits HyphenationPatternCache::applyPatterns(std::u16string_view text,
                                                                    std::vector<std::int8_t> &gapValues) const
{
    Hits hits;
    const int size = int(text.size());
    for (int start = 0; start < size; ++start) {
        int node = 0;
        for (int k = start; k < size; ++k) {
            node = child(node, text[size_t(k)]);
            if (node < 0)
                break;
            for (int index : m_nodes[size_t(node)].patterns) {
                const HyphenationPattern &p = m_patterns[size_t(index)];
                // A key that begins with a slot needs a gap before its first letter.
                if (p.leadingValue && start == 0)
                    continue;
                hits.startMatched = hits.startMatched || p.startsWithDot;
                hits.endMatched = hits.endMatched || p.endsWithDot;
                if (!p.hasValues)
                    continue;
                hits.anyValue = true;
                const int length = int(p.letters.size());
                for (int slot = 0; slot <= length; ++slot) {
                    const std::int8_t value = p.gapValues[size_t(slot)];
                    if (value == 0)
                        continue;
                    std::int8_t &target = gapValues[size_t(start + slot - 1)];
                    if (value == HyphenationPattern::forcedBreak)
                        target = value;
                    else if (target != HyphenationPattern::forcedBreak && target < value)
                        target = value;
                }
            }
        }
    }
    return hits;
}

QString BuildPatternCacheQuietly(HyphenationPatternCache &cache, const QString &text)
{
    if (text == cache.sourceText && !text.isEmpty())
        return {};
    QString warning = checkPatternText(text);
    if (!warning.isEmpty())
        return warning;
    parsePatternText(cache, text, nullptr, warning);
    return warning;
}

bool BuildPatternCache(HyphenationPatternCache &cache, const QString &rawText, Ui &ui, const MainSettings &settings)
{
    QString text = rawText;
    if (text.contains(QLatin1Char('\r')))
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text == cache.sourceText && !text.isEmpty())
        return true;
    QString warning = checkPatternText(text);
    if (!warning.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), warning, MessageIcon::Warning);
        return false;
    }
    LongTask task(ui, settings);
    task.begin(hyphenationTexts::optimisingStatus, text.count(QLatin1Char('\n')));
    if (!parsePatternText(cache, text, &task, warning)) {
        task.cancel();
        if (!warning.isEmpty())
            ui.showMessage(LongTask::warningTitle(), warning, MessageIcon::Warning);
        return false;
    }
    task.finish(hyphenationTexts::okStatus);
    return true;
}

HyphenatedWord HyphenateWord(const HyphenationPatternCache &cache, QStringView word, HyphenationScratch &s)
{
    if (word.size() > maxHyphenatedWordLength) {
        HyphenatedWord result;
        result.word = word.toString();
        result.tooLong = true;
        return result;
    }
    // The word between its boundary dots, lower-cased for matching; slot k is the
    // gap after character k. The word's own characters never take a value.
    s.text.clear();
    s.text.push_back(u'.');
    for (QChar c : word)
        s.text.push_back(lowerUnit(c.unicode()));
    s.text.push_back(u'.');
    s.gapValues.assign(s.text.size(), 0);
    const HyphenationPatternCache::Hits hits = cache.applyPatterns(s.text, s.gapValues);
    const bool startMatched = hits.startMatched;
    const bool endMatched = hits.endMatched;

    HyphenatedWord result;
    const qsizetype n = word.size();
    // The values column shows what the patterns wrote, before the minimum lengths.
    result.rule.reserve(2 * n + 2);
    if (startMatched)
        result.rule += QLatin1Char('.');
    for (qsizetype i = 1; i <= n; ++i) {
        result.rule += word[i - 1];
        if (s.gapValues[size_t(i)] != 0)
            result.rule += slotText(s.gapValues[size_t(i)]);
    }
    if (endMatched)
        result.rule += QLatin1Char('.');

    // Minimum lengths, counted in the spaced form: letter i at 2i - 1, its gap at 2i.
    const qsizetype spacedLength = 2 * n;
    const qsizetype leftEnd = std::min<qsizetype>(spacedLength, 2 * qsizetype(cache.leftHyphenMin) - 2);
    const qsizetype rightStart =
        spacedLength - std::min<qsizetype>(spacedLength, 2 * qsizetype(cache.rightHyphenMin) - 2);
    result.word.reserve(2 * n);
    for (qsizetype i = 1; i <= n; ++i) {
        result.word += word[i - 1];
        const std::int8_t value = s.gapValues[size_t(i)];
        // The word's own hyphen already breaks it: no second one beside it.
        const bool besideHyphen = word[i - 1] == u'-' || (i < n && word[i] == u'-');
        const bool kept = 2 * i > leftEnd && 2 * i < rightStart && !besideHyphen;
        if (kept && (value == HyphenationPattern::forcedBreak || value % 2 == 1))
            result.word += QLatin1Char('-');
    }
    // "No matches" when the patterns left nothing to show: the values column reads as
    // the hyphenated word (a boundary pattern alone still shows its dot).
    result.noMatches = result.word == result.rule;
    return result;
}

HyphenatedWord HyphenateWord(const HyphenationPatternCache &cache, QStringView word)
{
    HyphenationScratch scratch;
    return HyphenateWord(cache, word, scratch);
}

} // namespace lexaloom
