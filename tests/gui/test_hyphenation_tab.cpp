#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "core/app/document_files.h"
#include "core/app/workbench.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/text_codec.h"
#include "gui/app/command_wiring.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/shell/widget_ui.h"

#include "scripted_ui.h"
#include "gui_test_registry.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::ScriptedUi;

namespace {

// The result list as it shows: Word, Code, Rule.
QList<QStringList> shownRows(const MainWindow &window)
{
    QList<QStringList> rows;
    QTreeWidget *list = window.hyphenationResults();
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem *item = list->topLevelItem(r);
        rows.append({item->text(0), item->text(1), item->text(2)});
    }
    return rows;
}

QString corpusFile(const QString &relative)
{
    const QString corpus = corpusRoot();
    const QString path = QDir(corpus).filePath(relative);
    return QFile::exists(path) ? path : QString();
}

} // namespace

class TestHyphenationTab final : public QObject {
    Q_OBJECT

private slots:
    void loadHyphenateAndReadRows();
    void paneKeepsBytesThatAreNotUtf8();
    void openLeavesAnEmptyProgressBar();
    void screenshot();
};

void TestHyphenationTab::loadHyphenateAndReadRows()
{
    QTemporaryDir dir;
    const QString patterns = dir.filePath(QStringLiteral("hyph.dic"));
    {
        QFile file(patterns);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBFUTF-8\nRIGHTHYPHENMIN 2\nl1k\n1ing\n");
    }
    Workbench wb(dir.path());
    wb.dictionary.affText = QStringLiteral("SET UTF-8\nSFX S Y 1\nSFX S 0 s .\n\nSFX G Y 1\nSFX G 0 ing .\n");
    wb.dictionary.entries.append(u"walk/SG");
    wb.dictionary.entries.append(u"/comment");
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    window.selectTab(DocumentKind::Hyphenation);
    wb.currentTab = DocumentKind::Hyphenation;
    window.dispatcher().afterEvent();

    ui.openPaths = {patterns};
    window.menuAction(CommandId::Open)->trigger();
    QCOMPARE(window.hyphenationPane()->toPlainText(), QStringLiteral("UTF-8\nRIGHTHYPHENMIN 2\nl1k\n1ing\n"));
    QCOMPARE(window.fileLabel(DocumentKind::Hyphenation)->text(), QStringLiteral("hyph.dic"));
    QVERIFY(!wb.hyphenation.changed);

    // A double click on the tab's word list puts the entry's word into the field.
    PagedListView *list = window.pagedList(DocumentKind::Hyphenation);
    wb.hyphenation.selectedIndex = 0;
    window.refreshListPage(DocumentKind::Hyphenation);
    emit list->entryActivated();
    QCOMPARE(window.wordField()->text(), QStringLiteral("walk/SG"));
    QCOMPARE(window.wordField()->palette().color(QPalette::Text), QColor(Qt::black));

    QTest::mouseClick(window.tabButton(DocumentKind::Hyphenation, TabAction::Hyphenate), Qt::LeftButton);
    QCOMPARE(shownRows(window),
             (QList<QStringList>{{"walk", "", "wal1k"}, {"wal-ks", "S", "wal1ks"}, {"wal-k-ing", "G", "wal1k1ing"}}));
    QCOMPARE(window.hyphenationCountLabel()->text(), QStringLiteral("# Hyphenations:3"));
    QVERIFY(ui.messages.isEmpty());

    // An edit of the pane, then Update: no pattern matches any more.
    window.hyphenationPane()->setPlainText(QStringLiteral("UTF-8\nx1y\n"));
    QVERIFY(wb.hyphenation.changed);
    QTest::mouseClick(window.tabButton(DocumentKind::Hyphenation, TabAction::Update), Qt::LeftButton);
    QCOMPARE(shownRows(window).value(0), (QStringList{"walk", "", "No matches"}));
    QCOMPARE(window.hyphenationResults()->topLevelItem(0)->foreground(2).color(), QColor(255, 0, 0));

    // An entry starting with "/" is drawn amber in the field and refused.
    wb.hyphenation.selectedIndex = 1;
    emit list->entryActivated();
    QCOMPARE(window.wordField()->palette().color(QPalette::Text), QColor(255, 201, 14));
    QTest::mouseClick(window.tabButton(DocumentKind::Hyphenation, TabAction::Hyphenate), Qt::LeftButton);
    QCOMPARE(ui.messageTexts(), QStringList{"No word selected."});

    // Clear asks while changed, then leaves the encoding line and no rows.
    ui.answers = {true};
    QTest::mouseClick(window.tabButton(DocumentKind::Hyphenation, TabAction::PaneClear), Qt::LeftButton);
    QCOMPARE(window.hyphenationPane()->toPlainText(), QStringLiteral("UTF-8\n"));
    QCOMPARE(window.hyphenationResults()->topLevelItemCount(), 0);
    QCOMPARE(window.hyphenationCountLabel()->text(), QStringLiteral("# Hyphenations:0"));
    QVERIFY(!wb.hyphenation.changed);
}

