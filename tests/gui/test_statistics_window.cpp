#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/prefs_store.h"
#include "gui/dictionary_tools/statistics_window.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::ScriptedUi;

namespace {

// walk/SP: walk walks pre-walk pre-walks; run/S: run runs; cat; O'Neil/S; Ann/S.
// 11 forms: 2 with an apostrophe, 2 with a hyphen, 4 upper-case starts.
const char *const affixAff = "SET UTF-8\nSFX S Y 1\nSFX S 0 s .\nPFX P Y 1\nPFX P 0 pre- .\n";
const QStringList handEntries = {"walk/SP", "/orphan", "run/S\npo:verb", "cat", "O'Neil/S", "Ann/S"};

struct Fixture {
    QTemporaryDir dir;
    Workbench workbench{dir.path()};
    ScriptedUi ui;

    Fixture()
    {
        workbench.dictionary.affText = QString::fromLatin1(affixAff);
        for (const QString &entry : handEntries)
            workbench.dictionary.entries.append(entry);
    }
    StatisticsRun run() { return RunStatistics(workbench.dictionary, workbench.affixTable, workbench.settings, ui); }
};

QStringList rowTexts(QTreeWidget *list, int row)
{
    QTreeWidgetItem *item = list->topLevelItem(row);
    return item ? QStringList{item->text(0), item->text(1), item->text(2)} : QStringList();
}

// The point of the disc at `degrees` (counter-clockwise from 3 o'clock), `fraction` of the radius out.
QPoint discPoint(double degrees, double fraction)
{
    const double r = StatisticsPie::radius * fraction;
    const double a = qDegreesToRadians(degrees);
    return QPoint(int(StatisticsPie::centre + r * std::cos(a)), int(StatisticsPie::centre - r * std::sin(a)));
}

} // namespace

class TestStatisticsWindow final : public QObject {
    Q_OBJECT

private slots:
    void listsShowCountsAndPercentages();
    void pieIsDrawnSliceBySlice();
    void referenceButtonsReachTheSession();
    void showOpensTheEntriesWithTheirPreview();
    void extractWritesTheTypeThroughTheWindowControls();
    void sharedToolWindowKeys();
    void screenshot();
};

void TestStatisticsWindow::listsShowCountsAndPercentages()
{
    Fixture f;
    StatisticsWindow window(nullptr, f.workbench, f.ui, f.run());
    QCOMPARE(window.windowTitle(), QStringLiteral("Show Statistics"));
    QCOMPARE(window.size(), QSize(1253, 521));
    auto *words = window.findChild<QTreeWidget *>(QStringLiteral("words"));
    auto *left = window.findChild<QTreeWidget *>(QStringLiteral("lettersLeft"));
    auto *right = window.findChild<QTreeWidget *>(QStringLiteral("lettersRight"));
    QVERIFY(words && left && right);
    QCOMPARE(words->topLevelItemCount(), 8);
    QCOMPARE(rowTexts(words, 0), QStringList({"With ':", "2", "18.18 %"}));
    QCOMPARE(rowTexts(words, 2), QStringList({"Starting uppercase:", "4", "36.36 %"}));
    QCOMPARE(rowTexts(words, 3), QStringList({"1 characters long:", "0", "0 %"}));
    QCOMPARE(rowTexts(words, 7), QStringList({"5 characters long:", "1", "9.09 %"}));
    QVERIFY(!words->topLevelItem(0)->icon(0).isNull());
    QCOMPARE(left->topLevelItemCount(), 14);
    QCOMPARE(right->topLevelItemCount(), 13);
    QCOMPARE(rowTexts(left, 0), QStringList({"#/other", "0", "0 %"}));
    QCOMPARE(rowTexts(left, 1), QStringList({"a", "2", "18.18 %"}));
    QCOMPARE(rowTexts(left, 13), QStringList({"m", "0", "0 %"}));
    QCOMPARE(rowTexts(right, 0), QStringList({"n", "0", "0 %"}));
    QCOMPARE(rowTexts(right, 12), QStringList({"z", "0", "0 %"}));
    QCOMPARE(left->topLevelItem(3)->background(2).color(), QColor(198, 235, 255));
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("total"))->text(), QStringLiteral("11"));
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("lastRemember"))->text(),
             QStringLiteral("Last Remember:N/A"));
}

