#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>
#include <optional>

#include <sys/resource.h>

#include <gtest/gtest.h>

#include "core/app/workbench.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/wordlist_extraction.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

const QByteArray bom("\xEF\xBB\xBF");

// walk/SP has four forms, two of them hyphenated; the "/" entry and the tags after
// "\n" must not reach the output.
const char *const fixtureAff = "SET UTF-8\nSFX S Y 1\nSFX S 0 s .\nPFX P Y 1\nPFX P 0 pre- .\n";
const char *const fixtureEntries[] = {"walk/SP", "/orphan", "run/S\npo:verb", "cat"};

struct Fixture {
    QTemporaryDir dir;
    Workbench workbench{dir.path()};
    ScriptedUi ui;

    Fixture()
    {
        workbench.dictionary.affText = QString::fromLatin1(fixtureAff);
        for (const char *entry : fixtureEntries)
            workbench.dictionary.entries.append(QString::fromUtf8(entry));
    }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(WordlistExtraction, EachKindWritesItsLinesAndCountsWhatItWrites)
{
    Fixture f;
    BuildAffixTable(f.workbench.affixTable, f.workbench.dictionary.affText);
    const QString sfx = QString::number(f.workbench.affixTable.group(1).headerOffset);
    const QString pfx = QString::number(f.workbench.affixTable.group(2).headerOffset);
    struct Case {
        WordlistKind kind;
        qint64 total;
        QString content; // after the byte-order mark
    };
    const Case cases[] = {
        {WordlistKind::AllTxt, 7, QStringLiteral("walk\nwalks\npre-walk\npre-walks\nrun\nruns\ncat\n")},
        {WordlistKind::CompoundsTxt, 2, QStringLiteral("pre-walk\npre-walks\n")},
        {WordlistKind::CompoundsLanguageTool, 2, QStringLiteral("pre-walk*\npre-walks*\n")},
        {WordlistKind::AllCsv, 7,
         QStringLiteral("\"Root_word\";\"Word\";\"Primary\";\"Type\";\"Code\";\"Position\";\"Rule\"\n"
                        "\"walk\";\"walk\";\"walk\";\"Primary\";\"\";\"\";\"\"\n"
                        "\"walk\";\"walks\";\"walk\";\"Suffix\";\"S\";\"%1\";\"1: 0 s .\"\n"
                        "\"walk\";\"pre-walk\";\"walk\";\"Prefix\";\"P\";\"%2\";\"1: 0 pre- .\"\n"
                        "\"walk\";\"pre-walks\";\"walks\";\"Prefix\";\"P\";\"%2\";\"1: 0 pre- .\"\n"
                        "\"run\";\"run\";\"run\";\"Primary\";\"\";\"\";\"\"\n"
                        "\"run\";\"runs\";\"run\";\"Suffix\";\"S\";\"%1\";\"1: 0 s .\"\n"
                        "\"cat\";\"cat\";\"cat\";\"Primary\";\"\";\"\";\"\"\n")
             .arg(sfx, pfx)},
    };
    for (const Case &c : cases) {
        const QString name = f.path(QStringLiteral("out%1").arg(int(c.kind)));
        f.ui.savePaths.push_back(name);
        const WordlistResult result =
            ExtractWordlist(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui, c.kind);
        const QString written = name + (c.kind == WordlistKind::AllCsv ? ".csv" : ".txt");
        EXPECT_TRUE(result.done) << int(c.kind);
        EXPECT_EQ(result.total, c.total) << int(c.kind);
        EXPECT_EQ(result.path, written);
        EXPECT_EQ(readAll(written), bom + c.content.toUtf8()) << int(c.kind);
        const QString size = QStringLiteral(" (%1 bytes) \u231A").arg(bom.size() + c.content.toUtf8().size());
        EXPECT_TRUE(f.ui.statusText().startsWith(QStringLiteral("OK. Words Found:%1").arg(c.total) + size))
            << f.ui.statusText().toStdString();
        EXPECT_EQ(f.ui.progressValue(), 0);
    }
    EXPECT_EQ(f.ui.dialogTitles,
              QStringList({"Extract wordlist to file", "Extract Compounds to file", "Extract Compounds to file",
                           "Extract wordlist to file"}));
    EXPECT_EQ(f.ui.messages.size(), 0);
}

TEST(WordlistExtraction, CountAgreesWithAllTxtAndSkipsSlashEntries)
{
    Fixture f;
    const WordlistResult counted =
        CountWordlist(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui);
    EXPECT_TRUE(counted.done);
    EXPECT_EQ(counted.total, 7);
    EXPECT_TRUE(counted.path.isEmpty());
    EXPECT_TRUE(f.ui.statusText().startsWith(QStringLiteral("OK. Words Found:7 \u231A")))
        << f.ui.statusText().toStdString();
    EXPECT_EQ(f.ui.statuses.first(), QStringLiteral("Counting wordlist... <ESC> to abort."));
}

TEST(WordlistExtraction, AnUnchangedAffIsNotRebuilt)
{
    Fixture f;
    const QString building = affixTableBuildStatusText();
    CountWordlist(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui);
    EXPECT_TRUE(f.ui.statuses.contains(building));

    f.ui.clearRecords();
    CountWordlist(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui);
    f.ui.savePaths.push_back(f.path(QStringLiteral("all.txt")));
    ExtractWordlist(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui, WordlistKind::AllTxt);
    EXPECT_FALSE(f.ui.statuses.contains(building));

    // An edited .aff is taken up by the next run.
    f.workbench.dictionary.affText += QStringLiteral("SFX X Y 1\nSFX X 0 ly .\n");
    f.workbench.dictionary.entries.append(QStringLiteral("slow/X"));
    f.ui.clearRecords();
    EXPECT_EQ(CountWordlist(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui).total, 9);
    EXPECT_TRUE(f.ui.statuses.contains(building));
}

TEST(WordlistExtraction, FileNamesGetTheExtensionUnlessTheyEndInItIgnoringCase)
{
    struct Case {
        WordlistKind kind;
        const char *typed;
        const char *used;
    };
    const Case cases[] = {
        {WordlistKind::AllTxt, "words.TXT", "words.TXT"},
        {WordlistKind::AllTxt, "words.text", "words.text.txt"},
        {WordlistKind::AllTxt, "words", "words.txt"},
        {WordlistKind::CompoundsTxt, "words.csv", "words.csv.txt"},
        {WordlistKind::AllCsv, "words.CSV", "words.CSV"},
        {WordlistKind::AllCsv, "words.txt", "words.txt.csv"},
    };
    for (const Case &c : cases) {
        Fixture f;
        f.ui.savePaths.push_back(f.path(QString::fromLatin1(c.typed)));
        const WordlistResult result =
            ExtractWordlist(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui, c.kind);
        EXPECT_TRUE(result.done) << c.typed;
        EXPECT_EQ(result.path, f.path(QString::fromLatin1(c.used))) << c.typed;
        EXPECT_TRUE(QFile::exists(f.path(QString::fromLatin1(c.used)))) << c.typed;
    }
}

TEST(WordlistExtraction, ExistingFileIsReplacedOnlyAfterYes)
{
    for (const bool yes : {false, true}) {
        Fixture f;
        const QString name = f.path(QStringLiteral("words.txt"));
        writeFile(name, "old content that is longer than the new one, so truncation shows\n");
        f.ui.savePaths.push_back(name);
        f.ui.answers.push_back(yes);
        const WordlistResult result = ExtractWordlist(f.workbench.dictionary, f.workbench.affixTable,
                                                      f.workbench.settings, f.ui, WordlistKind::CompoundsTxt);
        ASSERT_EQ(f.ui.messages.size(), 1);
        EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("File already exists! Overwrite it?"));
        EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(result.done, yes);
        EXPECT_EQ(readAll(name), yes ? bom + "pre-walk\npre-walks\n"
                                     : QByteArray("old content that is longer than the new one, so truncation shows\n"));
        if (!yes) {
            EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
        }
    }
}

