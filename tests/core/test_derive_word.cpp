#include <QBuffer>
#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dic_line_reader.h"
#include "core/shell/text_codec.h"
#include "engine_fixtures.h"
#include "gtest_qt_printers.h"

using namespace lexaloom;
using namespace lexaloom::testing;

namespace {

// "word Type" per row, the primary row included.
QStringList rowsOf(const AffixTable &table, const QString &entry, int *counted = nullptr)
{
    EditorRowsSink sink;
    WordDeriver deriver(table);
    const int n = deriver.DeriveWord(entry, sink);
    if (counted)
        *counted = n;
    QStringList out;
    for (const EditorRow &row : sink.rows())
        out << row.word + u' ' + derivedTypeText(row.type);
    return out;
}

} // namespace

TEST(DeriveWord, SuffixFormsFollowFlagAndRuleOrder)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    int counted = 0;
    EXPECT_EQ(rowsOf(table, QStringLiteral("walk/GDS"), &counted),
              QStringList({"walk Primary", "walking Suffix", "walked Suffix", "walks Suffix"}));
    EXPECT_EQ(counted, 4);
    // Flag order, not group order, decides.
    EXPECT_EQ(rowsOf(table, QStringLiteral("walk/SG")),
              QStringList({"walk Primary", "walks Suffix", "walking Suffix"}));
}

TEST(DeriveWord, EditorRowsCarryFlagPositionAndRuleText)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    EditorRowsSink sink;
    WordDeriver deriver(table);
    deriver.DeriveWord(QStringLiteral("carry/D"), sink);
    ASSERT_EQ(sink.rows().size(), 2u);
    const int position = int(table.normalizedText.indexOf(QLatin1String("SFX D Y 3"))) + 1;
    EXPECT_EQ(sink.columns(sink.rows()[0]), QStringList({"carry", "Primary"}));
    EXPECT_EQ(sink.columns(sink.rows()[1]),
              QStringList({"carried", "Suffix", "D", QString::number(position), "2: y ied [^aeiou]y"}));
    EXPECT_EQ(sink.rows()[1].flagPath, QStringLiteral("D"));
    EXPECT_EQ(EditorRowsSink::derivedWordsHeading(2), QStringLiteral("Derived words (2)"));

    EditorRowsSink compact(true);
    deriver.DeriveWord(QStringLiteral("carry/D"), compact);
    ASSERT_EQ(compact.rows().size(), 2u);
    EXPECT_EQ(compact.columns(compact.rows()[0]), QStringList({"carry", ""}));
    EXPECT_EQ(compact.columns(compact.rows()[1]), QStringList({"carried", "D"}));
}

TEST(DeriveWord, PrefixPhaseSkipsFormsOfCrossProductNGroups)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    int counted = 0;
    EXPECT_EQ(
        rowsOf(table, QStringLiteral("carry/DNU"), &counted),
        QStringList({"carry Primary", "carried Suffix", "carryness Suffix", "uncarry Prefix", "uncarried Prefix"}));
    EXPECT_EQ(counted, 5);
    // The prefix flag first changes nothing: prefixes come after every suffix form.
    EXPECT_EQ(rowsOf(table, QStringLiteral("happy/UN")),
              QStringList({"happy Primary", "happyness Suffix", "unhappy Prefix"}));
}

TEST(DeriveWord, ConditionsAndStripsOfPrefixRules)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    EXPECT_EQ(rowsOf(table, QStringLiteral("do/R")), QStringList({"do Primary", "redo Prefix"}));
    // Rule 1 needs [^e], rule 2 strips the e and adds "ree".
    EXPECT_EQ(rowsOf(table, QStringLiteral("enter/R")), QStringList({"enter Primary", "reenter Prefix"}));
}

