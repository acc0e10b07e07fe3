#include "core/shell/atomic_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/shell/file_dialogs.h"
#include "core/shell/long_task.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

// Big writes go straight through; small ones are gathered so that a save of many short
// lines makes few system calls.
constexpr qsizetype bufferBytes = 1 << 20;

class PosixFileOps final : public FileOps {
public:
    int create(const QString &path, int &fd) override
    {
        fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd < 0 ? errno : 0;
    }

    int write(int fd, const char *data, qint64 size, qint64 &written) override
    {
        ssize_t n;
        do
            n = ::write(fd, data, static_cast<size_t>(size));
        while (n < 0 && errno == EINTR);
        written = n < 0 ? 0 : n;
        return n < 0 ? errno : 0;
    }

    int sync(int fd) override { return ::fsync(fd) == 0 ? 0 : errno; }

    int close(int fd) override
    {
        // Linux closes the descriptor even when close() reports an error: never retry.
        return ::close(fd) == 0 ? 0 : errno;
    }

    int rename(const QString &from, const QString &to) override
    {
        return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0 : errno;
    }

    int remove(const QString &path) override
    {
        return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT ? 0 : errno;
    }

    int syncDirectory(const QString &path) override
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return errno;
        const int error = ::fsync(fd) == 0 ? 0 : errno;
        ::close(fd);
        return error;
    }

    bool exists(const QString &path) override
    {
        struct stat info;
        return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
    }
};

QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

QString reasonText(int error)
{
    return qt_error_string(error);
}

// The folders of a pair's files, each once: 0 or the first errno.
int syncFolders(FileOps &ops, const QString &first, const QString &second)
{
    const QString firstFolder = folderOf(first);
    const QString secondFolder = folderOf(second);
    int error = ops.syncDirectory(firstFolder);
    if (secondFolder != firstFolder) {
        const int secondError = ops.syncDirectory(secondFolder);
        if (error == 0)
            error = secondError;
    }
    return error;
}

} // namespace

FileOps &SystemFileOps()
{
    static PosixFileOps ops; // no state: shared by every caller
    return ops;
}

QString TemporaryPathFor(const QString &path)
{
    return path + QLatin1String(".lxm-new");
}
QString BackupPathFor(const QString &path)
{
    return path + QLatin1String(".lxm-old");
}
QString PairMarkerPathFor(const QString &firstPath)
{
    return firstPath + QLatin1String(".lxm-saving");
}
QString ReadyPathFor(const QString &path)
{
    return path + QLatin1String(".lxm-ready");
}

namespace {

// The path with its folders and links resolved as far as they exist.
QString resolvedPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

} // namespace

