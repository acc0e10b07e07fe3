#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// The Dictionary tab's Erase, Sort and .aff pane buttons, and the Dictionary Tools
// commands the dispatcher runs itself: wordlist duplicates, Sort tags .AFF and Fix
// invalid spaces.
void WireDictionaryBulk(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
