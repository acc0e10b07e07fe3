#pragma once

#include <QStringList>
#include <QWidget>

#include "core/app/shell_view.h"

class QFont;
class QLabel;
class QScrollBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace lexaloom {

class EntryStore;

// How a paged list colours its rows.
enum class PagedListStyle {
    Dictionary, // word and tags in amber for entries starting with "/"
    Plain,
    Autocorrect, // "Incorrect" in red, "Correct" in green
};

// A row of the lists that are not paged (AutoText, LanguageTool chunks): a check box
// in front and the "Line #" cell shaded, as on the paged lists.
void StylePlainListRow(QTreeWidgetItem &row);

// A list over a document of any size: the tree holds only the rows of one page, and
// a separate scroll bar chooses the page. Scrolling and keys cost one page refill.
class PagedListView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int scrollBarWidth = 18;

    struct Column {
        QString caption;
        int width;
    };

    // `entries` and `selectedIndex` belong to the document and outlive the view; the
    // first column is "Line #" and is added here.
    PagedListView(EntryStore &entries, qint64 &selectedIndex, PagedListStyle style, const QList<Column> &columns,
                  int pageRows, QWidget *parent = nullptr);

    // RefreshListPage: refills the visible page from the entries.
    void refreshListPage();
    // While a new file loads into a document of its own: no rows and no scroll range,
    // the entries left as they are for the refresh that follows the load.
    void showLoading();
    // Keyboard movement; false when the key did nothing.
    bool handleListKey(ListKey key);

    void setPageRows(int rows);
    int pageRows() const { return m_pageRows; }
    qint64 scrollPosition() const;
    void setScrollPosition(qint64 position);
    // The document's scroll position, kept equal to the view's as it scrolls, so
    // the document's undo steps hold where the list was.
    void bindScrollPosition(qint64 *position);
    qint64 rowCount() const;
    bool listHasFocus() const;
    // The "Selected:" label kept by RefreshSelectedLabel; none for lists that never count.
    void setSelectedLabel(QLabel *label);
    // WidenLastColumn.
    void widenLastColumn(int minimumWidth);

    QTreeWidget *tree() const { return m_tree; }
    QScrollBar *scrollBar() const { return m_scroll; }

    static QString lineColumnCaption() { return QStringLiteral("Line #"); }
    // How many rows in `font` a list `height` pixels high shows whole: what its header,
    // its frame and the style's row height (check box included) leave.
    static int rowsFilling(const QFont &font, int height);

signals:
    // The focused entry changed through a click or a key.
    void focusMoved();
    // A check box changed the marks.
    void marksChanged();
    // A double click on a row.
    void entryActivated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void trackSelection();
    void syncMarks(QTreeWidgetItem *changed);
    void refreshSelectedLabel();
    QTreeWidgetItem *makeRow(qint64 index) const;

    EntryStore &m_entries;
    qint64 &m_selectedIndex;
    qint64 *m_boundScroll = nullptr;
    const PagedListStyle m_style;
    int m_pageRows;
    QTreeWidget *m_tree;
    QScrollBar *m_scroll;
    QLabel *m_selectedLabel = nullptr;
    bool m_refreshing = false;
};

} // namespace lexaloom
