#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// The seven Bulk Import menu items and "Import places/people names adding possessives".
void WireBulkImport(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
