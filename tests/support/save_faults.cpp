#include "save_faults.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace lexaloom::testing {

FaultyFileOps::Step FaultyFileOps::next(const QString &name)
{
    ++steps;
    stepNames.append(name);
    if (mode == Mode::Kill && steps >= at)
        return Step::Dead;
    if (mode == Mode::Fail && steps == at)
        return Step::Fail;
    return Step::Go;
}

int FaultyFileOps::create(const QString &path, int &fd)
{
    switch (next(QStringLiteral("create ") + QFileInfo(path).fileName())) {
    case Step::Go:
        return SystemFileOps().create(path, fd);
    case Step::Fail:
        return failure;
    case Step::Dead:
        break;
    }
    return EIO;
}

int FaultyFileOps::write(int fd, const char *data, qint64 size, qint64 &written)
{
    written = 0;
    switch (next(QStringLiteral("write"))) {
    case Step::Go:
        return SystemFileOps().write(fd, data, size, written);
    case Step::Fail: {
        // A disk that fills up mid-write leaves part of the data behind.
        qint64 part = 0;
        SystemFileOps().write(fd, data, size / 2, part);
        return failure;
    }
    case Step::Dead:
        break;
    }
    return EIO;
}

int FaultyFileOps::sync(int fd)
{
    switch (next(QStringLiteral("sync"))) {
    case Step::Go:
        return SystemFileOps().sync(fd);
    case Step::Fail:
        return failure;
    case Step::Dead:
        break;
    }
    return EIO;
}

int FaultyFileOps::close(int fd)
{
    const Step step = next(QStringLiteral("close"));
    // The descriptor goes in every case, as it would when the process dies; only the
    // answer differs.
    const int error = SystemFileOps().close(fd);
    return step == Step::Go ? error : step == Step::Fail ? failure : EIO;
}

int FaultyFileOps::rename(const QString &from, const QString &to)
{
    switch (next(QStringLiteral("rename ") + QFileInfo(from).fileName() + QStringLiteral(" -> ") +
                 QFileInfo(to).fileName())) {
    case Step::Go:
        return SystemFileOps().rename(from, to);
    case Step::Fail:
        return failure;
    case Step::Dead:
        break;
    }
    return EIO;
}

int FaultyFileOps::remove(const QString &path)
{
    switch (next(QStringLiteral("remove ") + QFileInfo(path).fileName())) {
    case Step::Go:
        return SystemFileOps().remove(path);
    case Step::Fail:
        return failure;
    case Step::Dead:
        break;
    }
    return EIO;
}

int FaultyFileOps::syncDirectory(const QString &path)
{
    switch (next(QStringLiteral("sync folder"))) {
    case Step::Go:
        return SystemFileOps().syncDirectory(path);
    case Step::Fail:
        return failure;
    case Step::Dead:
        break;
    }
    return EIO;
}

QString ScratchFolderTemplate()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString root = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return root + QStringLiteral("/lexaloom-save-XXXXXX");
}

FolderImage ReadFolder(const QString &folder)
{
    FolderImage image;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            image.insert(name, file.readAll());
    }
    return image;
}

void WriteFolder(const QString &folder, const FolderImage &image)
{
    QDir dir(folder);
    dir.mkpath(QStringLiteral("."));
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(name);
    for (auto it = image.cbegin(); it != image.cend(); ++it) {
        QFile file(dir.filePath(it.key()));
        if (file.open(QIODevice::WriteOnly))
            file.write(it.value());
    }
}

namespace {

QString describe(const FolderImage &image)
{
    QStringList parts;
    for (auto it = image.cbegin(); it != image.cend(); ++it)
        parts.append(it.key() + QLatin1Char('(') + QString::number(it.value().size()) + QLatin1Char(')'));
    return parts.join(QLatin1Char(' '));
}

bool isTemporary(const QString &name)
{
    return name.endsWith(QLatin1String(".lxm-new")) || name.endsWith(QLatin1String(".lxm-old")) ||
           name.endsWith(QLatin1String(".lxm-saving")) || name.endsWith(QLatin1String(".lxm-ready"));
}

FolderImage withoutTemporaries(FolderImage image)
{
    image.removeIf([](const auto &it) { return isTemporary(it.key()); });
    return image;
}

} // namespace

