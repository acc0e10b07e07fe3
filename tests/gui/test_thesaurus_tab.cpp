#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "core/app/workbench.h"
#include "gui/app/command_wiring.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/thesaurus/synonym_editor.h"

#include "modal_helpers.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::readFile;
using lexaloom::testing::ScriptedUi;
using lexaloom::testing::whenModalOpens;

namespace {

const QByteArray bom("\xEF\xBB\xBF");

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList rowTexts(QTreeWidget *list, int row, int columns)
{
    QStringList out;
    for (int c = 0; c < columns; ++c)
        out << list->topLevelItem(row)->text(c);
    return out;
}

QString screenshotFolder()
{
    return qEnvironmentVariable("LEXALOOM_SCREENSHOT_DIR");
}

} // namespace

class TestThesaurusTab final : public QObject {
    Q_OBJECT

private slots:
    void opensEditsSavesAndUndoes();
    void editorChecksAndLooks();
    void realThesaurusOnePageAtATime();
};

void TestThesaurusTab::opensEditsSavesAndUndoes()
{
    QTemporaryDir dir;
    const QString dat = dir.filePath(QStringLiteral("th.dat"));
    QVERIFY(writeFile(dat, "UTF-8\nzebra|1\n(noun)|equine\ncat|3\n(noun)|feline\n(noun)|big cat\n\n"));
    Workbench wb(dir.filePath(QStringLiteral("program")));
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.tabs()->setCurrentIndex(int(DocumentKind::Thesaurus));
    const DocumentKind kind = DocumentKind::Thesaurus;
    PagedListView *list = window.pagedList(kind);

    // File > Open.
    ui.openPaths.push_back(dat);
    window.menuAction(CommandId::Open)->trigger();
    QCOMPARE(ui.dialogTitles, QStringList{QStringLiteral("Open Thesaurus")});
    QCOMPARE(list->tree()->topLevelItemCount(), 2);
    QCOMPARE(list->tree()->headerItem()->text(0), QStringLiteral("Line #"));
    QCOMPARE(list->tree()->headerItem()->text(1), QStringLiteral("Synonyms"));
    QCOMPARE(list->tree()->headerItem()->text(101), QStringLiteral("Meaning 100"));
    QCOMPARE(rowTexts(list->tree(), 1, 5), (QStringList{"2", "cat|3", "(noun)|feline", "(noun)|big cat", ""}));
    QCOMPARE(window.counterLabel(kind)->text(), QStringLiteral("# Synonyms:2"));
    QCOMPARE(window.fileLabel(kind)->text(), QStringLiteral("th.dat"));
    QVERIFY(ui.statusText().startsWith(QStringLiteral("OK. (idx:0 bytes)+(dat:64 bytes)")));
    QVERIFY(!window.tabButton(kind, TabAction::Undo)->isEnabled());

    // A double click on the second row is Edit; the editor shows the two non-empty lines.
    list->tree()->setCurrentItem(list->tree()->topLevelItem(1));
    QCOMPARE(wb.thesaurus.selectedIndex, 1);
    QCOMPARE(window.counterLabel(kind)->text(), QStringLiteral("Synonym: [2/2]"));
    QString title;
    whenModalOpens<SynonymEditor>([&](SynonymEditor *editor) {
        title = editor->windowTitle();
        QCOMPARE(editor->wordField()->text(), QStringLiteral("cat"));
        QCOMPARE(editor->meaningsEditor()->toPlainText(), QStringLiteral("(noun)|feline\n(noun)|big cat\n"));
        QTRY_VERIFY(editor->meaningsEditor()->hasFocus());
        editor->meaningsEditor()->setPlainText(QStringLiteral("(noun)|feline\n(noun)|big cat\n(noun)|true cat"));
        QTest::mouseClick(editor->okButton(), Qt::LeftButton);
    });
    const QPoint cell(list->tree()->columnViewportPosition(1) + 8,
                      list->tree()->visualItemRect(list->tree()->topLevelItem(1)).center().y());
    QSignalSpy spy(list, &PagedListView::entryActivated);
    // A view takes a double click only on the row the press went to.
    QTest::mousePress(list->tree()->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(list->tree()->viewport(), Qt::LeftButton, {}, cell);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(title, QStringLiteral("Edit a synonym"));
    QCOMPARE(wb.thesaurus.entries.at(1), QStringLiteral("cat|3\n(noun)|feline\n(noun)|big cat\n(noun)|true cat"));
    QCOMPARE(list->tree()->topLevelItem(1)->text(4), QStringLiteral("(noun)|true cat"));
    QCOMPARE(window.changedLabel(kind)->text(), QStringLiteral("*"));
    QVERIFY(window.tabButton(kind, TabAction::Undo)->isEnabled());

    // File > Save writes both files over the loaded ones.
    window.menuAction(CommandId::Save)->trigger();
    QCOMPARE(readFile(dat),
             bom + "UTF-8\nzebra|1\n(noun)|equine\ncat|3\n(noun)|feline\n(noun)|big cat\n(noun)|true cat\n");
    QCOMPARE(readFile(dir.filePath(QStringLiteral("th.idx"))), QByteArray("UTF-8\n2\ncat|31\nzebra|9\n"));
    QCOMPARE(window.changedLabel(kind)->text(), QString());
    QVERIFY(ui.messages.isEmpty());

    // Undo brings the old entry back and waits 250 ms; Redo the new one.
    QTest::mouseClick(window.tabButton(kind, TabAction::Undo), Qt::LeftButton);
    QCOMPARE(wb.thesaurus.entries.at(1), QStringLiteral("cat|3\n(noun)|feline\n(noun)|big cat\n"));
    QCOMPARE(list->tree()->topLevelItem(1)->text(4), QString());
    QCOMPARE(ui.pauses, QList<int>{250});
    QVERIFY(!window.tabButton(kind, TabAction::Undo)->isEnabled());
    QVERIFY(window.tabButton(kind, TabAction::Redo)->isEnabled());
    QTest::mouseClick(window.tabButton(kind, TabAction::Redo), Qt::LeftButton);
    QCOMPARE(list->tree()->topLevelItem(1)->text(4), QStringLiteral("(noun)|true cat"));

    // Sort, then Delete with its question.
    QTest::mouseClick(window.tabButton(kind, TabAction::Sort), Qt::LeftButton);
    QCOMPARE(list->tree()->topLevelItem(0)->text(1), QStringLiteral("cat|3"));
    QCOMPARE(ui.statusText().left(3), QStringLiteral("OK."));
    list->tree()->setCurrentItem(list->tree()->topLevelItem(1));
    ui.answers = {true};
    QTest::mouseClick(window.tabButton(kind, TabAction::Delete), Qt::LeftButton);
    QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("Really delete synonym?\n\"zebra|1\"")});
    QCOMPARE(list->tree()->topLevelItemCount(), 1);
    QCOMPARE(window.counterLabel(kind)->text(), QStringLiteral("# Synonyms:1"));
}

