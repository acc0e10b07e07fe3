#pragma once

#include "core/app/commands.h"
#include "core/shell/document_kind.h"

#include <QString>

#include <array>

namespace lexaloom {

class Ui;
class Workbench;

// What RefreshCommandStates enables beyond the controls that are always enabled.
struct CommandStates {
    // File > Save, Save As and the "Save"/"Save as..." buttons.
    bool saveEnabled = false;
    // The tool menu of each tab, by DocumentKind.
    std::array<bool, documentKindCount> toolMenuEnabled{};
    // The Undo and Redo buttons of each tab, by DocumentKind.
    std::array<bool, documentKindCount> undoEnabled{};
    std::array<bool, documentKindCount> redoEnabled{};
    // Every button of every tab, by DocumentKind and TabAction; false for buttons a
    // tab does not have. The tabs' lists, scroll bars and panes are always enabled.
    std::array<std::array<bool, tabActionCount>, documentKindCount> buttonEnabled{};

    bool isButtonEnabled(DocumentKind kind, TabAction action) const
    {
        return buttonEnabled[static_cast<size_t>(kind)][static_cast<size_t>(action)];
    }

    bool operator==(const CommandStates &) const = default;
};

CommandStates ComputeCommandStates(const Workbench &workbench);

// Lists the changed documents and asks `question`; true when nothing is changed or
// the user answers Yes.
bool ConfirmDiscardChanges(const Workbench &workbench, Ui &ui, const QString &question);

} // namespace lexaloom
