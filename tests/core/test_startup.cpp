#include "core/app/settings_files.h"
#include "core/app/startup.h"
#include "core/app/tab_labels.h"
#include "core/app/window_metrics.h"
#include "core/app/workbench.h"
#include "core/shell/manual_url.h"
#include "core/shell/prefs_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(StartupTest, AffAidScan)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/custom_aff_aid/");
    writeFile(folder + "nl.txt", "nld-NL:dutch:Nederlands\r\nA = plural\r\n");
    writeFile(folder + "nl.png", "png");
    writeFile(folder + "de.txt", "\xEF\xBB\xBF"
                                 "deu-DE:german:Deutsch\n\rB = x\n");
    writeFile(folder + "empty.txt", "");
    writeFile(folder + "zz.text", "ignored");

    const QList<AffAidEntry> entries = ScanAffAid(folder);
    ASSERT_EQ(entries.size(), 3);
    // Sorted ignoring case; the built-in legend sorts with the others.
    EXPECT_EQ(entries[0].entry, QStringLiteral("deu-DE:german:Deutsch\n0\nde.txt"));
    EXPECT_EQ(entries[0].text, QStringLiteral("deu-DE:german:Deutsch\nB = x\n"));
    EXPECT_TRUE(entries[0].imagePath.isEmpty());
    EXPECT_EQ(entries[1].entry, QStringLiteral("eng-GB:english:English GB\n30\n*****"));
    // Accepted files count from 1 in name order: de.txt is 1, nl.txt is 2.
    EXPECT_EQ(entries[2].entry, QStringLiteral("nld-NL:dutch:Nederlands\n20002\nnl.txt"));
    EXPECT_EQ(entries[2].text, QStringLiteral("nld-NL:dutch:Nederlands\nA = plural\n"));
    EXPECT_TRUE(entries[2].imagePath.endsWith(QStringLiteral("/nl.png")));

    // No folder: only the built-in entry.
    EXPECT_EQ(ScanAffAid(dir.path() + "/missing").size(), 1);
}

TEST(StartupTest, SettingsFolderLegendsAndPreferences)
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    ScriptedUi ui;
    int hooksRun = 0;
    StartupHooks hooks;
    hooks.installPosSettings = [&] { ++hooksRun; };
    RunStartupBeforeWindow(wb, ui, hooks);
    EXPECT_TRUE(QDir(dir.path() + "/settings").exists());
    EXPECT_TRUE(QFile::exists(dir.path() + "/settings/lxm3_recent_files.log"));
    EXPECT_EQ(hooksRun, 1);
    ASSERT_EQ(wb.affAidEntries.size(), 1);

    // First run: no main settings file opens the Preferences without a message.
    StartupOutcome first = RunStartupAfterWindow(wb, ui, hooks);
    EXPECT_TRUE(first.openPreferences);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(wb.gbSpecificText.isEmpty());
    EXPECT_EQ(wb.regional.izeExceptions, DefaultIzeExceptions());
    EXPECT_TRUE(wb.regional.izeExceptions.startsWith(QStringLiteral("accusation\nAcrise\n")));
    EXPECT_EQ(wb.regional.izeExceptions.count(u'\n'), 189);

    writeFile(dir.path() + "/settings/gb_specific.txt", "\xEF\xBB\xBF"
                                                        "colour\nflavour\n");
    writeFile(dir.path() + "/settings/-ize-ise_exceptions.txt", "\xEF\xBB\xBF"
                                                                "capsize\n");
    writeFile(dir.path() + "/settings/lxm3.prefs", "24\nold");
    const StartupOutcome invalid = RunStartupAfterWindow(wb, ui, hooks);
    EXPECT_TRUE(invalid.openPreferences);
    EXPECT_EQ(wb.gbSpecificText, QStringLiteral("colour\nflavour\n"));
    EXPECT_EQ(wb.regional.izeExceptions, QStringLiteral("capsize\n"));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("The .prefs file is invalid.\n\nMaybe it is from a different version of\nLexaloom."));
    EXPECT_EQ(ui.statusText(), QStringLiteral(".prefs file invalid."));

    writeFile(dir.path() + "/settings/lxm3.prefs", "25\r\n1280x600\n");
    EXPECT_FALSE(RunStartupAfterWindow(wb, ui, hooks).openPreferences);
}

