#include "gui/shell/paged_list_view.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTreeWidget>

#include <algorithm>

#include "core/app/tab_labels.h"
#include "core/shell/entry_store.h"
#include "core/shell/list_document.h"
#include "core/shell/paged_list.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

const QColor &lineNumberBackground = palette::panelGrey;
const QColor &amber = palette::amber;
const QColor &incorrectRed = palette::red;
const QColor &correctGreen = palette::green;

} // namespace

void StylePlainListRow(QTreeWidgetItem &row)
{
    row.setFlags(row.flags() | Qt::ItemIsUserCheckable);
    row.setCheckState(0, Qt::Unchecked);
    row.setBackground(0, lineNumberBackground);
    row.setForeground(0, Qt::black);
}

int PagedListView::rowsFilling(const QFont &font, int height)
{
    // A list like the tabs' own, with one row, measured as the style lays it out.
    EntryStore entries;
    entries.append(u"Wy\nWy");
    qint64 selected = -1;
    PagedListView probe(entries, selected, PagedListStyle::Dictionary, {{QStringLiteral("Words"), 160}}, 1);
    probe.tree()->setFont(font);
    probe.refreshListPage();
    probe.ensurePolished();
    QTreeWidget *tree = probe.tree();
    const int rowHeight = std::max(1, tree->sizeHintForRow(0));
    // The last column is widened past the window (WidenLastColumn), so the horizontal
    // scroll bar always takes its strip at the bottom.
    const int shown = height - tree->header()->sizeHint().height() - 2 * tree->frameWidth() -
                      tree->horizontalScrollBar()->sizeHint().height();
    return std::max(1, shown / rowHeight);
}

PagedListView::PagedListView(EntryStore &entries, qint64 &selectedIndex, PagedListStyle style,
                             const QList<Column> &columns, int pageRows, QWidget *parent)
    : QWidget(parent)
    , m_entries(entries)
    , m_selectedIndex(selectedIndex)
    , m_style(style)
    , m_pageRows(std::max(1, pageRows))
    , m_tree(new QTreeWidget(this))
    , m_scroll(new QScrollBar(Qt::Vertical, this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tree);
    layout->addWidget(m_scroll);
    m_scroll->setFixedWidth(scrollBarWidth);

    QStringList captions{lineColumnCaption()};
    for (const Column &c : columns)
        captions.append(c.caption);
    m_tree->setColumnCount(static_cast<int>(captions.size()));
    m_tree->setHeaderLabels(captions);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionsMovable(false);
    m_tree->setColumnWidth(0, 85);
    for (int i = 0; i < columns.size(); ++i)
        m_tree->setColumnWidth(i + 1, columns[i].width);
    m_tree->setRootIsDecorated(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setItemsExpandable(false);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The separate scroll bar pages through the document; the tree never scrolls.
    m_tree->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);

    m_scroll->setRange(0, 0);
    m_scroll->setPageStep(m_pageRows);
    m_scroll->setSingleStep(1);
    // Live scrolling: the page follows the thumb while it moves.
    connect(m_scroll, &QScrollBar::valueChanged, this, [this] { refreshListPage(); });
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] { trackSelection(); });
    connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int) { syncMarks(item); });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!m_entries.isEmpty() && m_selectedIndex != -1)
            emit entryActivated();
    });
}

QTreeWidgetItem *PagedListView::makeRow(qint64 index) const
{
    auto *item = new QTreeWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setText(0, QString::number(index + 1));
    item->setBackground(0, lineNumberBackground);
    item->setForeground(0, Qt::black);
    item->setCheckState(0, m_entries.isMarked(index) ? Qt::Checked : Qt::Unchecked);
    const QStringView entry = m_entries.view(index);
    const int columns = m_tree->columnCount();
    int column = 1;
    for (qsizetype start = 0; column < columns; ++column) {
        const qsizetype end = entry.indexOf(QLatin1Char('\n'), start);
        item->setText(column, entry.mid(start, end < 0 ? -1 : end - start).toString());
        if (end < 0)
            break;
        start = end + 1;
    }
    switch (m_style) {
    case PagedListStyle::Dictionary:
        if (IsCommentEntry(entry)) {
            item->setForeground(1, amber);
            item->setForeground(2, amber);
        }
        break;
    case PagedListStyle::Autocorrect:
        item->setForeground(1, incorrectRed);
        item->setForeground(2, correctGreen);
        break;
    case PagedListStyle::Plain:
        break;
    }
    return item;
}

void PagedListView::refreshListPage()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    m_tree->setUpdatesEnabled(false);
    m_tree->clear();
    const qint64 count = m_entries.size();
    {
        const QSignalBlocker blocker(m_scroll);
        m_scroll->setPageStep(m_pageRows);
        m_scroll->setRange(0, static_cast<int>(PagedListCursor::lastPageStart(m_pageRows, count)));
        if (count == 0)
            m_scroll->setValue(0);
    }
    if (count > 0) {
        const qint64 first = m_scroll->value();
        const qint64 last = std::min<qint64>(first + m_pageRows - 1, count - 1);
        QList<QTreeWidgetItem *> rows;
        rows.reserve(static_cast<qsizetype>(last - first + 1));
        for (qint64 i = first; i <= last; ++i)
            rows.append(makeRow(i));
        m_tree->addTopLevelItems(rows);
        const qint64 row = m_selectedIndex - first;
        if (m_selectedIndex >= 0 && row >= 0 && row < rows.size())
            m_tree->setCurrentItem(rows[static_cast<qsizetype>(row)]);
    }
    m_tree->setUpdatesEnabled(true);
    m_refreshing = false;
    if (m_boundScroll)
        *m_boundScroll = m_scroll->value();
    refreshSelectedLabel();
}

