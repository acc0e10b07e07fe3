#include "core/dictionary/dic_line_reader.h"
#include "core/dictionary/dictionary_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/app/document_files.h"
#include "core/app/workbench.h"
#include "core/dictionary/dictionary_document.h"
#include "core/shell/long_task.h"
#include "core/shell/recent_files.h"

#include "scripted_ui.h"
#include "test_files.h"
#include "gtest_qt_printers.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::readFile;
using lexaloom::testing::ScriptedUi;

namespace {

const QByteArray bom("\xEF\xBB\xBF");
const QByteArray utf8Aff("SET UTF-8\nTRY abc\n");

QStringList entriesOf(const DictionaryDocument &document)
{
    QStringList list;
    for (qint64 i = 0; i < document.entries.size(); ++i)
        list.append(document.entries.at(i));
    return list;
}

// "|" separates the entries; "\uFEFF" is spelt out because fromUtf8 drops a leading BOM.
QStringList split(const char *lines)
{
    return QString::fromUtf8(lines).replace(QLatin1String("\\uFEFF"), QChar(0xFEFF)).split(QLatin1Char('|'));
}

class DictionaryFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Workbench workbench{dir.filePath(QStringLiteral("program"))};
    ScriptedUi ui;

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    void write(const char *name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // Writes words.aff and words.dic and loads them.
    DictionaryFileResult load(const QByteArray &dic, const QByteArray &aff = utf8Aff)
    {
        write("words.aff", aff);
        write("words.dic", dic);
        return RecordRecentFile(workbench, DocumentKind::Dictionary,
                                LoadDictionary(workbench.dictionary, workbench.settings, ui, path("words.dic")));
    }

    // A document with an undo step, changed, loaded from old.dic: what must survive.
    void prepareExistingDocument()
    {
        ASSERT_TRUE(load("2\nold/A\nkept\tpo:x\n").done());
        QFile::remove(path("old.dic"));
        QFile::remove(path("old.aff"));
        ASSERT_TRUE(QFile::rename(path("words.dic"), path("old.dic")));
        ASSERT_TRUE(QFile::rename(path("words.aff"), path("old.aff")));
        workbench.dictionary.path = path("old.dic");
        workbench.dictionary.undoSnapshot = DictionaryDocument::Snapshot{};
        workbench.dictionary.changed = true;
        workbench.dictionary.selectedIndex = 1;
        ui.clearRecords();
    }

    void expectExistingDocument() const
    {
        const DictionaryDocument &d = workbench.dictionary;
        EXPECT_EQ(entriesOf(d), split("old/A|kept\npo:x"));
        EXPECT_EQ(d.affText, QString::fromUtf8(utf8Aff));
        EXPECT_EQ(d.path, path("old.dic"));
        EXPECT_TRUE(d.hasUndoStep());
        EXPECT_TRUE(d.changed);
        EXPECT_EQ(d.selectedIndex, 1);
    }
};

} // namespace

