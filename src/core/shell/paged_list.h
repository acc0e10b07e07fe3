#pragma once

#include <QtGlobal>

namespace lexaloom {

// Where a paged list stands: the document index of its first shown row (the scroll
// bar's position) and of the focused entry (-1 for none). The list control only ever
// holds one page; everything here is arithmetic on indexes, whatever the document size.
struct PagedListCursor {
    qint64 scroll = 0;
    qint64 selectedIndex = -1;

    // The scroll range's end: entry count - 1, or 0 when empty.
    static qint64 maxScroll(qint64 count) { return count > 0 ? count - 1 : 0; }
    // The furthest the scroll bar goes: the start of the last full page, so a list of
    // more than one page never shows a short last page.
    static qint64 lastPageStart(qint64 pageRows, qint64 count) { return count > pageRows ? count - pageRows : 0; }
    // Number of rows shown on the page.
    static qint64 rowsOnPage(qint64 scroll, qint64 pageRows, qint64 count);

    // The page row that shows the focused entry, or -1 when it is off the page.
    qint64 selectedRow(qint64 pageRows, qint64 count) const;
    void setScroll(qint64 position, qint64 pageRows, qint64 count);

    // Keyboard movement; each returns true when it acted.
    bool keyUp(qint64 pageRows, qint64 count);
    bool keyDown(qint64 pageRows, qint64 count);
    bool keyPageUp(qint64 pageRows, qint64 count);
    bool keyPageDown(qint64 pageRows, qint64 count);
    bool keyHome(qint64 count);
    bool keyEnd(qint64 pageRows, qint64 count);
};

} // namespace lexaloom
