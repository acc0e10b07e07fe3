#pragma once

#include "core/shell/list_document.h"

#include <QString>

namespace lexaloom {

// A .dat thesaurus: entries "head\nmeaning 1\nmeaning 2...".
struct ThesaurusDocument : ListDocument {
    // The file's first line as read, written back as the first line of the .dat and
    // the .idx.
    QString encodingLine;

    qint64 synonymCount() const { return entries.size(); }
};

} // namespace lexaloom
