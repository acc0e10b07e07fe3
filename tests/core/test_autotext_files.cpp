#include "core/autocorrect/autotext_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QRandomGenerator>
#include <QXmlStreamReader>

#include <sys/stat.h>
#include <unistd.h>

#include "core/app/document_files.h"
#include "core/app/workbench.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/shell/settings.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/long_task.h"
#include "core/shell/recent_files.h"

#include "gtest_qt_printers.h"
#include "scripted_ui.h"
#include "test_files.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::ScriptedUi;

namespace {

const QByteArray catalogueStart = "<block-list:block-list xmlns:block-list=\"http://openoffice.org/2001/block-list\" "
                                  "block-list:list-name=\"Standard\">";

QByteArray paragraphs(const QByteArray &body)
{
    return "<office:document xmlns:text=\"t\"><office:body>" + body + "</office:body></office:document>";
}

class AutoTextFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Workbench workbench{dir.filePath(QStringLiteral("program"))};
    ScriptedUi ui;

    QString path(const QString &name) const { return dir.filePath(name); }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QStringList filesUnder() const
    {
        QStringList files;
        QDir root(dir.path());
        for (const QFileInfo &info : root.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (info.isDir())
                for (const QString &f : QDir(info.filePath()).entryList(QDir::Files))
                    files.append(info.fileName() + u'/' + f);
            else
                files.append(info.fileName());
        }
        files.sort();
        return files;
    }
};

} // namespace

