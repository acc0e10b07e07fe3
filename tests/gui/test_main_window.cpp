#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "core/app/startup.h"
#include "core/app/workbench.h"
#include "gui/app/command_wiring.h"
#include "gui/shell/find_window.h"
#include "gui/shell/goto_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/thesaurus/synonym_editor.h"

#include "modal_helpers.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;
using lexaloom::testing::whenModalOpens;

namespace {

// A point on the "Line #" text of a row: the last column is wider than the list.
QPoint rowPoint(QTreeWidget *tree, int row)
{
    return QPoint(60, tree->visualItemRect(tree->topLevelItem(row)).center().y());
}

// Press, release, double click, release, as a real mouse sends them (QTest's double
// click leaves out the first release, which item views need).
void doubleClickRow(QTreeWidget *tree, int row)
{
    const QPoint pos = rowPoint(tree, row);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, pos);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, pos, tree->viewport()->mapToGlobal(pos), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &dbl);
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, pos);
}

struct WindowFixture {
    Workbench wb{QStringLiteral("/opt/lexaloom")};
    ScriptedUi ui;
    std::unique_ptr<MainWindow> window;
    // Tab operations that ran, as "tab:action".
    QStringList ran;

    WindowFixture() { build(); }

    void build()
    {
        window = std::make_unique<MainWindow>(wb, ui);
        for (DocumentKind kind : allDocumentKinds) {
            for (TabAction action : {TabAction::Add, TabAction::Delete, TabAction::Find})
                window->dispatcher().setTabOperation(kind, action, [this, kind, action] {
                    ran.append(QStringLiteral("%1:%2").arg(int(kind)).arg(int(action)));
                });
        }
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(target, key, modifiers);
    }

    void showTab(DocumentKind kind) { window->tabs()->setCurrentIndex(int(kind)); }
    DocumentKind currentTab() const { return DocumentKind(window->tabs()->currentIndex()); }

    QMenu *menu(const QString &title) const
    {
        for (QAction *a : window->menuBar()->actions()) {
            if (a->text() == title)
                return a->menu();
        }
        return nullptr;
    }
};

// The names the list of commands without an operation uses.
QString menuPath(const QString &menu, const QString &caption)
{
    QString text = menu + QStringLiteral(" > ") + caption.section(QLatin1Char('\t'), 0, 0);
    // "&&" is a shown "&"; a single "&" marks the mnemonic.
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&')).replace(u'\x01', u'&');
}

QString tabName(DocumentKind kind)
{
    static const char *names[] = {"Dictionary", "Thesaurus", "Hyphenation", "Autocorrect", "AutoText", "LanguageTool"};
    return QString::fromLatin1(names[int(kind)]);
}

QString buttonName(TabAction action)
{
    static const char *names[] = {"Add",       "Edit",   "Delete",     "Erase",   "Sort",      "Find",       "Goto",
                                  "Undo",      "Redo",   "ListBottom", "ListTop", "PaneClear", "PaneBottom", "PaneTop",
                                  "Hyphenate", "Update", "XmlCancel",  "XmlOk",   "XmlEdit"};
    return QString::fromLatin1(names[int(action)]);
}

void collectMenuItems(const QString &path, const QList<MenuItemSpec> &items,
                      QList<std::pair<QString, MenuItemSpec>> &out)
{
    for (const MenuItemSpec &item : items) {
        if (item.submenu.isEmpty())
            out.append({menuPath(path, item.caption), item});
        else
            collectMenuItems(menuPath(path, item.caption), item.submenu, out);
    }
}

} // namespace

class TestMainWindow final : public QObject {
    Q_OBJECT

private slots:
    void windowAtStart();
    void menuBarFromTheTable();
    void commandStatesPerTab();
    void tabShortcutsStopAtTheEdges_data();
    void tabShortcutsStopAtTheEdges();
    void shortcutsActOnTheirTabsOnly();
    void notCodedItem();
    void closeAsksAboutChangedDocuments();
    void listKeysFollowTheFocus();
    void affPaneEditsMarkTheDictionaryChanged();
    void hyphenationListShowsTheDictionary();
    void licenceLinkOpensTheManual();
    void escapeReachesOnlyARunningCommand();
    void layoutRebuild();
    void plainListsKeepTheirArrows();
    void openSaveAndRecentFilesOnTheDictionaryTab();
    void recentFilesShowTheLogAtStartUp();
    void commandsStillWithoutAnOperation();
    void goToTopAndBottom_data();
    void goToTopAndBottom();
    void findAndGotoOnTheListTabs();
};