TEST(DeriveWord, TwofoldStepDerivesFromTheSuffixForm)
{
    const AffixTable table = tableOf(QStringLiteral("SFX D Y 1\nSFX D 0 ed/X .\nSFX X Y 1\nSFX X 0 ly .\n"));
    EditorRowsSink sink;
    WordDeriver deriver(table);
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("walk/D"), sink), 3);
    ASSERT_EQ(sink.rows().size(), 3u);
    EXPECT_EQ(sink.rows()[1].word, QStringLiteral("walked"));
    EXPECT_EQ(sink.rows()[1].rule, QStringLiteral("1: 0 ed/X ."));
    EXPECT_EQ(sink.rows()[2].word, QStringLiteral("walkedly"));
    EXPECT_EQ(sink.rows()[2].flag, QStringLiteral("X"));
    EXPECT_EQ(sink.rows()[2].flagPath, QStringLiteral("D\tX"));
    EXPECT_EQ(deriver.state().flagPath, QStringLiteral("D\tX"));

    // The base of the nested form is the suffix form, the root stays the entry's word.
    QByteArray csv;
    QBuffer buffer(&csv);
    buffer.open(QIODevice::WriteOnly);
    {
        Utf8Writer writer(buffer);
        FileLinesSink lines(writer, FileLineFormat::Csv, table.maxRuleCount);
        deriver.DeriveWord(QStringLiteral("walk/D"), lines);
    }
    const QStringList csvLines = QString::fromUtf8(csv).split(u'\n');
    ASSERT_GE(csvLines.size(), 3);
    EXPECT_EQ(csvLines[2], QStringLiteral("\"walk\";\"walkedly\";\"walked\";\"Suffix\";\"X\";\"") +
                               QString::number(table.group(2).headerOffset) + QStringLiteral("\";\"1: 0 ly .\""));
}

TEST(DeriveWord, NeedAffixHidesTheFormButNotItsTwofoldForms)
{
    const AffixTable table =
        tableOf(QStringLiteral("NEEDAFFIX Z\nSFX D Y 1\nSFX D 0 ed/ZX .\nSFX X Y 1\nSFX X 0 ly .\n"));
    WordDeriver deriver(table);
    EditorRowsSink sink;
    deriver.DeriveWord(QStringLiteral("walk/D"), sink);
    QStringList words;
    for (const EditorRow &row : sink.rows())
        words << row.word;
    EXPECT_EQ(words, QStringList({"walk", "walkedly"}));
    EXPECT_TRUE(deriver.state().facts.entryHasNeedAffix);
    // Z names no group, but as the NEEDAFFIX flag it is never reported missing.
    EXPECT_TRUE(deriver.state().missingContinuationFlags.isEmpty());
}

TEST(DeriveWord, CircumfixPairsPrefixAndSuffix)
{
    const AffixTable table = tableOf(QStringLiteral("CIRCUMFIX Q\n"
                                                    "PFX U Y 1\nPFX U 0 un .\n"
                                                    "SFX S Y 1\nSFX S 0 ed/PQ .\n"
                                                    "PFX P Y 1\nPFX P 0 ge/Q .\n"));
    EditorRowsSink sink;
    WordDeriver deriver(table);
    deriver.DeriveWord(QStringLiteral("walk/US"), sink);
    ASSERT_EQ(sink.rows().size(), 3u);
    EXPECT_EQ(sink.columns(sink.rows()[0]), QStringList({"walk", "Primary"}));
    EXPECT_EQ(sink.rows()[1].word, QStringLiteral("gewalked"));
    EXPECT_EQ(sink.rows()[1].type, DerivedType::Both);
    EXPECT_EQ(sink.rows()[1].flag, QStringLiteral("P"));
    EXPECT_EQ(sink.rows()[2].word, QStringLiteral("unwalk"));
    EXPECT_EQ(sink.rows()[2].type, DerivedType::Prefix);
    EXPECT_TRUE(deriver.state().facts.circumfixInForce);
}

TEST(DeriveWord, AliasesReplaceTheFlagsOfAnEntry)
{
    const QString aff = QStringLiteral("AF 2\nAF S # 1\nAF GD # 2\n"
                                       "SFX G Y 1\nSFX G 0 ing .\nSFX D Y 1\nSFX D 0 ed .\nSFX S Y 1\nSFX S 0 s .\n");
    const AffixTable table = tableOf(aff);
    ASSERT_EQ(table.aliasCount, 2);
    struct Case {
        const char *entry;
        QStringList rows;
        const char *missing;
    };
    const Case cases[] = {
        {"foo/2", {"foo Primary", "fooing Suffix", "fooed Suffix"}, ""},
        {"foo/1", {"foo Primary", "foos Suffix"}, ""},
        {"foo/0", {"foo Primary"}, "0"},
        {"foo/9", {"foo Primary"}, "9"},
    };
    for (const Case &c : cases) {
        WordDeriver deriver(table);
        EditorRowsSink sink;
        deriver.DeriveWord(QString::fromUtf8(c.entry), sink);
        QStringList rows;
        for (const EditorRow &row : sink.rows())
            rows << row.word + u' ' + derivedTypeText(row.type);
        EXPECT_EQ(rows, c.rows) << c.entry;
        EXPECT_EQ(deriver.state().missingFlags, QString::fromUtf8(c.missing)) << c.entry;
    }
    // Callers that already expanded the aliases get the digits as flags.
    WordDeriver deriver(table);
    EditorRowsSink sink;
    deriver.DeriveWord(QStringLiteral("foo/2"), sink, true);
    EXPECT_EQ(sink.rows().size(), 1u);
    EXPECT_EQ(deriver.state().missingFlags, QStringLiteral("2"));
}

