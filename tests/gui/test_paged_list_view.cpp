#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "core/shell/entry_store.h"
#include "gui/shell/paged_list_view.h"
#include "gui_test_registry.h"

using namespace lexaloom;

namespace {

constexpr int pageRows = 13;

// A list as the Dictionary tab shows it, over its own entries.
struct ListFixture {
    EntryStore entries;
    qint64 selectedIndex = -1;
    std::unique_ptr<PagedListView> view;
    QLabel selected;

    ListFixture(qint64 count, PagedListStyle style = PagedListStyle::Dictionary)
    {
        entries.reserve(count, count * 8);
        for (qint64 i = 0; i < count; ++i)
            entries.append(QString(QStringLiteral("word%1\ntag%1")).arg(i + 1));
        view = std::make_unique<PagedListView>(
            entries, selectedIndex, style,
            QList<PagedListView::Column>{{QStringLiteral("Words"), 160}, {QStringLiteral("Postags/Comments"), 170}},
            pageRows);
        view->resize(480, 320);
        view->setSelectedLabel(&selected);
        view->refreshListPage();
        view->show();
    }

    QTreeWidget *tree() const { return view->tree(); }
    // The "Line #" numbers shown, as text.
    QStringList lineNumbers() const
    {
        QStringList numbers;
        for (int row = 0; row < tree()->topLevelItemCount(); ++row)
            numbers.append(tree()->topLevelItem(row)->text(0));
        return numbers;
    }
    // The "Line #" of the selected row, or "" when none is selected.
    QString selectedLine() const
    {
        const QList<QTreeWidgetItem *> items = tree()->selectedItems();
        return items.isEmpty() ? QString() : items.first()->text(0);
    }
    void clickRow(int row)
    {
        QTreeWidgetItem *item = tree()->topLevelItem(row);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          QPoint(60, tree()->visualItemRect(item).center().y()));
    }
};

} // namespace

class TestPagedListView final : public QObject {
    Q_OBJECT

private slots:
    void fewEntriesDoNotPage();
    void downFromTheLastRowScrollsByOne();
    void keysOnALongDocument_data();
    void keysOnALongDocument();
    void checkBoxesCountMarks();
    void emptyDocument();
    void rowAppearance();
    void liveScrolling();
    void millionsOfEntriesKeepOnePage();
};

void TestPagedListView::fewEntriesDoNotPage()
{
    ListFixture f(5);
    QCOMPARE(f.lineNumbers(), (QStringList{"1", "2", "3", "4", "5"}));
    f.clickRow(2);
    QCOMPARE(f.selectedIndex, 2);
    QTest::keyClick(f.tree(), Qt::Key_PageDown);
    QCOMPARE(f.selectedIndex, 2);
    QTest::keyClick(f.tree(), Qt::Key_PageUp);
    QCOMPARE(f.selectedIndex, 2);
    QCOMPARE(f.selectedLine(), QStringLiteral("3"));
    QTest::keyClick(f.tree(), Qt::Key_End);
    QCOMPARE(f.selectedIndex, 4);
    QCOMPARE(f.selectedLine(), QStringLiteral("5"));
}

void TestPagedListView::downFromTheLastRowScrollsByOne()
{
    ListFixture f(100);
    f.clickRow(12);
    QCOMPARE(f.selectedIndex, 12);
    QCOMPARE(f.selectedLine(), QStringLiteral("13"));
    QTest::keyClick(f.tree(), Qt::Key_Down);
    QCOMPARE(f.view->scrollBar()->value(), 1);
    QCOMPARE(f.selectedIndex, 13);
    QCOMPARE(f.tree()->topLevelItemCount(), pageRows);
    QCOMPARE(f.tree()->indexOfTopLevelItem(f.tree()->selectedItems().first()), pageRows - 1);
    QCOMPARE(f.selectedLine(), QStringLiteral("14"));
    QCOMPARE(f.tree()->topLevelItem(0)->text(0), QStringLiteral("2"));
    QCOMPARE(f.tree()->topLevelItem(12)->text(1), QStringLiteral("word14"));
}