void TestMainWindow::windowAtStart()
{
    WindowFixture f;
    MainWindow &w = *f.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Lexaloom V3.0 build 204"));
    const QStringList captions{"Dictionary (*.dic + *.aff)",     "Thesaurus (*.dat)",        "Hyphenation (*.dic)",
                               "Autocorrect (DocumentList.xml)", "AutoText (BlockList.xml)", "LanguageTool (*.xml)"};
    QCOMPARE(w.tabs()->count(), captions.size());
    for (int i = 0; i < captions.size(); ++i) {
        QCOMPARE(w.tabs()->tabText(i), captions[i]);
        QVERIFY(!w.tabs()->tabIcon(i).isNull());
    }
    QCOMPARE(w.tabs()->currentIndex(), 0);
    QCOMPARE(w.statusField()->text(), QStringLiteral("Ready."));
    QCOMPARE(w.statusField()->width(), 525);
    QCOMPARE(w.size(), QSize(1280, 600));

    const struct {
        CommandId id;
        const char *tooltip;
    } toolbar[] = {{CommandId::Open, "Open..."}, {CommandId::Save, "Save"}, {CommandId::SaveAs, "Save as..."}};
    for (const auto &b : toolbar) {
        QCOMPARE(w.toolbarButton(b.id)->toolTip(), QString::fromLatin1(b.tooltip));
        QCOMPARE(w.toolbarButton(b.id)->size(), QSize(44, 44));
    }
    QCOMPARE(w.counterLabel(DocumentKind::Thesaurus)->text(), QStringLiteral("# Synonyms:0"));
    QCOMPARE(w.selectedLabel(DocumentKind::Dictionary)->text(), QStringLiteral("Selected:None"));
    QCOMPARE(w.folderLabel(DocumentKind::Dictionary)->text(), QStringLiteral("n/a"));
    QCOMPARE(w.ruleIdLabel(DocumentKind::AutoText)->text(), QStringLiteral("Rule ID:n/a"));
    QCOMPARE(w.ruleNameLabel(DocumentKind::LanguageTool)->text(), QStringLiteral("Rule Name:n/a"));
    QCOMPARE(w.hyphenationCountLabel()->text(), QStringLiteral("# Hyphenations:0"));
    QCOMPARE(w.xmlPane(DocumentKind::AutoText)->toolTip(), QStringLiteral("The .xml code"));
    QVERIFY(w.xmlPane(DocumentKind::LanguageTool)->isReadOnly());
    QCOMPARE(w.affPane()->toolTip(), QStringLiteral("The .aff file"));
    QCOMPARE(w.hyphenationPane()->toolTip(), QStringLiteral("The .dic file"));
    QCOMPARE(w.tabButton(DocumentKind::Dictionary, TabAction::ListTop)->toolTip(), QStringLiteral("Go to top"));
    QCOMPARE(w.tabButton(DocumentKind::Hyphenation, TabAction::Hyphenate)->text(), QStringLiteral("Hyphenate"));

    // The list widths follow the scaling rule at the default 1280 x 600.
    QCOMPARE(w.pagedList(DocumentKind::Dictionary)->width(), 435 + 25 + 18);
    QCOMPARE(w.pagedList(DocumentKind::Thesaurus)->width(), 960 + 256 + 18);
    QCOMPARE(w.pagedList(DocumentKind::Thesaurus)->tree()->columnCount(), 102);
    QCOMPARE(w.pagedList(DocumentKind::Thesaurus)->tree()->headerItem()->text(101), QStringLiteral("Meaning 100"));
}

void TestMainWindow::menuBarFromTheTable()
{
    WindowFixture f;
    QStringList titles;
    for (QAction *a : f.window->menuBar()->actions())
        titles.append(a->text());
    QCOMPARE(titles, (QStringList{"&File", "&Dictionary Tools", "&Thesaurus Tools", "&Hyphenation Tools",
                                  "&Autocorrect Tools", "&AutoText Tools", "&LanguageTool Tools",
                                  "&Language/Task-specific Tools", "&Extension Tools", "&Prefs", "&Help"}));
    QStringList file;
    for (QAction *a : f.menu(QStringLiteral("&File"))->actions())
        file.append(a->text());
    QCOMPARE(file, (QStringList{"&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...\tShift+Ctrl+S",
                                "Open Extension .xpi/.oxt...", "Save Extension .xpi/.oxt",
                                "Save Extension As .xpi/.oxt...", "Import Profile...", "Export Profile As...",
                                "Recent Files", "Recent Extensions .xpi/.oxt", "&Exit\tCtrl+Q"}));
    QCOMPARE(f.window->menuAction(CommandId::HtmlHelp)->text(), QStringLiteral("HTML Help\tF1"));
    QCOMPARE(f.window->menuAction(CommandId::ExtractPosAdded)->text(), QStringLiteral("POS added.txt (English)"));
    QCOMPARE(f.window->menuAction(CommandId::RecentFile, 9)->text(), QStringLiteral("10:"));
    QVERIFY(!f.window->menuAction(CommandId::SaveExtension)->isEnabled());
    QVERIFY(!f.window->menuAction(CommandId::SaveExtensionAs)->isEnabled());
}

