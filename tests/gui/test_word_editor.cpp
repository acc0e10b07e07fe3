#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "core/app/startup.h"
#include "core/app/workbench.h"
#include "gui/app/command_wiring.h"
#include "gui/dictionary/dictionary_editing_wiring.h"
#include "gui/dictionary/word_editor.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"

#include "scripted_ui.h"
#include "gui_test_registry.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::readText;
using lexaloom::testing::ScriptedUi;

namespace {

QStringList rowTexts(QTreeWidget *list, int row)
{
    QStringList out;
    for (int c = 0; c < list->columnCount(); ++c)
        out << list->topLevelItem(row)->text(c);
    return out;
}

QStringList itemsOf(QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Runs `step` on the modal editor once it is open.
void onEditor(const std::function<void(WordEditor *)> &step)
{
    QTimer::singleShot(0, [step] {
        auto *editor = qobject_cast<WordEditor *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        step(editor);
    });
}

} // namespace

class TestWordEditor final : public QObject {
    Q_OBJECT

private slots:
    void expandsTheWordIntoRows();
    void okChecksKeepTheWindowOpen();
    void dictionaryTabCommands();
    void okEndsALongExpansion();
    void screenshotOfARealEntry();
    void fitsTheScreenCentredOnItsWindow();
};

void TestWordEditor::expandsTheWordIntoRows()
{
    Workbench wb;
    ScriptedUi ui;
    wb.dictionary.affText = readText(QStringLiteral(LEXALOOM_FIXTURES "/engine/walk.aff"));
    wb.affAidEntries = {{BuiltInAffAidEntry(), QString(), QString()}};
    wb.settings.affAidLanguage = QStringLiteral("*****");
    int legendRow = 3;
    WordEditor editor(WordEditorContextOf(wb), ui, WordEditorMode::Edit,
                      {QStringLiteral("walk/GDS"), QStringLiteral("po:verb")}, legendRow);
    editor.show();
    QCOMPARE(editor.windowTitle(), QStringLiteral("Edit a word"));
    QCOMPARE(editor.legend()->count(), 67);
    QCOMPARE(editor.legend()->currentRow(), 3);

    // Edit starts stale: the expansion follows about 0.3 s after opening, by the
    // editor's clock; its ticks before that leave the list empty.
    auto *ticker = editor.findChild<QTimer *>();
    QVERIFY(ticker);
    QSignalSpy ticks(ticker, &QTimer::timeout);
    QTRY_VERIFY(ticks.count() >= 2);
    QCOMPARE(editor.derivedList()->topLevelItemCount(), 0);
    ui.fakeClock.advance(300);
    QTRY_COMPARE(editor.derivedList()->topLevelItemCount(), 4);

    QTreeWidget *list = editor.derivedList();
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Derived words (4)"));
    QCOMPARE(rowTexts(list, 0), QStringList({"walk", "Primary", "", "", ""}));
    const QString gPosition =
        QString::number(wb.affixTable.group(wb.affixTable.FindGroup(u"SFX", u"G", u"Y")).headerOffset);
    QCOMPARE(rowTexts(list, 1), QStringList({"walking", "Suffix", "G", gPosition, "2: 0 ing [^e]"}));
    QCOMPARE(rowTexts(list, 2).mid(0, 3), QStringList({"walked", "Suffix", "D"}));
    QCOMPARE(rowTexts(list, 3).value(4), QStringLiteral("1: 0 s ."));
    QCOMPARE(itemsOf(editor.topLevelTags()), QStringList({"Primary 1", "D tag 1", "G tag 1", "S tag 1"}));
    QCOMPARE(editor.flagModeIndicator()->toolTip(), QStringLiteral("FLAG chr"));
    QCOMPARE(editor.tabooIndicator()->property("state").toInt(), 1); // green

    // "Display" shows the group's header line in the .aff pane.
    list->setCurrentItem(list->topLevelItem(1));
    QVERIFY(editor.displayButton()->isEnabled());
    editor.displayButton()->click();
    QCOMPARE(editor.affPane()->textCursor().block().text(), QStringLiteral("SFX G Y 2"));

    // A change of the word expands again 600 ms later; the sort choice applies.
    editor.sortChoice()->setCurrentIndex(int(DerivedSort::RuleFlag) - 1);
    QCOMPARE(wb.windowSettings.derivedSortChoice, 5);
    editor.wordField()->setText(QStringLiteral("walk/S"));
    QTRY_COMPARE(editor.derivedList()->topLevelItemCount(), 2);
    QCOMPARE(rowTexts(list, 1).value(0), QStringLiteral("walks"));

    // A "/" word is amber and never expanded.
    editor.wordField()->setText(QStringLiteral("/walk  x"));
    QTRY_COMPARE(editor.tabooIndicator()->property("state").toInt(), 3);
    QVERIFY(editor.wordField()->styleSheet().contains(QStringLiteral("#FFC90E")));
    editor.legend()->setCurrentRow(5);
    editor.okButton()->click();
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(editor.texts().word, QStringLiteral("/walk  x"));
    QCOMPARE(legendRow, 5); // re-selected next time
    QVERIFY(ui.messages.isEmpty());
}

void TestWordEditor::okChecksKeepTheWindowOpen()
{
    Workbench wb;
    ScriptedUi ui;
    wb.dictionary.affText = readText(QStringLiteral(LEXALOOM_FIXTURES "/engine/walk.aff"));
    int legendRow = -1;
    WordEditor editor(WordEditorContextOf(wb), ui, WordEditorMode::Add, {}, legendRow);
    editor.show();
    QCOMPARE(editor.windowTitle(), QStringLiteral("Add a word"));
    editor.wordField()->setText(QStringLiteral("walk/"));
    QTRY_VERIFY(editor.wordField()->styleSheet().contains(QStringLiteral("#FF0000")));
    editor.okButton()->click();
    QVERIFY(editor.isVisible());
    QCOMPARE(ui.messageTexts(), QStringList({"Invalid dictionary word."}));
    QCOMPARE(ui.messages.value(0).title, QStringLiteral("Warning!"));
    editor.wordField()->setText(QStringLiteral("walk"));
    editor.tagsField()->setText(QStringLiteral(" po"));
    editor.okButton()->click();
    QVERIFY(editor.isVisible());
    QCOMPARE(ui.messageTexts().value(1), QStringLiteral("Tags incorrect (spaces)."));
    editor.tagsField()->setText(QStringLiteral("po"));
    editor.okButton()->click();
    QVERIFY(!editor.isVisible());
    QCOMPARE(editor.texts().entry(), QStringLiteral("walk\npo"));
}

void TestWordEditor::dictionaryTabCommands()
{
    Workbench wb(QStringLiteral("/opt/lexaloom"));
    ScriptedUi ui;
    wb.dictionary.affText = readText(QStringLiteral(LEXALOOM_FIXTURES "/engine/walk.aff"));
    for (const char16_t *e : {u"walk/GDS\npo:verb", u"carry/DNU", u"happy/NU"})
        wb.dictionary.entries.append(e);
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    window.refreshListPage(DocumentKind::Dictionary);
    CommandDispatcher &d = window.dispatcher();
    QAbstractButton *undo = window.tabButton(DocumentKind::Dictionary, TabAction::Undo);

    // Edit without a selection is refused.
    d.runTabAction(DocumentKind::Dictionary, TabAction::Edit);
    QCOMPARE(ui.messageTexts(), QStringList({"No dictionary word selected."}));

    // Edit through the editor: the entry is replaced, the tab is marked changed.
    wb.dictionary.selectedIndex = 1;
    onEditor([](WordEditor *editor) {
        QCOMPARE(editor->wordField()->text(), QStringLiteral("carry/DNU"));
        QCOMPARE(editor->tagsField()->text(), QString());
        editor->wordField()->setText(QStringLiteral("carry/D"));
        editor->okButton()->click();
    });
    d.runTabAction(DocumentKind::Dictionary, TabAction::Edit);
    QCOMPARE(wb.dictionary.entries.at(1), QStringLiteral("carry/D"));
    QVERIFY(wb.dictionary.changed);
    QVERIFY(undo->isEnabled());
    QCOMPARE(window.pagedList(DocumentKind::Dictionary)->tree()->topLevelItem(1)->text(1), QStringLiteral("carry/D"));

    // Add appends; Delete (Yes) removes; Undo brings it back.
    onEditor([](WordEditor *editor) {
        editor->wordField()->setText(QStringLiteral("zebra/S"));
        editor->okButton()->click();
    });
    d.runTabAction(DocumentKind::Dictionary, TabAction::Add);
    QCOMPARE(wb.dictionary.entries.size(), 4);
    QCOMPARE(wb.dictionary.entries.at(3), QStringLiteral("zebra/S"));

    wb.dictionary.selectedIndex = 0;
    ui.answers = {true};
    d.runTabAction(DocumentKind::Dictionary, TabAction::Delete);
    QCOMPARE(wb.dictionary.entries.size(), 3);
    QCOMPARE(wb.dictionary.entries.at(0), QStringLiteral("carry/D"));
    d.runTabAction(DocumentKind::Dictionary, TabAction::Undo);
    QCOMPARE(wb.dictionary.entries.at(0), QStringLiteral("walk/GDS\npo:verb"));
    QCOMPARE(window.pagedList(DocumentKind::Dictionary)->tree()->topLevelItem(0)->text(1), QStringLiteral("walk/GDS"));
    QVERIFY(!undo->isEnabled());
    QVERIFY(window.tabButton(DocumentKind::Dictionary, TabAction::Redo)->isEnabled());
    d.runTabAction(DocumentKind::Dictionary, TabAction::Redo);
    QCOMPARE(wb.dictionary.entries.size(), 3);

    // Cancel changes nothing.
    wb.dictionary.selectedIndex = 0;
    wb.dictionary.changed = false;
    onEditor([](WordEditor *editor) {
        editor->wordField()->setText(QStringLiteral("other"));
        editor->reject();
    });
    d.runTabAction(DocumentKind::Dictionary, TabAction::Edit);
    QCOMPARE(wb.dictionary.entries.at(0), QStringLiteral("carry/D"));
    QVERIFY(!wb.dictionary.changed);
}

void TestWordEditor::okEndsALongExpansion()
{
    // Every form of A takes every rule of B: a million rows unless stopped.
    QString aff = QStringLiteral("SET UTF-8\nSFX A Y 1000\n");
    for (int i = 0; i < 1000; ++i)
        aff += QStringLiteral("SFX A 0 a%1/B .\n").arg(i);
    aff += QStringLiteral("SFX B Y 1000\n");
    for (int i = 0; i < 1000; ++i)
        aff += QStringLiteral("SFX B 0 b%1 .\n").arg(i);
    Workbench wb;
    ScriptedUi ui;
    wb.dictionary.affText = aff;
    int legendRow = -1;
    WordEditor editor(WordEditorContextOf(wb), ui, WordEditorMode::Edit, {QStringLiteral("w/A"), QString()}, legendRow);
    editor.show();
    ui.fakeClock.advance(1000);
    bool wasExpanding = false;
    QTimer::singleShot(300, &editor, [&] {
        wasExpanding = editor.model().isExpanding();
        editor.okButton()->click();
    });
    QTRY_VERIFY_WITH_TIMEOUT(!editor.isVisible(), 20000);
    QVERIFY(wasExpanding);
    // OK stopped the engine and closed the window at once: the list was never filled.
    QCOMPARE(editor.derivedList()->topLevelItemCount(), 0);
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QVERIFY(editor.model().rows().size() < 1000000);
}

// Writes docs/images/word_editor.png when LEXALOOM_SCREENSHOT names the file.
void TestWordEditor::screenshotOfARealEntry()
{
    const QString target = qEnvironmentVariable("LEXALOOM_SCREENSHOT");
    const QString aff = readText(QStringLiteral("/work/corpus-data/hunspell/en_GB.aff"));
    if (target.isEmpty() || aff.isEmpty())
        QSKIP("set LEXALOOM_SCREENSHOT and provide the en_GB corpus to take the screenshot");
    Workbench wb;
    ScriptedUi ui;
    wb.dictionary.affText = aff;
    wb.affAidEntries = {{BuiltInAffAidEntry(), QString(), QString()}};
    wb.settings.affAidLanguage = QStringLiteral("*****");
    wb.settings.colourSuffix = 1;
    int legendRow = 24;
    WordEditor editor(WordEditorContextOf(wb), ui, WordEditorMode::Edit,
                      {QStringLiteral("play/eGADESacf"), QStringLiteral("po:verb")}, legendRow);
    editor.resize(1400, 640);
    editor.show();
    ui.fakeClock.advance(1000);
    QTRY_VERIFY(editor.derivedList()->topLevelItemCount() > 20);
    editor.derivedList()->setCurrentItem(editor.derivedList()->topLevelItem(3));
    editor.displayButton()->click();
    QTest::qWait(100);
    QVERIFY(editor.grab().save(target));
}

// It opened at 1400 x 640 in the top left corner, wider than the main window and the
// screen: now it takes what the screen allows and sits over its window's centre.
void TestWordEditor::fitsTheScreenCentredOnItsWindow()
{
    Workbench wb;
    ScriptedUi ui;
    wb.dictionary.affText = QStringLiteral("SET UTF-8\n");
    QWidget host;
    host.setGeometry(120, 90, 400, 300);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const QRect screen = host.screen()->availableGeometry();
    int legendRow = -1;
    WordEditor editor(WordEditorContextOf(wb), ui, WordEditorMode::Add, {}, legendRow, &host);
    QVERIFY(editor.width() <= screen.width());
    QVERIFY(editor.height() <= screen.height());
    // As wide as it was meant to be, or as the screen allows.
    QVERIFY(editor.width() >= 1400 || editor.width() > screen.width() - 100);
    QVERIFY(screen.contains(editor.pos()));
    // Centred on the window unless the screen's edge is in the way.
    const int hostCentre = host.frameGeometry().center().x();
    const bool room =
        hostCentre - editor.width() / 2 - 8 > screen.left() && hostCentre + editor.width() / 2 + 8 < screen.right();
    if (room)
        QVERIFY(qAbs(editor.geometry().center().x() - hostCentre) <= 10);
    else
        QVERIFY(editor.x() >= screen.left() && editor.x() + editor.width() <= screen.right() + 1);
}

LEXALOOM_GUI_TEST(TestWordEditor)
#include "test_word_editor.moc"