TEST(DictionaryEncodingTest, SetLineVariants)
{
    const struct {
        const char *aff;
        bool utf8;
    } cases[] = {
        {"SET UTF-8\n", true},
        {"set utf-8\n", true},
        {"# comment\r\nFLAG long\r\nSet Utf-8\r\nTRY x\r\n", true},
        {"SET  UTF-8\n", false},
        {"SET UTF-8 \n", false},
        {"SET ISO8859-1\n", false},
        {"SET UTF-8", true},
        {"TRY abc\nFLAG long\n", false},
        {"", false},
        {"SET UTF-8\nSET ISO8859-1\n", true}, // the first SET line decides
        {"SETUTF-8\n", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AffDeclaresUtf8(QString::fromUtf8(c.aff)), c.utf8) << c.aff;
}

TEST(DictionaryEncodingTest, FirstInvalidUtf8Line)
{
    const struct {
        QByteArray bytes;
        qint64 line;
    } cases[] = {
        // clang-format off
        {"a\nb\nc", 0},
        {"caf\xC3\xA9\n\xF0\x9F\x98\x80", 0},
        {"a\nb\xFF\nc", 2},
        {"a\r\nb\r\n\xC3", 3},    // a sequence cut off by the end of the file
        {"a\rb\rc\xC0\xAF\n", 3}, // overlong encoding, CR line ends
        {"\xED\xA0\x80\n", 1},    // an encoded surrogate
        {"ok\n\nz\xE2\x82\n", 3}, // a sequence cut off by the line end
        // clang-format on
    };
    for (const auto &c : cases)
        EXPECT_EQ(FirstInvalidUtf8Line(c.bytes), c.line) << c.bytes.toHex().constData();
}

TEST_F(DictionaryFilesTest, LoadsEntriesAffTextAndStatus)
{
    const QByteArray dic = bom + "3\r\nwalk/GDS\tpo:verb\r\n\r\ncafé\r\n";
    const QByteArray aff = bom + "SET UTF-8\r\nTRY x\r";
    const DictionaryFileResult result = load(dic, aff);
    ASSERT_TRUE(result.done());
    const DictionaryDocument &d = workbench.dictionary;
    EXPECT_EQ(entriesOf(d), split("walk/GDS\npo:verb||café"));
    EXPECT_EQ(d.affText, QStringLiteral("SET UTF-8\nTRY x\n"));
    EXPECT_EQ(d.path, path("words.dic"));
    EXPECT_FALSE(d.changed);
    EXPECT_EQ(d.selectedIndex, -1);
    EXPECT_EQ(result.affBytes, 20);
    EXPECT_EQ(result.dicBytes, 33);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ui.statuses.first(), QStringLiteral("Loading Dictionary... <ESC> to abort."));
    EXPECT_EQ(ui.statusText(), QStringLiteral("OK. (aff:20 bytes)+(dic:33 bytes) \u231A00m00s"));
    EXPECT_EQ(ui.progressMaximum, 33);
    EXPECT_EQ(ui.progressValue(), 0);
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::Dictionary).first(), path("words.dic"));
}

TEST_F(DictionaryFilesTest, LineEndsAndTheCountLine)
{
    const struct {
        QByteArray dic;
        const char *entries;
    } cases[] = {
        {"1\nlast line without end", "last line without end"},
        {"12\nb\nc\n", "b|c"},
        {" 3 \nb\n", "b"},
        {"not a number\nb\nc\n", "not a number|b|c"}, // a word list pasted without a count
        {"99\r\na\r\nb\r\n", "a|b"},
        {"2\ra\rb\r", "a|b"},
        {"2\r\na\rb\nc\r\n\r\n", "a|b|c|"},
        {"\xEF\xBB\xBF"
         "5\n\xEF\xBB\xBFx\n",
         "\\uFEFFx"}, // only the file's own BOM is skipped
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(load(c.dic).done()) << c.dic.constData();
        EXPECT_EQ(entriesOf(workbench.dictionary), split(c.entries)) << c.dic.constData();
    }
    ASSERT_TRUE(load("12\n").done());
    EXPECT_TRUE(workbench.dictionary.entries.isEmpty());
}

TEST_F(DictionaryFilesTest, SeparatorQuestionSequence)
{
    const struct {
        QByteArray dic;
        std::deque<bool> answers;
        int questions;
        const char *entries;
    } cases[] = {
        {"1\nwalk/GDS\tpo:verb\n", {}, 0, "walk/GDS\npo:verb"},
        {"1\nwalk/GDS po:verb\n", {true}, 1, "walk/GDS\npo:verb"},
        {"1\nwalk/GDS po:verb\n", {false}, 1, "walk/GDS po:verb"},
        {"2\na\tb\nwalk/GDS po:verb\n", {}, 0, "a\nb|walk/GDS po:verb"},
        // Lines without tag characters do not ask; after Yes every space line splits,
        // phrases too; a tab line switches to tab mode for good.
        {"6\nice cream\nwalk [x]\nbig deal\ne\tf\ng h:i\nk l\n",
         {true},
         1,
         "ice cream|walk\n[x]|big\ndeal|e\nf|g h:i|k l"},
        {"3\na, b\nc: d\ne\tf\n", {false}, 1, "a, b|c: d|e\nf"},
        {"2\nx\ty\tz\nsplit only first\ttab\n", {}, 0, "x\ny\tz|split only first\ntab"},
    };
    for (const auto &c : cases) {
        ui.clearRecords();
        ui.answers = c.answers;
        ASSERT_TRUE(load(c.dic).done()) << c.dic.constData();
        EXPECT_EQ(entriesOf(workbench.dictionary), split(c.entries)) << c.dic.constData();
        EXPECT_EQ(ui.messages.size(), c.questions) << c.dic.constData();
        EXPECT_EQ(ui.unscriptedQuestions, 0);
        for (const auto &m : ui.messages) {
            EXPECT_EQ(m.title, QStringLiteral("Warning!"));
            EXPECT_EQ(m.text, QStringLiteral("This .DIC seems to separate Words from Tags using a space.\n\n"
                                             "Use first space as a separator?"));
            EXPECT_EQ(m.icon, MessageIcon::Warning);
        }
    }
}

