#include <QAbstractItemModel>
#include <QColor>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include "core/app/workbench.h"
#include "core/app/workbench.h"
#include "gui/dictionary_tools/aff_validate_window.h"
#include "gui/shell/goto_dialog.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// A small .aff with one finding of each colour: line 8 lacks its condition (blue, and
// its header at line 7 red) and line 11 repeats line 10 (both red).
const QString smallAff = QStringLiteral("# Small test dictionary\n"
                                        "SET UTF-8\n"
                                        "TRY esianrtolcdugmphbyfvkw\n"
                                        "\n"
                                        "PFX A Y 1\n"
                                        "PFX A 0 re .\n"
                                        "SFX B Y 1\n"
                                        "SFX B 0 ed\n"
                                        "SFX S Y 3\n"
                                        "SFX S 0 s [^sxzhy]\n"
                                        "SFX S 0 s [^sxzhy]\n"
                                        "SFX S y ies [^aeiou]y\n");

} // namespace

class TestAffValidateWindow final : public QObject {
    Q_OBJECT

private slots:
    void processShowsTheReportAndColoursRows();
    void okWritesBackOnlyChangedText();
    void escapeDuringProcessAsksToAbort();
    void doubleClickEditsTheLine();
    void sharedToolWindowKeys();
};

void TestAffValidateWindow::processShowsTheReportAndColoursRows()
{
    Workbench workbench;
    workbench.dictionary.affText = smallAff;
    ScriptedUi ui;
    AffValidateSession::prepare(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
    AffValidateWindow window(nullptr, workbench, ui);
    window.show();
    window.loadPanel();

    auto *report = window.findChild<QPlainTextEdit *>(QStringLiteral("report"));
    auto *table = window.findChild<QTableView *>(QStringLiteral("panel"));
    QVERIFY(report && table);
    QVERIFY(report->toPlainText().startsWith(AffValidateSession::introductionText()));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("found"))->text(), QStringLiteral("Found:12"));
    QCOMPARE(table->model()->rowCount(), 12);

    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);

    const QString text = report->toPlainText();
    QVERIFY(text.contains(QStringLiteral(" Not 5 fields at line 8: \"SFX B 0 ed\" (in blue)\n")));
    QVERIFY(text.contains(QStringLiteral(" Found duplicate rule at line 10: \"SFX S 0 s [^sxzhy]\"\n"
                                         " Found duplicate rule at line 11: \"SFX S 0 s [^sxzhy]\"\n")));
    QVERIFY(text.endsWith(QStringLiteral("\nErrors found in validation!\nDone!\n\n\n\n")));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("Processing:6/6 Done!"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("modifiedMark"))->text(), QStringLiteral("*"));
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("undo"))->isEnabled());

    const QAbstractItemModel *model = table->model();
    auto foreground = [model](int row) { return model->index(row, 1).data(Qt::ForegroundRole).value<QColor>(); };
    QCOMPARE(foreground(7), QColor(0, 0, 255));
    QCOMPARE(foreground(6), QColor(255, 0, 0));
    QCOMPARE(foreground(10), QColor(255, 0, 0));
    QVERIFY(!model->index(1, 1).data(Qt::ForegroundRole).isValid());
    QCOMPARE(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(214, 217, 223));

    // Undo returns to the snapshot Process took, colours included; Redo brings them back.
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("undo")), Qt::LeftButton);
    QVERIFY(!model->index(7, 1).data(Qt::ForegroundRole).isValid());
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("redo")), Qt::LeftButton);
    QCOMPARE(foreground(7), QColor(0, 0, 255));

    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        table->scrollToTop();
        QCoreApplication::processEvents(); // pending layout requests
        QVERIFY(window.grab().save(folder + QStringLiteral("/aff_validate.png")));
    }
    QVERIFY(ui.messages.isEmpty());
}

void TestAffValidateWindow::okWritesBackOnlyChangedText()
{
    Workbench workbench;
    workbench.dictionary.affText = smallAff;
    ScriptedUi ui;
    {
        AffValidateWindow window(nullptr, workbench, ui);
        window.show();
        window.loadPanel();
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("ok")), Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }
    QVERIFY(!workbench.dictionary.changed);
    {
        AffValidateWindow window(nullptr, workbench, ui);
        window.show();
        window.loadPanel();
        auto *table = window.findChild<QTableView *>(QStringLiteral("panel"));
        table->selectRow(0);
        ui.answers.push_back(true);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("panelClear")), Qt::LeftButton);
        QCOMPARE(table->model()->rowCount(), 0);
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("found"))->text(), QStringLiteral("Found:0"));
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cancel")), Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }
    QVERIFY(!workbench.dictionary.changed);
    QCOMPARE(workbench.dictionary.affText, smallAff);
    {
        AffValidateWindow window(nullptr, workbench, ui);
        window.show();
        window.loadPanel();
        ui.answers.push_back(true);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("panelClear")), Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("ok")), Qt::LeftButton);
    }
    QVERIFY(workbench.dictionary.changed);
    QCOMPARE(workbench.dictionary.affText, QString());
}

