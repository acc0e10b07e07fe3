#include "core/app/find_target.h"
#include "core/app/workbench.h"
#include "gui/shell/find_window.h"
#include "gui/shell/goto_dialog.h"

#include "scripted_ui.h"
#include "gui_test_registry.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

const QColor red(255, 0, 0);

// The rows as the result list shows them: Matches, Position, % Match, Status.
QList<QStringList> shownRows(const FindWindow &window)
{
    QList<QStringList> rows;
    const QAbstractItemModel *model = window.resultList()->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells.append(model->index(r, c).data().toString());
        rows.append(cells);
    }
    return rows;
}

void selectRow(FindWindow &window, int row)
{
    window.resultList()->setCurrentIndex(window.resultList()->model()->index(row, 0));
}

void search(FindWindow &window, const QString &text)
{
    window.searchField()->clear();
    QTest::keyClicks(window.searchField(), text);
    QTest::mouseClick(window.findButton(), Qt::LeftButton);
}

} // namespace

class TestFindWindow final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void searchShowsRows();
    void searchFieldTurnsRed();
    void displayEditAndDelete();
    void escapeAbortsSearch();
    void gotoDialog();
    void screenshot();

private:
    FindActions actions();

    Workbench m_workbench;
    ScriptedUi m_ui;
    QList<qint64> m_shown;
};

void TestFindWindow::init()
{
    m_workbench = Workbench();
    m_ui.clearRecords();
    m_ui.onProcessEvents = nullptr;
    m_shown.clear();
    EntryStore &entries = m_workbench.dictionary.entries;
    for (const char *e : {"aardvark/SM", "bobcat/SM", "cat/SM\npo:noun", "catalogue/DSMG\npo:noun", "dog/SM",
                          "Catherine/M\npo:name", "scatter/DSG", "cattle\npo:noun"})
        entries.append(QString::fromUtf8(e));
}

FindActions TestFindWindow::actions()
{
    EntryStore &entries = m_workbench.dictionary.entries;
    qint64 &focus = m_workbench.dictionary.selectedIndex;
    return {
        .showEntry = [this](qint64 i) { m_shown.append(i); },
        .editEntry =
            [&entries](qint64 i) {
                entries.replace(i, entries.at(i).replace(QStringLiteral("/SM"), QStringLiteral("/SMZ")));
            },
        .deleteEntry =
            [&entries, &focus](qint64 i) {
                entries.remove(i);
                focus = -1;
                return true;
            },
        .refreshList = [] {},
    };
}

void TestFindWindow::searchShowsRows()
{
    FindWindow window(m_workbench, m_ui, *FindTargetFor(m_workbench, DocumentKind::Dictionary), actions());
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Find a Word"));
    QCOMPARE(window.size(), QSize(605, 380));
    QCOMPARE(window.foundLabel()->text(), QStringLiteral("Found:0/8"));
    QVERIFY(!window.displayButton()->isEnabled());

    search(window, QStringLiteral("cat"));
    QCOMPARE(shownRows(window), (QList<QStringList>{
                                    {QStringLiteral("cat/SM\u2192po:noun"), "3", "21.43", ""},
                                    {QStringLiteral("catalogue/DSMG\u2192po:noun"), "4", "13.64", ""},
                                    {QStringLiteral("Catherine/M\u2192po:name"), "6", "15.79", ""},
                                    {QStringLiteral("cattle\u2192po:noun"), "8", "21.43", ""},
                                }));
    QCOMPARE(window.foundLabel()->text(), QStringLiteral("Found:4/8"));
    QVERIFY(m_ui.messages.isEmpty());
    QVERIFY(m_ui.statuses.isEmpty()); // the window's own label and bar showed the progress
    QCOMPARE(m_workbench.findMemory.searchText, QStringLiteral("cat"));

    // Without left match bobcat and scatter join; the option is remembered for the next window.
    QTest::mouseClick(window.leftMatchBox(), Qt::LeftButton);
    QVERIFY(!m_workbench.findMemory.leftMatch);
    search(window, QStringLiteral("cat"));
    QCOMPARE(window.resultList()->model()->rowCount(), 6);

    // Return in the field searches too.
    window.searchField()->clear();
    QTest::keyClicks(window.searchField(), QStringLiteral("dog"));
    QTest::keyClick(window.searchField(), Qt::Key_Return);
    QCOMPARE(shownRows(window), (QList<QStringList>{{QStringLiteral("dog/SM"), "5", "50", ""}}));

    search(window, QStringLiteral("zebra"));
    QCOMPARE(window.resultList()->model()->rowCount(), 0);
    QCOMPARE(window.foundLabel()->text(), QStringLiteral("Found:0"));
    QCOMPARE(m_ui.messageTexts(), QStringList{QStringLiteral("\"zebra\" not found.")});

    FindWindow again(m_workbench, m_ui, *FindTargetFor(m_workbench, DocumentKind::Dictionary), actions());
    QCOMPARE(again.searchField()->text(), QStringLiteral("zebra"));
    QVERIFY(!again.leftMatchBox()->isChecked());
}

void TestFindWindow::searchFieldTurnsRed()
{
    FindWindow window(m_workbench, m_ui, *FindTargetFor(m_workbench, DocumentKind::Dictionary), actions());
    const struct {
        const char *text;
        bool leftMatch;
        bool red;
    } cases[] = {{" cat", true, true}, {" cat", false, false}, {"cat  s", false, true}, {"cat", true, false}};
    for (const auto &c : cases) {
        window.leftMatchBox()->setChecked(c.leftMatch);
        window.searchField()->setText(QString::fromUtf8(c.text));
        QCOMPARE(window.searchField()->palette().color(QPalette::Base) == red, c.red);
    }
}

