#include "shell/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "shell/app_identity.h"
#include "shell/settings.h"
#include "shell/ui.h"
#include "shell/workbench.h"

namespace lexaloom {

namespace {

constexpr int firstAffAidImage = 20000;

// Reads a UTF-8 text file whole; a leading byte-order mark is not part of the text.
QString readUtf8(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace

QString BuiltInAffAidEntry()
{
    return QStringLiteral("eng-GB:english:English GB\n30\n*****");
}

QList<AffAidEntry> ScanAffAid(const QString &folder)
{
    QList<AffAidEntry> entries;
    entries.append({BuiltInAffAidEntry(), QString(), QString()});
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    int accepted = 0;
    for (const QFileInfo &info : files) {
        if (!info.isFile() || info.size() <= 0)
            continue;
        ++accepted;
        QString text = readUtf8(info.absoluteFilePath());
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1String("\n\r"), QLatin1String("\n"));
        const QString png = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".png");
        const bool hasImage = QFileInfo(png).isFile();
        // Legends without an icon carry image number 0: nothing to show.
        const int image = hasImage ? firstAffAidImage + accepted : 0;
        const QString firstLine = text.section(QLatin1Char('\n'), 0, 0);
        entries.append({firstLine + QLatin1Char('\n') + QString::number(image) + QLatin1Char('\n') + info.fileName(),
                        text, hasImage ? png : QString()});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const AffAidEntry &a, const AffAidEntry &b) {
        return QString::compare(a.entry, b.entry, Qt::CaseInsensitive) < 0;
    });
    return entries;
}

void RunStartupBeforeWindow(Workbench &workbench, Ui &ui, const StartupHooks &hooks)
{
    // Identity and defaults are fixed in the Workbench; its documents start empty.
    QDir().mkpath(workbench.settingsPath(QStringLiteral("settings")));
    if (hooks.installPosSettings)
        hooks.installPosSettings();
    if (hooks.readSettings)
        hooks.readSettings();
    workbench.affAidEntries = ScanAffAid(workbench.settingsPath(affAidFolder()));
    if (hooks.readRecentFiles)
        hooks.readRecentFiles();
    Q_UNUSED(ui);
}

bool CheckMainSettingsFile(const QString &path, bool *present)
{
    QFile file(path);
    const bool hasContent = file.size() > 0 && file.open(QIODevice::ReadOnly);
    if (present)
        *present = hasContent;
    if (!hasContent)
        return false;
    QString line = QString::fromUtf8(file.readLine());
    if (line.startsWith(QChar(0xFEFF)))
        line.remove(0, 1);
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line == identity::settingsVersion;
}

bool IsUpdateCheckDue(const MainSettings &settings, qint64 now)
{
    qint64 interval = 0;
    if (settings.updateFrequency == QLatin1String("daily"))
        interval = 86400;
    else if (settings.updateFrequency == QLatin1String("weekly"))
        interval = 604800;
    else if (settings.updateFrequency == QLatin1String("monthly"))
        interval = 2592000;
    else
        return false; // "manual"
    return now - settings.lastUpdateCheck >= interval;
}

StartupOutcome RunStartupAfterWindow(Workbench &workbench, Ui &ui, const StartupHooks &hooks)
{
    StartupOutcome outcome;
    if (hooks.loadIzeIseExceptions)
        hooks.loadIzeIseExceptions();
    const QString gbPath = workbench.settingsPath(gbSpecificFile());
    if (QFileInfo(gbPath).size() > 0)
        workbench.gbSpecificText = readUtf8(gbPath);

    bool present = false;
    outcome.mainSettingsValid = CheckMainSettingsFile(workbench.settingsPath(mainSettingsFile()), &present);
    if (present && !outcome.mainSettingsValid) {
        ui.showMessage(errorTitle(),
                       QStringLiteral("The .prefs file is invalid.\n\nMaybe it is from a different version of\n"
                                      "Lexaloom."),
                       MessageIcon::Error);
        ui.setStatusText(QStringLiteral(".prefs file invalid."));
    }
    outcome.openPreferences = !outcome.mainSettingsValid;

    const qint64 now = ui.clock().localEpochSeconds();
    // Without an update check wired in, the stamp must not move.
    if (outcome.mainSettingsValid && hooks.runAutomaticUpdateCheck && IsUpdateCheckDue(workbench.settings, now)) {
        hooks.runAutomaticUpdateCheck();
        workbench.settings.lastUpdateCheck = now;
        if (hooks.saveMainSettings)
            hooks.saveMainSettings();
        outcome.updateCheckRan = true;
    }
    return outcome;
}

} // namespace lexaloom
