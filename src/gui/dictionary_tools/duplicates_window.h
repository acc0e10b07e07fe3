#pragma once

#include "dictionary_tools/duplicates_session.h"

class QWidget;

namespace lexaloom {

class Ui;
class Workbench;

// Dictionary Tools > "Show/Merge/Delete duplicates .DIC", and the step of another tool
// that merges duplicates: refuses an empty dictionary, rebuilds the AffixTable and
// runs the window modally over `parent`. With `alreadyRecorded` the caller's undo point
// of the dictionary is the one "Cancel" returns to. The caller redraws the dictionary.
DuplicatesToolOutcome OpenDuplicatesTool(QWidget *parent, Workbench &workbench, Ui &ui, bool alreadyRecorded);

} // namespace lexaloom