TEST(DeriveWord, MissingAndSpecialFlags)
{
    const AffixTable table = tableOf(QStringLiteral("NOSUGGEST !\nKEEPCASE K\nFORBIDDENWORD F\n"
                                                    "SFX S Y 1\nSFX S 0 s/YZ .\n"));
    WordDeriver deriver(table);
    EditorRowsSink sink;
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("walk/XW"), sink), 1);
    EXPECT_EQ(deriver.state().missingFlags, QStringLiteral("XW"));

    deriver.DeriveWord(QStringLiteral("walk/!KFS"), sink);
    const DerivationState &state = deriver.state();
    EXPECT_TRUE(state.missingFlags.isEmpty());
    EXPECT_TRUE(state.facts.noSuggestSeen);
    EXPECT_TRUE(state.facts.entryHasKeepCase);
    EXPECT_TRUE(state.facts.entryHasForbiddenWord);
    EXPECT_EQ(state.missingContinuationFlags, QStringLiteral("YZ"));

    const AffixTable numeric = tableOf(QStringLiteral("FLAG num\nSFX 5 Y 1\nSFX 5 0 s/7,8 .\n"));
    WordDeriver numericDeriver(numeric);
    numericDeriver.DeriveWord(QStringLiteral("walk/101,5,7"), sink);
    EXPECT_EQ(numericDeriver.state().missingFlags, QStringLiteral("101,7"));
    EXPECT_EQ(numericDeriver.state().missingContinuationFlags, QStringLiteral(",7,8"));
    EXPECT_EQ(numericDeriver.state().missingContinuationLabel(), QStringLiteral("7,8"));
}

TEST(DeriveWord, EmptyWordsAndEscapedSlashes)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    CountingSink count;
    WordDeriver deriver(table);
    EXPECT_EQ(deriver.DeriveWord(QString(), count), 0);
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("/S"), count), 0);
    EXPECT_EQ(rowsOf(table, QStringLiteral("walk/")), QStringList({"walk Primary"}));
    // An escaped slash belongs to the word, in every form; a ";" stays a ";".
    EXPECT_EQ(rowsOf(table, QStringLiteral("km\\/h/S")), QStringList({"km/h Primary", "km/hs Suffix"}));
    EXPECT_EQ(rowsOf(table, QStringLiteral("a;b/S")), QStringList({"a;b Primary", "a;bs Suffix"}));
}

TEST(DeriveWord, EmptyGroupDoesNotDropLaterFlags)
{
    const AffixTable table = tableOf(QStringLiteral("SFX E Y 0\nSFX S Y 1\nSFX S 0 s .\n"));
    EXPECT_EQ(rowsOf(table, QStringLiteral("walk/ES")), QStringList({"walk Primary", "walks Suffix"}));
}

TEST(DeriveWord, CrunchStoresTheFirstSuffixForm)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    WordDeriver deriver(table);
    CrunchSink crunch;
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("walk/D"), crunch), 1);
    EXPECT_EQ(crunch.result(), QStringLiteral("walked"));
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("walk/GD"), crunch), 1);
    EXPECT_EQ(crunch.result(), QStringLiteral("walking"));
    // No suffix form: nothing stored, and prefix forms do not count.
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("walk/U"), crunch), 0);
    EXPECT_TRUE(crunch.result().isEmpty());
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("walk/Q"), crunch), 0);
}