TEST_F(DictionaryFilesTest, RefusedLoadsChangeNothing)
{
    prepareExistingDocument();
    const QString notUtf8 = QStringLiteral("Dictionary is not in \"UTF-8-BOM\" format.\n\nThe .AFF must start with:\n"
                                           "\"SET UTF-8\"\n\nIt may lead to corrupt results.\n\nContinue?");
    const struct {
        QByteArray dic;
        QByteArray aff;
        bool writeAff;
        std::deque<bool> answers; // the first answers "The Dictionary has been changed."
        const char *title;
        QString message;
        const char *status;
    } cases[] = {
        {"1\na\n",
         utf8Aff,
         true,
         {false},
         "Warning!",
         QStringLiteral("The Dictionary has been changed.\n\nContinue?"),
         "Aborted."},
        {"1\na\n", utf8Aff, false, {true}, "Error", QStringLiteral(".AFF file not found."), "File not found."},
        {"1\na\n", QByteArray(), true, {true}, "Error", QStringLiteral(".AFF file not found."), "File not found."},
        {QByteArray(), utf8Aff, true, {true}, "Error", QStringLiteral(".DIC file not found."), "File not found."},
        // A charset the system cannot convert (a known one is offered, see the charset tests).
        {"1\na\n", "SET KLINGON-1\n", true, {true, false}, "Warning!", notUtf8, "Aborted."},
    };
    for (const auto &c : cases) {
        QFile::remove(path("words.aff"));
        if (c.writeAff)
            write("words.aff", c.aff);
        write("words.dic", c.dic);
        ui.clearRecords();
        ui.answers = c.answers;
        const DocumentLoadResult result = OpenDocumentFile(workbench, DocumentKind::Dictionary, ui, path("words.dic"));
        EXPECT_FALSE(result.done());
        ASSERT_FALSE(ui.messages.isEmpty());
        EXPECT_EQ(ui.messages.last().title, QString::fromUtf8(c.title));
        EXPECT_EQ(ui.messages.last().text, c.message);
        EXPECT_EQ(ui.statusText(), QString::fromUtf8(c.status));
        EXPECT_EQ(ui.unscriptedQuestions, 0);
        expectExistingDocument();
    }
    // The open dialog cancelled.
    ui.clearRecords();
    ui.answers = {true};
    EXPECT_EQ(OpenDocumentFile(workbench, DocumentKind::Dictionary, ui).outcome, FileOutcome::Cancelled);
    EXPECT_EQ(ui.dialogTitles, QStringList{QStringLiteral("Open Dictionary")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    expectExistingDocument();
}

TEST_F(DictionaryFilesTest, NonUtf8SetLineContinuesOnYes)
{
    ui.answers = {true};
    ASSERT_TRUE(load("1\na\n", "# no SET line\n").done());
    EXPECT_EQ(entriesOf(workbench.dictionary), split("a"));
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(DictionaryFilesTest, AbortedLoadKeepsThePreviousDocument)
{
    prepareExistingDocument();
    QByteArray dic = "100\n";
    for (int i = 0; i < 100; ++i)
        dic += "word" + QByteArray::number(i) + "\tpo:n\n";
    write("words.aff", utf8Aff);
    write("words.dic", dic);
    int pumps = 0;
    ui.answers = {true, false, true}; // discard changes; Escape: No, then Yes
    ui.onProcessEvents = [&pumps](ScriptedUi &u) {
        u.fakeClock.advance(LongTask::eventPumpMs);
        ++pumps;
        if (pumps == 30 || pumps == 50)
            u.pressEscape();
    };
    const DocumentLoadResult result = OpenDocumentFile(workbench, DocumentKind::Dictionary, ui, path("words.dic"));
    EXPECT_EQ(result.outcome, FileOutcome::Cancelled);
    EXPECT_EQ(pumps, 50);
    EXPECT_EQ(ui.messageTexts(), (QStringList{QStringLiteral("The Dictionary has been changed.\n\nContinue?"),
                                              QStringLiteral("Really abort?"), QStringLiteral("Really abort?")}));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(ui.progressValue(), 0);
    EXPECT_TRUE(ui.statuses.contains(QStringLiteral("Loading Dictionary... <ESC> to abort. \u231A00m00s")));
    expectExistingDocument();
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::Dictionary).first(), path("words.dic")); // from the setup
}

TEST_F(DictionaryFilesTest, InvalidUtf8IsReportedOnceWithItsLine)
{
    prepareExistingDocument();
    const QByteArray badDic = "4\nok\nbad\xFF\nalso\xFE\nfine\n";
    const QByteArray badAff = "SET UTF-8\n# \xC3\n";
    const struct {
        QByteArray dic;
        QByteArray aff;
        bool answer;
        QString question;
    } cases[] = {
        {badDic, utf8Aff, false, QStringLiteral(".DIC")},
        {badDic, utf8Aff, true, QStringLiteral(".DIC")},
        {"1\na\n", badAff, false, QStringLiteral(".AFF")},
        {"1\na\n", badAff, true, QStringLiteral(".AFF")},
    };
    for (const auto &c : cases) {
        workbench.dictionary.changed = false;
        ui.clearRecords();
        ui.answers = {c.answer};
        const DictionaryFileResult result = load(c.dic, c.aff);
        const QString line = c.question == QStringLiteral(".DIC") ? QStringLiteral("3") : QStringLiteral("2");
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].text, QStringLiteral("The %1 file is not valid UTF-8 (first at line %2).\n\n"
                                                      "Those bytes are kept as they are and saved back unchanged."
                                                      "\n\nContinue?")
                                           .arg(c.question, line));
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
        if (!c.answer) {
            EXPECT_EQ(result.outcome, FileOutcome::Cancelled);
            EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
            workbench.dictionary.changed = true;
            expectExistingDocument();
        } else {
            ASSERT_TRUE(result.done());
            if (c.question == QStringLiteral(".DIC"))
                EXPECT_EQ(entriesOf(workbench.dictionary), (QStringList{"ok", QString::fromUtf16(u"bad\xDCFF"),
                                                                        QString::fromUtf16(u"also\xDCFE"), "fine"}));
            else
                EXPECT_EQ(workbench.dictionary.affText, QString::fromUtf16(u"SET UTF-8\n# \xDCC3\n"));
            prepareExistingDocument();
        }
    }
}

