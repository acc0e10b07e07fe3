#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "core/app/workbench.h"
#include "gui/app/command_wiring.h"
#include "gui/dictionary_tools/bulk_import_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

QStringList entriesOf(const EntryStore &store)
{
    QStringList list;
    for (qint64 i = 0; i < store.size(); ++i)
        list.append(store.at(i));
    return list;
}

BulkImportTargets targetsOf(Workbench &wb)
{
    return {&wb.dictionary, &wb.thesaurus, &wb.autocorrect};
}

void saveScreenshot(QWidget &window, const QString &name)
{
    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QCoreApplication::processEvents();
    QVERIFY(window.grab().save(folder + u'/' + name));
}

} // namespace

class TestBulkImportWindow final : public QObject {
    Q_OBJECT

private slots:
    void processAddsToTheDictionaryAndLogs();
    void multiwordControlsFollowTheLanguage();
    void regexpRewritesTheInput();
    void possessivesUseTheirFields();
    void escapeDuringProcessAsksToAbort();
    void escapeLateInASortKeepsTheWindow();
    void menuItemsOpenTheirMode();
    void targetNamesWhatARunChanges_data();
    void targetNamesWhatARunChanges();
};

void TestBulkImportWindow::processAddsToTheDictionaryAndLogs()
{
    Workbench wb;
    ScriptedUi ui;
    BulkImportWindow window(nullptr, wb, ui, targetsOf(wb), BulkImportMode::Dictionary);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Bulk Import (Dictionary/Thesaurus/Autocorrect/LanguageTool)"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("Processing: 0/0"));
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("open")));
    window.findChild<QPlainTextEdit *>(QStringLiteral("input"))->setPlainText(QStringLiteral("house\n\n  garden  \n"));
    window.findChild<QSpinBox *>(QStringLiteral("logStart"))->setValue(10);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
    QCOMPARE(entriesOf(wb.dictionary.entries), (QStringList{"house", "garden"}));
    QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("output"))->toPlainText(),
             QStringLiteral("10) house\n11) garden\n"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("found"))->text(), QStringLiteral("Found:2"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("Processing: 3/3 Done!"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("hint"))->text(), QString());
    saveScreenshot(window, QStringLiteral("bulk_import.png"));
}

void TestBulkImportWindow::multiwordControlsFollowTheLanguage()
{
    QTemporaryDir folder;
    Workbench wb(folder.path());
    wb.windowSettings.multiwords.posIndex = 4;
    ScriptedUi ui;
    {
        BulkImportWindow window(nullptr, wb, ui, targetsOf(wb), BulkImportMode::Multiwords);
        window.show();
        auto *language = window.findChild<QComboBox *>(QStringLiteral("language"));
        auto *pos = window.findChild<QComboBox *>(QStringLiteral("pos"));
        auto *specify = window.findChild<QLineEdit *>(QStringLiteral("specify"));
        QCOMPARE(language->currentText(), QStringLiteral("English"));
        QCOMPARE(pos->currentText(), QStringLiteral("Noun - Plural - Neutral (NNS)"));
        QVERIFY(!specify->isEnabled());
        window.findChild<QPlainTextEdit *>(QStringLiteral("input"))->setPlainText(QStringLiteral("fire trucks"));
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
        QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("output"))->toPlainText(),
                 QStringLiteral("fire trucks\tNNS\n"));
        saveScreenshot(window, QStringLiteral("bulk_import_multiwords.png"));
        language->setCurrentIndex(0);
        QVERIFY(specify->isEnabled());
        QVERIFY(!pos->isEnabled());
        specify->setText(QStringLiteral("NPR"));
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("remember")), Qt::LeftButton);
        QFile prefs(wb.settingsPath(QStringLiteral("settings/multiwords.prefs")));
        QVERIFY(prefs.open(QIODevice::ReadOnly));
        QCOMPARE(prefs.readLine(), QByteArray("25\n"));
    }
    // The choices stay for the next opening.
    QCOMPARE(wb.windowSettings.multiwords.languageIndex, 0);
    QCOMPARE(wb.windowSettings.multiwords.specifyText, QStringLiteral("NPR"));
}