TEST(DeriveWord, PrefixPhaseEndsOnARunawayContinuation)
{
    const AffixTable table = tableOf(readEngineFixture("runaway_prefix.aff"));
    int counted = 0;
    // Each prefix form of the walk is kept in order; the prefix is not applied
    // again to the forms its own continuation produced.
    EXPECT_EQ(rowsOf(table, QStringLiteral("x/A"), &counted), QStringList({"x Primary", "rex Prefix", "rexs Suffix"}));
    EXPECT_EQ(counted, 3);
    // A later prefix does not visit them either: "unrexs" would carry two prefixes.
    EXPECT_EQ(rowsOf(table, QStringLiteral("x/AC")),
              QStringList({"x Primary", "rex Prefix", "rexs Suffix", "unx Prefix"}));
}

TEST(DeriveWord, StopRequestEndsTheCall)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    int polls = 0;
    EditorRowsSink sink(false, [&polls] { return ++polls > 2; });
    WordDeriver deriver(table);
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("walk/GDS"), sink), 0);
    EXPECT_TRUE(deriver.state().stopped);
    EXPECT_LT(sink.rows().size(), 4u);
}

TEST(DeriveSinks, FileLines)
{
    const AffixTable table = tableOf(QStringLiteral("SFX S Y 12\nSFX S 0 s .\nSFX S 0 -er\n"
                                                    "SFX S 0 a x\nSFX S 0 a x\nSFX S 0 a x\nSFX S 0 a x\n"
                                                    "SFX S 0 a x\nSFX S 0 a x\nSFX S 0 a x\nSFX S 0 a x\n"
                                                    "SFX S 0 a x\nSFX S 0 a x\n"
                                                    "PFX P Y 1\nPFX P 0 pre- \n"));
    struct Case {
        FileLineFormat format;
        const char *suffix;
        int counted;
        QString text; // without the byte-order mark
    };
    const QString position = QString::number(table.group(1).headerOffset);
    const QString prefixPosition = QString::number(table.group(2).headerOffset);
    const Case cases[] = {
        {FileLineFormat::Plain, "", 6, QStringLiteral("walk\nwalks\nwalk-er\npre-walk\npre-walks\npre-walk-er\n")},
        {FileLineFormat::Compounds, "*", 4, QStringLiteral("walk-er*\npre-walk*\npre-walks*\npre-walk-er*\n")},
        {FileLineFormat::Csv, "", 6,
         QStringLiteral("\"walk\";\"walk\";\"walk\";\"Primary\";\"\";\"\";\"\"\n"
                        "\"walk\";\"walks\";\"walk\";\"Suffix\";\"S\";\"%1\";\"01: 0 s .\"\n"
                        "\"walk\";\"walk-er\";\"walk\";\"Suffix\";\"S\";\"%1\";\"02: 0 -er\"\n"
                        "\"walk\";\"pre-walk\";\"walk\";\"Prefix\";\"P\";\"%2\";\"01: 0 pre- \"\n"
                        "\"walk\";\"pre-walks\";\"walks\";\"Prefix\";\"P\";\"%2\";\"01: 0 pre- \"\n"
                        "\"walk\";\"pre-walk-er\";\"walk-er\";\"Prefix\";\"P\";\"%2\";\"01: 0 pre- \"\n")
             .arg(position, prefixPosition)},
    };
    for (const Case &c : cases) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        int counted = 0;
        {
            Utf8Writer writer(buffer);
            writer.writeByteOrderMark();
            FileLinesSink sink(writer, c.format, table.maxRuleCount, QString::fromUtf8(c.suffix));
            WordDeriver deriver(table);
            counted = deriver.DeriveWord(QStringLiteral("walk/SP"), sink);
        }
        EXPECT_EQ(counted, c.counted) << int(c.format);
        EXPECT_EQ(bytes, "\xEF\xBB\xBF" + c.text.toUtf8()) << int(c.format);
    }
}

