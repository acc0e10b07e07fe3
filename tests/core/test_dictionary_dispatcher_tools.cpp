// "Show/Delete duplicates wordlist" and "Sort tags .AFF".
#include "core/dictionary_tools/sort_aff_tags.h"
#include "core/dictionary_tools/wordlist_duplicates.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/dictionary_document.h"
#include "core/shell/settings.h"

#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

const QString fixtureAff = QStringLiteral("SET UTF-8\nSFX S Y 1\nSFX S 0 s .\nPFX P Y 1\nPFX P 0 re .\n");

QStringList rowsOf(const WordlistDuplicates &result)
{
    QStringList out;
    for (const WordlistDuplicate &row : result.rows)
        out << QStringLiteral("%1 (%2): %3").arg(row.word).arg(row.occurrences).arg(row.lines);
    return out;
}

} // namespace

TEST(WordlistDuplicatesTest, ListsFormsThatSeveralEntriesWithTheSameTagsGive)
{
    struct Case {
        const char *name;
        QStringList entries;
        QStringList rows;
        qint64 derived;
    };
    const Case cases[] = {
        {"the same entry twice", {"walk/S", "walk/S"}, {"walk (2): 1 + 2", "walks (2): 1 + 2"}, 4},
        {"different tags are not duplicates", {"walk/S\npo:verb", "walk/S\npo:noun", "walk"}, {}, 5},
        {"same tags are", {"walk/S\npo:verb", "walks\npo:verb", "x"}, {"walks (2): 1 + 2"}, 4},
        {"comment lines are never expanded", {"/walk", "/walk", "walk"}, {}, 1},
        {"numbers in text order", {"a"}, {}, 1}, // filled below
        {"prefix and suffix", {"do/PS", "redo/S", "do"}, {"do (2): 1 + 3", "redo (2): 1 + 2", "redos (2): 1 + 2"}, 7},
    };
    MainSettings settings;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DictionaryDocument doc;
        doc.affText = fixtureAff;
        QStringList entries = c.entries;
        QStringList wantRows = c.rows;
        qint64 wantDerived = c.derived;
        if (std::string(c.name) == "numbers in text order") {
            entries.clear();
            for (int i = 1; i <= 12; ++i)
                entries << (i == 3 || i == 12 ? QStringLiteral("cat") : QStringLiteral("w%1").arg(i));
            wantRows = QStringList{QStringLiteral("cat (2): 12 + 3")};
            wantDerived = 12;
        }
        for (const QString &e : entries)
            doc.entries.append(e);
        AffixTable table;
        ScriptedUi ui;
        const WordlistDuplicates result = FindWordlistDuplicates(doc, table, settings, ui);
        EXPECT_TRUE(result.done);
        EXPECT_EQ(rowsOf(result), wantRows);
        EXPECT_EQ(result.derivedCount, wantDerived);
        EXPECT_EQ(ui.messageTexts(),
                  wantRows.isEmpty() ? QStringList{QStringLiteral("No duplicates found.")} : QStringList());
        EXPECT_TRUE(ui.statusText().startsWith(QStringLiteral("OK."))) << qPrintable(ui.statusText());
    }
}

