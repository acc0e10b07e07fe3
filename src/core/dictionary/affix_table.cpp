#include "core/dictionary/affix_table.h"

#include <QStringBuilder>

#include <algorithm>
#include <iterator>
#include <limits>

#include "core/dictionary/derive_sinks.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/text_codec.h"
#include "core/shell/text_folding.h"

namespace lexaloom {

namespace {

// A number as the .aff reader reads one: an optional sign and the leading digits;
// anything else reads as 0.
int leadingInt(QStringView text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            value = std::numeric_limits<int>::max();
    }
    return int(negative ? -value : value);
}

// Field n (0-based) of a line split at single spaces; empty when missing.
QStringView field(QStringView line, int n)
{
    qsizetype start = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype space = line.indexOf(u' ', start);
        if (space < 0)
            return {};
        start = space + 1;
    }
    const qsizetype end = line.indexOf(u' ', start);
    return end < 0 ? line.mid(start) : line.mid(start, end - start);
}

QString normalizeAffText(const QString &raw)
{
    QString text = raw;
    text.replace(u'\t', u' ');
    text = CollapseSpaces(text);
    text += u'\n';
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// The flag named by a directive: the second field of the first line that starts
// with the name (after optional spaces). A mention inside a comment or further
// along a line is not the directive.
bool findDirective(const QString &text, QLatin1String name, QString &flag)
{
    for (qsizetype at = text.indexOf(name); at >= 0; at = text.indexOf(name, at + 1)) {
        qsizetype start = at;
        while (start > 0 && text[start - 1] == u' ')
            --start;
        if (start > 0 && text[start - 1] != u'\n')
            continue;
        qsizetype end = text.indexOf(u'\n', at);
        if (end < 0)
            end = text.size();
        flag = field(QStringView(text).mid(at, end - at), 1).toString();
        return true;
    }
    return false;
}

// A key for the flags most tables use: one or two units, or a number of up to
// nine digits (kept apart from "07" by its length). False for any other text.
// A number as numeric tables write it: one to five digits, no leading zero
// (so "07" stays a flag of its own), below 65536. -1 for any other text.
int plainNumber(QStringView flag)
{
    const qsizetype n = flag.size();
    if (n == 0 || n > 5 || (n > 1 && flag[0] == u'0'))
        return -1;
    int value = 0;
    for (const QChar c : flag) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value < 0x10000 ? value : -1;
}

bool shortFlagKey(QStringView flag, quint64 &key)
{
    const qsizetype n = flag.size();
    if (n == 0)
        return false;
    if (n <= 2) {
        key = quint64(n) << 32;
        key |= quint64(flag[0].unicode()) << 16;
        if (n == 2)
            key |= flag[1].unicode();
        return true;
    }
    if (n > 9)
        return false;
    quint64 value = 0;
    for (const QChar c : flag) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c.unicode() - u'0');
    }
    key = (quint64(1) << 40) | (quint64(n) << 32) | value;
    return true;
}

AffixRule parseRule(AffixTable &table, const QString &line)
{
    AffixRule rule;
    rule.line = line;
    rule.strip = field(line, 2).toString();
    QString affix = field(line, 3).toString();
    if (affix == u"0")
        affix.clear();
    else if (affix.startsWith(QLatin1String("0/")))
        affix.remove(0, 1);
    rule.affix = affix;
    const qsizetype slash = affix.indexOf(u'/');
    rule.hasContinuation = slash >= 0;
    rule.affixText = rule.hasContinuation ? affix.left(slash) : affix;
    rule.continuation = rule.hasContinuation ? affix.mid(slash + 1) : QString();
    const QStringView condition = field(line, 4);
    // A header count beyond the rules that follow takes empty lines as rules;
    // every real rule has a strip ("0" for none).
    rule.inert = rule.strip.isEmpty();
    rule.stripIsZero = rule.strip == u"0";
    rule.stripLength = rule.stripIsZero ? 0 : int(rule.strip.size());
    rule.conditionIsDot = condition == u".";
    if (rule.conditionIsDot) {
        rule.condition = QStringLiteral(".");
    } else {
        // Rules that share a condition share its text and its compiled forms.
        rule.conditionIndex = table.conditions.intern(condition.toString());
        rule.compiled = &table.conditions.at(rule.conditionIndex);
        rule.condition = rule.compiled->text();
        rule.fast = rule.compiled->fastMatcher();
    }
    rule.continuationHasCircumfix = table.ContainsCircumfixFlag(rule.continuation);
    rule.continuationHasNeedAffix = table.HasNeedAffixFlag(rule.continuation);
    return rule;
}

