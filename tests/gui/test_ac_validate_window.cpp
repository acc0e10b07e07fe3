#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "core/app/workbench.h"
#include "core/autocorrect/autocorrect_files.h"
#include "core/dictionary/dictionary_files.h"
#include "gui/app/command_wiring.h"
#include "gui/autocorrect/ac_validate_window.h"
#include "gui/autocorrect/autocorrect_duplicates_window.h"
#include "gui/shell/main_window.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::ScriptedUi;

namespace {

void fill(Workbench &workbench)
{
    workbench.dictionary.affText = QStringLiteral("SET UTF-8\nSFX S Y 1\nSFX S 0 s .\n");
    for (const char *entry : {"colour/S", "the"})
        workbench.dictionary.entries.append(QString::fromUtf8(entry));
    for (const char *pair : {"teh\nthe", "colour\ncolor", "color\ncolour"})
        workbench.autocorrect.entries.append(QString::fromUtf8(pair));
}

QString corpus()
{
    return corpusRoot();
}

} // namespace

class TestAcValidateWindow final : public QObject {
    Q_OBJECT

private slots:
    void processWritesTheReportAndTheMark();
    void escapeDuringProcessAborts();
    void duplicatesWindowDeletes();
    void menuToolsChangeTheListAndUndo();
    void screenshots();
};

void TestAcValidateWindow::processWritesTheReportAndTheMark()
{
    Workbench workbench;
    fill(workbench);
    ScriptedUi ui;
    QVERIFY(AcValidateSession::prepare(workbench.dictionary, workbench.affixTable, workbench.autocorrect,
                                       workbench.settings, ui));
    AcValidateWindow window(nullptr, workbench, ui);
    window.show();
    auto *report = window.findChild<QPlainTextEdit *>(QStringLiteral("report"));
    auto *issues = window.findChild<QLabel *>(QStringLiteral("issues"));
    auto *mark = window.findChild<QLabel *>(QStringLiteral("mark"));
    QCOMPARE(report->toPlainText(), AcValidateSession::introductionText());
    QCOMPARE(issues->text(), QStringLiteral("Issues:0"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Autocorrect Validate"));
    // "Clear", "Go to bottom" and "Go to top" are image buttons with their tool tips.
    const std::pair<const char *, const char *> imageButtons[] = {
        {"reportClear", "Clear"}, {"reportBottom", "Go to bottom"}, {"reportTop", "Go to top"}};
    for (const auto &[name, tip] : imageButtons) {
        const auto *button = window.findChild<QPushButton *>(QString::fromLatin1(name));
        QVERIFY2(button->text().isEmpty(), name);
        QVERIFY2(!button->icon().isNull(), name);
        QCOMPARE(button->toolTip(), QString::fromLatin1(tip));
    }

    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
    QVERIFY(report->toPlainText().contains(QStringLiteral("Not found:'color'\u2192Line 2\n")));
    QVERIFY(report->toPlainText().endsWith(QStringLiteral("Incorrect Autocorrect entry:'colour','color'\u2192Line 3\n"
                                                          "Done!\n\n\n\n")));
    QCOMPARE(issues->text(), QStringLiteral("Issues:3"));
    QCOMPARE(mark->text(), QStringLiteral("\u2713"));
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("process"))->isEnabled());

    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("reportClear")), Qt::LeftButton);
    QCOMPARE(report->toPlainText(), AcValidateSession::introductionText());
    QVERIFY(ui.messages.isEmpty());

    // Escape with no run closes the window.
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

void TestAcValidateWindow::escapeDuringProcessAborts()
{
    Workbench workbench;
    fill(workbench);
    ScriptedUi ui;
    AcValidateWindow window(nullptr, workbench, ui);
    window.show();
    ui.onProcessEvents = [](ScriptedUi &) { QCoreApplication::processEvents(); };
    QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    ui.answers.push_back(true);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
    QCOMPARE(ui.messageTexts(), QStringList({QStringLiteral("Really abort?")}));
    QVERIFY(window.isVisible());
    auto *report = window.findChild<QPlainTextEdit *>(QStringLiteral("report"));
    QVERIFY(report->toPlainText().endsWith(QStringLiteral("Step 1/4 - Extracting dictionary wordlist...\nAborted.\n")));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("mark"))->text(), QStringLiteral("\u2717"));
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("process"))->isEnabled());
}