TEST(AutoTextAttributeTest, QuotedValues)
{
    const struct {
        const char *element;
        const char *attribute;
        const char *value;
    } cases[] = {
        {"<block-list:block block-list:abbreviated-name=\"BW\" ", "abbreviated-name=", "BW"},
        {"<block-list:block block-list:abbreviated-name='BW' ", "abbreviated-name=", "BW"},
        {"<block-list:block block-list:name='It\"s' ", "block-list:name=", "It\"s"},
        {"<block-list:block block-list:name=\"x\" block-list:name=\"y\"", "block-list:name=", "x"},
        {"<block-list:block block-list:name=x ", "block-list:name=", ""},
        {"<block-list:block block-list:name = \"x\"", "block-list:name=", ""},
        {"<block-list:block ", "package-name=", ""},
        {"<block-list:block block-list:name=\"open to the end", "block-list:name=", "open to the end"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AutoTextAttribute(QString::fromUtf8(c.element), QString::fromUtf8(c.attribute)),
                  QString::fromUtf8(c.value))
            << c.element;
}

TEST(AutoTextContentTest, ParagraphsAndSpansBecomeLines)
{
    const struct {
        QByteArray xml;
        const char *content;
    } cases[] = {
        {paragraphs("<text:p>Attention:</text:p>"), "Attention:\n"},
        {paragraphs("<text:p>Best</text:p>\r\n<text:p>wishes,</text:p>\n"), "Best\nwishes,\n"},
        {paragraphs("<text:p>a <text:span t:s=\"x\">bold</text:span> end</text:p>"), "bold\n end\n"},
        {paragraphs("<text:p>one</text:p><text:p/><text:p></text:p><text:p>two</text:p>"), "one\ntwo\n"},
        {paragraphs("<text:h>Title</text:h>"), ""},
        {"no tags at all", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AutoTextContent(QString::fromUtf8(c.xml)), QString::fromUtf8(c.content)) << c.xml.constData();
}

// The one-pass reading gives what the whole-text replacements it stands for give:
// ">" becomes ">\n", paragraph and span lines are kept without their end tags, "\n\n"
// becomes "\n".
TEST(AutoTextContentTest, OnePassMatchesTheWholeTextReplacements)
{
    const auto direct = [](const QString &xml) {
        QString flat = NormaliseLineEnds(xml);
        flat.remove(u'\n');
        flat.replace(u'>', QLatin1String(">\n"));
        QString content;
        for (QStringView line : QStringView(flat).split(u'\n')) {
            if (!line.endsWith(u"</text:p>") && !line.endsWith(u"</text:span>"))
                continue;
            QString text = line.toString();
            text.remove(QLatin1String("</text:p>"));
            text.remove(QLatin1String("</text:span>"));
            content += text + u'\n';
        }
        content.replace(QLatin1String("\n\n"), QLatin1String("\n"));
        return content;
    };
    const QStringList pieces{"</text:p>", "</text:span>", "<text:p>", ">", "<", "a", " ", "\n", "\r", "\r\n",
                             "</text:p", "p>", "</text:sp\nan>", "</text:\rp>", "<text:p/>"};
    QRandomGenerator random(35);
    for (int round = 0; round < 3000; ++round) {
        QString xml;
        const int length = int(random.bounded(12));
        for (int i = 0; i < length; ++i)
            xml += pieces[int(random.bounded(pieces.size()))];
        ASSERT_EQ(AutoTextContent(xml), direct(xml)) << xml.toStdString();
    }
}

TEST_F(AutoTextFilesTest, ReadsEntriesFromEitherQuoteAndTheirContentFiles)
{
    const struct {
        const char *why;
        QByteArray catalogue;
    } cases[] = {
        {"double quotes, one line",
         catalogueStart + "<block-list:block block-list:abbreviated-name=\"BW\" block-list:package-name=\"BW\" "
                          "block-list:name=\"Best wishes,\"/>"
                          "<block-list:block block-list:abbreviated-name=\"CON1\" block-list:package-name=\"CON1\" "
                          "block-list:name=\"Modern, only Company\"/></block-list:block-list>\n"},
        {"single quotes over several lines",
         "<?xml version='1.0'?>\r\n" + catalogueStart +
             "\r\n<block-list:block block-list:abbreviated-name='BW'\r\n block-list:package-name='BW' "
             "block-list:name='Best wishes,'/>\r\n"
             "<block-list:block block-list:abbreviated-name='CON1' block-list:package-name='CON1' "
             "block-list:name='Modern, only Company'/>\r\n</block-list:block-list>"},
    };
    // BW has a content file named after its package; CON1 only content.xml.
    write(QStringLiteral("BW/BW.xml"), paragraphs("<text:p>Best wishes,</text:p>"));
    write(QStringLiteral("CON1/content.xml"), "\xEF\xBB\xBF" + paragraphs("<text:p>Company</text:p>"));
    for (const auto &c : cases) {
        ui.clearRecords();
        write(QStringLiteral("BlockList.xml"), c.catalogue);
        const DocumentLoadResult result = OpenDocumentFile(workbench, DocumentKind::AutoText, ui, path(QStringLiteral("BlockList.xml")));
        ASSERT_TRUE(result.done()) << c.why;
        EXPECT_EQ(workbench.autotext.entries,
                  (QList<AutoTextEntry>{{QStringLiteral("BW"), QStringLiteral("BW"), QStringLiteral("Best wishes,"),
                                         QStringLiteral("Best wishes,\n")},
                                        {QStringLiteral("CON1"), QStringLiteral("CON1"),
                                         QStringLiteral("Modern, only Company"), QStringLiteral("Company\n")}}))
            << c.why;
        EXPECT_TRUE(ui.messages.isEmpty()) << c.why;
        EXPECT_EQ(ui.statuses.first(), QStringLiteral("Loading AutoText List... <ESC> to abort."));
        EXPECT_EQ(ui.statusText(), QStringLiteral("OK. (BlockList.xml:%1 bytes)+(xmls:%2 bytes) \u231A00m00s")
                                       .arg(c.catalogue.size())
                                       .arg(QFileInfo(path(QStringLiteral("BW/BW.xml"))).size() +
                                            QFileInfo(path(QStringLiteral("CON1/content.xml"))).size()))
            << c.why;
    }
    EXPECT_EQ(workbench.autotext.path, path(QStringLiteral("BlockList.xml")));
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::AutoText).first(), path(QStringLiteral("BlockList.xml")));
}

