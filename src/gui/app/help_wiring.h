#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;
struct DesktopMeasurements;

// Prefs > Preferences, Help > Check for Updates and About, and the File menu's
// extension entry.
void WirePrefsAndHelp(MainWindow &window, Workbench &workbench, Ui &ui);

// Opens the Preferences window over the main window; "OK" applies the values to it.
void OpenPreferences(MainWindow &window, Workbench &workbench, Ui &ui);

// The update check against the project's site, opening the update window when the
// site has a newer build.
void RunUpdateCheck(MainWindow &window, Ui &ui, bool automatic);

// The desktop as the Preferences window measures it.
DesktopMeasurements MeasureDesktop(const MainWindow &window);

} // namespace lexaloom
