#pragma once

#include "shell/entry_store.h"

#include <QString>

#include <optional>

namespace lexaloom {

// The loaded .dic/.aff pair: entries "word[/flags]" optionally followed by "\n" and
// the tags, their check marks, and the .aff text as edited in its pane.
struct DictionaryDocument {
    struct Snapshot {
        EntryStore entries;
        qint64 selectedIndex = -1;
        qint64 scrollPosition = 0;
    };

    EntryStore entries;
    qint64 selectedIndex = -1;
    bool changed = false;
    QString path;
    QString affText;
    std::optional<Snapshot> undoSnapshot;
    std::optional<Snapshot> redoSnapshot;

    qint64 wordCount() const { return entries.size(); }
    bool hasUndoStep() const { return undoSnapshot.has_value(); }
    bool hasRedoStep() const { return redoSnapshot.has_value(); }
};

} // namespace lexaloom
