#include "core/autocorrect/autotext_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "core/app/document_files.h"
#include "core/app/workbench.h"
#include "core/autocorrect/autocorrect_list.h"
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
