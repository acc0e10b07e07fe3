#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// Dictionary Tools > "GB to AU/CA/NZ/ZA: -ize/-ise", "Crunch words with flags" and
// Language/Task-specific Tools > "Words missing in Master Wordlist".
void WireRegionalTools(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