void PagedListView::showLoading()
{
    m_refreshing = true;
    m_tree->clear();
    {
        const QSignalBlocker blocker(m_scroll);
        m_scroll->setRange(0, 0);
        m_scroll->setValue(0);
    }
    m_refreshing = false;
    if (m_boundScroll)
        *m_boundScroll = 0;
}

bool PagedListView::handleListKey(ListKey key)
{
    const qint64 count = m_entries.size();
    PagedListCursor cursor{scrollPosition(), m_selectedIndex};
    bool acted = false;
    switch (key) {
    case ListKey::Up:
        acted = cursor.keyUp(m_pageRows, count);
        break;
    case ListKey::Down:
        acted = cursor.keyDown(m_pageRows, count);
        break;
    case ListKey::PageUp:
        acted = cursor.keyPageUp(m_pageRows, count);
        break;
    case ListKey::PageDown:
        acted = cursor.keyPageDown(m_pageRows, count);
        break;
    case ListKey::Home:
        acted = cursor.keyHome(count);
        break;
    case ListKey::End:
        acted = cursor.keyEnd(m_pageRows, count);
        break;
    }
    if (!acted)
        return false;
    m_selectedIndex = cursor.selectedIndex;
    {
        const QSignalBlocker blocker(m_scroll);
        m_scroll->setValue(static_cast<int>(cursor.scroll));
    }
    refreshListPage();
    emit focusMoved();
    return true;
}

void PagedListView::setPageRows(int rows)
{
    m_pageRows = std::max(1, rows);
    refreshListPage();
}

qint64 PagedListView::scrollPosition() const
{
    return m_scroll->value();
}

void PagedListView::bindScrollPosition(qint64 *position)
{
    m_boundScroll = position;
    if (m_boundScroll)
        *m_boundScroll = m_scroll->value();
}

void PagedListView::setScrollPosition(qint64 position)
{
    {
        const QSignalBlocker blocker(m_scroll);
        m_scroll->setRange(0, static_cast<int>(PagedListCursor::lastPageStart(m_pageRows, m_entries.size())));
        m_scroll->setValue(static_cast<int>(position));
    }
    refreshListPage();
}

qint64 PagedListView::rowCount() const
{
    return m_tree->topLevelItemCount();
}

bool PagedListView::listHasFocus() const
{
    return m_tree->hasFocus();
}

void PagedListView::setSelectedLabel(QLabel *label)
{
    m_selectedLabel = label;
    refreshSelectedLabel();
}

void PagedListView::widenLastColumn(int minimumWidth)
{
    const int last = m_tree->columnCount() - 1;
    if (m_tree->columnWidth(last) < minimumWidth)
        m_tree->setColumnWidth(last, minimumWidth);
}

void PagedListView::trackSelection()
{
    if (m_refreshing)
        return;
    const QList<QTreeWidgetItem *> selected = m_tree->selectedItems();
    m_selectedIndex = selected.isEmpty() ? -1 : m_tree->indexOfTopLevelItem(selected.first()) + scrollPosition();
    emit focusMoved();
}

void PagedListView::syncMarks(QTreeWidgetItem *changed)
{
    if (m_refreshing || !changed)
        return;
    // Every visible row is compared with its entry's mark, as a change may come from
    // any row.
    const qint64 first = scrollPosition();
    bool anyChange = false;
    for (int row = 0; row < m_tree->topLevelItemCount(); ++row) {
        const qint64 index = first + row;
        if (index >= m_entries.size())
            break;
        const bool ticked = m_tree->topLevelItem(row)->checkState(0) == Qt::Checked;
        if (ticked != m_entries.isMarked(index)) {
            m_entries.setMarked(index, ticked);
            anyChange = true;
        }
    }
    if (!anyChange)
        return;
    refreshSelectedLabel();
    emit marksChanged();
}

void PagedListView::refreshSelectedLabel()
{
    if (!m_selectedLabel)
        return;
    const QString text = SelectedLabelText(m_entries.markedCount(), m_entries.size());
    if (m_selectedLabel->text() != text)
        m_selectedLabel->setText(text);
}

bool PagedListView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        switch (key->key()) {
        case Qt::Key_Up:
            handleListKey(ListKey::Up);
            return true;
        case Qt::Key_Down:
            handleListKey(ListKey::Down);
            return true;
        case Qt::Key_PageUp:
            handleListKey(ListKey::PageUp);
            return true;
        case Qt::Key_PageDown:
            handleListKey(ListKey::PageDown);
            return true;
        case Qt::Key_Home:
            handleListKey(ListKey::Home);
            return true;
        case Qt::Key_End:
            handleListKey(ListKey::End);
            return true;
        default:
            return false;
        }
    }
    if (watched == m_tree->viewport() && event->type() == QEvent::Wheel) {
        // The wheel moves the page through the separate scroll bar.
        QCoreApplication::sendEvent(m_scroll, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lexaloom
