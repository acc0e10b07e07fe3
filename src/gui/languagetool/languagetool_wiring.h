#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// The LanguageTool tab and menu: File > Open and the recent files, the outline's two
// lists and the XML pane, the structure export, the POS extraction items and the POS
// settings window.
void WireLanguageTool(MainWindow &window, Workbench &workbench, Ui &ui);

// Draws the workbench's grammar outline into the tab: the chunk list with its colours,
// the category list and its column title, the pane and the labels as after a load.
void ShowGrammarOutline(MainWindow &window, const Workbench &workbench);

// The captions of the two POS extraction items, naming the selected POS language.
void RefreshPosExtractionCaptions(MainWindow &window, const Workbench &workbench);

} // namespace lexaloom