// The edge units (last for suffixes, first for prefixes) of the words a rule can
// apply to. False when the rule is not tied to a few units (it goes with every
// word); otherwise `units` receives them, possibly none (the rule never applies
// to a word whose edge is a plain unit). Must never leave out a unit for which
// the full test could say yes.
bool edgeUnits(const AffixRule &rule, bool suffix, std::vector<char32_t> &units)
{
    units.clear();
    if (rule.inert)
        return true;
    const FastCondition *fast = rule.fast;
    if (!rule.stripIsZero && !rule.strip.isEmpty()) {
        const char16_t edge = suffix ? rule.strip.back().unicode() : rule.strip.front().unicode();
        if (!QChar::isSurrogate(edge)) {
            if (rule.conditionIsDot || !fast || fast->edgeAccepts(suffix, edge))
                units.push_back(edge);
            return true;
        }
    }
    if (rule.conditionIsDot || !fast)
        return false;
    fast->edgeChars(suffix, units);
    if (units.empty())
        return false; // "." at the edge, or an empty condition
    // A negated set names the units it refuses.
    if (!fast->edgeAccepts(suffix, units.front()))
        return false;
    return true;
}

// The units the next unit in from the edge (second to last for suffixes,
// second for prefixes) can be, for a word whose edge unit is a plain BMP unit;
// false when it can be nearly anything.
bool secondUnits(const AffixRule &rule, bool suffix, std::vector<char32_t> &units)
{
    units.clear();
    if (!rule.stripIsZero && rule.strip.size() >= 2) {
        const char16_t u = suffix ? rule.strip[rule.strip.size() - 2].unicode() : rule.strip[1].unicode();
        if (QChar::isSurrogate(u))
            return false;
        units.push_back(u);
        return true;
    }
    if (rule.conditionIsDot)
        return false;
    // The edge element took one unit, so the next element ends (starts) at
    // the second unit.
    return rule.fast && rule.fast->elementChars(suffix, 1, units);
}

// Splits the long lists of the unit index by the second unit in, where that
// keeps the index within a few times the rules it lists.
void buildSecondIndex(AffixGroup &group, bool suffix)
{
    RuleCandidates &c = group.candidates;
    std::vector<char32_t> units;
    for (auto it = c.byUnit.cbegin(); it != c.byUnit.cend(); ++it) {
        const std::vector<int> &list = it.value();
        if (list.size() < 48)
            continue;
        RuleCandidates::Second second;
        for (const int rule : list) {
            if (!secondUnits(group.parsedRules[size_t(rule)], suffix, units)) {
                second.general.push_back(rule);
                continue;
            }
            for (const char32_t u : units) {
                if (u > 0xFFFF || QChar::isSurrogate(u))
                    continue;
                std::vector<int> &sub = second.byUnit[char16_t(u)];
                if (sub.empty() || sub.back() != rule)
                    sub.push_back(rule);
            }
        }
        size_t size = second.general.size();
        for (auto s = second.byUnit.cbegin(); s != second.byUnit.cend(); ++s)
            size += s.value().size() + second.general.size();
        // Worth it only when the lists get shorter, and affordable only when
        // they stay small.
        if (size > 4 * list.size() + 1024 || second.general.size() * 4 > list.size() * 3)
            continue;
        for (auto s = second.byUnit.begin(); s != second.byUnit.end(); ++s) {
            std::vector<int> both;
            both.reserve(s.value().size() + second.general.size());
            std::merge(s.value().begin(), s.value().end(), second.general.begin(), second.general.end(),
                       std::back_inserter(both));
            s.value() = std::move(both);
        }
        c.bySecond.insert(it.key(), std::move(second));
    }
}