TEST(WordlistExtraction, RefusalsLeaveNoFileAndSayAborted)
{
    struct Case {
        const char *name;
        bool emptyDictionary;
        bool complexPrefixes;
        bool cancelDialog;
        const char *message; // nullptr: none
    };
    const Case cases[] = {
        {"empty dictionary", true, false, false, "No dictionary words found."},
        {"complex prefixes", false, true, false, "COMPLEX PREFIXES not supported yet!"},
        {"dialog cancelled", false, false, true, nullptr},
    };
    for (const Case &c : cases) {
        Fixture f;
        if (c.emptyDictionary)
            f.workbench.dictionary.entries.clear();
        if (c.complexPrefixes)
            f.workbench.dictionary.affText.prepend(QStringLiteral("COMPLEXPREFIXES\n"));
        if (!c.cancelDialog)
            f.ui.savePaths.push_back(f.path(QStringLiteral("words.txt")));
        const WordlistResult result = ExtractWordlist(f.workbench.dictionary, f.workbench.affixTable,
                                                      f.workbench.settings, f.ui, WordlistKind::AllTxt);
        EXPECT_FALSE(result.done) << c.name;
        EXPECT_TRUE(result.path.isEmpty()) << c.name;
        EXPECT_FALSE(QFile::exists(f.path(QStringLiteral("words.txt")))) << c.name;
        EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted.")) << c.name;
        if (c.message) {
            ASSERT_EQ(f.ui.messages.size(), 1) << c.name;
            EXPECT_EQ(f.ui.messages[0].text, QString::fromLatin1(c.message)) << c.name;
            EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Warning!")) << c.name;
            // Refused before the save dialog.
            EXPECT_TRUE(f.ui.dialogTitles.isEmpty()) << c.name;
        } else {
            EXPECT_TRUE(f.ui.messages.isEmpty()) << c.name;
        }
    }
    Fixture f;
    f.workbench.dictionary.entries.clear();
    EXPECT_FALSE(CountWordlist(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui).done);
    EXPECT_EQ(f.ui.messageTexts(), QStringList({"No dictionary words found."}));
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
}