TEST_F(DictionaryFilesTest, SavesExactBytes)
{
    ui.answers = {true};
    ASSERT_TRUE(load("7\r\nwalk/GDS po:verb\r\nice cream\r\ncafé\r\n", "SET UTF-8\r\nTRY é\r\n").done());
    workbench.dictionary.changed = true;
    ui.clearRecords();
    const DictionaryFileResult result = RecordRecentFile(
        workbench, DocumentKind::Dictionary, SaveDictionary(workbench.dictionary, workbench.settings, ui, true, false));
    ASSERT_TRUE(result.done());
    EXPECT_TRUE(ui.dialogTitles.isEmpty());
    const QByteArray dic = bom + "3\nwalk/GDS\tpo:verb\nice\tcream\ncaf\xC3\xA9\n";
    const QByteArray aff = bom + "SET UTF-8\nTRY \xC3\xA9\n";
    EXPECT_EQ(readFile(path("words.dic")), dic);
    EXPECT_EQ(readFile(path("words.aff")), aff);
    EXPECT_EQ(result.dicBytes, dic.size());
    EXPECT_EQ(result.affBytes, aff.size());
    EXPECT_FALSE(workbench.dictionary.changed);
    EXPECT_EQ(ui.statuses.first(), QStringLiteral("Saving Dictionary... <ESC> to abort."));
    EXPECT_TRUE(ui.statuses.contains(QStringLiteral("Saving .aff file...")));
    EXPECT_EQ(ui.statusText(),
              QStringLiteral("OK. (aff:%1 bytes)+(dic:%2 bytes) \u231A00m00s").arg(aff.size()).arg(dic.size()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"words.aff", "words.dic"}));
}

