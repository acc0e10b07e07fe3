#pragma once

#include <QString>

namespace lexaloom {

// One flag legend of the word editor and the Preferences window's ".AFF Aid
// Language" list.
struct AffAidEntry {
    // First line of the legend + "\n" + image number + "\n" + file name.
    QString entry;
    // The whole legend text with "\n" line ends.
    QString text;
    // The PNG icon beside the legend file; empty when there is none.
    QString imagePath;
};

// The built-in legend, ahead of the scanned ones before sorting.
inline QString BuiltInAffAidEntry()
{
    return QStringLiteral("eng-GB:english:English GB\n30\n*****");
}

} // namespace lexaloom
