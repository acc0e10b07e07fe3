#include "core/app/preferences_session.h"
#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/shell/prefs_store.h"
#include "core/shell/settings.h"

#include "scripted_ui.h"
#include "gtest_qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// A desktop whose maximised client area is 1920 x 1040, with 50 pixels of bars.
constexpr DesktopMeasurements wideDesktop{1920, 1080, 1920, 1040, 50};

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        wb = std::make_unique<Workbench>(m_dir.path());
        // Most cases start from a loaded settings file: no first-start sizing.
        wb->mainSettingsInForce = true;
    }

    QByteArray mainFile() const
    {
        QFile f(wb->settingsPath(settingsFiles::main));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Workbench> wb;
    ScriptedUi ui;
};

} // namespace

// What each spin field passes on and whether it turns red, for every kind of text.
TEST(PreferencesFieldsTest, SpinTextsAreValidatedAndRounded)
{
    using F = PrefsField;
    const struct {
        F field;
        const char *text;
        qint32 value;
        bool valid;
    } cases[] = {
        {F::VisibleLines, "18", 18, true},
        {F::VisibleLines, "12.", 0, false}, // a trailing point is not a number yet
        {F::VisibleLines, "", 0, false},
        {F::VisibleLines, ".5", 0, false},
        {F::VisibleLines, "1.2.3", 0, false},
        {F::VisibleLines, "1-2", 0, false},
        {F::VisibleLines, "-", 0, false},
        {F::VisibleLines, "12a", 0, false},
        {F::VisibleLines, " 12", 0, false},
        {F::VisibleLines, "1e2", 0, false},
        {F::VisibleLines, "12.4", 12, true},
        {F::VisibleLines, "12.5", 13, true},
        {F::VisibleLines, "100", 100, true},
        {F::VisibleLines, "101", 101, false},
        {F::VisibleLines, "0", 0, false},
        {F::VisibleLines, "99999999999999999999", 101, false}, // no overflow into the range
        {F::MinLinesBetweenRules, "50", 50, true},
        {F::MinLinesBetweenRules, "51", 51, false},
        {F::MinLinesBetweenRules, "x", 0, false},
        {F::RowPixels, "-10", -10, true},
        {F::RowPixels, "10", 10, true},
        {F::RowPixels, "-11", -11, false},
        {F::RowPixels, "-", -11, false},
        {F::RowPixels, "-3.6", -4, true},
        {F::DecodeWarnLimit, "0", 0, true},
        {F::DecodeWarnLimit, "99999999", 99999999, true},
        {F::DecodeWarnLimit, "100000000", 100000000, false},
        {F::DecodeWarnLimit, "", -1, false},
        {F::DecodeWarnLimit, "-1", -1, false},
        {F::AutocorrectSpaces, "1", 1, true},
        {F::AutocorrectSpaces, "50", 50, true},
        {F::AutocorrectSpaces, "0", 0, false},
        {F::AutocorrectSpaces, "5.", 0, false},
    };
    for (const auto &c : cases) {
        const SpinValue v = ParseSpinText(c.field, QString::fromUtf8(c.text));
        EXPECT_EQ(v.value, c.value) << int(c.field) << " '" << c.text << "'";
        EXPECT_EQ(v.valid, c.valid) << int(c.field) << " '" << c.text << "'";
    }
}