TEST_F(AutoTextFilesTest, ContentPathPrefersANonEmptyPackageFile)
{
    const QString catalogue = path(QStringLiteral("BlockList.xml"));
    write(QStringLiteral("A/A.xml"), "x");
    write(QStringLiteral("B/B.xml"), "");
    EXPECT_EQ(AutoTextContentPath(catalogue, QStringLiteral("A")), path(QStringLiteral("A/A.xml")));
    EXPECT_EQ(AutoTextContentPath(catalogue, QStringLiteral("B")), path(QStringLiteral("B/content.xml")));
    EXPECT_EQ(AutoTextContentPath(QStringLiteral("C:\\lists\\BlockList.xml"), QStringLiteral("X")),
              QStringLiteral("C:\\lists\\X\\content.xml"));
}

TEST_F(AutoTextFilesTest, ReadingCreatesNoFile)
{
    // An entry whose folder exists without its content file, and one without a folder.
    write(QStringLiteral("BlockList.xml"),
          catalogueStart + "<block-list:block block-list:abbreviated-name=\"E\" block-list:package-name=\"E\" "
                           "block-list:name=\"Empty\"/>"
                           "<block-list:block block-list:abbreviated-name=\"G\" block-list:package-name=\"G\" "
                           "block-list:name=\"Gone\"/></block-list:block-list>");
    QDir().mkpath(path(QStringLiteral("E")));
    const QStringList before = filesUnder();
    ASSERT_TRUE(OpenDocumentFile(workbench, DocumentKind::AutoText, ui, path(QStringLiteral("BlockList.xml"))).done());
    EXPECT_EQ(workbench.autotext.entries.size(), 2);
    EXPECT_TRUE(workbench.autotext.entries[0].content.isEmpty());
    EXPECT_EQ(filesUnder(), before);
    EXPECT_TRUE(QDir(path(QStringLiteral("E"))).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("G"))));
}

TEST_F(AutoTextFilesTest, FailuresKeepTheShownCatalogue)
{
    write(QStringLiteral("BlockList.xml"),
          catalogueStart + "<block-list:block block-list:abbreviated-name=\"K\"/></block-list:block-list>");
    ASSERT_TRUE(OpenDocumentFile(workbench, DocumentKind::AutoText, ui, path(QStringLiteral("BlockList.xml"))).done());
    const QList<AutoTextEntry> shown = workbench.autotext.entries;

    const struct {
        const char *why;
        QByteArray file; // empty: no file at all
        QString message;
        QString status;
    } cases[] = {
        {"no entries",
         "<block-list:block-list xmlns:block-list=\"http://openoffice.org/2001/block-list\" "
         "block-list:list-name=\"My AutoText\"/>",
         QStringLiteral(".XML file has no valid entries."), QStringLiteral("Aborted.")},
        {"missing", "", QStringLiteral(".XML file not found."), QStringLiteral("File not found.")},
    };
    for (const auto &c : cases) {
        ui.clearRecords();
        const QString name = QStringLiteral("other/BlockList.xml");
        QFile::remove(path(name));
        if (!c.file.isEmpty())
            write(name, c.file);
        EXPECT_FALSE(OpenDocumentFile(workbench, DocumentKind::AutoText, ui, path(name)).done()) << c.why;
        EXPECT_EQ(ui.messageTexts(), QStringList{c.message}) << c.why;
        EXPECT_EQ(ui.messages.first().title, QStringLiteral("Error")) << c.why;
        EXPECT_EQ(ui.statusText(), c.status) << c.why;
        EXPECT_EQ(workbench.autotext.entries, shown) << c.why;
        EXPECT_EQ(workbench.autotext.path, path(QStringLiteral("BlockList.xml"))) << c.why;
    }

    ui.clearRecords();
    EXPECT_FALSE(OpenDocumentFile(workbench, DocumentKind::AutoText, ui).done());
    EXPECT_EQ(ui.dialogTitles, QStringList{QStringLiteral("Open AutoText List")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
}

// The catalogues shipped with the office suite: every block element becomes an entry
// with the names an XML parser reads, and the one without entries says so.
TEST_F(AutoTextFilesTest, CorpusCatalogues)
{
    const QString corpus = corpusRoot();
    const QStringList catalogues{QStringLiteral("en-US/crdbus50"), QStringLiteral("en-US/standard"),
                                 QStringLiteral("en-US/template"), QStringLiteral("mytexts")};
    int found = 0;
    for (const QString &name : catalogues) {
        const QString file = corpus + QStringLiteral("/autotext/") + name + QStringLiteral("/BlockList.xml");
        if (!QFile::exists(file))
            continue;
        ++found;
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&f);
        QStringList names;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("block"))
                names.append(xml.attributes().value(QLatin1String("block-list:abbreviated-name")).toString());
        }
        ui.clearRecords();
        const bool done = OpenDocumentFile(workbench, DocumentKind::AutoText, ui, file).done();
        if (names.isEmpty()) {
            EXPECT_FALSE(done) << name.toStdString();
            EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral(".XML file has no valid entries.")});
            continue;
        }
        ASSERT_TRUE(done) << name.toStdString();
        QStringList read;
        for (const AutoTextEntry &entry : workbench.autotext.entries)
            read.append(entry.abbreviatedName);
        EXPECT_EQ(read, names) << name.toStdString();
        if (name == QLatin1String("en-US/standard")) {
            EXPECT_EQ(workbench.autotext.entries.first().content, QStringLiteral("Attention:\n"));
        }
    }
    if (found == 0)
        GTEST_SKIP() << "corpus not present";
}

