#include "core/shell/atomic_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include "core/shell/file_dialogs.h"
#include "gtest_qt_printers.h"
#include "save_faults.h"
#include "scripted_ui.h"

using namespace lexaloom;
using namespace lexaloom::testing;

namespace {

QByteArray pattern(char c, qsizetype size)
{
    QByteArray bytes(size, c);
    for (qsizetype i = 0; i < size; i += 97)
        bytes[i] = '\n';
    return bytes;
}

// Writes in pieces of several sizes, so both the buffered and the direct path run.
bool writeFile(FileOps &ops, const QString &path, const QByteArray &bytes)
{
    AtomicFileWriter writer(path, ops);
    if (!writer.open())
        return false;
    const qsizetype half = bytes.size() / 2;
    if (!writer.write(QByteArrayView(bytes).first(half)) || !writer.write(QByteArrayView(bytes).sliced(half)))
        return false;
    return writer.commit();
}

bool writePair(FileOps &ops, const QString &first, const QByteArray &firstBytes, const QString &second,
               const QByteArray &secondBytes)
{
    AtomicPairWriter writer(first, second, ops);
    return writer.open() && writer.first().write(firstBytes) && writer.second().write(secondBytes) && writer.commit();
}

// Runs the recovery a loader runs, answering Yes; true when it asked.
bool recoverPair(const QString &first, const QString &second)
{
    ScriptedUi ui;
    ui.answers = {true};
    const PairRecovery outcome = RecoverInterruptedPairSave(ui, first, second);
    EXPECT_NE(outcome, PairRecovery::Failed);
    return !ui.messages.isEmpty();
}

} // namespace

TEST(AtomicWriteTest, SingleFileKeepsItsOldBytesOnEveryFailureAndKill)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString path = dir.filePath(QStringLiteral("lxm3.prefs"));
    const QByteArray newBytes = pattern('n', (5 << 20) / 2); // halves larger than the buffer
    const struct {
        const char *name;
        FolderImage before;
    } cases[] = {
        {"replacing a file", {{QStringLiteral("lxm3.prefs"), pattern('o', 5000)}}},
        {"a new file", {}},
        {"beside a file left by a killed save",
         {{QStringLiteral("lxm3.prefs"), "old"}, {QStringLiteral("lxm3.prefs.lxm-new"), "half"}}},
    };
    for (const auto &c : cases) {
        FolderImage after;
        after.insert(QStringLiteral("lxm3.prefs"), newBytes);
        SaveFaultHarness harness(dir.path(), c.before, after);
        const auto save = [&](FileOps &ops) { return writeFile(ops, path, newBytes); };
        EXPECT_GT(harness.countSteps(save), 5) << c.name;
        // The next save of the same file is what clears a killed save's temporary file.
        const auto saveAgain = [&] {
            EXPECT_TRUE(writeFile(SystemFileOps(), path, newBytes));
            return false;
        };
        for (int failure : {ENOSPC, EIO, EDQUOT}) {
            const QStringList problems = harness.checkEveryFailure(save, saveAgain, failure);
            EXPECT_TRUE(problems.isEmpty()) << c.name << "\n" << problems.join(QLatin1Char('\n')).toStdString();
        }
        const QStringList problems = harness.checkEveryKill(save, saveAgain);
        EXPECT_TRUE(problems.isEmpty()) << c.name << "\n" << problems.join(QLatin1Char('\n')).toStdString();
    }
}

// The next open of a one-file kind finishes a save killed after its new file was
// complete and clears one killed before; settings files do the same without asking.
TEST(AtomicWriteTest, SingleFileSaveKilledAnywhereIsRecoveredAtTheNextOpen)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString path = dir.filePath(QStringLiteral("DocumentList.xml"));
    const FolderImage before{{"DocumentList.xml", "old"}};
    const FolderImage after{{"DocumentList.xml", pattern('n', 3000)}};
    SaveFaultHarness harness(dir.path(), before, after);
    const auto save = [&](FileOps &ops) { return writeFile(ops, path, after["DocumentList.xml"]); };
    const auto askingRecovery = [&] {
        ScriptedUi ui;
        ui.answers = {true};
        EXPECT_EQ(RecoverInterruptedSave(ui, path), PairRecovery::Ready);
        return !ui.messages.isEmpty();
    };
    const auto quietRecovery = [&] {
        FinishInterruptedSaveQuietly(path);
        return false;
    };
    QStringList problems = harness.checkEveryKill(save, askingRecovery);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    problems = harness.checkEveryKill(save, quietRecovery);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    problems = harness.checkEveryFailure(save, askingRecovery, EIO);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
}

