#include "core/dictionary/affix_table.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/flag_strings.h"

#include "core/shell/settings.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// S and D suffixes with cross product, N a suffix without, U a prefix, K KEEPCASE.
QString affOf(const QString &flagLine, const QStringList &flags)
{
    QString aff = QStringLiteral("SET UTF-8\n") + flagLine;
    aff += QStringLiteral("KEEPCASE %1\n").arg(flags[4]);
    aff += QStringLiteral("SFX %1 Y 1\nSFX %1 0 s .\n").arg(flags[0]);
    aff += QStringLiteral("SFX %1 Y 1\nSFX %1 0 ed .\n").arg(flags[1]);
    aff += QStringLiteral("SFX %1 N 1\nSFX %1 0 ness .\n").arg(flags[2]);
    aff += QStringLiteral("PFX %1 Y 1\nPFX %1 0 un .\n").arg(flags[3]);
    return aff;
}

const QString singleAff = affOf(QString(), {"S", "D", "N", "U", "K"});

AffixTable tableOf(const QString &aff)
{
    AffixTable table;
    BuildAffixTable(table, aff);
    return table;
}

DictionaryDocument documentOf(const QString &aff, const QStringList &entries)
{
    DictionaryDocument doc;
    doc.affText = aff;
    for (const QString &e : entries)
        doc.entries.append(e);
    return doc;
}

QStringList textsOf(const DictionaryDocument &doc)
{
    QStringList out;
    for (qint64 i = 0; i < doc.entries.size(); ++i)
        out << doc.entries.at(i);
    return out;
}

} // namespace

TEST(FlagStrings, RepeatsUnionAndSortFollowTheFlagMode)
{
    struct Case {
        FlagMode mode;
        QString flags;
        bool repeated;
        QString withoutRepeats;
        QString sorted;
    };
    const Case cases[] = {
        {FlagMode::Single, "DGSD", true, "DGS", "DDGS"},
        {FlagMode::Single, "dA", false, "dA", "Ad"},
        {FlagMode::Single, "A", false, "A", "A"},
        {FlagMode::Single, "", false, "", ""},
        {FlagMode::Single, "Aa", false, "Aa", "Aa"}, // case matters for repeats
        {FlagMode::Single, "\U0001F600x\U0001F600", true, "\U0001F600x", "x\U0001F600\U0001F600"},
        {FlagMode::Long, "AaBbAa", true, "AaBb", "AaAaBb"},
        {FlagMode::Long, "zzAb", false, "zzAb", "Abzz"},
        {FlagMode::Numeric, "101,7,33", false, "101,7,33", "7,33,101"},
        {FlagMode::Numeric, "5,12,5", true, "5,12", "5,5,12"},
        {FlagMode::Numeric, "7", false, "7", "7"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.flags.toStdString());
        EXPECT_EQ(HasRepeatedFlags(c.mode, c.flags), c.repeated);
        EXPECT_EQ(WithoutRepeatedFlags(c.mode, c.flags), c.withoutRepeats);
        EXPECT_EQ(SortedFlags(c.mode, c.flags), c.sorted);
    }

    struct UnionCase {
        FlagMode mode;
        QString a;
        QString b;
        QString result;
    };
    const UnionCase unions[] = {
        {FlagMode::Single, "AB", "CD", "BACD"},   {FlagMode::Single, "AB", "BD", "ABD"},
        {FlagMode::Single, "AA", "C", "AAC"}, // repeats within a stay
        {FlagMode::Single, "", "S", "S"},         {FlagMode::Single, "S", "", "S"},
        {FlagMode::Long, "AaBb", "Cc", "BbAaCc"}, {FlagMode::Numeric, "1,2", "3", "2,1,3"},
        {FlagMode::Numeric, "1,2", "", "2,1"}, // no trailing comma
        {FlagMode::Numeric, "1,3", "3", "1,3"},
    };
    for (const UnionCase &c : unions) {
        SCOPED_TRACE((c.a + " + " + c.b).toStdString());
        EXPECT_EQ(FlagUnion(c.mode, c.a, c.b), c.result);
    }
}

