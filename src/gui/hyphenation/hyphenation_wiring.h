#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// The Hyphenation tab: File > Open and Save on its pattern text, the pane's Clear,
// Go to bottom and Go to top, Hyphenate and Update with the result list.
void WireHyphenation(MainWindow &window, Workbench &workbench, Ui &ui);

// Redraws the result list and the "# Hyphenations:" label from the document.
void ShowHyphenationResults(MainWindow &window, const Workbench &workbench);

} // namespace lexaloom