// "Save" checks four fields and "OK" all five, in order; the first failure names its
// field, shows its message and stops the action.
TEST_F(PreferencesTest, RangeChecksStopSaveAndOkWithTheirMessages)
{
    using F = PrefsField;
    const struct {
        F field;
        const char *text;
        const char *message;
        bool saveChecks;
    } cases[] = {
        {F::VisibleLines, "12.", "The number of lines must be in the range 1:100", true},
        {F::VisibleLines, "101", "The number of lines must be in the range 1:100", true},
        {F::MinLinesBetweenRules, "0", "The number of lines must be in the range 1:50", true},
        {F::RowPixels, "11", "The number of 'Pixels Plus' must be in the range -10:10", true},
        {F::DecodeWarnLimit, "-5", "The number of 'Warn Over N Word' must be in the range 0:99999999", true},
        {F::AutocorrectSpaces, "51", "The number of spaces on left for autocorrect must be in the range 1:50", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const MainSettings before = wb->settings;
        QFile::remove(wb->settingsPath(settingsFiles::main));
        ui.clearRecords();
        PreferencesSession s(*wb, ui, wideDesktop);
        EXPECT_FALSE(s.setFieldText(c.field, QString::fromUtf8(c.text)));

        const auto saved = s.save();
        if (c.saveChecks) {
            EXPECT_EQ(saved, c.field);
            EXPECT_TRUE(mainFile().isEmpty());
            ASSERT_EQ(ui.messages.size(), 1);
        } else {
            EXPECT_FALSE(saved.has_value());
            EXPECT_FALSE(mainFile().isEmpty());
            EXPECT_TRUE(ui.messages.isEmpty());
        }
        ui.clearRecords();
        const PreferencesSession::OkOutcome ok = s.ok();
        EXPECT_EQ(ok.failedField, c.field);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(ui.messages[0].text, QString::fromUtf8(c.message));
        s.cancel();
        EXPECT_EQ(wb->settings.*(&MainSettings::listPageRows), before.listPageRows);
    }

    // The first failing field in checking order wins; a limit of 0 passes.
    ui.clearRecords();
    PreferencesSession s(*wb, ui, wideDesktop);
    s.setFieldText(PrefsField::AutocorrectSpaces, QStringLiteral("0"));
    s.setFieldText(PrefsField::RowPixels, QStringLiteral("-20"));
    s.setFieldText(PrefsField::MinLinesBetweenRules, QStringLiteral("99"));
    EXPECT_EQ(s.ok().failedField, PrefsField::MinLinesBetweenRules);
    s.setFieldText(PrefsField::MinLinesBetweenRules, QStringLiteral("3"));
    EXPECT_EQ(s.ok().failedField, PrefsField::RowPixels);
    s.setFieldText(PrefsField::RowPixels, QStringLiteral("2"));
    EXPECT_EQ(s.ok().failedField, PrefsField::AutocorrectSpaces);
    s.setFieldText(PrefsField::AutocorrectSpaces, QStringLiteral("4"));
    s.setFieldText(PrefsField::DecodeWarnLimit, QStringLiteral("0"));
    EXPECT_FALSE(s.save().has_value());
    EXPECT_FALSE(s.ok().failedField.has_value());
    EXPECT_EQ(ui.messages.size(), 3);
}

// "Save" writes exactly what the window shows, and the file reads back to the same
// values; "Cancel" afterwards leaves the file and restores the running program.
TEST_F(PreferencesTest, SaveWritesTheFileByteExactAndCancelRestoresTheProgram)
{
    const MainSettings before = wb->settings;
    PreferencesSession s(*wb, ui, wideDesktop);
    s.chooseResolution(3);
    s.setFieldText(PrefsField::VisibleLines, QStringLiteral("21"));
    s.setFieldText(PrefsField::RowPixels, QStringLiteral("-3"));
    s.setFieldText(PrefsField::MinLinesBetweenRules, QStringLiteral("7"));
    s.setFieldText(PrefsField::DecodeWarnLimit, QStringLiteral("0"));
    s.setFieldText(PrefsField::AutocorrectSpaces, QStringLiteral("5"));
    s.setSeparator(QStringLiteral("."));
    s.setUpdateFrequency(QStringLiteral("weekly"));
    s.setColour(PreferencesSession::Colour::Both, 7);
    s.setFont(QStringLiteral("DejaVu Sans"), 12);
    EXPECT_FALSE(s.save().has_value());
    EXPECT_TRUE(ui.messages.isEmpty());

    const MainSettings shown = wb->settings;
    EXPECT_EQ(shown.windowSize, QStringLiteral("1440x768"));
    EXPECT_EQ(shown.desktopSize, QStringLiteral("1920x1080"));
    EXPECT_EQ(shown.maxWindowSize, QStringLiteral("1920x990"));
    EXPECT_EQ(mainFile(), EncodeMainSettings(shown));
    MainSettings readBack;
    ASSERT_TRUE(DecodeMainSettings(mainFile(), readBack));
    EXPECT_EQ(readBack, shown);
    EXPECT_EQ(EncodeMainSettings(readBack), mainFile());

    s.cancel();
    EXPECT_EQ(wb->settings.windowSize, before.windowSize);
    EXPECT_EQ(wb->settings.listPageRows, before.listPageRows);
    EXPECT_EQ(wb->settings.thousandsSeparator, before.thousandsSeparator);
    EXPECT_EQ(wb->settings.listFontName, before.listFontName);
    EXPECT_EQ(mainFile(), EncodeMainSettings(shown));
}

// The resolution options, their warnings and the maximise caption on a small desktop.
TEST_F(PreferencesTest, ResolutionOptionsFollowTheMaximisedArea)
{
    PreferencesSession s(*wb, ui, {1366, 768, 1366, 728, 50});
    const QList<ResolutionOption> options = s.resolutionOptions();
    ASSERT_EQ(options.size(), 5);
    const QStringList captions{QStringLiteral("1280×600"), QStringLiteral("1280×768"), QStringLiteral("1440×600"),
                               QStringLiteral("1440×768"), QStringLiteral("Maximise Window (1366×678)")};
    const bool warnings[] = {false, true, true, true, false};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(options[i].caption, captions[i]);
        EXPECT_EQ(options[i].warning, warnings[i]) << i;
        EXPECT_TRUE(options[i].enabled);
    }
    EXPECT_EQ(options[4].value, QStringLiteral("1366x678"));
    EXPECT_EQ(s.selectedResolution(), 0);

    // Too low to maximise: the option is off and cannot be chosen.
    PreferencesSession low(*wb, ui, {1024, 600, 1024, 560, 40});
    EXPECT_FALSE(low.resolutionOptions()[4].enabled);
    low.chooseResolution(4);
    EXPECT_EQ(wb->settings.windowSize, QStringLiteral("1280x600"));
    low.cancel();

    // A size no option offers falls back to the maximum.
    wb->settings.windowSize = QStringLiteral("1300x700");
    PreferencesSession odd(*wb, ui, wideDesktop);
    EXPECT_EQ(wb->settings.windowSize, QStringLiteral("1920x990"));
    EXPECT_EQ(odd.selectedResolution(), 4);
}