// Escape stops the run; the lines written so far (whole lines) replace the older output
// only when the user keeps them, and until then sit under the temporary name alone.
TEST(WordlistExtraction, EscapeKeepsThePartialFileOnlyWhenTheUserKeepsIt)
{
    for (const bool keep : {true, false}) {
        Fixture f;
        f.workbench.dictionary.entries.clear();
        for (int i = 0; i < 200; ++i)
            f.workbench.dictionary.entries.append(QStringLiteral("w%1/S").arg(i));
        const QString name = f.path(QStringLiteral("words.txt"));
        writeFile(name, "older\n");
        f.ui.savePaths.push_back(name);
        f.ui.answers = {true, true, keep}; // overwrite, "Really abort?", keep the lines
        QStringList filesWhenAsked;
        f.ui.onProcessEvents = [&](ScriptedUi &u) {
            u.fakeClock.advance(300);
            if (u.processEventsCalls == 20)
                u.pressEscape();
        };
        f.ui.onQuestion = [&](ScriptedUi &) { filesWhenAsked = QDir(f.dir.path()).entryList(QDir::Files); };
        const WordlistResult result = ExtractWordlist(f.workbench.dictionary, f.workbench.affixTable,
                                                      f.workbench.settings, f.ui, WordlistKind::AllTxt);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.path, name);
        EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
        EXPECT_EQ(f.ui.progressValue(), 0);
        EXPECT_EQ(f.ui.messageTexts(),
                  QStringList({"File already exists! Overwrite it?", "Really abort?",
                               "The extraction was aborted.\n\nKeep the words written so far in\n" +
                                   QDir::toNativeSeparators(name) + "?"}));
        EXPECT_EQ(filesWhenAsked, QStringList({"words.txt", "words.txt.lxm-new"}));
        // The ticks showed the running total with the file size.
        EXPECT_TRUE(f.ui.statuses.filter(QStringLiteral("Extracting Wordlist... <ESC> to abort. Found:")).size() > 0);
        EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files), QStringList({"words.txt"}));

        const QByteArray bytes = readAll(name);
        if (!keep) {
            EXPECT_EQ(bytes, "older\n");
            continue;
        }
        ASSERT_TRUE(bytes.startsWith(bom));
        EXPECT_TRUE(bytes.endsWith('\n'));
        const qint64 lines = bytes.count('\n');
        EXPECT_GT(lines, 0);
        EXPECT_LT(lines, 400);
        EXPECT_EQ(lines, result.total);
    }
}

// A write the file system refuses (here the file-size limit, as a full disk would) keeps
// the older output byte for byte and names the reason.
TEST(WordlistExtraction, AFailedWriteKeepsTheOlderFileAndSaysWhy)
{
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const bool byType : {false, true}) {
        Fixture f;
        f.workbench.dictionary.entries.clear();
        for (int i = 0; i < 20000; ++i)
            f.workbench.dictionary.entries.append(QStringLiteral("Word%1/S").arg(i)); // type 2: an upper-case start
        const QString name = f.path(QStringLiteral("words.txt"));
        writeFile(name, "older\n");
        f.ui.savePaths.push_back(name);
        f.ui.answers = {true}; // overwrite
        struct rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const WordlistResult result =
            byType ? ExtractWordlistByType(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui,
                                           2, 40000, false, {})
                   : ExtractWordlist(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui,
                                     WordlistKind::AllTxt);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_FALSE(result.done) << byType;
        ASSERT_FALSE(f.ui.messages.isEmpty()) << byType;
        EXPECT_EQ(f.ui.messages.last().title, QStringLiteral("Error")) << byType;
        EXPECT_EQ(f.ui.messages.last().text, "Can't write the file:\n" + QDir::toNativeSeparators(name) + "\n\n" +
                                                 qt_error_string(EFBIG))
            << byType;
        EXPECT_EQ(readAll(name), "older\n") << byType;
        EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files), QStringList({"words.txt"})) << byType;
    }
    std::signal(SIGXFSZ, oldHandler);
}