void buildCandidates(AffixGroup &group)
{
    const bool suffix = !group.isPrefix();
    RuleCandidates &c = group.candidates;
    std::vector<char32_t> units;
    for (size_t i = 0; i < group.parsedRules.size(); ++i) {
        const int rule = int(i);
        c.all.push_back(rule);
        if (!edgeUnits(group.parsedRules[i], suffix, units)) {
            c.general.push_back(rule);
            continue;
        }
        for (const char32_t u : units) {
            // Words whose edge is a surrogate or a line feed take every rule.
            if (u > 0xFFFF || QChar::isSurrogate(u) || u == u'\n')
                continue;
            std::vector<int> &list = c.byUnit[char16_t(u)];
            if (list.empty() || list.back() != rule)
                list.push_back(rule);
        }
    }
    // Merged lists make the hot loop a plain walk; they are kept only while
    // they stay within a few times the number of rules.
    size_t mergedSize = 0;
    for (auto it = c.byUnit.cbegin(); it != c.byUnit.cend(); ++it)
        mergedSize += it.value().size() + c.general.size();
    c.merged = c.general.empty() || mergedSize <= 8 * group.parsedRules.size() + 4096;
    if (!c.merged)
        return;
    for (auto it = c.byUnit.begin(); it != c.byUnit.end(); ++it) {
        std::vector<int> &list = it.value();
        std::vector<int> both;
        both.reserve(list.size() + c.general.size());
        std::merge(list.begin(), list.end(), c.general.begin(), c.general.end(), std::back_inserter(both));
        list = std::move(both);
    }
    buildSecondIndex(group, suffix);
}

} // namespace

QString affixTableBuildStatusText()
{
    return QStringLiteral("Optimising .AFF decode cache...");
}

