#include "core/app/preferences_session.h"
#include "core/app/startup.h"
#include "core/app/workbench.h"
#include "core/shell/list_document.h"
#include "core/shell/prefs_store.h"
#include "gui/app/command_wiring.h"
#include "gui/app/help_wiring.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/shell/preferences_window.h"
#include "gui/shell/startup_gui.h"
#include "gui/shell/update_window.h"

#include "modal_helpers.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFontDialog>
#include <QFontInfo>
#include <QTreeWidget>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace lexaloom;
using lexaloom::testing::chooseFromPopup;
using lexaloom::testing::ScriptedUi;
using lexaloom::testing::whenModalOpens;

namespace {

void type(SpinField *field, const QString &text)
{
    field->edit()->selectAll();
    QTest::keyClick(field->edit(), Qt::Key_Backspace);
    QTest::keyClicks(field->edit(), text);
}

// Saves the window's picture when LEXALOOM_SCREENSHOTS names a folder.
void saveShot(QWidget &w, const char *name)
{
    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOTS");
    if (!folder.isEmpty())
        QVERIFY(w.grab().save(QDir(folder).filePath(QString::fromLatin1(name))));
}

} // namespace

class TestPreferencesWindow final : public QObject {
    Q_OBJECT

private slots:
    void redFieldsAndTheRangeMessage();
    void okAppliesRowsWithoutRebuildingForColours();
    void okRebuildsForTheWindowSize();
    void listsWorkAfterTheRebuild();
    void cancelRestoresAndSaveWrites();
    void fontDialogOpensOnArialBold();
    void builtInAffAidEntryHasItsIcon();
    void firstStartPageFillsTheList();
    void windowSizeFitsTheDesktop_data();
    void windowSizeFitsTheDesktop();
    void updateAndAboutWindows();
    void menuEntriesReachTheirWindows();
};

// "12." turns the field red; "OK" then refuses with the range message and keeps the
// focus there.
void TestPreferencesWindow::redFieldsAndTheRangeMessage()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    wb.mainSettingsInForce = true;
    ScriptedUi ui;
    PreferencesSession session(wb, ui, {1920, 1080, 1920, 1040, 50});
    PreferencesWindow window(session, wb.programFolder(), ui, {}, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Preferences"));
    QCOMPARE(window.size(), QSize(894, 570));
    QCOMPARE(window.previewList()->count(), 500);
    QCOMPARE(window.previewList()->currentRow(), 12);

    SpinField *rows = window.field(PrefsField::VisibleLines);
    type(rows, QStringLiteral("12."));
    QVERIFY(rows->edit()->styleSheet().contains(QStringLiteral("background")));
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    QVERIFY(window.isVisible());
    QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("The number of lines must be in the range 1:100")});
    QVERIFY(rows->edit()->hasFocus());
    type(rows, QStringLiteral("18"));
    QVERIFY(rows->edit()->styleSheet().isEmpty());
    QCOMPARE(window.previewList()->currentRow(), 17);

    // A click on the preview sets the rows.
    QListWidget *preview = window.previewList();
    QTest::mouseClick(preview->viewport(), Qt::LeftButton, {},
                      preview->visualItemRect(preview->item(preview->currentRow() + 1)).center());
    QCOMPARE(rows->edit()->text(), QStringLiteral("19"));
    QCOMPARE(wb.settings.listPageRows, 19);

    // The separator preview follows each change; blank is allowed.
    window.separatorField()->clear();
    QCOMPARE(window.separatorPreview()->text(), QStringLiteral("Preview:1000000"));
    QTest::keyClicks(window.separatorField(), QStringLiteral("."));
    QCOMPARE(window.separatorPreview()->text(), QStringLiteral("Preview:1.000.000"));
    QCOMPARE(window.separatorField()->toolTip(), QStringLiteral("One character only. It can be left blank."));
    QCOMPARE(window.resolutionOption(4)->text(), QStringLiteral("Maximise Window (1920×990)"));
    QVERIFY(window.resolutionOption(0)->isChecked());
    saveShot(window, "preferences_window.png");

    // Escape is Cancel.
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(wb.settings.listPageRows, 13);
    QCOMPARE(wb.settings.thousandsSeparator, QStringLiteral(","));
}