TEST(FlagStrings, EntriesSplitAtTheFirstUnescapedSlash)
{
    struct Case {
        QString entry;
        QString word;
        QString flags;
        QString tags;
    };
    const Case cases[] = {
        {"house", "house", "", ""},
        {"house/S", "house", "S", ""},
        {"house/S\tpo:noun", "house", "S\tpo:noun", ""}, // a tab is no separator here
        {"house/S\npo:noun", "house", "S", "po:noun"},
        {"a\\/b/S/x", "a\\/b", "S", ""},
        {"and\\/or", "and\\/or", "", ""},
        {"/AB\\/C", "", "AB\\", ""}, // a leading slash ignores escapes
        {"\nonly tags", "", "", "only tags"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry.toStdString());
        const EntryParts parts = SplitEntry(c.entry);
        EXPECT_EQ(parts.word.toString(), c.word);
        EXPECT_EQ(parts.flags.toString(), c.flags);
        EXPECT_EQ(parts.tags.toString(), c.tags);
    }
}

TEST(FlagStrings, FlagClassFollowsTheGroupsOfEveryFlagMode)
{
    struct Case {
        const char *name;
        QString aff;
        QString flags;
        QString code;
    };
    const QString longAff = affOf("FLAG long\n", {"Sa", "Db", "Nc", "Ud", "Ke"});
    const QString numAff = affOf("FLAG num\n", {"1", "2", "3", "4", "5"});
    const QString aliasAff = singleAff + QStringLiteral("AF 1\nAF SD\n");
    const QString specialAff =
        singleAff + QStringLiteral("NEEDAFFIX X\nFORBIDDENWORD !\nONLYINCOMPOUND O\nCIRCUMFIX C\n");
    const Case cases[] = {
        {"empty", singleAff, "", "0"},
        {"suffixes", singleAff, "SD", "1"},
        {"prefix", singleAff, "U", "2"},
        {"both", singleAff, "SU", "3"},
        {"suffix without cross product", singleAff, "N", "5"},
        {"N wins over earlier suffixes", singleAff, "SN", "5"},
        {"N after a Y suffix of the same flag list", singleAff, "NS", "5"},
        {"keep case alone", singleAff, "K", "7"},
        {"keep case with prefix", singleAff, "KU", "2"},
        {"keep case with suffix", singleAff, "KS", "1"},
        {"unknown flag", singleAff, "X", ""},
        // A special flag changes what the entry's word is on its own: never a plain class.
        {"need affix with a suffix", specialAff, "SX", "4"},
        {"forbidden word with a prefix", specialAff, "U!", "4"},
        {"only in compound with suffix and prefix", specialAff, "SOU", "4"},
        {"circumfix", specialAff, "DC", "4"},
        {"need affix beside SFX N", specialAff, "NX", "4"},
        {"special flag alone", specialAff, "X", "4"},
        {"aliases", aliasAff, "1", "6"},
        {"aliases, empty flags", aliasAff, "", "0"},
        {"long suffixes", longAff, "SaDb", "1"},
        {"long prefix and keep case", longAff, "KeUd", "2"},
        {"long N", longAff, "Nc", "5"},
        {"numeric both", numAff, "1,4", "3"},
        {"numeric keep case", numAff, "5", "7"},
        {"numeric unknown", numAff, "9", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FlagClass(tableOf(c.aff), c.flags), c.code);
    }

    const QStringList names = {"Primary",
                               "All suffixes",
                               "All prefixes",
                               "All suffixes + prefixes",
                               "CIRCUMFIX/FORBIDDENWORD/NEEDAFFIX",
                               "SFX N (only suffixes can be added)",
                               "AF Compressed",
                               "Keep Case"};
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(FlagClassName(QString::number(i)), names[i]);
    EXPECT_EQ(FlagClassName(QString()), QStringLiteral("Unknown"));
    EXPECT_EQ(FlagClassName(QStringLiteral("999999")), QStringLiteral("Unknown"));
}