void TestMainWindow::commandStatesPerTab()
{
    WindowFixture f;
    MainWindow &w = *f.window;
    QAction *save = w.menuAction(CommandId::Save);
    // An empty dictionary has nothing to save.
    QVERIFY(!save->isEnabled());
    QVERIFY(!w.toolbarButton(CommandId::SaveAs)->isEnabled());
    QVERIFY(w.toolbarButton(CommandId::Open)->isEnabled());

    f.wb.dictionary.entries.append(u"word");
    f.wb.autotext.entries.append({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), {}});
    f.wb.grammar.chunks.append([] {
        GrammarChunk c;
        c.kind = QStringLiteral("rule");
        return c;
    }());
    w.dispatcher().afterEvent();
    QVERIFY(save->isEnabled());
    QVERIFY(w.menuAction(CommandId::SaveAs)->isEnabled());
    QVERIFY(!w.tabButton(DocumentKind::Dictionary, TabAction::Undo)->isEnabled());

    for (DocumentKind tab : allDocumentKinds) {
        f.showTab(tab);
        const bool readOnly = tab == DocumentKind::AutoText || tab == DocumentKind::LanguageTool;
        const bool hasContent = tab == DocumentKind::Dictionary || readOnly;
        QCOMPARE(save->isEnabled(), hasContent && !readOnly);
        for (DocumentKind kind : allDocumentKinds)
            QCOMPARE(w.toolMenu(kind)->menuAction()->isEnabled(), kind == tab);
        QVERIFY(f.menu(QStringLiteral("&Help"))->menuAction()->isEnabled());
    }

    // BeginCommand disables, and RefreshCommandStates restores, through the dispatcher.
    bool wasEnabledInside = true;
    w.dispatcher().setOperation(CommandId::Statistics, [&](int) {
        wasEnabledInside = w.tabs()->tabBar()->isEnabled() ||
                           w.pagedList(DocumentKind::Dictionary)->tree()->isEnabled() ||
                           w.toolbarButton(CommandId::Open)->isEnabled() || w.affPane()->isEnabled() ||
                           f.menu(QStringLiteral("&File"))->menuAction()->isEnabled();
    });
    f.showTab(DocumentKind::Dictionary);
    w.menuAction(CommandId::Statistics)->trigger();
    QVERIFY(!wasEnabledInside);
    QVERIFY(w.tabs()->tabBar()->isEnabled());
    QVERIFY(w.pagedList(DocumentKind::Dictionary)->tree()->isEnabled());

    f.wb.dictionary.undoSnapshot = DictionaryDocument::Snapshot();
    w.dispatcher().afterEvent();
    QVERIFY(w.tabButton(DocumentKind::Dictionary, TabAction::Undo)->isEnabled());
    QVERIFY(!w.tabButton(DocumentKind::AutoText, TabAction::Undo)->isEnabled());
    QVERIFY(!w.tabButton(DocumentKind::AutoText, TabAction::ListTop)->isEnabled());
    QVERIFY(!w.tabButton(DocumentKind::LanguageTool, TabAction::XmlOk)->isEnabled());
    QVERIFY(w.tabButton(DocumentKind::LanguageTool, TabAction::Add)->isEnabled());
}

void TestMainWindow::tabShortcutsStopAtTheEdges_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("next");
    QTest::addColumn<int>("to");
    QTest::newRow("Ctrl+Tab moves on") << int(DocumentKind::Dictionary) << true << int(DocumentKind::Thesaurus);
    QTest::newRow("Ctrl+Tab on Autocorrect stays")
        << int(DocumentKind::Autocorrect) << true << int(DocumentKind::Autocorrect);
    QTest::newRow("Ctrl+Tab on the last tab stays")
        << int(DocumentKind::LanguageTool) << true << int(DocumentKind::LanguageTool);
    QTest::newRow("Ctrl+Shift+Tab moves back")
        << int(DocumentKind::Hyphenation) << false << int(DocumentKind::Thesaurus);
    QTest::newRow("Ctrl+Shift+Tab on Dictionary stays")
        << int(DocumentKind::Dictionary) << false << int(DocumentKind::Dictionary);
}

void TestMainWindow::tabShortcutsStopAtTheEdges()
{
    QFETCH(int, from);
    QFETCH(bool, next);
    QFETCH(int, to);
    WindowFixture f;
    f.showTab(DocumentKind(from));
    if (next)
        f.press(Qt::Key_Tab, Qt::ControlModifier);
    else
        f.press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(int(f.currentTab()), to);
    QCOMPARE(int(f.wb.currentTab), to);
}

void TestMainWindow::shortcutsActOnTheirTabsOnly()
{
    WindowFixture f;
    // Ctrl+A on the Hyphenation tab and Delete on the AutoText tab do nothing.
    f.showTab(DocumentKind::Hyphenation);
    f.window->pagedList(DocumentKind::Hyphenation)->tree()->setFocus();
    f.press(Qt::Key_A, Qt::ControlModifier);
    f.press(Qt::Key_Delete);
    f.showTab(DocumentKind::AutoText);
    f.window->plainList(DocumentKind::AutoText)->setFocus();
    f.press(Qt::Key_Delete);
    f.press(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f.ran, QStringList());

    // The same keys on the Dictionary list, and Ctrl+F on Hyphenation, do act.
    f.showTab(DocumentKind::Hyphenation);
    f.press(Qt::Key_F, Qt::ControlModifier);
    f.showTab(DocumentKind::Dictionary);
    f.window->pagedList(DocumentKind::Dictionary)->tree()->setFocus();
    f.press(Qt::Key_A, Qt::ControlModifier);
    f.press(Qt::Key_Delete);
    QCOMPARE(f.ran, (QStringList{"2:5", "0:0", "0:2"}));
}

