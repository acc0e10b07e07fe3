// The lists' pop-up menus, the Dictionary tab's Erase, Sort and .aff pane buttons
// through the real wiring, and the faults found when the window was used: the
// counter's width, the changed tab icon and what the lists show while loading.
#include "gui_test_registry.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "core/app/workbench.h"
#include "core/hyphenation/hyphenation_document.h"
#include "gui/app/command_wiring.h"
#include "gui/dictionary_tools/wordlist_duplicates_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"

#include "modal_helpers.h"
#include "scripted_ui.h"

using namespace lexaloom;
using lexaloom::testing::chooseFromPopup;
using lexaloom::testing::ScriptedUi;

namespace {

struct Fixture {
    Workbench wb{QStringLiteral("/opt/lexaloom")};
    ScriptedUi ui;
    std::unique_ptr<MainWindow> window;

    Fixture()
    {
        window = std::make_unique<MainWindow>(wb, ui);
        WireCommands(*window, wb, ui);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // "a*" is a marked entry "a".
    void fill(DocumentKind kind, const QStringList &entries)
    {
        ListDocument &doc = *wb.listDocument(kind);
        for (QString e : entries) {
            const bool marked = e.endsWith(u'*');
            if (marked)
                e.chop(1);
            doc.entries.append(e);
            doc.entries.setMarked(doc.entries.size() - 1, marked);
        }
        window->refreshListPage(kind);
        window->refreshFileInfo(kind);
    }
};

QStringList shownOf(const ListDocument &doc)
{
    QStringList out;
    for (qint64 i = 0; i < doc.entries.size(); ++i)
        out << doc.entries.at(i) + (doc.entries.isMarked(i) ? QStringLiteral("*") : QString());
    return out;
}

} // namespace

class TestBulkList final : public QObject {
    Q_OBJECT

private slots:
    void popupMenusOfTheThreeLists();
    void deleteSelectedAndCloneThroughThePopup();
    void hyphenationResultCopy();
    void dictionaryEraseSortAndPane();
    void undoOfEraseBringsBackTheUnsavedFile();
    void counterFitsAndTabIconFollows();
    void listsAreEmptyWhileLoading();
    void dispatcherToolsOfTheDictionary();
};

void TestBulkList::popupMenusOfTheThreeLists()
{
    Fixture f;
    const QString shots = qEnvironmentVariable("LEXALOOM_SCREENSHOTS");
    for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Thesaurus, DocumentKind::Autocorrect}) {
        f.window->tabs()->setCurrentIndex(int(kind));
        const QStringList entries = kind == DocumentKind::Dictionary ? QStringList{"a*", "b", "c*", "d", "e"}
                                    : kind == DocumentKind::Thesaurus
                                        ? QStringList{"a|0*", "b|0", "c|0*", "d|0", "e|0"}
                                        : QStringList{"a\nb*", "c\nd", "e\nf*", "g\nh", "i\nj"};
        f.fill(kind, entries);
        QImage picture;
        const QStringList captions = chooseFromPopup(f.window->pagedList(kind)->tree(), QStringLiteral("Invert Selection"),
                                            kind == DocumentKind::Dictionary && !shots.isEmpty() ? &picture : nullptr);
        QCOMPARE(captions, (QStringList{"Add", "Edit", "Clone", "Extract && Delete flags (PFX) (off)",
                                        "Extract && Delete flags (All) (off)", "Select All", "Select None",
                                        "Invert Selection", "Delete Selected", "Delete"}));
        // 2 of 5 marked become 3, the boxes and the label follow.
        const ListDocument &doc = *f.wb.listDocument(kind);
        QCOMPARE(doc.entries.markedCount(), 3);
        QCOMPARE(f.window->selectedLabel(kind)->text(), QStringLiteral("Selected:3"));
        QCOMPARE(f.window->pagedList(kind)->tree()->topLevelItem(1)->checkState(0), Qt::Checked);
        QVERIFY(!doc.changed);
        chooseFromPopup(f.window->pagedList(kind)->tree(), QStringLiteral("Select All"));
        QCOMPARE(f.window->selectedLabel(kind)->text(), QStringLiteral("Selected:All"));
        chooseFromPopup(f.window->pagedList(kind)->tree(), QStringLiteral("Select None"));
        QCOMPARE(f.window->selectedLabel(kind)->text(), QStringLiteral("Selected:None"));
        QCOMPARE(f.window->pagedList(kind)->tree()->topLevelItem(0)->checkState(0), Qt::Unchecked);
        if (!picture.isNull())
            QVERIFY(picture.save(QDir(shots).filePath(QStringLiteral("list_popup.png"))));
    }
    QVERIFY(f.ui.messages.isEmpty());
}

