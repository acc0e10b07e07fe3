#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "core/app/workbench.h"
#include "core/thesaurus/thesaurus_files.h"
#include "gui/app/command_wiring.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/thesaurus/thesaurus_tool_windows.h"

#include "modal_helpers.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::ScriptedUi;
using lexaloom::testing::whenModalOpens;

namespace {

QString screenshotFolder()
{
    return qEnvironmentVariable("LEXALOOM_SCREENSHOT_DIR");
}

void saveScreenshot(QWidget *widget, const QString &name)
{
    if (const QString folder = screenshotFolder(); !folder.isEmpty()) {
        QDir().mkpath(folder);
        QCoreApplication::processEvents();
        QVERIFY(widget->grab().save(folder + QLatin1Char('/') + name));
    }
}

QStringList entriesOf(const ThesaurusDocument &doc)
{
    QStringList list;
    for (qint64 i = 0; i < doc.entries.size(); ++i)
        list.append(doc.entries.at(i));
    return list;
}

struct Fixture {
    Workbench wb{QStringLiteral("/opt/lexaloom")};
    ScriptedUi ui;
    MainWindow window{wb, ui};

    Fixture()
    {
        WireCommands(window, wb, ui);
        window.show();
        window.tabs()->setCurrentIndex(int(DocumentKind::Thesaurus));
    }
    void fill(const QStringList &entries)
    {
        for (const QString &e : entries)
            wb.thesaurus.entries.append(e);
        window.refreshListPage(DocumentKind::Thesaurus);
    }
};

} // namespace

class TestThesaurusTools final : public QObject {
    Q_OBJECT

private slots:
    void cleanUpWindowRemembersItsTicks();
    void duplicatesWindowDisplaysAndMerges();
    void batchToolsFromTheMenu();
    void realThesaurusWithDuplicates();
};

