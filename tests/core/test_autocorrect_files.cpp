#include "core/autocorrect/autocorrect_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "core/app/document_files.h"
#include "core/app/workbench.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/shell/long_task.h"
#include "core/shell/recent_files.h"

#include "gtest_qt_printers.h"
#include "save_faults.h"
#include "scripted_ui.h"
#include "test_files.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::readFile;
using namespace lexaloom::testing;

namespace {

const QByteArray bom("\xEF\xBB\xBF");
const QByteArray header = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?> <block-list:block-list "
                          "xmlns:block-list=\"http://openoffice.org/2001/block-list\">";
const QByteArray opening = "<block-list:block-list xmlns:block-list=\"http://openoffice.org/2001/block-list\">";
const QByteArray closing = "</block-list:block-list>";

QByteArray block(const char *incorrect, const char *correct)
{
    return QByteArray("<block-list:block block-list:abbreviated-name=\"") + incorrect + "\" block-list:name=\"" +
           correct + "\"/>";
}

QStringList entriesOf(const AutocorrectList &list)
{
    QStringList entries;
    for (qint64 i = 0; i < list.entries.size(); ++i)
        entries.append(list.entries.at(i));
    return entries;
}

// The pairs as an XML parser reads them (references decoded), and whether it read
// the whole document without an error.
struct ParsedList {
    QStringList pairs;
    bool wellFormed = false;
};

ParsedList parseXml(const QByteArray &bytes)
{
    ParsedList parsed;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("block")) {
            const QXmlStreamAttributes a = xml.attributes();
            parsed.pairs.append(a.value(QLatin1String("block-list:abbreviated-name")).toString() + u'\n' +
                                a.value(QLatin1String("block-list:name")).toString());
        }
    }
    parsed.wellFormed = !xml.hasError();
    return parsed;
}

// xmllint, the reference reader, where it is installed: its exit status, or nothing.
std::optional<int> xmllintStatus(const QString &path)
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(xmllint, {QStringLiteral("--noout"), path});
    process.waitForFinished();
    return process.exitCode();
}

class AutocorrectFilesTest : public ::testing::Test {
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

    DocumentLoadResult load(const QByteArray &bytes)
    {
        write("DocumentList.xml", bytes);
        return OpenDocumentFile(workbench, DocumentKind::Autocorrect, ui, path("DocumentList.xml"));
    }

    // A changed list with an undo step, loaded from old.xml: what a failed load must leave.
    void prepareExistingList()
    {
        workbench.autocorrect.changed = false;
        ui.answers.clear();
        write("old.xml", header + "\n" + block("teh", "the") + "\n" + closing + "\n");
        ASSERT_TRUE(OpenDocumentFile(workbench, DocumentKind::Autocorrect, ui, path("old.xml")).done());
        workbench.autocorrect.undoSnapshot = ListSnapshot{};
        workbench.autocorrect.changed = true;
        workbench.autocorrect.selectedIndex = 0;
        ui.clearRecords();
        ui.answers = {true}; // discard the changes
    }

    void expectExistingList() const
    {
        const AutocorrectList &list = workbench.autocorrect;
        EXPECT_EQ(entriesOf(list), QStringList{QStringLiteral("teh\nthe")});
        EXPECT_EQ(list.path, path("old.xml"));
        EXPECT_TRUE(list.changed);
        EXPECT_TRUE(list.hasUndoStep());
        EXPECT_EQ(list.selectedIndex, 0);
    }
};

} // namespace

