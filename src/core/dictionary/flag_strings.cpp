#include "core/dictionary/flag_strings.h"

#include <algorithm>
#include <vector>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"

namespace lexaloom {

namespace {

// The first "/" at or after `from` that no backslash escapes; -1 when none.
qsizetype unescapedSlash(QStringView text, qsizetype from, bool honourEscapes)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'/' && !(honourEscapes && i > 0 && text[i - 1] == u'\\'))
            return i;
    }
    return -1;
}

std::vector<QStringView> splitFlags(FlagMode mode, QStringView flags)
{
    std::vector<QStringView> out;
    if (flags.isEmpty())
        return out;
    FlagSplitter splitter(mode, flags);
    QStringView f;
    while (splitter.next(f))
        out.push_back(f);
    return out;
}

QString joinFlags(FlagMode mode, const std::vector<QStringView> &flags)
{
    QString out;
    for (const QStringView f : flags) {
        if (mode == FlagMode::Numeric && !out.isEmpty())
            out += u',';
        out += f;
    }
    return out;
}

// Case-blind order of two flags, unit by unit in lower case.
bool caseBlindLess(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = QChar::toLower(a[i].unicode());
        const char16_t y = QChar::toLower(b[i].unicode());
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

// Numeric flags compare as if left-padded with zeros to ten characters.
bool paddedLess(QStringView a, QStringView b)
{
    constexpr qsizetype width = 10;
    const qsizetype padA = std::max<qsizetype>(0, width - a.size());
    const qsizetype padB = std::max<qsizetype>(0, width - b.size());
    const qsizetype lengthA = a.size() + padA;
    const qsizetype lengthB = b.size() + padB;
    const qsizetype n = std::min(lengthA, lengthB);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = i < padA ? u'0' : QChar::toLower(a[i - padA].unicode());
        const char16_t y = i < padB ? u'0' : QChar::toLower(b[i - padB].unicode());
        if (x != y)
            return x < y;
    }
    return lengthA < lengthB;
}

} // namespace

EntryParts SplitEntry(QStringView entry)
{
    EntryParts parts;
    const qsizetype newline = entry.indexOf(u'\n');
    const QStringView wordPart = newline < 0 ? entry : entry.left(newline);
    if (newline >= 0)
        parts.tags = entry.mid(newline + 1);
    const bool honourEscapes = !wordPart.startsWith(u'/');
    const qsizetype slash = unescapedSlash(wordPart, 0, honourEscapes);
    if (slash < 0) {
        parts.word = wordPart;
        return parts;
    }
    parts.hasSlash = true;
    parts.word = wordPart.left(slash);
    const qsizetype next = unescapedSlash(wordPart, slash + 1, honourEscapes);
    parts.flags = next < 0 ? wordPart.mid(slash + 1) : wordPart.mid(slash + 1, next - slash - 1);
    return parts;
}

bool HasRepeatedFlags(FlagMode mode, QStringView flags)
{
    std::vector<QStringView> list = splitFlags(mode, flags);
    if (list.size() < 2)
        return false;
    std::sort(list.begin(), list.end(), [](QStringView a, QStringView b) { return a.compare(b) < 0; });
    return std::adjacent_find(list.begin(), list.end()) != list.end();
}

QString WithoutRepeatedFlags(FlagMode mode, QStringView flags)
{
    const std::vector<QStringView> list = splitFlags(mode, flags);
    std::vector<QStringView> kept;
    kept.reserve(list.size());
    for (const QStringView f : list) {
        if (std::find(kept.begin(), kept.end(), f) == kept.end())
            kept.push_back(f);
    }
    return joinFlags(mode, kept);
}

QString FlagUnion(FlagMode mode, QStringView a, QStringView b)
{
    const std::vector<QStringView> ofB = splitFlags(mode, b);
    QString result = b.toString();
    for (const QStringView f : splitFlags(mode, a)) {
        if (std::find(ofB.begin(), ofB.end(), f) != ofB.end())
            continue;
        result.prepend(mode == FlagMode::Numeric ? f.toString() + u',' : f.toString());
    }
    if (mode == FlagMode::Numeric && result.endsWith(u','))
        result.chop(1);
    return result;
}

QString SortedFlags(FlagMode mode, QStringView flags)
{
    std::vector<QStringView> list = splitFlags(mode, flags);
    std::stable_sort(list.begin(), list.end(), mode == FlagMode::Numeric ? paddedLess : caseBlindLess);
    return joinFlags(mode, list);
}

