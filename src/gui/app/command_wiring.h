#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// Connects the commands of the window to the operations that are built. A command
// left without one shows "Not coded yet." (the dispatcher's rule); the GUI test of
// the main window lists those commands.
void WireCommands(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