TEST_F(AutocorrectFilesTest, WellFormedListsReadOneEntryPerLine)
{
    const struct {
        const char *why;
        QByteArray file;
        QStringList entries;
    } cases[] = {
        {"one block per line, the closing line adds nothing",
         bom + header + "\n  " + block("teh", "the") + "\n  " + block("adn", "and") + "\n" + closing + "\n",
         {QStringLiteral("teh\nthe"), QStringLiteral("adn\nand")}},
        {"a blank line adds nothing",
         header + "\n" + block("teh", "the") + "\n\n" + closing + "\n",
         {QStringLiteral("teh\nthe")}},
        {"the attribute names decide the halves, not their order",
         header + "\n<block-list:block block-list:name=\"the\" block-list:abbreviated-name=\"teh\"/>\n" + closing,
         {QStringLiteral("teh\nthe")}},
        {"references are kept as they stand",
         header + "\n" + block("R&amp;D", "&#x2192;") + "\n" + closing,
         {QStringLiteral("R&amp;D\n&#x2192;")}},
        {"the header is compared ignoring case, CR LF ends lines",
         header.toUpper() + "\r\n" + block("a", "b") + "\r\n" + closing + "\r\n",
         {QStringLiteral("a\nb")}},
    };
    for (const auto &c : cases) {
        ui.clearRecords();
        ASSERT_TRUE(load(c.file).done()) << c.why;
        EXPECT_EQ(entriesOf(workbench.autocorrect), c.entries) << c.why;
        EXPECT_TRUE(ui.messages.isEmpty()) << c.why;
    }
    const AutocorrectList &list = workbench.autocorrect;
    EXPECT_EQ(list.path, path("DocumentList.xml"));
    EXPECT_FALSE(list.changed);
    EXPECT_EQ(list.selectedIndex, -1);
    EXPECT_EQ(ui.statuses.first(), QStringLiteral("Loading Autocorrect List... <ESC> to abort."));
    EXPECT_TRUE(ui.statusText().startsWith(QStringLiteral("OK. (xml:"))) << ui.statusText().toStdString();
    EXPECT_TRUE(ui.statusText().endsWith(QStringLiteral(" bytes) \u231A00m00s")));
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::Autocorrect).first(), path("DocumentList.xml"));
}

TEST_F(AutocorrectFilesTest, OneLineListIsImportedWithEveryPair)
{
    // As the office suite writes it: no declaration, every element on one line.
    const QByteArray oneLine = opening + block("--&gt;", "&#x2192;") + block("abotu", "about") +
                               "<block-list:block block-list:abbreviated-name='x' block-list:name=\"y\"/>" +
                               block("teh", "the") + closing + "\n";
    ui.answers = {true};
    ASSERT_TRUE(load(oneLine).done());
    EXPECT_EQ(ui.messageTexts(),
              QStringList{QStringLiteral("The first line of an Autocorrect List must be:\n") +
                          QString::fromUtf8(header) + QStringLiteral("\n\nAttempt to import the file?")});
    EXPECT_EQ(ui.messages.first().title, QStringLiteral("Warning!"));
    // The opening element is never a pair; a single-quoted value reads as a double-quoted one.
    EXPECT_EQ(entriesOf(workbench.autocorrect),
              (QStringList{QStringLiteral("--&gt;\n&#x2192;"), QStringLiteral("abotu\nabout"), QStringLiteral("x\ny"),
                           QStringLiteral("teh\nthe")}));
}

// Each block element is the pair an XML reader sees in it; what is no block adds nothing.
TEST_F(AutocorrectFilesTest, EveryBlockReadsThePairAnXmlReaderSees)
{
    const struct {
        const char *why;
        QByteArray lines; // between the header and the closing line
        QStringList entries;
    } cases[] = {
        {"single quotes, a comment line and a blank last line",
         "  <block-list:block block-list:abbreviated-name='sq' block-list:name='single'/>\n  <!-- c -->\n  " +
             block("x", "y") + "\n",
         {QStringLiteral("sq\nsingle"), QStringLiteral("x\ny")}},
        {"a double quote inside single quotes, a single quote inside double quotes",
         "<block-list:block block-list:abbreviated-name='say \"hi\"' block-list:name=\"it's\"/>\n",
         {QStringLiteral("say \"hi\"\nit's")}},
        {"references stay as written in either quote style",
         "<block-list:block block-list:abbreviated-name='R&amp;D' block-list:name='&#xE7;&apos;'/>\n",
         {QStringLiteral("R&amp;D\n&#xE7;&apos;")}},
        {"spaces around the equals sign, a tab between attributes, no space before the end",
         "<block-list:block\tblock-list:abbreviated-name = \"a\"  block-list:name= 'b'/>\n",
         {QStringLiteral("a\nb")}},
        {"an element written with an end tag",
         "<block-list:block block-list:abbreviated-name=\"a\" block-list:name=\"b\"></block-list:block>\n",
         {QStringLiteral("a\nb")}},
        {"attributes on lines of their own",
         "<block-list:block\n    block-list:abbreviated-name=\"a\"\n    block-list:name=\"b\"/>\n" + block("c", "d") + "\n",
         {QStringLiteral("a\nb"), QStringLiteral("c\nd")}},
        {"a comment over several lines hides the block inside it",
         "<!-- old:\n" + block("no", "pair") + "\n-->\n" + block("c", "d") + "\n",
         {QStringLiteral("c\nd")}},
        {"a processing instruction and a comment after a block",
         "<?office keep?>\n" + block("a", "b") + " <!-- note -->\n",
         {QStringLiteral("a\nb")}},
        {"a missing attribute is an empty half",
         "<block-list:block block-list:name=\"b\"/>\n<block-list:block/>\n",
         {QStringLiteral("\nb"), QStringLiteral("\n")}},
        {"a namespace declaration on the block changes nothing",
         "<block-list:block xmlns:block-list=\"http://openoffice.org/2001/block-list\" "
         "block-list:abbreviated-name=\"a\" block-list:name=\"b\"/>\n",
         {QStringLiteral("a\nb")}},
        {"blank lines and CR line ends only",
         "\r\n\r\n" + block("a", "b") + "\r\r\n   \t\n",
         {QStringLiteral("a\nb")}},
    };
    for (const auto &c : cases) {
        ui.clearRecords();
        ASSERT_TRUE(load(header + "\n" + c.lines + closing + "\n\n").done()) << c.why;
        EXPECT_EQ(entriesOf(workbench.autocorrect), c.entries) << c.why;
        EXPECT_TRUE(ui.messages.isEmpty()) << c.why;
        EXPECT_TRUE(ui.statusText().startsWith(QStringLiteral("OK. "))) << c.why;
    }
}

