#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include <functional>

#include "core/app/workbench.h"
#include "gui/app/command_wiring.h"
#include "gui/autocorrect/pair_editor.h"
#include "gui/shell/find_window.h"
#include "gui/shell/goto_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/shell/palette.h"

#include "modal_helpers.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::ScriptedUi;
using lexaloom::testing::whenModalOpens;

namespace {

const QByteArray header = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?> <block-list:block-list "
                          "xmlns:block-list=\"http://openoffice.org/2001/block-list\">\n";

QString corpusPath(const QString &relative)
{
    const QString path = corpusRoot() + u'/' + relative;
    return QFile::exists(path) ? path : QString();
}

void saveShot(QWidget &widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOTS");
    if (!folder.isEmpty())
        QVERIFY(widget.grab().save(QDir(folder).filePath(name)));
}

} // namespace

class TestAutocorrectTab final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void openEditSaveThroughTheWindow();
    void pairEditorFields();
    void findGotoAndRecentFiles();
    void autoTextRowsShowTheirContent();
    void screenshots();

private:
    void write(const QString &name, const QByteArray &bytes);
    QTreeWidget *list() const { return m_window->pagedList(DocumentKind::Autocorrect)->tree(); }
    void click(TabAction action)
    {
        QTest::mouseClick(m_window->tabButton(DocumentKind::Autocorrect, action), Qt::LeftButton);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Workbench> m_workbench;
    ScriptedUi m_ui;
    std::unique_ptr<MainWindow> m_window;
};

