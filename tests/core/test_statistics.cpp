#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/dictionary_tools/statistics.h"
#include "core/dictionary_tools/statistics_session.h"
#include "core/shell/prefs_store.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

const QByteArray bom("\xEF\xBB\xBF");
const char *const plainAff = "SET UTF-8\n";
const char *const affixAff = "SET UTF-8\nSFX S Y 1\nSFX S 0 s .\nPFX P Y 1\nPFX P 0 pre- .\n";

// walk/SP: walk walks pre-walk pre-walks; run/S: run runs; cat; O'Neil/S: O'Neil
// O'Neils; Ann/S: Ann Anns. The "/" entry and the tags are not words.
const QStringList handEntries = {"walk/SP", "/orphan", "run/S\npo:verb", "cat", "O'Neil/S", "Ann/S"};

struct Fixture {
    QTemporaryDir dir;
    Workbench workbench{dir.path()};
    ScriptedUi ui;

    Fixture(const char *aff, const QStringList &entries)
    {
        workbench.dictionary.affText = QString::fromLatin1(aff);
        for (const QString &entry : entries)
            workbench.dictionary.entries.append(entry);
    }
    StatisticsRun run() { return RunStatistics(workbench.dictionary, workbench.affixTable, workbench.settings, ui); }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

DicStatistics handStatistics()
{
    DicStatistics s;
    s.total = 11;
    s.withApostrophe = 2;
    s.withHyphen = 2;
    s.startingUppercase = 4;
    s.byLength = {0, 0, 0, 3, 3, 1};
    s.byLetter[0] = 0;
    s.byLetter['a' - 'a' + 1] = 2;
    s.byLetter['c' - 'a' + 1] = 1;
    s.byLetter['o' - 'a' + 1] = 2;
    s.byLetter['p' - 'a' + 1] = 2;
    s.byLetter['r' - 'a' + 1] = 2;
    s.byLetter['w' - 'a' + 1] = 2;
    return s;
}

int letter(char c)
{
    return c - 'a' + 1;
}

} // namespace

TEST(Statistics, SingleWordsCountWhereTheyBelong)
{
    struct Case {
        QString word;
        qint64 apostrophe, hyphen, uppercase;
        int length; // the byLength row, 0 for none
        int letterRow;
    };
    const Case cases[] = {
        {QStringLiteral("Rock'n'roll"), 1, 0, 1, 0, letter('r')}, {QStringLiteral("éclair"), 0, 0, 0, 0, letter('e')},
        {QStringLiteral("Ørsted"), 0, 0, 1, 0, letter('o')},      {QStringLiteral("1st"), 0, 0, 0, 3, 0},
        {QStringLiteral("abcde"), 0, 0, 0, 5, letter('a')},       {QStringLiteral("abcdef"), 0, 0, 0, 0, letter('a')},
        {QStringLiteral("x-ray"), 0, 1, 0, 5, letter('x')},       {QStringLiteral("Ça"), 0, 0, 1, 2, letter('c')},
        {QStringLiteral("\U00010400b"), 0, 0, 1, 3, 0}, // a capital beyond the BMP: upper case, no a-z row
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.word.toStdString());
        Fixture f(plainAff, {c.word});
        const StatisticsRun run = f.run();
        ASSERT_TRUE(run.done);
        const DicStatistics &s = run.stats;
        EXPECT_EQ(s.total, 1);
        EXPECT_EQ(s.withApostrophe, c.apostrophe);
        EXPECT_EQ(s.withHyphen, c.hyphen);
        EXPECT_EQ(s.startingUppercase, c.uppercase);
        for (int length = 1; length <= 5; ++length)
            EXPECT_EQ(s.byLength[size_t(length)], length == c.length ? 1 : 0) << length;
        for (int row = 0; row < DicStatistics::letterRows; ++row)
            EXPECT_EQ(s.byLetter[size_t(row)], row == c.letterRow ? 1 : 0) << row;
        ASSERT_EQ(run.entries.size(), 1U);
        EXPECT_EQ(run.entries[0],
                  (EntryStatistics{qint32(c.apostrophe), qint32(c.hyphen), qint32(c.uppercase), qint8(c.length)}));
    }
}

