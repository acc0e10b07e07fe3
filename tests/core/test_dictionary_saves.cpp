// Dictionary saves and loads under faults, and text that is not UTF-8.
#include "core/dictionary/dic_line_reader.h"
#include "core/dictionary/dictionary_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/wordlist_extraction.h"
#include "core/dictionary_tools/aff_panel.h"
#include "core/shell/text_codec.h"
#include "save_faults.h"
#include "scripted_ui.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::readFile;
using namespace lexaloom::testing;

namespace {

const QByteArray bom("\xEF\xBB\xBF");

QStringList entriesOf(const DictionaryDocument &document)
{
    QStringList list;
    for (qint64 i = 0; i < document.entries.size(); ++i)
        list.append(document.entries.at(i));
    return list;
}

} // namespace

// Raw bytes 0x80-0xFF used as affix flags under "SET UTF-8", as real dictionaries do.
TEST(DictionaryBytesTest, BytesThatAreNotUtf8SurviveLoadAndSave)
{
    QTemporaryDir dir;
    const QByteArray aff = bom + "SET UTF-8\nSFX \xE1 Y 1\nSFX \xE1 0 s .\nSFX \xE9 Y 1\nSFX \xE9 0 ed .\n";
    const QByteArray dic = bom + "2\nwalk/\xE1\xE9\ncaf\xC3\xA9/\xE1\tst:\xFF\n";
    WriteFolder(dir.path(), {{"hb.aff", aff}, {"hb.dic", dic}});
    Workbench workbench(dir.filePath(QStringLiteral("program")));
    ScriptedUi ui;
    ui.answers = {true, true};
    ASSERT_TRUE(
        LoadDictionary(workbench.dictionary, workbench.settings, ui, dir.filePath(QStringLiteral("hb.dic"))).done());
    EXPECT_EQ(ui.messageTexts(),
              (QStringList{dictionaryTexts::invalidUtf8Question.arg(QStringLiteral(".AFF"), QStringLiteral("2")),
                           dictionaryTexts::invalidUtf8Question.arg(QStringLiteral(".DIC"), QStringLiteral("2"))}));
    EXPECT_EQ(entriesOf(workbench.dictionary), (QStringList{QString::fromUtf16(u"walk/\xDCE1\xDCE9"),
                                                            QString::fromUtf16(u"caf\x00E9/\xDCE1\nst:\xDCFF")}));

    ui.savePaths = {dir.filePath(QStringLiteral("out/hb.dic"))};
    QDir(dir.path()).mkdir(QStringLiteral("out"));
    ASSERT_TRUE(SaveDictionary(workbench.dictionary, workbench.settings, ui, false, true).done());
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("out/hb.aff"))), aff);
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("out/hb.dic"))), dic);
}

// Every failure of every step of a save leaves the old pair byte for byte and says so;
// a kill at any step leaves a pair the next open finishes or finds whole.
TEST(DictionarySaveFaultsTest, EveryFailureAndKillLeavesAWholePair)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString dicPath = dir.filePath(QStringLiteral("t.dic"));
    const FolderImage before{{"t.dic", bom + "2\nold\nwords\n"}, {"t.aff", bom + "SET UTF-8\n# old\n"}};
    DictionaryDocument document;
    document.affText = QStringLiteral("SET UTF-8\nSFX A Y 1\nSFX A 0 s .\n");
    for (int i = 0; i < 3000; ++i)
        document.entries.append(QStringLiteral("word%1/A\npo:n").arg(i));
    QByteArray newDic = bom + "3000\n";
    for (int i = 0; i < 3000; ++i)
        newDic += "word" + QByteArray::number(i) + "/A\tpo:n\n";
    const FolderImage after{{"t.dic", newDic}, {"t.aff", bom + "SET UTF-8\nSFX A Y 1\nSFX A 0 s .\n"}};
    MainSettings settings;

    SaveFaultHarness harness(dir.path(), before, after);
    int messages = 0;
    const auto save = [&](FileOps &ops) {
        ScriptedUi ui;
        const DictionaryFileResult result = WriteDictionaryFiles(ui, settings, document, dicPath, ops);
        if (!result.done()) {
            EXPECT_EQ(result.outcome, FileOutcome::Failed);
            EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
            EXPECT_EQ(ui.messages.size(), 1);
            if (!ui.messages.isEmpty()) {
                EXPECT_EQ(ui.messages[0].title, QStringLiteral("Error"));
                EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Can't write the file:\n")));
                // ENOSPC from a failed step, EIO from a "killed" one.
                const QString &text = ui.messages[0].text;
                EXPECT_TRUE(text.endsWith(qt_error_string(ENOSPC)) || text.endsWith(qt_error_string(EIO)))
                    << text.toStdString();
                ++messages;
            }
        }
        return result.done();
    };
    // The next open of the pair, answering Yes: true when it asked.
    const auto reopen = [&] {
        ScriptedUi ui;
        ui.answers = {true};
        DictionaryDocument loaded;
        const DictionaryFileResult result = ReadDictionaryFiles(ui, settings, dicPath, loaded);
        EXPECT_TRUE(result.done());
        return ui.messageTexts().contains(saveTexts::interruptedSaveQuestion.arg(QDir::toNativeSeparators(dicPath)));
    };
    const QStringList failures = harness.checkEveryFailure(save, reopen);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(messages, 10);
    const QStringList kills = harness.checkEveryKill(save, reopen);
    EXPECT_TRUE(kills.isEmpty()) << kills.join(QLatin1Char('\n')).toStdString();
}

