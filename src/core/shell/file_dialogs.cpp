#include "core/shell/file_dialogs.h"

#include <QDir>

#include <QFileInfo>
#include <QStringList>

#include "core/shell/atomic_write.h"
#include "core/shell/long_task.h"
#include "core/shell/ui.h"

namespace lexaloom {

QString DialogFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // Qt reads the patterns from the parentheses, so they must hold the real ones:
        // ".xpi/.oxt (*.xpi/*.oxt)" lists "*.xpi;*.oxt;" as its patterns.
        const qsizetype open = description.lastIndexOf(QLatin1String(" ("));
        if (open >= 0 && description.endsWith(QLatin1Char(')')))
            description.truncate(open);
        const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        entries.append(description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return entries.join(QLatin1String(";;"));
}

QString AskOpenPath(Ui &ui, const QString &title, const QString &filter)
{
    return ui.askOpenPath(title, QString(), DialogFilter(filter));
}

QString WithSaveExtension(const QString &path, const QString &filter, const QString &defaultExtension)
{
    const QLatin1String marker("(*");
    if (filter.count(marker) < 2)
        return path.endsWith(defaultExtension, Qt::CaseInsensitive) ? path : path + defaultExtension;
    for (qsizetype at = filter.indexOf(marker); at >= 0; at = filter.indexOf(marker, at + 2)) {
        const qsizetype close = filter.indexOf(QLatin1Char(')'), at + 2);
        if (close < 0)
            break;
        const QString extension = filter.mid(at + 2, close - at - 2);
        if (!extension.isEmpty() && path.endsWith(extension, Qt::CaseInsensitive))
            return path;
    }
    return path + defaultExtension;
}

QString AskSavePath(Ui &ui, const QString &title, const QString &filter, const QString &defaultExtension)
{
    const QString chosen = ui.askSavePath(title, QString(), DialogFilter(filter));
    if (chosen.isEmpty())
        return {};
    const QString path = WithSaveExtension(chosen, filter, defaultExtension);
    if (!QFileInfo(path).isFile())
        return path;
    if (!ui.askYesNo(LongTask::warningTitle(), fileTexts::overwriteQuestion, MessageIcon::Warning))
        return {};
    return path;
}

qint64 FileSize(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

bool CheckFileExists(Ui &ui, const QString &path, const QString &message)
{
    if (FileSize(path) >= 1)
        return true;
    ui.showMessage(fileTexts::errorTitle, message, MessageIcon::Warning);
    return false;
}

QString NormaliseLineEnds(QString text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    AtomicFileWriter writer(path);
    return writer.open() && writer.write(bytes) && writer.commit();
}

} // namespace lexaloom