// A line the reader cannot take as a pair stops the load with its number: nothing is
// loaded, so a save can never write the list without it.
TEST_F(AutocorrectFilesTest, LinesThatAreNoPairAreRefusedWithTheirNumber)
{
    const struct {
        const char *why;
        QByteArray file;
        bool import; // the file is offered for import first
        int line;
        const char *shown;
    } cases[] = {
        {"a value without its closing quote",
         header + "\n" + block("a", "b") + "\n<block-list:block block-list:abbreviated-name=\"c/>\n" + closing, false,
         3, "<block-list:block block-list:abbreviated-name=\"c/>"},
        {"a value running over a line end",
         header + "\n<block-list:block block-list:abbreviated-name='a\nb' block-list:name='c'/>\n" + closing, false, 2,
         "<block-list:block block-list:abbreviated-name='a"},
        {"text outside any element", header + "\n" + block("a", "b") + "\nteh the\n" + closing, false, 3, "teh the"},
        {"an element that is no block", header + "\n\n<item a=\"b\"/>\n" + closing, false, 3, "<item a=\"b\"/>"},
        {"an attribute whose value would be lost",
         header + "\n<block-list:block block-list:abbreviated-name=\"a\" block-list:name=\"b\" x=\"1\"/>\n" + closing,
         false, 2, "<block-list:block block-list:abbreviated-name=\"a\" block-list:name=\"b\" x=\"1\"/>"},
        {"a repeated attribute",
         header + "\n<block-list:block block-list:name=\"a\" block-list:name=\"b\"/>\n" + closing, false, 2,
         "<block-list:block block-list:name=\"a\" block-list:name=\"b\"/>"},
        {"an attribute without a value", header + "\n<block-list:block block-list:name/>\n" + closing, false, 2,
         "<block-list:block block-list:name/>"},
        {"a comment that never ends", header + "\n" + block("a", "b") + "\n<!-- c\n" + closing, false, 3, "<!-- c"},
        {"content inside a block", header + "\n<block-list:block>x</block-list:block>\n" + closing, false, 2,
         "<block-list:block>x</block-list:block>"},
        {"an imported one-line list counts its lines from the file's first",
         "<?xml version=\"1.0\"?>\n" + opening + block("a", "b") + "<b/>" + closing, true, 2,
         "<block-list:block-list xmlns:block-list=\"http://openoffice.org/2001/block-list\"><block-list:block "
         "block-list:abbreviated-name=\"a\" block-list:name=\"b\"/><b/></block-list:block-list>"},
    };
    for (const auto &c : cases) {
        prepareExistingList();
        if (c.import)
            ui.answers.push_back(true);
        EXPECT_FALSE(load(c.file).done()) << c.why;
        const QString expected = QStringLiteral("Line %1 of the Autocorrect List can't be read as a pair:\n%2\n\n"
                                                "Nothing was loaded.")
                                     .arg(QString::number(c.line),
                                          QString::fromUtf8(c.shown).size() > 120
                                              ? QString::fromUtf8(c.shown).first(120) + QStringLiteral("\u2026")
                                              : QString::fromUtf8(c.shown));
        EXPECT_EQ(ui.messages.last().text, expected) << c.why;
        EXPECT_EQ(ui.messages.last().title, QStringLiteral("Warning!")) << c.why;
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted.")) << c.why;
        expectExistingList();
    }
}