// Plain lines are written from the root's bytes and each affix's bytes where they
// can be; every such line must be the encoding of the form any other sink gets.
TEST(DeriveSinks, PlainLinesAreTheEncodedFormsOfEveryOtherSink)
{
    const QString raw = QString(QChar(RawByteUnit(0xE9)));
    const AffixTable table = tableOf(QStringLiteral("NEEDAFFIX Z\n"
                                                    "SFX A Y 8\n"
                                                    "SFX A 0 nessesquisitenessly .\n"
                                                    "SFX A 0 s .\n"
                                                    "SFX A \u00E9 \u00E9s \u00E9\n"
                                                    "SFX A ar ou ar\n"
                                                    "SFX A 0 \U0001D538 .\n"
                                                    "SFX A 0 ") +
                                     raw +
                                     QStringLiteral("x .\n"
                                                    "SFX A t 0 t\n"
                                                    "SFX A 0 h/Z .\n"
                                                    "SFX B Y 1\n"
                                                    "SFX B 0 ed/X .\n"
                                                    "SFX X Y 1\n"
                                                    "SFX X 0 ly .\n"
                                                    "PFX P Y 1\n"
                                                    "PFX P 0 re .\n"));
    const QString entries[] = {
        QStringLiteral("walk/AB"),
        QStringLiteral("caf\u00E9/A"),
        QStringLiteral("andar/A"),
        QStringLiteral("t") + raw + QStringLiteral("t/A"), // a byte that is not UTF-8
        QStringLiteral("\U0001D538bt/A"),                  // a surrogate pair in the root
        QStringLiteral("\u65E5\u672C/A"),
        QStringLiteral("t/A"), // the strip takes the whole word
        QStringLiteral("walk/AP"),
        QStringLiteral("counterrevolutionariest/A"), // longer than the writer's copy blocks
        QStringLiteral("\u00E9l\u00E9ctrom\u00E9nag\u00E9r\u00E9ment\u00E9s\u00E9/A"),
    };
    for (const QString &entry : entries) {
        EditorRowsSink rows;
        WordDeriver deriver(table);
        const int expectedCount = deriver.DeriveWord(entry, rows);
        QByteArray expected;
        for (const EditorRow &row : rows.rows())
            expected += EncodeLossless(row.word) + '\n';

        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        int counted = 0;
        {
            Utf8Writer writer(buffer);
            FileLinesSink sink(writer, FileLineFormat::Plain, table.maxRuleCount);
            counted = deriver.DeriveWord(entry, sink);
        }
        EXPECT_EQ(counted, expectedCount) << entry.toStdString();
        EXPECT_EQ(bytes, expected) << entry.toStdString();
    }
}

TEST(DeriveSinks, CsvPadsRuleNumbersToTheLargestGroup)
{
    struct Case {
        int maxRuleCount;
        const char *rule;
    };
    const Case cases[] = {{1, "7: 0 s ."}, {99, "07: 0 s ."}, {120, "007: 0 s ."}, {123456, "00007: 0 s ."}};
    for (const Case &c : cases) {
        DerivedWord form;
        form.ruleNumber = 7;
        form.strip = u"0";
        form.affix = u"s";
        form.condition = u".";
        EXPECT_EQ(ruleText(form, int(QString::number(c.maxRuleCount).size())), QString::fromUtf8(c.rule));
    }
}

TEST(DeriveSinks, SharedListStatisticsAndTypeFilter)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    WordDeriver deriver(table);

    QStringList shared = {QStringLiteral("keep")};
    SharedListSink list(shared, 1, QStringLiteral("\t"), QStringLiteral("3"));
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("walk/GD"), list), 3);
    EXPECT_EQ(shared, QStringList({"keep", "walk\t3", "walking\t3", "walked\t3"}));

    QStringList counted;
    StatisticsSink statistics([&counted](QStringView w) { counted << w.toString(); });
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("walk/GD"), statistics), 3);
    EXPECT_EQ(counted, QStringList({"walk", "walking", "walked"}));
    StatisticsSink skipped([&counted](QStringView w) { counted << w.toString(); }, true);
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("walk/GD"), skipped), 3);
    EXPECT_EQ(counted.size(), 3);

    struct Case {
        int type;
        bool mark;
        const char *entry;
        QStringList lines;
    };
    const Case cases[] = {
        {6, true, "walk/GDU", {"walk (Primary)"}},
        {3, false, "a/S", {"a"}},
        {4, true, "a/SU", {"as Flag:S (Primary:a)"}},
        {7, true, "walk/SU", {"walks Flag:S (Primary:walk)"}},
        {2, false, "Walk/DU", {"Walk", "Walked"}},
        {2, false, "1st", {"1st"}},
        {0, false, "rock'n'roll/S", {"rock'n'roll", "rock'n'rolls"}},
        {1, false, "walk/S", {}},
    };
    for (const Case &c : cases) {
        QStringList lines;
        TypeFilterSink filter(c.type, c.mark, [&lines](QStringView l) { lines << l.toString(); });
        EXPECT_EQ(deriver.DeriveWord(QString::fromUtf8(c.entry), filter), 0) << c.entry;
        EXPECT_EQ(lines, c.lines) << c.entry;
    }
}