// Through the menu: only the colours and rows change, so the undo history stays and
// the lists take the new page length.
void TestPreferencesWindow::okAppliesRowsWithoutRebuildingForColours()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    wb.mainSettingsInForce = true;
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (int i = 0; i < 60; ++i)
        wb.thesaurus.entries.append(QStringLiteral("head%1|1\nx").arg(i));
    TakeUndoSnapshot(wb.thesaurus);
    window.refreshListPage(DocumentKind::Thesaurus);
    window.pagedList(DocumentKind::Thesaurus)->setScrollPosition(30);
    QWidget *tabsBefore = window.tabs();

    whenModalOpens<PreferencesWindow>([](PreferencesWindow *prefs) {
        type(prefs->field(PrefsField::VisibleLines), QStringLiteral("20"));
        QTest::mouseClick(prefs->okButton(), Qt::LeftButton);
    });
    window.menuAction(CommandId::Preferences)->trigger();
    QCOMPARE(wb.settings.listPageRows, 20);
    QCOMPARE(window.tabs(), tabsBefore);
    QVERIFY(wb.hasUndoStep(DocumentKind::Thesaurus));
    QCOMPARE(window.pagedList(DocumentKind::Thesaurus)->pageRows(), 20);
    QCOMPARE(window.pagedList(DocumentKind::Thesaurus)->scrollPosition(), 30);
    QCOMPARE(wb.thesaurus.selectedIndex, -1);
    QVERIFY(ui.messages.isEmpty());
}

// A new window size rebuilds the main window to it; the undo history goes with it.
void TestPreferencesWindow::okRebuildsForTheWindowSize()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    wb.mainSettingsInForce = true;
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const int listHeight = window.pagedList(DocumentKind::Dictionary)->height();
    whenModalOpens<PreferencesWindow>([](PreferencesWindow *prefs) {
        prefs->resolutionOption(1)->click();
        QCOMPARE(prefs->height(), 570 + 168);
        QTest::mouseClick(prefs->okButton(), Qt::LeftButton);
    });
    window.menuAction(CommandId::Preferences)->trigger();
    QCOMPARE(wb.settings.windowSize, QStringLiteral("1280x768"));
    QCOMPARE(window.pagedList(DocumentKind::Dictionary)->height(), listHeight + 168);
}