void TestBulkList::deleteSelectedAndCloneThroughThePopup()
{
    Fixture f;
    f.window->tabs()->setCurrentIndex(int(DocumentKind::Dictionary));
    f.fill(DocumentKind::Dictionary, {"a*", "b", "c*"});
    f.ui.answers = {true};
    chooseFromPopup(f.window->pagedList(DocumentKind::Dictionary)->tree(), QStringLiteral("Delete Selected"));
    QCOMPARE(f.ui.messageTexts(), QStringList{QStringLiteral("Really delete 2 dictionary words?")});
    QCOMPARE(shownOf(f.wb.dictionary), QStringList{QStringLiteral("b")});
    QCOMPARE(f.window->counterLabel(DocumentKind::Dictionary)->text(), QStringLiteral("# Words:1"));
    QCOMPARE(f.window->changedLabel(DocumentKind::Dictionary)->text(), QStringLiteral("*"));
    QVERIFY(f.window->tabButton(DocumentKind::Dictionary, TabAction::Undo)->isEnabled());

    // Everything marked: the list empties and Save has nothing to save.
    f.ui.clearRecords();
    f.ui.answers = {true};
    chooseFromPopup(f.window->pagedList(DocumentKind::Dictionary)->tree(), QStringLiteral("Select All"));
    chooseFromPopup(f.window->pagedList(DocumentKind::Dictionary)->tree(), QStringLiteral("Delete Selected"));
    QCOMPARE(f.ui.messageTexts(), QStringList{QStringLiteral("Really delete 1 dictionary word?")});
    QCOMPARE(f.wb.dictionary.entries.size(), 0);
    QCOMPARE(f.window->pagedList(DocumentKind::Dictionary)->rowCount(), 0);
    QCOMPARE(f.window->counterLabel(DocumentKind::Dictionary)->text(), QStringLiteral("# Words:0"));
    QVERIFY(!f.window->menuAction(CommandId::Save)->isEnabled());

    // Clone on the Autocorrect list: a copy at the end, the focus stays.
    f.window->tabs()->setCurrentIndex(int(DocumentKind::Autocorrect));
    f.fill(DocumentKind::Autocorrect, {"teh\nthe", "adn\nand"});
    f.wb.autocorrect.selectedIndex = 0;
    f.window->refreshListPage(DocumentKind::Autocorrect);
    f.ui.clearRecords();
    chooseFromPopup(f.window->pagedList(DocumentKind::Autocorrect)->tree(), QStringLiteral("Clone"));
    QCOMPARE(shownOf(f.wb.autocorrect), (QStringList{"teh\nthe", "adn\nand", "teh\nthe"}));
    QCOMPARE(f.window->pagedList(DocumentKind::Autocorrect)->rowCount(), 3);
    QCOMPARE(f.wb.autocorrect.selectedIndex, 0);
    QVERIFY(f.ui.messages.isEmpty());
}

void TestBulkList::hyphenationResultCopy()
{
    Fixture f;
    f.window->tabs()->setCurrentIndex(int(DocumentKind::Hyphenation));
    f.wb.hyphenation.results = {{QStringLiteral("walked"), QStringLiteral("D"), QStringLiteral("1: 0 ed [^y]")},
                                {QStringLiteral("walk"), QString(), QString()}};
    QTreeWidget *results = f.window->hyphenationResults();
    for (const HyphenationRow &row : f.wb.hyphenation.results)
        results->addTopLevelItem(new QTreeWidgetItem({row.word, row.code, row.rule}));
    chooseFromPopup(results, QStringLiteral("Copy word"));
    QCOMPARE(f.ui.messageTexts(), QStringList{QStringLiteral("No word selected.")});
    results->setCurrentItem(results->topLevelItem(0));
    const QStringList captions = chooseFromPopup(results, QStringLiteral("Copy word && rule"));
    QCOMPARE(captions, (QStringList{"Copy word", "Copy rule", "Copy word && rule"}));
    QCOMPARE(f.ui.clipboard, QStringLiteral("walked\u21921: 0 ed [^y]"));
}