void TestMainWindow::notCodedItem()
{
    WindowFixture f;
    f.window->menuAction(CommandId::UnPfx)->trigger();
    QCOMPARE(f.ui.messages.size(), 1);
    QCOMPARE(f.ui.messages[0].title, QStringLiteral("Warning!"));
    QCOMPARE(f.ui.messages[0].text, QStringLiteral("Not coded yet."));
    QCOMPARE(f.ui.messages[0].icon, MessageIcon::Warning);
}

void TestMainWindow::closeAsksAboutChangedDocuments()
{
    WindowFixture f;
    f.wb.thesaurus.changed = true;
    f.wb.autocorrect.changed = true;
    f.ui.answers = {false};
    QVERIFY(!f.window->close());
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.ui.messages.size(), 1);
    QCOMPARE(f.ui.messages[0].text,
             QStringLiteral("The following files have been changed:\n  \u2014 Thesaurus\n  \u2014 Autocorrect\n\n"
                            "Really exit?"));
    QVERIFY(f.ui.messages[0].question);

    // Ctrl+Q takes the same road, and Yes ends the program.
    f.ui.answers = {true};
    f.press(Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!f.window->isVisible());
    QVERIFY(f.wb.quitRequested);
    QCOMPARE(f.ui.messages.size(), 2);

    // Nothing changed: no question at all.
    WindowFixture g;
    QVERIFY(g.window->close());
    QVERIFY(g.ui.messages.isEmpty());
}

void TestMainWindow::listKeysFollowTheFocus()
{
    WindowFixture f;
    for (int i = 0; i < 40; ++i)
        f.wb.dictionary.entries.append(QStringLiteral("word%1").arg(i));
    f.window->refreshListPage(DocumentKind::Dictionary);
    QShortcut *del = f.window->shortcut(ShortcutCommand::Delete);
    QShortcut *down = f.window->shortcut(ShortcutCommand::Down);
    QVERIFY(del->isEnabled());

    f.window->affPane()->setFocus();
    QVERIFY(!del->isEnabled());
    QVERIFY(!down->isEnabled());
    f.window->affPane()->setPlainText(QStringLiteral("SET UTF-8\nTRY x"));
    f.press(Qt::Key_End);
    f.press(Qt::Key_Delete); // acts in the pane, not on the list
    QCOMPARE(f.ran, QStringList());

    // After a click on the list the keys move the list again.
    PagedListView *list = f.window->pagedList(DocumentKind::Dictionary);
    QTreeWidget *tree = list->tree();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rowPoint(tree, 12));
    QVERIFY(tree->hasFocus());
    QVERIFY(del->isEnabled());
    f.press(Qt::Key_Down);
    QCOMPARE(f.wb.dictionary.selectedIndex, 13);
    QCOMPARE(list->scrollBar()->value(), 1);
    f.press(Qt::Key_PageDown);
    QCOMPARE(f.wb.dictionary.selectedIndex, 26);
}