TEST_F(AutocorrectFilesTest, ImportStartsAtTheFirstBlockElement)
{
    const struct {
        const char *why;
        QByteArray file;
        QStringList entries;
    } cases[] = {
        {"a declaration, then the opening element on a line of its own",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + opening + "\n" + block("teh", "the") + "\n" + closing + "\n",
         {QStringLiteral("teh\nthe")}},
        {"indented blocks stay one per line",
         opening + "\n  " + block("a", "b") + "\n\t" + block("c", "d") + "\n" + closing,
         {QStringLiteral("a\nb"), QStringLiteral("c\nd")}},
        {"a block sharing the opening element's line",
         opening + block("a", "b") + "\n" + block("c", "d") + "\n",
         {QStringLiteral("a\nb"), QStringLiteral("c\nd")}},
    };
    for (const auto &c : cases) {
        ui.answers = {true};
        ASSERT_TRUE(load(c.file).done()) << c.why;
        EXPECT_EQ(entriesOf(workbench.autocorrect), c.entries) << c.why;
    }
}

TEST_F(AutocorrectFilesTest, RefusedLoadsKeepThePreviousList)
{
    const struct {
        const char *why;
        QByteArray file;
        std::deque<bool> answers; // after the changed-list question
        QStringList messages;     // after the changed-list question
        QString title;
        QString status;
    } cases[] = {
        {"import declined",
         opening + block("a", "b") + closing,
         {false},
         {autocorrectTexts::importQuestion},
         QStringLiteral("Warning!"),
         QStringLiteral("Aborted.")},
        {"nothing to import",
         "<?xml version=\"1.0\"?>\n<list>\n</list>\n",
         {true},
         {autocorrectTexts::importQuestion, QStringLiteral("Failed to import file.")},
         QStringLiteral("Warning!"),
         QStringLiteral("Aborted.")},
        {"an opening element alone is nothing to import",
         opening + closing,
         {true},
         {autocorrectTexts::importQuestion, QStringLiteral("Failed to import file.")},
         QStringLiteral("Warning!"),
         QStringLiteral("Aborted.")},
        {"two pairs on one line of a well-formed list",
         header + "\n" + block("a", "b") + "\n" + block("c", "d") + block("e", "f") + "\n" + closing,
         {},
         {QStringLiteral("Only allowed one pair of incorrect/correct per line.\nUse a program like Notepad++ to "
                         "create individual lines.\nFor example: replace \"/>\" with \"/>\\n\"\nusing Extended "
                         "search mode.")},
         QStringLiteral("Warning!"),
         QStringLiteral("Aborted.")},
        {"empty file",
         "",
         {},
         {QStringLiteral(".XML file not found.")},
         QStringLiteral("Error"),
         QStringLiteral("File not found.")},
    };
    for (const auto &c : cases) {
        prepareExistingList();
        for (bool answer : c.answers)
            ui.answers.push_back(answer);
        EXPECT_FALSE(load(c.file).done()) << c.why;
        QStringList expected{autocorrectTexts::changedQuestion};
        expected += c.messages;
        EXPECT_EQ(ui.messageTexts(), expected) << c.why;
        EXPECT_EQ(ui.messages.last().title, c.title) << c.why;
        EXPECT_EQ(ui.statusText(), c.status) << c.why;
        expectExistingList();
    }

    prepareExistingList();
    ui.answers = {false};
    EXPECT_FALSE(OpenDocumentFile(workbench, DocumentKind::Autocorrect, ui, path("old.xml")).done());
    EXPECT_EQ(ui.messages.first().text, QStringLiteral("The Autocorrect List has been changed.\n\nContinue?"));
    expectExistingList();

    prepareExistingList();
    EXPECT_FALSE(OpenDocumentFile(workbench, DocumentKind::Autocorrect, ui, path("missing.xml")).done());
    EXPECT_EQ(ui.messages.last().text, QStringLiteral(".XML file not found."));
    expectExistingList();

    prepareExistingList();
    EXPECT_FALSE(OpenDocumentFile(workbench, DocumentKind::Autocorrect, ui).done()); // the dialog cancelled
    EXPECT_EQ(ui.dialogTitles, QStringList{QStringLiteral("Open Autocorrect List")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    expectExistingList();
}

TEST_F(AutocorrectFilesTest, EscapeDuringLoadKeepsThePreviousList)
{
    prepareExistingList();
    QByteArray file = header + "\n";
    for (int i = 0; i < 200; ++i)
        file += block("w" + QByteArray::number(i), "x") + "\n";
    ui.answers.push_back(true); // Really abort?
    int pumps = 0;
    ui.onProcessEvents = [&pumps](ScriptedUi &u) {
        u.fakeClock.advance(LongTask::eventPumpMs);
        if (++pumps == 40)
            u.pressEscape();
    };
    EXPECT_FALSE(load(file).done());
    EXPECT_EQ(ui.messages.last().text, QStringLiteral("Really abort?"));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_TRUE(ui.statuses.contains(QStringLiteral("Loading Autocorrect List... <ESC> to abort. \u231A00m00s")));
    expectExistingList();
}

TEST(AutocorrectEscapingTest, TypedTextGoesToTheFileAsXml)
{
    const struct {
        const char *typed;
        const char *written;
    } cases[] = {
        // clang-format off
        {"R&D", "R&amp;D"},
        {"say \"hi\"", "say &quot;hi&quot;"},
        {"a<b", "a&lt;b"},
        {"a>b 'q'", "a>b 'q'"},
        {"café → ü", "café → ü"},
        // References an XML reader accepts stay as typed.
        {"&amp;", "&amp;"},
        {"&lt;-", "&lt;-"},
        {"&gt;&apos;&quot;", "&gt;&apos;&quot;"},
        {"&#x2192;", "&#x2192;"},
        {"&#8594;", "&#8594;"},
        {"&#x1F600;", "&#x1F600;"},
        {"&#x10FFFF;", "&#x10FFFF;"},
        // Anything else is text.
        {"&", "&amp;"},
        {"& ;", "&amp; ;"},
        {"&amp", "&amp;amp"},
        {"AT&T &co; x", "AT&amp;T &amp;co; x"},
        {"&nbsp;", "&amp;nbsp;"}, // no DTD declares it
        {"&#;", "&amp;#;"},
        {"&#x;", "&amp;#x;"},
        {"&#12a;", "&amp;#12a;"},
        {"&#X2192;", "&amp;#X2192;"}, // hexadecimal references take a small x only
        {"&#0;", "&amp;#0;"},
        {"&#xFFFE;", "&amp;#xFFFE;"},
        {"&#x110000;", "&amp;#x110000;"},
        {"&#99999999999999999999;", "&amp;#99999999999999999999;"},
        // clang-format on
    };
    for (const auto &c : cases)
        EXPECT_EQ(EscapeAutocorrectText(QString::fromUtf8(c.typed)), QString::fromUtf8(c.written)) << c.typed;
}

TEST_F(AutocorrectFilesTest, TypedSpecialCharactersRoundTripThroughAnXmlReader)
{
    AutocorrectList &list = workbench.autocorrect;
    const QStringList typed{QStringLiteral("R&D\nResearch & Development"), QStringLiteral("\"q\"\n\u201Cq\u201D"),
                            QStringLiteral("<-\n\u2190"), QStringLiteral("R&amp;D\n&#x2192;")};
    for (const QString &entry : typed)
        list.entries.append(entry);
    list.changed = true;
    ui.savePaths = {path("typed")};
    ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Autocorrect, ui, true, false).done());
    EXPECT_EQ(list.path, path("typed.xml"));
    EXPECT_FALSE(list.changed);

    const QByteArray bytes = readFile(path("typed.xml"));
    EXPECT_TRUE(bytes.contains("abbreviated-name=\"R&amp;D\" block-list:name=\"Research &amp; Development\""));
    EXPECT_TRUE(bytes.contains("abbreviated-name=\"&quot;q&quot;\""));
    EXPECT_TRUE(bytes.contains("abbreviated-name=\"&lt;-\""));
    const ParsedList parsed = parseXml(bytes.mid(bom.size()));
    EXPECT_TRUE(parsed.wellFormed);
    EXPECT_EQ(xmllintStatus(path("typed.xml")).value_or(0), 0);
    EXPECT_EQ(parsed.pairs,
              (QStringList{QStringLiteral("R&D\nResearch & Development"), QStringLiteral("\"q\"\n\u201Cq\u201D"),
                           QStringLiteral("<-\n\u2190"), QStringLiteral("R&D\n\u2192")}));

    // Reading keeps the references: a typed "&" comes back as "&amp;", and the next
    // save writes the same bytes.
    ASSERT_TRUE(OpenDocumentFile(workbench, DocumentKind::Autocorrect, ui, path("typed.xml")).done());
    EXPECT_EQ(entriesOf(list), (QStringList{QStringLiteral("R&amp;D\nResearch &amp; Development"),
                                            QStringLiteral("&quot;q&quot;\n\u201Cq\u201D"),
                                            QStringLiteral("&lt;-\n\u2190"), QStringLiteral("R&amp;D\n&#x2192;")}));
    ui.savePaths = {path("again.xml")};
    ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Autocorrect, ui, false, true).done());
    EXPECT_EQ(readFile(path("again.xml")), bytes);
}