TEST(StartupTest, AutomaticUpdateCheck)
{
    const qint64 day = 86400;
    const struct {
        const char *frequency;
        qint64 daysAgo;
        bool validFile;
        bool runs;
    } cases[] = {
        {"weekly", 6, true, false},   {"weekly", 7, true, true},   {"daily", 1, true, true},
        {"monthly", 29, true, false}, {"monthly", 30, true, true}, {"manual", 400, true, false},
        {"weekly", 7, false, false},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        Workbench wb(dir.path());
        ScriptedUi ui;
        if (c.validFile)
            writeFile(dir.path() + "/settings/lxm3.prefs", "25\n");
        wb.mainSettingsInForce = c.validFile;
        wb.settings.updateFrequency = QString::fromLatin1(c.frequency);
        const qint64 now = ui.fakeClock.epochSeconds;
        wb.settings.lastUpdateCheck = now - c.daysAgo * day;
        int checks = 0;
        StartupHooks hooks;
        hooks.runAutomaticUpdateCheck = [&] { ++checks; };
        const StartupOutcome outcome = RunStartupAfterWindow(wb, ui, hooks);
        EXPECT_EQ(outcome.updateCheckRan, c.runs) << c.frequency << c.daysAgo;
        EXPECT_EQ(checks, c.runs ? 1 : 0) << c.frequency << c.daysAgo;
        EXPECT_EQ(wb.settings.lastUpdateCheck, c.runs ? now : now - c.daysAgo * day);
        // The new stamp is saved with the main settings.
        Workbench reread(dir.path());
        if (c.validFile && LoadAllSettings(reread)) {
            EXPECT_EQ(reread.settings.lastUpdateCheck, c.runs ? now : reread.settings.lastUpdateCheck);
            if (c.runs) {
                EXPECT_EQ(reread.settings.updateFrequency, wb.settings.updateFrequency);
            }
        }
    }
}

TEST(TabLabelsTest, FileInfoAndSelected)
{
    EXPECT_EQ(SelectedLabelText(0, 0), QStringLiteral("Selected:None"));
    EXPECT_EQ(SelectedLabelText(0, 5), QStringLiteral("Selected:None"));
    EXPECT_EQ(SelectedLabelText(3, 5), QStringLiteral("Selected:3"));
    EXPECT_EQ(SelectedLabelText(3, 3), QStringLiteral("Selected:All"));
    EXPECT_EQ(SelectedLabelText(1234, 5000), QStringLiteral("Selected:1234"));

    Workbench wb(QStringLiteral("/tmp"));
    FileInfoTexts t = TabFileInfo(wb, DocumentKind::Dictionary);
    EXPECT_EQ(t.counter, QStringLiteral("# Words:0"));
    EXPECT_EQ(t.changed, QString());
    EXPECT_EQ(t.folder, QStringLiteral("n/a"));
    EXPECT_EQ(t.file, QStringLiteral("n/a"));
    EXPECT_EQ(t.selected, QStringLiteral("Selected:None"));

    for (int i = 0; i < 1500; ++i)
        wb.dictionary.entries.append(u"w");
    wb.dictionary.entries.setMarked(3, true);
    wb.dictionary.changed = true;
    wb.dictionary.path = QStringLiteral("/data/en/en_GB.dic");
    t = TabFileInfo(wb, DocumentKind::Dictionary);
    EXPECT_EQ(t.counter, QStringLiteral("# Words:1,500"));
    EXPECT_EQ(t.changed, QStringLiteral("*"));
    EXPECT_EQ(t.folder, QStringLiteral("/data/en"));
    EXPECT_EQ(t.file, QStringLiteral("en_GB.dic"));
    EXPECT_EQ(t.selected, QStringLiteral("Selected:1"));
    // A focused entry shows its position in the Dictionary's counter.
    wb.dictionary.selectedIndex = 1233;
    EXPECT_EQ(TabFileInfo(wb, DocumentKind::Dictionary).counter, QStringLiteral("Word: [1,234/1,500]"));
    // The Hyphenation list counts the dictionary's words but never its marks.
    t = TabFileInfo(wb, DocumentKind::Hyphenation);
    EXPECT_EQ(t.counter, QStringLiteral("# Words:1,500"));
    EXPECT_EQ(t.selected, QStringLiteral("Selected:None"));
    EXPECT_EQ(TabFileInfo(wb, DocumentKind::Autocorrect).counter, QStringLiteral("# Autocorrects:0"));
    EXPECT_EQ(TabFileInfo(wb, DocumentKind::LanguageTool).counter, QStringLiteral("# Chunks:0"));
    EXPECT_EQ(HyphenationCountText(12), QStringLiteral("# Hyphenations:12"));
    EXPECT_EQ(RuleIdText(QString()), QStringLiteral("Rule ID:n/a"));
    EXPECT_EQ(RuleNameText(QStringLiteral("Possessive")), QStringLiteral("Rule Name:Possessive"));
}