void TestAffValidateWindow::escapeDuringProcessAsksToAbort()
{
    Workbench workbench;
    workbench.dictionary.affText = smallAff;
    ScriptedUi ui;
    AffValidateSession::prepare(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
    AffValidateWindow window(nullptr, workbench, ui);
    window.show();
    window.loadPanel();
    // The key waits in the queue until the run handles window events, which the
    // program's Ui pumps.
    ui.onProcessEvents = [](ScriptedUi &) { QCoreApplication::processEvents(); };
    QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    ui.answers.push_back(true);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
    QCOMPARE(ui.messageTexts(), QStringList({QStringLiteral("Really abort?")}));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("Processing:Aborted."));
    QVERIFY(window.isVisible()); // Escape aborted the run, it did not close the window
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("process"))->isEnabled());
    QVERIFY(!window.findChild<QPlainTextEdit *>(QStringLiteral("report"))->toPlainText().contains("Done!"));
}

void TestAffValidateWindow::doubleClickEditsTheLine()
{
    Workbench workbench;
    workbench.dictionary.affText = smallAff;
    ScriptedUi ui;
    AffValidateWindow window(nullptr, workbench, ui);
    window.show();
    window.loadPanel();
    auto *table = window.findChild<QTableView *>(QStringLiteral("panel"));
    QString dialogTitle;
    QString shownText;
    // The edit dialog is modal: answer it once it is up.
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialogTitle = dialog->windowTitle();
        const QList<QLineEdit *> edits = dialog->findChildren<QLineEdit *>();
        QCOMPARE(edits.size(), 2);
        QVERIFY(edits[0]->isReadOnly());
        shownText = edits[0]->text();
        edits[1]->setText(QStringLiteral("SFX B 0 ed ."));
        QTest::keyClick(edits[1], Qt::Key_Return);
    });
    const QRect cell = table->visualRect(table->model()->index(7, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QCOMPARE(dialogTitle, QStringLiteral("Edit an AFF Validate line"));
    QCOMPARE(shownText, QStringLiteral("SFX B 0 ed"));
    QCOMPARE(table->model()->index(7, 1).data().toString(), QStringLiteral("SFX B 0 ed ."));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("modifiedMark"))->text(), QStringLiteral("*"));
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("ok")), Qt::LeftButton);
    QVERIFY(workbench.dictionary.changed);
    QVERIFY(workbench.dictionary.affText.contains(QStringLiteral("\nSFX B 0 ed .\n")));
}

// What every tool window has from ToolWindow: F1 at the window's anchor, the shared
// go-to dialog on Ctrl+G and "Goto", and Escape closing the window when nothing runs.
void TestAffValidateWindow::sharedToolWindowKeys()
{
    Workbench workbench(QStringLiteral("/opt/lexaloom"));
    workbench.dictionary.affText = smallAff;
    ScriptedUi ui;
    AffValidateWindow window(nullptr, workbench, ui);
    window.show();
    window.loadPanel();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F1);
    QCOMPARE(ui.openedUrls,
             QStringList{QStringLiteral("file:///opt/lexaloom/Lexaloom_manual_V30.html#5.2.5.1.aff_validate")});

    auto *table = window.findChild<QTableView *>(QStringLiteral("panel"));
    const struct {
        QString typed;
        bool byShortcut;
        int row;
    } cases[] = {{QStringLiteral("8"), true, 7}, {QStringLiteral("12"), false, 11}};
    for (const auto &c : cases) {
        QString title;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<GotoDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            title = dialog->windowTitle();
            dialog->field()->setText(c.typed);
            QTest::keyClick(dialog->field(), Qt::Key_Return);
        });
        if (c.byShortcut)
            QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
        else
            QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("goto")), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Goto lines position (1:12)"));
        QCOMPARE(table->currentIndex().row(), c.row);
        QCOMPARE(window.session().panel().selectedRow(), c.row);
    }
    // The dialog remembers the last text typed.
    QCOMPARE(window.session().gotoText(), QStringLiteral("12"));

    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QVERIFY(ui.messages.isEmpty());
}

LEXALOOM_GUI_TEST(TestAffValidateWindow)
#include "test_aff_validate_window.moc"