TEST_F(AutocorrectFilesTest, SaveWritesTheLayoutWithTheChosenIndentation)
{
    AutocorrectList &list = workbench.autocorrect;
    list.entries.append(u"teh\nthe");
    list.entries.append(u"only incorrect");
    list.entries.append(u"a\nb\nextra");
    list.changed = true;
    workbench.settings.autocorrectLeftSpaces = 4;
    ui.savePaths = {path("out.xml")};
    const AutocorrectFileResult result =
        RecordRecentFile(workbench, DocumentKind::Autocorrect,
                         SaveAutocorrectList(workbench.autocorrect, workbench.settings, ui, true, false));
    ASSERT_TRUE(result.done());
    const QByteArray expected = bom + header + "\n    " + block("teh", "the") + "\n    " + block("only incorrect", "") +
                                "\n    " + block("a", "b") + "\n" + closing + "\n";
    EXPECT_EQ(readFile(path("out.xml")), expected);
    EXPECT_EQ(result.bytes, expected.size());
    EXPECT_EQ(ui.dialogTitles, QStringList{QStringLiteral("Save Autocorrect List")});
    EXPECT_EQ(ui.statuses.first(), QStringLiteral("Saving Autocorrect List... <ESC> to abort."));
    EXPECT_EQ(ui.statusText(), QStringLiteral("OK. (xml:%1 bytes) \u231A00m00s").arg(expected.size()));
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::Autocorrect).first(), path("out.xml"));

    // File > Save goes to the known path without a dialog; the default is 2 spaces.
    workbench.settings.autocorrectLeftSpaces = 2;
    ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Autocorrect, ui, true, false).done());
    EXPECT_TRUE(readFile(path("out.xml")).contains("\n  <block-list:block "));
    EXPECT_EQ(ui.dialogTitles.size(), 1);
}