TEST_F(DictionaryFilesTest, SaveAsMovesThePath)
{
    ASSERT_TRUE(load("1\na\n").done());
    ui.savePaths = {path("other")};
    ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Dictionary, ui, false, true).done());
    EXPECT_EQ(workbench.dictionary.path, path("other.dic"));
    EXPECT_EQ(readFile(path("other.dic")), bom + "1\na\n");
    EXPECT_EQ(readFile(path("other.aff")), bom + utf8Aff);
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::Dictionary).mid(0, 2),
              (QStringList{path("other.dic"), path("words.dic")}));

    workbench.dictionary.entries.append(u"b");
    ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Dictionary, ui, true, false).done());
    EXPECT_EQ(ui.dialogTitles, QStringList{QStringLiteral("Save Dictionary")}); // Save asked no more
    EXPECT_EQ(readFile(path("other.dic")), bom + "2\na\nb\n");
    EXPECT_EQ(readFile(path("words.dic")), QByteArray("1\na\n"));

    // Save with no path yet asks for one.
    workbench.dictionary.path.clear();
    ui.savePaths = {path("third.DIC")};
    ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Dictionary, ui, true, false).done());
    EXPECT_EQ(workbench.dictionary.path, path("third.DIC"));
    EXPECT_EQ(readFile(path("third.aff")), bom + utf8Aff);
}

TEST_F(DictionaryFilesTest, RefusedSavesWriteNothing)
{
    const struct {
        const char *affText;
        bool entries;
        const char *message;
    } cases[] = {
        {"SET UTF-8\n", false, "No dictionary words found."},
        {"", true, "The .AFF file is empty."},
    };
    for (const auto &c : cases) {
        workbench.dictionary = DictionaryDocument();
        workbench.dictionary.affText = QString::fromUtf8(c.affText);
        if (c.entries)
            workbench.dictionary.entries.append(u"a");
        ui.clearRecords();
        ui.savePaths = {path("x.dic")};
        EXPECT_FALSE(SaveDocumentFile(workbench, DocumentKind::Dictionary, ui, false, true).done());
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
        EXPECT_TRUE(ui.dialogTitles.isEmpty());
    }
    ui.clearRecords();
    ui.savePaths.clear();
    workbench.dictionary.affText = QStringLiteral("SET UTF-8");
    EXPECT_EQ(SaveDocumentFile(workbench, DocumentKind::Dictionary, ui, true, false).outcome, FileOutcome::Cancelled); // dialog cancelled
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(DictionaryFilesTest, AbortedSaveLeavesTheOldFilesIntact)
{
    QByteArray dic = "2000\n";
    for (int i = 0; i < 2000; ++i)
        dic += "word" + QByteArray::number(i) + "/AB\tpo:n\n";
    ASSERT_TRUE(load(dic).done());
    const QByteArray oldDic = readFile(path("words.dic"));
    const QByteArray oldAff = readFile(path("words.aff"));
    workbench.dictionary.affText = QStringLiteral("SET UTF-8\nTRY new\n");
    workbench.dictionary.entries.replace(0, u"changed");
    workbench.dictionary.changed = true;

    // Save As onto the same pair, Yes to overwriting, Escape half-way, Yes to aborting.
    ui.clearRecords();
    ui.savePaths = {path("words.dic")};
    ui.answers = {true, true};
    int pumps = 0;
    ui.onProcessEvents = [&pumps](ScriptedUi &u) {
        u.fakeClock.advance(LongTask::eventPumpMs);
        if (++pumps == 1000)
            u.pressEscape();
    };
    const FileResult result = SaveDocumentFile(workbench, DocumentKind::Dictionary, ui, false, true);
    EXPECT_EQ(result.outcome, FileOutcome::Cancelled);
    EXPECT_EQ(pumps, 1000);
    EXPECT_EQ(ui.messageTexts(),
              (QStringList{QStringLiteral("File already exists! Overwrite it?"), QStringLiteral("Really abort?")}));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(ui.progressValue(), 0);
    EXPECT_EQ(readFile(path("words.dic")), oldDic);
    EXPECT_EQ(readFile(path("words.aff")), oldAff);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"words.aff", "words.dic"})); // no temporaries
    EXPECT_TRUE(workbench.dictionary.changed);
    EXPECT_EQ(workbench.dictionary.path, path("words.dic"));

    // The same abort of a Save As to a new name creates neither file.
    ui.clearRecords();
    pumps = 0;
    ui.savePaths = {path("fresh")};
    ui.answers = {true};
    EXPECT_EQ(SaveDocumentFile(workbench, DocumentKind::Dictionary, ui, false, true).outcome, FileOutcome::Cancelled);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"words.aff", "words.dic"}));
    EXPECT_EQ(workbench.dictionary.path, path("words.dic"));
}