// A save cut off after its new files were complete: the next open says so and offers
// them; No leaves every file as it is.
TEST(DictionarySaveFaultsTest, OpenAfterAnInterruptedSave)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString dicPath = dir.filePath(QStringLiteral("t.dic"));
    const FolderImage before{{"t.dic", bom + "1\nold\n"}, {"t.aff", bom + "SET UTF-8\n"}};
    DictionaryDocument document;
    document.affText = QStringLiteral("SET UTF-8\nTRY a\n");
    document.entries.append(u"new");
    MainSettings settings;

    // Cut off right after the first new file took its place.
    FolderImage killed;
    for (int at = 1; killed.isEmpty(); ++at) {
        WriteFolder(dir.path(), before);
        FaultyFileOps ops;
        ops.mode = FaultyFileOps::Mode::Kill;
        ops.at = at;
        ScriptedUi ui;
        WriteDictionaryFiles(ui, settings, document, dicPath, ops);
        ASSERT_LT(at, 40);
        const FolderImage image = ReadFolder(dir.path());
        if (image.value("t.dic") == bom + "1\nnew\n" && image.contains("t.aff.lxm-new"))
            killed = image;
    }

    Workbench workbench(dir.filePath(QStringLiteral("program")));
    ScriptedUi ui;
    ui.answers = {false};
    EXPECT_EQ(LoadDictionary(workbench.dictionary, workbench.settings, ui, dicPath).outcome, FileOutcome::Cancelled);
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
    EXPECT_EQ(ui.messages[0].text, saveTexts::interruptedSaveQuestion.arg(QDir::toNativeSeparators(dicPath)));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(ReadFolder(dir.path()), killed);

    ui.clearRecords();
    ui.answers = {true};
    ASSERT_TRUE(LoadDictionary(workbench.dictionary, workbench.settings, ui, dicPath).done());
    EXPECT_EQ(entriesOf(workbench.dictionary), QStringList{"new"});
    EXPECT_EQ(workbench.dictionary.affText, QStringLiteral("SET UTF-8\nTRY a\n"));
    EXPECT_EQ(ReadFolder(dir.path()).keys(), (QStringList{"t.aff", "t.dic"}));
}

// AFF Validate's OK writes the panel back as the .aff text, and extraction writes the
// forms: both keep the bytes.
TEST(DictionaryBytesTest, AffPanelAndExtractionKeepTheBytes)
{
    const QString aff =
        QString::fromUtf16(u"SET UTF-8\nSFX \xDCE1 Y 1\nSFX \xDCE1 0 s .\n# caf\x00E9 \xD83D\xDE00\xDCB3\n");
    AffPanel panel;
    panel.reset(SplitAffLines(aff));
    EXPECT_EQ(panel.joinedText(), aff);

    QTemporaryDir dir;
    Workbench workbench(dir.filePath(QStringLiteral("program")));
    workbench.settings.decodeWarnLimit = 0;
    workbench.dictionary.affText = QStringLiteral("SET UTF-8\n");
    workbench.dictionary.entries.append(QString::fromUtf16(u"caf\xDCE9"));
    workbench.dictionary.entries.append(QString::fromUtf16(u"na\x00EFve\nst:\xDCFF"));
    ScriptedUi ui;
    ui.savePaths = {dir.filePath(QStringLiteral("all.txt"))};
    ASSERT_TRUE(
        ExtractWordlist(workbench.dictionary, workbench.affixTable, workbench.settings, ui, WordlistKind::AllTxt).done);
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("all.txt"))), bom + "caf\xE9\nna\xC3\xAFve\n");
}

// The .dic reader of the command line gives the entries File > Open holds, whatever the
// line ends and wherever they fall around a read block's end.
TEST(DictionaryBytesTest, StreamingReaderAgreesWithTheLoader)
{
    QTemporaryDir dir;
    const QString dicPath = dir.filePath(QStringLiteral("t.dic"));
    WriteFolder(dir.path(), {{"t.aff", "SET UTF-8\n"}});
    MainSettings settings;
    constexpr qsizetype block = DicStreamReader::blockBytes;
    for (const QByteArray &end : {QByteArray("\n"), QByteArray("\r"), QByteArray("\r\n")}) {
        for (qsizetype at = block - 2; at <= block + 1; ++at) {
            QByteArray bytes = bom + "walk/S po:verb" + end; // a first line that is a word, space-separated tags
            const QByteArray tags(500, 't');
            for (int n = 0; bytes.size() + 600 < at; ++n)
                bytes += "w\xC3\xA9" + QByteArray::number(n) + "/AB x:" + tags + end;
            bytes += QByteArray(at - bytes.size(), 'z') + end + "ta\xFFil\tis:last" + end + "after";
            QFile file(dicPath);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.close();

            ScriptedUi ui;
            ui.answers = {true, true, true};
            DictionaryDocument loaded;
            ASSERT_TRUE(ReadDictionaryFiles(ui, settings, dicPath, loaded).done());
            QStringList expected = entriesOf(loaded);
            for (QString &entry : expected)
                entry.replace(u'\n', u'\t');

            ScriptedUi streamUi;
            streamUi.answers = {true, true};
            DicLineReader reader(dicPath, DicQuestionsFor(streamUi, settings));
            QStringList streamed;
            QString line;
            while (reader.next(line))
                streamed.append(line);
            EXPECT_EQ(streamUi.messageTexts(), ui.messageTexts());
            ASSERT_EQ(streamed.size(), expected.size()) << at << ' ' << end.toHex().constData();
            EXPECT_EQ(streamed, expected) << at << ' ' << end.toHex().constData();
            EXPECT_EQ(expected.first(), QStringLiteral("walk/S\tpo:verb"));
            EXPECT_EQ(EncodeLossless(expected.at(expected.size() - 2)), QByteArray("ta\xFFil\tis:last"));
        }
    }
}