void TestPagedListView::keysOnALongDocument_data()
{
    QTest::addColumn<int>("clickRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("wantScroll");
    QTest::addColumn<QString>("wantSelectedLine");
    QTest::newRow("Page Down") << 5 << int(Qt::Key_PageDown) << 13 << "19";
    QTest::newRow("Up at the top") << 0 << int(Qt::Key_Up) << 0 << "1";
    QTest::newRow("Home") << 7 << int(Qt::Key_Home) << 0 << "1";
    QTest::newRow("End shows a full last page") << 0 << int(Qt::Key_End) << 100 - pageRows << "100";
}

void TestPagedListView::keysOnALongDocument()
{
    QFETCH(int, clickRow);
    QFETCH(int, key);
    QFETCH(int, wantScroll);
    QFETCH(QString, wantSelectedLine);
    ListFixture f(100);
    f.clickRow(clickRow);
    QTest::keyClick(f.tree(), Qt::Key(key));
    QCOMPARE(f.view->scrollBar()->value(), wantScroll);
    QCOMPARE(f.selectedLine(), wantSelectedLine);
    QCOMPARE(f.selectedIndex, wantSelectedLine.toLongLong() - 1);
}

void TestPagedListView::checkBoxesCountMarks()
{
    ListFixture f(20);
    QSignalSpy marks(f.view.get(), &PagedListView::marksChanged);
    QCOMPARE(f.selected.text(), QStringLiteral("Selected:None"));
    for (int row : {1, 4, 7})
        f.tree()->topLevelItem(row)->setCheckState(0, Qt::Checked);
    QCOMPARE(f.selected.text(), QStringLiteral("Selected:3"));
    QCOMPARE(f.entries.markedCount(), 3);
    QVERIFY(f.entries.isMarked(4));
    QCOMPARE(marks.count(), 3);
    f.tree()->topLevelItem(4)->setCheckState(0, Qt::Unchecked);
    QCOMPARE(f.selected.text(), QStringLiteral("Selected:2"));
    QVERIFY(!f.entries.isMarked(4));

    // A mark survives scrolling away and back.
    f.view->scrollBar()->setValue(10);
    f.view->scrollBar()->setValue(0);
    QCOMPARE(f.tree()->topLevelItem(7)->checkState(0), Qt::Checked);

    ListFixture three(3);
    for (int row = 0; row < 3; ++row)
        three.tree()->topLevelItem(row)->setCheckState(0, Qt::Checked);
    QCOMPARE(three.selected.text(), QStringLiteral("Selected:All"));
}

void TestPagedListView::emptyDocument()
{
    ListFixture f(0);
    QCOMPARE(f.tree()->topLevelItemCount(), 0);
    QCOMPARE(f.view->scrollBar()->maximum(), 0);
    QCOMPARE(f.view->scrollBar()->value(), 0);
    QTest::keyClick(f.tree(), Qt::Key_End);
    QTest::keyClick(f.tree(), Qt::Key_Down);
    QCOMPARE(f.selectedIndex, -1);

    // A document emptied while scrolled down shows nothing and resets the bar.
    ListFixture g(50);
    g.view->scrollBar()->setValue(40);
    g.entries.clear();
    g.view->refreshListPage();
    QCOMPARE(g.tree()->topLevelItemCount(), 0);
    QCOMPARE(g.view->scrollBar()->maximum(), 0);
}

void TestPagedListView::rowAppearance()
{
    ListFixture f(0);
    f.entries.append(u"/flagless");
    f.entries.append(u"word/AB\npo:noun");
    f.entries.setMarked(1, true);
    f.view->refreshListPage();
    QTreeWidgetItem *slash = f.tree()->topLevelItem(0);
    QTreeWidgetItem *plain = f.tree()->topLevelItem(1);
    QCOMPARE(slash->background(0).color(), QColor(214, 217, 223));
    QCOMPARE(slash->foreground(1).color(), QColor(255, 201, 14));
    QCOMPARE(slash->foreground(2).color(), QColor(255, 201, 14));
    QVERIFY(plain->foreground(1).color() != QColor(255, 201, 14));
    QCOMPARE(plain->text(1), QStringLiteral("word/AB"));
    QCOMPARE(plain->text(2), QStringLiteral("po:noun"));
    QCOMPARE(plain->checkState(0), Qt::Checked);
    QCOMPARE(slash->checkState(0), Qt::Unchecked);
    QCOMPARE(f.tree()->headerItem()->text(0), QStringLiteral("Line #"));
    QCOMPARE(f.tree()->columnWidth(0), 85);
    QCOMPARE(f.view->scrollBar()->width(), 18);

    EntryStore pairs;
    pairs.append(u"teh\nthe");
    qint64 selected = -1;
    PagedListView autocorrect(pairs, selected, PagedListStyle::Autocorrect,
                              {{QStringLiteral("Incorrect"), 210}, {QStringLiteral("Correct"), 570}}, pageRows);
    autocorrect.refreshListPage();
    QTreeWidgetItem *pair = autocorrect.tree()->topLevelItem(0);
    QCOMPARE(pair->foreground(1).color(), QColor(255, 0, 0));
    QCOMPARE(pair->foreground(2).color(), QColor(0, 153, 0));
    QCOMPARE(pair->text(2), QStringLiteral("the"));
}

void TestPagedListView::liveScrolling()
{
    ListFixture f(100);
    f.clickRow(3);
    f.view->scrollBar()->setValue(50);
    QCOMPARE(f.lineNumbers().first(), QStringLiteral("51"));
    // The focused entry is off the page: no row is selected, and it keeps its index.
    QCOMPARE(f.selectedLine(), QString());
    QCOMPARE(f.selectedIndex, 3);
    // Up brings it back to the top of the page first.
    QTest::keyClick(f.tree(), Qt::Key_Up);
    QCOMPARE(f.selectedIndex, 2);
    QCOMPARE(f.selectedLine(), QStringLiteral("3"));
}

void TestPagedListView::millionsOfEntriesKeepOnePage()
{
    ListFixture f(5000000);
    QCOMPARE(f.tree()->topLevelItemCount(), pageRows);
    // The scroll bar ends at the last full page.
    QCOMPARE(f.view->scrollBar()->maximum(), 5000000 - pageRows);
    f.clickRow(0);
    for (int key : {Qt::Key_PageDown, Qt::Key_End, Qt::Key_Up, Qt::Key_Home, Qt::Key_Down})
        QTest::keyClick(f.tree(), Qt::Key(key));
    QVERIFY(f.tree()->topLevelItemCount() <= pageRows);
    QCOMPARE(f.selectedIndex, 1);
    f.view->scrollBar()->setValue(4999990);
    QCOMPARE(f.tree()->topLevelItemCount(), pageRows);
    QCOMPARE(f.lineNumbers().last(), QStringLiteral("5000000"));
}

LEXALOOM_GUI_TEST(TestPagedListView)
#include "test_paged_list_view.moc"