QString SaveTargetFor(const QString &path)
{
    QFileInfo info(path);
    // A loop of links ends after a few hops; the save then fails on the last name.
    for (int hops = 0; hops < 40 && info.isSymLink(); ++hops)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

bool IsSameFile(const QString &first, const QString &second)
{
    if (resolvedPath(first) == resolvedPath(second))
        return true;
    struct stat a;
    struct stat b;
    return ::stat(QFile::encodeName(first).constData(), &a) == 0 &&
           ::stat(QFile::encodeName(second).constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// --- AtomicFileWriter ---

AtomicFileWriter::AtomicFileWriter(QString path, FileOps &fileOps)
    : m_path(std::move(path))
    , m_target(SaveTargetFor(m_path))
    , m_temporaryPath(TemporaryPathFor(m_target))
    , m_ops(fileOps)
{
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!m_committed)
        discard();
}

bool AtomicFileWriter::fail(int error)
{
    if (m_error == 0)
        m_error = error;
    return false;
}

QString AtomicFileWriter::errorString() const
{
    return reasonText(m_error);
}

bool AtomicFileWriter::open()
{
    if (m_open || failed())
        return !failed();
    // A folder where the file should go is never moved aside.
    if (QFileInfo(m_target).isDir())
        return fail(EISDIR);
    QDir().mkpath(folderOf(m_target));
    int error = m_ops.create(m_temporaryPath, m_fd);
    if (error == EEXIST) {
        // Left by a save that was killed: nothing else owns that name.
        if ((error = m_ops.remove(m_temporaryPath)) == 0)
            error = m_ops.create(m_temporaryPath, m_fd);
    }
    if (error != 0) {
        m_fd = -1;
        return fail(error);
    }
    m_open = true;
    // A complete file of an earlier save that was not finished: this save supersedes it.
    if (m_ops.exists(ReadyPathFor(m_target)))
        m_ops.remove(ReadyPathFor(m_target));
    // The new file takes the old one's permissions, as an edit in place would keep them.
    const QFileDevice::Permissions permissions = QFile::permissions(m_target);
    if (permissions != QFileDevice::Permissions())
        QFile::setPermissions(m_temporaryPath, permissions);
    m_buffer.reserve(bufferBytes);
    return true;
}

bool AtomicFileWriter::writeAll(const char *data, qint64 size)
{
    while (size > 0) {
        qint64 written = 0;
        const int error = m_ops.write(m_fd, data, size, written);
        if (error != 0)
            return fail(error);
        if (written <= 0)
            return fail(EIO);
        data += written;
        size -= written;
        m_written += written;
    }
    return true;
}

bool AtomicFileWriter::flushBuffer()
{
    if (m_buffer.isEmpty())
        return true;
    const bool ok = writeAll(m_buffer.constData(), m_buffer.size());
    m_buffer.clear();
    return ok;
}

bool AtomicFileWriter::write(QByteArrayView bytes)
{
    if (!m_open || m_fd < 0 || failed())
        return fail(m_error != 0 ? m_error : EBADF);
    if (m_buffer.size() + bytes.size() <= bufferBytes) {
        m_buffer.append(bytes);
        return true;
    }
    if (!flushBuffer())
        return false;
    if (bytes.size() >= bufferBytes)
        return writeAll(bytes.data(), bytes.size());
    m_buffer.append(bytes);
    return true;
}

bool AtomicFileWriter::finish()
{
    if (!m_open || failed())
        return fail(m_error != 0 ? m_error : EBADF);
    if (m_fd < 0)
        return true; // finished already
    bool ok = flushBuffer();
    if (ok) {
        // The data must be on the disk before the rename can make it the file.
        if (const int error = m_ops.sync(m_fd))
            ok = fail(error);
    }
    const int error = m_ops.close(m_fd);
    m_fd = -1;
    if (ok && error != 0)
        ok = fail(error);
    return ok;
}

bool AtomicFileWriter::commit()
{
    if (!finish()) {
        discard();
        return false;
    }
    // Under its ready name the file is known to be whole: a kill before the last rename
    // is finished forward at the next open.
    const QString ready = ReadyPathFor(m_target);
    if (const int error = m_ops.rename(m_temporaryPath, ready)) {
        fail(error);
        discard();
        return false;
    }
    m_ready = true;
    if (const int error = m_ops.rename(ready, m_target)) {
        fail(error);
        discard();
        return false;
    }
    m_ready = false;
    m_committed = true;
    m_open = false;
    // The new file is in place; a failed folder sync cannot undo that, it only leaves
    // the rename less durable, so it does not turn the save into a failure.
    m_ops.syncDirectory(folderOf(m_target));
    return true;
}

void AtomicFileWriter::discard()
{
    if (m_fd >= 0) {
        m_ops.close(m_fd);
        m_fd = -1;
    }
    if (m_open) {
        m_ops.remove(m_ready ? ReadyPathFor(m_target) : m_temporaryPath);
        m_open = false;
        m_ready = false;
    }
    m_buffer.clear();
}

// --- AtomicPairWriter ---

AtomicPairWriter::AtomicPairWriter(QString firstPath, QString secondPath, FileOps &fileOps)
    : m_ops(fileOps)
    , m_first(std::move(firstPath), fileOps)
    , m_second(std::move(secondPath), fileOps)
{
}

bool AtomicPairWriter::fail(const QString &path, int error)
{
    if (m_error == 0) {
        m_error = error;
        m_failedPath = path;
    }
    return false;
}

bool AtomicPairWriter::failedWriter(AtomicFileWriter &writer)
{
    fail(writer.path(), writer.m_error);
    discard();
    return false;
}

QString AtomicPairWriter::errorString() const
{
    return m_sameFile ? saveTexts::samePairFiles : reasonText(m_error);
}

bool AtomicPairWriter::open()
{
    // Two halves in one file would have the second rename move the first half over the
    // old file's backup: nothing of either would be left.
    if (IsSameFile(m_first.path(), m_second.path())) {
        m_sameFile = true;
        return fail(m_second.path(), EINVAL);
    }
    // A cut-off earlier save is finished first, so that the old pair this save
    // replaces is a whole one.
    if (InspectPairSave(m_first.path(), m_second.path(), m_ops) == PairSaveState::Unfinished) {
        QString failedPath;
        if (const int error = FinishPairSave(m_first.path(), m_second.path(), failedPath, m_ops))
            return fail(failedPath, error);
    }
    if (!m_first.open())
        return failedWriter(m_first);
    if (!m_second.open())
        return failedWriter(m_second);
    return true;
}

void AtomicPairWriter::discard()
{
    m_first.discard();
    m_second.discard();
}

bool AtomicPairWriter::commit()
{
    if (!m_first.finish())
        return failedWriter(m_first);
    if (!m_second.finish())
        return failedWriter(m_second);

    // From the marker on, the new pair is complete on disk and a kill is finished
    // forward by RecoverInterruptedPairSave.
    const QString &firstTarget = m_first.m_target;
    const QString &secondTarget = m_second.m_target;
    const QString marker = PairMarkerPathFor(firstTarget);
    {
        int fd = -1;
        int error = m_ops.create(marker, fd);
        if (error == 0) {
            const QByteArray names = QFile::encodeName(QFileInfo(firstTarget).fileName()) + '\n' +
                                     QFile::encodeName(QFileInfo(secondTarget).fileName()) + '\n';
            qint64 written = 0;
            error = m_ops.write(fd, names.constData(), names.size(), written);
            if (error == 0 && written != names.size())
                error = EIO;
            if (error == 0)
                error = m_ops.sync(fd);
            const int closeError = m_ops.close(fd);
            if (error == 0)
                error = closeError;
        }
        if (error == 0)
            error = m_ops.syncDirectory(folderOf(firstTarget));
        if (error != 0) {
            m_ops.remove(marker);
            fail(marker, error);
            discard();
            return false;
        }
    }

    // Each old file moves to its backup name before the new one takes its place, so a
    // failure can put every old file back.
    struct Step {
        AtomicFileWriter *writer;
        bool movedOld = false;
        bool placedNew = false;
    } steps[] = {{&m_first}, {&m_second}};
    int error = 0;
    QString errorPath;
    for (Step &step : steps) {
        const QString &target = step.writer->m_target;
        if (m_ops.exists(target)) {
            // open() cleared every backup of this pair: one that is there now was made
            // by this loop, so both halves are one file after all. Never replace it.
            if (m_ops.exists(BackupPathFor(target)))
                error = EEXIST;
            if (error || (error = m_ops.rename(target, BackupPathFor(target)))) {
                errorPath = step.writer->path();
                break;
            }
            step.movedOld = true;
        }
        if ((error = m_ops.rename(step.writer->m_temporaryPath, target))) {
            errorPath = step.writer->path();
            break;
        }
        step.placedNew = true;
    }
    if (error == 0 && (error = syncFolders(m_ops, firstTarget, secondTarget)))
        errorPath = folderOf(firstTarget);
    if (error == 0 && (error = m_ops.remove(marker)))
        errorPath = marker;
    if (error != 0) {
        // Undo in reverse order through the same states, so that a kill during the undo
        // still leaves a pair the recovery can finish.
        for (int i = 1; i >= 0; --i) {
            Step &step = steps[i];
            const QString &target = step.writer->m_target;
            if (step.placedNew)
                m_ops.rename(target, step.writer->m_temporaryPath);
            if (step.movedOld)
                m_ops.rename(BackupPathFor(target), target);
        }
        syncFolders(m_ops, firstTarget, secondTarget);
        m_ops.remove(marker);
        m_ops.syncDirectory(folderOf(firstTarget));
        fail(errorPath, error);
        discard();
        return false;
    }
    for (Step &step : steps) {
        step.writer->m_committed = true;
        step.writer->m_open = false;
        if (step.movedOld)
            m_ops.remove(BackupPathFor(step.writer->m_target));
    }
    syncFolders(m_ops, firstTarget, secondTarget);
    return true;
}

// --- recovery ---

PairSaveState InspectPairSave(const QString &firstPath, const QString &secondPath, FileOps &fileOps)
{
    // The traces sit beside the files the links lead to, as the save put them.
    const QString paths[] = {SaveTargetFor(firstPath), SaveTargetFor(secondPath)};
    const QString marker = PairMarkerPathFor(paths[0]);
    if (fileOps.exists(marker)) {
        for (const QString &path : paths) {
            if (fileOps.exists(TemporaryPathFor(path)))
                return PairSaveState::Unfinished;
        }
        // Every new file is in place: only the marker and the backups are left.
        fileOps.remove(marker);
    }
    // Without a marker the temporary files are a save cut off before its new pair was
    // complete (the old pair is whole), and backups belong to a save that is done.
    for (const QString &path : paths) {
        if (fileOps.exists(TemporaryPathFor(path)))
            fileOps.remove(TemporaryPathFor(path));
        if (fileOps.exists(BackupPathFor(path)))
            fileOps.remove(BackupPathFor(path));
    }
    return PairSaveState::Clean;
}

int FinishPairSave(const QString &firstPath, const QString &secondPath, QString &failedPath, FileOps &fileOps)
{
    const QString shown[] = {firstPath, secondPath};
    const QString paths[] = {SaveTargetFor(firstPath), SaveTargetFor(secondPath)};
    for (int i = 0; i < 2; ++i) {
        const QString &path = paths[i];
        if (!fileOps.exists(TemporaryPathFor(path)))
            continue;
        if (const int error = fileOps.rename(TemporaryPathFor(path), path)) {
            failedPath = shown[i];
            return error;
        }
    }
    if (const int error = syncFolders(fileOps, paths[0], paths[1])) {
        failedPath = folderOf(paths[0]);
        return error;
    }
    if (const int error = fileOps.remove(PairMarkerPathFor(paths[0]))) {
        failedPath = PairMarkerPathFor(paths[0]);
        return error;
    }
    for (const QString &path : paths)
        fileOps.remove(BackupPathFor(path));
    syncFolders(fileOps, paths[0], paths[1]);
    return 0;
}

PairRecovery RecoverInterruptedPairSave(Ui &ui, const QString &firstPath, const QString &secondPath, FileOps &fileOps)
{
    if (InspectPairSave(firstPath, secondPath, fileOps) == PairSaveState::Clean)
        return PairRecovery::Ready;
    if (!ui.askYesNo(LongTask::warningTitle(),
                     saveTexts::interruptedSaveQuestion.arg(QDir::toNativeSeparators(firstPath)), MessageIcon::Warning))
        return PairRecovery::Declined;
    QString failedPath;
    if (const int error = FinishPairSave(firstPath, secondPath, failedPath, fileOps)) {
        ui.showMessage(fileTexts::errorTitle,
                       fileTexts::cannotWrite.arg(QDir::toNativeSeparators(failedPath), reasonText(error)),
                       MessageIcon::Warning);
        return PairRecovery::Failed;
    }
    return PairRecovery::Ready;
}

PairSaveState InspectSave(const QString &path, FileOps &fileOps)
{
    const QString target = SaveTargetFor(path);
    // Possibly cut off in the middle of its bytes: the old file is the whole one.
    if (fileOps.exists(TemporaryPathFor(target)))
        fileOps.remove(TemporaryPathFor(target));
    return fileOps.exists(ReadyPathFor(target)) ? PairSaveState::Unfinished : PairSaveState::Clean;
}

int FinishSave(const QString &path, FileOps &fileOps)
{
    const QString target = SaveTargetFor(path);
    if (const int error = fileOps.rename(ReadyPathFor(target), target))
        return error;
    fileOps.syncDirectory(folderOf(target));
    return 0;
}

PairRecovery RecoverInterruptedSave(Ui &ui, const QString &path, FileOps &fileOps)
{
    if (InspectSave(path, fileOps) == PairSaveState::Clean)
        return PairRecovery::Ready;
    if (!ui.askYesNo(LongTask::warningTitle(),
                     saveTexts::interruptedFileSaveQuestion.arg(QDir::toNativeSeparators(path)),
                     MessageIcon::Warning))
        return PairRecovery::Declined;
    if (const int error = FinishSave(path, fileOps)) {
        ui.showMessage(fileTexts::errorTitle,
                       fileTexts::cannotWrite.arg(QDir::toNativeSeparators(path), reasonText(error)),
                       MessageIcon::Warning);
        return PairRecovery::Failed;
    }
    return PairRecovery::Ready;
}

bool ReadAfterRecovery(Ui &ui, PairRecovery recovery, FileResult &result)
{
    switch (recovery) {
    case PairRecovery::Ready:
        return true;
    case PairRecovery::Declined:
        result.outcome = FileOutcome::Cancelled;
        break;
    case PairRecovery::Failed:
        result.outcome = FileOutcome::Failed;
        break;
    }
    ui.setStatusText(LongTask::abortedText());
    return false;
}

void FinishInterruptedSaveQuietly(const QString &path, FileOps &fileOps)
{
    if (InspectSave(path, fileOps) == PairSaveState::Unfinished)
        FinishSave(path, fileOps);
}

} // namespace lexaloom
