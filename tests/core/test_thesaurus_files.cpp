#include "core/thesaurus/thesaurus_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/app/document_files.h"
#include "core/app/tab_labels.h"
#include "core/app/workbench.h"
#include "core/shell/long_task.h"
#include "core/shell/recent_files.h"
#include "core/thesaurus/thesaurus_document.h"

#include "gtest_qt_printers.h"
#include "scripted_ui.h"
#include "test_files.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::readFile;
using lexaloom::testing::ScriptedUi;

namespace {

const QByteArray bom("\xEF\xBB\xBF");

QStringList entriesOf(const ThesaurusDocument &document)
{
    QStringList list;
    for (qint64 i = 0; i < document.entries.size(); ++i)
        list.append(document.entries.at(i));
    return list;
}

// "#" separates the entries, "/" stands for the "\n" within one.
QStringList split(const char *entries)
{
    if (!*entries)
        return {};
    QStringList list = QString::fromUtf8(entries).split(u'#');
    for (QString &entry : list)
        entry.replace(u'/', u'\n');
    return list;
}

class ThesaurusFilesTest : public ::testing::Test {
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

    DocumentLoadResult load(const QByteArray &dat, const char *name = "th.dat")
    {
        write(name, dat);
        return OpenDocumentFile(workbench, DocumentKind::Thesaurus, ui, path(name));
    }

    FileResult saveAs(const char *name)
    {
        ui.savePaths.push_back(path(name));
        return SaveDocumentFile(workbench, DocumentKind::Thesaurus, ui, false, true);
    }

    // A changed document with an undo step, loaded from old.dat: what a refused or
    // failed load must leave exactly as it was.
    void prepareExistingDocument()
    {
        ASSERT_TRUE(load("UTF-8\nold|1\n(noun)|x\n", "old.dat").done());
        ThesaurusDocument &d = workbench.thesaurus;
        d.undoSnapshot = ListSnapshot{};
        d.changed = true;
        d.selectedIndex = 0;
        d.entries.setMarked(0, true);
        ui.clearRecords();
    }

    void expectExistingDocument() const
    {
        const ThesaurusDocument &d = workbench.thesaurus;
        EXPECT_EQ(entriesOf(d), split("old|1/(noun)|x"));
        EXPECT_EQ(d.path, path("old.dat"));
        EXPECT_EQ(d.encodingLine, QStringLiteral("UTF-8"));
        EXPECT_TRUE(d.hasUndoStep());
        EXPECT_TRUE(d.changed);
        EXPECT_EQ(d.selectedIndex, 0);
        EXPECT_EQ(d.entries.markedCount(), 1);
    }
};

} // namespace

TEST(ThesaurusEntryPartsTest, HeaderWordAndCount)
{
    const struct {
        const char *entry;
        const char *header;
        const char *word;
        int count;
    } cases[] = {
        {"cat|2\n(noun)|feline\n(noun)|big cat", "cat|2", "cat", 2},
        {"ice cream|1\n(noun)|dessert", "ice cream|1", "ice cream", 1},
        {"", "", "", 0},
        {"no bar", "no bar", "no bar", 0},
        {"word|", "word|", "word", 0},
        {"word|x3", "word|x3", "word", 0},
        {"word|12|extra", "word|12|extra", "word", 12},
        {"abc|101", "abc|101", "abc", 101},
        {"abc|99999999999999999999", "abc|99999999999999999999", "abc", 100000},
        // As the thesaurus library's integer conversion reads the count.
        {"cat| 2", "cat| 2", "cat", 2},
        {"cat|\t3", "cat|\t3", "cat", 3},
        {"cat|+4", "cat|+4", "cat", 4},
        {"cat|-2", "cat|-2", "cat", 0},
        {"cat| x", "cat| x", "cat", 0},
    };
    for (const auto &c : cases) {
        const QString entry = QString::fromUtf8(c.entry);
        EXPECT_EQ(HeaderOf(entry).toString(), QString::fromUtf8(c.header)) << c.entry;
        EXPECT_EQ(HeadWordOf(entry).toString(), QString::fromUtf8(c.word)) << c.entry;
        EXPECT_EQ(MeaningCountOf(HeaderOf(entry)), c.count) << c.entry;
    }
}

