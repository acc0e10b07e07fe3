#include <QDir>
#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "core/dictionary/affix_condition.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/dic_line_reader.h"
#include "core/dictionary/flags.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

using namespace lexaloom;

namespace {

AffixTable tableOf(const QString &aff)
{
    AffixTable table;
    BuildAffixTable(table, aff);
    return table;
}

} // namespace

TEST(AffixTable, FlagMode)
{
    struct Case {
        const char *aff;
        FlagMode mode;
    };
    const Case cases[] = {
        {"SET UTF-8\n", FlagMode::Single},
        {"FLAG UTF-8\n", FlagMode::Single},
        {"# switch to FLAG long one day\n", FlagMode::Long},
        {"FLAG long\n", FlagMode::Long},
        {"FLAG num\n", FlagMode::Numeric},
        {"FLAG num\nFLAG long\n", FlagMode::Numeric},
        {"FLAG\tlong\n", FlagMode::Single},
    };
    for (const Case &c : cases)
        EXPECT_EQ(tableOf(QString::fromUtf8(c.aff)).flagMode, c.mode) << c.aff;
}

// An entry's flags resolve to the tokens the flag splitter gives, each with the id of
// its own text, in every flag mode.
TEST(AffixTable, ResolvedFlagsFollowTheSplitter)
{
    struct Case {
        const char *aff;
        const char *flags;
    };
    const Case cases[] = {
        {"FLAG num\nSFX 7 Y 1\nSFX 7 0 s .\nSFX 07 Y 1\nSFX 07 0 t .\n", "7,07,7"},
        {"FLAG num\nSFX 7 Y 1\nSFX 7 0 s .\n", "1,,7,"},
        {"FLAG num\nSFX 7 Y 1\nSFX 7 0 s .\n", ",70000,x7"},
        {"FLAG num\nSFX 7 Y 1\nSFX 7 0 s .\n", ","},
        {"FLAG long\nSFX Aa Y 1\nSFX Aa 0 s .\n", "AaBbA"},
        {"SET UTF-8\nSFX A Y 1\nSFX A 0 s .\n", "AB\u00E9"},
        {"FLAG UTF-8\nSFX \U0001F600 Y 1\nSFX \U0001F600 0 s .\n", "A\U0001F600B\U0001F600"},
    };
    for (const Case &c : cases) {
        const AffixTable table = tableOf(QString::fromUtf8(c.aff));
        const QString flags = QString::fromUtf8(c.flags);
        FlagList list;
        table.resolveFlags(flags, list);
        FlagSplitter splitter(table.flagMode, flags);
        QStringView flag;
        size_t i = 0;
        while (splitter.next(flag)) {
            ASSERT_LT(i, list.flags.size()) << c.flags;
            EXPECT_EQ(list.flags[i].text, flag) << c.flags << ' ' << i;
            EXPECT_EQ(list.flags[i].id, table.flagId(flag)) << c.flags << ' ' << i;
            ++i;
        }
        EXPECT_EQ(i, list.flags.size()) << c.flags;
    }
    // A lone high surrogate (typed text can hold one) is a flag of its own.
    {
        const AffixTable table = tableOf(QStringLiteral("SET UTF-8\n"));
        const QString flags = QStringLiteral("A") + QChar(0xD83D) + QStringLiteral("B") + QChar(0xD83D);
        FlagList list;
        table.resolveFlags(flags, list);
        ASSERT_EQ(list.flags.size(), 4u);
        EXPECT_EQ(list.flags[1].text, QStringView(flags).sliced(1, 1));
        EXPECT_EQ(list.flags[3].text, QStringView(flags).sliced(3, 1));
    }
    // "7" and "07" are two flags; only "7" names the group.
    const AffixTable numeric = tableOf(QStringLiteral("FLAG num\nSFX 7 Y 1\nSFX 7 0 s .\n"));
    FlagList list;
    numeric.resolveFlags(u"07,7", list);
    ASSERT_EQ(list.flags.size(), 2u);
    EXPECT_EQ(numeric.info(list.flags[0].id).groups.suffixY, 0);
    EXPECT_NE(numeric.info(list.flags[1].id).groups.suffixY, 0);
}