void TestBulkList::dictionaryEraseSortAndPane()
{
    Fixture f;
    f.window->tabs()->setCurrentIndex(int(DocumentKind::Dictionary));
    f.fill(DocumentKind::Dictionary, {"f", "\u00C9/S*", "e"});
    QTest::mouseClick(f.window->tabButton(DocumentKind::Dictionary, TabAction::Sort), Qt::LeftButton);
    QCOMPARE(shownOf(f.wb.dictionary), (QStringList{"e", "\u00C9/S", "f"}));
    QCOMPARE(f.window->pagedList(DocumentKind::Dictionary)->tree()->topLevelItem(1)->text(1),
             QStringLiteral("\u00C9/S"));
    QCOMPARE(f.window->selectedLabel(DocumentKind::Dictionary)->text(), QStringLiteral("Selected:None"));
    QVERIFY(f.ui.statusText().startsWith(QStringLiteral("OK.")));

    f.ui.answers = {true, true}; // changed: continue; really delete all
    f.wb.dictionary.path = QStringLiteral("/d/en.dic");
    QTest::mouseClick(f.window->tabButton(DocumentKind::Dictionary, TabAction::Erase), Qt::LeftButton);
    QCOMPARE(f.ui.messageTexts(),
             (QStringList{"The Dictionary has been changed.\n\nContinue?", "Really delete all dictionary words?"}));
    QCOMPARE(f.window->pagedList(DocumentKind::Dictionary)->rowCount(), 0);
    QCOMPARE(f.window->fileLabel(DocumentKind::Dictionary)->text(), QStringLiteral("n/a"));
    QCOMPARE(f.window->changedLabel(DocumentKind::Dictionary)->text(), QString());
    QTest::mouseClick(f.window->tabButton(DocumentKind::Dictionary, TabAction::Undo), Qt::LeftButton);
    QCOMPARE(f.wb.dictionary.entries.size(), 3);

    // The .aff pane: Clear asks first, Go to top puts the caret after the first character.
    f.wb.dictionary.affText = QStringLiteral("SET UTF-8\nTRY abc\n");
    f.window->showDocumentTexts();
    QTest::mouseClick(f.window->tabButton(DocumentKind::Dictionary, TabAction::PaneBottom), Qt::LeftButton);
    QCOMPARE(f.window->affPane()->textCursor().position(), f.wb.dictionary.affText.size());
    QTest::mouseClick(f.window->tabButton(DocumentKind::Dictionary, TabAction::PaneTop), Qt::LeftButton);
    QCOMPARE(f.window->affPane()->textCursor().position(), 1);
    f.ui.clearRecords();
    f.ui.answers = {true};
    QTest::mouseClick(f.window->tabButton(DocumentKind::Dictionary, TabAction::PaneClear), Qt::LeftButton);
    QCOMPARE(f.ui.messageTexts(), QStringList{QStringLiteral("The .AFF has contents.\n\nContinue?")});
    QVERIFY(f.window->affPane()->toPlainText().isEmpty());
    QVERIFY(f.wb.dictionary.affText.isEmpty());
    QVERIFY(f.wb.dictionary.changed);
}