// The index is the .dat's name with ".idx" in place of ".dat", in the same folder, and
// never a name cut out of the folder's.
TEST(ThesaurusEntryPartsTest, IndexPathStaysBesideTheDat)
{
    const struct {
        const char *dat;
        const char *idx;
    } cases[] = {
        {"/a/th_en.dat", "/a/th_en.idx"},
        {"/a/WORDS.DAT", "/a/WORDS.idx"},
        {"/d/o/out", "/d/o/out.idx"},
        {"/d/o/ab", "/d/o/ab.idx"},
        {"/d/o/a", "/d/o/a.idx"},
        {"/d/o.dat/out", "/d/o.dat/out.idx"},
        {"/d/x.idx", "/d/x.idx.idx"},
        {"/d/.dat", "/d/.idx"},
        {"C:\\th\\words", "C:\\th\\words.idx"},
        {"dat", "dat.idx"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IndexPathFor(QString::fromUtf8(c.dat)), QString::fromUtf8(c.idx)) << c.dat;

    // Saved as o/out, the pair is o/out and o/out.idx; the unrelated o.idx stays.
    QTemporaryDir dir;
    {
        QFile unrelated(dir.filePath(QStringLiteral("o.idx")));
        ASSERT_TRUE(unrelated.open(QIODevice::WriteOnly));
        unrelated.write("not an index");
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("o")));
    ThesaurusDocument document;
    document.entries.append(u"cat|1\n(noun)|feline");
    ScriptedUi ui;
    const MainSettings settings;
    ASSERT_TRUE(WriteThesaurusFiles(ui, settings, document, dir.filePath(QStringLiteral("o/out"))).done());
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("o.idx"))), QByteArray("not an index"));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("o/out.idx"))), QByteArray("UTF-8\n1\ncat|9\n"));
    EXPECT_TRUE(readFile(dir.filePath(QStringLiteral("o/out"))).endsWith("UTF-8\ncat|1\n(noun)|feline\n"));
}

TEST_F(ThesaurusFilesTest, LoadsEntriesWithStatusAndRecentFile)
{
    write("th.idx", QByteArray(25, 'x'));
    const DocumentLoadResult result = load(bom + "UTF-8\ncat|2\n(noun)|feline\n(noun)|big cat\n");
    ASSERT_TRUE(result.done());
    const ThesaurusDocument &d = workbench.thesaurus;
    EXPECT_EQ(entriesOf(d), split("cat|2/(noun)|feline/(noun)|big cat"));
    EXPECT_EQ(d.encodingLine, QStringLiteral("UTF-8"));
    EXPECT_EQ(d.path, path("th.dat"));
    EXPECT_FALSE(d.changed);
    EXPECT_EQ(d.selectedIndex, -1);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ui.statuses.first(), QStringLiteral("Loading Thesaurus... <ESC> to abort."));
    EXPECT_EQ(ui.statusText(), QStringLiteral("OK. (idx:25 bytes)+(dat:44 bytes) \u231A00m00s"));
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::Thesaurus).first(), path("th.dat"));
    EXPECT_EQ(TabFileInfo(workbench, DocumentKind::Thesaurus).counter, QStringLiteral("# Synonyms:1"));
}

TEST_F(ThesaurusFilesTest, HeadersLineEndsAndMissingLines)
{
    const struct {
        QByteArray dat;
        const char *entries;
    } cases[] = {
        {"UTF-8\ncat|2\n(noun)|feline\n(noun)|big cat\n", "cat|2/(noun)|feline/(noun)|big cat"},
        {bom + "UTF-8\ncat|2\n(noun)|feline\n(noun)|big cat\n", "cat|2/(noun)|feline/(noun)|big cat"},
        {"UTF-8\r\ncat|2\r\na\r\nb\r\ndog|1\rc\r", "cat|2/a/b#dog|1/c"},
        {"UTF-8\ncat|2\na\r\nb\nx|0\n", "cat|2/a/b#x|0"},
        // A count larger than the lines left reads empty lines at the end of the file.
        {"UTF-8\ncat|3\na\n", "cat|3/a//"},
        {"UTF-8\ncat|2\na", "cat|2/a/"},
        // A header is read wherever one is expected: a blank line there is an entry.
        {"UTF-8\ncat|1\na\n\ndog|1\nb\n", "cat|1/a##dog|1/b"},
        {"UTF-8\na|1\nx\n\n", "a|1/x#"},
        {"UTF-8\nno count\nnext|0\n", "no count#next|0"},
        // A space after the bar is read past, as the thesaurus library reads the count.
        {"UTF-8\ncat| 2\na\nb\ndog|1\nc\n", "cat| 2/a/b#dog|1/c"},
        {"UTF-8\n", ""},
        {"UTF-8", ""},
        {"UTF-8\ncafé|1\n(noun)|coffee bar\n", "café|1/(noun)|coffee bar"},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(load(c.dat).done()) << c.dat.constData();
        EXPECT_EQ(entriesOf(workbench.thesaurus), split(c.entries)) << c.dat.constData();
    }
}

