#pragma once

#include "core/shell/entry_store.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace lexaloom {

class Ui;

// An entry that starts with "/" is a comment line of the list, not a word: shown
// amber, accepted with spaces, skipped by the tools that read words.
inline bool IsCommentEntry(QStringView entry)
{
    return entry.startsWith(u'/');
}

// What an Erase resets besides the entries: the file it came from and whether it had
// unsaved changes. Undo of the Erase brings them back, or the restored entries would
// look saved and leaving would not warn. `kindText` is what else the kind's Erase
// resets (the thesaurus' encoding line); the kind's own undo restores it.
struct ListFileState {
    bool changed = false;
    QString path;
    QString kindText;
};

// What undo brings back: the entries with their marks, the focused entry and the
// list's scroll position; after an Erase also the file state.
struct ListSnapshot {
    EntryStore entries;
    qint64 selectedIndex = -1;
    qint64 scrollPosition = 0;
    std::optional<ListFileState> file;
};

// The document behind a paged, editable list tab (the dictionary, the thesaurus and
// the autocorrect list): its entries, the focused entry, the first entry on show (the
// list view writes it as it scrolls, so undo can bring the view back), the changed
// flag, the file and one step of undo and of redo.
struct ListDocument {
    using Snapshot = ListSnapshot;

    EntryStore entries;
    qint64 selectedIndex = -1;
    qint64 scrollPosition = 0;
    bool changed = false;
    QString path;
    std::optional<Snapshot> undoSnapshot;
    std::optional<Snapshot> redoSnapshot;

    bool hasSelection() const { return selectedIndex >= 0 && selectedIndex < entries.size(); }
    bool hasUndoStep() const { return undoSnapshot.has_value(); }
    bool hasRedoStep() const { return redoSnapshot.has_value(); }
    // Loading a file starts without history.
    void clearHistory();
};

// One step of undo and redo, with the document's scroll position: a step restores it
// and hands it back for the view to show. A new snapshot replaces the old one and
// drops the redo step. `fromTool` tells a tool's snapshot (Erase, Sort, the batch
// tools) from an editor's; both leave the same state here, and the buttons follow the
// two steps once the command ends.
void TakeUndoSnapshot(ListDocument &doc, bool fromTool = false);
// Erase's snapshot: TakeUndoSnapshot's, plus the file state it is about to reset.
void TakeEraseSnapshot(ListDocument &doc, const QString &kindText = QString());
// Both return the scroll position to show, or nothing when no step was armed. They
// leave `changed` alone, except across an Erase: undoing it restores `changed` and
// `path` as they were before, and redoing it resets them again.
std::optional<qint64> UndoListChange(ListDocument &doc);
std::optional<qint64> RedoListChange(ListDocument &doc);

// The refusals of a list's single-entry commands, in the list's own words.
struct ListEntryTexts {
    QString noEntries;      // "No dictionary words found."
    QString noSelection;    // "No dictionary word selected."
    QString deleteQuestion; // "Really delete dictionary word?\n\"" (the entry and "\"" follow)
};

// True when an entry is focused; otherwise tells why not (under "Warning!"), except
// that a missing selection passes in silence when `silentWithoutSelection`.
bool CheckListSelection(const ListDocument &doc, Ui &ui, const ListEntryTexts &texts,
                        bool silentWithoutSelection = false);

// Asks texts.deleteQuestion + shownEntry(focused entry) + "\"" and on Yes removes the
// focused entry after an undo snapshot; the focus goes, `changed` is set. 1 when the
// entry was deleted, 0 otherwise.
int DeleteListEntry(ListDocument &doc, Ui &ui, const ListEntryTexts &texts,
                    const std::function<QString(QStringView entry)> &shownEntry, bool silentWithoutSelection = false);

} // namespace lexaloom