TEST(WindowMetricsTest, Scaling)
{
    MainSettings s;
    s.windowSize = QStringLiteral("1440x768");
    const WindowMetrics m = WindowMetrics::fromSettings(s);
    EXPECT_EQ(m.dx(100), 416);
    EXPECT_EQ(m.dy(100), 168);
    EXPECT_EQ(960 + m.dx(100), 1376); // the Thesaurus list
    EXPECT_EQ(m.clientWidth(), 1440);
    EXPECT_EQ(m.clientHeight(), 768);
    // Smaller than the base: truncated toward zero, not floored.
    s.windowSize = QStringLiteral("1000x590");
    const WindowMetrics small = WindowMetrics::fromSettings(s);
    EXPECT_EQ(small.dx(10), -2);
    EXPECT_EQ(small.dy(50), -5);
}

TEST(WindowMetricsTest, LayoutRebuildKeepsDocumentsButNotFocusOrUndo)
{
    Workbench wb(QStringLiteral("/tmp"));
    wb.dictionary.entries.append(u"word");
    wb.dictionary.entries.setMarked(0, true);
    wb.dictionary.selectedIndex = 0;
    wb.hyphenation.selectedIndex = 0;
    wb.thesaurus.selectedIndex = 3;
    wb.autocorrect.selectedIndex = 7;
    wb.dictionary.undoSnapshot = DictionaryDocument::Snapshot();
    wb.thesaurus.redoSnapshot = ListSnapshot();
    wb.autocorrect.undoSnapshot = ListSnapshot();
    wb.dictionary.affText = QStringLiteral("SET UTF-8");
    wb.currentTab = DocumentKind::Thesaurus;
    PrepareLayoutRebuild(wb);
    for (qint64 index : {wb.dictionary.selectedIndex, wb.thesaurus.selectedIndex, wb.hyphenation.selectedIndex,
                         wb.autocorrect.selectedIndex})
        EXPECT_EQ(index, -1);
    for (DocumentKind kind : allDocumentKinds) {
        EXPECT_FALSE(wb.hasUndoStep(kind));
        EXPECT_FALSE(wb.hasRedoStep(kind));
    }
    EXPECT_EQ(wb.dictionary.entries.size(), 1);
    EXPECT_TRUE(wb.dictionary.entries.isMarked(0));
    EXPECT_EQ(wb.dictionary.affText, QStringLiteral("SET UTF-8"));
    EXPECT_EQ(wb.currentTab, DocumentKind::Thesaurus);
}

TEST(ManualUrlTest, FileUrlWithAnchor)
{
    EXPECT_EQ(ManualUrl(QStringLiteral("/opt/lexaloom/"), QStringLiteral("#7.apache_license")),
              QStringLiteral("file:///opt/lexaloom/Lexaloom_manual_V30.html#7.apache_license"));
    EXPECT_EQ(ManualUrl(QStringLiteral("/home/an na/ö/")),
              QStringLiteral("file:///home/an%20na/%C3%B6/Lexaloom_manual_V30.html"));
}
