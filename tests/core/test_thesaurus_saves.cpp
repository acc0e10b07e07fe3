// Thesaurus saves and loads under faults, and text that is not UTF-8.
#include "core/thesaurus/thesaurus_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/app/workbench.h"
#include "core/thesaurus/thesaurus_document.h"
#include "gtest_qt_printers.h"
#include "save_faults.h"
#include "scripted_ui.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::readFile;
using namespace lexaloom::testing;

namespace {

const QByteArray bom("\xEF\xBB\xBF");

} // namespace

// A Latin-1 word in a file that says UTF-8: its bytes come back as they were, and the
// index still points at its header.
TEST(ThesaurusBytesTest, BytesThatAreNotUtf8SurviveLoadAndSave)
{
    QTemporaryDir dir;
    const QByteArray dat = bom + "UTF-8\ncaf\xE9|1\n(noun)|bar\xFF\ncafé|1\n(noun)|bistro\n";
    WriteFolder(dir.path(), {{"th.dat", dat}});
    Workbench workbench(dir.filePath(QStringLiteral("program")));
    ScriptedUi ui;
    ASSERT_TRUE(
        LoadThesaurus(workbench.thesaurus, workbench.settings, ui, dir.filePath(QStringLiteral("th.dat"))).done());
    EXPECT_EQ(workbench.thesaurus.entries.at(0), QString::fromUtf16(u"caf\xDCE9|1\n(noun)|bar\xDCFF"));

    ui.savePaths = {dir.filePath(QStringLiteral("out.dat"))};
    ASSERT_TRUE(SaveThesaurus(workbench.thesaurus, workbench.settings, ui, false, true).done());
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("out.dat"))), dat);
    // "caf\xC3\xA9" sorts before "caf\xE9" in bytes.
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("out.idx"))), "UTF-8\n2\ncafé|28\ncaf\xE9|9\n");
}

// Every failure of every step of a save leaves the old pair byte for byte and says so;
// a kill at any step leaves a pair the next open finishes or finds whole.
TEST(ThesaurusSaveFaultsTest, EveryFailureAndKillLeavesAWholePair)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString datPath = dir.filePath(QStringLiteral("t.dat"));
    const FolderImage before{{"t.dat", bom + "UTF-8\nold|1\n(noun)|x\n"}, {"t.idx", bom + "UTF-8\n1\nold|9\n"}};
    ThesaurusDocument document;
    document.encodingLine = QStringLiteral("UTF-8");
    QByteArray newDat = bom + "UTF-8\n";
    QByteArray newIdx = "UTF-8\n3000\n";
    QList<QByteArray> indexLines;
    for (int i = 0; i < 3000; ++i) {
        document.entries.append(QStringLiteral("word%1|1\n(noun)|meaning").arg(i));
        indexLines.append("word" + QByteArray::number(i) + "|" + QByteArray::number(newDat.size()));
        newDat += "word" + QByteArray::number(i) + "|1\n(noun)|meaning\n";
    }
    std::sort(indexLines.begin(), indexLines.end(),
              [](const QByteArray &a, const QByteArray &b) { return a.left(a.indexOf('|')) < b.left(b.indexOf('|')); });
    newIdx += indexLines.join('\n') + '\n';
    const FolderImage after{{"t.dat", newDat}, {"t.idx", newIdx}};
    MainSettings settings;

    SaveFaultHarness harness(dir.path(), before, after);
    int messages = 0;
    const auto save = [&](FileOps &ops) {
        ScriptedUi ui;
        const ThesaurusFileResult result = WriteThesaurusFiles(ui, settings, document, datPath, {}, ops);
        if (!result.done()) {
            EXPECT_EQ(result.outcome, FileOutcome::Failed);
            EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
            EXPECT_EQ(ui.messages.size(), 1);
            if (!ui.messages.isEmpty()) {
                EXPECT_EQ(ui.messages[0].title, QStringLiteral("Error"));
                EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Can't write the file:\n")));
                ++messages;
            }
        }
        return result.done();
    };
    // The next open of the pair, answering Yes: true when it asked.
    const auto reopen = [&] {
        ScriptedUi ui;
        ui.answers = {true};
        ThesaurusDocument loaded;
        const ThesaurusFileResult result = ReadThesaurusFile(ui, settings, datPath, loaded);
        EXPECT_TRUE(result.done());
        return ui.messageTexts().contains(saveTexts::interruptedSaveQuestion.arg(QDir::toNativeSeparators(datPath)));
    };
    EXPECT_GT(harness.countSteps(save), 5);
    const QStringList failures = harness.checkEveryFailure(save, reopen);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(messages, 5);
    const QStringList kills = harness.checkEveryKill(save, reopen);
    EXPECT_TRUE(kills.isEmpty()) << kills.join(QLatin1Char('\n')).toStdString();
}