TEST_F(ThesaurusFilesTest, EncodingLineQuestion)
{
    const QString question = QStringLiteral(
        "Thesaurus is not in \"UTF-8-BOM\" format:\nISO8859-1\n\nIt may lead to corrupt results.\nContinue?");
    for (const char *line : {"utf-8", "UTF-8", "Utf-8"}) {
        ASSERT_TRUE(load(QByteArray(line) + "\na|0\n").done()) << line;
        EXPECT_TRUE(ui.messages.isEmpty()) << line;
        EXPECT_EQ(workbench.thesaurus.encodingLine, QString::fromUtf8(line)); // kept as read
    }

    prepareExistingDocument();
    const QString changed = QStringLiteral("The Thesaurus has been changed.\n\nContinue?");
    ui.answers = {true, false};
    EXPECT_FALSE(load("ISO8859-1\na|0\n").done());
    EXPECT_EQ(ui.messageTexts(), (QStringList{changed, question}));
    EXPECT_EQ(ui.messages.last().title, QStringLiteral("Warning!"));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    expectExistingDocument();

    ui.answers = {true, true};
    ASSERT_TRUE(load("ISO8859-1\na|0\n").done());
    EXPECT_EQ(workbench.thesaurus.encodingLine, QStringLiteral("ISO8859-1"));
}

TEST_F(ThesaurusFilesTest, MeaningLimitStopsTheLoadAndKeepsTheOpenDocument)
{
    QByteArray hundred = "UTF-8\nabc|100\n";
    for (int i = 0; i < 100; ++i)
        hundred += "(noun)|m" + QByteArray::number(i) + "\n";
    ASSERT_TRUE(load(hundred).done());
    EXPECT_EQ(workbench.thesaurus.entries.view(0).count(u'\n'), 100);

    prepareExistingDocument();
    ui.answers = {true};
    EXPECT_FALSE(load("UTF-8\nok|0\nabc|101\nx\n").done());
    EXPECT_EQ(ui.messageTexts().last(), QStringLiteral("Found synonym with more than 100 meanings."));
    EXPECT_EQ(ui.messages.last().title, QStringLiteral("Warning!"));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    expectExistingDocument();
}

TEST_F(ThesaurusFilesTest, RefusedMissingAndAbortedLoadsChangeNothing)
{
    prepareExistingDocument();
    // The changed question answered No.
    ui.answers = {false};
    EXPECT_FALSE(OpenDocumentFile(workbench, DocumentKind::Thesaurus, ui, path("old.dat")).done());
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("The Thesaurus has been changed.\n\nContinue?")});
    expectExistingDocument();

    // The open dialog cancelled.
    ui.clearRecords();
    ui.answers = {true};
    EXPECT_FALSE(OpenDocumentFile(workbench, DocumentKind::Thesaurus, ui).done());
    EXPECT_EQ(ui.dialogTitles, QStringList{QStringLiteral("Open Thesaurus")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    expectExistingDocument();

    // A missing file and an empty one.
    for (const char *name : {"missing.dat", "empty.dat"}) {
        if (QByteArray(name) == "empty.dat")
            write(name, QByteArray());
        ui.clearRecords();
        ui.answers = {true};
        EXPECT_EQ(OpenDocumentFile(workbench, DocumentKind::Thesaurus, ui, path(name)).outcome, FileOutcome::Failed);
        EXPECT_EQ(ui.messageTexts().last(), QStringLiteral("File not found."));
        EXPECT_EQ(ui.messages.last().title, QStringLiteral("Error"));
        EXPECT_EQ(ui.statusText(), QStringLiteral("File not found."));
        expectExistingDocument();
    }

    // Escape during the load, confirmed.
    QByteArray big = "UTF-8\n";
    for (int i = 0; i < 2000; ++i)
        big += "w" + QByteArray::number(i) + "|1\n(noun)|x\n";
    write("big.dat", big);
    ui.clearRecords();
    ui.answers = {true, true};
    ui.onProcessEvents = [](ScriptedUi &u) {
        u.fakeClock.advance(1000);
        u.pressEscape();
    };
    EXPECT_FALSE(OpenDocumentFile(workbench, DocumentKind::Thesaurus, ui, path("big.dat")).done());
    ui.onProcessEvents = nullptr;
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    expectExistingDocument();
}

TEST_F(ThesaurusFilesTest, ReadingNeverCreatesTheIndex)
{
    ASSERT_TRUE(load("UTF-8\na|0\n").done());
    EXPECT_FALSE(QFileInfo::exists(path("th.idx")));
    EXPECT_EQ(ui.statusText(), QStringLiteral("OK. (idx:0 bytes)+(dat:10 bytes) \u231A00m00s"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("th.dat")});
}

TEST_F(ThesaurusFilesTest, SaveWritesBothFilesWithOffsetsAndByteOrderedIndex)
{
    // Without a byte-order mark on load; list order is not byte order.
    ASSERT_TRUE(load("UTF-8\r\nzebra|1\r\n(noun)|equine\r\ncafé|1\r\n(noun)|bar\r\ncat|2\r\na\r\nb\r\n").done());
    ASSERT_TRUE(saveAs("out").done());
    const QByteArray dat = readFile(path("out.dat"));
    const QByteArray idx = readFile(path("out.idx"));
    EXPECT_EQ(dat, bom + "UTF-8\nzebra|1\n(noun)|equine\ncafé|1\n(noun)|bar\ncat|2\na\nb\n");
    // zebra at 9 (BOM, "UTF-8", LF), café after zebra's 22 bytes; in bytes "caf\xC3" < "cat".
    // The index has no byte-order mark: its readers take its first line as the encoding.
    EXPECT_EQ(idx, "UTF-8\n3\ncafé|31\ncat|50\nzebra|9\n");
    for (const QByteArray &line : idx.split('\n').mid(2)) {
        if (line.isEmpty())
            continue;
        const qint64 offset = line.mid(line.indexOf('|') + 1).toLongLong();
        EXPECT_TRUE(dat.mid(offset).startsWith(line.left(line.indexOf('|') + 1))) << line.constData();
    }
    const ThesaurusDocument &d = workbench.thesaurus;
    EXPECT_EQ(d.path, path("out.dat"));
    EXPECT_FALSE(d.changed);
    EXPECT_EQ(ui.dialogTitles.last(), QStringLiteral("Save Thesaurus"));
    EXPECT_EQ(ui.statusText(), QStringLiteral("OK. (idx:32 bytes)+(dat:60 bytes) \u231A00m00s"));
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::Thesaurus).first(), path("out.dat"));
}

