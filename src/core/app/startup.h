#pragma once

#include "core/dictionary/aff_aid.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>

#include "core/dictionary/aff_aid.h"

namespace lexaloom {

class Ui;
class Workbench;
struct MainSettings;

// Scans folder + "*.txt" (regular files of non-zero size) into legend entries,
// the built-in one included, sorted ignoring case.
QList<AffAidEntry> ScanAffAid(const QString &folder);

// The steps of start-up that other parts of the program provide. An unset hook is
// skipped.
struct StartupHooks {
    std::function<void()> installPosSettings;      // built-in POS tables
    std::function<void()> runAutomaticUpdateCheck; // the update check in automatic mode
};

struct StartupOutcome {
    // The Preferences window must open before the main loop (first run or invalid file).
    bool openPreferences = false;
    bool mainSettingsValid = false;
    bool updateCheckRan = false;
};

// Start-up before the main window exists: the settings folder, empty documents,
// POS tables, settings, AFF Aid legends and recent files.
void RunStartupBeforeWindow(Workbench &workbench, Ui &ui, const StartupHooks &hooks);

// Start-up once the main window is built: the -ize/-ise exceptions, the GB-specific list, the settings check
// and the automatic update check.
StartupOutcome RunStartupAfterWindow(Workbench &workbench, Ui &ui, const StartupHooks &hooks);

// Title of the failure messages.
inline QString errorTitle()
{
    return QStringLiteral("Error");
}

// The relative paths start-up works with.
inline QString mainSettingsFile()
{
    return QStringLiteral("settings/lxm3.prefs");
}
inline QString gbSpecificFile()
{
    return QStringLiteral("settings/gb_specific.txt");
}
inline QString izeExceptionsFile()
{
    return QStringLiteral("settings/-ize-ise_exceptions.txt");
}
inline QString affAidFolder()
{
    return QStringLiteral("custom_aff_aid");
}

} // namespace lexaloom
