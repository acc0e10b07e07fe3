#include <QAbstractItemModel>
#include <QCheckBox>
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/dictionary/dictionary_files.h"
#include "gui/dictionary_tools/duplicates_window.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::ScriptedUi;

namespace {

const QString aff = QStringLiteral("SET UTF-8\nKEEPCASE K\nSFX S Y 1\nSFX S 0 s .\nSFX D Y 1\nSFX D 0 ed .\n"
                                   "PFX U Y 1\nPFX U 0 un .\n");
const QStringList entries = {"house", "walk/S", "ab/AA", "house/S\npo:noun", "walk/D", "zebra/S", "tie/U", "tie"};

void load(Workbench &workbench)
{
    workbench.dictionary.affText = aff;
    for (const QString &e : entries)
        workbench.dictionary.entries.append(e);
}

QStringList textsOf(const EntryStore &store)
{
    QStringList out;
    for (qint64 i = 0; i < store.size(); ++i)
        out << store.at(i);
    return out;
}

} // namespace

class TestDuplicatesWindow final : public QObject {
    Q_OBJECT

private slots:
    void scanProcessAndOk();
    void cancelRestoresAndTwofoldDisablesTheBoxesBelow();
    void rememberWritesTheBoxesAsShown();
    void realDictionaryWithCopiedEntries();
};

void TestDuplicatesWindow::scanProcessAndOk()
{
    Workbench workbench;
    load(workbench);
    ScriptedUi ui;
    QVERIFY(DuplicatesSession::prepare(workbench.dictionary, workbench.affixTable, ui));
    DuplicatesWindow window(nullptr, workbench, ui, false);
    window.show();
    auto *process = window.findChild<QPushButton *>(QStringLiteral("process"));
    QVERIFY(!process->isEnabled());
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("scan")), Qt::LeftButton);
    auto *table = window.findChild<QTableView *>(QStringLiteral("rows"));
    const QAbstractItemModel *model = table->model();
    QCOMPARE(model->rowCount(), 7);
    QCOMPARE(model->index(0, 5).data().toString(), QStringLiteral("Yes (+1)"));
    QCOMPARE(model->index(0, 5).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    QCOMPARE(model->index(0, 4).data().toString(), QStringLiteral("Unknown"));
    QCOMPARE(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(214, 217, 223));
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("\U0001F3C1"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("repeatedWords"))->text(),
             QStringLiteral("  # Repeated Words:6"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("repeatedFlags"))->text(),
             QStringLiteral("# Repeated FlagsW:1"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("flagType"))->text(), QStringLiteral("FLAG chr"));
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("KEEPCASE Flag"))->isEnabled());
    QVERIFY(!window.findChild<QLabel *>(QStringLiteral("CIRCUMFIX Flag"))->isEnabled());
    QVERIFY(process->isEnabled());

    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QCoreApplication::processEvents();
        QVERIFY(window.grab().save(folder + QStringLiteral("/duplicates.png")));
    }

    QTest::mouseClick(process, Qt::LeftButton);
    QCOMPARE(ui.messageTexts().last(),
             QStringLiteral("Merged/deleted words:2 \nDeleted repeated FlagsW:1\nExact number repeated flags:1"));
    auto *log = window.findChild<QPlainTextEdit *>(QStringLiteral("log"));
    QVERIFY(log->toPlainText().contains(QStringLiteral("Number of merged/deleted words:2\n")));
    QVERIFY(log->toPlainText() == window.session().log());
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("logClear")), Qt::LeftButton);
    QCOMPARE(log->toPlainText(), DuplicatesSession::introductionText());

    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("ok")), Qt::LeftButton);
    QVERIFY(window.accepted());
    QCOMPARE(textsOf(workbench.dictionary.entries),
             QStringList({"house", "ab/A", "house/S\npo:noun", "walk/DS", "zebra/S", "tie/U"}));
    QVERIFY(workbench.dictionary.changed);
}

