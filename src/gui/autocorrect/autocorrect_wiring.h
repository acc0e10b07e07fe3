#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// The Autocorrect tab (File > Open, Save, Save As and Recent Files, the pair editor,
// Delete, Erase, Sort, Undo and Redo) and the AutoText tab (File > Open and Recent
// Files, the catalogue list with its code box).
void WireAutocorrect(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