// The pane holds the raw-byte units of a file that is not UTF-8 through an edit.
// File > Open (here through Recent Files, so that no dialog opens) on the real status
// bar: once the file is in, the bar is empty again, not full or busy.
void TestHyphenationTab::openLeavesAnEmptyProgressBar()
{
    QTemporaryDir dir;
    const QString patterns = dir.filePath(QStringLiteral("hyph.dic"));
    {
        QFile file(patterns);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("UTF-8\nLEFTHYPHENMIN 2\n1ba\n");
    }
    Workbench wb(dir.path());
    WidgetUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    ui.attach(&window, window.statusField(), window.progressField());
    window.show();
    window.selectTab(DocumentKind::Hyphenation);
    wb.currentTab = DocumentKind::Hyphenation;
    wb.recentFiles.add(int(DocumentKind::Hyphenation), patterns);
    window.dispatcher().afterEvent();

    window.menuAction(CommandId::RecentFile, 0)->trigger();
    QVERIFY(ui.statusText().startsWith(QStringLiteral("OK. (dic:")));
    QCOMPARE(window.hyphenationPane()->toPlainText(), QStringLiteral("UTF-8\nLEFTHYPHENMIN 2\n1ba\n"));
    const QProgressBar *bar = window.progressField();
    QVERIFY2(bar->maximum() > bar->minimum(), "an empty range draws a busy bar");
    QCOMPARE(bar->value(), bar->minimum());
}

void TestHyphenationTab::paneKeepsBytesThatAreNotUtf8()
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    const QByteArray bytes("ISO8859-1\n\xE9"
                           "1a\n");
    wb.hyphenation.text = DecodeLossless(bytes);
    window.showDocumentTexts();
    window.hyphenationPane()->moveCursor(QTextCursor::End);
    window.hyphenationPane()->insertPlainText(QStringLiteral("b1c\n"));
    QCOMPARE(EncodeLossless(wb.hyphenation.text), bytes + "b1c\n");
}

// The tab with the real en_US patterns and an en_GB entry with many forms; written to
// LEXALOOM_SCREENSHOTS when that names a folder.
void TestHyphenationTab::screenshot()
{
    const QString patterns = corpusFile(QStringLiteral("hyphenation/hyph_en_US.dic"));
    const QString dictionary = corpusFile(QStringLiteral("hunspell/en_GB.dic"));
    if (patterns.isEmpty() || dictionary.isEmpty())
        QSKIP("no corpus");
    Workbench wb(QDir::tempPath());
    ScriptedUi ui;
    QVERIFY(OpenDocumentFile(wb, DocumentKind::Dictionary, ui, dictionary).done());
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.resize(1280, 720);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.selectTab(DocumentKind::Hyphenation);
    wb.currentTab = DocumentKind::Hyphenation;
    ui.openPaths = {patterns};
    window.menuAction(CommandId::Open)->trigger();
    window.dispatcher().afterEvent();
    const QString entry = qEnvironmentVariable("LEXALOOM_HYPHENATION_ENTRY", QStringLiteral("nationalize/CSGnDR"));
    window.wordField()->setText(entry);
    QTest::mouseClick(window.tabButton(DocumentKind::Hyphenation, TabAction::Hyphenate), Qt::LeftButton);
    QVERIFY(window.hyphenationResults()->topLevelItemCount() > 1);
    QCOMPARE(window.hyphenationResults()->topLevelItem(0)->text(0), QStringLiteral("na-tion-al-ize"));
    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOTS");
    if (!folder.isEmpty())
        QVERIFY(window.grab().save(QDir(folder).filePath(QStringLiteral("hyphenation_tab.png"))));
}

LEXALOOM_GUI_TEST(TestHyphenationTab)
#include "test_hyphenation_tab.moc"