TEST(Statistics, CountersOfASmallDictionaryMatchTheHandCount)
{
    Fixture f(affixAff, handEntries);
    const StatisticsRun run = f.run();
    ASSERT_TRUE(run.done);
    EXPECT_EQ(run.stats, handStatistics());
    // Per entry: the short length is that of the entry's last form of at most five characters.
    const std::vector<EntryStatistics> expected = {
        {0, 2, 0, 5}, {0, 0, 0, 0}, {0, 0, 0, 4}, {0, 0, 0, 3}, {2, 0, 2, 0}, {0, 0, 2, 4},
    };
    EXPECT_EQ(run.entries, expected);
    EXPECT_EQ(f.ui.statusText().left(3), QStringLiteral("OK."));
}

TEST(Statistics, EmptyDictionaryAndAbortOpenNothing)
{
    Fixture empty(plainAff, {});
    EXPECT_FALSE(empty.run().done);
    EXPECT_EQ(empty.ui.messageTexts(), QStringList({"No dictionary words found."}));
    EXPECT_EQ(empty.ui.messages[0].title, QStringLiteral("Warning!"));
    EXPECT_EQ(empty.ui.statusText(), QStringLiteral("Aborted."));

    QStringList entries;
    for (int i = 0; i < 200; ++i)
        entries << QStringLiteral("word%1/S").arg(i);
    for (bool yes : {false, true}) {
        Fixture f(affixAff, entries);
        f.ui.answers = {yes};
        bool pressed = false;
        f.ui.onProcessEvents = [&pressed](ScriptedUi &u) {
            u.fakeClock.advance(900);
            // Once the count is under way, after a tick has shown its progress.
            if (!pressed && u.statusText().contains(QStringLiteral("Found:"))) {
                pressed = true;
                u.pressEscape();
            }
        };
        const StatisticsRun run = f.run();
        EXPECT_EQ(run.done, !yes);
        EXPECT_EQ(f.ui.messageTexts(), QStringList({"Really abort?"}));
        EXPECT_TRUE(f.ui.statuses.contains(QStringLiteral("Processing Statistics... <ESC> to abort.")));
        const QString running = QStringLiteral("Processing Statistics... <ESC> to abort. Found:");
        EXPECT_TRUE(std::any_of(f.ui.statuses.begin(), f.ui.statuses.end(),
                                [&running](const QString &s) { return s.startsWith(running); }));
        if (yes)
            EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
        else
            EXPECT_EQ(run.stats.total, 400);
    }
}