void TestMainWindow::affPaneEditsMarkTheDictionaryChanged()
{
    WindowFixture f;
    f.wb.dictionary.affText = QStringLiteral("SET UTF-8\n");
    f.window->showDocumentTexts();
    QVERIFY(!f.wb.dictionary.changed);
    QCOMPARE(f.window->changedLabel(DocumentKind::Dictionary)->text(), QString());
    f.window->affPane()->setFocus();
    f.press(Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(f.window->affPane(), QStringLiteral("TRY e"));
    QVERIFY(f.wb.dictionary.changed);
    QCOMPARE(f.wb.dictionary.affText, QStringLiteral("SET UTF-8\nTRY e"));
    QCOMPARE(f.window->changedLabel(DocumentKind::Dictionary)->text(), QStringLiteral("*"));
}

void TestMainWindow::hyphenationListShowsTheDictionary()
{
    WindowFixture f;
    for (int i = 0; i < 5; ++i)
        f.wb.dictionary.entries.append(QStringLiteral("/word%1").arg(i));
    f.wb.dictionary.selectedIndex = 2;
    f.showTab(DocumentKind::Hyphenation);
    QTreeWidget *tree = f.window->pagedList(DocumentKind::Hyphenation)->tree();
    QCOMPARE(tree->topLevelItemCount(), 5);
    QCOMPARE(tree->topLevelItem(2)->text(1), QStringLiteral("/word2"));
    QCOMPARE(f.wb.hyphenation.selectedIndex, 2);
    QCOMPARE(f.window->counterLabel(DocumentKind::Hyphenation)->text(), QStringLiteral("# Words:5"));

    // A double click puts the word into the "Word:" field, drawn in amber for "/".
    doubleClickRow(tree, 3);
    QCOMPARE(f.window->wordField()->text(), QStringLiteral("/word3"));
    QCOMPARE(f.window->wordField()->palette().color(QPalette::Text), QColor(255, 201, 14));

    // Marks ticked here are the dictionary's.
    tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QVERIFY(f.wb.dictionary.entries.isMarked(0));
    QCOMPARE(f.window->selectedLabel(DocumentKind::Hyphenation)->text(), QStringLiteral("Selected:None"));
    f.showTab(DocumentKind::Dictionary);
    QCOMPARE(f.window->selectedLabel(DocumentKind::Dictionary)->text(), QStringLiteral("Selected:1"));
}

void TestMainWindow::licenceLinkOpensTheManual()
{
    WindowFixture f;
    QLabel *licence = f.window->licenceLabel();
    QVERIFY(licence->text().contains(QStringLiteral("Apache License V2.0")));
    QCOMPARE(licence->toolTip(), QStringLiteral("View Licence"));
    emit licence->linkActivated(QStringLiteral("#7.apache_license"));
    QCOMPARE(f.ui.openedUrls,
             QStringList{QStringLiteral("file:///opt/lexaloom/Lexaloom_manual_V30.html#7.apache_license")});
    // F1 opens the manual at its start.
    f.press(Qt::Key_F1);
    QCOMPARE(f.ui.openedUrls.size(), 2);
    QCOMPARE(f.ui.openedUrls[1], QStringLiteral("file:///opt/lexaloom/Lexaloom_manual_V30.html"));
}

void TestMainWindow::escapeReachesOnlyARunningCommand()
{
    WindowFixture f;
    QSignalSpy aborts(f.window.get(), &MainWindow::abortRequested);
    f.press(Qt::Key_Escape);
    QCOMPARE(aborts.count(), 0);
    f.window->dispatcher().setOperation(CommandId::Statistics, [&](int) { f.press(Qt::Key_Escape); });
    f.window->menuAction(CommandId::Statistics)->trigger();
    QCOMPARE(aborts.count(), 1);
}

void TestMainWindow::layoutRebuild()
{
    WindowFixture f;
    MainWindow &w = *f.window;
    for (int i = 0; i < 100; ++i) {
        f.wb.dictionary.entries.append(QStringLiteral("word%1").arg(i));
        f.wb.thesaurus.entries.append(QStringLiteral("head%1\nmeaning").arg(i));
    }
    w.refreshListPage(DocumentKind::Dictionary);
    w.refreshListPage(DocumentKind::Thesaurus);
    w.pagedList(DocumentKind::Dictionary)->scrollBar()->setValue(40);
    w.pagedList(DocumentKind::Thesaurus)->scrollBar()->setValue(7);
    f.wb.dictionary.selectedIndex = 45;
    f.wb.dictionary.undoSnapshot = DictionaryDocument::Snapshot();
    f.wb.dictionary.affText = QStringLiteral("SET UTF-8");
    w.showDocumentTexts();
    w.wordField()->setText(QStringLiteral("colour"));
    w.hyphenationResults()->addTopLevelItem(new QTreeWidgetItem(QStringList{"col=our", "1", "rule"}));
    f.showTab(DocumentKind::Autocorrect);

    f.wb.settings.windowSize = QStringLiteral("1440x768");
    w.rebuildLayout();
    QCOMPARE(w.size(), QSize(1440, 768));
    QCOMPARE(w.tabs()->currentIndex(), int(DocumentKind::Autocorrect));
    QCOMPARE(w.pagedList(DocumentKind::Thesaurus)->width(), 1376 + 18);
    QCOMPARE(w.pagedList(DocumentKind::Dictionary)->scrollPosition(), 40);
    QCOMPARE(w.pagedList(DocumentKind::Thesaurus)->scrollPosition(), 7);
    QCOMPARE(w.pagedList(DocumentKind::Dictionary)->tree()->topLevelItem(0)->text(1), QStringLiteral("word40"));
    QCOMPARE(f.wb.dictionary.selectedIndex, -1);
    QVERIFY(!f.wb.dictionary.hasUndoStep());
    QVERIFY(!w.tabButton(DocumentKind::Dictionary, TabAction::Undo)->isEnabled());
    QCOMPARE(w.affPane()->toPlainText(), QStringLiteral("SET UTF-8"));
    QVERIFY(!f.wb.dictionary.changed);
    QCOMPARE(w.wordField()->text(), QStringLiteral("colour"));
    QCOMPARE(w.hyphenationResults()->topLevelItemCount(), 1);
    QCOMPARE(w.counterLabel(DocumentKind::Dictionary)->text(), QStringLiteral("# Words:100"));

    // The window keeps working after the rebuild.
    f.press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.wb.currentTab, DocumentKind::Hyphenation);
}

