#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstring>
#include <unordered_map>
#include <vector>

#include "core/dictionary/affix_condition.h"
#include "core/dictionary/flags.h"

namespace lexaloom {

class LongTask;

// A flag of a flag string, resolved when it was split: id 0 is a flag the
// table does not know (no group, no directive names it).
struct FlagToken {
    int id = 0;
    QStringView text; // as written, for reports and the editor's flag path
};

// A flag string split and resolved once, with what the engine asks of it.
struct FlagList {
    std::vector<FlagToken> flags;
    bool anyPrefixY = false;   // a flag has a cross-product prefix group
    bool hasKeepCase = false;  // a flag is the KEEPCASE flag
    bool hasNeedAffix = false; // a flag is the NEEDAFFIX flag
    bool hasForbiddenWord = false;
    bool hasOnlyInCompound = false;
    bool anyMissing = false; // a flag names no group and no directive that keeps it off the missing list
    // Where in `flags` the flags stand that do something (a special flag or one
    // with a group): a walk that polls nothing visits only these.
    std::vector<quint32> active;
    int lastLookedUp = -1; // the last flag that is not special (the flag path's), -1 for none
    // For the lists of the table: the missing-flags report of a whole walk.
    QString missingText;
};

// Group numbers (1-based, 0 for none) of the first header per kind and mark.
struct AffixGroupRefs {
    int prefixY = 0;
    int prefixN = 0;
    int suffixY = 0;
    int suffixN = 0;
};

// What the engine needs to know of one flag id.
struct FlagInfo {
    AffixGroupRefs groups;
    // The directive this flag names, first match in this order: 1 NOSUGGEST,
    // 2 KEEPCASE, 3 FORBIDDENWORD, 4 CIRCUMFIX; 0 for none.
    quint8 special = 0;
    bool isKeepCase = false;
    bool isNeedAffix = false;
    bool notMissing = false; // equals the NEEDAFFIX text (even an empty one): never reported missing
    bool isForbiddenWord = false;
    bool isOnlyInCompound = false;
    bool hasGroup = false; // a PFX Y, SFX Y or SFX N group
    bool missing = false;  // reported among the missing flags
};

// One rule line of a group, split once when the table is built.
struct AffixRule {
    // Read for every rule the engine tries, so kept together.
    bool conditionIsDot = false;
    bool stripIsZero = false;
    bool hasContinuation = false;
    bool continuationHasCircumfix = false;
    bool continuationHasNeedAffix = false;
    bool inert = false;  // no strip field (an empty or truncated line): never applies
    int stripLength = 0; // 0 for the strip "0"
    int conditionIndex = -1;
    QString strip;                            // field 3 as written ("0" when nothing is stripped)
    const AffixCondition *compiled = nullptr; // the shared condition, null for "."
    const FastCondition *fast = nullptr;      // its fast matcher, when it has one
    QString affixText;                        // the affix before its first "/"
    // affixText as the extraction files write it: affixByteCount bytes from
    // affixByteOffset in the group's affixBytes.
    int affixByteOffset = 0;
    int affixByteCount = 0;
    QString continuation;       // the flags after the affix's first "/"
    FlagList continuationFlags; // the same, resolved

    QString line;      // the line as it stands in normalizedText
    QString affix;     // field 4 rewritten: "0" -> "", "0/XY" -> "/XY"
    QString condition; // field 5
};

// The rules of a group that can apply to a word, found by the word's last code
// unit (suffixes) or first code unit (prefixes): a superset of the rules whose
// strip and condition fit, in rule order, so the engine tests far fewer rules.
// A rule that names its edge units (by its strip or a literal or set at the
// condition's edge) is listed under each of them; every other rule ("." and
// negated sets, for instance) is a candidate for every unit. Each list holds a
// rule at most once per unit it names, so the index grows with the rules, not
// with rules times units.
struct RuleCandidates {
    // The rules of one unit in order: its own rules merged with `general`.
    class Range {
    public:
        class iterator {
        public:
            iterator(const int *a, const int *aEnd, const int *b, const int *bEnd)
                : m_a(a)
                , m_aEnd(aEnd)
                , m_b(b)
                , m_bEnd(bEnd)
            {
            }
            int operator*() const { return m_b == m_bEnd || (m_a != m_aEnd && *m_a < *m_b) ? *m_a : *m_b; }
            iterator &operator++()
            {
                if (m_b == m_bEnd || (m_a != m_aEnd && *m_a < *m_b))
                    ++m_a;
                else
                    ++m_b;
                return *this;
            }
            bool operator!=(const iterator &other) const { return m_a != other.m_a || m_b != other.m_b; }

        private:
            const int *m_a;
            const int *m_aEnd;
            const int *m_b;
            const int *m_bEnd;
        };