void TestDuplicatesWindow::cancelRestoresAndTwofoldDisablesTheBoxesBelow()
{
    Workbench workbench;
    load(workbench);
    ScriptedUi ui;
    QVERIFY(DuplicatesSession::prepare(workbench.dictionary, workbench.affixTable, ui));
    {
        DuplicatesWindow window(nullptr, workbench, ui, false);
        window.show();
        auto *twofold = window.findChild<QCheckBox *>(QStringLiteral("twofold"));
        auto *sameType = window.findChild<QCheckBox *>(QStringLiteral("sameTypeOnly"));
        QVERIFY(sameType->isChecked() && sameType->isEnabled());
        twofold->click();
        QVERIFY(!sameType->isChecked() && !sameType->isEnabled());
        QVERIFY(workbench.windowSettings.duplicates.twofold);
        QVERIFY(workbench.windowSettings.duplicates.sameTypeOnly);
        twofold->click();
        QVERIFY(sameType->isChecked() && sameType->isEnabled());

        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("scan")), Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
        QVERIFY(textsOf(workbench.dictionary.entries) != entries);
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }
    QCOMPARE(textsOf(workbench.dictionary.entries), entries);
}

void TestDuplicatesWindow::rememberWritesTheBoxesAsShown()
{
    QTemporaryDir folder;
    Workbench workbench(folder.path());
    load(workbench);
    ScriptedUi ui;
    QVERIFY(DuplicatesSession::prepare(workbench.dictionary, workbench.affixTable, ui));
    {
        DuplicatesWindow window(nullptr, workbench, ui, false);
        window.show();
        window.findChild<QCheckBox *>(QStringLiteral("ignoreTags"))->click();
        window.findChild<QCheckBox *>(QStringLiteral("twofold"))->click();
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("remember")), Qt::LeftButton);
        QVERIFY(ui.messages.isEmpty());
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cancel")), Qt::LeftButton);
    }
    // In memory the two boxes below twofold keep their states; the file has them as shown.
    QCOMPARE(workbench.windowSettings.duplicates, (DuplicateOptions{true, true, true, true}));
    Workbench restarted(folder.path());
    LoadAllSettings(restarted);
    QCOMPARE(restarted.windowSettings.duplicates, (DuplicateOptions{true, true, false, false}));
}

// pt_PT with a copy of every 500th entry (tags and all) and one entry given a repeated
// flag: after Process and OK the dictionary is the original again, less that repeat.
void TestDuplicatesWindow::realDictionaryWithCopiedEntries()
{
    const QString dic = corpusRoot() +
                        QStringLiteral("/hunspell/pt_PT.dic");
    if (!QFileInfo::exists(dic))
        QSKIP("corpus not present");
    Workbench workbench;
    ScriptedUi ui;
    QVERIFY(ReadDictionaryFiles(ui, workbench.settings, dic, workbench.dictionary).done());
    const QStringList original = textsOf(workbench.dictionary.entries);
    qint64 copies = 0;
    for (qint64 i = 0; i < original.size(); i += 500, ++copies)
        workbench.dictionary.entries.append(original[i]);
    QVERIFY(DuplicatesSession::prepare(workbench.dictionary, workbench.affixTable, ui));
    DuplicatesWindow window(nullptr, workbench, ui, false);
    window.resize(1300, 700);
    window.show();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("scan")), Qt::LeftButton);
    QVERIFY(window.session().repeatedWordCount() >= 2 * copies);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("flagType"))->text(), QStringLiteral("FLAG chr"));

    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QCoreApplication::processEvents();
        QVERIFY(window.grab().save(folder + QStringLiteral("/duplicates_pt_PT.png")));
    }
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("process")), Qt::LeftButton);
    QVERIFY(window.session().lastProcessCounts().merged >= copies);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("ok")), Qt::LeftButton);
    // Every copy went, and whatever the corpus itself repeated; no other entry changed.
    const QStringList merged = textsOf(workbench.dictionary.entries);
    QVERIFY(merged.size() <= original.size());
    QCOMPARE(QSet<QString>(merged.begin(), merged.end()).size(), merged.size());
}

LEXALOOM_GUI_TEST(TestDuplicatesWindow)
#include "test_duplicates_window.moc"
