#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// Dictionary Tools > "Show/Merge/Delete duplicates .DIC" and "Sort flags && remove
// their duplicates .DIC".
void WireDuplicates(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