TEST_F(AutocorrectFilesTest, FailedSavesKeepTheOldFileAndTheChangedFlag)
{
    AutocorrectList &list = workbench.autocorrect;
    ui.savePaths = {path("empty.xml")};
    EXPECT_FALSE(SaveDocumentFile(workbench, DocumentKind::Autocorrect, ui, true, false).done());
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No autocorrect words found.")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_FALSE(QFile::exists(path("empty.xml")));

    for (int i = 0; i < 300; ++i)
        list.entries.append(QStringLiteral("w%1\nx").arg(i));
    list.changed = true;
    write("kept.xml", "old bytes");
    const struct {
        const char *why;
        std::deque<bool> answers;
        int escapeAtPump; // 0: none
    } cases[] = {
        {"overwrite declined", {false}, 0},
        {"Escape confirmed", {true, true}, 20},
    };
    for (const auto &c : cases) {
        ui.clearRecords();
        ui.answers = c.answers;
        ui.savePaths = {path("kept.xml")};
        int pumps = 0;
        ui.onProcessEvents = [&pumps, &c](ScriptedUi &u) {
            u.fakeClock.advance(LongTask::eventPumpMs);
            if (++pumps == c.escapeAtPump)
                u.pressEscape();
        };
        EXPECT_FALSE(SaveDocumentFile(workbench, DocumentKind::Autocorrect, ui, false, true).done()) << c.why;
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted.")) << c.why;
        EXPECT_EQ(readFile(path("kept.xml")), QByteArray("old bytes")) << c.why;
        EXPECT_TRUE(list.changed) << c.why;
        EXPECT_TRUE(list.path.isEmpty()) << c.why;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << c.why; // no temporary file left
    }
    ui.onProcessEvents = nullptr;

    ui.clearRecords();
    ui.savePaths = {path("kept.xml") + QStringLiteral("/inside.xml")}; // a file is no folder
    EXPECT_FALSE(SaveDocumentFile(workbench, DocumentKind::Autocorrect, ui, false, true).done());
    EXPECT_EQ(ui.messages.last().title, QStringLiteral("Error"));
    EXPECT_TRUE(ui.messages.last().text.startsWith(QStringLiteral("Can't write the file:\n")));
    EXPECT_TRUE(list.changed);
}