// OK with a new size builds every widget of the tabs anew. Every list button, the
// pop-up items, File > Open and the result list's pop-up must reach the new
// widgets, not the deleted ones (under ASan a stale pointer fails here).
void TestPreferencesWindow::listsWorkAfterTheRebuild()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    wb.mainSettingsInForce = true;
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    whenModalOpens<PreferencesWindow>([](PreferencesWindow *prefs) {
        prefs->resolutionOption(1)->click();
        QTest::mouseClick(prefs->okButton(), Qt::LeftButton);
    });
    window.menuAction(CommandId::Preferences)->trigger();
    QCOMPARE(wb.settings.windowSize, QStringLiteral("1280x768"));

    const std::pair<DocumentKind, QStringList> lists[] = {
        {DocumentKind::Dictionary, {"walk/S", "talk", "jump"}},
        {DocumentKind::Thesaurus, {"cat|1\n(noun)|feline", "dog|1\n(noun)|hound", "ant|1\n(noun)|emmet"}},
        {DocumentKind::Autocorrect, {"teh\nthe", "adn\nand", "wich\nwhich"}},
    };
    for (const auto &list : lists) {
        const DocumentKind kind = list.first;
        const QStringList &entries = list.second;
        window.selectTab(kind);
        ListDocument &doc = *wb.listDocument(kind);
        for (const QString &entry : entries)
            doc.entries.append(entry);
        doc.selectedIndex = 1;
        window.refreshListPage(kind);
        window.refreshFileInfo(kind);
        const auto click = [&](TabAction action, std::deque<bool> answers = {}) {
            ui.answers = answers;
            // The editors that Add and Edit open are closed unchanged.
            if (action == TabAction::Add || action == TabAction::Edit)
                whenModalOpens<QDialog>([](QDialog *editor) { editor->reject(); });
            QTest::mouseClick(window.tabButton(kind, action), Qt::LeftButton);
        };
        click(TabAction::Edit);
        click(TabAction::Add);
        click(TabAction::Delete, {true});
        QCOMPARE(doc.entries.size(), entries.size() - 1);
        click(TabAction::Undo);
        QCOMPARE(doc.entries.size(), entries.size());
        click(TabAction::Redo);
        click(TabAction::Undo);
        click(TabAction::Sort);
        click(TabAction::ListBottom);
        click(TabAction::ListTop);
        click(TabAction::Erase, {true, true});
        QCOMPARE(doc.entries.size(), 0);
        click(TabAction::Undo);
        QCOMPARE(doc.entries.size(), entries.size());

        QTreeWidget *tree = window.pagedList(kind)->tree();
        for (const char *caption : {"Select All", "Select None", "Invert Selection", "Clone"})
            chooseFromPopup(tree, QString::fromLatin1(caption));
        QCOMPARE(doc.entries.size(), entries.size() + 1);
        doc.selectedIndex = 0;
        for (const char *caption : {"Add", "Edit"}) {
            whenModalOpens<QDialog>([](QDialog *editor) { editor->reject(); });
            chooseFromPopup(tree, QString::fromLatin1(caption));
        }
        ui.answers = {true, true};
        chooseFromPopup(tree, QStringLiteral("Delete"));
        chooseFromPopup(tree, QStringLiteral("Delete Selected"));
        QCOMPARE(window.counterLabel(kind)->text().section(u':', 1).toInt(), doc.entries.size());
    }

    // File > Open on the Thesaurus tab resets the new list's scroll position.
    const QString dat = dir.filePath(QStringLiteral("th.dat"));
    QFile file(dat);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("UTF-8\ncat|1\n(noun)|feline\n");
    file.close();
    window.selectTab(DocumentKind::Thesaurus);
    wb.thesaurus.changed = false;
    ui.answers = {true};
    ui.openPaths = {dat};
    window.menuAction(CommandId::Open)->trigger();
    QCOMPARE(wb.thesaurus.entries.size(), 1);
    QCOMPARE(window.pagedList(DocumentKind::Thesaurus)->rowCount(), 1);

    // The hyphenation result list's pop-up.
    window.selectTab(DocumentKind::Hyphenation);
    QTreeWidget *results = window.hyphenationResults();
    results->addTopLevelItem(new QTreeWidgetItem(QStringList{"walk", "", ""}));
    ui.clearRecords();
    const QStringList captions = chooseFromPopup(results, QStringLiteral("Copy word"));
    QCOMPARE(captions, (QStringList{"Copy word", "Copy rule", "Copy word && rule"}));
}

// "Save" writes the file at once; "Cancel" then leaves the file and restores the program.
void TestPreferencesWindow::cancelRestoresAndSaveWrites()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    wb.mainSettingsInForce = true;
    ScriptedUi ui;
    PreferencesSession session(wb, ui, {1920, 1080, 1920, 1040, 50});
    PreferencesWindow window(session, wb.programFolder(), ui, {}, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    type(window.field(PrefsField::DecodeWarnLimit), QStringLiteral("0"));
    QTest::mouseClick(window.saveButton(), Qt::LeftButton);
    QVERIFY(window.isVisible());
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("settings/lxm3.prefs"))));
    QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
    QCOMPARE(wb.settings.decodeWarnLimit, 2000000);
    Workbench next(dir.path());
    MainSettings saved;
    QFile file(dir.filePath(QStringLiteral("settings/lxm3.prefs")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(DecodeMainSettings(file.readAll(), saved));
    QCOMPARE(saved.decodeWarnLimit, 0);
}

// The font button opens the system dialog on "Arial", 10, bold: on a desktop without
// Arial, on the face that stands for it, not on the first family of the list.
void TestPreferencesWindow::fontDialogOpensOnArialBold()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    wb.mainSettingsInForce = true;
    ScriptedUi ui;
    PreferencesSession session(wb, ui, {1920, 1080, 1920, 1040, 50});
    PreferencesWindow window(session, wb.programFolder(), ui, {}, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString arial = QFontInfo(QFont(QStringLiteral("Arial"), 10)).family();
    QFont shown;
    whenModalOpens<QFontDialog>([&](QFontDialog *dialog) {
        shown = dialog->currentFont();
        saveShot(*dialog, "font_dialog.png");
        dialog->reject();
    });
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("font")), Qt::LeftButton);
    QCOMPARE(shown.family(), arial);
    QVERIFY(shown.bold());
    QCOMPARE(shown.pointSize(), 10);
    // Cancel in the dialog changes nothing.
    QCOMPARE(wb.settings.listFontName, session.noted().listFontName);
}

