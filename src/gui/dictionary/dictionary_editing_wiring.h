#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;
struct WordEditorContext;

// The Dictionary tab's Add, Edit, Delete, Undo and Redo (with their keys and the
// double click on the list) and the list's "Clone" and "Delete" pop-up items.
void WireDictionaryEditing(MainWindow &window, Workbench &workbench, Ui &ui);

// The word editor's view of the workbench: the affix table and the dictionary's .aff
// text, the settings, the legends and the remembered sort choice.
WordEditorContext WordEditorContextOf(Workbench &workbench);

} // namespace lexaloom