SaveFaultHarness::SaveFaultHarness(QString folder, FolderImage before, FolderImage after)
    : m_folder(std::move(folder))
    , m_before(std::move(before))
    , m_after(std::move(after))
{
}

int SaveFaultHarness::countSteps(const Save &save)
{
    WriteFolder(m_folder, m_before);
    FaultyFileOps ops;
    if (!save(ops) || ReadFolder(m_folder) != m_after)
        return -1;
    return ops.steps;
}

QStringList SaveFaultHarness::checkEveryFailure(const Save &save, const Recover &recover, int failure)
{
    QStringList problems;
    const int steps = countSteps(save);
    if (steps < 0)
        return {QStringLiteral("the save without faults did not end as expected")};
    const FolderImage old = withoutTemporaries(m_before);
    for (int at = 1; at <= steps; ++at) {
        WriteFolder(m_folder, m_before);
        FaultyFileOps ops;
        ops.mode = FaultyFileOps::Mode::Fail;
        ops.at = at;
        ops.failure = failure;
        const bool ok = save(ops);
        const FolderImage image = ReadFolder(m_folder);
        const QString step = QStringLiteral("step %1 (%2): ").arg(at).arg(ops.stepNames.value(at - 1));
        if (!ok) {
            // A stale temporary file the save could not clear may stay; nothing of its own.
            bool addedTemporary = false;
            for (auto it = image.cbegin(); it != image.cend(); ++it)
                addedTemporary |= isTemporary(it.key()) && m_before.value(it.key()) != it.value();
            if (withoutTemporaries(image) != old || addedTemporary)
                problems.append(step + QStringLiteral("failed but left ") + describe(image));
            continue;
        }
        if (withoutTemporaries(image) != m_after) {
            problems.append(step + QStringLiteral("reported success but left ") + describe(image));
            continue;
        }
        // The save is done when only the clean-up failed; what it left goes at the next
        // open or save, without a question.
        if (image != m_after && (recover() || ReadFolder(m_folder) != m_after))
            problems.append(step + QStringLiteral("left ") + describe(image) + QStringLiteral(" for good"));
    }
    return problems;
}

QStringList SaveFaultHarness::checkEveryKill(const Save &save, const Recover &recover)
{
    QStringList problems;
    const int steps = countSteps(save);
    if (steps < 0)
        return {QStringLiteral("the save without faults did not end as expected")};
    const FolderImage old = withoutTemporaries(m_before);
    for (int at = 1; at <= steps + 1; ++at) {
        WriteFolder(m_folder, m_before);
        FaultyFileOps ops;
        ops.mode = FaultyFileOps::Mode::Kill;
        ops.at = at;
        save(ops);
        const QString step = QStringLiteral("kill before step %1 (%2): ").arg(at).arg(ops.stepNames.value(at - 1));
        const FolderImage killed = ReadFolder(m_folder);
        const FolderImage targets = withoutTemporaries(killed);
        const bool whole = targets == old || targets == m_after;
        const bool asked = recover();
        const FolderImage recovered = ReadFolder(m_folder);
        if (!whole && !asked)
            problems.append(step + QStringLiteral("left a mixed set without asking: ") + describe(killed));
        if (asked && recovered != m_after)
            problems.append(step + QStringLiteral("asked but recovered ") + describe(recovered));
        if (recovered != old && recovered != m_after)
            problems.append(step + QStringLiteral("recovered to ") + describe(recovered));
    }
    return problems;
}

} // namespace lexaloom::testing
