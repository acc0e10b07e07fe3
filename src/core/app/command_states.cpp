#include "core/app/command_states.h"

#include "core/app/workbench.h"
#include "core/shell/ui.h"

namespace lexaloom {

CommandStates ComputeCommandStates(const Workbench &workbench)
{
    CommandStates states;
    const DocumentKind tab = workbench.currentTab;
    states.saveEnabled = workbench.slot(tab).canSave() && !workbench.isEmpty(tab);
    for (DocumentKind kind : allDocumentKinds) {
        const auto k = static_cast<size_t>(kind);
        states.toolMenuEnabled[k] = kind == tab;
        states.undoEnabled[k] = workbench.hasUndoStep(kind);
        states.redoEnabled[k] = workbench.hasRedoStep(kind);
        for (size_t a = 0; a < tabActionCount; ++a) {
            const auto action = static_cast<TabAction>(a);
            bool enabled = false;
            switch (TabButtonKindOf(kind, action)) {
            case TabButtonKind::Operation:
                // Undo and Redo follow the document's history; the rest always act.
                enabled = action == TabAction::Undo   ? states.undoEnabled[k]
                          : action == TabAction::Redo ? states.redoEnabled[k]
                                                      : true;
                break;
            case TabButtonKind::NoAction:
                enabled = true;
                break;
            case TabButtonKind::AlwaysDisabled:
            case TabButtonKind::Absent:
                break;
            }
            states.buttonEnabled[k][a] = enabled;
        }
    }
    return states;
}

bool ConfirmDiscardChanges(const Workbench &workbench, Ui &ui, const QString &question)
{
    QString changed;
    for (DocumentKind kind : allDocumentKinds) {
        if (workbench.isChanged(kind))
            changed += QStringLiteral("  \u2014 ") + KindFacts(kind).name + QLatin1Char('\n');
    }
    if (changed.isEmpty())
        return true;
    const QString text =
        QStringLiteral("The following files have been changed:\n") + changed + QLatin1Char('\n') + question;
    return ui.askYesNo(QStringLiteral("Warning!"), text, MessageIcon::Information);
}

} // namespace lexaloom
