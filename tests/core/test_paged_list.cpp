#include "core/shell/paged_list.h"

#include <gtest/gtest.h>

using namespace lexaloom;

namespace {

enum class Key { Up, Down, PageUp, PageDown, Home, End };

bool press(PagedListCursor &c, Key key, qint64 page, qint64 count)
{
    switch (key) {
    case Key::Up:
        return c.keyUp(page, count);
    case Key::Down:
        return c.keyDown(page, count);
    case Key::PageUp:
        return c.keyPageUp(page, count);
    case Key::PageDown:
        return c.keyPageDown(page, count);
    case Key::Home:
        return c.keyHome(count);
    case Key::End:
        return c.keyEnd(page, count);
    }
    return false;
}

} // namespace

TEST(PagedListCursorTest, KeyboardMovement)
{
    const struct {
        const char *name;
        qint64 count, page, scroll, selected;
        Key key;
        bool acts;
        qint64 wantScroll, wantSelected;
    } cases[] = {
        {"5 entries: Page Down does nothing", 5, 13, 0, 2, Key::PageDown, false, 0, 2},
        {"5 entries: Page Up does nothing", 5, 13, 0, 2, Key::PageUp, false, 0, 2},
        {"5 entries: End selects entry 5 on the one page", 5, 13, 0, 0, Key::End, true, 0, 4},
        {"Down from the last row scrolls by one", 100, 13, 0, 12, Key::Down, true, 1, 13},
        {"Down inside the page", 100, 13, 0, 3, Key::Down, true, 0, 4},
        {"Down on the last entry stays", 100, 13, 87, 99, Key::Down, true, 87, 99},
        {"Down with the focus off the page", 100, 13, 50, 10, Key::Down, true, 11, 11},
        {"Down with the last entry off the page", 100, 13, 0, 99, Key::Down, true, 87, 99},
        {"Down without focus does nothing", 100, 13, 0, -1, Key::Down, false, 0, -1},
        {"Up from the first row scrolls up", 100, 13, 5, 5, Key::Up, true, 4, 4},
        {"Up at the top stays", 100, 13, 0, 0, Key::Up, true, 0, 0},
        {"Up with the focus off the page", 100, 13, 50, 10, Key::Up, true, 9, 9},
        {"Up without focus does nothing", 100, 13, 0, -1, Key::Up, false, 0, -1},
        {"Page Down", 100, 13, 0, 5, Key::PageDown, true, 13, 18},
        {"Page Down near the end", 100, 13, 80, 95, Key::PageDown, true, 87, 99},
        {"Page Up", 100, 13, 20, 25, Key::PageUp, true, 7, 12},
        {"Page Up near the top", 100, 13, 3, 5, Key::PageUp, true, 0, 0},
        {"Home", 100, 13, 40, 45, Key::Home, true, 0, 0},
        {"End shows a full last page", 100, 13, 0, 0, Key::End, true, 87, 99},
        {"End on exactly one page", 13, 13, 0, 0, Key::End, true, 0, 12},
        {"End on one page and one entry", 14, 13, 0, 0, Key::End, true, 1, 13},
        {"Home on an empty list", 0, 13, 0, -1, Key::Home, false, 0, -1},
        {"End on an empty list", 0, 13, 0, -1, Key::End, false, 0, -1},
    };
    for (const auto &c : cases) {
        PagedListCursor cursor{c.scroll, c.selected};
        EXPECT_EQ(press(cursor, c.key, c.page, c.count), c.acts) << c.name;
        EXPECT_EQ(cursor.scroll, c.wantScroll) << c.name;
        EXPECT_EQ(cursor.selectedIndex, c.wantSelected) << c.name;
    }
}

TEST(PagedListCursorTest, PageGeometry)
{
    EXPECT_EQ(PagedListCursor::maxScroll(0), 0);
    EXPECT_EQ(PagedListCursor::maxScroll(100), 99);
    EXPECT_EQ(PagedListCursor::lastPageStart(13, 100), 87);
    EXPECT_EQ(PagedListCursor::lastPageStart(13, 5), 0);
    EXPECT_EQ(PagedListCursor::lastPageStart(13, 0), 0);
    EXPECT_EQ(PagedListCursor::rowsOnPage(0, 13, 5), 5);
    EXPECT_EQ(PagedListCursor::rowsOnPage(95, 13, 100), 5);
    EXPECT_EQ(PagedListCursor::rowsOnPage(0, 13, 0), 0);
    PagedListCursor end{99, 99};
    EXPECT_EQ(end.selectedRow(13, 100), 0);
    PagedListCursor off{0, 20};
    EXPECT_EQ(off.selectedRow(13, 100), -1);
}