TEST(DeriveSinks, CountingAStreamedDictionary)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    DicLineReader reader(engineFixture("walk.dic"));
    ASSERT_TRUE(reader.isOpen());
    WordDeriver deriver(table);
    CountingSink count;
    QString line;
    qint64 total = 0;
    while (reader.next(line)) {
        const QStringView entry = DicLineReader::wordPart(line);
        if (!entry.startsWith(u'/'))
            total += deriver.DeriveWord(entry, count);
    }
    EXPECT_EQ(total, 4 + 5 + 3);
}

TEST(DicLineReader, SkipsMarkCountLineAndAllLineEnds)
{
    DicLineReader reader(engineFixture("crlf.dic"));
    QStringList lines;
    QString line;
    while (reader.next(line))
        lines << line;
    EXPECT_EQ(lines, QStringList({"alpha", "beta/S\tpo:x", "gamma", "", "last"}));
    EXPECT_EQ(DicLineReader::wordPart(lines[1]), QStringLiteral("beta/S"));
    EXPECT_EQ(reader.position(), reader.size());
}

// Numeric flags are text: "07" and "7" are two flags, and numbers past the
// direct table's range are found as well as small ones.
TEST(DeriveWord, NumericFlagsKeepTheirSpelling)
{
    const AffixTable table = tableOf(QStringLiteral("FLAG num\n"
                                                    "SFX 7 Y 1\nSFX 7 0 s .\n"
                                                    "SFX 07 Y 1\nSFX 07 0 ed .\n"
                                                    "SFX 0 Y 1\nSFX 0 0 er .\n"
                                                    "SFX 65535 Y 1\nSFX 65535 0 ing .\n"
                                                    "SFX 70000 Y 1\nSFX 70000 0 ly .\n"));
    const struct {
        const char *entry;
        QStringList rows;
    } cases[] = {
        {"walk/7", {"walk Primary", "walks Suffix"}},
        {"walk/07", {"walk Primary", "walked Suffix"}},
        {"walk/0", {"walk Primary", "walker Suffix"}},
        {"walk/65535,70000", {"walk Primary", "walking Suffix", "walkly Suffix"}},
        {"walk/007,700", {"walk Primary"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(rowsOf(table, QString::fromLatin1(c.entry)), c.rows) << c.entry;
}

// "extract --kind accepted": only what a spell checker accepts on its own.
TEST(DeriveSinks, AcceptedLinesLeaveOutWhatHunspellNeverAcceptsAlone)
{
    struct Case {
        const char *aff;
        QStringList entries;
        const char *lines;
    };
    const Case cases[] = {
        // A prefix's continuation adds its suffix to the root, never to a form
        // that has a suffix already (rewalkss).
        {"PFX P Y 1\nPFX P 0 re/S .\nSFX S Y 1\nSFX S 0 s .\n", {"walk/PS"}, "walk\nwalks\nrewalk\nrewalks\nrewalks\n"},
        // No prefix on a form a prefix's continuation made (unrewalks).
        {"PFX P Y 1\nPFX P 0 re/S .\nPFX U Y 1\nPFX U 0 un .\nSFX S Y 1\nSFX S 0 s .\n", {"walk/PU"},
         "walk\nrewalk\nrewalks\nunwalk\n"},
        // A form that is an entry marked FORBIDDENWORD is refused however it was made.
        {"FORBIDDENWORD F\nSFX S Y 1\nSFX S 0 s .\n", {"walk/S", "walks/F", "talk/S"}, "walk\ntalk\ntalks\n"},
    };
    for (const Case &c : cases) {
        const AffixTable table = tableOf(QString::fromUtf8(c.aff));
        EntryStore entries;
        for (const QString &entry : c.entries)
            entries.append(entry);
        const QSet<QString> forbidden = ForbiddenWords(entries, table);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        {
            Utf8Writer writer(buffer);
            FileLinesSink sink(writer, FileLineFormat::Accepted, table.maxRuleCount);
            sink.setForbiddenWords(&forbidden);
            WordDeriver deriver(table);
            for (const QString &entry : c.entries)
                deriver.DeriveWord(entry, sink);
        }
        EXPECT_EQ(QString::fromUtf8(bytes), QString::fromUtf8(c.lines)) << c.aff;
    }
}