void TestBulkImportWindow::regexpRewritesTheInput()
{
    Workbench wb;
    ScriptedUi ui;
    BulkImportWindow window(nullptr, wb, ui, targetsOf(wb), BulkImportMode::SortWordlist);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Sort small wordlist (Language-specific Tools)"));
    auto *input = window.findChild<QPlainTextEdit *>(QStringLiteral("input"));
    input->setPlainText(QStringLiteral("pear\nApple\néclair"));
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("processRegexp")), Qt::LeftButton);
    QCOMPARE(input->toPlainText(), QStringLiteral("pear|Apple|éclair"));
    QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("output"))->toPlainText(),
             QStringLiteral("Apple|éclair|pear"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("Processing Done!"));
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("saveAs")));
    QVERIFY(!window.findChild<QCheckBox *>(QStringLiteral("logIndex")));
}

void TestBulkImportWindow::possessivesUseTheirFields()
{
    Workbench wb;
    wb.dictionary.entries.append(QStringLiteral("Paris/MS"));
    ScriptedUi ui;
    {
        BulkImportWindow window(nullptr, wb, ui, targetsOf(wb), std::nullopt);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Import places/people names with possessives"));
        window.findChild<QLineEdit *>(QStringLiteral("possessives"))->setText(QStringLiteral("/MS"));
        window.findChild<QCheckBox *>(QStringLiteral("logIndex"))->setChecked(false);
        window.findChild<QPlainTextEdit *>(QStringLiteral("input"))
            ->setPlainText(QStringLiteral("I met John's sister in Paris."));
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
        QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("output"))->toPlainText(),
                 QStringLiteral("I/MS\nJohn/MS\n"));
        saveScreenshot(window, QStringLiteral("possessive_names.png"));
    }
    QCOMPARE(entriesOf(wb.dictionary.entries), (QStringList{"Paris/MS", "I/MS", "John/MS"}));
    QCOMPARE(wb.possessives.possessives, QStringLiteral("/MS"));
}

void TestBulkImportWindow::escapeDuringProcessAsksToAbort()
{
    Workbench wb;
    ScriptedUi ui;
    BulkImportWindow window(nullptr, wb, ui, targetsOf(wb), BulkImportMode::Autocorrect);
    window.show();
    window.findChild<QPlainTextEdit *>(QStringLiteral("input"))->setPlainText(QStringLiteral("teh,the\nadn,and"));
    ui.onProcessEvents = [](ScriptedUi &) { QCoreApplication::processEvents(); };
    QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    ui.answers.push_back(true);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
    QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("Really abort?")});
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("Aborted."));
    QVERIFY(window.isVisible());
    QVERIFY(wb.autocorrect.entries.isEmpty());
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("process"))->isEnabled());
}

