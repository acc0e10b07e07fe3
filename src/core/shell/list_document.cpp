#include "core/shell/list_document.h"

#include "core/shell/long_task.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

ListSnapshot takeSnapshot(const ListDocument &doc)
{
    return {doc.entries, doc.selectedIndex, doc.scrollPosition, std::nullopt};
}

// The state to go back to when `snapshot` is restored: across an Erase it keeps the
// file state too, so that the step can be redone as it was.
ListSnapshot counterpartOf(const ListDocument &doc, const ListSnapshot &snapshot)
{
    ListSnapshot counterpart = takeSnapshot(doc);
    if (snapshot.file)
        counterpart.file = ListFileState{doc.changed, doc.path, snapshot.file->kindText};
    return counterpart;
}

qint64 restore(ListDocument &doc, ListSnapshot &&snapshot)
{
    // The marks travel with the entries, so markedCount follows them.
    doc.entries = std::move(snapshot.entries);
    doc.selectedIndex = snapshot.selectedIndex < doc.entries.size() ? snapshot.selectedIndex : -1;
    if (snapshot.file) {
        doc.changed = snapshot.file->changed;
        doc.path = snapshot.file->path;
    }
    doc.scrollPosition = snapshot.scrollPosition;
    return snapshot.scrollPosition;
}

} // namespace

void ListDocument::clearHistory()
{
    undoSnapshot.reset();
    redoSnapshot.reset();
}

void TakeUndoSnapshot(ListDocument &doc, bool fromTool)
{
    // The command states are recomputed after every command, so a tool's snapshot
    // needs no deferred button refresh of its own.
    Q_UNUSED(fromTool);
    doc.undoSnapshot = takeSnapshot(doc);
    doc.redoSnapshot.reset();
}

void TakeEraseSnapshot(ListDocument &doc, const QString &kindText)
{
    TakeUndoSnapshot(doc, true);
    doc.undoSnapshot->file = ListFileState{doc.changed, doc.path, kindText};
}

std::optional<qint64> UndoListChange(ListDocument &doc)
{
    if (!doc.undoSnapshot)
        return std::nullopt;
    ListSnapshot snapshot = std::move(*doc.undoSnapshot);
    doc.undoSnapshot.reset();
    doc.redoSnapshot = counterpartOf(doc, snapshot);
    return restore(doc, std::move(snapshot));
}

std::optional<qint64> RedoListChange(ListDocument &doc)
{
    if (!doc.redoSnapshot)
        return std::nullopt;
    // Taken out first: the undo snapshot of the current state drops the redo step.
    ListSnapshot snapshot = std::move(*doc.redoSnapshot);
    doc.redoSnapshot.reset();
    doc.undoSnapshot = counterpartOf(doc, snapshot);
    return restore(doc, std::move(snapshot));
}

bool CheckListSelection(const ListDocument &doc, Ui &ui, const ListEntryTexts &texts, bool silentWithoutSelection)
{
    if (doc.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), texts.noEntries, MessageIcon::Warning);
        return false;
    }
    if (!doc.hasSelection()) {
        if (!silentWithoutSelection)
            ui.showMessage(LongTask::warningTitle(), texts.noSelection, MessageIcon::Warning);
        return false;
    }
    return true;
}

int DeleteListEntry(ListDocument &doc, Ui &ui, const ListEntryTexts &texts,
                    const std::function<QString(QStringView entry)> &shownEntry, bool silentWithoutSelection)
{
    if (!CheckListSelection(doc, ui, texts, silentWithoutSelection))
        return 0;
    const QString question = texts.deleteQuestion + shownEntry(doc.entries.view(doc.selectedIndex)) + u'"';
    if (!ui.askYesNo(LongTask::warningTitle(), question, MessageIcon::Warning))
        return 0;
    TakeUndoSnapshot(doc);
    doc.entries.remove(doc.selectedIndex);
    doc.selectedIndex = -1;
    doc.changed = true;
    return 1;
}

} // namespace lexaloom