void TestFindWindow::displayEditAndDelete()
{
    FindWindow window(m_workbench, m_ui, *FindTargetFor(m_workbench, DocumentKind::Dictionary), actions());
    window.show();
    search(window, QStringLiteral("cat"));

    selectRow(window, 2);
    QVERIFY(window.displayButton()->isEnabled());
    QTest::mouseClick(window.displayButton(), Qt::LeftButton);
    QCOMPARE(m_shown, QList<qint64>{5});
    const QRect row3 = window.resultList()->visualRect(window.resultList()->model()->index(3, 0));
    QTest::mousePress(window.resultList()->viewport(), Qt::LeftButton, {}, row3.center());
    QTest::mouseDClick(window.resultList()->viewport(), Qt::LeftButton, {}, row3.center());
    QCOMPARE(m_shown, (QList<qint64>{5, 7}));
    QVERIFY(window.isVisible()); // the window stays open

    selectRow(window, 0);
    window.editSelected();
    const QModelIndex status = window.resultList()->model()->index(0, 3);
    QCOMPARE(window.resultList()->model()->index(0, 0).data().toString(), QStringLiteral("cat/SMZ\u2192po:noun"));
    QCOMPARE(status.data().toString(), QStringLiteral("Changed"));
    QCOMPARE(status.data(Qt::ForegroundRole).value<QColor>(), red);

    // The Delete key outside the search field deletes the selected row's entry.
    selectRow(window, 1);
    window.resultList()->setFocus();
    QTest::keyClick(window.resultList(), Qt::Key_Delete);
    QCOMPARE(shownRows(window).size(), 3);
    QCOMPARE(window.resultList()->model()->index(1, 1).data().toString(), QStringLiteral("5"));
    QCOMPARE(window.resultList()->model()->index(2, 1).data().toString(), QStringLiteral("7"));
    QCOMPARE(window.foundLabel()->text(), QStringLiteral("Found:3/7"));

    window.resultList()->clearSelection();
    window.deleteSelected();
    QCOMPARE(m_ui.messageTexts(), QStringList{QStringLiteral("No item selected.")});
}

void TestFindWindow::escapeAbortsSearch()
{
    EntryStore &entries = m_workbench.dictionary.entries;
    for (int i = 0; i < 5000; ++i)
        entries.append(QStringLiteral("category%1").arg(i));
    FindWindow window(m_workbench, m_ui, *FindTargetFor(m_workbench, DocumentKind::Dictionary), actions());
    window.show();
    int events = 0;
    m_ui.onProcessEvents = [&](ScriptedUi &ui) {
        ui.fakeClock.advance(25);
        if (++events == 1000)
            QTest::keyClick(&window, Qt::Key_Escape);
    };
    m_ui.answers = {true};
    search(window, QStringLiteral("cat"));
    QCOMPARE(m_ui.messageTexts(), QStringList{QStringLiteral("Really abort?")});
    QVERIFY(window.isVisible()); // Escape aborted the search, not the window
    const int rows = window.resultList()->model()->rowCount();
    QVERIFY(rows > 0 && rows < 1000);
    QVERIFY(window.findButton()->isEnabled());
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

void TestFindWindow::gotoDialog()
{
    QString remembered;
    QList<qint64> went;
    GotoDialog dialog(GotoRequest(QStringLiteral("words"), 8), m_ui, remembered, [&went](qint64 i) { went.append(i); });
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Goto words position (1:8)"));
    QTest::keyClicks(dialog.field(), QStringLiteral("9"));
    QCOMPARE(dialog.field()->palette().color(QPalette::Base), red);
    QTest::keyClick(dialog.field(), Qt::Key_Return);
    QCOMPARE(m_ui.messageTexts(), QStringList{QStringLiteral("Position must be between 1:8")});
    QVERIFY(dialog.isVisible());
    QVERIFY(went.isEmpty());

    QTest::keyClick(dialog.field(), Qt::Key_Backspace);
    QTest::keyClicks(dialog.field(), QStringLiteral("x7")); // only digits are taken
    QCOMPARE(dialog.field()->text(), QStringLiteral("7"));
    QVERIFY(dialog.field()->palette().color(QPalette::Base) != red);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    QCOMPARE(went, QList<qint64>{6});
    QCOMPARE(remembered, QStringLiteral("7"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    GotoDialog next(GotoRequest(QStringLiteral("lines"), 3), m_ui, remembered, {});
    QCOMPARE(next.field()->text(), QStringLiteral("7"));
    QCOMPARE(next.field()->palette().color(QPalette::Base), red);
}

void TestFindWindow::screenshot()
{
    FindWindow window(m_workbench, m_ui, *FindTargetFor(m_workbench, DocumentKind::Dictionary), actions());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    search(window, QStringLiteral("cat"));
    selectRow(window, 0);
    window.editSelected();
    selectRow(window, 1);
    const QPixmap image = window.grab();
    QCOMPARE(image.size(), QSize(605, 380));
    // The manual's picture: written when a folder is named for it.
    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOTS");
    if (!folder.isEmpty())
        QVERIFY(image.save(QDir(folder).filePath(QStringLiteral("find_window.png"))));
}

LEXALOOM_GUI_TEST(TestFindWindow)
#include "test_find_window.moc"