bool BuildAffixTable(AffixTable &table, const QString &affText, LongTask *task)
{
    if (table.built && affText == table.sourceText)
        return false;

    table = AffixTable();
    table.flagMode = FlagMode::Single;
    if (affText.contains(QLatin1String("FLAG long")))
        table.flagMode = FlagMode::Long;
    if (affText.contains(QLatin1String("FLAG num")))
        table.flagMode = FlagMode::Numeric;

    const QString status = affixTableBuildStatusText();
    table.sourceText = affText;
    table.built = true;
    table.normalizedText = normalizeAffText(affText);
    const QString &text = table.normalizedText;

    const qsizetype occurrences = text.count(QLatin1String("PFX")) + text.count(QLatin1String("SFX"));
    const qsizetype lineCount = text.count(u'\n');
    if (task)
        task->begin(status, lineCount);

    // Line starts, so that counted sections can take the lines after a header.
    std::vector<qsizetype> starts;
    starts.reserve(size_t(lineCount) + 1);
    starts.push_back(0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            starts.push_back(i + 1);
    }
    auto lineAt = [&](qsizetype l) { // l is 0-based, < lineCount
        return QStringView(text).mid(starts[size_t(l)], starts[size_t(l) + 1] - 1 - starts[size_t(l)]);
    };

    if (occurrences > 0 && lineCount > 0) {
        qsizetype seen = 0;
        qsizetype l = 0;
        while (l < lineCount) {
            if (task) {
                const LongTask::PollResult poll = task->poll();
                if (poll.ticked)
                    task->showProgress(status + task->elapsedText() + FormatPercent(l, lineCount), l);
            }
            const QStringView line = lineAt(l);
            const QStringView first = field(line, 0);
            if (first == u"AF") {
                table.aliasCount = qMax(0, leadingInt(field(line, 1)));
                table.aliases.clear();
                const qsizetype available = qMin<qsizetype>(table.aliasCount, lineCount - l - 1);
                for (qsizetype k = 1; k <= available; ++k)
                    table.aliases.append(field(lineAt(l + k), 1).toString());
                l += 1 + available;
                continue;
            }
            if (first == u"PFX" || first == u"SFX") {
                ++seen;
                const QStringView mark = field(line, 2);
                if (mark == u"Y" || mark == u"N") {
                    AffixGroup group;
                    group.kind = first.toString();
                    group.flag = field(line, 1).toString();
                    group.crossProduct = mark.toString();
                    group.headerLine = int(l + 1);
                    group.headerOffset = int(starts[size_t(l)] + 1);
                    const QStringView countField = field(line, 3);
                    group.ruleCount = qMax(0, leadingInt(countField));
                    // A count beyond the end of the text stores no phantom rules.
                    const qsizetype available = qMin<qsizetype>(group.ruleCount, lineCount - l - 1);
                    for (qsizetype k = 1; k <= available; ++k)
                        group.rules.append(lineAt(l + k).toString());

                    const int number = int(table.groups.size()) + 1;
                    table.headerPosition.insert(int(table.headerIndex.size()) + 1, number);
                    // Built in place: a big table has tens of thousands of headers.
                    table.headerIndex += group.kind % u' ' % group.flag % u' ' % group.crossProduct % QChar(1);
                    table.headerSummary += group.kind % u' ' % group.crossProduct % u' ' % group.flag % u' ' %
                                           QString::number(group.headerLine) % u' ' % countField % QChar(1);
                    table.groupFlags.append(group.flag);
                    if (group.isPrefix())
                        ++table.prefixGroupCount;
                    else
                        ++table.suffixGroupCount;
                    table.maxRuleCount = qMax(table.maxRuleCount, group.ruleCount);
                    table.groups.push_back(std::move(group));
                    l += 1 + available;
                } else {
                    ++l;
                }
                if (seen == occurrences)
                    break;
                continue;
            }
            ++l;
        }
    }

    table.hasKeepCase = findDirective(text, QLatin1String("KEEPCASE"), table.keepCaseFlag);
    findDirective(text, QLatin1String("NOSUGGEST"), table.noSuggestFlag);
    table.hasNeedAffix = findDirective(text, QLatin1String("NEEDAFFIX"), table.needAffixFlag);
    table.hasForbiddenWord = findDirective(text, QLatin1String("FORBIDDENWORD"), table.forbiddenWordFlag);
    table.hasCircumfix = findDirective(text, QLatin1String("CIRCUMFIX"), table.circumfixFlag);
    findDirective(text, QLatin1String("ONLYINCOMPOUND"), table.onlyInCompoundFlag);
    QString ignored;
    table.complexPrefixes = findDirective(text, QLatin1String("COMPLEXPREFIXES"), ignored);

    // The directives' flags get their ids first.
    table.flagInfo.assign(1, FlagInfo());
    if (table.flagMode == FlagMode::Single)
        table.unitIds.assign(0x10000, 0);
    else if (table.flagMode == FlagMode::Numeric)
        table.numberIds.assign(0x10000, 0);
    const QString *specials[] = {&table.noSuggestFlag, &table.keepCaseFlag, &table.forbiddenWordFlag,
                                 &table.circumfixFlag};
    for (quint8 k = 0; k < 4; ++k) {
        if (specials[k]->isEmpty())
            continue;
        FlagInfo &info = table.flagInfo[size_t(table.internFlag(*specials[k]))];
        if (info.special == 0)
            info.special = quint8(k + 1);
    }
    if (!table.keepCaseFlag.isEmpty())
        table.flagInfo[size_t(table.internFlag(table.keepCaseFlag))].isKeepCase = true;
    if (!table.needAffixFlag.isEmpty())
        table.flagInfo[size_t(table.internFlag(table.needAffixFlag))].isNeedAffix = true;
    table.flagInfo[size_t(table.internFlag(table.needAffixFlag))].notMissing = true;
    if (!table.forbiddenWordFlag.isEmpty())
        table.flagInfo[size_t(table.internFlag(table.forbiddenWordFlag))].isForbiddenWord = true;
    if (!table.onlyInCompoundFlag.isEmpty())
        table.flagInfo[size_t(table.internFlag(table.onlyInCompoundFlag))].isOnlyInCompound = true;

    // Rule values and the lookup index need the special flags, so they come last.
    for (size_t g = 0; g < table.groups.size(); ++g) {
        AffixGroup &group = table.groups[g];
        group.parsedRules.reserve(size_t(group.rules.size()));
        for (const QString &line : std::as_const(group.rules)) {
            AffixRule rule = parseRule(table, line);
            group.anyContinuationHasCircumfix |= rule.continuationHasCircumfix;
            group.anyContinuationHasNeedAffix |= rule.continuationHasNeedAffix;
            group.anyContinuation |= rule.hasContinuation;
            group.lastContinuationHasCircumfix = rule.continuationHasCircumfix;
            group.parsedRules.push_back(std::move(rule));
        }
        group.tests.reserve(group.parsedRules.size());
        qsizetype stripTotal = 0;
        qsizetype affixTotal = 0;
        for (const AffixRule &rule : group.parsedRules) {
            stripTotal += rule.stripLength;
            affixTotal += losslessEncodedSpace(rule.affixText.size());
        }
        group.stripUnits.reserve(stripTotal); // no reallocation below: the tests point into it
        group.affixBytes.resize(affixTotal + Utf8Writer::copyPadding);
        char *const bytes = group.affixBytes.data();
        qsizetype used = 0;
        for (AffixRule &rule : group.parsedRules) {
            RuleTest test;
            test.kind = rule.inert                               ? RuleTest::Never
                        : !rule.conditionIsDot                   ? RuleTest::Test
                        : rule.stripLength > 0                   ? RuleTest::StripOnly
                                                                 : RuleTest::Always;
            test.strip = reinterpret_cast<const char16_t *>(group.stripUnits.constData()) + group.stripUnits.size();
            test.stripLength = rule.stripLength;
            if (rule.stripLength > 0)
                group.stripUnits.append(rule.strip.constData(), rule.strip.size());
            test.fast = rule.fast;
            test.compiled = rule.compiled;
            group.tests.push_back(test);
            rule.affixByteOffset = int(used);
            used = EncodeLosslessInto(rule.affixText, bytes + used) - bytes;
            rule.affixByteCount = int(used - rule.affixByteOffset);
        }
        group.affixBytes.resize(used);
        group.affixBytes.append(Utf8Writer::copyPadding, '\0');
        buildCandidates(group);
        AffixGroupRefs *refs = &table.flagInfo[size_t(table.internFlag(group.flag))].groups;
        int *slot = group.isPrefix() ? (group.crossProduct == u"Y" ? &refs->prefixY : &refs->prefixN)
                                     : (group.crossProduct == u"Y" ? &refs->suffixY : &refs->suffixN);
        if (*slot == 0) // the first header wins
            *slot = int(g) + 1;
    }

    for (FlagInfo &info : table.flagInfo) {
        info.hasGroup = info.groups.prefixY != 0 || info.groups.suffixY != 0 || info.groups.suffixN != 0;
        info.missing = info.special == 0 && !info.notMissing && !info.hasGroup;
    }
    // Continuation and alias flags, once every group has its id.
    for (AffixGroup &group : table.groups) {
        for (AffixRule &rule : group.parsedRules)
            table.resolveFlags(rule.continuation, rule.continuationFlags);
    }
    table.aliasFlags.resize(size_t(table.aliases.size()));
    for (qsizetype i = 0; i < table.aliases.size(); ++i)
    {
        FlagList &list = table.aliasFlags[size_t(i)];
        table.resolveFlags(std::as_const(table.aliases)[i], list);
        table.appendMissingFlags(list, list.flags.size(), list.missingText);
    }

    if (task)
        task->finish(QStringLiteral("OK.") + task->elapsedText());
    return true;
}