void TestStatisticsWindow::pieIsDrawnSliceBySlice()
{
    // Two length rows of a quarter each in their colours, then black for the rest.
    DicStatistics s;
    s.total = 4;
    s.byLength = {0, 1, 1, 0, 0, 0};
    QImage image = RenderStatisticsPie(StatisticsPieChart(s));
    QCOMPARE(image.size(), QSize(260, 260));
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));
    QCOMPARE(image.pixelColor(discPoint(45, 0.5)), QColor(34, 177, 76));  // "1 characters long:"
    QCOMPARE(image.pixelColor(discPoint(135, 0.5)), QColor(255, 242, 0)); // "2 characters long:"
    QCOMPARE(image.pixelColor(discPoint(270, 0.5)), QColor(Qt::black));   // the rest
    QCOMPARE(image.pixelColor(discPoint(270, 1.05)), QColor(Qt::white));  // outside the disc
    QCOMPARE(image.pixelColor(8, 234), QColor(Qt::white));                // no note

    // Over 100 %: the note in white on its dark ground at the bottom left.
    s.withApostrophe = 4;
    image = RenderStatisticsPie(StatisticsPieChart(s));
    QCOMPARE(image.pixelColor(discPoint(270, 0.5)),
             QColor(163, 73, 164)); // the apostrophe row, where the later ones do not reach
    bool white = false;
    bool black = false;
    for (int x = 5; x < 80; ++x) {
        for (int y = 226; y < 240; ++y) {
            const QColor c = image.pixelColor(x, y);
            white = white || c == QColor(Qt::white);
            black = black || c == QColor(Qt::black);
        }
    }
    QVERIFY(white && black);

    // No forms at all: no slices, a black disc.
    image = RenderStatisticsPie(StatisticsPieChart(DicStatistics()));
    QCOMPARE(image.pixelColor(125, 125), QColor(Qt::black));
}

void TestStatisticsWindow::referenceButtonsReachTheSession()
{
    Fixture f;
    StatisticsWindow window(nullptr, f.workbench, f.ui, f.run());
    auto *reference = window.findChild<QLineEdit *>(QStringLiteral("reference"));
    auto *newWords = window.findChild<QLineEdit *>(QStringLiteral("newWords"));
    const auto click = [&window](const char *name) {
        auto *button = window.findChild<QPushButton *>(QString::fromLatin1(name));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    };
    QCOMPARE(reference->text(), QString());
    QTest::keyClicks(reference, QStringLiteral("10"));
    QCOMPARE(newWords->text(), QStringLiteral("New:1 / Date:2024-01-17 00:00:01"));
    QTest::keyClick(reference, Qt::Key_Backspace);
    QTest::keyClick(reference, Qt::Key_Backspace);
    QCOMPARE(newWords->text(), QString());
    click("copyToReference");
    QCOMPARE(reference->text(), QStringLiteral("11"));
    QCOMPARE(newWords->text(), QStringLiteral("New:0 / Date:2024-01-17 00:00:01"));

    const QString file = QDir(f.dir.path()).filePath(settingsFiles::dicStatsRemember);
    click("remember");
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("25\n11\nLast Remember:2024-01-17 00:00:01\n"));
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("lastRemember"))->text(),
             QStringLiteral("Last Remember:2024-01-17 00:00:01"));
    click("copyNewNumber");
    QCOMPARE(f.ui.clipboard, QStringLiteral("0"));
    click("copyTotal");
    QCOMPARE(f.ui.clipboard, QStringLiteral("11"));
    click("forget");
    QVERIFY(!QFile::exists(file));
    QCOMPARE(reference->text(), QString());
    QCOMPARE(newWords->text(), QString());
    click("copyNewWords");
    QCOMPARE(f.ui.messageTexts(), QStringList({"Nothing to copy to clipboard."}));

    const QString exported = QDir(f.dir.path()).filePath(QStringLiteral("figures.txt"));
    f.ui.savePaths = {exported};
    click("export");
    QFile out(exported);
    QVERIFY(out.open(QIODevice::ReadOnly));
    QVERIFY(out.readAll().startsWith("\xEF\xBB\xBFTotal wordlist:11\n\nWORDS:\n            With ':2 (18.18%)\n"));
}