TEST_F(ThesaurusFilesTest, SaveTrustsTheHeaderCountAndHandlesOddHeaders)
{
    ThesaurusDocument &d = workbench.thesaurus;
    d.encodingLine.clear();
    for (const char *entry : {"two|2\na", "one|1\na\nextra", "|0", "", "plain"})
        d.entries.append(QString::fromUtf8(entry));
    ASSERT_TRUE(saveAs("odd.dat").done());
    EXPECT_EQ(readFile(path("odd.dat")), bom + "UTF-8\ntwo|2\na\n\none|1\na\n|0\n\nplain\n");
    // Headers without "|" give lines of the offset alone; the empty head word sorts first.
    EXPECT_EQ(readFile(path("odd.idx")), "UTF-8\n5\n|26\n29\n30\none|18\ntwo|9\n");
    EXPECT_EQ(d.encodingLine, QStringLiteral("UTF-8"));
}

TEST_F(ThesaurusFilesTest, SaveTargetsAndRefusals)
{
    // Nothing to save.
    EXPECT_FALSE(SaveDocumentFile(workbench, DocumentKind::Thesaurus, ui, true, false).done());
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No synonyms found.")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    workbench.thesaurus.entries.append(u"a|0");
    workbench.thesaurus.changed = true;
    const struct {
        const char *chosen;
        const char *written;
    } names[] = {{"words", "words.dat"}, {"WORDS.DAT", "WORDS.DAT"}, {"x.dat.txt", "x.dat.txt.dat"}};
    for (const auto &n : names) {
        ASSERT_TRUE(saveAs(n.chosen).done()) << n.chosen;
        EXPECT_EQ(workbench.thesaurus.path, path(n.written));
        EXPECT_TRUE(QFileInfo::exists(IndexPathFor(path(n.written)))) << n.written;
    }

    // Overwrite declined: nothing written, nothing changed.
    write("keep.dat", "old");
    workbench.thesaurus.changed = true;
    ui.clearRecords();
    ui.savePaths.push_back(path("keep.dat"));
    ui.answers = {false};
    EXPECT_FALSE(SaveDocumentFile(workbench, DocumentKind::Thesaurus, ui, false, true).done());
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("File already exists! Overwrite it?")});
    EXPECT_EQ(readFile(path("keep.dat")), QByteArray("old"));
    EXPECT_TRUE(workbench.thesaurus.changed);

    // A plain Save over the current file asks nothing.
    ui.clearRecords();
    ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Thesaurus, ui, true, false).done());
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.dialogTitles.isEmpty());
}