TEST_F(DictionaryFilesTest, FailedSaveLeavesTheOldAffIntact)
{
    ASSERT_TRUE(load("1\na\n").done());
    // A folder where the .dic should go: the .dic cannot be written, so the .aff
    // beside it must not be replaced either.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("blocked.dic")));
    write("blocked.aff", "old aff");
    workbench.dictionary.changed = true;
    ui.clearRecords();
    ui.savePaths = {path("blocked.dic")};
    const FileResult result = SaveDocumentFile(workbench, DocumentKind::Dictionary, ui, false, true);
    EXPECT_EQ(result.outcome, FileOutcome::Failed);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Can't write the file:\n") +
                                               QDir::toNativeSeparators(path("blocked.dic"))));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(readFile(path("blocked.aff")), QByteArray("old aff"));
    EXPECT_TRUE(workbench.dictionary.changed);
    EXPECT_EQ(workbench.dictionary.path, path("words.dic"));
}

TEST_F(DictionaryFilesTest, LargeFilesAcrossReadBlocks)
{
    // Several read blocks, each line end style, a line longer than a block, and
    // multi-byte characters everywhere: every line must come back whole.
    for (const QByteArray &ending : {QByteArray("\n"), QByteArray("\r\n"), QByteArray("\r")}) {
        QByteArray dic = "0" + ending;
        QStringList expected;
        for (int i = 0; i < 120000; ++i) {
            const QByteArray word = "pal\xC3\xA1vra" + QByteArray::number(i);
            dic += word + "/AB\tpo:n" + ending;
            expected.append(QString::fromUtf8(word) + QStringLiteral("/AB\npo:n"));
            if (i == 60000) {
                const QByteArray longLine(1500000, 'x');
                dic += longLine + ending;
                expected.append(QString::fromLatin1(longLine));
            }
        }
        ASSERT_GT(dic.size(), 2 * (1 << 20));
        ui.clearRecords();
        ASSERT_TRUE(load(dic).done());
        EXPECT_TRUE(ui.messages.isEmpty());
        ASSERT_EQ(workbench.dictionary.entries.size(), expected.size());
        EXPECT_EQ(entriesOf(workbench.dictionary), expected);
    }
}