TEST(AffixTable, FlagCountAndGetFlag)
{
    struct Case {
        FlagMode mode;
        const char *flags;
        int count;
        QStringList each;
    };
    const Case cases[] = {
        {FlagMode::Single, "ABC", 3, {"A", "B", "C"}},   {FlagMode::Single, "", 0, {}},
        {FlagMode::Long, "AABBC", 3, {"AA", "BB", "C"}}, {FlagMode::Long, "AABB", 2, {"AA", "BB"}},
        {FlagMode::Numeric, "101,7", 2, {"101", "7"}},   {FlagMode::Numeric, "", 1, {""}},
        {FlagMode::Numeric, "1,,2", 3, {"1", "", "2"}},
    };
    for (const Case &c : cases) {
        const QString flags = QString::fromUtf8(c.flags);
        EXPECT_EQ(FlagCount(c.mode, flags), c.count) << c.flags;
        QStringList each;
        for (int i = 1; i <= c.count; ++i)
            each << GetFlag(c.mode, flags, i).toString();
        EXPECT_EQ(each, c.each) << c.flags;
        EXPECT_TRUE(GetFlag(c.mode, flags, c.count + 1).isEmpty()) << c.flags;
        EXPECT_TRUE(GetFlag(c.mode, flags, 0).isEmpty()) << c.flags;
        QStringList split;
        FlagSplitter splitter(c.mode, flags);
        QStringView flag;
        while (splitter.next(flag))
            split << flag.toString();
        if (!flags.isEmpty()) {
            EXPECT_EQ(split, c.each) << c.flags;
        }
    }
}

TEST(AffixTable, GroupsIndexAndSummary)
{
    const QString aff = QStringLiteral("SET UTF-8\n"
                                       "PFX  A\tY 1\n"
                                       "PFX A 0 re .\n"
                                       "SFX B N 2\n"
                                       "SFX B 0 s .\n"
                                       "SFX B y ies [^aeiou]y\n"
                                       "SFX B Y 1\n"
                                       "SFX B 0 x .\n"
                                       "SFX B Y 1\n"
                                       "SFX B 0 never .\n"
                                       "SFX C X 1\n");
    const AffixTable table = tableOf(aff);
    ASSERT_EQ(table.groups.size(), 4u);
    EXPECT_EQ(table.prefixGroupCount, 1);
    EXPECT_EQ(table.suffixGroupCount, 3);
    EXPECT_EQ(table.maxRuleCount, 2);
    EXPECT_EQ(table.normalizedText.left(21), QStringLiteral("SET UTF-8\nPFX A Y 1\nP"));
    EXPECT_EQ(table.headerIndex, QStringLiteral("PFX A Y\x01SFX B N\x01SFX B Y\x01SFX B Y\x01"));
    EXPECT_EQ(table.headerSummary, QStringLiteral("PFX Y A 2 1\x01SFX N B 4 2\x01SFX Y B 7 1\x01SFX Y B 9 1\x01"));
    EXPECT_EQ(table.groupFlags, QStringList({"A", "B", "B", "B"}));
    EXPECT_EQ(table.headerPosition.value(1), 1);
    EXPECT_EQ(table.headerPosition.value(9), 2);
    EXPECT_EQ(table.group(2).headerLine, 4);
    EXPECT_EQ(table.group(2).headerOffset, int(table.normalizedText.indexOf(QLatin1String("SFX B N"))) + 1);
    EXPECT_EQ(table.group(2).rules, QStringList({"SFX B 0 s .", "SFX B y ies [^aeiou]y"}));

    EXPECT_EQ(table.FindGroup(u"PFX", u"A", u"Y"), 1);
    EXPECT_EQ(table.FindGroup(u"SFX", u"B", u"N"), 2);
    // A repeated header is never reached.
    EXPECT_EQ(table.FindGroup(u"SFX", u"B", u"Y"), 3);
    EXPECT_EQ(table.FindGroup(u"PFX", u"A", u"N"), 0);
    EXPECT_EQ(table.FindGroup(u"SFX", u"C", u"Y"), 0);
}