void TestStatisticsWindow::showOpensTheEntriesWithTheirPreview()
{
    Fixture f;
    StatisticsWindow window(nullptr, f.workbench, f.ui, f.run());
    window.show();
    window.showCriterionEntries();
    QCOMPARE(f.ui.messageTexts(), QStringList({"No dictionary word type selected."}));

    window.selectWordRow(2);
    QString title;
    qsizetype matches = -1;
    QString preview;
    QStringList firstRow;
    // The entry list is modal: look at it from a timer once it is up and its search has
    // ended (an Escape during the search would abort the search, not close the window),
    // then close it. Past the deadline whatever modal is open is closed and the
    // comparisons below fail.
    QTimer timer;
    QElapsedTimer waited;
    waited.start();
    connect(&timer, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *entries = qobject_cast<CriterionEntriesWindow *>(modal);
        if (!entries || entries->matchCount() == 0) {
            if (modal && waited.elapsed() > 20000)
                modal->close();
            return;
        }
        timer.stop();
        title = entries->windowTitle();
        matches = entries->matchCount();
        auto *table = entries->findChild<QTableView *>(QStringLiteral("matches"));
        const QAbstractItemModel *model = table->model();
        for (int column = 0; column < 3; ++column)
            firstRow << model->headerData(column, Qt::Horizontal).toString() + "=" +
                            model->index(0, column).data().toString();
        entries->selectMatch(1);
        preview = entries->previewText();
        QTest::keyClick(entries, Qt::Key_Escape);
    });
    timer.start(10);
    auto *words = window.findChild<QTreeWidget *>(QStringLiteral("words"));
    emit words->itemDoubleClicked(words->topLevelItem(2), 0);
    QCOMPARE(title, QStringLiteral("Show words based on selected criteria: Starting uppercase"));
    QCOMPARE(matches, 2);
    QCOMPARE(firstRow, QStringList({"Matches=O'Neil/S", "Position=5", "Occurences=2"}));
    QCOMPARE(preview, QStringLiteral("Ann (Primary)\nAnns Flag:S (Primary:Ann)\n"));
    QVERIFY(window.isVisible());
}

void TestStatisticsWindow::extractWritesTheTypeThroughTheWindowControls()
{
    Fixture f;
    StatisticsWindow window(nullptr, f.workbench, f.ui, f.run());
    window.show();
    const QString name = QDir(f.dir.path()).filePath(QStringLiteral("hyphens"));
    f.ui.savePaths = {name};
    window.selectWordRow(1);
    window.extract(false);
    QFile file(name + ".txt");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBFpre-walk\npre-walks\n"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("hint"))->text(), QString());
    QVERIFY(!window.findChild<QLabel *>(QStringLiteral("elapsed"))->text().isEmpty());
    QVERIFY(f.ui.statuses.isEmpty() || f.ui.statusText().startsWith(QStringLiteral("OK.")));

    window.selectWordRow(3); // "1 characters long:" has no words
    window.extract(true);
    QCOMPARE(f.ui.messageTexts(), QStringList({"No dictionary words of that type."}));
}

void TestStatisticsWindow::sharedToolWindowKeys()
{
    Fixture f;
    f.workbench = Workbench(QStringLiteral("/opt/lexaloom/"));
    f.workbench.dictionary.affText = QString::fromLatin1(affixAff);
    f.workbench.dictionary.entries.append(QStringLiteral("cat"));
    StatisticsWindow window(nullptr, f.workbench, f.ui, f.run());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F1);
    QCOMPARE(f.ui.openedUrls, QStringList({"file:///opt/lexaloom/Lexaloom_manual_V30.html#5.2.5.10.statistics"}));
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

// With LEXALOOM_SCREENSHOTS naming a folder and the corpus present: the window over
// the real en_GB dictionary.
void TestStatisticsWindow::screenshot()
{
    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOTS");
    const QString corpus = corpusRoot();
    const QString dic = corpus + QStringLiteral("/hunspell/en_GB.dic");
    if (folder.isEmpty() || !QFile::exists(dic))
        QSKIP("LEXALOOM_SCREENSHOTS not set or no corpus");
    QTemporaryDir dir;
    Workbench workbench(dir.path());
    ScriptedUi ui;
    ui.answers = {true, true};
    QVERIFY(LoadDictionary(workbench.dictionary, workbench.settings, ui, dic).done());
    workbench.windowSettings.dicStats.value = QStringLiteral("250000");
    workbench.windowSettings.dicStats.lastRemember = QStringLiteral("Last Remember:2024-01-10 09:30:00");
    StatisticsWindow window(nullptr, workbench, ui,
                            RunStatistics(workbench.dictionary, workbench.affixTable, workbench.settings, ui));
    window.show();
    window.selectWordRow(2);
    QCoreApplication::processEvents();
    QDir().mkpath(folder);
    QVERIFY(window.grab().save(folder + QStringLiteral("/statistics.png")));

    // "Show" on "Starting uppercase:", the second entry's forms in the preview.
    bool saved = false;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&] {
        auto *entries = qobject_cast<CriterionEntriesWindow *>(QApplication::activeModalWidget());
        if (!entries)
            return;
        timer.stop();
        entries->selectMatch(1);
        QCoreApplication::processEvents();
        saved = entries->grab().save(folder + QStringLiteral("/statistics_entries.png"));
        entries->reject();
    });
    timer.start(10);
    window.showCriterionEntries();
    QVERIFY(saved);
}

LEXALOOM_GUI_TEST(TestStatisticsWindow)
#include "test_statistics_window.moc"