namespace {

QByteArray catalogueOf(const QStringList &packages)
{
    QByteArray catalogue = catalogueStart;
    for (const QString &package : packages) {
        catalogue += "<block-list:block block-list:abbreviated-name=\"" + package.toUtf8() +
                     "\" block-list:package-name=\"" + package.toUtf8() + "\" block-list:name=\"n\"/>";
    }
    return catalogue + "</block-list:block-list>";
}

} // namespace

// Many entries may name one content file: through one package, or packages whose files
// are links or hard links to it. It is read once and its content shared, so a budget
// that holds one reading holds them all; files that do not fit stop the load, and the
// catalogue shown stays.
TEST_F(AutoTextFilesTest, ContentFilesAreReadOncePerFile)
{
    QByteArray body;
    for (int i = 0; i < 2000; ++i)
        body += "<text:p>line " + QByteArray::number(i) + "</text:p>";
    const QByteArray xml = paragraphs(body);
    write(QStringLiteral("P/content.xml"), xml);
    QDir().mkpath(path(QStringLiteral("L")));
    QDir().mkpath(path(QStringLiteral("H")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("P/content.xml")), path(QStringLiteral("L/content.xml"))));
    ASSERT_EQ(::link(QFile::encodeName(path(QStringLiteral("P/content.xml"))).constData(),
                     QFile::encodeName(path(QStringLiteral("H/content.xml"))).constData()),
              0);
    write(QStringLiteral("O/content.xml"), xml + " "); // the same text in another file
    QStringList packages;
    for (int i = 0; i < 300; ++i)
        packages << QStringLiteral("P") << QStringLiteral("L") << QStringLiteral("H");
    write(QStringLiteral("BlockList.xml"), catalogueOf(packages));
    const QString catalogue = path(QStringLiteral("BlockList.xml"));
    // Room for the catalogue's text and one reading of the content file, not two.
    const qint64 budget = 2 * QFile(catalogue).size() + 7 * (xml.size() + 1) + 1000;
    const MainSettings settings;

    AutoTextList list;
    const AutoTextFileResult result = ReadAutoTextFile(ui, settings, catalogue, list, budget);
    ASSERT_TRUE(result.done());
    EXPECT_TRUE(ui.messages.isEmpty());
    ASSERT_EQ(list.entries.size(), packages.size());
    const QString content = AutoTextContent(QString::fromUtf8(xml));
    EXPECT_TRUE(content.startsWith(QStringLiteral("line 0\nline 1\n")));
    for (const AutoTextEntry &entry : list.entries)
        ASSERT_EQ(entry.content, content);
    EXPECT_EQ(result.contentBytes, qint64(packages.size()) * xml.size()); // every entry's file counts

    // A second file of the same text is a second reading: past a budget for one.
    ui.clearRecords();
    write(QStringLiteral("BlockList.xml"), catalogueOf({QStringLiteral("P"), QStringLiteral("O")}));
    workbench.autotext = list;
    AutoTextList other;
    const qint64 smallBudget = 2 * QFile(catalogue).size() + 7 * (xml.size() + 1) + 1000;
    const AutoTextFileResult over = ReadAutoTextFile(ui, settings, catalogue, other, smallBudget);
    EXPECT_EQ(over.outcome, FileOutcome::Failed);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Not enough memory to read the content files of this list.")});
    EXPECT_EQ(ui.messages.first().title, QStringLiteral("Error"));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
}