TEST(AffixTable, CountedLinesAreTakenAsTheyStand)
{
    // The count is trusted: a comment becomes rule 1.
    const AffixTable table = tableOf(QStringLiteral("SFX A Y 2\n# plural\nSFX A 0 s .\n"));
    ASSERT_EQ(table.groups.size(), 1u);
    EXPECT_EQ(table.group(1).rules, QStringList({"# plural", "SFX A 0 s ."}));
    EXPECT_EQ(table.group(1).parsedRules[1].affix, QStringLiteral("s"));

    const AffixTable aliases = tableOf(QStringLiteral("AF 3\nAF ABC # 1\nAF D\nAF EF\nSFX A Y 1\nSFX A 0 s .\n"));
    EXPECT_EQ(aliases.aliasCount, 3);
    EXPECT_EQ(aliases.aliases, QStringList({"ABC", "D", "EF"}));
    EXPECT_EQ(aliases.groups.size(), 1u);

    // A count beyond the end of the text, or no number at all.
    const AffixTable shortText = tableOf(QStringLiteral("SFX A Y 999999999\nSFX A 0 s .\nSFX B Y x\n"));
    EXPECT_EQ(shortText.group(1).ruleCount, 999999999);
    EXPECT_EQ(shortText.group(1).rules.size(), 3);
    const AffixTable noNumber = tableOf(QStringLiteral("SFX B Y x\nSFX B 0 s .\n"));
    EXPECT_EQ(noNumber.group(1).ruleCount, 0);
    EXPECT_TRUE(noNumber.group(1).rules.isEmpty());
}

TEST(AffixTable, RuleFieldsAreRewritten)
{
    const AffixTable table = tableOf(QStringLiteral("SFX A Y 4\nSFX A 0 0 .\nSFX A 0 0/XY .\nSFX A y ied/X [^aeiou]y\n"
                                                    "SFX A 0 s\n"));
    const auto &rules = table.group(1).parsedRules;
    ASSERT_EQ(rules.size(), 4u);
    EXPECT_EQ(rules[0].affix, QString());
    EXPECT_FALSE(rules[0].hasContinuation);
    EXPECT_EQ(rules[1].affix, QStringLiteral("/XY"));
    EXPECT_EQ(rules[1].affixText, QString());
    EXPECT_EQ(rules[1].continuation, QStringLiteral("XY"));
    EXPECT_EQ(rules[2].affixText, QStringLiteral("ied"));
    EXPECT_EQ(rules[2].stripLength, 1);
    EXPECT_EQ(rules[2].condition, QStringLiteral("[^aeiou]y"));
    EXPECT_EQ(rules[3].condition, QString());
}

TEST(AffixTable, SpecialFlags)
{
    // Only a line that starts with a directive names its flag: comments and
    // mentions further along a line do not.
    const AffixTable table = tableOf(QStringLiteral("# NOSUGGEST marks taboo words\nTRY NEEDAFFIX\nNOSUGGEST !\n"
                                                    "KEEPCASE K\n  NEEDAFFIX Z\n# uses CIRCUMFIX flag\n"
                                                    "FORBIDDENWORD F\nCIRCUMFIX Q\nCIRCUMFIX R\nCOMPLEXPREFIXES\n"));
    EXPECT_EQ(table.noSuggestFlag, QStringLiteral("!"));
    EXPECT_EQ(table.keepCaseFlag, QStringLiteral("K"));
    EXPECT_EQ(table.needAffixFlag, QStringLiteral("Z"));
    EXPECT_EQ(table.forbiddenWordFlag, QStringLiteral("F"));
    EXPECT_EQ(table.circumfixFlag, QStringLiteral("Q"));
    EXPECT_TRUE(table.hasKeepCase && table.hasNeedAffix && table.hasForbiddenWord && table.hasCircumfix);
    EXPECT_TRUE(table.complexPrefixes);
    EXPECT_TRUE(table.HasNeedAffixFlag(u"AZ"));
    EXPECT_FALSE(table.HasNeedAffixFlag(u"AB"));
    EXPECT_TRUE(table.ContainsCircumfixFlag(u"QA"));

    const AffixTable none = tableOf(QStringLiteral("SET UTF-8\n# KEEPCASE K, COMPLEXPREFIXES one day\n"));
    EXPECT_FALSE(none.hasKeepCase || none.hasNeedAffix || none.hasForbiddenWord || none.hasCircumfix);
    EXPECT_FALSE(none.complexPrefixes);
    EXPECT_FALSE(none.HasNeedAffixFlag(u""));

    const AffixTable longFlags = tableOf(QStringLiteral("FLAG long\nNEEDAFFIX ZZ\n"));
    EXPECT_TRUE(longFlags.HasNeedAffixFlag(u"AAZZ"));
    EXPECT_FALSE(longFlags.HasNeedAffixFlag(u"AZZA"));
}