void TestMainWindow::plainListsKeepTheirArrows()
{
    WindowFixture f;
    f.showTab(DocumentKind::AutoText);
    QTreeWidget *list = f.window->plainList(DocumentKind::AutoText);
    for (int i = 0; i < 3; ++i)
        list->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::number(i + 1), "a", "b", "c"}));
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0));
    QVERIFY(f.window->shortcut(ShortcutCommand::Down)->isEnabled());
    f.press(Qt::Key_Down);
    QCOMPARE(list->currentItem(), list->topLevelItem(1));
    f.press(Qt::Key_End);
    QCOMPARE(list->currentItem(), list->topLevelItem(2));
}

// File > Open through the real window and wiring: the list, the .aff pane, the file
// labels and the Recent Files submenu show the loaded pair; Save writes it back.
void TestMainWindow::openSaveAndRecentFilesOnTheDictionaryTab()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir().mkpath(dir.path() + "/settings");
    const QString dic = dir.path() + "/xx.dic";
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(dir.path() + "/xx.aff", "SET UTF-8\nSFX S Y 1\nSFX S 0 s .\n");
    write(dic, "3\r\nwalk/S\tpo:verb\r\n/odd\r\nzebra\r\n");

    Workbench wb(dir.path());
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();

    ui.openPaths = {dic};
    window.menuAction(CommandId::Open)->trigger();
    QCOMPARE(ui.unscriptedQuestions, 0);
    QVERIFY(ui.statusText().startsWith(QStringLiteral("OK. ")));
    QTreeWidget *tree = window.pagedList(DocumentKind::Dictionary)->tree();
    QCOMPARE(tree->topLevelItemCount(), 3);
    QCOMPARE(tree->topLevelItem(0)->text(1), QStringLiteral("walk/S"));
    QCOMPARE(tree->topLevelItem(0)->text(2), QStringLiteral("po:verb"));
    QCOMPARE(window.affPane()->toPlainText(), QStringLiteral("SET UTF-8\nSFX S Y 1\nSFX S 0 s .\n"));
    QCOMPARE(window.fileLabel(DocumentKind::Dictionary)->text(), QStringLiteral("xx.dic"));
    window.dispatcher().afterEvent();
    QCOMPARE(window.menuAction(CommandId::RecentFile, 0)->text(), QStringLiteral("1: ") + dic);
    QVERIFY(window.menuAction(CommandId::RecentFile, 0)->isEnabled());
    QVERIFY(!window.menuAction(CommandId::RecentFile, 1)->isEnabled());

    // An edit in the .aff pane, then Save: LF line ends, a fresh count line, a tab before the tags.
    window.affPane()->appendPlainText(QStringLiteral("# note"));
    QVERIFY(wb.dictionary.changed);
    window.menuAction(CommandId::Save)->trigger();
    QVERIFY(!wb.dictionary.changed);
    QFile saved(dic);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("\xEF\xBB\xBF"
                                         "3\nwalk/S\tpo:verb\n/odd\nzebra\n"));

    // Recent Files > 1 reopens it; Clear empties the list.
    wb.dictionary.entries.clear();
    window.menuAction(CommandId::RecentFile, 0)->trigger();
    QCOMPARE(wb.dictionary.entries.size(), 3);
    window.menuAction(CommandId::RecentClear)->trigger();
    window.dispatcher().afterEvent();
    QVERIFY(!window.menuAction(CommandId::RecentFile, 0)->isEnabled());
}

