#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// The Dictionary tab's Add, Edit, Delete, Undo and Redo (with their keys and the
// double click on the list) and the list's "Clone" and "Delete" pop-up items.
void WireDictionaryEditing(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