// Erase clears the changed mark and the path; its Undo must bring both back, or the
// restored entries look saved and leaving loses them without a word.
void TestBulkList::undoOfEraseBringsBackTheUnsavedFile()
{
    struct Case {
        DocumentKind kind;
        QStringList entries;
        QString exitLine;
    };
    const Case cases[] = {
        {DocumentKind::Dictionary, {"walk/S", "talk"}, QStringLiteral("  \u2014 Dictionary\n")},
        {DocumentKind::Thesaurus, {"cat|1\n(noun)|feline", "dog|1\n(noun)|hound"},
         QStringLiteral("  \u2014 Thesaurus\n")},
        {DocumentKind::Autocorrect, {"teh\nthe", "adn\nand"}, QStringLiteral("  \u2014 Autocorrect\n")},
    };
    for (const Case &c : cases) {
        for (const bool changed : {true, false}) {
            Fixture f;
            f.window->tabs()->setCurrentIndex(int(c.kind));
            f.fill(c.kind, c.entries);
            ListDocument &doc = *f.wb.listDocument(c.kind);
            doc.path = QStringLiteral("/d/list.txt");
            doc.changed = changed;
            if (c.kind == DocumentKind::Thesaurus)
                f.wb.thesaurus.encodingLine = QStringLiteral("ISO8859-1");
            f.window->refreshFileInfo(c.kind);
            const QString mark = changed ? QStringLiteral("*") : QString();

            f.ui.answers = changed ? std::deque<bool>{true, true} : std::deque<bool>{true};
            QTest::mouseClick(f.window->tabButton(c.kind, TabAction::Erase), Qt::LeftButton);
            QCOMPARE(doc.entries.size(), 0);
            QCOMPARE(f.window->fileLabel(c.kind)->text(), QStringLiteral("n/a"));

            QTest::mouseClick(f.window->tabButton(c.kind, TabAction::Undo), Qt::LeftButton);
            QCOMPARE(doc.entries.size(), c.entries.size());
            QCOMPARE(doc.path, QStringLiteral("/d/list.txt"));
            QCOMPARE(doc.changed, changed);
            QCOMPARE(f.window->changedLabel(c.kind)->text(), mark);
            QCOMPARE(f.window->fileLabel(c.kind)->text(), QStringLiteral("list.txt"));
            if (c.kind == DocumentKind::Thesaurus)
                QCOMPARE(f.wb.thesaurus.encodingLine, QStringLiteral("ISO8859-1"));
            f.ui.clearRecords();
            f.ui.answers = {false};
            f.window->dispatcher().confirmClose();
            QCOMPARE(f.ui.messageTexts(), changed ? QStringList{"The following files have been changed:\n" +
                                                                c.exitLine + "\nReally exit?"}
                                                  : QStringList{});

            // Redo erases again, as the Erase left it.
            QTest::mouseClick(f.window->tabButton(c.kind, TabAction::Redo), Qt::LeftButton);
            QCOMPARE(doc.entries.size(), 0);
            QVERIFY(doc.path.isEmpty());
            QVERIFY(!doc.changed);
            if (c.kind == DocumentKind::Thesaurus)
                QCOMPARE(f.wb.thesaurus.encodingLine, QStringLiteral("UTF-8"));
            QTest::mouseClick(f.window->tabButton(c.kind, TabAction::Undo), Qt::LeftButton);
            QCOMPARE(doc.path, QStringLiteral("/d/list.txt"));
            QCOMPARE(doc.changed, changed);
        }
    }
}

void TestBulkList::counterFitsAndTabIconFollows()
{
    Fixture f;
    for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Thesaurus, DocumentKind::Autocorrect}) {
        QLabel *counter = f.window->counterLabel(kind);
        // The largest counts keep their closing bracket, and the marker stays to the right.
        for (const QString &text :
             {QStringLiteral("Word: [8,851,400/8,851,400]"), QStringLiteral("Synonym: [88,851,400/88,851,400]")}) {
            QVERIFY2(counter->fontMetrics().horizontalAdvance(text) <= counter->width(), qPrintable(text));
        }
        QVERIFY(counter->geometry().right() < f.window->changedLabel(kind)->geometry().left());
    }

    QTabBar *bar = f.window->tabs()->tabBar();
    const QImage plainImage = bar->tabIcon(int(DocumentKind::Dictionary)).pixmap(16).toImage();
    f.wb.dictionary.changed = true;
    f.window->refreshFileInfo(DocumentKind::Dictionary);
    QCOMPARE(f.window->changedLabel(DocumentKind::Dictionary)->text(), QStringLiteral("*"));
    QVERIFY(bar->tabIcon(int(DocumentKind::Dictionary)).pixmap(16).toImage() != plainImage);
    f.wb.dictionary.changed = false;
    f.window->refreshFileInfo(DocumentKind::Dictionary);
    QCOMPARE(bar->tabIcon(int(DocumentKind::Dictionary)).pixmap(16).toImage(), plainImage);
}

