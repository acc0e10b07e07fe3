#pragma once

#include "shell/entry_store.h"
#include "shell/list_document.h"

#include <QString>

namespace lexaloom {

// DocumentList.xml: entries "incorrect\ncorrect".
struct AutocorrectList : ListDocument {
    qint64 autocorrectCount() const { return entries.size(); }
};

// BlockList.xml, read only: entries "abbreviated-name\npackage-name\nname".
struct AutoTextList {
    EntryStore entries;
    QString path;
};

} // namespace lexaloom