TEST(AffixTable, RebuildsOnlyWhenTheTextChanged)
{
    AffixTable table;
    const QString aff = QStringLiteral("SFX A Y 1\nSFX A 0 s .\n");
    EXPECT_TRUE(BuildAffixTable(table, aff));
    EXPECT_FALSE(BuildAffixTable(table, aff));
    EXPECT_TRUE(BuildAffixTable(table, aff + u'\n'));
    EXPECT_EQ(table.sourceText, aff + u'\n');
}

TEST(AffixTable, ConditionTests)
{
    const AffixTable table = tableOf(QStringLiteral("SFX A Y 1\nSFX A y ies [^y]\n"));
    struct Case {
        bool suffix;
        const char *word;
        const char *strip;
        const char *condition;
        bool matches;
    };
    const Case cases[] = {
        // "." matches every word, but a strip must still stand at the edge.
        {true, "walk", "y", ".", false},
        {false, "walk", "y", ".", false},
        {true, "happy", "y", ".", true},
        {false, "yes", "y", ".", true},
        {true, "walk", "0", ".", true},
        {true, "happy", "y", "[^aeiou]y", true},
        {true, "play", "y", "[^aeiou]y", false},
        {true, "happy", "0", "[^aeiou]y", true},
        {true, "happy", "x", "[^aeiou]y", false},
        // Strip y and a set that excludes y can never both hold.
        {true, "happy", "y", "[^y]", false},
        {true, "walk", "0", "[^y]", true},
        {false, "undo", "un", "un", true},
        {false, "undo", "0", "[^u]", false},
        {false, "do", "0", "[^u]", true},
        {true, "walk", "0", "", true},
        // An expression that does not compile never matches.
        {true, "walk", "0", "[k", false},
        {false, "walk", "0", "(w", false},
        // Full expressions work too.
        {true, "walked", "0", "(ed|ing)", true},
        {false, "walked", "0", "w.{2,}k", true},
    };
    for (const Case &c : cases) {
        const QString word = QString::fromUtf8(c.word);
        const QString strip = QString::fromUtf8(c.strip);
        const QString condition = QString::fromUtf8(c.condition);
        const bool result = c.suffix ? SuffixConditionMatches(table, word, strip, condition)
                                     : PrefixConditionMatches(table, word, strip, condition);
        EXPECT_EQ(result, c.matches) << c.word << ' ' << c.strip << ' ' << c.condition;
    }
}

TEST(AffixCondition, FastMatcherAgreesWithPcre)
{
    struct Case {
        const char *condition;
        bool fast;
    };
    const Case cases[] = {
        {".", true},
        {"", true},
        {"y", true},
        {"[^aeiou]y", true},
        {"[aeiou]", true},
        {"[-x]", true},
        {"[x-]", true},
        {"[^-]", true},
        {"é[ëï]", true},
        {"[a^]", true},
        {"[a.$]", true},
        {"\xF0\x9F\x98\x80.", true},
        {"[\xF0\x9F\x98\x80x]", true},
        // "-" in a set is a member, never a range.
        {"[a-z]", true},
        {"[aeiouhy-Ã Ã¹Ã¸]", true},
        {"[^a-c]x", true},
        {"[]a]", false},
        {"[^]a]", false},
        {"a*", false},
        {"a|b", false},
        {"\\.", false},
        {"[[:alpha:]]", false},
        {"(x)", false},
        {"[ab", false},
        {"a{2}", false},
        {"^a", false},
        {"a$", false},
        {"a+", false},
        {"a?", false},
    };
    const char *words[] = {"",
                           "a",
                           "y",
                           "ay",
                           "xy",
                           "play",
                           "happy",
                           "-",
                           "x-",
                           "é",
                           "éë",
                           "aéï",
                           "a^",
                           "$",
                           ".",
                           "za.",
                           "a\n",
                           "\xF0\x9F\x98\x80",
                           "b\xF0\x9F\x98\x80",
                           "\xF0\x9F\x98\x80z",
                           "walk",
                           "b",
                           "z",
                           "Ã¡",
                           "bx"};
    QStringList subjects;
    for (const char *w : words)
        subjects << QString::fromUtf8(w);
    subjects << QString(QChar(0xD800)) + u'y' << u'y' + QString(QChar(0xDC00)) << QStringLiteral("ay\n");
    for (const Case &c : cases) {
        const AffixCondition condition(QString::fromUtf8(c.condition));
        EXPECT_EQ(condition.hasFastMatcher(), c.fast) << c.condition;
        for (const QString &word : subjects) {
            EXPECT_EQ(condition.matchesSuffix(word), condition.pcreMatchesSuffix(word))
                << c.condition << " $ " << word.toStdString();
            EXPECT_EQ(condition.matchesPrefix(word), condition.pcreMatchesPrefix(word))
                << "^ " << c.condition << ' ' << word.toStdString();
        }
    }
}

