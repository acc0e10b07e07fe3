#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "core/app/workbench.h"
#include "core/dictionary_tools/duplicates_session.h"
#include "gui/dictionary_tools/crunch_window.h"
#include "gui/dictionary_tools/master_wordlist_window.h"
#include "gui/dictionary_tools/regional_variants_window.h"
#include "gui/shell/palette.h"
#include "scripted_ui.h"
#include "gui_test_registry.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// LEXALOOM_SCREENSHOTS names a folder for the pictures of the windows.
void saveScreenshot(QWidget &window, const char *name)
{
    const QString folder = qEnvironmentVariable("LEXALOOM_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    // Labels whose text just changed are laid out on the next pass of the event loop.
    QCoreApplication::processEvents();
    window.grab().save(QDir(folder).filePath(QLatin1String(name)));
}

QPushButton *buttonWithText(QWidget &window, const QString &text)
{
    for (QPushButton *b : window.findChildren<QPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

const QString crunchAff = QStringLiteral("SET UTF-8\nSFX S Y 1\nSFX S 0 s .\nSFX D Y 2\nSFX D 0 d e\n"
                                         "SFX D 0 ed [^e]\nSFX G Y 1\nSFX G 0 ing .\n");

} // namespace

class TestRegionalTools final : public QObject {
    Q_OBJECT

private slots:
    void crunchListsTheRewrittenEntries();
    void masterWordlistProcessesTheRows();
    void regionalStepsAndCancel();
};

void TestRegionalTools::crunchListsTheRewrittenEntries()
{
    Workbench workbench;
    workbench.dictionary.affText = crunchAff;
    for (const char *e : {"walk/S", "walked", "walking", "jump/D", "jumps", "bake", "baked\npo:adj"})
        workbench.dictionary.entries.append(QString::fromUtf8(e));
    ScriptedUi ui;
    CrunchWindow window(nullptr, workbench, ui);
    window.show();
    QCOMPARE(window.usedFlags()->text(), QStringLiteral("MSGDpOwWY1k6jhJo~"));
    QCOMPARE(window.levelSlider()->value(), 2);

    window.ruleBox(0)->setChecked(false);
    QCOMPARE(window.usedFlags()->text(), QStringLiteral("SGDpOwWY1k6jhJo~"));
    QVERIFY(!workbench.crunch.on[0]);
    QTest::mouseClick(window.processButton(), Qt::LeftButton);
    QTreeWidget *list = window.resultList();
    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("walked\u2192walk/D"));
    QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("2"));
    QCOMPARE(list->topLevelItem(2)->text(1), QStringLiteral("jumps\u2192jump/S"));
    QCOMPARE(list->topLevelItem(0)->background(0).color(), palette::panelGrey);
    QCOMPARE(workbench.dictionary.entries.at(2), QStringLiteral("walk/G"));
    QCOMPARE(workbench.dictionary.entries.at(6), QStringLiteral("baked\npo:adj"));
    saveScreenshot(window, "crunch_window.png");

    QTest::mouseClick(buttonWithText(window, QStringLiteral("None")), Qt::LeftButton);
    QTest::mouseClick(window.processButton(), Qt::LeftButton);
    QCOMPARE(ui.messageTexts(), QStringList{"No rules selected."});
    QCOMPARE(window.usedFlags()->text(), QString());
    QTest::mouseClick(buttonWithText(window, QStringLiteral("All")), Qt::LeftButton);
    QCOMPARE(workbench.crunch.onCount(), 17);
}

