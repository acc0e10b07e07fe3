#pragma once

#include "core/shell/entry_store.h"
#include "core/shell/list_document.h"

#include <QList>
#include <QString>

namespace lexaloom {

// DocumentList.xml: entries "incorrect\ncorrect", each half exactly as it stands
// between the quotes in the file (references are not decoded).
struct AutocorrectList : ListDocument {
    qint64 autocorrectCount() const { return entries.size(); }
};

// One "<block-list:block " element of a BlockList.xml and the text of its content file.
struct AutoTextEntry {
    QString abbreviatedName;
    QString packageName;
    QString name;
    QString content;

    bool operator==(const AutoTextEntry &) const = default;
};

// BlockList.xml, read only.
struct AutoTextList {
    QList<AutoTextEntry> entries;
    QString path;
};

} // namespace lexaloom
