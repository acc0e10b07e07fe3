#pragma once

#include "core/shell/list_document.h"

#include <QString>

namespace lexaloom {

// The loaded .dic/.aff pair: entries "word[/flags]" optionally followed by "\n" and
// the tags, their check marks, and the .aff text as edited in its pane.
struct DictionaryDocument : ListDocument {
    QString affText;

    qint64 wordCount() const { return entries.size(); }
};

} // namespace lexaloom