// A content file that is a FIFO (or a device, or a folder) is not read: opening a FIFO
// waits for a writer forever. The first one is named; its entries get no content.
TEST_F(AutoTextFilesTest, OnlyRegularContentFilesAreRead)
{
    write(QStringLiteral("R/content.xml"), paragraphs("<text:p>read</text:p>"));
    QDir().mkpath(path(QStringLiteral("F")));
    QDir().mkpath(path(QStringLiteral("D/content.xml")));
    const QString fifo = path(QStringLiteral("F/content.xml"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    write(QStringLiteral("BlockList.xml"),
          catalogueOf({QStringLiteral("F"), QStringLiteral("R"), QStringLiteral("F"), QStringLiteral("D")}));
    ASSERT_TRUE(OpenDocumentFile(workbench, DocumentKind::AutoText, ui, path(QStringLiteral("BlockList.xml"))).done());
    EXPECT_EQ(ui.messageTexts(),
              QStringList{QStringLiteral("Can't read the file:\n%1\n\nNot a regular file.").arg(QDir::toNativeSeparators(fifo))});
    EXPECT_EQ(ui.messages.first().title, QStringLiteral("Error"));
    QStringList contents;
    for (const AutoTextEntry &entry : workbench.autotext.entries)
        contents << entry.content;
    EXPECT_EQ(contents, (QStringList{QString(), QStringLiteral("read\n"), QString(), QString()}));
}

// A catalogue beside the complete file of a cut-off save is opened as every kind's file
// is: Yes puts the new file in place and reads it, No reads nothing.
TEST_F(AutoTextFilesTest, InterruptedSaveIsOfferedBeforeReading)
{
    const QString catalogue = path(QStringLiteral("BlockList.xml"));
    for (const bool yes : {false, true}) {
        ui.clearRecords();
        write(QStringLiteral("BlockList.xml"), catalogueOf({QStringLiteral("old")}));
        write(QStringLiteral("BlockList.xml.lxm-ready"), catalogueOf({QStringLiteral("new")}));
        ui.answers = {yes};
        AutoTextList list;
        const AutoTextFileResult result = ReadAutoTextFile(ui, MainSettings(), catalogue, list);
        EXPECT_EQ(ui.messageTexts(),
                  QStringList{QStringLiteral("The last save of\n%1\nwas interrupted, but the file it wrote is "
                                             "complete.\n\nFinish that save and open it?")
                                  .arg(QDir::toNativeSeparators(catalogue))});
        if (yes) {
            ASSERT_TRUE(result.done());
            ASSERT_EQ(list.entries.size(), 1);
            EXPECT_EQ(list.entries[0].packageName, QStringLiteral("new"));
            EXPECT_FALSE(QFile::exists(catalogue + QStringLiteral(".lxm-ready")));
        } else {
            EXPECT_EQ(result.outcome, FileOutcome::Cancelled);
            EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
            EXPECT_TRUE(QFile::exists(catalogue + QStringLiteral(".lxm-ready")));
        }
    }
}
