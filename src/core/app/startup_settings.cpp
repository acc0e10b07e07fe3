#include "core/app/startup_settings.h"

#include <QFile>
#include <QFileInfo>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/shell/app_identity.h"
#include "core/shell/prefs_store.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

namespace lexaloom {

QString invalidPrefsMessage()
{
    return QStringLiteral("The .prefs file is invalid.\n\nMaybe it is from a different version of\nLexaloom.");
}

QString invalidPrefsStatus()
{
    return QStringLiteral(".prefs file invalid.");
}

MainSettingsFileState CheckMainSettingsFile(const Workbench &wb)
{
    const QString path = wb.settingsPath(settingsFiles::main);
    const QFileInfo info(path);
    if (!info.isFile() || info.size() <= 0)
        return MainSettingsFileState::Missing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return MainSettingsFileState::Invalid;
    // The version line is short; a bounded read keeps a huge file from being loaded whole.
    PrefsReader reader(file.read(64));
    return reader.readVersion() ? MainSettingsFileState::Valid : MainSettingsFileState::Invalid;
}

bool ReportMainSettingsCheck(const Workbench &wb, Ui &ui)
{
    switch (CheckMainSettingsFile(wb)) {
    case MainSettingsFileState::Valid:
        return false;
    case MainSettingsFileState::Missing:
        return true;
    case MainSettingsFileState::Invalid:
        break;
    }
    ui.showMessage(QStringLiteral("Error"), invalidPrefsMessage(), MessageIcon::Error);
    ui.setStatusText(invalidPrefsStatus());
    return true;
}

bool IsUpdateCheckDue(const MainSettings &settings, qint64 nowSeconds)
{
    const qint64 interval = settings.updateIntervalSeconds();
    if (interval <= 0)
        return false;
    if (settings.lastUpdateCheck > nowSeconds)
        return true;
    return nowSeconds - settings.lastUpdateCheck >= interval;
}

bool RunAutomaticUpdateCheck(Workbench &wb, Ui &ui, bool mainSettingsLoaded, const std::function<void()> &runCheck)
{
    const qint64 now = ui.clock().localEpochSeconds();
    if (!mainSettingsLoaded || !IsUpdateCheckDue(wb.settings, now))
        return false;
    if (runCheck)
        runCheck();
    wb.settings.lastUpdateCheck = now;
    // A failed save only means the check runs again at the next start.
    SaveMainSettings(wb);
    return true;
}

} // namespace lexaloom
