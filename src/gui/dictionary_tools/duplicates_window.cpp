#include "dictionary_tools/duplicates_window.h"

#include "app/workbench.h"

namespace lexaloom {

DuplicatesToolOutcome OpenDuplicatesTool(QWidget *parent, Workbench &workbench, Ui &ui, bool alreadyRecorded)
{
    Q_UNUSED(parent);
    DuplicatesToolOutcome outcome;
    outcome.undoRecorded = alreadyRecorded;
    if (!DuplicatesSession::prepare(workbench.dictionary, workbench.affixTable, ui))
        return outcome;
    // The window comes next; until then the tool opens and closes as a Cancel would.
    outcome.opened = true;
    return outcome;
}

} // namespace lexaloom