TEST(AutocorrectCounterTest, CountOrFocusedRow)
{
    AutocorrectList list;
    EXPECT_EQ(AutocorrectCounterText(list, QStringLiteral(",")), QStringLiteral("# Autocorrects:0"));
    for (int i = 0; i < 1234; ++i)
        list.entries.append(u"a\nb");
    EXPECT_EQ(AutocorrectCounterText(list, QStringLiteral(",")), QStringLiteral("# Autocorrects:1,234"));
    list.selectedIndex = 4;
    EXPECT_EQ(AutocorrectCounterText(list, QStringLiteral(".")), QStringLiteral("Autocorrect: [5/1.234]"));
}

// The real lists as the office suite ships them: one line each, without the declaration.
TEST_F(AutocorrectFilesTest, CorpusListsImportEveryPairAndRoundTrip)
{
    const QString corpus = corpusRoot();
    const QStringList languages{QStringLiteral("en-GB"), QStringLiteral("pt-PT")};
    int found = 0;
    for (const QString &language : languages) {
        const QString source =
            corpus + QStringLiteral("/autocorrect/") + language + QStringLiteral("/DocumentList.xml");
        if (!QFile::exists(source))
            continue;
        ++found;
        const QByteArray original = readFile(source);
        const ParsedList reference = parseXml(original);
        ASSERT_TRUE(reference.wellFormed) << language.toStdString();
        ASSERT_GT(reference.pairs.size(), 1000) << language.toStdString();

        ui.clearRecords();
        ui.answers = {true};
        ASSERT_TRUE(OpenDocumentFile(workbench, DocumentKind::Autocorrect, ui, source).done()) << language.toStdString();
        const QStringList loaded = entriesOf(workbench.autocorrect);
        EXPECT_EQ(loaded.size(), reference.pairs.size()) << language.toStdString();

        const QString saved = dir.filePath(language + QStringLiteral(".xml"));
        ui.savePaths = {saved};
        ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Autocorrect, ui, false, true).done());
        const QByteArray written = readFile(saved);
        const ParsedList reread = parseXml(written.mid(bom.size()));
        EXPECT_TRUE(reread.wellFormed) << language.toStdString();
        EXPECT_EQ(xmllintStatus(saved).value_or(0), 0) << language.toStdString();
        // The same pairs by an XML reader's measure, references decoded alike.
        EXPECT_EQ(reread.pairs, reference.pairs) << language.toStdString();

        ui.clearRecords();
        ASSERT_TRUE(OpenDocumentFile(workbench, DocumentKind::Autocorrect, ui, saved).done());
        EXPECT_TRUE(ui.messages.isEmpty()); // our own layout needs no import
        EXPECT_EQ(entriesOf(workbench.autocorrect), loaded) << language.toStdString();
    }
    if (found == 0)
        GTEST_SKIP() << "corpus not present";
}

// A list with bytes that are not UTF-8 (a Latin-1 word) is written back unchanged.
TEST_F(AutocorrectFilesTest, BytesThatAreNotUtf8SurviveLoadAndSave)
{
    const QByteArray file = bom + header + "\n  " + block("caf\xE9", "caf\xC3\xA9") + "\n" + closing + "\n";
    ASSERT_TRUE(load(file).done());
    EXPECT_EQ(entriesOf(workbench.autocorrect), QStringList{QString::fromUtf16(u"caf\xDCE9\ncaf\x00E9")});
    ui.savePaths = {path("again.xml")};
    ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Autocorrect, ui, false, true).done());
    EXPECT_EQ(readFile(path("again.xml")), file);
}