TEST(AtomicWriteTest, PairKeepsAWholePairOnEveryFailureAndKill)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString dic = dir.filePath(QStringLiteral("t.dic"));
    const QString aff = dir.filePath(QStringLiteral("t.aff"));
    const QByteArray newDic = pattern('d', 100000);
    const QByteArray newAff = pattern('a', 3000);
    FolderImage after;
    after.insert(QStringLiteral("t.dic"), newDic);
    after.insert(QStringLiteral("t.aff"), newAff);
    after.insert(QStringLiteral("other.txt"), "keep");
    const struct {
        const char *name;
        FolderImage before;
    } cases[] = {
        {"replacing a pair", {{"t.dic", "2\nold\nwords\n"}, {"t.aff", "SET UTF-8\n"}, {"other.txt", "keep"}}},
        {"a new pair", {{"other.txt", "keep"}}},
        {"a pair with one file missing", {{"t.dic", "1\nold\n"}, {"other.txt", "keep"}}},
    };
    for (const auto &c : cases) {
        SaveFaultHarness harness(dir.path(), c.before, after);
        const auto save = [&](FileOps &ops) { return writePair(ops, dic, newDic, aff, newAff); };
        const auto recover = [&] { return recoverPair(dic, aff); };
        for (int failure : {ENOSPC, EIO}) {
            const QStringList problems = harness.checkEveryFailure(save, recover, failure);
            EXPECT_TRUE(problems.isEmpty()) << c.name << "\n" << problems.join(QLatin1Char('\n')).toStdString();
        }
        const QStringList problems = harness.checkEveryKill(save, recover);
        EXPECT_TRUE(problems.isEmpty()) << c.name << "\n" << problems.join(QLatin1Char('\n')).toStdString();
    }
}

// A pair whose two names are one file (File > Open given the .aff itself, an output
// named like its own other half) is refused before anything is written.
TEST(AtomicWriteTest, PairRefusesHalvesThatAreOneFile)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    const QString aff = dir.filePath(QStringLiteral("t.aff"));
    const struct {
        const char *name;
        QString second;
        bool existing;
    } cases[] = {
        {"one name twice", aff, true},
        {"through a folder step", dir.filePath(QStringLiteral("sub/../t.aff")), true},
        {"through a link", dir.filePath(QStringLiteral("link.aff")), true},
        {"a hard link", dir.filePath(QStringLiteral("hard.aff")), true},
        {"a new file named twice", aff, false},
    };
    for (const auto &c : cases) {
        WriteFolder(dir.path(), c.existing ? FolderImage{{"t.aff", "SET UTF-8\n"}} : FolderImage{});
        QFile::remove(dir.filePath(QStringLiteral("link.aff")));
        QFile::link(aff, dir.filePath(QStringLiteral("link.aff")));
        if (c.existing) {
            const QByteArray hard = QFile::encodeName(dir.filePath(QStringLiteral("hard.aff")));
            ASSERT_EQ(::link(QFile::encodeName(aff).constData(), hard.constData()), 0);
        }
        const FolderImage before = ReadFolder(dir.path());
        AtomicPairWriter writer(aff, c.second);
        EXPECT_FALSE(writer.open() && writer.first().write("1\nnew\n") && writer.second().write("new aff\n") &&
                     writer.commit())
            << c.name;
        EXPECT_EQ(writer.errorString(), QStringLiteral("Both files of the pair are the same file.")) << c.name;
        EXPECT_EQ(writer.failedPath(), c.second) << c.name;
        EXPECT_EQ(ReadFolder(dir.path()), before) << c.name;
    }
    EXPECT_FALSE(IsSameFile(aff, dir.filePath(QStringLiteral("t.dic"))));
}

