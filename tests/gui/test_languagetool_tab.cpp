#include <QAction>
#include <QBrush>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include "core/app/workbench.h"
#include "core/languagetool/grammar_rule_set.h"
#include "gui/app/command_wiring.h"
#include "gui/languagetool/languagetool_wiring.h"
#include "gui/languagetool/pos_settings_window.h"
#include "gui/shell/main_window.h"

#include "scripted_ui.h"
#include "gui_test_registry.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

class TestLanguageToolTab final : public QObject {
    Q_OBJECT

private slots:
    void openShowsTheOutlineWithItsColours();
    void menuCommandsWriteTheirFiles();
    void posSettingsWindowEditsThroughItsSession();
    void aLargeOutlineCostsTheListsNoItemPerRow();
    void screenshots();
};

namespace {

const QByteArray smallRules = "<?xml version=\"1.0\"?>\n"
                              "<rules>\n"
                              "<category name=\"Nouns\">\n"
                              "<rulegroup id=\"G\" name=\"Group\">\n"
                              "<rule>\n"
                              "</rulegroup>\n"
                              "<rule id='OFF' default='off'>\n"
                              "</rule>\n"
                              "</category>\n"
                              "</rules>\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

void TestLanguageToolTab::openShowsTheOutlineWithItsColours()
{
    QTemporaryDir dir;
    writeFile(dir.path() + "/grammar.xml", smallRules);
    Workbench wb(dir.path());
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.tabs()->setCurrentIndex(int(DocumentKind::LanguageTool));
    window.dispatcher().tabSelected(DocumentKind::LanguageTool);
    ui.openPaths = {dir.path() + "/grammar.xml"};
    window.menuAction(CommandId::Open)->trigger();
    window.dispatcher().afterEvent();
    QCOMPARE(ui.dialogTitles, QStringList{QStringLiteral("Open grammar rules")});
    QVERIFY(ui.messages.isEmpty());

    QAbstractItemModel *chunks = window.chunkList()->model();
    QCOMPARE(chunks->rowCount(), 3);
    const auto cell = [](QAbstractItemModel *model, int row, int column, int role = Qt::DisplayRole) {
        return model->index(row, column).data(role);
    };
    const auto colour = [&cell](QAbstractItemModel *model, int row, int column, int role) {
        return cell(model, row, column, role).value<QBrush>().color();
    };
    QCOMPARE(cell(chunks, 0, 0).toString(), QStringLiteral("2"));
    QCOMPARE(cell(chunks, 0, 3).toString(), QStringLiteral("Nouns"));
    QCOMPARE(colour(chunks, 0, 0, Qt::BackgroundRole), QColor(214, 217, 223));
    for (int row = 0; row < 3; ++row)
        QCOMPARE(cell(chunks, row, 0, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(colour(chunks, 0, 1, Qt::ForegroundRole), QColor(185, 122, 87));
    QCOMPARE(colour(chunks, 1, 2, Qt::ForegroundRole), QColor(0, 153, 0));
    QCOMPARE(cell(chunks, 2, 6).toString(), QStringLiteral("off"));
    QCOMPARE(colour(chunks, 2, 6, Qt::ForegroundRole), QColor(255, 0, 0));
    QVERIFY(!cell(chunks, 2, 2, Qt::ForegroundRole).isValid()); // the default colour
    // A check box ticks.
    QVERIFY(chunks->setData(chunks->index(1, 0), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(cell(chunks, 1, 0, Qt::CheckStateRole).toInt(), int(Qt::Checked));

    QAbstractItemModel *categories = window.categoryList()->model();
    QCOMPARE(categories->rowCount(), 1);
    QCOMPARE(cell(categories, 0, 1).toString(), QStringLiteral("Nouns (2)"));
    QCOMPARE(colour(categories, 0, 1, Qt::ForegroundRole), QColor(185, 122, 87));
    QCOMPARE(categories->headerData(1, Qt::Horizontal).toString(), QStringLiteral("ID Category (1), \u2211 Rules (2)"));
    QCOMPARE(window.counterLabel(DocumentKind::LanguageTool)->text(), QStringLiteral("# Chunks:3"));
    QCOMPARE(window.fileLabel(DocumentKind::LanguageTool)->text(), QStringLiteral("grammar.xml"));
    QCOMPARE(window.ruleIdLabel(DocumentKind::LanguageTool)->text(), QStringLiteral("Rule ID:n/a"));

    window.chunkList()->setCurrentIndex(chunks->index(1, 0));
    QCOMPARE(window.xmlPane(DocumentKind::LanguageTool)->toPlainText(),
             QStringLiteral("<rulegroup id=\"G\" name=\"Group\">\n<rule>\n</rulegroup>\n"));
    QCOMPARE(window.ruleIdLabel(DocumentKind::LanguageTool)->text(), QStringLiteral("Rule ID:G"));
    QCOMPARE(window.ruleNameLabel(DocumentKind::LanguageTool)->text(), QStringLiteral("Rule Name:Group"));
    window.categoryList()->setCurrentIndex(categories->index(0, 0));
    QCOMPARE(window.chunkList()->currentIndex().row(), 0);
    QCOMPARE(window.ruleNameLabel(DocumentKind::LanguageTool)->text(), QStringLiteral("Rule Name:Nouns"));

    // The recent file opens it again.
    wb.grammar.clear();
    window.menuAction(CommandId::RecentFile, 0)->trigger();
    QCOMPARE(wb.grammar.chunks.size(), 3);
}

void TestLanguageToolTab::menuCommandsWriteTheirFiles()
{
    QTemporaryDir dir;
    writeFile(dir.path() + "/grammar.xml", smallRules);
    writeFile(dir.path() + "/xx.aff", "SET UTF-8\n");
    writeFile(dir.path() + "/xx.dic", "2\nwalk/S\tAdjective\nrun\tAdverb\n");
    Workbench wb(dir.path());
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    ui.openPaths = {dir.path() + "/xx.dic", dir.path() + "/grammar.xml"};
    window.menuAction(CommandId::Open)->trigger();
    window.tabs()->setCurrentIndex(int(DocumentKind::LanguageTool));
    window.dispatcher().tabSelected(DocumentKind::LanguageTool);
    window.menuAction(CommandId::Open)->trigger();
    window.dispatcher().afterEvent();
    QCOMPARE(wb.grammar.chunks.size(), 3);

    ui.clearRecords();
    ui.savePaths = {dir.path() + "/structure", dir.path() + "/pos.txt"};
    window.menuAction(CommandId::RulesStructureNoLineNumbers)->trigger();
    QFile structure(dir.path() + "/structure.txt");
    QVERIFY(structure.open(QIODevice::ReadOnly));
    QCOMPARE(structure.readAll(), QByteArray("\xEF\xBB\xBF"
                                             "ID Category:Nouns (2)\n\n\n\n\n"
                                             "category, ID:, Name:\"Nouns\", , , \n\n"
                                             "rulegroup, ID:G, Name:\"Group\", , , \n\n"
                                             "rule, ID:OFF, Name:\"\", , , default:off\n\n"));
    QCOMPARE(window.menuAction(CommandId::ExtractPosAdded)->text(), QStringLiteral("POS added.txt (English)"));
    window.menuAction(CommandId::ExtractPosAdded)->trigger();
    QFile pos(dir.path() + "/pos.txt");
    QVERIFY(pos.open(QIODevice::ReadOnly));
    QCOMPARE(pos.readAll(), QByteArray("\xEF\xBB\xBF"
                                       "walk\twalk\tJJ\nrun\trun\tRB\n"));
    QCOMPARE(ui.statusText(), QStringLiteral("OK. POSes extracted:2"));
    QVERIFY(ui.messages.isEmpty());
}

void TestLanguageToolTab::posSettingsWindowEditsThroughItsSession()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    QStringList edits{QStringLiteral("New\nNN\nadded")};
    {
        PosSettingsWindow pos(
            wb, ui, [&edits](const QString &) { return edits.isEmpty() ? QString() : edits.takeFirst(); }, &window);
        QCOMPARE(pos.windowTitle(), QStringLiteral("Extract POS Settings (Unfinished)"));
        QCOMPARE(pos.languageBox()->currentText(), QStringLiteral("English"));
        QCOMPARE(pos.ruleList()->topLevelItemCount(), 27);
        QCOMPARE(pos.foundLabel()->text(), QStringLiteral("Found:27"));
        QTest::mouseClick(pos.button(QStringLiteral("Add")), Qt::LeftButton);
        QCOMPARE(pos.ruleList()->topLevelItemCount(), 28);
        QCOMPARE(pos.ruleList()->topLevelItem(27)->text(1), QStringLiteral("NN"));
        pos.ruleList()->topLevelItem(0)->setCheckState(0, Qt::Checked);
        QCOMPARE(pos.selectedLabel()->text(), QStringLiteral("Selected:1/28"));
        pos.languageBox()->setCurrentIndex(1);
        QCOMPARE(pos.foundLabel()->text(), QStringLiteral("Found:23"));
        QCOMPARE(wb.windowSettings.pos.selectedLanguage, 1);
        // Cancel puts back the language and the rules.
        QTest::mouseClick(pos.button(QStringLiteral("Cancel")), Qt::LeftButton);
        QCOMPARE(wb.windowSettings.pos, PosSettings::builtIn());
    }
    {
        PosSettingsWindow pos(wb, ui, {}, &window);
        pos.languageBox()->setCurrentIndex(0);
        QTest::keyClick(&pos, Qt::Key_Escape); // closes, keeping the change
        QCOMPARE(wb.windowSettings.pos.selectedLanguage, 0);
    }
    QVERIFY(ui.messages.isEmpty());
}

// With LEXALOOM_SCREENSHOT_DIR set: the outline of the real Galician rules and the POS
// settings window.
void TestLanguageToolTab::screenshots()
{
    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOT_DIR");
    const QString rules = QStringLiteral("/work/shared/corpus/languagetool/gl/grammar.xml");
    if (folder.isEmpty() || !QFile::exists(rules))
        QSKIP("no screenshot folder or no corpus");
    QDir().mkpath(folder);
    QTemporaryDir dir;
    Workbench wb(dir.path());
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    window.tabs()->setCurrentIndex(int(DocumentKind::LanguageTool));
    window.dispatcher().tabSelected(DocumentKind::LanguageTool);
    ui.openPaths = {rules};
    window.menuAction(CommandId::Open)->trigger();
    window.dispatcher().afterEvent();
    window.chunkList()->setCurrentIndex(window.chunkList()->model()->index(3, 0));
    QCoreApplication::processEvents();
    QVERIFY(window.grab().save(folder + QStringLiteral("/languagetool_outline.png")));

    PosSettingsWindow pos(wb, ui, {}, &window);
    pos.show();
    pos.ruleList()->topLevelItem(1)->setCheckState(0, Qt::Checked);
    QCoreApplication::processEvents();
    QVERIFY(pos.grab().save(folder + QStringLiteral("/pos_settings.png")));
}

namespace {

// The resident memory of this process in kilobytes (Linux); -1 when unknown.
qint64 residentKilobytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4 : -1;
}

} // namespace

// A grammar.xml of a million categories took gigabytes in the window (a widget item per
// chunk and per category) beside what the outline itself holds; the lists now ask the
// outline for the rows they draw. 100,000 categories: the items took about 340 MB.
void TestLanguageToolTab::aLargeOutlineCostsTheListsNoItemPerRow()
{
    QTemporaryDir dir;
    QByteArray rules = "<?xml version=\"1.0\"?>\n<rules>\n";
    for (int i = 0; i < 100000; ++i)
        rules += "<category id=\"C" + QByteArray::number(i) + "\" name=\"c\">\n</category>\n";
    writeFile(dir.path() + "/grammar.xml", rules + "</rules>\n");
    Workbench wb(dir.path());
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    window.tabs()->setCurrentIndex(int(DocumentKind::LanguageTool));
    window.dispatcher().tabSelected(DocumentKind::LanguageTool);
    // Read by the core alone: what is measured below is the lists' share.
    QVERIFY(LoadGrammarRules(wb.grammar, wb.settings, ui, dir.path() + "/grammar.xml").done());
    QCOMPARE(wb.grammar.chunks.size(), 100000);
    if (residentKilobytes() < 0)
        QSKIP("no /proc/self/statm");
    const qint64 before = residentKilobytes();
    ShowGrammarOutline(window, wb);
    window.chunkList()->scrollToBottom();
    QCoreApplication::processEvents();
    QCOMPARE(window.chunkList()->model()->rowCount(), 100000);
    QCOMPARE(window.categoryList()->model()->rowCount(), 100000);
    QVERIFY2(residentKilobytes() - before < 60000, qPrintable(QString::number(residentKilobytes() - before)));
}

LEXALOOM_GUI_TEST(TestLanguageToolTab)
#include "test_languagetool_tab.moc"
