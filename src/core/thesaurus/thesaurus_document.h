#pragma once

#include "shell/entry_store.h"

#include <QString>

#include <optional>

namespace lexaloom {

// A .dat thesaurus: entries "head\nmeaning 1\nmeaning 2...".
struct ThesaurusDocument {
    EntryStore entries;
    qint64 selectedIndex = -1;
    bool changed = false;
    QString path;
    std::optional<EntryStore> undoSnapshot;
    std::optional<EntryStore> redoSnapshot;

    qint64 synonymCount() const { return entries.size(); }
    bool hasUndoStep() const { return undoSnapshot.has_value(); }
    bool hasRedoStep() const { return redoSnapshot.has_value(); }
};

} // namespace lexaloom