// The ".AFF Aid Language" list shows the built-in legend with its picture.
void TestPreferencesWindow::builtInAffAidEntryHasItsIcon()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    wb.mainSettingsInForce = true;
    wb.affAidEntries = ScanAffAid(dir.filePath(QStringLiteral("custom_aff_aid")));
    ProvideBuiltInAffAidImage(wb.affAidEntries);
    ScriptedUi ui;
    PreferencesSession session(wb, ui, {1920, 1080, 1920, 1040, 50});
    PreferencesWindow window(session, wb.programFolder(), ui, {}, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QComboBox *list = window.affAidList();
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(1), QStringLiteral("eng-GB:english:English GB"));
    QVERIFY(!list->itemIcon(1).isNull());
    QVERIFY(list->itemIcon(0).isNull());
    list->showPopup();
    QVERIFY(QTest::qWaitForWindowExposed(list->view()->window()));
    saveShot(*list->view()->window(), "preferences_aff_aid_list.png");
    list->hidePopup();
}

// At a first start on a 1600 x 928 desktop the Dictionary list grows with the window;
// the page length comes from the rows the list font really takes, so that the page
// fills the list: every row whole, and no room left for one more.
void TestPreferencesWindow::firstStartPageFillsTheList()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    QVERIFY(!wb.mainSettingsInForce);
    for (int i = 0; i < 300; ++i)
        wb.dictionary.entries.append(QStringLiteral("word%1/S").arg(i));
    ScriptedUi ui;
    DesktopMeasurements desktop;
    {
        MainWindow measuring(wb, ui);
        desktop = MeasureDesktop(measuring);
    }
    desktop.desktopWidth = 1600;
    desktop.desktopHeight = 928;
    desktop.maxClientWidth = 1600;
    desktop.maxClientHeight = 880;
    desktop.barsHeight = 52;
    PreferencesSession session(wb, ui, desktop);
    QCOMPARE(wb.settings.windowSize, QStringLiteral("1600x828"));
    const int rows = wb.settings.listPageRows;
    QVERIFY(rows > 13);

    MainWindow window(wb, ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.refreshListPage(DocumentKind::Dictionary);
    QTreeWidget *tree = window.pagedList(DocumentKind::Dictionary)->tree();
    QCOMPARE(tree->height(), session.previewListHeight());
    QCOMPARE(tree->topLevelItemCount(), rows);
    const int rowHeight = tree->visualItemRect(tree->topLevelItem(0)).height();
    const int bottom = tree->visualItemRect(tree->topLevelItem(rows - 1)).bottom() + 1;
    const int shown = tree->viewport()->height();
    QVERIFY2(bottom <= shown, qPrintable(QStringLiteral("%1 rows end at %2 of %3").arg(rows).arg(bottom).arg(shown)));
    const QString left = QStringLiteral("%1 rows of %2 px leave %3 px").arg(rows).arg(rowHeight).arg(shown - bottom);
    QVERIFY2(shown - bottom < rowHeight, qPrintable(left));
    saveShot(window, "first_start_dictionary.png");
}

void TestPreferencesWindow::windowSizeFitsTheDesktop_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QSize>("desktop");
    QTest::addColumn<QString>("used");
    QTest::newRow("far past the screen") << "99999x99999" << QSize(1600, 880) << "1600x880";
    QTest::newRow("fits") << "1440x768" << QSize(1920, 1040) << "1440x768";
    QTest::newRow("one side too large") << "1440x768" << QSize(1366, 1040) << "1366x768";
    QTest::newRow("desktop below the base") << "1280x600" << QSize(800, 500) << "1024x600";
    QTest::newRow("no screen") << "99999x99999" << QSize() << "99999x99999";
}