// Started as the program starts (the log read before the window exists, the wiring
// after it): File > Recent Files shows the logged paths the first time it opens,
// before any command has run.
void TestMainWindow::recentFilesShowTheLogAtStartUp()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir().mkpath(dir.path() + "/settings");
    QFile log(dir.path() + "/settings/lxm3_recent_files.log");
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write("/d/en_GB.dic\r\n/d/pt_PT.dic\r\n" + QByteArray("\r\n").repeated(58));
    log.close();

    Workbench wb(dir.path());
    ScriptedUi ui;
    RunStartupBeforeWindow(wb, ui, StartupHooks{});
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QAction *first = window.menuAction(CommandId::RecentFile, 0);
    QMenu *recent = qobject_cast<QMenu *>(first->associatedObjects().value(0));
    QVERIFY(recent);
    QMenu *file = qobject_cast<QMenu *>(recent->menuAction()->associatedObjects().value(0));
    QVERIFY(file);
    for (QMenu *menu : {file, recent}) {
        menu->popup(window.mapToGlobal(QPoint(20, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
    }
    QCOMPARE(first->text(), QStringLiteral("1: /d/en_GB.dic"));
    QVERIFY(first->isEnabled());
    QCOMPARE(window.menuAction(CommandId::RecentFile, 1)->text(), QStringLiteral("2: /d/pt_PT.dic"));
    QVERIFY(!window.menuAction(CommandId::RecentFile, 2)->isEnabled());
    recent->close();
    file->close();
}

// The commands of the real wiring that still have no operation. The list only
// shrinks: a change that builds a feature takes its entries out. The items the
// menu table itself marks "Not coded yet." are not listed; they stay so.
void TestMainWindow::commandsStillWithoutAnOperation()
{
    const QStringList expected;
    Workbench wb(QStringLiteral("/opt/lexaloom"));
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    CommandDispatcher &d = window.dispatcher();

    QStringList missing;
    for (DocumentKind kind : allDocumentKinds) {
        const bool readOnly = kind == DocumentKind::AutoText || kind == DocumentKind::LanguageTool;
        if (!d.hasLoadOperation(kind))
            missing.append(QStringLiteral("Open (%1)").arg(tabName(kind)));
        if (!readOnly && !d.hasSaveOperation(kind))
            missing.append(QStringLiteral("Save (%1)").arg(tabName(kind)));
    }
    QList<std::pair<QString, MenuItemSpec>> items;
    for (const MenuSpec &menu : MainMenuBar(QStringLiteral("English")))
        collectMenuItems(menu.title, menu.items, items);
    for (const auto &[name, item] : items) {
        const bool fileCommand = item.id == CommandId::Open || item.id == CommandId::Save ||
                                 item.id == CommandId::SaveAs || item.id == CommandId::RecentFile;
        const bool acts = item.kind == CommandKind::Wrapped || item.kind == CommandKind::Unwrapped;
        if (!fileCommand && acts && !d.hasOperation(item.id))
            missing.append(name);
    }
    for (DocumentKind kind : allDocumentKinds) {
        for (size_t a = 0; a < tabActionCount; ++a) {
            const auto action = static_cast<TabAction>(a);
            if (TabButtonKindOf(kind, action) == TabButtonKind::Operation && !d.hasTabOperation(kind, action))
                missing.append(tabName(kind) + QLatin1Char(':') + buttonName(action));
        }
    }
    if (missing != expected)
        qWarning().noquote() << "without an operation:\n" << missing.join(QLatin1Char('\n'));
    QCOMPARE(missing, expected);

    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Every menu item left unbuilt says so when used.
    for (CommandId id : {CommandId::UnPfx, CommandId::ThesaurusValidate, CommandId::PreviewThesaurus,
                         CommandId::HypValidate, CommandId::AutoTextValidate})
        window.menuAction(id)->trigger();
    QCOMPARE(ui.messageTexts(), QStringList(5, QStringLiteral("Not coded yet.")));
    for (const ScriptedUi::Message &m : ui.messages) {
        QCOMPARE(m.title, QStringLiteral("Warning!"));
        QCOMPARE(m.icon, MessageIcon::Warning);
    }
}

void TestMainWindow::goToTopAndBottom_data()
{
    QTest::addColumn<int>("kind");
    for (DocumentKind kind :
         {DocumentKind::Dictionary, DocumentKind::Thesaurus, DocumentKind::Hyphenation, DocumentKind::Autocorrect})
        QTest::newRow(qPrintable(tabName(kind))) << int(kind);
}

// The image buttons under the four paged lists: the last or the first entry becomes
// the focused one and the page moves to it; an empty list stays as it is.
void TestMainWindow::goToTopAndBottom()
{
    QFETCH(int, kind);
    const auto tab = DocumentKind(kind);
    WindowFixture f;
    f.showTab(tab);
    PagedListView *list = f.window->pagedList(tab);
    const qint64 *selected = tab == DocumentKind::Dictionary    ? &f.wb.dictionary.selectedIndex
                             : tab == DocumentKind::Thesaurus   ? &f.wb.thesaurus.selectedIndex
                             : tab == DocumentKind::Hyphenation ? &f.wb.hyphenation.selectedIndex
                                                                : &f.wb.autocorrect.selectedIndex;
    QAbstractButton *bottom = f.window->tabButton(tab, TabAction::ListBottom);
    QAbstractButton *top = f.window->tabButton(tab, TabAction::ListTop);
    QTest::mouseClick(bottom, Qt::LeftButton);
    QCOMPARE(*selected, -1);
    QCOMPARE(list->rowCount(), 0);

    EntryStore &entries = tab == DocumentKind::Thesaurus     ? f.wb.thesaurus.entries
                          : tab == DocumentKind::Autocorrect ? f.wb.autocorrect.entries
                                                             : f.wb.dictionary.entries;
    for (int i = 0; i < 40; ++i)
        entries.append(QStringLiteral("entry%1\nmore").arg(i));
    f.window->refreshListPage(tab);
    QTest::mouseClick(bottom, Qt::LeftButton);
    QCOMPARE(*selected, 39);
    // The last page is a full one, with the last entry on its last row.
    QCOMPARE(list->scrollPosition(), 40 - list->pageRows());
    QCOMPARE(list->rowCount(), list->pageRows());
    QCOMPARE(list->tree()->currentItem()->text(1), QStringLiteral("entry39"));
    QCOMPARE(list->tree()->currentItem(), list->tree()->topLevelItem(list->pageRows() - 1));
    QTest::mouseClick(top, Qt::LeftButton);
    QCOMPARE(*selected, 0);
    QCOMPARE(list->scrollPosition(), 0);
    QCOMPARE(list->tree()->topLevelItem(0)->text(1), QStringLiteral("entry0"));
    QVERIFY(f.ui.messages.isEmpty());
}

// Find and Go to through the real wiring on the tabs whose lists they search.
void TestMainWindow::findAndGotoOnTheListTabs()
{
    Workbench wb(QStringLiteral("/opt/lexaloom"));
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (const char *e : {"ab|1\nx", "cd|1\ny", "abc|1\nz"})
        wb.thesaurus.entries.append(QString::fromUtf8(e));
    for (const char *e : {"teh\nthe", "abc\nabd", "recieve\nreceive"})
        wb.autocorrect.entries.append(QString::fromUtf8(e));
    for (const char *e : {"cat/S", "dog/S"})
        wb.dictionary.entries.append(QString::fromUtf8(e));
    for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Thesaurus, DocumentKind::Autocorrect})
        window.refreshListPage(kind);

    // Ctrl+F on the Thesaurus tab: Display shows the entry, Edit reaches the tab's
    // editor on it.
    window.tabs()->setCurrentIndex(int(DocumentKind::Thesaurus));
    QString title;
    QString editorTitle;
    QString editorWord;
    whenModalOpens<FindWindow>([&](FindWindow *find) {
        title = find->windowTitle();
        QTest::keyClicks(find->searchField(), QStringLiteral("abc"));
        QTest::mouseClick(find->findButton(), Qt::LeftButton);
        QCOMPARE(find->resultList()->model()->rowCount(), 1);
        find->resultList()->setCurrentIndex(find->resultList()->model()->index(0, 0));
        QTest::mouseClick(find->displayButton(), Qt::LeftButton);
        QCOMPARE(wb.thesaurus.selectedIndex, 2);
        // Three entries fit on one page: it stays at the top with the found one focused.
        QCOMPARE(window.pagedList(DocumentKind::Thesaurus)->scrollPosition(), 0);
        QCOMPARE(window.pagedList(DocumentKind::Thesaurus)->tree()->currentItem()->text(0), QStringLiteral("3"));
        whenModalOpens<SynonymEditor>([&](SynonymEditor *editor) {
            editorTitle = editor->windowTitle();
            editorWord = editor->wordField()->text();
            editor->reject();
        });
        find->editSelected();
    });
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(title, QStringLiteral("Find a Synonym"));
    QCOMPARE(editorTitle, QStringLiteral("Edit a synonym"));
    QCOMPARE(editorWord, QStringLiteral("abc"));
    QVERIFY(ui.messageTexts().isEmpty());

    // The Dictionary's editor is reached from its Find window too.
    ui.clearRecords();
    int edits = 0;
    window.dispatcher().setTabOperation(DocumentKind::Dictionary, TabAction::Edit, [&] {
        ++edits;
        QCOMPARE(wb.dictionary.selectedIndex, 1);
    });
    window.tabs()->setCurrentIndex(int(DocumentKind::Dictionary));
    window.activateWindow(); // the closed modal window does not hand the activation back offscreen
    QVERIFY(QTest::qWaitForWindowActive(&window));
    whenModalOpens<FindWindow>([&](FindWindow *find) {
        find->searchField()->clear();
        QTest::keyClicks(find->searchField(), QStringLiteral("dog"));
        QTest::mouseClick(find->findButton(), Qt::LeftButton);
        find->resultList()->setCurrentIndex(find->resultList()->model()->index(0, 0));
        find->editSelected();
    });
    QTest::mouseClick(window.tabButton(DocumentKind::Dictionary, TabAction::Find), Qt::LeftButton);
    QCOMPARE(edits, 1);
    QVERIFY(ui.messages.isEmpty());

    // Ctrl+G on the Autocorrect tab and the Goto button on the Thesaurus tab.
    window.tabs()->setCurrentIndex(int(DocumentKind::Autocorrect));
    window.activateWindow(); // the closed modal window does not hand the activation back offscreen
    QVERIFY(QTest::qWaitForWindowActive(&window));
    whenModalOpens<GotoDialog>([&](GotoDialog *go) {
        title = go->windowTitle();
        go->field()->clear();
        QTest::keyClicks(go->field(), QStringLiteral("3"));
        QTest::keyClick(go->field(), Qt::Key_Return);
    });
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(title, QStringLiteral("Goto autocorrect words position (1:3)"));
    QCOMPARE(wb.autocorrect.selectedIndex, 2);
    // The three entries fit on one page; the one gone to is the focused row.
    QCOMPARE(window.pagedList(DocumentKind::Autocorrect)->tree()->currentItem()->text(1), QStringLiteral("recieve"));

    window.tabs()->setCurrentIndex(int(DocumentKind::Thesaurus));
    whenModalOpens<GotoDialog>([&](GotoDialog *go) {
        title = go->windowTitle();
        go->field()->clear();
        QTest::keyClicks(go->field(), QStringLiteral("1"));
        QTest::mouseClick(go->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(window.tabButton(DocumentKind::Thesaurus, TabAction::Goto), Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("Goto synonyms position (1:3)"));
    QCOMPARE(wb.thesaurus.selectedIndex, 0);
    QVERIFY(ui.messages.isEmpty());
}

LEXALOOM_GUI_TEST(TestMainWindow)
#include "test_main_window.moc"