void TestRegionalTools::masterWordlistProcessesTheRows()
{
    QTemporaryDir dir;
    const auto write = [&dir](const char *name, const QByteArray &bytes) {
        const QString path = dir.filePath(QLatin1String(name));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    };
    Workbench workbench;
    ScriptedUi ui;
    ui.openPaths = {write("master.txt", "apple\nferry\n"),
                    write("other.txt", "Apple\npear\n\xC3\xA9"
                                       "clair\n"),
                    write("more.txt", "ferry\nzebra\n")};
    MasterWordlistWindow window(nullptr, workbench, ui);
    window.show();
    QTest::mouseClick(window.button(QStringLiteral("Select Master")), Qt::LeftButton);
    QTest::mouseClick(window.button(QStringLiteral("Select Others")), Qt::LeftButton);
    QTest::mouseClick(window.button(QStringLiteral("Select Others")), Qt::LeftButton);
    QTreeWidget *list = window.fileList();
    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("Master"));
    QCOMPARE(list->topLevelItem(0)->background(1).color(), palette::green);
    QCOMPARE(list->topLevelItem(1)->text(3), QStringLiteral("19 bytes"));
    QCOMPARE(window.totalLabel()->text(), QStringLiteral("Total words:N/A"));

    QTest::mouseClick(window.button(QStringLiteral("Import && Process")), Qt::LeftButton);
    QCOMPARE(window.statusLabel()->text(), QStringLiteral("Processing:6/6: Done!"));
    QCOMPARE(window.totalLabel()->text(), QStringLiteral("Total words:7 (All files)"));
    QCOMPARE(window.missingLabel()->text(), QStringLiteral("Missing words:4"));
    QCOMPARE(window.session().missingWords(), (QStringList{"Apple", "\u00E9clair", "pear", "zebra"}));
    saveScreenshot(window, "master_wordlist_window.png");

    list->topLevelItem(2)->setCheckState(0, Qt::Checked);
    list->setCurrentItem(list->topLevelItem(2));
    QTest::mouseClick(window.button(QStringLiteral("Delete")), Qt::LeftButton);
    QCOMPARE(list->topLevelItemCount(), 2);
    QVERIFY(ui.messages.isEmpty());
}

void TestRegionalTools::regionalStepsAndCancel()
{
    QTemporaryDir dir;
    Workbench workbench(dir.path());
    for (const char *e : {"organization/S", "organisation/S", "colour/S", "capsize"})
        workbench.dictionary.entries.append(QString::fromUtf8(e));
    ScriptedUi ui;
    int refreshes = 0;
    int duplicates = 0;
    RegionalVariantsWindow::Hooks hooks;
    hooks.refreshDictionary = [&refreshes] { ++refreshes; };
    hooks.openDuplicates = [&duplicates](bool recorded) {
        ++duplicates;
        return DuplicatesToolOutcome{true, true, recorded};
    };
    RegionalVariantsWindow window(nullptr, workbench, ui, hooks);
    window.resize(1014, 620);
    window.show();
    QVERIFY(window.exceptionsEditor()->toPlainText().startsWith(QStringLiteral("accusation\n")));
    window.gbSpecificEditor()->setPlainText(QStringLiteral("colour"));

    QTest::mouseClick(window.button(QStringLiteral("ize")), Qt::LeftButton);
    QTest::mouseClick(window.button(QStringLiteral("gbOnly")), Qt::LeftButton);
    QTest::mouseClick(window.button(QStringLiteral("dupes")), Qt::LeftButton);
    QCOMPARE(duplicates, 1);
    QVERIFY(refreshes >= 3);
    const QString log = window.logPane()->toPlainText();
    QVERIFY(log.contains(QStringLiteral("Removed #1:\n\"organization/S\"\n")));
    QVERIFY(log.contains(QStringLiteral("\nRemoving GB specific...\n\nRemoved #1:\n\"colour/S\"\n")));
    QCOMPARE(workbench.dictionary.entries.at(0), QString());
    saveScreenshot(window, "regional_variants_window.png");

    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(workbench.dictionary.entries.at(0), QStringLiteral("organization/S"));
    QCOMPARE(workbench.dictionary.entries.at(2), QStringLiteral("colour/S"));
    // Cancel forgets the edited list.
    QVERIFY(workbench.gbSpecificText.isEmpty());
}

LEXALOOM_GUI_TEST(TestRegionalTools)
#include "test_regional_tools.moc"
