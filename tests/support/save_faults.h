#pragma once

#include "core/shell/atomic_write.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <functional>

namespace lexaloom::testing {

// The real file system with one step of a save failed or the process "killed" there.
// Steps are the calls that change the disk (create, write, sync, close, rename,
// remove, folder sync), numbered from 1 in the order the save makes them.
class FaultyFileOps final : public FileOps {
public:
    enum class Mode { None, Fail, Kill };

    // Fail: step `at` fails with `failure` (a write first writes half its bytes) and the
    // save goes on as it likes. Kill: step `at` and every later one do nothing, as if
    // the process had died before it.
    Mode mode = Mode::None;
    int at = 0;
    int failure = ENOSPC;

    int steps = 0;
    QStringList stepNames; // what each step was, for messages

    int create(const QString &path, int &fd) override;
    int write(int fd, const char *data, qint64 size, qint64 &written) override;
    int sync(int fd) override;
    int close(int fd) override;
    int rename(const QString &from, const QString &to) override;
    int remove(const QString &path) override;
    int syncDirectory(const QString &path) override;
    bool exists(const QString &path) override { return SystemFileOps().exists(path); }

private:
    enum class Step { Go, Fail, Dead };
    Step next(const QString &name);
};

// A template for QTemporaryDir on a memory file system when there is one: the harness
// runs a save hundreds of times, and every run syncs.
QString ScratchFolderTemplate();

// The files directly in a folder, by name.
using FolderImage = QMap<QString, QByteArray>;
FolderImage ReadFolder(const QString &folder);
// Makes the folder hold exactly `image`.
void WriteFolder(const QString &folder, const FolderImage &image);

// Runs a save once per possible failure point and once per kill point. Each file kind's
// tests give it the folder before the save and the folder a finished save leaves.
class SaveFaultHarness final {
public:
    using Save = std::function<bool(FileOps &)>;
    // After a kill: what the next open (or the next save) does to clean up; returns
    // whether it asked the user, who answers Yes.
    using Recover = std::function<bool()>;

    SaveFaultHarness(QString folder, FolderImage before, FolderImage after);

    // A clean run; the number of steps, or -1 when it did not end in `after`.
    int countSteps(const Save &save);
    // Every step failed in turn: the save reports failure and the folder is exactly as
    // before (old bytes, no temporary file left, a stale one cleared), or, when only
    // the clean-up after the new files were in place failed, it reports success, the
    // files are as after and `recover` clears what is left without asking.
    QStringList checkEveryFailure(const Save &save, const Recover &recover, int failure = ENOSPC);
    // A kill at every step: the target files are the whole old or the whole new set, or
    // the recovery asks and then finishes the new set; after recovery the folder is
    // exactly as before or as after.
    QStringList checkEveryKill(const Save &save, const Recover &recover);

private:
    QString m_folder;
    FolderImage m_before;
    FolderImage m_after;
};

} // namespace lexaloom::testing
