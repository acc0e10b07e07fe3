#include "core/app/settings_files.h"
#include "core/app/startup_settings.h"
#include "core/app/workbench.h"
#include "core/shell/prefs_store.h"
#include "core/shell/settings.h"

#include "scripted_ui.h"
#include "gtest_qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <ostream>
#include <random>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

QByteArray le32(qint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray le64(qint64 v)
{
    char b[8];
    qToLittleEndian(v, b);
    return QByteArray(b, 8);
}

// A program folder of its own for each test.
class PrefsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("settings")));
    }

    QString folder() const { return m_dir.path(); }

    void writeFile(const QString &relative, const QByteArray &bytes) const
    {
        QFile f(m_dir.filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray readFile(const QString &relative) const
    {
        QFile f(m_dir.filePath(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A fresh start over the folder: defaults, then every settings file.
    Workbench loaded(bool *mainLoaded = nullptr) const
    {
        Workbench wb(folder());
        const bool result = LoadAllSettings(wb);
        if (mainLoaded)
            *mainLoaded = result;
        return wb;
    }

private:
    QTemporaryDir m_dir;
};

// Every value the windows and tools rely on lies in its range.
void expectInRange(const MainSettings &s)
{
    EXPECT_GT(s.windowWidth(), 0);
    EXPECT_GE(s.listPageRows, 1);
    EXPECT_LE(s.listPageRows, 100);
    EXPECT_GE(s.rowPixelsPlus, -10);
    EXPECT_LE(s.rowPixelsPlus, 10);
    EXPECT_GE(s.minLinesBetweenRules, 1);
    EXPECT_LE(s.minLinesBetweenRules, 50);
    EXPECT_LE(s.thousandsSeparator.toUcs4().size(), 1);
    for (const qint32 c : {s.colourPrimary, s.colourSuffix, s.colourPrefix, s.colourBoth}) {
        EXPECT_GE(c, 0);
        EXPECT_LE(c, 7);
    }
    EXPECT_TRUE(QStringList({"manual", "daily", "weekly", "monthly"}).contains(s.updateFrequency));
    EXPECT_GE(s.decodeWarnLimit, 0);
    EXPECT_LE(s.decodeWarnLimit, 99999999);
    EXPECT_FALSE(s.listFontName.isEmpty());
    EXPECT_EQ(QString::number(s.listFontPointSize()), s.listFontSize);
    EXPECT_GE(s.autocorrectLeftSpaces, 1);
    EXPECT_LE(s.autocorrectLeftSpaces, 50);
}

MainSettings changedSettings()
{
    MainSettings s;
    s.windowSize = QStringLiteral("1440x768");
    s.desktopSize = QStringLiteral("1920x1080");
    s.maxWindowSize = QStringLiteral("1920x1003");
    s.listPageRows = 100;
    s.rowPixelsPlus = -10;
    s.minLinesBetweenRules = 50;
    s.affAidLanguage = QStringLiteral("pt-PT:português");
    s.thousandsSeparator = QString();
    s.colourPrimary = 7;
    s.colourSuffix = 6;
    s.colourPrefix = 5;
    s.colourBoth = 3;
    s.updateFrequency = QStringLiteral("weekly");
    s.lastUpdateCheck = 4102444800LL; // beyond 32 bits
    s.decodeWarnLimit = 0;
    s.listFontName = QStringLiteral("DejaVu Sans");
    s.listFontSize = QStringLiteral("12");
    s.autocorrectLeftSpaces = 50;
    s.reserved = -123456;
    return s;
}

} // namespace

TEST_F(PrefsStoreTest, DefaultMainFileIsByteExact)
{
    Workbench wb(folder());
    ASSERT_TRUE(SaveMainSettings(wb));
    const QByteArray expected = QByteArray("25\n1280x600\n\n\n") + le32(13) + le32(0) + le32(1) + "n/a\n,\n"
                                + le32(0) + le32(1) + le32(2) + le32(4) + "monthly\n" + le64(1705449601)
                                + le32(2000000) + "Arial\n10\n" + le32(2) + le32(0);
    EXPECT_EQ(readFile(settingsFiles::main).toHex(), expected.toHex());
    // The Quad of the build date, spelled out: 2024-01-17 00:00:01.
    EXPECT_EQ(le64(1705449601).toHex(), QByteArray("81 18 a7 65 00 00 00 00").replace(' ', ""));
    EXPECT_EQ(FormatStamp(MainSettings::defaultLastUpdateCheck()), QStringLiteral("2024-01-17 00:00:01"));
}

TEST_F(PrefsStoreTest, MainFileRoundTripsEveryItem)
{
    Workbench wb(folder());
    wb.settings = changedSettings();
    ASSERT_TRUE(SaveMainSettings(wb));
    bool mainLoaded = false;
    const Workbench next = loaded(&mainLoaded);
    EXPECT_TRUE(mainLoaded);
    EXPECT_TRUE(next.mainSettingsInForce);
    EXPECT_EQ(next.settings, changedSettings());

    // Saving replaces the whole file: shorter values leave nothing of the old one behind.
    wb.settings = MainSettings();
    ASSERT_TRUE(SaveMainSettings(wb));
    EXPECT_EQ(readFile(settingsFiles::main), EncodeMainSettings(MainSettings()));
}

TEST_F(PrefsStoreTest, WrongVersionOrMissingFileKeepsEveryDefault)
{
    const QByteArray body = EncodeMainSettings(changedSettings()).mid(3); // without "25\n"
    const struct {
        const char *label;
        QByteArray bytes;
        bool present;
    } cases[] = {
        {"version 24", "24\n" + body, true},
        {"version 26", "26\n" + body, true},
        {"trailing space", "25 \n" + body, true},
        {"byte-order mark", "\xEF\xBB\xBF" "25\n" + body, true},
        {"version in UTF-16", QByteArray("2\0" "5\0\n\0", 6) + body, true},
        {"empty file", QByteArray(), true},
        {"missing file", QByteArray(), false},
    };
    for (const auto &c : cases) {
        QFile::remove(QDir(folder()).filePath(settingsFiles::main));
        if (c.present)
            writeFile(settingsFiles::main, c.bytes);
        bool mainLoaded = true;
        const Workbench wb = loaded(&mainLoaded);
        EXPECT_FALSE(mainLoaded) << c.label;
        EXPECT_FALSE(wb.mainSettingsInForce) << c.label;
        EXPECT_EQ(wb.settings, MainSettings()) << c.label;
    }
}

TEST_F(PrefsStoreTest, ReaderAcceptsEveryLineEndAndGivesEmptyAndZeroPastTheEnd)
{
    PrefsReader lines(QByteArray("25\r\na\rb\nc\r\n") + le32(-7) + le64(-9) + "\x85");
    EXPECT_TRUE(lines.readVersion());
    EXPECT_EQ(lines.readLine(), QStringLiteral("a"));
    EXPECT_EQ(lines.readLine(), QStringLiteral("b"));
    EXPECT_EQ(lines.readLine(), QStringLiteral("c"));
    EXPECT_EQ(lines.readLong(), -7);
    EXPECT_EQ(lines.readQuad(), -9);
    EXPECT_EQ(lines.readByte(), qint8(-123)); // Bytes are signed
    EXPECT_TRUE(lines.atEnd());
    EXPECT_EQ(lines.readLine(), QString());
    EXPECT_EQ(lines.readLong(), 0);
    EXPECT_EQ(lines.readQuad(), 0);
    EXPECT_EQ(lines.readByte(), 0);

    PrefsReader cut(QByteArray("\x01\x02\x03"));
    EXPECT_EQ(cut.readLong(), 0); // a number cut short counts as missing
    EXPECT_TRUE(cut.atEnd());

    // A line break inside a value would shift every later item.
    PrefsWriter writer;
    writer.writeLine(QStringLiteral("two\nlines\r"));
    writer.writeLong(5);
    PrefsReader back(writer.bytes());
    EXPECT_TRUE(back.readVersion());
    EXPECT_EQ(back.readLine(), QStringLiteral("two lines "));
    EXPECT_EQ(back.readLong(), 5);
}

TEST_F(PrefsStoreTest, ValuesOutsideTheirRangesTakeTheirDefaults)
{
    const MainSettings defaults;
    const struct {
        const char *label;
        std::function<void(MainSettings &)> damage;
        std::function<bool(const MainSettings &)> expected;
    } cases[] = {
        {"rows 0", [](MainSettings &s) { s.listPageRows = 0; }, [&](auto &s) { return s.listPageRows == 13; }},
        {"rows 101", [](MainSettings &s) { s.listPageRows = 101; }, [&](auto &s) { return s.listPageRows == 13; }},
        {"pixels 11", [](MainSettings &s) { s.rowPixelsPlus = 11; }, [&](auto &s) { return s.rowPixelsPlus == 0; }},
        {"pixels -10", [](MainSettings &s) { s.rowPixelsPlus = -10; }, [&](auto &s) { return s.rowPixelsPlus == -10; }},
        {"rule lines 0", [](MainSettings &s) { s.minLinesBetweenRules = 0; },
         [&](auto &s) { return s.minLinesBetweenRules == 1; }},
        {"colour 8", [](MainSettings &s) { s.colourBoth = 8; }, [&](auto &s) { return s.colourBoth == 4; }},
        {"colour -1", [](MainSettings &s) { s.colourSuffix = -1; }, [&](auto &s) { return s.colourSuffix == 1; }},
        {"frequency", [](MainSettings &s) { s.updateFrequency = "hourly"; },
         [&](auto &s) { return s.updateFrequency == "monthly"; }},
        {"limit -1", [](MainSettings &s) { s.decodeWarnLimit = -1; },
         [&](auto &s) { return s.decodeWarnLimit == 2000000; }},
        {"limit 10^8", [](MainSettings &s) { s.decodeWarnLimit = 100000000; },
         [&](auto &s) { return s.decodeWarnLimit == 2000000; }},
        {"limit 0 switches off", [](MainSettings &s) { s.decodeWarnLimit = 0; },
         [&](auto &s) { return s.decodeWarnLimit == 0; }},
        {"spaces 51", [](MainSettings &s) { s.autocorrectLeftSpaces = 51; },
         [&](auto &s) { return s.autocorrectLeftSpaces == 2; }},
        {"two separators", [](MainSettings &s) { s.thousandsSeparator = ",,"; },
         [&](auto &s) { return s.thousandsSeparator == ","; }},
        {"astral separator", [](MainSettings &s) { s.thousandsSeparator = QStringLiteral("\U0001F600"); },
         [&](auto &s) { return s.thousandsSeparator == QStringLiteral("\U0001F600"); }},
        {"window size", [](MainSettings &s) { s.windowSize = "wide"; },
         [&](auto &s) { return s.windowSize == "1280x600"; }},
        {"zero window size", [](MainSettings &s) { s.windowSize = "0x600"; },
         [&](auto &s) { return s.windowSize == "1280x600"; }},
        {"font name", [](MainSettings &s) { s.listFontName = " "; },
         [&](auto &s) { return s.listFontName == "Arial"; }},
        {"font size", [](MainSettings &s) { s.listFontSize = "big"; },
         [&](auto &s) { return s.listFontSize == "10"; }},
        {"font size 0", [](MainSettings &s) { s.listFontSize = "0"; },
         [&](auto &s) { return s.listFontSize == "10"; }},
        {"reserved kept", [](MainSettings &s) { s.reserved = -1; }, [&](auto &s) { return s.reserved == -1; }},
    };
    for (const auto &c : cases) {
        MainSettings damaged = changedSettings();
        c.damage(damaged);
        MainSettings read;
        ASSERT_TRUE(DecodeMainSettings(EncodeMainSettings(damaged), read)) << c.label;
        EXPECT_TRUE(c.expected(read)) << c.label;
        expectInRange(read);
    }
}

TEST_F(PrefsStoreTest, TruncatedGarbageAndOversizedFilesStayInRange)
{
    // Every cut of a full file: the items before the cut survive, the rest read as empty/zero.
    const QByteArray full = EncodeMainSettings(changedSettings());
    for (qsizetype cut = 3; cut <= full.size(); ++cut) {
        MainSettings read;
        ASSERT_TRUE(DecodeMainSettings(full.left(cut), read)) << cut;
        expectInRange(read);
    }
    MainSettings versionOnly;
    ASSERT_TRUE(DecodeMainSettings("25\n", versionOnly));
    EXPECT_EQ(versionOnly.listPageRows, 13);
    EXPECT_EQ(versionOnly.thousandsSeparator, QString()); // empty is a valid separator
    EXPECT_EQ(versionOnly.lastUpdateCheck, 0);

    std::mt19937 random(25);
    for (int round = 0; round < 2000; ++round) {
        QByteArray garbage("25\n");
        const int length = int(random() % 200);
        for (int i = 0; i < length; ++i)
            garbage.append(char(random() % 256));
        MainSettings read;
        ASSERT_TRUE(DecodeMainSettings(garbage, read));
        expectInRange(read);
    }

    // An oversized file is read only up to the cap.
    QByteArray huge = "25\n" + QByteArray(6 * 1024 * 1024, 'x');
    writeFile(settingsFiles::main, huge);
    bool mainLoaded = false;
    const Workbench wb = loaded(&mainLoaded);
    EXPECT_TRUE(mainLoaded);
    EXPECT_EQ(wb.settings.windowSize, MainSettings().windowSize);
    expectInRange(wb.settings);
}

TEST_F(PrefsStoreTest, WindowFilesRoundTrip)
{
    Workbench wb(folder());
    WindowSettings &ws = wb.windowSettings;
    ws.dicStats.value = QStringLiteral("123456");
    ws.dicStats.lastRemember = DicStatsReference::lastRememberPrefix() + FormatStamp(1705449601 + 86400 + 3722);
    ws.multiwords = {0, 0, QStringLiteral("geo: Ærø")};
    ws.multiwords.languageIndex = 1;
    ws.multiwords.posIndex = 26;
    ws.pos.languages.append(QStringLiteral("Galician"));
    ws.pos.rules.append(QStringList{QStringLiteral("[CAT=np]\nNPCS000\nName"), QStringLiteral("\n\n")});
    ws.pos.selectedLanguage = 3;
    ws.derivedSortChoice = 5;
    ws.duplicates = {true, true, false, false};
    ASSERT_TRUE(SaveDicStatsReference(wb));
    ASSERT_TRUE(SaveMultiwordPrefs(wb));
    ASSERT_TRUE(SavePosSelection(wb));
    ASSERT_TRUE(SavePosLists(wb));
    ASSERT_TRUE(SaveDerivedSortChoice(wb));
    ASSERT_TRUE(SaveDuplicateOptions(wb));

    EXPECT_EQ(ws.dicStats.lastRemember, QStringLiteral("Last Remember:2024-01-18 01:02:03"));
    EXPECT_EQ(readFile(settingsFiles::dicStatsRemember), "25\n123456\nLast Remember:2024-01-18 01:02:03\n");
    EXPECT_EQ(readFile(settingsFiles::multiwords), "25\n" + le32(1) + le32(26) + "geo: \xC3\x86r\xC3\xB8\n");
    EXPECT_EQ(readFile(settingsFiles::posSelection), "25\n" + le32(3));
    EXPECT_EQ(readFile(settingsFiles::derivedSort), "25\n" + le32(5));
    EXPECT_EQ(readFile(settingsFiles::duplicateOptions), QByteArray("25\n\x01\x01\x00\x00", 7));
    EXPECT_TRUE(readFile(settingsFiles::posLists).endsWith("Galician\n2\n[CAT=np]\tNPCS000\tName\n\t\t\n"));

    const Workbench next = loaded();
    EXPECT_EQ(next.windowSettings, ws);
    EXPECT_FALSE(next.mainSettingsInForce);

    ASSERT_TRUE(RemoveSettingsFile(wb.programFolder(), settingsFiles::dicStatsRemember));
    EXPECT_FALSE(QFile::exists(QDir(folder()).filePath(settingsFiles::dicStatsRemember)));
    EXPECT_TRUE(RemoveSettingsFile(wb.programFolder(), settingsFiles::dicStatsRemember));
    EXPECT_EQ(loaded().windowSettings.dicStats, DicStatsReference());
}

TEST_F(PrefsStoreTest, WindowFilesWithoutVersionOrOutOfRangeKeepDefaults)
{
    const WindowSettings defaults;
    EXPECT_EQ(loaded().windowSettings, defaults);
    EXPECT_EQ(defaults.pos.languages, QStringList({"Other", "Portuguese", "English"}));
    EXPECT_EQ(defaults.pos.rules[1].size(), 23);
    EXPECT_EQ(defaults.pos.rules[2].size(), 27);
    EXPECT_EQ(defaults.pos.rules[2][26], QStringLiteral("Taxonomic tribe\nNNP\nTaxonomic tribe"));

    const struct {
        const char *label;
        QString file;
        QByteArray bytes;
        std::function<bool(const WindowSettings &)> expected;
    } cases[] = {
        {"stats version 24", settingsFiles::dicStatsRemember, "24\n5\nLast Remember:x\n",
         [&](auto &w) { return w.dicStats == defaults.dicStats; }},
        {"stats without stamp", settingsFiles::dicStatsRemember, "25\n5\n",
         [&](auto &w) { return w.dicStats.value == "5" && w.dicStats.lastRemember == "Last Remember:N/A"; }},
        {"multiwords version 24", settingsFiles::multiwords, "24\n" + le32(0) + le32(3) + "x\n",
         [&](auto &w) { return w.multiwords == defaults.multiwords; }},
        {"multiwords out of range", settingsFiles::multiwords, "25\n" + le32(3) + le32(37) + "x\n",
         [&](auto &w) { return w.multiwords == MultiwordPrefs{2, 0, "x"}; }},
        {"multiwords empty file", settingsFiles::multiwords, QByteArray(),
         [&](auto &w) { return w.multiwords == defaults.multiwords; }},
        {"sort choice 6", settingsFiles::derivedSort, "25\n" + le32(6),
         [&](auto &w) { return w.derivedSortChoice == 1; }},
        {"sort choice truncated", settingsFiles::derivedSort, "25\n\x03",
         [&](auto &w) { return w.derivedSortChoice == 1; }},
        {"duplicate states 2 and -1", settingsFiles::duplicateOptions, "25\n\x02\x01\xff\x00",
         [&](auto &w) { return w.duplicates == DuplicateOptions{false, true, true, false}; }},
        {"duplicate states truncated to zero", settingsFiles::duplicateOptions, "25\n\x01",
         [&](auto &w) { return w.duplicates == DuplicateOptions{true, false, false, false}; }},
        {"POS selection beyond the table", settingsFiles::posSelection, "25\n" + le32(3),
         [&](auto &w) { return w.pos.selectedLanguage == 2; }},
        {"POS selection negative", settingsFiles::posSelection, "25\n" + le32(-1),
         [&](auto &w) { return w.pos.selectedLanguage == 2; }},
        {"POS lists version 24", settingsFiles::posLists, "24\n1\nOnly\n0\n",
         [&](auto &w) { return w.pos == defaults.pos; }},
        {"POS lists truncated", settingsFiles::posLists, "25\n2\nA\n1\na\tb\tc\nB\n2\nx\ty\tz\n",
         [&](auto &w) { return w.pos == defaults.pos; }},
        {"POS lists count not a number", settingsFiles::posLists, "25\ntwo\n",
         [&](auto &w) { return w.pos == defaults.pos; }},
        {"POS lists too many rules", settingsFiles::posLists, "25\n1\nA\n301\n",
         [&](auto &w) { return w.pos == defaults.pos; }},
        {"POS lists huge language count", settingsFiles::posLists, "25\n2147483647\n",
         [&](auto &w) { return w.pos == defaults.pos; }},
        {"POS lists of one language", settingsFiles::posLists, "25\n1\nA\n1\na\tb\tc\n",
         [&](auto &w) {
             return w.pos.languages == QStringList{"A"} && w.pos.rules == QList<QStringList>{{"a\nb\nc"}}
                    && w.pos.selectedLanguage == 0; // the default 2 is no longer a language
         }},
    };
    for (const auto &c : cases) {
        QDir(QDir(folder()).filePath(QStringLiteral("settings"))).removeRecursively();
        QDir(folder()).mkdir(QStringLiteral("settings"));
        writeFile(c.file, c.bytes);
        EXPECT_TRUE(c.expected(loaded().windowSettings)) << c.label;
    }

    // Random bytes after a valid version line never reach a window out of range.
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        for (const QString &file : {settingsFiles::multiwords, settingsFiles::posSelection, settingsFiles::posLists,
                                    settingsFiles::derivedSort, settingsFiles::duplicateOptions}) {
            QByteArray garbage("25\n");
            for (int i = int(random() % 40); i > 0; --i)
                garbage.append(char(random() % 256));
            writeFile(file, garbage);
        }
        const WindowSettings ws = loaded().windowSettings;
        EXPECT_GE(ws.multiwords.languageIndex, 0);
        EXPECT_LT(ws.multiwords.languageIndex, MultiwordPrefs::languageCount);
        EXPECT_GE(ws.multiwords.posIndex, 0);
        EXPECT_LT(ws.multiwords.posIndex, MultiwordPrefs::posRowCount);
        EXPECT_GE(ws.derivedSortChoice, 1);
        EXPECT_LE(ws.derivedSortChoice, 5);
        EXPECT_GE(ws.pos.selectedLanguage, 0);
        EXPECT_LT(ws.pos.selectedLanguage, ws.pos.languages.size());
        EXPECT_EQ(ws.pos.rules.size(), ws.pos.languages.size());
    }
}

TEST_F(PrefsStoreTest, WritersCreateTheSettingsFolderAndNeverHarmTheOldFile)
{
    QDir(QDir(folder()).filePath(QStringLiteral("settings"))).removeRecursively();
    Workbench wb(folder());
    ASSERT_TRUE(SaveDerivedSortChoice(wb));
    EXPECT_EQ(readFile(settingsFiles::derivedSort), "25\n" + le32(1));

    // A folder in the file's place cannot be replaced: the writer reports it.
    QDir(folder()).mkpath(settingsFiles::main);
    EXPECT_FALSE(SaveMainSettings(wb));
    EXPECT_TRUE(QFileInfo(QDir(folder()).filePath(settingsFiles::main)).isDir());
}

TEST_F(PrefsStoreTest, StartupCheckReportsAnInvalidMainFile)
{
    const struct {
        const char *label;
        std::optional<QByteArray> bytes;
        bool opensPreferences;
        bool reported;
    } cases[] = {
        {"first run", std::nullopt, true, false},
        {"empty file", QByteArray(), true, false},
        {"version 24", EncodeMainSettings(MainSettings()).replace(0, 2, "24"), true, true},
        {"garbage", QByteArray("\x00\x01\x02", 3), true, true},
        {"valid", EncodeMainSettings(MainSettings()), false, false},
    };
    for (const auto &c : cases) {
        QFile::remove(QDir(folder()).filePath(settingsFiles::main));
        if (c.bytes)
            writeFile(settingsFiles::main, *c.bytes);
        bool mainLoaded = false;
        const Workbench wb = loaded(&mainLoaded);
        ScriptedUi ui;
        EXPECT_EQ(ReportMainSettingsCheck(wb, ui), c.opensPreferences) << c.label;
        EXPECT_EQ(mainLoaded, !c.opensPreferences) << c.label;
        EXPECT_EQ(wb.settings, MainSettings()) << c.label;
        if (c.reported) {
            ASSERT_EQ(ui.messages.size(), 1) << c.label;
            EXPECT_EQ(ui.messages[0].title, QStringLiteral("Error"));
            EXPECT_EQ(ui.messages[0].text, QStringLiteral("The .prefs file is invalid.\n\nMaybe it is from a "
                                                          "different version of\nLexaloom."));
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
            EXPECT_EQ(ui.statusText(), QStringLiteral(".prefs file invalid."));
        } else {
            EXPECT_TRUE(ui.messages.isEmpty()) << c.label;
            EXPECT_TRUE(ui.statuses.isEmpty()) << c.label;
        }
    }
}

TEST(UpdateScheduleTest, CheckIsDueOnceTheIntervalHasPassed)
{
    const qint64 day = 86400;
    const qint64 last = MainSettings::defaultLastUpdateCheck();
    const struct {
        const char *frequency;
        qint64 now;
        bool due;
    } cases[] = {
        {"manual", last + 365 * day, false}, {"daily", last + day - 1, false}, {"daily", last + day, true},
        {"weekly", last + 6 * day, false},   {"weekly", last + 7 * day, true}, {"monthly", last + 29 * day, false},
        {"monthly", last + 30 * day, true},  {"monthly", last - 1, true}, // a check stamped in the future
        {"manual", last - 1, false},
    };
    for (const auto &c : cases) {
        MainSettings s;
        s.updateFrequency = QString::fromLatin1(c.frequency);
        EXPECT_EQ(IsUpdateCheckDue(s, c.now), c.due) << c.frequency << " " << c.now - last;
    }
}

TEST_F(PrefsStoreTest, AutomaticCheckRunsWhenDueAndSavesItsTime)
{
    const qint64 day = 86400;
    const struct {
        const char *label;
        bool mainLoaded;
        qint64 elapsed;
        bool runs;
    } cases[] = {
        {"six days", true, 6 * day, false},
        {"seven days", true, 7 * day, true},
        {"first run", false, 7 * day, false},
    };
    for (const auto &c : cases) {
        Workbench wb(folder());
        wb.settings.updateFrequency = QStringLiteral("weekly");
        ASSERT_TRUE(SaveMainSettings(wb));
        const QByteArray before = readFile(settingsFiles::main);
        ScriptedUi ui;
        ui.fakeClock.epochSeconds = wb.settings.lastUpdateCheck + c.elapsed;
        int checks = 0;
        EXPECT_EQ(RunAutomaticUpdateCheck(wb, ui, c.mainLoaded, [&] { ++checks; }), c.runs) << c.label;
        EXPECT_EQ(checks, c.runs ? 1 : 0) << c.label;
        if (c.runs) {
            EXPECT_EQ(wb.settings.lastUpdateCheck, ui.fakeClock.epochSeconds);
            EXPECT_EQ(loaded().settings.lastUpdateCheck, ui.fakeClock.epochSeconds);
        } else {
            EXPECT_EQ(readFile(settingsFiles::main), before) << c.label;
        }
    }
}