void TestAcValidateWindow::duplicatesWindowDeletes()
{
    Workbench workbench;
    for (const char *pair : {"teh\nthe", "teh\nten", "teh\nthe", "a\nb"})
        workbench.autocorrect.entries.append(QString::fromUtf8(pair));
    ScriptedUi ui;
    ui.answers.push_back(true);
    QTimer::singleShot(0, [] {
        auto *window = qobject_cast<AutocorrectDuplicatesWindow *>(QApplication::activeModalWidget());
        QVERIFY(window);
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("found"))->text(), QStringLiteral("Found:1"));
        QTreeWidget *list = window->findChild<QTreeWidget *>(QStringLiteral("duplicates"));
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("teh"));
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("3"));
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("delete")), Qt::LeftButton);
    });
    QVERIFY(OpenAutocorrectDuplicatesWindow(nullptr, workbench, ui));
    QCOMPARE(workbench.autocorrect.entries.size(), 2);
    QCOMPARE(workbench.autocorrect.entries.at(1), QStringLiteral("teh\nthe"));
    QCOMPARE(ui.messageTexts(),
             QStringList{QStringLiteral("Really delete duplicates?\n(notice this will sort the array)")});
}

// The menu items reach the tools on the workbench's list, and Undo takes a change back.
void TestAcValidateWindow::menuToolsChangeTheListAndUndo()
{
    Workbench workbench;
    for (const char *pair : {"teh\n the", ":heart:\n&#x2764;"})
        workbench.autocorrect.entries.append(QString::fromUtf8(pair));
    ScriptedUi ui;
    MainWindow window(workbench, ui);
    WireCommands(window, workbench, ui);
    window.tabs()->setCurrentIndex(int(DocumentKind::Autocorrect));
    window.dispatcher().afterEvent();

    window.menuAction(CommandId::AutocorrectFixSpaces)->trigger();
    QCOMPARE(workbench.autocorrect.entries.at(0), QStringLiteral("teh\nthe"));
    QCOMPARE(ui.statusText(), QStringLiteral("Fixed words:1"));
    window.menuAction(CommandId::CleanHexSymbols)->trigger();
    QCOMPARE(workbench.autocorrect.entries.at(1), QStringLiteral(":heart:\n\u2764"));
    QVERIFY(workbench.autocorrect.changed);
    window.dispatcher().afterEvent();
    QTest::mouseClick(window.tabButton(DocumentKind::Autocorrect, TabAction::Undo), Qt::LeftButton);
    QCOMPARE(workbench.autocorrect.entries.at(1), QStringLiteral(":heart:\n&#x2764;"));
    QVERIFY(ui.messages.isEmpty());
}

// LEXALOOM_SCREENSHOT_DIR=docs/images: the window after a run of the real en-GB list
// against the real en_GB dictionary.
void TestAcValidateWindow::screenshots()
{
    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOT_DIR");
    const QString list = corpus() + QStringLiteral("/autocorrect/en-GB/DocumentList.xml");
    const QString dic = corpus() + QStringLiteral("/hunspell/en_GB.dic");
    if (folder.isEmpty() || !QFile::exists(list) || !QFile::exists(dic))
        QSKIP("no LEXALOOM_SCREENSHOT_DIR or no corpus");
    Workbench workbench;
    ScriptedUi ui;
    ui.answers = {true};
    QVERIFY(ReadAutocorrectFile(ui, workbench.settings, list, workbench.autocorrect).done());
    QVERIFY(ReadDictionaryFiles(ui, workbench.settings, dic, workbench.dictionary).done());
    QVERIFY(AcValidateSession::prepare(workbench.dictionary, workbench.affixTable, workbench.autocorrect,
                                       workbench.settings, ui));
    AcValidateWindow window(nullptr, workbench, ui);
    window.show();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
    auto *report = window.findChild<QPlainTextEdit *>(QStringLiteral("report"));
    report->moveCursor(QTextCursor::Start);
    report->find(QStringLiteral("Step 3/4"));
    QVERIFY(window.grab().save(QDir(folder).filePath(QStringLiteral("ac_validate.png"))));

    // The Show Duplicates window over the same list, closed once grabbed.
    QTimer::singleShot(0, [&folder] {
        QWidget *duplicates = QApplication::activeModalWidget();
        QVERIFY(duplicates);
        QVERIFY(duplicates->grab().save(QDir(folder).filePath(QStringLiteral("autocorrect_duplicates.png"))));
        duplicates->close();
    });
    QVERIFY(!OpenAutocorrectDuplicatesWindow(nullptr, workbench, ui));
}

LEXALOOM_GUI_TEST(TestAcValidateWindow)
#include "test_ac_validate_window.moc"