TEST(AffixCondition, CatastrophicConditionEndsQuickly)
{
    // A backtracking matcher would take years here; ctest's time limit catches that.
    const AffixCondition condition(QStringLiteral("(a|aa)+"));
    const QString word = QString(40, u'a') + u'b';
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(condition.matchesSuffix(word));
        EXPECT_FALSE(condition.matchesPrefix(QStringLiteral("b") + word.chopped(1) + u'c'));
    }
    EXPECT_TRUE(condition.matchesSuffix(QStringLiteral("baaaa")));
}

// Every condition of the real .aff files against every word of their .dic files:
// the fast matcher must give PCRE2's answers.
TEST(AffixCondition, FastMatcherAgreesWithPcreOnTheCorpus)
{
    QString root = qEnvironmentVariable("LEXALOOM_CORPUS");
    if (root.isEmpty())
        root = QStringLiteral("/work/corpus-data");
    const QDir dir(root + QStringLiteral("/hunspell"));
    const QStringList affs = dir.entryList({QStringLiteral("*.aff")}, QDir::Files, QDir::Name);
    if (affs.isEmpty())
        GTEST_SKIP() << "no corpus at " << root.toStdString();
    for (const QString &affName : affs) {
        QFile affFile(dir.filePath(affName));
        ASSERT_TRUE(affFile.open(QIODevice::ReadOnly));
        const AffixTable table = tableOf(QString::fromUtf8(affFile.readAll()));
        QSet<QString> words;
        DicLineReader reader(dir.filePath(affName.chopped(3) + QStringLiteral("dic")));
        QString line;
        while (reader.next(line)) {
            const QStringView entry = DicLineReader::wordPart(line);
            const qsizetype slash = entry.indexOf(u'/');
            words.insert((slash < 0 ? entry : entry.first(slash)).toString());
        }
        ASSERT_FALSE(words.isEmpty()) << affName.toStdString();
        int fast = 0;
        for (int i = 0; i < table.conditions.size(); ++i) {
            const AffixCondition &condition = table.conditions.at(i);
            if (!condition.hasFastMatcher())
                continue;
            ++fast;
            int mismatches = 0;
            for (const QString &word : words) {
                if (condition.matchesSuffix(word) != condition.pcreMatchesSuffix(word) ||
                    condition.matchesPrefix(word) != condition.pcreMatchesPrefix(word))
                    ++mismatches;
            }
            EXPECT_EQ(mismatches, 0) << affName.toStdString() << ": " << condition.text().toStdString();
        }
        EXPECT_GT(fast, 0) << affName.toStdString();
    }
}

TEST(AffixTable, BuildShowsItsStatusAndSkipsUnchangedText)
{
    lexaloom::testing::ScriptedUi ui;
    MainSettings settings;
    LongTask task(ui, settings);
    AffixTable table;
    QString aff;
    for (int i = 0; i < 2000; ++i)
        aff += QStringLiteral("# filler line\n");
    aff += QStringLiteral("SFX A Y 1\nSFX A 0 s .\n");
    ui.onProcessEvents = [](lexaloom::testing::ScriptedUi &u) { u.fakeClock.advance(1); };
    EXPECT_TRUE(BuildAffixTable(table, aff, &task));
    ASSERT_FALSE(ui.statuses.isEmpty());
    EXPECT_EQ(ui.statuses.first(), QStringLiteral("Optimising .AFF decode cache..."));
    EXPECT_TRUE(ui.statuses.last().startsWith(QStringLiteral("OK."))) << ui.statuses.last().toStdString();
    EXPECT_EQ(table.groups.size(), 1u);
    ui.clearRecords();
    EXPECT_FALSE(BuildAffixTable(table, aff, &task));
    EXPECT_TRUE(ui.statuses.isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}