TEST(WordlistExtraction, VolumeWarningIsAskedOnceAndYesAborts)
{
    struct Case {
        int limit;
        std::optional<bool> answer; // none: must not be asked
        bool done;
    };
    const Case cases[] = {{3, true, false}, {3, false, true}, {0, std::nullopt, true}, {100, std::nullopt, true}};
    for (const Case &c : cases) {
        Fixture f;
        f.workbench.settings.decodeWarnLimit = c.limit;
        const QString name = f.path(QStringLiteral("words.txt"));
        f.ui.savePaths.push_back(name);
        if (c.answer)
            f.ui.answers.push_back(*c.answer);
        if (c.answer == true)
            f.ui.answers.push_back(true); // keep the lines written so far
        const WordlistResult result = ExtractWordlist(f.workbench.dictionary, f.workbench.affixTable,
                                                      f.workbench.settings, f.ui, WordlistKind::AllTxt);
        EXPECT_EQ(result.done, c.done) << c.limit;
        EXPECT_EQ(f.ui.unscriptedQuestions, 0) << c.limit;
        if (!c.answer) {
            EXPECT_TRUE(f.ui.messages.isEmpty()) << c.limit;
            continue;
        }
        ASSERT_EQ(f.ui.messages.size(), *c.answer ? 2 : 1) << c.limit;
        EXPECT_EQ(f.ui.messages[0].text,
                  QStringLiteral("Over 3 words have been decoded.\n\nThis represents a huge amount of data in the "
                                 "HDD\nthat can fill it up and crash the computer.\n\nAbort?"));
        EXPECT_TRUE(f.ui.statuses.contains(QStringLiteral("Extracting Wordlist... <ESC> to abort. Found:4")));
        if (*c.answer) {
            EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
            EXPECT_EQ(readAll(name), bom + "walk\nwalks\npre-walk\npre-walks\n"); // kept as written
        }
    }
}

TEST(WordlistExtraction, ByTypeWritesTheMarkedFormsOfTheSelectedType)
{
    Fixture f;
    // No selection and an empty type are refused without a dialog.
    EXPECT_FALSE(ExtractWordlistByType(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui, -1,
                                       5, false, {})
                     .done);
    EXPECT_FALSE(ExtractWordlistByType(f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui, 1, 0,
                                       false, {})
                     .done);
    EXPECT_EQ(f.ui.messageTexts(),
              QStringList({"No dictionary word type selected.", "No dictionary words of that type."}));
    EXPECT_TRUE(f.ui.dialogTitles.isEmpty());

    struct Case {
        bool mark;
        QByteArray content;
    };
    const Case cases[] = {
        {false, "pre-walk\npre-walks\n"},
        {true, "pre-walk Flag:P (Primary:walk)\npre-walks Flag:P (Primary:walks)\n"},
    };
    for (const Case &c : cases) {
        f.ui.clearRecords();
        const QString name = f.path(QStringLiteral("hyphens.txt"));
        QFile::remove(name);
        f.ui.savePaths.push_back(name);
        QStringList abortLabels;
        TypeExtractionControls controls;
        controls.setAbortLabel = [&abortLabels](const QString &text) { abortLabels << text; };
        qint64 asked = 0;
        const WordlistResult result = ExtractWordlistByType(
            f.workbench.dictionary, f.workbench.affixTable, f.workbench.settings, f.ui, 1, 2, c.mark,
            [&asked](qint64, QStringView part) {
                ++asked;
                return part.startsWith(u'w');
            },
            controls);
        EXPECT_TRUE(result.done);
        EXPECT_EQ(result.total, 2);
        EXPECT_EQ(asked, 3); // never for the "/" entry
        EXPECT_EQ(readAll(name), bom + c.content);
        EXPECT_EQ(abortLabels, QStringList({"<ESC> to abort.", ""}));
        EXPECT_TRUE(f.ui.statuses.isEmpty()); // the main status bar is not the window's
    }
}