QString FlagClass(const AffixTable &table, QStringView flags)
{
    if (flags.isEmpty())
        return flagClass::primary;
    if (table.aliasCount > 0)
        return flagClass::afCompressed;
    // NEEDAFFIX, FORBIDDENWORD, ONLYINCOMPOUND and CIRCUMFIX change what the entry's
    // word is on its own, so such a flag set is never one of the plain classes that a
    // flag merge could join with another entry's flags.
    {
        FlagList list;
        table.resolveFlags(flags, list);
        if (list.hasNeedAffix || list.hasForbiddenWord || list.hasOnlyInCompound)
            return flagClass::special;
        for (const FlagToken &token : list.flags) {
            if (table.hasCircumfix && token.text == table.circumfixFlag)
                return flagClass::special;
        }
    }
    bool keepCase = false;
    bool hasPrefix = false;
    bool hasSuffix = false;
    FlagSplitter splitter(table.flagMode, flags);
    QStringView f;
    while (splitter.next(f)) {
        if (f == table.keepCaseFlag) {
            keepCase = true;
            continue;
        }
        const AffixGroupRefs refs = table.groupsOf(f);
        if (refs.prefixY)
            hasPrefix = true;
        if (refs.suffixY)
            hasSuffix = true;
        else if (refs.suffixN)
            return flagClass::suffixNoCross;
    }
    if (keepCase && !hasSuffix)
        return hasPrefix ? flagClass::allPrefixes : flagClass::keepCase;
    if (hasSuffix)
        return hasPrefix ? flagClass::suffixesAndPrefixes : flagClass::allSuffixes;
    if (hasPrefix)
        return flagClass::allPrefixes;
    return flagClass::unknown;
}

QString FlagClassName(const QString &code)
{
    static const QString names[] = {
        QStringLiteral("Primary"),
        QStringLiteral("All suffixes"),
        QStringLiteral("All prefixes"),
        QStringLiteral("All suffixes + prefixes"),
        QStringLiteral("CIRCUMFIX/FORBIDDENWORD/NEEDAFFIX"),
        QStringLiteral("SFX N (only suffixes can be added)"),
        QStringLiteral("AF Compressed"),
        QStringLiteral("Keep Case"),
    };
    if (code.size() == 1 && code[0] >= u'0' && code[0] <= u'7')
        return names[code[0].unicode() - u'0'];
    return QStringLiteral("Unknown");
}

SortFlagsResult SortDictionaryFlags(DictionaryDocument &doc, AffixTable &table, const MainSettings &settings, Ui &ui)
{
    SortFlagsResult result;
    if (doc.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), sortFlagsTexts::noWords, MessageIcon::Warning);
        result.refused = true;
        return result;
    }
    LongTask task(ui, settings);
    BuildAffixTable(table, doc.affText, &task);
    const FlagMode mode = table.flagMode;
    const bool aliases = table.aliasCount > 0;
    const QString starting = QStringLiteral("Sorting flags of words... <ESC> to abort.");
    const QString running = QStringLiteral("Sorting flags of words...... <ESC> to abort. Current:");
    const qint64 n = doc.entries.size();
    task.begin(starting, n);

    // Rewrites are collected and applied in one pass; the snapshot is taken before the
    // first of them, so it holds the dictionary as it was.
    std::vector<std::pair<qint64, QString>> rewrites;
    const auto apply = [&] {
        if (rewrites.empty())
            return;
        doc.entries.replaceMany(rewrites);
        doc.changed = true;
    };
    const bool completed = task.forEach(
        n,
        [&](qint64 i) {
            task.showProgress(running + task.formatCount(i) + u'/' + task.formatCount(n) + task.elapsedText() +
                                  FormatPercent(i, std::max<qint64>(1, n - 1)),
                              i);
        },
        [&](qint64 i) {
            const QStringView entry = doc.entries.view(i);
            // Comment lines are not words: their text after "/" is no flag string.
            if (entry.isEmpty() || IsCommentEntry(entry))
                return;
            const EntryParts parts = SplitEntry(entry);
            // With AF aliases an entry's flags are one alias number, a flag set already:
            // its digits are no flags to sort or to keep once.
            if (parts.flags.isEmpty() || aliases)
                return;
            QString sorted = SortedFlags(mode, parts.flags);
            const bool repeated = HasRepeatedFlags(mode, sorted);
            if (sorted == parts.flags && !repeated)
                return;
            if (rewrites.empty())
                PushDictionaryUndo(doc);
            if (repeated) {
                const int before = FlagCount(mode, sorted);
                sorted = WithoutRepeatedFlags(mode, sorted);
                result.removed += before - FlagCount(mode, sorted);
            }
            QString rewritten = parts.word.toString() + u'/' + sorted;
            if (!parts.tags.isEmpty())
                rewritten += u'\n' + parts.tags.toString();
            rewrites.emplace_back(i, std::move(rewritten));
        },
        {.abortBeforeTick = true});
    if (!completed) {
        apply();
        task.cancel();
        result.aborted = true;
        result.rewritten = qint64(rewrites.size());
        return result;
    }
    apply();
    result.rewritten = qint64(rewrites.size());
    task.finish(QStringLiteral("OK. Words with flags sorted:") + task.formatCount(result.rewritten) +
                QStringLiteral(", flags removed:") + task.formatCount(result.removed) + task.elapsedText());
    ui.showMessage(LongTask::warningTitle(),
                   QStringLiteral("Sorted the flags in  ") + task.formatCount(result.rewritten) +
                       (result.rewritten == 1 ? QStringLiteral(" word") : QStringLiteral(" words")) +
                       QStringLiteral(".\n\nDuplicate flags removed:") + task.formatCount(result.removed),
                   MessageIcon::Information);
    return result;
}

} // namespace lexaloom
