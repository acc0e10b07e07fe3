#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace lexaloom {

class Ui;
class Workbench;
struct MainSettings;

enum class MainSettingsFileState { Valid, Missing, Invalid };

// The start-up check of "settings/lxm3.prefs": Missing when it is absent or empty,
// Invalid when its first line is not the settings format version.
MainSettingsFileState CheckMainSettingsFile(const Workbench &wb);

// Start-up, after the main window is built: reports an invalid main settings file
// (message and status text). Returns true when the Preferences window must open,
// which is the case on a first run and after an invalid file.
bool ReportMainSettingsCheck(const Workbench &wb, Ui &ui);

// True when an automatic update check is due at `nowSeconds`: never for "manual",
// otherwise once the interval has passed since lastUpdateCheck. A last check that
// lies in the future (clock set back, damaged file) counts as due, so that it
// cannot hold the check off indefinitely.
bool IsUpdateCheckDue(const MainSettings &settings, qint64 nowSeconds);

// Start-up: when the main settings file was loaded and a check is due, runs
// `runCheck` (the automatic update check), stores the current time as the last
// check and saves the main settings file. Returns true when the check ran.
bool RunAutomaticUpdateCheck(Workbench &wb, Ui &ui, bool mainSettingsLoaded, const std::function<void()> &runCheck);

// Texts of the start-up check.
QString invalidPrefsMessage();
QString invalidPrefsStatus();

} // namespace lexaloom