// A size read from lxm3.prefs is kept within the desktop.
void TestPreferencesWindow::windowSizeFitsTheDesktop()
{
    QFETCH(QString, stored);
    QFETCH(QSize, desktop);
    QFETCH(QString, used);
    MainSettings settings;
    settings.windowSize = stored;
    FitWindowSizeToDesktop(settings, desktop);
    QCOMPARE(settings.windowSize, used);
}

// The update window shows what the check found; the About window the identity.
void TestPreferencesWindow::updateAndAboutWindows()
{
    ScriptedUi ui;
    UpdateOffer offer;
    offer.yourVersion = QStringLiteral("V3.0 (beta)\nBuild: 204\nReleased: 2024-01-17");
    offer.newestVersion = QStringLiteral("V3.1 stable\nBuild: 215\nReleased: 2024-05-02");
    offer.releaseNotes = QStringLiteral("V3.1\n- Faster AFF Validate on large files\n- Thesaurus sort keeps marks\n");
    offer.downloadUrls = {QStringLiteral("https://www.lexaloom.org/lxm_files/lexaloom-3.1.zip"), QString(),
                          QStringLiteral("https://www.lexaloom.org/lxm_files/lexaloom-3.1-src.tar.gz")};
    offer.downloadsPageUrl = QStringLiteral("https://www.lexaloom.org/#downloads");
    UpdateWindow update(offer, ui, nullptr);
    update.show();
    QVERIFY(QTest::qWaitForWindowExposed(&update));
    QCOMPARE(update.windowTitle(), QStringLiteral("Update available for download!"));
    QCOMPARE(update.size(), QSize(845, 435));
    QCOMPARE(update.releaseNotes()->toPlainText(), offer.releaseNotes);
    QVERIFY(update.downloadLink(0)->isEnabled());
    QVERIFY(!update.downloadLink(1)->isEnabled());
    saveShot(update, "update_window.png");
    QTest::mouseClick(update.yesButton(), Qt::LeftButton);
    QCOMPARE(ui.openedUrls, QStringList{offer.downloadsPageUrl});
    QVERIFY(!update.isVisible());

    AboutWindow about(ui, nullptr);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.size(), QSize(685, 353));
    QStringList texts;
    for (QLabel *l : about.findChildren<QLabel *>())
        texts.append(l->text());
    for (const char *t :
         {"Name:", "Version:", "Core:", "Released:", "Lexaloom", "3.0 build 204 (beta)", "64-bit", "2024-01-17"})
        QVERIFY2(texts.contains(QString::fromLatin1(t)), t);
    QCOMPARE(about.releaseNotesLink()->toolTip(), QStringLiteral("View Release Notes"));
    QCOMPARE(about.siteLink()->toolTip(), QStringLiteral("Visit the Website"));
    saveShot(about, "about_window.png");
    QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(600, 330));
    QVERIFY(!about.isVisible());
}

// Help > About and File > Open Extension through the real wiring.
void TestPreferencesWindow::menuEntriesReachTheirWindows()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QString aboutTitle;
    whenModalOpens<AboutWindow>([&](AboutWindow *about) {
        aboutTitle = about->windowTitle();
        QTest::keyClick(about, Qt::Key_Return);
        QVERIFY(!about->isVisible());
    });
    window.menuAction(CommandId::About)->trigger();
    QCOMPARE(aboutTitle, QStringLiteral("About"));

    ui.openPaths = {QString()};
    window.menuAction(CommandId::OpenExtension)->trigger();
    QCOMPARE(ui.dialogTitles, QStringList{QStringLiteral("Open Extension .xpi/.oxt")});
    QCOMPARE(ui.statusText(), QStringLiteral("Aborted."));
    QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("Not coded yet.")});
    QVERIFY(!window.menuAction(CommandId::SaveExtension)->isEnabled());
}

LEXALOOM_GUI_TEST(TestPreferencesWindow)
#include "test_preferences_window.moc"