// Every failure of every step of a save leaves the old list byte for byte and says so;
// a kill at any step leaves the old or the new list whole.
TEST(AutocorrectSaveFaultsTest, EveryFailureAndKillLeavesAWholeList)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString target = dir.filePath(QStringLiteral("DocumentList.xml"));
    AutocorrectList list;
    QByteArray newList = bom + header + "\n";
    for (int i = 0; i < 20000; ++i) {
        list.entries.append(QStringLiteral("w%1\nx & y").arg(i));
        newList += "  " + block("w" + QByteArray::number(i), "x &amp; y") + "\n";
    }
    newList += closing + "\n";
    const FolderImage before{{QStringLiteral("DocumentList.xml"), header + "\n" + block("old", "list") + "\n"}};
    const FolderImage after{{QStringLiteral("DocumentList.xml"), newList}};
    MainSettings settings;
    SaveFaultHarness harness(dir.path(), before, after);
    const auto save = [&](FileOps &ops) {
        ScriptedUi ui;
        const AutocorrectFileResult result = WriteAutocorrectFile(ui, settings, list, target, ops);
        if (!result.done()) {
            EXPECT_EQ(result.outcome, FileOutcome::Failed);
            EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
            EXPECT_EQ(ui.messages.size(), 1);
            if (!ui.messages.isEmpty()) {
                EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Can't write the file:\n")));
            }
        }
        return result.done();
    };
    // The next save of the list is what clears a killed save's temporary file.
    const auto saveAgain = [&] {
        ScriptedUi ui;
        EXPECT_TRUE(WriteAutocorrectFile(ui, settings, list, target).done());
        return false;
    };
    EXPECT_GT(harness.countSteps(save), 5);
    const QStringList failures = harness.checkEveryFailure(save, saveAgain);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();
    const QStringList kills = harness.checkEveryKill(save, saveAgain);
    EXPECT_TRUE(kills.isEmpty()) << kills.join(QLatin1Char('\n')).toStdString();
}

// A save killed at any step leaves nothing behind once the list is opened again: a new
// list that was complete is offered (and read on Yes), an incomplete one goes; No
// leaves both files as they are and opens nothing.
TEST(AutocorrectSaveFaultsTest, KilledSaveIsFinishedOrClearedAtTheNextOpen)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString target = dir.filePath(QStringLiteral("DocumentList.xml"));
    AutocorrectList list;
    list.entries.append(QStringLiteral("teh\nthe"));
    const QByteArray oldList = bom + header + "\n  " + block("old", "list") + "\n" + closing + "\n";
    const QByteArray newList = bom + header + "\n  " + block("teh", "the") + "\n" + closing + "\n";
    const FolderImage before{{QStringLiteral("DocumentList.xml"), oldList}};
    const FolderImage after{{QStringLiteral("DocumentList.xml"), newList}};
    MainSettings settings;
    const auto save = [&](FileOps &ops) {
        ScriptedUi ui;
        return WriteAutocorrectFile(ui, settings, list, target, ops).done();
    };
    int asked = 0;
    const auto open = [&] {
        ScriptedUi ui;
        ui.answers = {true};
        AutocorrectList loaded;
        EXPECT_TRUE(LoadAutocorrectList(loaded, settings, ui, target).done());
        if (ui.messages.isEmpty())
            return false;
        ++asked;
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].text,
                  QStringLiteral("The last save of\n%1\nwas interrupted, but the file it wrote is complete.\n\n"
                                 "Finish that save and open it?")
                      .arg(QDir::toNativeSeparators(target)));
        EXPECT_EQ(entriesOf(loaded), QStringList{QStringLiteral("teh\nthe")});
        return true;
    };
    SaveFaultHarness harness(dir.path(), before, after);
    const QStringList kills = harness.checkEveryKill(save, open);
    EXPECT_TRUE(kills.isEmpty()) << kills.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(asked, 1); // only between the complete file and its last rename

    WriteFolder(dir.path(), {{"DocumentList.xml", oldList}, {"DocumentList.xml.lxm-ready", newList}});
    ScriptedUi ui;
    ui.answers = {false};
    AutocorrectList loaded;
    loaded.entries.append(QStringLiteral("kept\nas it was"));
    EXPECT_EQ(LoadAutocorrectList(loaded, settings, ui, target).outcome, FileOutcome::Cancelled);
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(entriesOf(loaded), QStringList{QStringLiteral("kept\nas it was")});
    EXPECT_EQ(ReadFolder(dir.path()).size(), 2);
}
