#pragma once

#include "shell/entry_store.h"

#include <QString>

#include <optional>

namespace lexaloom {

// DocumentList.xml: entries "incorrect\ncorrect".
struct AutocorrectList {
    EntryStore entries;
    qint64 selectedIndex = -1;
    bool changed = false;
    QString path;
    std::optional<EntryStore> undoSnapshot;
    std::optional<EntryStore> redoSnapshot;

    qint64 autocorrectCount() const { return entries.size(); }
    bool hasUndoStep() const { return undoSnapshot.has_value(); }
    bool hasRedoStep() const { return redoSnapshot.has_value(); }
};

// BlockList.xml, read only: entries "abbreviated-name\npackage-name\nname".
struct AutoTextList {
    EntryStore entries;
    QString path;
};

} // namespace lexaloom
