#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// File > Open, Save, Save As and Recent Files on the Dictionary tab, the profile
// commands, Find and Go to on the Dictionary and Hyphenation tabs, and AFF Validate.
void WireDocumentCommands(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
