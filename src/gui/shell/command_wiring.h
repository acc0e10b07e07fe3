#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// Connects every command of the window to its operation. Features that are not
// built yet are wired to empty stubs, listed here by name, so that each lands by
// replacing one line.
void WireCommands(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
