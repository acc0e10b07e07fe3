#pragma once

#include <QString>

namespace lexaloom {

// A hyphenation pattern file, edited as text. Its tab's word list shows the
// dictionary's entries; only the focus within that list is its own.
struct HyphenationDocument {
    QString text;
    bool changed = false;
    QString path;
    qint64 selectedIndex = -1;

    bool isEmpty() const { return text.isEmpty(); }
};

} // namespace lexaloom
