#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// The Thesaurus tab: File > Open, Save, Save As and Recent Files, and the list's
// Add, Edit, Delete, Erase, Sort, Undo and Redo, and the Thesaurus Tools menu.
void WireThesaurus(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
