#pragma once

#include <functional>

#include "core/shell/document_kind.h"

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// The pop-up menus of the Dictionary, Thesaurus and Autocorrect lists (add, edit,
// clone, the marks, Delete Selected, Delete) and of the Hyphenation result list
// (the copy commands).
void WireListPopups(MainWindow &window, Workbench &workbench, Ui &ui);

} // namespace lexaloom