TEST(WordlistDuplicatesTest, RefusalsAbortAndExport)
{
    MainSettings settings;
    AffixTable table;
    {
        DictionaryDocument empty;
        ScriptedUi ui;
        EXPECT_FALSE(FindWordlistDuplicates(empty, table, settings, ui).done);
        EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No dictionary words found.")});
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    }
    DictionaryDocument doc;
    doc.affText = fixtureAff;
    for (int i = 0; i < 3000; ++i)
        doc.entries.append(QStringLiteral("w%1/S").arg(i % 1500));
    {
        ScriptedUi ui;
        ui.answers = {true};
        ui.onProcessEvents = [](ScriptedUi &u) {
            u.fakeClock.advance(1000);
            // Once the extraction has shown a count.
            if (u.statusText().startsWith(QStringLiteral("Show duplicates. 1/2: Extracting...1")))
                u.pressEscape();
        };
        const WordlistDuplicates result = FindWordlistDuplicates(doc, table, settings, ui);
        EXPECT_FALSE(result.done);
        EXPECT_TRUE(result.rows.empty());
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    }
    {
        // The volume warning: Yes stops with nothing shown.
        MainSettings low = settings;
        low.decodeWarnLimit = 10;
        ScriptedUi ui;
        ui.answers = {true};
        const WordlistDuplicates result = FindWordlistDuplicates(doc, table, low, ui);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    }
    {
        // More forms than the memory can hold: a clear stop, not a crash.
        ScriptedUi ui;
        const WordlistDuplicates result = FindWordlistDuplicates(doc, table, settings, ui, 64 * 1024);
        EXPECT_FALSE(result.done);
        EXPECT_TRUE(result.rows.empty());
        EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Not enough memory to compare the derived words.")});
        EXPECT_EQ(ui.messages.value(0).title, QStringLiteral("Error"));
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    }
    ScriptedUi ui;
    const WordlistDuplicates result = FindWordlistDuplicates(doc, table, settings, ui, 1024 * 1024);
    ASSERT_TRUE(result.done);
    EXPECT_EQ(result.rows.size(), 3000u);
    EXPECT_EQ(result.rows.front().lines, QStringLiteral("1 + 1,501"));
    EXPECT_EQ(WordlistDuplicatesFoundText(result, settings.thousandsSeparator), QStringLiteral("Found:3,000/6,000"));

    QTemporaryDir dir;
    ui.savePaths = {dir.filePath(QStringLiteral("dups"))};
    EXPECT_TRUE(ExportWordlistDuplicates(result, settings, ui));
    QFile file(dir.filePath(QStringLiteral("dups.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"
                                 "DUPLICATES FOUND:3,000\n\nw0 (2): 1 + 1,501\nw0s (2): 1 + 1,501\n"));
    EXPECT_EQ(ui.dialogTitles.last(), QStringLiteral("Export Duplicates to file"));
}

TEST(SortAffTagsTest, SortsTheRulesUnderEachHeader)
{
    struct Case {
        const char *name;
        QString aff;
        QString want;
    };
    const Case cases[] = {
        {"rules by affix and condition, header and other lines in place",
         "SET UTF-8\r\nSFX S Y 3\r\nSFX S 0 s [^s]\r\nSFX S 0 es s\r\nSFX S 0 's .\r\nTRY abc\r\n",
         "SET UTF-8\nSFX S Y 3\nSFX S 0 's .\nSFX S 0 es s\nSFX S 0 s [^s]\nTRY abc\n"},
        {"no line break at the end gains one", "PFX P Y 2\nPFX P 0 re .\nPFX P 0 de .",
         "PFX P Y 2\nPFX P 0 de .\nPFX P 0 re .\n"},
        {"lines as read, keys from collapsed spaces", "SFX  A Y 2\nSFX A   0  b  .\nSFX A 0 a .\n",
         "SFX  A Y 2\nSFX A 0 a .\nSFX A   0  b  .\n"},
        {"a count larger than the lines left", "SFX A Y 9\nSFX A 0 b .\nSFX A 0 a .\n",
         "SFX A Y 9\nSFX A 0 a .\nSFX A 0 b .\n"},
        {"lone CR line ends", "SFX A Y 2\rSFX A 0 b .\rSFX A 0 a .\r", "SFX A Y 2\nSFX A 0 a .\nSFX A 0 b .\n"},
    };
    MainSettings settings;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DictionaryDocument doc;
        doc.affText = c.aff;
        ScriptedUi ui;
        ui.answers = {true};
        EXPECT_TRUE(SortAffTags(doc, settings, ui));
        EXPECT_EQ(doc.affText, c.want);
        EXPECT_TRUE(doc.changed);
        EXPECT_EQ(ui.messageTexts(),
                  QStringList{"Sorting the tags in the Aff.\n\nThis operation can't be undone.\n\nContinue?"});
        EXPECT_TRUE(ui.statusText().startsWith(QStringLiteral("OK."))) << qPrintable(ui.statusText());
    }
}

TEST(SortAffTagsTest, RefusalsAndAbort)
{
    const struct {
        const char *name;
        QString aff;
        std::deque<bool> answers;
        QStringList messages;
    } cases[] = {
        {"empty", QStringLiteral("   "), {}, {".AFF is empty."}},
        {"No",
         QStringLiteral("SFX A Y 0\n"),
         {false},
         {"Sorting the tags in the Aff.\n\nThis operation can't be undone.\n\nContinue?"}},
        {"no tags",
         QStringLiteral("SET UTF-8\nTRY a\n"),
         {true},
         {"Sorting the tags in the Aff.\n\nThis operation can't be undone.\n\nContinue?", "No tags found in .AFF."}},
    };
    MainSettings settings;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DictionaryDocument doc;
        doc.affText = c.aff;
        ScriptedUi ui;
        ui.answers = c.answers;
        EXPECT_FALSE(SortAffTags(doc, settings, ui));
        EXPECT_EQ(ui.messageTexts(), c.messages);
        EXPECT_EQ(doc.affText, c.aff);
        EXPECT_FALSE(doc.changed);
    }
    // The text alone (what the command line sorts) refuses an empty one the same way.
    for (const QString &blank : {QString(), QStringLiteral(" \n \n")}) {
        ScriptedUi ui;
        EXPECT_FALSE(SortAffTagsText(blank, settings, ui));
        EXPECT_EQ(ui.messageTexts(), QStringList({".AFF is empty."}));
    }
    // Escape in each pass leaves the text as it was.
    QString aff;
    for (int i = 0; i < 1000; ++i)
        aff += QStringLiteral("SFX A%1 Y 2\nSFX A%1 0 b .\nSFX A%1 0 a .\n").arg(i);
    for (const QString &stage : {QStringLiteral("Copying & processing"), QStringLiteral("Sorting tags in array"),
                                 QStringLiteral("Copying lines back")}) {
        SCOPED_TRACE(qPrintable(stage));
        DictionaryDocument doc;
        doc.affText = aff;
        ScriptedUi ui;
        ui.answers = {true, true};
        auto pressed = std::make_shared<bool>(false);
        ui.onProcessEvents = [stage, pressed](ScriptedUi &u) {
            u.fakeClock.advance(1000);
            if (!*pressed && u.statusText().startsWith(stage)) {
                *pressed = true;
                u.pressEscape();
            }
        };
        EXPECT_FALSE(SortAffTags(doc, settings, ui));
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
        EXPECT_EQ(doc.affText, aff);
        EXPECT_FALSE(doc.changed);
    }
}