int AffixTable::flagId(QStringView flag) const
{
    if (flag.size() == 1 && !unitIds.empty())
        return unitIds[flag[0].unicode()];
    if (!numberIds.empty()) {
        if (const int value = plainNumber(flag); value >= 0)
            return numberIds[size_t(value)];
    }
    quint64 key = 0;
    if (shortFlagKey(flag, key)) {
        const auto it = shortIds.find(key);
        return it == shortIds.end() ? 0 : it->second;
    }
    return otherIds.value(flag.toString(), 0);
}

int AffixTable::internFlag(QStringView flag)
{
    if (const int id = flagId(flag))
        return id;
    const int id = int(flagInfo.size());
    flagInfo.emplace_back();
    quint64 key = 0;
    int value = -1;
    if (flag.size() == 1 && !unitIds.empty())
        unitIds[flag[0].unicode()] = id;
    else if (!numberIds.empty() && (value = plainNumber(flag)) >= 0)
        numberIds[size_t(value)] = id;
    else if (shortFlagKey(flag, key))
        shortIds.emplace(key, id);
    else
        otherIds.insert(flag.toString(), id); // the empty flag too (FLAG num reads "1,,2" as three)
    return id;
}

void AffixTable::resolveFlags(QStringView flags, FlagList &out) const
{
    out.flags.clear();
    out.active.clear();
    out.lastLookedUp = -1;
    out.anyPrefixY = out.hasKeepCase = out.hasNeedAffix = out.hasForbiddenWord = out.hasOnlyInCompound = false;
    out.anyMissing = false;
    if (flags.isEmpty())
        return;
    // Inlined: three loops call it once per flag of every entry.
    const auto add = [this, &out](QStringView flag) __attribute__((always_inline)) {
        const int id = flagId(flag);
        const FlagInfo &i = info(id);
        const quint32 index = quint32(out.flags.size());
        out.flags.push_back({id, flag});
        if (i.special != 0 || i.hasGroup)
            out.active.push_back(index);
        if (i.special == 0)
            out.lastLookedUp = int(index);
        out.anyPrefixY |= i.groups.prefixY != 0;
        out.hasKeepCase |= i.isKeepCase;
        out.hasNeedAffix |= i.isNeedAffix;
        out.hasForbiddenWord |= i.isForbiddenWord;
        out.hasOnlyInCompound |= i.isOnlyInCompound;
        out.anyMissing |= i.missing;
    };
    if (flagMode == FlagMode::Single) {
        // One flag per character, as FlagSplitter splits them.
        const qsizetype n = flags.size();
        for (qsizetype i = 0; i < n;) {
            const qsizetype width =
                QChar::isHighSurrogate(flags[i].unicode()) && i + 1 < n && QChar::isLowSurrogate(flags[i + 1].unicode())
                    ? 2
                    : 1;
            add(flags.sliced(i, width));
            i += width;
        }
        return;
    }
    if (flagMode == FlagMode::Numeric) {
        // Numeric flags are a few digits each and an entry may carry dozens: split
        // at the commas by hand, as FlagSplitter does.
        const QChar *p = flags.data();
        const QChar *const end = p + flags.size();
        for (;;) {
            const QChar *q = p;
            while (q != end && *q != u',')
                ++q;
            add(QStringView(p, q));
            if (q == end)
                break;
            p = q + 1;
        }
        return;
    }
    FlagSplitter splitter(flagMode, flags);
    QStringView flag;
    while (splitter.next(flag))
        add(flag);
}