void TestThesaurusTools::cleanUpWindowRemembersItsTicks()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.fill({QStringLiteral("car|1\n(noun)|car (generic term)|auto")});
    // Untick "|", OK; the next opening shows that choice; Cancel changes nothing.
    whenModalOpens<CleanUpSymbolsWindow>([](CleanUpSymbolsWindow *w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("Clean up symbols"));
        auto *bars = w->findChild<QCheckBox *>(QStringLiteral("bars"));
        QCOMPARE(bars->text(), QStringLiteral("|        ; Replace with a SPACE"));
        QVERIFY(bars->isChecked());
        bars->setChecked(false);
        saveScreenshot(w, QStringLiteral("thesaurus_clean_up_symbols.png"));
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("ok")), Qt::LeftButton);
    });
    f.window.menuAction(CommandId::ThesaurusCleanSymbols)->trigger();
    QCOMPARE(entriesOf(f.wb.thesaurus), QStringList{QStringLiteral("car|1\n|car |auto")});
    QVERIFY(f.window.tabButton(DocumentKind::Thesaurus, TabAction::Undo)->isEnabled());

    bool ticked = true;
    whenModalOpens<CleanUpSymbolsWindow>([&ticked](CleanUpSymbolsWindow *w) {
        ticked = w->findChild<QCheckBox *>(QStringLiteral("bars"))->isChecked();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    f.window.menuAction(CommandId::ThesaurusCleanSymbols)->trigger();
    QVERIFY(!ticked);
    QCOMPARE(f.ui.statusText(), QStringLiteral("OK."));
    QCOMPARE(entriesOf(f.wb.thesaurus), QStringList{QStringLiteral("car|1\n|car |auto")});
}

void TestThesaurusTools::duplicatesWindowDisplaysAndMerges()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.fill({QStringLiteral("cat|2\nfeline\npuss"), QStringLiteral("dog|1\nhound"), QStringLiteral("cat|1\nfeline")});
    whenModalOpens<ThesaurusDuplicatesWindow>([&f](ThesaurusDuplicatesWindow *w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("Show/Merge Duplicates"));
        auto *rows = w->findChild<QTreeWidget *>(QStringLiteral("rows"));
        auto *preview = w->findChild<QPlainTextEdit *>(QStringLiteral("preview"));
        auto *display = w->findChild<QPushButton *>(QStringLiteral("display"));
        QCOMPARE(rows->topLevelItemCount(), 2);
        QCOMPARE(rows->topLevelItem(1)->text(0), QStringLiteral("cat|2"));
        QCOMPARE(rows->topLevelItem(1)->text(1), QStringLiteral("1"));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("found"))->text(), QStringLiteral("Found:2"));
        QCOMPARE(preview->toPlainText(), QStringLiteral("Nothing to display"));
        QVERIFY(!display->isEnabled());
        rows->setCurrentItem(rows->topLevelItem(1));
        QCOMPARE(preview->toPlainText(), QStringLiteral("feline\npuss"));
        QTest::mouseClick(display, Qt::LeftButton);
        QCOMPARE(f.wb.thesaurus.selectedIndex, 0);
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("merge")), Qt::LeftButton);
        QCOMPARE(rows->topLevelItemCount(), 1);
        QCOMPARE(rows->topLevelItem(0)->text(0), QStringLiteral("cat|2"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    f.window.menuAction(CommandId::ThesaurusDuplicates)->trigger();
    QCOMPARE(entriesOf(f.wb.thesaurus), (QStringList{"cat|2\nfeline\npuss", "dog|1\nhound"}));
    QVERIFY(f.wb.thesaurus.changed);
    QCOMPARE(f.window.pagedList(DocumentKind::Thesaurus)->tree()->topLevelItemCount(), 2);

    // Undo brings the three entries back.
    QTest::mouseClick(f.window.tabButton(DocumentKind::Thesaurus, TabAction::Undo), Qt::LeftButton);
    QCOMPARE(f.wb.thesaurus.entries.size(), 3);
}

void TestThesaurusTools::batchToolsFromTheMenu()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.fill({QStringLiteral("big|2\nlarge\nhuge"), QStringLiteral("w|3\na\nb\na")});
    f.window.menuAction(CommandId::DeduplicateMeanings)->trigger();
    QCOMPARE(f.wb.thesaurus.entries.at(1), QStringLiteral("w|2\nb\na"));
    QCOMPARE(f.ui.statusText(), QStringLiteral("Unduplicated synonyms meanings:1"));
    f.window.menuAction(CommandId::CombineMeanings)->trigger();
    QCOMPARE(f.wb.thesaurus.entries.size(), 6);
    QCOMPARE(f.ui.statusText(), QStringLiteral("New synonyms:4"));
    f.window.menuAction(CommandId::SortOnNumbers)->trigger();
    QCOMPARE(f.wb.thesaurus.entries.at(5), QStringLiteral("w|2\nb\na"));
    f.window.menuAction(CommandId::ThesaurusFixSpaces)->trigger();
    QCOMPARE(f.ui.messageTexts().last(), QStringLiteral("No spaces to fix found!"));
    // Every one left the menus enabled again.
    QVERIFY(f.window.menuAction(CommandId::SortOnNumbers)->isEnabled());
}

void TestThesaurusTools::realThesaurusWithDuplicates()
{
    const QString corpus = corpusRoot();
    const QString dat = corpus + QStringLiteral("/thesaurus/th_en_US_v2.dat");
    if (!QFile::exists(dat))
        QSKIP("the real thesaurus is not in the corpus");
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.ui.openPaths.push_back(dat);
    f.window.menuAction(CommandId::Open)->trigger();
    ThesaurusDocument &doc = f.wb.thesaurus;
    // A second entry for some words, with a meaning of its own.
    for (qint64 i = 1000; i < 1300; i += 3)
        doc.entries.append(HeadWordOf(doc.entries.view(i)).toString() + QStringLiteral("|1\n(noun)|added meaning"));
    f.window.refreshListPage(DocumentKind::Thesaurus);
    whenModalOpens<ThesaurusDuplicatesWindow>([](ThesaurusDuplicatesWindow *w) {
        auto *rows = w->findChild<QTreeWidget *>(QStringLiteral("rows"));
        QCOMPARE(rows->topLevelItemCount(), 200);
        rows->setCurrentItem(rows->topLevelItem(1));
        saveScreenshot(w, QStringLiteral("thesaurus_duplicates.png"));
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("merge")), Qt::LeftButton);
        QCOMPARE(rows->topLevelItemCount(), 100);
        w->reject();
    });
    f.window.menuAction(CommandId::ThesaurusDuplicates)->trigger();
    QCOMPARE(doc.entries.size(), 145866);
    QVERIFY(f.ui.messages.isEmpty());
}

LEXALOOM_GUI_TEST(TestThesaurusTools)
#include "test_thesaurus_tools.moc"