// First start: the largest window with the default rows scaled to the taller list;
// once "OK" applied the values, later openings keep them.
TEST_F(PreferencesTest, FirstStartSizesTheWindowToTheDesktop)
{
    wb->mainSettingsInForce = false;
    PreferencesSession first(*wb, ui, wideDesktop);
    EXPECT_EQ(wb->settings.windowSize, QStringLiteral("1920x990"));
    // ((315 + 390) x 13 - 20) / (315 - 20)
    EXPECT_EQ(wb->settings.listPageRows, 31);
    EXPECT_EQ(first.previewListHeight(), 705);
    const PreferencesSession::OkOutcome ok = first.ok();
    EXPECT_TRUE(ok.rebuildWindow);
    EXPECT_TRUE(wb->mainSettingsInForce);

    wb->settings.listPageRows = 20;
    PreferencesSession later(*wb, ui, wideDesktop);
    EXPECT_EQ(wb->settings.listPageRows, 20);
    EXPECT_EQ(wb->settings.windowSize, QStringLiteral("1920x990"));
}

// What "OK" asks of the main window: a rebuild only for the geometry and the font.
TEST_F(PreferencesTest, OkRebuildsOnlyForGeometryAndFont)
{
    using C = PreferencesSession::Colour;
    const struct {
        const char *label;
        std::function<void(PreferencesSession &)> change;
        bool rebuild;
        bool font;
        bool affAid;
    } cases[] = {
        {"colours only", [](PreferencesSession &s) { s.setColour(C::Primary, 5); }, false, false, false},
        {"rows only", [](PreferencesSession &s) { s.choosePreviewRow(40); }, false, false, false},
        {"window size", [](PreferencesSession &s) { s.chooseResolution(1); }, true, false, false},
        {"row pixels", [](PreferencesSession &s) { s.setFieldText(PrefsField::RowPixels, "4"); }, true, false, false},
        {"font", [](PreferencesSession &s) { s.setFont("DejaVu Serif", 10); }, true, true, false},
        {"same font", [](PreferencesSession &s) { s.setFont("Arial", 10); }, false, false, false},
        {"legend", [](PreferencesSession &s) { s.chooseAffAid(1); }, false, false, true},
    };
    wb->affAidEntries.append({QStringLiteral("English\n0\nenglish.txt"), QStringLiteral("English\n"), QString()});
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        PreferencesSession s(*wb, ui, wideDesktop);
        c.change(s);
        const PreferencesSession::OkOutcome ok = s.ok();
        EXPECT_FALSE(ok.failedField.has_value());
        EXPECT_EQ(ok.rebuildWindow, c.rebuild);
        EXPECT_EQ(ok.fontChanged, c.font);
        EXPECT_EQ(ok.affAidChanged, c.affAid);
        s.cancel();
    }
}