void AffixTable::appendMissingFlags(const FlagList &list, size_t end, QString &out) const
{
    const bool numeric = flagMode == FlagMode::Numeric;
    for (size_t k = 0; k < end && k < list.flags.size(); ++k) {
        const FlagToken &token = list.flags[k];
        if (!info(token.id).missing)
            continue;
        // Numeric flags are kept apart by commas, or "101" and "7" would read "1017".
        if (numeric && !out.isEmpty())
            out += u',';
        out += token.text;
    }
}

AffixTable::GroupRefs AffixTable::groupsOf(QStringView flag) const
{
    return flagInfo.empty() ? GroupRefs() : info(flagId(flag)).groups;
}

int AffixTable::FindGroup(QStringView kind, QStringView flag, QStringView cross) const
{
    const GroupRefs refs = groupsOf(flag);
    const bool yes = cross == u"Y";
    if (!yes && cross != u"N")
        return 0;
    if (kind == u"PFX")
        return yes ? refs.prefixY : refs.prefixN;
    if (kind == u"SFX")
        return yes ? refs.suffixY : refs.suffixN;
    return 0;
}

bool AffixTable::HasNeedAffixFlag(QStringView flags) const
{
    return FlagStringContains(flagMode, flags, needAffixFlag);
}

bool AffixTable::ContainsCircumfixFlag(QStringView flags) const
{
    return FlagStringContains(flagMode, flags, circumfixFlag);
}

namespace {

bool conditionMatches(const AffixTable &table, QStringView word, const QString &condition, bool suffix)
{
    const int index = table.conditions.find(condition);
    if (index >= 0) {
        const AffixCondition &c = table.conditions.at(index);
        return suffix ? c.matchesSuffix(word) : c.matchesPrefix(word);
    }
    const AffixCondition c(condition);
    return suffix ? c.matchesSuffix(word) : c.matchesPrefix(word);
}

} // namespace

bool SuffixConditionMatches(const AffixTable &table, QStringView word, QStringView strip, const QString &condition)
{
    if (strip != u"0" && !word.endsWith(strip))
        return false;
    if (condition == u".")
        return true;
    return conditionMatches(table, word, condition, true);
}

bool PrefixConditionMatches(const AffixTable &table, QStringView word, QStringView strip, const QString &condition)
{
    if (strip != u"0" && !word.startsWith(strip))
        return false;
    if (condition == u".")
        return true;
    return conditionMatches(table, word, condition, false);
}

} // namespace lexaloom
