#pragma once

#include "core/autocorrect/autocorrect_tools.h"
#include "gui/shell/tool_window.h"

namespace lexaloom {

class Ui;
class Workbench;

// Autocorrect Tools > "Show/Delete/XDelete duplicates": the search, then the "Show
// Duplicates" window when it found any. True when Delete or XDelete replaced the list.
bool OpenAutocorrectDuplicatesWindow(QWidget *parent, Workbench &workbench, Ui &ui);

class AutocorrectDuplicatesWindow final : public ToolWindow {
    Q_OBJECT

public:
    AutocorrectDuplicatesWindow(QWidget *parent, Workbench &workbench, Ui &ui, AutocorrectDuplicates duplicates);

    bool listReplaced() const { return m_replaced; }

private:
    void remove(bool exclusive);

    Workbench &m_workbench;
    AutocorrectDuplicates m_duplicates;
    bool m_replaced = false;
};

} // namespace lexaloom