void TestThesaurusTab::editorChecksAndLooks()
{
    ScriptedUi ui;
    SynonymEditor editor(ui, SynonymEditorMode::Add, {}, QStringLiteral("/opt/lexaloom/"));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.windowTitle(), QStringLiteral("Add a synonym"));
    QTRY_VERIFY(editor.wordField()->hasFocus());
    QTRY_VERIFY(editor.showsUsageExample());
    QCOMPARE(editor.meaningsEditor()->placeholderText().section(u'\n', 0, 1),
             QStringLiteral("Usage example:\n(noun)|vessel (generic term)|watercraft (generic term)"));
    QCOMPARE(editor.meaningCounter()->text(), QStringLiteral("# Meanings:0/100"));
    if (const QString folder = screenshotFolder(); !folder.isEmpty()) {
        QDir().mkpath(folder);
        QVERIFY(editor.grab().save(folder + QStringLiteral("/synonym_editor_example.png")));
    }

    // A trailing space turns the field red and is refused though the meanings are fine.
    QTest::keyClicks(editor.wordField(), QStringLiteral("big "));
    QVERIFY(editor.wordField()->styleSheet().contains(QStringLiteral("#ff0000")));
    editor.meaningsEditor()->setFocus();
    QTRY_VERIFY(!editor.showsUsageExample());
    QTest::keyClicks(editor.meaningsEditor(), QStringLiteral("(adj)|large"));
    QTest::keyClick(editor.meaningsEditor(), Qt::Key_Return);
    QTest::keyClicks(editor.meaningsEditor(), QStringLiteral("(adj)|huge"));
    QTRY_COMPARE(editor.meaningCounter()->text(), QStringLiteral("# Meanings:1/100"));
    QCOMPARE(editor.meaningBar()->text(), QStringLiteral("|1"));
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("Invalid spaces in synonym.")});
    QCOMPARE(ui.messages.first().title, QStringLiteral("Warning!"));
    QVERIFY(editor.isVisible());
    QVERIFY(editor.wordField()->hasFocus());

    // Blank meanings send the focus to the editor.
    editor.wordField()->setText(QStringLiteral("big"));
    QVERIFY(editor.wordField()->styleSheet().isEmpty());
    editor.meaningsEditor()->setPlainText(QStringLiteral("(adj)|large\n\n(adj)|huge"));
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    QCOMPARE(ui.messageTexts().last(), QStringLiteral("There are blank meanings."));
    QVERIFY(editor.meaningsEditor()->hasFocus());

    editor.meaningsEditor()->setPlainText(QStringLiteral("(adj)|large\n(adj)|huge\n"));
    editor.meaningsEditor()->moveCursor(QTextCursor::End);
    QTRY_COMPARE(editor.meaningCounter()->text(), QStringLiteral("# Meanings:2/100"));
    if (const QString folder = screenshotFolder(); !folder.isEmpty()) {
        QCoreApplication::processEvents();
        QVERIFY(editor.grab().save(folder + QStringLiteral("/synonym_editor.png")));
    }
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(ui.messages.size(), 2);

    // Escape cancels.
    SynonymEditor other(ui, SynonymEditorMode::Edit, {QStringLiteral("x"), QStringLiteral("y\n")}, QString());
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QTest::keyClick(&other, Qt::Key_Escape);
    QCOMPARE(other.result(), int(QDialog::Rejected));
}