TEST_F(ThesaurusFilesTest, AbortedOrFailedSaveKeepsTheOldPair)
{
    ASSERT_TRUE(load("UTF-8\nold|0\n", "th.dat").done());
    ASSERT_TRUE(SaveDocumentFile(workbench, DocumentKind::Thesaurus, ui, true, false).done());
    const QByteArray oldDat = readFile(path("th.dat"));
    const QByteArray oldIdx = readFile(path("th.idx"));

    ThesaurusDocument &d = workbench.thesaurus;
    for (int i = 0; i < 3000; ++i)
        d.entries.append(QStringLiteral("w%1|1\n(noun)|x").arg(i));
    d.changed = true;
    ui.clearRecords();
    ui.answers = {true};
    ui.onProcessEvents = [](ScriptedUi &u) {
        u.fakeClock.advance(1000);
        u.pressEscape();
    };
    EXPECT_FALSE(SaveDocumentFile(workbench, DocumentKind::Thesaurus, ui, true, false).done());
    ui.onProcessEvents = nullptr;
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(readFile(path("th.dat")), oldDat);
    EXPECT_EQ(readFile(path("th.idx")), oldIdx);
    EXPECT_TRUE(d.changed);
    EXPECT_EQ(d.path, path("th.dat"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);

    // A folder where the index goes: the write fails and the .dat keeps its bytes.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("blocked.idx")));
    write("blocked.dat", "old bytes");
    ui.clearRecords();
    ui.savePaths.push_back(path("blocked.dat"));
    ui.answers = {true};
    EXPECT_EQ(SaveDocumentFile(workbench, DocumentKind::Thesaurus, ui, false, true).outcome, FileOutcome::Failed);
    EXPECT_TRUE(ui.messageTexts().last().startsWith(QStringLiteral("Can't write the file:\n")));
    EXPECT_EQ(readFile(path("blocked.dat")), QByteArray("old bytes"));
    EXPECT_EQ(d.path, path("th.dat"));
    EXPECT_TRUE(d.changed);
}

TEST_F(ThesaurusFilesTest, RoundTripKeepsTheDatApartFromTheByteOrderMark)
{
    const QByteArray body = "UTF-8\ncat|2\n(noun)|feline\n(noun)|big cat\n\nx|1\n(noun)|y\n";
    ASSERT_TRUE(load(body).done());
    ASSERT_TRUE(saveAs("copy.dat").done());
    EXPECT_EQ(readFile(path("copy.dat")), bom + body);
    ASSERT_TRUE(OpenDocumentFile(workbench, DocumentKind::Thesaurus, ui, path("copy.dat")).done());
    ASSERT_TRUE(saveAs("copy2.dat").done());
    EXPECT_EQ(readFile(path("copy2.dat")), bom + body);
    EXPECT_EQ(readFile(path("copy2.idx")), readFile(path("copy.idx")));
}

// The real thesaurus: the saved .dat is the original with a byte-order mark, and every
// index line, in byte order of its head word, points at that word's header.
TEST_F(ThesaurusFilesTest, RealThesaurusRoundTripAndIndex)
{
    const QString corpus = corpusRoot();
    const QString original = corpus + QStringLiteral("/thesaurus/th_en_US_v2.dat");
    if (!QFileInfo::exists(original))
        GTEST_SKIP() << "the real thesaurus is not in the corpus";
    ASSERT_TRUE(OpenDocumentFile(workbench, DocumentKind::Thesaurus, ui, original).done());
    EXPECT_EQ(workbench.thesaurus.entries.size(), 145866);
    ASSERT_TRUE(saveAs("th_en_US_v2.dat").done());
    const QByteArray dat = readFile(path("th_en_US_v2.dat"));
    EXPECT_TRUE(dat.sliced(bom.size()) == readFile(original));
    const QList<QByteArray> lines = readFile(path("th_en_US_v2.idx")).split('\n');
    ASSERT_EQ(lines.size(), 145866 + 3);
    EXPECT_EQ(lines[1], QByteArray("145866"));
    QByteArray previous;
    for (qsizetype i = 2; i < lines.size() - 1; ++i) {
        const qsizetype bar = lines[i].indexOf('|');
        const QByteArray head = lines[i].left(bar);
        ASSERT_TRUE(previous <= head) << lines[i].constData();
        const qint64 offset = lines[i].mid(bar + 1).toLongLong();
        ASSERT_TRUE(QByteArrayView(dat).sliced(offset).startsWith(head + '|')) << lines[i].constData();
        previous = head;
    }
}
