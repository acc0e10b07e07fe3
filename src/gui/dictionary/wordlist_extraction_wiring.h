#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// Dictionary Tools > Extract wordlist (its four kinds) and Count wordlist.
void WireWordlistExtraction(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