TEST_F(DictionaryFilesTest, LineEndOnTheLastByteOfAReadBlock)
{
    // The CR of a line end as the last byte of the first block read: a CR LF must not
    // be split into two line ends, a lone CR must still end its line.
    constexpr int block = int(DicStreamReader::blockBytes);
    for (const QByteArray &ending : {QByteArray("\r\n"), QByteArray("\r")}) {
        QByteArray dic = "2" + ending;
        const QByteArray longWord(block - 1 - dic.size(), 'w');
        dic += longWord + ending + "tail\tpo:n" + ending;
        ASSERT_EQ(dic.at(block - 1), '\r');
        ASSERT_TRUE(load(dic).done());
        EXPECT_EQ(entriesOf(workbench.dictionary),
                  (QStringList{QString::fromLatin1(longWord), QStringLiteral("tail\npo:n")}));
    }
}

TEST(DictionaryViewTest, WordCounterAndFileLabels)
{
    DictionaryDocument d;
    EXPECT_EQ(RefreshWordCounter(d, QStringLiteral(",")), (WordCounterView{QStringLiteral("# Words:0"), {}, false}));
    EXPECT_EQ(ShowDictionaryFileLabels(d), (DictionaryFileLabels{QStringLiteral("n/a"), QStringLiteral("n/a")}));
    for (int i = 0; i < 1234; ++i)
        d.entries.append(u"w");
    d.changed = true;
    EXPECT_EQ(RefreshWordCounter(d, QStringLiteral(",")),
              (WordCounterView{QStringLiteral("# Words:1,234"), QStringLiteral("*"), true}));
    d.selectedIndex = 999;
    EXPECT_EQ(RefreshWordCounter(d, QString()).counter, QStringLiteral("Word: [1000/1234]"));
    d.path = QStringLiteral("/home/me/dicts/pt_PT.dic");
    EXPECT_EQ(ShowDictionaryFileLabels(d),
              (DictionaryFileLabels{QDir::toNativeSeparators(QStringLiteral("/home/me/dicts")),
                                    QStringLiteral("pt_PT.dic")}));
}

TEST(DictionaryViewTest, AffPathBesideTheDic)
{
    EXPECT_EQ(AffPathFor(QStringLiteral("/d/en_GB.dic")), QStringLiteral("/d/en_GB.aff"));
    EXPECT_EQ(AffPathFor(QStringLiteral("/d/EN.DIC")), QStringLiteral("/d/EN.aff"));
}

TEST(DictionaryCorpusTest, RealDictionariesSurviveLoadAndSave)
{
    const QString corpus = corpusRoot();
    for (const char *name : {"en_GB", "pt_PT"}) {
        const QString dic = corpus + QStringLiteral("/hunspell/") + QString::fromUtf8(name) + QStringLiteral(".dic");
        if (!QFile::exists(dic))
            GTEST_SKIP() << "no corpus at " << corpus.toStdString();
        QTemporaryDir dir;
        Workbench workbench(dir.path());
        ScriptedUi ui;
        ASSERT_TRUE(OpenDocumentFile(workbench, DocumentKind::Dictionary, ui, dic).done()) << name;
        EXPECT_EQ(ui.messages.size(), 0) << name;
        ui.savePaths = {dir.filePath(QStringLiteral("out"))};
        ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Dictionary, ui, false, true).done()) << name;

        // Only what saving defines may differ: the BOM, the count line and LF line ends.
        const auto normalised = [](QByteArray bytes, bool dropCountLine) {
            if (bytes.startsWith(bom))
                bytes.remove(0, bom.size());
            bytes.replace("\r\n", "\n").replace('\r', '\n');
            return dropCountLine ? bytes.mid(bytes.indexOf('\n') + 1) : bytes;
        };
        const QByteArray saved = readFile(dir.filePath(QStringLiteral("out.dic")));
        EXPECT_TRUE(saved.startsWith(bom + QByteArray::number(workbench.dictionary.entries.size()) + '\n')) << name;
        EXPECT_TRUE(normalised(saved, true) == normalised(readFile(dic), true)) << name;
        EXPECT_TRUE(normalised(readFile(dir.filePath(QStringLiteral("out.aff"))), false) ==
                    normalised(readFile(AffPathFor(dic)), false))
            << name;
    }
}
