#include "core/shell/paged_list.h"

#include <algorithm>

namespace lexaloom {

qint64 PagedListCursor::rowsOnPage(qint64 scroll, qint64 pageRows, qint64 count)
{
    return std::clamp<qint64>(count - scroll, 0, pageRows);
}

qint64 PagedListCursor::selectedRow(qint64 pageRows, qint64 count) const
{
    if (selectedIndex < 0)
        return -1;
    const qint64 row = selectedIndex - scroll;
    return row >= 0 && row < rowsOnPage(scroll, pageRows, count) ? row : -1;
}

void PagedListCursor::setScroll(qint64 position, qint64 pageRows, qint64 count)
{
    scroll = std::clamp<qint64>(position, 0, lastPageStart(pageRows, count));
}

bool PagedListCursor::keyUp(qint64 pageRows, qint64 count)
{
    if (selectedIndex == -1 || count == 0)
        return false;
    qint64 row = selectedRow(pageRows, count);
    if (row < 0) {
        // The focused entry is off the page: bring it to the top first (or onto the
        // last page).
        setScroll(selectedIndex, pageRows, count);
        row = selectedIndex - scroll;
    }
    if (row > 0)
        --row;
    else if (scroll > 0)
        --scroll;
    selectedIndex = row + scroll;
    return true;
}

bool PagedListCursor::keyDown(qint64 pageRows, qint64 count)
{
    if (selectedIndex == -1 || count == 0)
        return false;
    qint64 row = selectedRow(pageRows, count);
    if (row < 0) {
        // Start the page just below the focused entry, as if it were the row above;
        // near the end the last page holds it.
        setScroll(std::min(count, selectedIndex + 1), pageRows, count);
        row = selectedIndex - scroll;
    }
    if (row + 1 == pageRows && scroll + pageRows < count)
        ++scroll;
    else if (row + 1 < rowsOnPage(scroll, pageRows, count))
        ++row;
    if (row < 0)
        row = 0;
    selectedIndex = row + scroll;
    return true;
}

bool PagedListCursor::keyPageUp(qint64 pageRows, qint64 count)
{
    if (pageRows >= count)
        return false;
    selectedIndex = std::max<qint64>(0, selectedIndex - pageRows);
    setScroll(scroll - pageRows, pageRows, count);
    return true;
}

bool PagedListCursor::keyPageDown(qint64 pageRows, qint64 count)
{
    if (pageRows >= count)
        return false;
    selectedIndex = selectedIndex + pageRows < count ? selectedIndex + pageRows : count - 1;
    setScroll(scroll + pageRows, pageRows, count);
    return true;
}

bool PagedListCursor::keyHome(qint64 count)
{
    if (count < 1)
        return false;
    selectedIndex = 0;
    scroll = 0;
    return true;
}

bool PagedListCursor::keyEnd(qint64 pageRows, qint64 count)
{
    if (count < 1)
        return false;
    selectedIndex = count - 1;
    setScroll(count - 1, pageRows, count);
    return true;
}

} // namespace lexaloom