TEST(SortFlags, RewritesEntriesAndCountsRemovedFlags)
{
    struct Case {
        const char *name;
        QString aff;
        QStringList entries;
        QStringList expected;
        qint64 rewritten;
        qint64 removed;
        QString message;
    };
    const QString numAff = QStringLiteral("SET UTF-8\nFLAG num\n");
    const Case cases[] = {
        {"repeat removed",
         singleAff,
         {"word/DGSD"},
         {"word/DGS"},
         1,
         1,
         "Sorted the flags in  1 word.\n\nDuplicate flags removed:1"},
        {"case-blind order",
         singleAff,
         {"word/dA"},
         {"word/Ad"},
         1,
         0,
         "Sorted the flags in  1 word.\n\nDuplicate flags removed:0"},
        {"numeric",
         numAff,
         {"word/101,7,33"},
         {"word/7,33,101"},
         1,
         0,
         "Sorted the flags in  1 word.\n\nDuplicate flags removed:0"},
        {"escaped slash and tags kept",
         singleAff,
         {"a\\/b/SDS\npo:noun/x", "c/BA"},
         {"a\\/b/DS\npo:noun/x", "c/AB"},
         2,
         1,
         "Sorted the flags in  2 words.\n\nDuplicate flags removed:1"},
        // With AF aliases the flags are alias numbers, each one flag set already.
        {"alias numbers untouched",
         singleAff + QStringLiteral("AF 21\n") + QStringLiteral("AF S\n").repeated(21),
         {"walk/11", "talk/12", "jump/21"},
         {"walk/11", "talk/12", "jump/21"},
         0,
         0,
         "Sorted the flags in  0 words.\n\nDuplicate flags removed:0"},
        {"comments and bare words untouched",
         singleAff,
         {"/ZA comment", "bare", "", "ok/AB"},
         {"/ZA comment", "bare", "", "ok/AB"},
         0,
         0,
         "Sorted the flags in  0 words.\n\nDuplicate flags removed:0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedUi ui;
        MainSettings settings;
        AffixTable table;
        DictionaryDocument doc = documentOf(c.aff, c.entries);
        const SortFlagsResult result = SortDictionaryFlags(doc, table, settings, ui);
        EXPECT_EQ(textsOf(doc), c.expected);
        EXPECT_EQ(result.rewritten, c.rewritten);
        EXPECT_EQ(result.removed, c.removed);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
        // An untouched dictionary takes no snapshot and stays unchanged.
        EXPECT_EQ(doc.hasUndoStep(), c.rewritten > 0);
        EXPECT_EQ(doc.changed, c.rewritten > 0);
        EXPECT_TRUE(ui.statuses.last().startsWith(QStringLiteral("OK. Words with flags sorted:") +
                                                  QString::number(c.rewritten) + QStringLiteral(", flags removed:") +
                                                  QString::number(c.removed)));
    }
}

TEST(SortFlags, RefusesAnEmptyDictionaryAndKeepsRewritesOnAbort)
{
    ScriptedUi ui;
    MainSettings settings;
    AffixTable table;
    DictionaryDocument empty = documentOf(singleAff, {});
    EXPECT_TRUE(SortDictionaryFlags(empty, table, settings, ui).refused);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("No dictionary words found."));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);

    // Escape on the second entry: the first stays rewritten, undo restores it, no final message.
    ScriptedUi aborting;
    DictionaryDocument doc = documentOf(singleAff, {"a/BA", "b/DC", "c/FE"});
    int polls = 0;
    aborting.onProcessEvents = [&polls](ScriptedUi &u) {
        if (!u.statuses.isEmpty() && u.statuses.last().startsWith(QStringLiteral("Sorting flags")) && ++polls == 2)
            u.pressEscape();
        u.fakeClock.advance(30);
    };
    aborting.answers = {true};
    const SortFlagsResult result = SortDictionaryFlags(doc, table, settings, aborting);
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(aborting.statuses.last(), QStringLiteral("Aborted."));
    EXPECT_EQ(aborting.messageTexts(), QStringList({"Really abort?"}));
    EXPECT_EQ(textsOf(doc), QStringList({"a/AB", "b/DC", "c/FE"}));
    EXPECT_TRUE(doc.changed);
    ASSERT_TRUE(doc.hasUndoStep());
    EXPECT_EQ(doc.undoSnapshot->entries.at(0), QStringLiteral("a/BA"));
}