// A save through a symbolic link writes the file the link leads to, as an editor does:
// the link stays a link and nothing is left beside either.
TEST(AtomicWriteTest, SavesWriteThroughLinks)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString real = dir.filePath(QStringLiteral("real"));
    const QString here = dir.filePath(QStringLiteral("here"));
    const auto reset = [&] {
        QDir(real).removeRecursively();
        QDir(here).removeRecursively();
        WriteFolder(real, {{"t.dic", "1\nold\n"}, {"t.aff", "old aff\n"}, {"lxm3.prefs", "old"}});
        QDir().mkpath(here);
    };
    const struct {
        const char *name;
        QString link;   // made in here/ as the name the save is given
        QString target; // the link's text
    } singles[] = {
        {"an absolute link", QStringLiteral("prefs"), real + QStringLiteral("/lxm3.prefs")},
        {"a relative link", QStringLiteral("prefs"), QStringLiteral("../real/lxm3.prefs")},
        {"a link to a link", QStringLiteral("prefs"), QStringLiteral("hop")},
        {"a dangling link", QStringLiteral("prefs"), QStringLiteral("../real/new.prefs")},
    };
    for (const auto &c : singles) {
        reset();
        QFile::link(QStringLiteral("../real/lxm3.prefs"), here + QStringLiteral("/hop"));
        ASSERT_TRUE(QFile::link(c.target, here + QLatin1Char('/') + c.link)) << c.name;
        const QString linkPath = here + QLatin1Char('/') + c.link;
        const QString targetPath = SaveTargetFor(linkPath);
        EXPECT_TRUE(writeFile(SystemFileOps(), linkPath, "new")) << c.name;
        EXPECT_TRUE(QFileInfo(linkPath).isSymLink()) << c.name;
        EXPECT_EQ(QFileInfo(targetPath).canonicalFilePath().section(QLatin1Char('/'), 0, -2),
                  QFileInfo(real).canonicalFilePath())
            << c.name;
        QFile target(targetPath);
        ASSERT_TRUE(target.open(QIODevice::ReadOnly)) << c.name;
        EXPECT_EQ(target.readAll(), "new") << c.name;
        EXPECT_EQ(QDir(here).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 2) << c.name;
    }

    // A pair of links into another folder: both targets get the new pair, whole.
    reset();
    const QString dic = here + QStringLiteral("/t.dic");
    const QString aff = here + QStringLiteral("/t.aff");
    QFile::link(QStringLiteral("../real/t.dic"), dic);
    QFile::link(real + QStringLiteral("/t.aff"), aff);
    EXPECT_TRUE(writePair(SystemFileOps(), dic, "1\nnew\n", aff, "new aff\n"));
    EXPECT_TRUE(QFileInfo(dic).isSymLink() && QFileInfo(aff).isSymLink());
    EXPECT_EQ(ReadFolder(real), (FolderImage{{"t.dic", "1\nnew\n"}, {"t.aff", "new aff\n"}, {"lxm3.prefs", "old"}}));

    // Killed anywhere, the pair behind the links is whole, or the recovery the loader
    // runs through the links finishes it.
    const FolderImage before{{"t.dic", "1\nold\n"}, {"t.aff", "old aff\n"}, {"lxm3.prefs", "old"}};
    const FolderImage after{{"t.dic", "1\nnew\n"}, {"t.aff", "new aff\n"}, {"lxm3.prefs", "old"}};
    SaveFaultHarness harness(real, before, after);
    const auto save = [&](FileOps &ops) { return writePair(ops, dic, after["t.dic"], aff, after["t.aff"]); };
    const QStringList problems = harness.checkEveryKill(save, [&] { return recoverPair(dic, aff); });
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
}

TEST(AtomicWriteTest, RecoveryAsksOnlyForAnUnfinishedPairAndNoLeavesTheFiles)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString dic = dir.filePath(QStringLiteral("t.dic"));
    const QString aff = dir.filePath(QStringLiteral("t.aff"));
    const FolderImage before{{"t.dic", "1\nold\n"}, {"t.aff", "old aff\n"}};
    const FolderImage after{{"t.dic", "1\nnew\n"}, {"t.aff", "new aff\n"}};
    SaveFaultHarness harness(dir.path(), before, after);
    const auto save = [&](FileOps &ops) { return writePair(ops, dic, after["t.dic"], aff, after["t.aff"]); };
    const int steps = harness.countSteps(save);
    ASSERT_GT(steps, 0);

    int asked = 0;
    for (int at = 1; at <= steps; ++at) {
        WriteFolder(dir.path(), before);
        FaultyFileOps ops;
        ops.mode = FaultyFileOps::Mode::Kill;
        ops.at = at;
        save(ops);
        const FolderImage killed = ReadFolder(dir.path());
        ScriptedUi ui;
        ui.answers = {false};
        const PairRecovery outcome = RecoverInterruptedPairSave(ui, dic, aff);
        if (ui.messages.isEmpty()) {
            EXPECT_EQ(outcome, PairRecovery::Ready) << at;
            continue;
        }
        ++asked;
        EXPECT_EQ(outcome, PairRecovery::Declined) << at;
        EXPECT_EQ(ui.messages.first().title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages.first().text,
                  QStringLiteral("The last save of\n%1\nwas interrupted, but the files it wrote are complete.\n\n"
                                 "Finish that save and open them?")
                      .arg(QDir::toNativeSeparators(dic)));
        EXPECT_EQ(ReadFolder(dir.path()), killed) << at;
    }
    EXPECT_GE(asked, 3); // from the marker to the last rename
}