TEST(Statistics, PercentagesDropZeroDecimalsAndShowZeroWithoutForms)
{
    struct Case {
        qint64 count, total;
        const char *text;
    };
    const Case cases[] = {
        {1, 8, "12.50"}, {12, 100, "12"}, {1, 3, "33.33"}, {2, 3, "66.67"},
        {0, 5, "0"},     {5, 5, "100"},   {0, 0, "0.00"},  {3, 0, "0.00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StatisticsPercent(c.count, c.total), QString::fromLatin1(c.text)) << c.count << "/" << c.total;

    // Only "/" entries: nothing is derived, and nothing is divided by zero.
    Fixture f(plainAff, {"/comment", "/another"});
    const StatisticsRun run = f.run();
    ASSERT_TRUE(run.done);
    EXPECT_EQ(run.stats.total, 0);
    const StatisticsPie pie = StatisticsPieChart(run.stats);
    EXPECT_TRUE(pie.slices.empty());
    EXPECT_FALSE(pie.overHundred);
    const QString text = QString::fromUtf8(StatisticsExportBytes(run.stats, {}, {}, QStringLiteral(",")));
    EXPECT_TRUE(text.contains(QStringLiteral("            With ':0 (0.00%)\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("      z:0 (0.00%)\n")));
}

TEST(Statistics, PieSlicesFollowTheRowsAndFlagOverHundred)
{
    const StatisticsPie pie = StatisticsPieChart(handStatistics());
    // Rows 4 and 5 (one and two characters) are 0 % and take no slice.
    ASSERT_EQ(pie.slices.size(), 6U);
    const quint32 colours[] = {0xA349A4, 0x3F48CC, 0x00A2E8, 0xFF7F27, 0xED1C24, 0x880015};
    const double counts[] = {2, 2, 4, 3, 3, 1};
    double start = 0;
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(pie.slices[i].rgb, colours[i]) << i;
        EXPECT_NEAR(pie.slices[i].startDegrees, start, 1e-3) << i;
        EXPECT_NEAR(pie.slices[i].spanDegrees, counts[i] / 11 * 360, 1e-3) << i;
        start += pie.slices[i].spanDegrees;
    }
    EXPECT_TRUE(pie.overHundred); // 15 of 11

    // Only the length rows, adding up to exactly the total: no note.
    DicStatistics s;
    s.total = 3;
    s.byLength = {0, 1, 1, 1, 0, 0};
    const StatisticsPie exact = StatisticsPieChart(s);
    EXPECT_FALSE(exact.overHundred);
    ASSERT_EQ(exact.slices.size(), 3U);
    EXPECT_NEAR(exact.slices[2].startDegrees + exact.slices[2].spanDegrees, 360, 1e-3);
}

TEST(Statistics, ExportWritesTheExactBytes)
{
    Fixture f(affixAff, handEntries);
    f.workbench.windowSettings.dicStats.value = QStringLiteral("10");
    StatisticsSession session(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui,
                              f.workbench.windowSettings.dicStats, f.run());
    EXPECT_EQ(session.newWordsText(), QStringLiteral("New:1 / Date:2024-01-17 00:00:01"));
    const QString name = f.path(QStringLiteral("stats"));
    f.ui.savePaths = {name};
    ASSERT_TRUE(session.exportToFile());
    EXPECT_EQ(f.ui.dialogTitles, QStringList({"Export Statistics to file"}));
    const QByteArray expected = bom + "Total wordlist:11\n"
                                      "\n"
                                      "WORDS:\n"
                                      "            With ':2 (18.18%)\n"
                                      "       With Hyphen:2 (18.18%)\n"
                                      "Starting uppercase:4 (36.36%)\n"
                                      " 1 characters long:0 (0%)\n"
                                      " 2 characters long:0 (0%)\n"
                                      " 3 characters long:3 (27.27%)\n"
                                      " 4 characters long:3 (27.27%)\n"
                                      " 5 characters long:1 (9.09%)\n"
                                      "\n"
                                      "Reference Value:10\n"
                                      "New Words:1 / Date:2024-01-17 00:00:01\n"
                                      "\n"
                                      "LETTERS:\n"
                                      "#/other:0 (0%)\n"
                                      "      a:2 (18.18%)\n"
                                      "      b:0 (0%)\n"
                                      "      c:1 (9.09%)\n"
                                      "      d:0 (0%)\n      e:0 (0%)\n      f:0 (0%)\n      g:0 (0%)\n"
                                      "      h:0 (0%)\n      i:0 (0%)\n      j:0 (0%)\n      k:0 (0%)\n"
                                      "      l:0 (0%)\n      m:0 (0%)\n      n:0 (0%)\n"
                                      "      o:2 (18.18%)\n"
                                      "      p:2 (18.18%)\n"
                                      "      q:0 (0%)\n"
                                      "      r:2 (18.18%)\n"
                                      "      s:0 (0%)\n      t:0 (0%)\n      u:0 (0%)\n      v:0 (0%)\n"
                                      "      w:2 (18.18%)\n"
                                      "      x:0 (0%)\n      y:0 (0%)\n      z:0 (0%)\n";
    EXPECT_EQ(readAll(name + ".txt"), expected);

    // Empty fields are written "N/A"; counts carry the preferred separator.
    DicStatistics big;
    big.total = 1234567;
    big.byLetter[0] = 1234567;
    const QString text = QString::fromUtf8(StatisticsExportBytes(big, {}, {}, QStringLiteral(".")));
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(bom) + QStringLiteral("Total wordlist:1.234.567\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nReference Value:N/A\nNew Words:N/A\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\n#/other:1.234.567 (100%)\n")));
}

TEST(Statistics, RememberAndForgetGoThroughTheSettingsFile)
{
    QStringList entries;
    for (int i = 0; i < 1234; ++i)
        entries << QStringLiteral("w%1").arg(i);
    Fixture f(plainAff, entries);
    Workbench &wb = f.workbench;
    const QString file = QDir(f.dir.path()).filePath(settingsFiles::dicStatsRemember);
    const auto save = [&wb] { return SaveDicStatsReference(wb); };
    const auto remove = [&wb] { return RemoveSettingsFile(wb.programFolder(), settingsFiles::dicStatsRemember); };
    {
        StatisticsSession session(wb.dictionary, wb.affixTable, wb.settings, f.ui, wb.windowSettings.dicStats, f.run());
        EXPECT_EQ(session.referenceText(), QString());
        EXPECT_EQ(session.newWordsText(), QString());
        EXPECT_EQ(session.lastRememberText(), QStringLiteral("Last Remember:N/A"));
        // Blank reference, and copies of empty fields.
        session.remember(save, file);
        session.copyNewWords();
        session.copyNewNumber();
        EXPECT_EQ(f.ui.messageTexts(), QStringList({"Remember gadget is blank.", "Nothing to copy to clipboard.",
                                                    "Nothing to copy to clipboard."}));
        EXPECT_FALSE(QFile::exists(file));

        session.setReferenceText(QStringLiteral("1000"));
        f.ui.fakeClock.epochSeconds += 60;
        session.remember(save, file);
        EXPECT_EQ(readAll(file), "25\n1000\nLast Remember:2024-01-17 00:01:01\n");
        EXPECT_EQ(session.lastRememberText(), QStringLiteral("Last Remember:2024-01-17 00:01:01"));
    }
    // The next start loads it; a run with 1234 words shows 234 new ones.
    Workbench next(f.dir.path());
    LoadAllSettings(next);
    EXPECT_EQ(next.windowSettings.dicStats.value, QStringLiteral("1000"));
    next.dictionary = wb.dictionary;
    f.ui.clearRecords();
    f.ui.fakeClock.epochSeconds += 3600;
    StatisticsSession session(next.dictionary, next.affixTable, next.settings, f.ui, next.windowSettings.dicStats,
                              RunStatistics(next.dictionary, next.affixTable, next.settings, f.ui));
    EXPECT_EQ(session.totalText(), QStringLiteral("1,234"));
    EXPECT_EQ(session.referenceText(), QStringLiteral("1000"));
    EXPECT_EQ(session.newWordsText(), QStringLiteral("New:234 / Date:2024-01-17 01:01:01"));
    EXPECT_EQ(session.lastRememberText(), QStringLiteral("Last Remember:2024-01-17 00:01:01"));
    session.copyNewNumber();
    EXPECT_EQ(f.ui.clipboard, QStringLiteral("234"));
    session.copyTotal();
    EXPECT_EQ(f.ui.clipboard, QStringLiteral("1,234"));

    // The reference field: what reads as a count (grouped as "Copy" gives it) refreshes
    // the new words; anything else empties them.
    struct Case {
        const char *reference;
        const char *newWords; // before the date; empty for an empty field
    };
    const Case cases[] = {{"1,200", "New:34"}, {"2000", "New:-766"}, {"", ""},
                          {"-5", ""},          {"12a", ""},          {" 34 ", "New:1,200"}};
    for (const Case &c : cases) {
        session.setReferenceText(QString::fromLatin1(c.reference));
        const QString expected =
            *c.newWords ? QString::fromLatin1(c.newWords) + " / Date:2024-01-17 01:01:01" : QString();
        EXPECT_EQ(session.newWordsText(), expected) << c.reference;
    }
    session.copyTotalToReference();
    EXPECT_EQ(session.referenceText(), QStringLiteral("1234"));
    EXPECT_EQ(session.newWordsText(), QStringLiteral("New:0 / Date:2024-01-17 01:01:01"));

    // A file that cannot be written leaves everything as it was and says so.
    f.ui.clearRecords();
    session.remember([] { return false; }, file);
    EXPECT_EQ(f.ui.messageTexts(), QStringList({"Can't write the file:\n" + file + "\n\nWrite failed."}));
    EXPECT_EQ(next.windowSettings.dicStats.value, QStringLiteral("1000"));
    EXPECT_EQ(session.lastRememberText(), QStringLiteral("Last Remember:2024-01-17 00:01:01"));

    session.forget(remove, file);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(session.referenceText(), QString());
    EXPECT_EQ(session.newWordsText(), QString());
    EXPECT_EQ(next.windowSettings.dicStats, DicStatsReference());
}

TEST(Statistics, EntriesBehindARowWithTheirPreviewAndExtraction)
{
    Fixture f(affixAff, handEntries);
    StatisticsSession session(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui,
                              f.workbench.windowSettings.dicStats, f.run());
    EXPECT_FALSE(session.checkRowSelected(-1));
    EXPECT_EQ(f.ui.messageTexts(), QStringList({"No dictionary word type selected."}));

    struct Case {
        int row;
        const char *title;
        std::vector<qint64> entries;
        qint64 firstValue;
        const char *firstPreview;
    };
    const Case cases[] = {
        {0, "With '", {4}, 2, "O'Neil (Primary)\nO'Neils Flag:S (Primary:O'Neil)\n"},
        {1, "With Hyphen", {0}, 2, "pre-walk Flag:P (Primary:walk)\npre-walks Flag:P (Primary:walks)\n"},
        {2, "Starting uppercase", {4, 5}, 2, "O'Neil (Primary)\nO'Neils Flag:S (Primary:O'Neil)\n"},
        // Every length row lists the entries with any short form; the preview shows that length only.
        {5, "3 characters long", {0, 2, 3, 5}, 5, ""},
        {6, "4 characters long", {0, 2, 3, 5}, 5, "walk (Primary)\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(StatisticsSession::criterionTitle(c.row),
                  QStringLiteral("Show words based on selected criteria: ") + QString::fromUtf8(c.title));
        const std::vector<qint64> found = session.criterionEntries(c.row, f.ui, {});
        EXPECT_EQ(found, c.entries);
        ASSERT_FALSE(found.empty());
        EXPECT_EQ(EntryStatisticFor(session.entryStatistics()[size_t(found[0])], c.row), c.firstValue);
        EXPECT_EQ(session.preview(found[0], c.row), QString::fromUtf8(c.firstPreview));
    }
    EXPECT_EQ(session.entryWord(2), QStringLiteral("run/S"));

    // "Extract with Flags" on the upper-case row expands only O'Neil and Ann.
    const QString name = f.path(QStringLiteral("upper.txt"));
    f.ui.savePaths = {name};
    const WordlistResult result = session.extract(2, true, f.ui, {});
    EXPECT_TRUE(result.done);
    EXPECT_EQ(readAll(name), bom + "O'Neil (Primary)\nO'Neils Flag:S (Primary:O'Neil)\nAnn (Primary)\n"
                                   "Anns Flag:S (Primary:Ann)\n");
}