void TestAutocorrectTab::init()
{
    m_ui = ScriptedUi();
    m_workbench = std::make_unique<Workbench>(m_dir.filePath(QStringLiteral("program")));
    m_window = std::make_unique<MainWindow>(*m_workbench, m_ui);
    WireCommands(*m_window, *m_workbench, m_ui);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestAutocorrectTab::cleanup()
{
    m_window.reset();
    m_workbench.reset();
}

void TestAutocorrectTab::write(const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(m_dir.filePath(name)).absolutePath());
    QFile file(m_dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void TestAutocorrectTab::openEditSaveThroughTheWindow()
{
    write(QStringLiteral("DocumentList.xml"),
          header + "  <block-list:block block-list:abbreviated-name=\"teh\" block-list:name=\"the\"/>\n"
                   "  <block-list:block block-list:abbreviated-name=\"adn\" block-list:name=\"and\"/>\n"
                   "</block-list:block-list>\n");
    m_window->tabs()->setCurrentIndex(int(DocumentKind::Autocorrect));
    m_ui.openPaths = {m_dir.filePath(QStringLiteral("DocumentList.xml"))};
    m_window->menuAction(CommandId::Open)->trigger();
    QCOMPARE(m_ui.dialogTitles, QStringList{QStringLiteral("Open Autocorrect List")});
    QCOMPARE(list()->topLevelItemCount(), 2);
    QCOMPARE(list()->topLevelItem(0)->text(1), QStringLiteral("teh"));
    QCOMPARE(list()->topLevelItem(0)->text(2), QStringLiteral("the"));
    QCOMPARE(list()->topLevelItem(0)->foreground(1).color(), palette::red);
    QCOMPARE(list()->topLevelItem(0)->foreground(2).color(), palette::green);
    QCOMPARE(m_window->counterLabel(DocumentKind::Autocorrect)->text(), QStringLiteral("# Autocorrects:2"));
    QCOMPARE(m_window->fileLabel(DocumentKind::Autocorrect)->text(), QStringLiteral("DocumentList.xml"));

    // Add through the pair editor: the list, the counter and the changed mark follow.
    whenModalOpens<PairEditor>([](PairEditor *editor) {
        QCOMPARE(editor->windowTitle(), QStringLiteral("Add an autocorrect word"));
        QTest::keyClicks(editor->incorrectField(), QStringLiteral("R&D"));
        QTest::keyClicks(editor->correctField(), QStringLiteral("research & development"));
        QTest::keyClick(editor->correctField(), Qt::Key_Return);
    });
    click(TabAction::Add);
    QCOMPARE(m_workbench->autocorrect.entries.size(), 3);
    QCOMPARE(m_workbench->autocorrect.entries.at(2), QStringLiteral("R&D\nresearch & development"));
    QCOMPARE(m_window->counterLabel(DocumentKind::Autocorrect)->text(), QStringLiteral("# Autocorrects:3"));
    QCOMPARE(m_window->changedLabel(DocumentKind::Autocorrect)->text(), QStringLiteral("*"));
    QVERIFY(m_window->tabButton(DocumentKind::Autocorrect, TabAction::Undo)->isEnabled());

    // Double click edits the row; Escape leaves it as it was.
    whenModalOpens<PairEditor>([](PairEditor *editor) {
        QCOMPARE(editor->windowTitle(), QStringLiteral("Edit an autocorrect word"));
        QCOMPARE(editor->incorrectField()->text(), QStringLiteral("adn"));
        QCOMPARE(editor->correctField()->text(), QStringLiteral("and"));
        QCOMPARE(editor->focusWidget(), editor->incorrectField());
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    const QPoint row1(40, list()->visualItemRect(list()->topLevelItem(1)).center().y());
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row1);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row1);
    QCOMPARE(m_workbench->autocorrect.entries.at(1), QStringLiteral("adn\nand"));
    QCOMPARE(m_window->counterLabel(DocumentKind::Autocorrect)->text(), QStringLiteral("Autocorrect: [2/3]"));

    // Sort, then Undo brings the order back.
    click(TabAction::Sort);
    QCOMPARE(list()->topLevelItem(0)->text(1), QStringLiteral("adn"));
    QCOMPARE(list()->topLevelItem(1)->text(1), QStringLiteral("R&D"));
    click(TabAction::Undo);
    QCOMPARE(list()->topLevelItem(0)->text(1), QStringLiteral("teh"));

    // Save As writes the typed "&" as a reference.
    m_ui.savePaths = {m_dir.filePath(QStringLiteral("saved.xml"))};
    m_window->menuAction(CommandId::SaveAs)->trigger();
    QCOMPARE(m_window->changedLabel(DocumentKind::Autocorrect)->text(), QString());
    QFile saved(m_dir.filePath(QStringLiteral("saved.xml")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("abbreviated-name=\"R&amp;D\" block-list:name=\"research &amp; development\""));

    // Delete asks with the pair on one line; Erase empties the list and forgets the file.
    list()->setCurrentItem(list()->topLevelItem(0));
    m_ui.answers = {true, true};
    click(TabAction::Delete);
    QCOMPARE(m_ui.messages.last().text, QStringLiteral("Really delete autocorrect word?\n\"teh the\""));
    QCOMPARE(m_workbench->autocorrect.entries.size(), 2);
    m_ui.answers = {true, true};
    click(TabAction::Erase);
    QCOMPARE(list()->topLevelItemCount(), 0);
    QCOMPARE(m_window->fileLabel(DocumentKind::Autocorrect)->text(), QStringLiteral("n/a"));
    QCOMPARE(m_ui.unscriptedQuestions, 0);
}

void TestAutocorrectTab::pairEditorFields()
{
    PairEditor editor(m_ui, PairEditorMode::Add, {}, m_dir.path(), m_window.get());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QTest::keyClicks(editor.incorrectField(), QStringLiteral("teh "));
    QVERIFY(editor.incorrectField()->property("faulty").toBool());
    QVERIFY(editor.incorrectField()->styleSheet().contains(QStringLiteral("background-color: #FF0000")));
    QTest::keyClick(editor.incorrectField(), Qt::Key_Backspace);
    QVERIFY(!editor.incorrectField()->property("faulty").toBool());
    QTest::keyClicks(editor.correctField(), QStringLiteral("the"));

    // The toggle swaps the fields; twice restores them.
    QCOMPARE(editor.toggleButton()->toolTip(), QStringLiteral("Toggle text Incorrect\u2194Correct"));
    QTest::mouseClick(editor.toggleButton(), Qt::LeftButton);
    QCOMPARE(editor.incorrectField()->text(), QStringLiteral("the"));
    QCOMPARE(editor.correctField()->text(), QStringLiteral("teh"));
    QTest::mouseClick(editor.toggleButton(), Qt::LeftButton);
    QCOMPARE(editor.incorrectField()->text(), QStringLiteral("teh"));

    // A refused OK keeps the window open with the focus on the field concerned.
    editor.correctField()->setText(QStringLiteral("teh"));
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    QVERIFY(editor.isVisible());
    QCOMPARE(m_ui.messages.last().text, QStringLiteral("Incorrect matches correct."));
    editor.correctField()->clear();
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    QCOMPARE(m_ui.messages.last().text, QStringLiteral("No correct word text."));
    QCOMPARE(editor.focusWidget(), editor.correctField());

    QTest::keyClick(&editor, Qt::Key_F1);
    QCOMPARE(m_ui.openedUrls.size(), 1);
    QTest::keyClick(&editor, Qt::Key_Escape);
    QVERIFY(!editor.isVisible());
    QCOMPARE(editor.result(), int(QDialog::Rejected));
}

// Find's "Edit" reaches the pair editor, Go to focuses a pair, and the recent files
// reopen the list.
void TestAutocorrectTab::findGotoAndRecentFiles()
{
    write(QStringLiteral("DocumentList.xml"),
          header + "  <block-list:block block-list:abbreviated-name=\"abc\" block-list:name=\"abd\"/>\n"
                   "  <block-list:block block-list:abbreviated-name=\"teh\" block-list:name=\"the\"/>\n"
                   "</block-list:block-list>\n");
    m_window->tabs()->setCurrentIndex(int(DocumentKind::Autocorrect));
    m_ui.openPaths = {m_dir.filePath(QStringLiteral("DocumentList.xml"))};
    m_window->menuAction(CommandId::Open)->trigger();
    QCOMPARE(m_workbench->autocorrect.entries.size(), 2);

    QString findTitle;
    QString editorTitle;
    whenModalOpens<FindWindow>([&](FindWindow *find) {
        findTitle = find->windowTitle();
        QTest::keyClicks(find->searchField(), QStringLiteral("teh"));
        QTest::mouseClick(find->findButton(), Qt::LeftButton);
        QCOMPARE(find->resultList()->model()->rowCount(), 1);
        QCOMPARE(find->resultList()->model()->index(0, 0).data().toString(), QStringLiteral("teh\u2192the"));
        find->resultList()->setCurrentIndex(find->resultList()->model()->index(0, 0));
        whenModalOpens<PairEditor>([&](PairEditor *editor) {
            editorTitle = editor->windowTitle();
            editor->correctField()->setText(QStringLiteral("then"));
            QTest::mouseClick(editor->okButton(), Qt::LeftButton);
        });
        find->editSelected();
    });
    QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(findTitle, QStringLiteral("Find an Autocorrect word"));
    QCOMPARE(editorTitle, QStringLiteral("Edit an autocorrect word"));
    QCOMPARE(m_workbench->autocorrect.entries.at(1), QStringLiteral("teh\nthen"));

    m_window->activateWindow(); // the closed modal window does not hand the activation back offscreen
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QString gotoTitle;
    whenModalOpens<GotoDialog>([&](GotoDialog *go) {
        gotoTitle = go->windowTitle();
        go->field()->setText(QStringLiteral("2"));
        QTest::mouseClick(go->okButton(), Qt::LeftButton);
    });
    QTest::keyClick(m_window.get(), Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(gotoTitle, QStringLiteral("Goto autocorrect words position (1:2)"));
    QCOMPARE(m_workbench->autocorrect.selectedIndex, 1);
    QCOMPARE(m_window->counterLabel(DocumentKind::Autocorrect)->text(), QStringLiteral("Autocorrect: [2/2]"));

    // The recent file reopens the list after the changes are let go.
    m_ui.answers = {true};
    m_window->menuAction(CommandId::RecentFile, 0)->trigger();
    QCOMPARE(m_ui.messages.last().text, QStringLiteral("The Autocorrect List has been changed.\n\nContinue?"));
    QCOMPARE(m_workbench->autocorrect.entries.at(1), QStringLiteral("teh\nthe"));
    QVERIFY(!m_workbench->autocorrect.changed);
}

void TestAutocorrectTab::autoTextRowsShowTheirContent()
{
    write(QStringLiteral("at/BlockList.xml"),
          "<block-list:block-list xmlns:block-list=\"http://openoffice.org/2001/block-list\">"
          "<block-list:block block-list:abbreviated-name=\"BW\" block-list:package-name=\"BW\" "
          "block-list:name=\"Best wishes,\"/></block-list:block-list>");
    write(QStringLiteral("at/BW/BW.xml"), "<office:body><text:p>Best wishes,</text:p></office:body>");
    m_window->tabs()->setCurrentIndex(int(DocumentKind::AutoText));
    m_ui.openPaths = {m_dir.filePath(QStringLiteral("at/BlockList.xml"))};
    m_window->menuAction(CommandId::Open)->trigger();
    QCOMPARE(m_ui.dialogTitles, QStringList{QStringLiteral("Open AutoText List")});
    QTreeWidget *rows = m_window->plainList(DocumentKind::AutoText);
    QCOMPARE(rows->topLevelItemCount(), 1);
    QCOMPARE(rows->topLevelItem(0)->text(0), QStringLiteral("1"));
    QCOMPARE(rows->topLevelItem(0)->text(1), QStringLiteral("BW"));
    QCOMPARE(rows->topLevelItem(0)->text(2), QStringLiteral("BW"));
    QCOMPARE(rows->topLevelItem(0)->text(3), QStringLiteral("Best wishes,"));
    // A check box in front, the "Line #" cell shaded as on the paged lists.
    QCOMPARE(rows->topLevelItem(0)->checkState(0), Qt::Unchecked);
    QVERIFY(rows->topLevelItem(0)->flags() & Qt::ItemIsUserCheckable);
    QCOMPARE(rows->topLevelItem(0)->background(0).color(), QColor(214, 217, 223));
    QCOMPARE(m_window->counterLabel(DocumentKind::AutoText)->text(), QStringLiteral("# AutoTexts:1"));
    rows->setCurrentItem(rows->topLevelItem(0));
    QCOMPARE(m_window->ruleIdLabel(DocumentKind::AutoText)->text(), QStringLiteral("Rule ID:BW"));
    QCOMPARE(m_window->ruleNameLabel(DocumentKind::AutoText)->text(), QStringLiteral("Rule Name:Best wishes,"));
    QCOMPARE(m_window->xmlPane(DocumentKind::AutoText)->toPlainText(), QStringLiteral("Best wishes,\n"));
    QCOMPARE(m_window->xmlPane(DocumentKind::AutoText)->toolTip(), QStringLiteral("The .xml code"));
    // File > Save has nothing to do on a read-only tab.
    QVERIFY(!m_window->menuAction(CommandId::Save)->isEnabled());
}

// The manual's pictures of both tabs with real lists: written when
// LEXALOOM_SCREENSHOTS names a folder.
void TestAutocorrectTab::screenshots()
{
    const QString listPath = corpusPath(QStringLiteral("autocorrect/en-GB/DocumentList.xml"));
    const QString catalogue = corpusPath(QStringLiteral("autotext/en-US/standard/BlockList.xml"));
    if (listPath.isEmpty() || catalogue.isEmpty())
        QSKIP("corpus not present");
    m_window->tabs()->setCurrentIndex(int(DocumentKind::Autocorrect));
    m_ui.answers = {true};
    m_ui.openPaths = {listPath};
    m_window->menuAction(CommandId::Open)->trigger();
    QVERIFY(m_workbench->autocorrect.entries.size() > 2000);
    list()->setCurrentItem(list()->topLevelItem(3));
    m_workbench->autocorrect.entries.setMarked(1, true);
    m_window->refreshListPage(DocumentKind::Autocorrect);
    m_window->refreshFileInfo(DocumentKind::Autocorrect);
    saveShot(*m_window, QStringLiteral("autocorrect_tab.png"));

    m_window->tabs()->setCurrentIndex(int(DocumentKind::AutoText));
    m_ui.openPaths = {catalogue};
    m_window->menuAction(CommandId::Open)->trigger();
    QTreeWidget *rows = m_window->plainList(DocumentKind::AutoText);
    QVERIFY(rows->topLevelItemCount() > 10);
    rows->setCurrentItem(rows->topLevelItem(2));
    QVERIFY(!m_window->xmlPane(DocumentKind::AutoText)->toPlainText().isEmpty());
    saveShot(*m_window, QStringLiteral("autotext_tab.png"));

    PairEditor editor(m_ui, PairEditorMode::Edit, {QStringLiteral("teh"), QStringLiteral("the ")}, m_dir.path(),
                      m_window.get());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    saveShot(editor, QStringLiteral("autocorrect_pair_editor.png"));
}

LEXALOOM_GUI_TEST(TestAutocorrectTab)
#include "test_autocorrect_tab.moc"