TEST(AtomicWriteTest, AbortAndErrorsLeaveNoTrace)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.txt"));
    const FolderImage before{{"list.txt", "old"}};
    WriteFolder(dir.path(), before);
    {
        AtomicFileWriter writer(path);
        ASSERT_TRUE(writer.open());
        ASSERT_TRUE(writer.write("new bytes"));
        EXPECT_EQ(writer.written(), 9);
    } // an aborted save: destroyed without commit
    EXPECT_EQ(ReadFolder(dir.path()), before);
    {
        AtomicPairWriter writer(path, dir.filePath(QStringLiteral("list.idx")));
        ASSERT_TRUE(writer.open());
        writer.first().write("x");
        writer.discard();
    }
    EXPECT_EQ(ReadFolder(dir.path()), before);

    FaultyFileOps ops;
    ops.mode = FaultyFileOps::Mode::Fail;
    ops.at = 2; // the first write
    AtomicFileWriter writer(path, ops);
    ASSERT_TRUE(writer.open());
    writer.write(pattern('x', 2 << 20));
    EXPECT_FALSE(writer.write("more"));
    EXPECT_FALSE(writer.commit());
    EXPECT_EQ(writer.errorString(), qt_error_string(ENOSPC));
    EXPECT_EQ(ReadFolder(dir.path()), before);

    EXPECT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadFolder(dir.path()), (FolderImage{{"list.txt", "new"}}));
}

// A real full disk: a 2 MB tmpfs, which only root can mount.
TEST(AtomicWriteTest, FullTmpfsFailsCleanly)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=2m") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    struct Unmount {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{mountPoint};

    const QString single = dir.filePath(QStringLiteral("lxm3.prefs"));
    const QString dic = dir.filePath(QStringLiteral("t.dic"));
    const QString aff = dir.filePath(QStringLiteral("t.aff"));
    WriteFolder(dir.path(), {{"lxm3.prefs", pattern('p', 4000)},
                             {"t.dic", pattern('d', 300000)},
                             {"t.aff", pattern('a', 20000)},
                             {"filler", pattern('f', 1400000)}});
    const FolderImage before = ReadFolder(dir.path());
    ASSERT_EQ(before.value("filler").size(), 1400000);

    AtomicFileWriter writer(single);
    ASSERT_TRUE(writer.open());
    writer.write(pattern('n', 600000));
    EXPECT_FALSE(writer.commit());
    EXPECT_EQ(writer.errorString(), qt_error_string(ENOSPC));
    EXPECT_FALSE(WriteFileAtomically(single, pattern('n', 600000)));

    AtomicPairWriter pair(dic, aff);
    ASSERT_TRUE(pair.open());
    pair.first().write(pattern('D', 500000));
    pair.second().write(pattern('A', 30000));
    EXPECT_FALSE(pair.commit());
    EXPECT_EQ(pair.errorString(), qt_error_string(ENOSPC));
    EXPECT_EQ(ReadFolder(dir.path()), before);

    // With room again the same saves succeed.
    QFile::remove(dir.filePath(QStringLiteral("filler")));
    EXPECT_TRUE(writeFile(SystemFileOps(), single, pattern('n', 600000)));
    EXPECT_TRUE(writePair(SystemFileOps(), dic, pattern('D', 500000), aff, pattern('A', 30000)));
    EXPECT_EQ(ReadFolder(dir.path()).keys(), (QStringList{"lxm3.prefs", "t.aff", "t.dic"}));
}
