#pragma once

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// The Thesaurus Tools menu: the extractions, Clean up symbols, Show/Merge duplicates,
// Combine, Deduplicate and Sort of meanings, Sort on numbers and Fix invalid spaces.
void WireThesaurusTools(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