void TestBulkList::listsAreEmptyWhileLoading()
{
    Fixture f;
    f.window->tabs()->setCurrentIndex(int(DocumentKind::Dictionary));
    QStringList old;
    for (int i = 0; i < 40; ++i)
        old << QStringLiteral("old%1").arg(i);
    f.fill(DocumentKind::Dictionary, old);
    f.wb.dictionary.selectedIndex = 0;
    f.window->refreshFileInfo(DocumentKind::Dictionary);
    QCOMPARE(f.window->counterLabel(DocumentKind::Dictionary)->text(), QStringLiteral("Word: [1/40]"));

    QTemporaryDir dir;
    const QString dic = dir.filePath(QStringLiteral("new.dic"));
    {
        QFile aff(dir.filePath(QStringLiteral("new.aff")));
        QVERIFY(aff.open(QIODevice::WriteOnly));
        aff.write("SET UTF-8\n");
        QFile file(dic);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("3000\n");
        for (int i = 0; i < 3000; ++i)
            file.write(QByteArray("new") + QByteArray::number(i) + '\n');
    }
    // What the tab shows on each tick of the load, and Escape on the third.
    QStringList seen;
    int ticks = 0;
    f.ui.onProcessEvents = [&](ScriptedUi &u) {
        u.fakeClock.advance(1000);
        if (!u.statusText().startsWith(QStringLiteral("Loading Dictionary")))
            return;
        seen << QStringLiteral("%1 rows, %2")
                    .arg(f.window->pagedList(DocumentKind::Dictionary)->rowCount())
                    .arg(f.window->counterLabel(DocumentKind::Dictionary)->text());
        if (++ticks == 3)
            u.pressEscape();
    };
    f.ui.openPaths = {dic};
    f.ui.answers = {true}; // Really abort?
    f.window->menuAction(CommandId::Open)->trigger();
    QVERIFY(seen.size() >= 3);
    for (const QString &s : seen) {
        QVERIFY2(s.startsWith(QStringLiteral("0 rows, # Words:")), qPrintable(s));
        QVERIFY2(!s.contains(u'['), qPrintable(s));
    }
    // Aborted: the open dictionary is back on screen as it was.
    QCOMPARE(f.wb.dictionary.entries.size(), 40);
    QCOMPARE(f.window->pagedList(DocumentKind::Dictionary)->tree()->topLevelItem(0)->text(1), QStringLiteral("old0"));
    QCOMPARE(f.window->counterLabel(DocumentKind::Dictionary)->text(), QStringLiteral("Word: [1/40]"));

    // A load to its end shows the new file.
    f.ui.onProcessEvents = {};
    f.ui.openPaths = {dic};
    f.window->menuAction(CommandId::Open)->trigger();
    QCOMPARE(f.wb.dictionary.entries.size(), 3000);
    QCOMPARE(f.window->counterLabel(DocumentKind::Dictionary)->text(), QStringLiteral("# Words:3,000"));
    QCOMPARE(f.window->pagedList(DocumentKind::Dictionary)->tree()->topLevelItem(0)->text(1), QStringLiteral("new0"));
}

// The three Dictionary Tools commands the dispatcher runs: the duplicates window with
// its rows, the sorted .aff in its pane, the repaired entries in the list.
void TestBulkList::dispatcherToolsOfTheDictionary()
{
    Fixture f;
    f.window->tabs()->setCurrentIndex(int(DocumentKind::Dictionary));
    f.wb.dictionary.affText = QStringLiteral("SET UTF-8\nSFX S Y 2\nSFX S 0 s [^s]\nSFX S 0 es s\n");
    f.window->showDocumentTexts();
    f.fill(DocumentKind::Dictionary, {"walk/S", "  walk/S", "bus/S"});

    // Fix invalid spaces first: the second entry becomes a duplicate of the first.
    f.window->menuAction(CommandId::DictionaryFixSpaces)->trigger();
    QCOMPARE(f.ui.statusText(), QStringLiteral("Fixed words:1"));
    QCOMPARE(f.window->pagedList(DocumentKind::Dictionary)->tree()->topLevelItem(1)->text(1), QStringLiteral("walk/S"));

    QStringList rows;
    QString found;
    QString title;
    const QString shots = qEnvironmentVariable("LEXALOOM_SCREENSHOTS");
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<WordlistDuplicatesWindow *>(QApplication::activeModalWidget());
        QVERIFY(window);
        title = window->windowTitle();
        for (int r = 0; r < window->list()->topLevelItemCount(); ++r) {
            const QTreeWidgetItem *item = window->list()->topLevelItem(r);
            rows << item->text(0) + u'|' + item->text(1) + u'|' + item->text(2);
        }
        found = window->foundLabel()->text();
        if (!shots.isEmpty())
            QVERIFY(window->grab().save(QDir(shots).filePath(QStringLiteral("wordlist_duplicates.png"))));
        window->reject();
    });
    f.window->menuAction(CommandId::WordlistDuplicates)->trigger();
    QCOMPARE(title, QStringLiteral("Show Duplicates in wordlist"));
    QCOMPARE(rows, (QStringList{"walk|2|1 + 2", "walks|2|1 + 2"}));
    QCOMPARE(found, QStringLiteral("Found:2/6"));

    f.ui.answers = {true};
    f.window->menuAction(CommandId::SortAffTags)->trigger();
    QCOMPARE(f.window->affPane()->toPlainText(),
             QStringLiteral("SET UTF-8\nSFX S Y 2\nSFX S 0 es s\nSFX S 0 s [^s]\n"));
    QCOMPARE(f.window->changedLabel(DocumentKind::Dictionary)->text(), QStringLiteral("*"));
}

LEXALOOM_GUI_TEST(TestBulkList)
#include "test_bulk_list.moc"