void TestThesaurusTab::realThesaurusOnePageAtATime()
{
    const QString corpus = corpusRoot();
    const QString dat = corpus + QStringLiteral("/thesaurus/th_en_US_v2.dat");
    if (!QFile::exists(dat))
        QSKIP("the real thesaurus is not in the corpus");
    Workbench wb(QStringLiteral("/opt/lexaloom"));
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.tabs()->setCurrentIndex(int(DocumentKind::Thesaurus));
    ui.openPaths.push_back(dat);
    window.menuAction(CommandId::Open)->trigger();
    QVERIFY(ui.messages.isEmpty());
    PagedListView *list = window.pagedList(DocumentKind::Thesaurus);
    QCOMPARE(wb.thesaurus.entries.size(), 145866);
    QVERIFY(list->tree()->topLevelItemCount() <= list->pageRows());
    QCOMPARE(window.counterLabel(DocumentKind::Thesaurus)->text(), QStringLiteral("# Synonyms:145,866"));
    list->setScrollPosition(60000);
    window.refreshListPage(DocumentKind::Thesaurus);
    QVERIFY(list->tree()->topLevelItemCount() <= list->pageRows());
    list->tree()->setCurrentItem(list->tree()->topLevelItem(2));
    if (const QString folder = screenshotFolder(); !folder.isEmpty()) {
        QDir().mkpath(folder);
        QCoreApplication::processEvents();
        QVERIFY(window.grab().save(folder + QStringLiteral("/thesaurus_tab.png")));
    }
}

LEXALOOM_GUI_TEST(TestThesaurusTab)
#include "test_thesaurus_tab.moc"
