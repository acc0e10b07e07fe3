#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "core/app/workbench.h"
#include "gui/app/command_wiring.h"
#include "gui/shell/main_window.h"

#include "scripted_ui.h"
#include "gui_test_registry.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

class TestWordlistExtractionWiring final : public QObject {
    Q_OBJECT

private slots:
    void menuCommandsReachTheCore();
};

// Open a pair through the menu, then Extract wordlist > All .txt and Compounds
// .txt (LanguageTool) and Count wordlist through their menu entries.
void TestWordlistExtractionWiring::menuCommandsReachTheCore()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir().mkpath(dir.path() + "/settings");
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(dir.path() + "/xx.aff", "SET UTF-8\nSFX S Y 1\nSFX S 0 s .\nSFX L Y 1\nSFX L 0 -lo .\n");
    write(dir.path() + "/xx.dic", "3\nwalk/SL\tpo:verb\n/odd\nzebra\n");

    Workbench wb(dir.path());
    ScriptedUi ui;
    MainWindow window(wb, ui);
    WireCommands(window, wb, ui);
    window.show();
    ui.openPaths = {dir.path() + "/xx.dic"};
    window.menuAction(CommandId::Open)->trigger();
    window.dispatcher().afterEvent();

    ui.clearRecords();
    ui.savePaths = {dir.path() + "/all", dir.path() + "/lt.TXT"};
    window.menuAction(CommandId::ExtractAllTxt)->trigger();
    QVERIFY(ui.statusText().startsWith(QStringLiteral("OK. Words Found:4 ")));
    window.menuAction(CommandId::ExtractCompoundsLanguageTool)->trigger();
    QVERIFY(ui.statusText().startsWith(QStringLiteral("OK. Words Found:1 ")));
    window.menuAction(CommandId::CountWordlist)->trigger();
    QVERIFY(ui.statusText().startsWith(QStringLiteral("OK. Words Found:4 ")));
    QCOMPARE(ui.dialogTitles, QStringList({"Extract wordlist to file", "Extract Compounds to file"}));

    QFile all(dir.path() + "/all.txt");
    QVERIFY(all.open(QIODevice::ReadOnly));
    QCOMPARE(all.readAll(), QByteArray("\xEF\xBB\xBF" "walk\nwalks\nwalk-lo\nzebra\n"));
    QFile lt(dir.path() + "/lt.TXT");
    QVERIFY(lt.open(QIODevice::ReadOnly));
    QCOMPARE(lt.readAll(), QByteArray("\xEF\xBB\xBF" "walk-lo*\n"));
}

LEXALOOM_GUI_TEST(TestWordlistExtractionWiring)
#include "test_wordlist_extraction_wiring.moc"
