#include "core/app/startup.h"

#include "core/app/profile.h"
#include "core/app/startup_settings.h"
#include "core/shell/prefs_store.h"
#include "core/shell/recent_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/shell/app_identity.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

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
    EnsureSettingsFolder(workbench.programFolder());
    profile::FinishInterruptedImport(workbench);
    if (hooks.installPosSettings)
        hooks.installPosSettings();
    LoadAllSettings(workbench);
    workbench.affAidEntries = ScanAffAid(workbench.settingsPath(affAidFolder()));
    AddRecentFile(workbench, QString());
    Q_UNUSED(ui);
}

StartupOutcome RunStartupAfterWindow(Workbench &workbench, Ui &ui, const StartupHooks &hooks)
{
    StartupOutcome outcome;
    workbench.regional.izeExceptions = LoadIzeExceptions(workbench.settingsPath(izeExceptionsFile()));
    const QString gbPath = workbench.settingsPath(gbSpecificFile());
    if (QFileInfo(gbPath).size() > 0)
        workbench.gbSpecificText = readUtf8(gbPath);

    outcome.openPreferences = ReportMainSettingsCheck(workbench, ui);
    outcome.mainSettingsValid = !outcome.openPreferences;
    // Without an update check wired in, the stamp must not move.
    if (hooks.runAutomaticUpdateCheck)
        outcome.updateCheckRan =
            RunAutomaticUpdateCheck(workbench, ui, outcome.mainSettingsValid, hooks.runAutomaticUpdateCheck);
    return outcome;
}

} // namespace lexaloom