// The smaller fields: separator preview, legend choice, the check stamp, colours.
TEST_F(PreferencesTest, SeparatorLegendCheckAndColours)
{
    wb->affAidEntries.append({QStringLiteral("English\n20001\nen.txt"), QStringLiteral("English\n"), "/x/en.png"});
    wb->affAidEntries.append({QStringLiteral("Portuguese\n0\npt.txt"), QStringLiteral("Portuguese\n"), QString()});
    PreferencesSession s(*wb, ui, wideDesktop);

    const struct {
        const char *separator;
        const char *preview;
    } separators[] = {{",", "Preview:1,000,000"},
                      {"", "Preview:1000000"},
                      {".", "Preview:1.000.000"},
                      {" ", "Preview:1 000 000"},
                      {"ab", "Preview:1a000a000"}};
    for (const auto &c : separators) {
        s.setSeparator(QString::fromUtf8(c.separator));
        EXPECT_EQ(s.separatorPreview(), QString::fromUtf8(c.preview));
    }

    const QList<PreferencesSession::AffAidChoice> choices = s.affAidChoices();
    ASSERT_EQ(choices.size(), 3);
    EXPECT_EQ(choices[0].caption, QStringLiteral("n/a"));
    EXPECT_EQ(choices[1].caption, QStringLiteral("English"));
    EXPECT_EQ(choices[1].imagePath, QStringLiteral("/x/en.png"));
    EXPECT_EQ(s.selectedAffAid(), 0);
    s.chooseAffAid(2);
    EXPECT_EQ(wb->settings.affAidLanguage, QStringLiteral("pt.txt"));
    EXPECT_EQ(s.selectedAffAid(), 2);
    s.chooseAffAid(0);
    EXPECT_EQ(wb->settings.affAidLanguage, QString());

    EXPECT_EQ(s.lastCheckedText(), QStringLiteral("Last checked:2024-01-17 00:00:01"));
    int checks = 0;
    ui.fakeClock.epochSeconds = 1733788800; // 2024-12-10 00:00:00
    s.checkNow([&] { ++checks; });
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(s.lastCheckedText(), QStringLiteral("Last checked:2024-12-10 00:00:00"));

    s.setColour(PreferencesSession::Colour::Suffix, 6);
    s.setColour(PreferencesSession::Colour::Prefix, 8); // not a palette colour
    EXPECT_EQ(wb->settings.colourSuffix, 6);
    EXPECT_EQ(wb->settings.colourPrefix, 2);
    s.setUpdateFrequency(QStringLiteral("hourly"));
    EXPECT_EQ(wb->settings.updateFrequency, QStringLiteral("monthly"));
}

// A settings folder that cannot be written: "Save" says so instead of going quiet.
TEST_F(PreferencesTest, AFailedSaveIsReported)
{
    QFile blocker(wb->settingsPath(QStringLiteral("settings")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    PreferencesSession s(*wb, ui, wideDesktop);
    EXPECT_FALSE(s.save().has_value());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Can't write the file:\n")));
}