// Escape pressed while a sort is on screen but not seen before the run is over (its
// last stretch and the drawing of the output poll no events): the window stays, with
// its input and its output, and nothing is asked any more.
void TestBulkImportWindow::escapeLateInASortKeepsTheWindow()
{
    Workbench wb;
    ScriptedUi ui;
    BulkImportWindow window(nullptr, wb, ui, targetsOf(wb), BulkImportMode::SortWordlist);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *input = window.findChild<QPlainTextEdit *>(QStringLiteral("input"));
    input->setPlainText(QStringLiteral("pear\nApple\néclair"));
    input->setFocus();
    bool pressed = false;
    ui.onProcessEvents = [&](ScriptedUi &) {
        if (!pressed) {
            pressed = true;
            QCoreApplication::postEvent(input, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        }
    };
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
    QVERIFY(pressed);
    QCoreApplication::processEvents();
    QVERIFY(window.isVisible());
    QCOMPARE(window.result(), 0);
    QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("output"))->toPlainText(),
             QStringLiteral("Apple\néclair\npear\n"));
    QCOMPARE(input->toPlainText(), QStringLiteral("pear\nApple\néclair"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("Processing Done!"));
    QVERIFY(ui.messages.isEmpty());
    // The next run is not cut short by that press either.
    ui.onProcessEvents = nullptr;
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("Processing Done!"));
    QVERIFY(ui.messages.isEmpty());
    // Escape once the run is over closes the window, as ever.
    QTest::keyClick(input, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

// The menu items open the window in their mode; closing it redraws the tabs with what it added.
void TestBulkImportWindow::menuItemsOpenTheirMode()
{
    QTemporaryDir folder;
    Workbench wb(folder.path());
    ScriptedUi ui;
    MainWindow mainWindow(wb, ui);
    WireCommands(mainWindow, wb, ui);
    mainWindow.show();
    const QList<std::pair<CommandId, QString>> items{
        {CommandId::DictionaryBulkImport, "Bulk Import (Dictionary/Thesaurus/Autocorrect/LanguageTool)"},
        {CommandId::ConvertXmlTags, "Convert XML tags to accents wordlist (very slow)"},
        {CommandId::DeleteDuplicatesSmallWordlist, "Delete Duplicates small wordlist (very slow)"},
        {CommandId::ImportNamesPossessives, "Import places/people names with possessives"},
    };
    for (const auto &item : items) {
        const CommandId command = item.first;
        const QString &title = item.second;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(window);
            shown = window->windowTitle();
            if (command == CommandId::DictionaryBulkImport) {
                window->findChild<QPlainTextEdit *>(QStringLiteral("input"))->setPlainText(QStringLiteral("zebra"));
                QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
            }
            QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("close")), Qt::LeftButton);
        });
        mainWindow.menuAction(command)->trigger();
        QCOMPARE(shown, title);
    }
    QCOMPARE(entriesOf(wb.dictionary.entries), QStringList{"zebra"});
    QVERIFY(wb.dictionary.changed);
    QVERIFY(wb.dictionary.hasUndoStep());
    QCOMPARE(mainWindow.pagedList(DocumentKind::Dictionary)->tree()->topLevelItem(0)->text(1), QStringLiteral("zebra"));
}

void TestBulkImportWindow::targetNamesWhatARunChanges_data()
{
    QTest::addColumn<int>("mode"); // 0: the possessive names
    QTest::addColumn<QString>("target");
    const QString output = QStringLiteral("Target: the output only: ");
    QTest::newRow("dictionary") << 1 << "Target: the Dictionary (en_GB.dic): each line becomes a new entry.";
    QTest::newRow("thesaurus") << 2 << "Target: the Thesaurus (n/a): each line becomes a new entry.";
    QTest::newRow("autocorrect") << 3
                                 << "Target: the Autocorrect list (DocumentList.xml): each line becomes a new entry.";
    QTest::newRow("multiwords") << 4 << output + "each line tagged for LanguageTool; no document changes.";
    QTest::newRow("sort") << 5 << output + "the lines sorted; no document changes.";
    QTest::newRow("duplicates") << 6 << output + "the lines without their repeats; no document changes.";
    QTest::newRow("xml tags") << 7
                              << output + "the lines with their character references converted; no document changes.";
    QTest::newRow("possessives") << 0 << "Target: the Dictionary (en_GB.dic): each missing name becomes a new entry.";
}

// The four import modes share one title: the line over the panes says which document
// receives the lines, and the wordlist modes that none does.
void TestBulkImportWindow::targetNamesWhatARunChanges()
{
    QFETCH(int, mode);
    QFETCH(QString, target);
    Workbench wb;
    wb.dictionary.path = QStringLiteral("/d/en_GB.dic");
    wb.autocorrect.path = QStringLiteral("/d/acor/DocumentList.xml");
    ScriptedUi ui;
    const std::optional<BulkImportMode> shown = mode ? std::optional(BulkImportMode(mode)) : std::nullopt;
    BulkImportWindow window(nullptr, wb, ui, targetsOf(wb), shown);
    window.show();
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("target"))->text(), target);
    QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("output"))->placeholderText(),
             QStringLiteral("Output to be placed in log file."));
    if (mode == 1 || mode == 5)
        saveScreenshot(window, QStringLiteral("bulk_import_mode_%1.png").arg(mode));
}

LEXALOOM_GUI_TEST(TestBulkImportWindow)
#include "test_bulk_import_window.moc"
