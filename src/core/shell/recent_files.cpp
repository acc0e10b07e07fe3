#include "core/shell/recent_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/shell/file_dialogs.h"

namespace lexaloom {

namespace {

constexpr int newLogLines = 60;

QStringList emptyList()
{
    return QStringList(RecentFiles::slotCount, QString());
}

} // namespace

RecentFiles::RecentFiles()
{
    clear();
}

void RecentFiles::clear()
{
    for (QStringList &list : m_lists)
        list = emptyList();
}

void RecentFiles::add(int index, const QString &path)
{
    if (path.isEmpty())
        return;
    QStringList &list = m_lists[static_cast<size_t>(index)];
    if (path == clearPath()) {
        list = emptyList();
        return;
    }
    QStringList updated{path};
    for (const QString &slot : std::as_const(list)) {
        if (updated.size() == slotCount)
            break;
        if (!slot.isEmpty() && slot != path)
            updated.append(slot);
    }
    while (updated.size() < slotCount)
        updated.append(QString());
    list = updated;
}

void RecentFiles::readLog(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    const QStringList lines = NormaliseLineEnds(QString::fromUtf8(bytes)).split(QLatin1Char('\n'));
    for (int l = 0; l < listCount; ++l) {
        QStringList &list = m_lists[static_cast<size_t>(l)];
        for (int s = 0; s < slotCount; ++s) {
            const qsizetype line = l * slotCount + s;
            list[s] = line < lines.size() ? lines[line] : QString();
        }
    }
}

QByteArray RecentFiles::logBytes() const
{
    QByteArray bytes;
    for (const QStringList &list : m_lists) {
        for (const QString &slot : list)
            bytes += slot.toUtf8() + "\r\n";
    }
    return bytes;
}

QByteArray RecentFiles::newLogBytes()
{
    QByteArray bytes;
    for (int i = 0; i < newLogLines; ++i)
        bytes += "\r\n";
    return bytes;
}

bool AddRecentFile(RecentFiles &files, const QString &logPath, DocumentKind kind, const QString &path)
{
    QByteArray log;
    {
        QFile file(logPath);
        if (file.open(QIODevice::ReadOnly))
            log = file.readAll();
    }
    if (log.isEmpty()) {
        files.clear();
        if (path.isEmpty())
            return WriteFileAtomically(logPath, RecentFiles::newLogBytes());
    } else {
        files.readLog(log);
    }
    files.add(static_cast<int>(kind), path);
    return WriteFileAtomically(logPath, files.logBytes());
}

RecentFilesMenu RefreshRecentFilesMenu(const RecentFiles &files, DocumentKind kind)
{
    RecentFilesMenu menu;
    const QStringList &list = files.list(kind);
    for (int n = 0; n < RecentFiles::slotCount; ++n) {
        menu[static_cast<size_t>(n)] = {QString::number(n + 1) + QLatin1String(": ") + list[n], !list[n].isEmpty()};
    }
    return menu;
}

} // namespace lexaloom
