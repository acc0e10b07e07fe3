#pragma once

#include <QString>

namespace lexaloom {

// What Find and Go to remember between openings while the program runs; never saved.
struct FindMemory {
    QString searchText;
    bool leftMatch = true;
    bool matchCase = false;
    bool matchExtra = true;
    // The last text typed into Go to, whichever list it served.
    QString gotoText;
};

} // namespace lexaloom