        Range(const std::vector<int> &a, const std::vector<int> *b)
            : m_a(a.data())
            , m_aEnd(a.data() + a.size())
            , m_b(b ? b->data() : nullptr)
            , m_bEnd(b ? b->data() + b->size() : nullptr)
        {
        }
        iterator begin() const { return iterator(m_a, m_aEnd, m_b, m_bEnd); }
        iterator end() const { return iterator(m_aEnd, m_aEnd, m_bEnd, m_bEnd); }

    private:
        const int *m_a;
        const int *m_aEnd;
        const int *m_b;
        const int *m_bEnd;
    };

    // A unit's list is already merged with `general` (false when merging them
    // all would make the index grow faster than the rules).
    bool merged = true;
    QHash<char16_t, std::vector<int>> byUnit;
    // For long merged lists, the same split once more by the next unit in
    // (second to last for suffixes, second for prefixes).
    struct Second {
        QHash<char16_t, std::vector<int>> byUnit;
        std::vector<int> general;
    };
    QHash<char16_t, Second> bySecond;
    std::vector<int> general; // for a unit that no rule names
    std::vector<int> all;     // for empty words, surrogates and line feeds

    Range forWord(QStringView word, bool suffix) const
    {
        if (word.isEmpty())
            return Range(all, nullptr);
        const char16_t u = suffix ? word.back().unicode() : word.front().unicode();
        if (u == u'\n' || QChar::isSurrogate(u))
            return Range(all, nullptr);
        const auto it = byUnit.constFind(u);
        if (it == byUnit.constEnd())
            return Range(general, nullptr);
        if (!bySecond.isEmpty() && word.size() >= 2) {
            const auto second = bySecond.constFind(u);
            const char16_t u2 = suffix ? word[word.size() - 2].unicode() : word[1].unicode();
            if (second != bySecond.constEnd() && !QChar::isSurrogate(u2)) {
                const auto list = second->byUnit.constFind(u2);
                return Range(list == second->byUnit.constEnd() ? second->general : list.value(), nullptr);
            }
        }
        return Range(it.value(), merged ? nullptr : &general);
    }
};

// The part of a rule its test reads, packed apart from the rule so that the
// engine's walk over many rules stays in few cache lines.
struct RuleTest {
    // StripOnly: the condition is ".", so only the strip is tested.
    enum Kind : quint8 { Test, StripOnly, Always, Never };
    const char16_t *strip = nullptr; // the units to find at the edge
    qint32 stripLength = 0;          // 0 for the strip "0"
    Kind kind = Test;
    const FastCondition *fast = nullptr;
    const AffixCondition *compiled = nullptr;
};

struct AffixGroup {
    QString kind; // "PFX" or "SFX"
    QString flag;
    QString crossProduct; // "Y" or "N"
    int headerLine = 0;   // 1-based line in normalizedText
    int headerOffset = 0; // 1-based UTF-16 position of the header line in normalizedText
    int ruleCount = 0;    // the header's count as a number
    QStringList rules;    // the lines after the header, as they stand
    std::vector<AffixRule> parsedRules;
    std::vector<RuleTest> tests; // one per parsed rule
    // The rules' strips and encoded affixes side by side, so that walking a big group
    // reads few cache lines. The tests point into stripUnits, which never changes
    // after the build (a copy of the group shares the same buffer). affixBytes ends
    // with Utf8Writer::copyPadding zero bytes, for copies in whole blocks.
    QString stripUnits;
    QByteArray affixBytes;
    // Walking the rules only for their continuation flags leaves these behind.
    bool anyContinuationHasCircumfix = false;
    bool anyContinuationHasNeedAffix = false;
    bool anyContinuation = false;
    bool lastContinuationHasCircumfix = false;
    RuleCandidates candidates;

    bool isPrefix() const { return kind == QLatin1String("PFX"); }
};

// The decoded .aff: flag mode, aliases, groups and the five flag directives.
struct AffixTable {
    QString sourceText;
    FlagMode flagMode = FlagMode::Single;
    QString normalizedText;
    int aliasCount = 0;
    QStringList aliases;            // alias n is aliases[n - 1]; missing lines read as empty
    std::vector<AffixGroup> groups; // group n is groups[n - 1]
    QString headerIndex;
    QHash<int, int> headerPosition; // 1-based position in headerIndex -> group number
    QString headerSummary;
    QStringList groupFlags;
    int prefixGroupCount = 0;
    int suffixGroupCount = 0;
    int maxRuleCount = 0;
    QString keepCaseFlag;
    QString noSuggestFlag;
    QString needAffixFlag;
    QString forbiddenWordFlag;
    QString circumfixFlag;
    QString onlyInCompoundFlag; // read for the "accepted" extraction only
    bool hasKeepCase = false;
    bool hasNeedAffix = false;
    bool hasForbiddenWord = false;
    bool hasCircumfix = false;
    bool complexPrefixes = false;
    bool built = false;

    using GroupRefs = AffixGroupRefs;
    ConditionCache conditions;
    std::vector<FlagList> aliasFlags; // aliases, resolved

    // The alias of number n (1..aliasCount).
    QString alias(int n) const { return n >= 1 && n <= aliases.size() ? aliases[n - 1] : QString(); }
    const AffixGroup &group(int number) const { return groups[size_t(number - 1)]; }

    int FlagCount(QStringView flags) const { return lexaloom::FlagCount(flagMode, flags); }
    QStringView GetFlag(QStringView flags, int n) const { return lexaloom::GetFlag(flagMode, flags, n); }
    // Group number of the first header with this kind, flag and mark; 0 when none.
    int FindGroup(QStringView kind, QStringView flag, QStringView cross) const;
    // All four lookups of a flag at once; what the engine uses.
    GroupRefs groupsOf(QStringView flag) const;

    bool HasNeedAffixFlag(QStringView flags) const;
    bool ContainsCircumfixFlag(QStringView flags) const;

    // Flags are resolved to small ids when the table is built, so that the
    // engine never splits or compares flag text in its loops.
    std::vector<FlagInfo> flagInfo; // by id; id 0 is the unknown flag
    const FlagInfo &info(int id) const { return flagInfo[size_t(id)]; }
    // The id of one flag; 0 when the table does not know it.
    int flagId(QStringView flag) const;
    int internFlag(QStringView flag);
    // Splits a flag string and resolves each flag; an empty string has no flags.
    void resolveFlags(QStringView flags, FlagList &out) const;
    // Appends the missing flags among the first `end` flags of a list, as the
    // top level reports them (numeric flags kept apart by commas).
    void appendMissingFlags(const FlagList &list, size_t end, QString &out) const;

    // The index behind flagId.
    std::vector<int> unitIds;   // one-unit flags, by unit
    std::vector<int> numberIds; // numeric mode: flags written as a plain number below 65536, by value
    std::unordered_map<quint64, int> shortIds;
    QHash<QString, int> otherIds;
};

// Rebuilds `table` from the .aff text unless it was built from this very text.
// Returns true when it rebuilt. With a task, shows the decode status texts.
bool BuildAffixTable(AffixTable &table, const QString &affText, LongTask *task = nullptr);

// The rule tests of the .aff semantics: a strip other than "0" must stand at the
// word's end (start), whatever the condition, and condition + "$" ("^" + condition)
// must match the word; the condition "." matches every word. (Testing the strip
// under "." too is what Hunspell does, and real dictionaries rely on it: with
// SFX K a ata . and SFX K g ga ., kola/K gives kolata, never kolga.)
bool SuffixConditionMatches(const AffixTable &table, QStringView word, QStringView strip, const QString &condition);
bool PrefixConditionMatches(const AffixTable &table, QStringView word, QStringView strip, const QString &condition);

// The same tests on a rule's RuleTest, without any lookup: the engine's hot path.
// wordIsValid tells whether the word is valid UTF-16, checked once per word.
inline bool SuffixTestMatches(const RuleTest &test, QStringView word, bool wordIsValid)
{
    if (test.kind >= RuleTest::Always)
        return test.kind == RuleTest::Always;
    const qsizetype n = test.stripLength;
    if (n > 0) {
        if (n > word.size())
            return false;
        const char16_t *w = reinterpret_cast<const char16_t *>(word.utf16()) + (word.size() - n);
        for (qsizetype i = 0; i < n; ++i) {
            if (w[i] != test.strip[i])
                return false;
        }
    }
    if (test.kind == RuleTest::StripOnly)
        return true;
    if (test.fast)
        return wordIsValid && test.fast->matchesSuffixOfValid(word);
    return test.compiled->matchesSuffix(word);
}

inline bool PrefixTestMatches(const RuleTest &test, QStringView word, bool wordIsValid)
{
    if (test.kind >= RuleTest::Always)
        return test.kind == RuleTest::Always;
    const qsizetype n = test.stripLength;
    if (n > 0) {
        if (n > word.size())
            return false;
        const char16_t *w = reinterpret_cast<const char16_t *>(word.utf16());
        for (qsizetype i = 0; i < n; ++i) {
            if (w[i] != test.strip[i])
                return false;
        }
    }
    if (test.kind == RuleTest::StripOnly)
        return true;
    if (test.fast)
        return wordIsValid && test.fast->matchesPrefixOfValid(word);
    return test.compiled->matchesPrefix(word);
}

// Text of the status shown while the table is rebuilt.
QString affixTableBuildStatusText();

} // namespace lexaloom
