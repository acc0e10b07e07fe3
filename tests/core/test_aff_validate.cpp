#include "core/app/workbench.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary_tools/aff_panel.h"
#include "core/dictionary_tools/aff_validate.h"
#include "core/dictionary_tools/aff_validate_session.h"

#include "core/shell/file_dialogs.h"
#include "core/shell/panel_ui.h"
#include "core/shell/settings.h"
#include "scripted_ui.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::ScriptedUi;

namespace {

// The window as the runs see it: one PanelUi per side over the ScriptedUi (so Escape
// and event pumping go through it), and on each refresh the display read into fields
// the way the window's labels show them.
class FakeView final : public AffValidateHost {
public:
    explicit FakeView(ScriptedUi &ui)
        : m_reportSide(*this, AffStatusSide::Report)
        , m_panelSide(*this, AffStatusSide::Panel)
        , m_reportUi(ui, m_reportSide)
        , m_panelUi(ui, m_panelSide)
    {
    }

    Ui &sideUi(AffStatusSide side) override { return side == AffStatusSide::Report ? m_reportUi : m_panelUi; }
    void refresh(const AffValidateDisplay &display) override
    {
        report += QStringView(display.report).mid(m_reportShown);
        m_reportShown = display.report.size();
        if (!display.statusLabel.isEmpty() && (statusLabels.isEmpty() || statusLabels.last() != display.statusLabel))
            statusLabels.append(display.statusLabel);
        percent = display.percent;
        found = display.found;
        elapsed[AffStatusSide::Report] = display.reportElapsed;
        elapsed[AffStatusSide::Panel] = display.panelElapsed;
        busy = display.busy;
    }

    QString report;
    QStringList statusLabels;
    QString percent;
    QString found;
    QMap<AffStatusSide, qint64> maxima;
    QMap<AffStatusSide, qint64> values;
    QMap<AffStatusSide, QString> elapsed;
    QMap<AffStatusSide, QString> hints;
    bool busy = false;

private:
    // A side's progress bar and abort-hint label.
    struct Side final : ProgressPanel {
        Side(FakeView &view, AffStatusSide side)
            : view(view)
            , side(side)
        {
        }
        void setPanelText(const QString &text) override { view.hints[side] = text; }
        void setPanelRange(qint64, qint64 maximum) override { view.maxima[side] = maximum; }
        void setPanelValue(qint64 value) override { view.values[side] = value; }
        FakeView &view;
        AffStatusSide side;
    };

    Side m_reportSide;
    Side m_panelSide;
    PanelUi m_reportUi;
    PanelUi m_panelUi;
    qsizetype m_reportShown = 0;
};

// One validation run over an .aff text, as "Process" right after opening the window.
struct ValidationRun {
    explicit ValidationRun(const QString &aff)
        : view(ui)
    {
        panel.reset(SplitAffLines(aff));
        BuildAffixTable(table, aff);
        outcome = ValidateAff(panel, table, settings, display, view);
    }

    quint32 colour(qsizetype lineNumber) const { return panel.line(lineNumber - 1).colour; }

    ScriptedUi ui;
    FakeView view;
    MainSettings settings;
    AffValidateDisplay display;
    AffPanel panel;
    AffixTable table;
    AffValidateOutcome outcome = AffValidateOutcome::NoErrors;
};

QString lines(std::initializer_list<const char *> list)
{
    QString text;
    for (const char *line : list)
        text += QString::fromUtf8(line) + QLatin1Char('\n');
    return text;
}

} // namespace

TEST(AffValidateTest, CleanAffGivesTheWholeReport)
{
    const ValidationRun run(lines({"SET UTF-8", "TRY abc", "", "PFX A Y 1", "PFX A 0 re .", "", "SFX B Y 2",
                                   "SFX B y ies [^aeiou]y", "SFX B 0 s [^y]"}));
    const QString expected = QStringLiteral("\nStep 1/6 - Searching For \"SET UTF-8\"\n\n"
                                            "\"SET UTF-8\" found at line:1\n"
                                            "OK! Found one entry in the .AFF\n\n\n"
                                            "\nStep 2/6 - Searching and validating reserved flags\n"
                                            "Not coded yet!\n\n"
                                            "\nStep 3/6 - Listing flags in .AFF\n\n"
                                            "Showing Prefixes...\nFound 1 entry:\nFlag \"A\" count 1 at line:4\n\n\n"
                                            "Showing Suffixes...\nFound 1 entry:\nFlag \"B\" count 2 at line:7\n\n\n"
                                            "Total of rules Prefixes (1) + Suffixes (2) found:3\n"
                                            "Total of Prefixes (1) + Suffixes (1) found:2\n\n\n"
                                            "\nStep 4/6 - Searching for duplicate flags\n\n"
                                            "No duplicate flags found!\n\n\n"
                                            "\nStep 5/6 - Counting number of rules per flag\n\n"
                                            "Analysing Prefixes...\nNo errors found!\n\n\n"
                                            "Analysing Suffixes...\nNo errors found!\n\n\n"
                                            "\nStep 6/6 - Searching for repeated/invalid rules in flags\n\n"
                                            "Analysing Prefixes...\nFlag \"A\"\nNo errors found!\n\n\n"
                                            "Analysing Suffixes...\nFlag \"B\"\nNo errors found!\n\n\n"
                                            "\nNo errors found in validation!\nDone!\n\n\n\n");
    EXPECT_EQ(run.view.report.toStdString(), expected.toStdString());
    EXPECT_EQ(run.outcome, AffValidateOutcome::NoErrors);
    EXPECT_EQ(run.view.statusLabels,
              QStringList({"Processing:1/6", "Processing:2/6", "Processing:3/6", "Processing:4/6", "Processing:5/6",
                           "Processing:6/6", "Processing:6/6 Done!"}));
    for (const AffPanelLine &line : run.panel.lines())
        EXPECT_EQ(line.colour, AffLineColour::normal);
}

// Each case: the .aff, a block the report must hold, and the lines that end red or blue.
TEST(AffValidateTest, FindingsAreReportedAndColoured)
{
    struct Case {
        const char *name;
        QString aff;
        QString block;
        bool errors;
        QList<int> red;
        QList<int> blue = {};
    };
    const QString notFirst = QStringLiteral("Error: \"SET UTF-8\" is not the first command in the .AFF.\n");
    const Case cases[] = {
        {"comment and empty line before SET",
         lines({"# about", "", "SET UTF-8"}),
         "\"SET UTF-8\" found at line:3\nOK! Found one entry in the .AFF\n\n",
         false,
         {}},
        {"command before SET",
         lines({"TRY a", "SET UTF-8"}),
         "\"SET UTF-8\" found at line:2\n" + notFirst + "\n",
         true,
         {}},
        {"remmed SET with a command after it",
         lines({"# SET UTF-8", "TRY a"}),
         "\"SET UTF-8\" found at line:1 (remmed)\nError: Not found in the .AFF\n" + notFirst + "\n",
         true,
         {}},
        {"remmed SET and nothing else",
         lines({"#SET UTF-8 SET UTF-8", "# x"}),
         "\"SET UTF-8\" found at line:1 (remmed) (multiple)\nError: Not found in the .AFF\n\n",
         true,
         {}},
        {"no SET at all",
         lines({"TRY a"}),
         "Searching For \"SET UTF-8\"\n\nError: Not found in the .AFF\n\n\n",
         true,
         {}},
        {"two SET lines",
         lines({"SET UTF-8", "# SET UTF-8", "  SET UTF-8"}),
         "\"SET UTF-8\" found at line:1\n\"SET UTF-8\" found at line:2 (remmed)\n\"SET UTF-8\" found at line:3\n"
         "Error: Found 2 occurences in the .AFF\n\n",
         true,
         {1, 3}},
        {"count mismatch",
         lines({"SET UTF-8", "PFX A Y 2", "PFX A 0 a .", "PFX A 0 b .", "PFX A 0 c ."}),
         "Analysing Prefixes...\nFlag \"A\" expected 2 found 3 at line:2\n\n\n",
         true,
         {2}},
        {"bracket mismatch",
         lines({"SET UTF-8", "SFX S Y 2", "SFX S 0 s [[a]]", "SFX S 0 es [^aeiou]y"}),
         "Flag \"S\"\n Mistmatch of brackets/^ at line 3: \"SFX S 0 s [[a]]\"\n\n\n",
         true,
         {2, 3}},
        {"duplicate rules, also with extra spaces",
         lines({"SET UTF-8", "SFX S Y 3", "SFX S 0 s .", "SFX S  0 s .", "SFX S 0 es ."}),
         "Flag \"S\"\n Excessive spaces at line 4: \"SFX S  0 s .\"\n"
         " Found duplicate rule at line 3: \"SFX S 0 s .\"\n Found duplicate rule at line 4: \"SFX S  0 s .\"\n"
         "\n\n",
         true,
         {2, 3, 4}},
        {"same rule under two flags",
         lines({"SET UTF-8", "SFX S Y 1", "SFX S 0 s .", "SFX T Y 1", "SFX T 0 s ."}),
         "Analysing Suffixes...\nFlag \"S\"\nFlag \"T\"\nNo errors found!\n\n\n",
         false,
         {}},
        {"spaces after a comment mark are allowed",
         lines({"SET UTF-8", "SFX S Y 1", "SFX S 0 s . # a  b"}),
         "Flag \"S\"\nNo errors found!\n",
         false,
         {}},
        {"missing fifth field",
         lines({"SET UTF-8", "PFX A Y 1", "PFX A 0 re"}),
         "Flag \"A\"\n Not 5 fields at line 3: \"PFX A 0 re\" (in blue)\n\n\n",
         true,
         {2},
         {3}},
        {"flag used by a PFX and an SFX",
         lines({"SET UTF-8", "PFX A Y 1", "PFX A 0 re .", "SFX A Y 1", "SFX A 0 s ."}),
         "Flag:A(2)\n  Line:2\n  Line:4\n\n\n",
         true,
         {2, 4}},
        {"no SFX headers",
         lines({"SET UTF-8", "PFX A Y 1", "PFX A 0 re ."}),
         "Showing Suffixes...\nNo Suffixes found!\n\n\n",
         false,
         {}},
        {"no SFX headers, rule counts",
         lines({"SET UTF-8", "PFX A Y 1", "PFX A 0 re ."}),
         "Analysing Suffixes...\nNo Suffixes found!\n\nNo errors found!\n\n\n",
         false,
         {}},
        {"no headers at all",
         lines({"SET UTF-8"}),
         "Showing Prefixes...\nNo Prefixes found!\n\n\nShowing Suffixes...\nNo Suffixes found!\n\n\n"
         "Total of rules Prefixes (0) + Suffixes (0) found:0\nTotal of Prefixes (0) + Suffixes (0) found:0\n\n\n"
         "\nStep 4/6 - Searching for duplicate flags\n\nNo flags found!\n\nNo duplicate flags found!\n\n\n",
         false,
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ValidationRun run(c.aff);
        EXPECT_TRUE(run.view.report.contains(c.block)) << run.view.report.toStdString();
        EXPECT_EQ(run.outcome, c.errors ? AffValidateOutcome::ErrorsFound : AffValidateOutcome::NoErrors);
        EXPECT_TRUE(run.view.report.endsWith(c.errors
                                                 ? QStringLiteral("\nErrors found in validation!\nDone!\n\n\n\n")
                                                 : QStringLiteral("\nNo errors found in validation!\nDone!\n\n\n\n")));
        for (qsizetype n = 1; n <= run.panel.count(); ++n) {
            const quint32 expected = c.red.contains(n)    ? AffLineColour::red
                                     : c.blue.contains(n) ? AffLineColour::blue
                                                          : AffLineColour::normal;
            EXPECT_EQ(run.colour(n), expected) << "line " << n;
        }
    }
}

TEST(AffValidateTest, ConditionBrackets)
{
    const struct {
        const char *condition;
        bool faulty;
    } cases[] = {
        {"[^aeiou]y", false}, {"[abc]", false}, {".", false},  {"", false},     {"ab[^c][d]", false},
        {"[]", true},         {"[^]", true},    {"a^b", true}, {"[[a]]", true}, {"a]", true},
        {"[a", true},         {"][", true},     {"^a", true},  {"[a^]", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsAffConditionFaulty(QString::fromUtf8(c.condition)), c.faulty) << c.condition;
}

TEST(AffValidateTest, PanelEditedWithoutRefreshUsesTheEarlierTable)
{
    // The table still has the header at line 4, which the shortened panel no longer holds.
    const QString aff = lines({"SET UTF-8", "", "", "SFX S Y 1", "SFX S 0 s ."});
    ScriptedUi ui;
    FakeView view(ui);
    AffValidateDisplay display;
    AffixTable table;
    BuildAffixTable(table, aff);
    AffPanel panel;
    panel.reset(SplitAffLines(lines({"SET UTF-8", "SFX S Y 1"})));
    EXPECT_EQ(ValidateAff(panel, table, MainSettings(), display, view), AffValidateOutcome::ErrorsFound);
    EXPECT_TRUE(view.report.contains("Flag \"S\" count 1 at line:4\n"));
    EXPECT_TRUE(view.report.contains("Flag \"S\" expected 1 found 0 at line:4\n"));
}

TEST(AffValidateTest, EscapeAsksAndAbortsOrContinues)
{
    const QString aff = lines({"SET UTF-8", "SFX S Y 1", "SFX S 0 s ."});
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        ScriptedUi ui;
        FakeView view(ui);
        AffValidateDisplay display;
        AffixTable table;
        BuildAffixTable(table, aff);
        AffPanel panel;
        panel.reset(SplitAffLines(aff));
        panel.setColour(0, AffLineColour::red);
        ui.pressEscape();
        ui.answers.push_back(yes);
        const AffValidateOutcome outcome = ValidateAff(panel, table, MainSettings(), display, view);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].text, QStringLiteral("Really abort?"));
        EXPECT_EQ(panel.line(0).colour, AffLineColour::normal); // colours are reset before anything else
        if (yes) {
            EXPECT_EQ(outcome, AffValidateOutcome::Aborted);
            EXPECT_EQ(view.statusLabels.last(), QStringLiteral("Processing:Aborted."));
            EXPECT_FALSE(view.report.contains("Done!"));
        } else {
            EXPECT_EQ(outcome, AffValidateOutcome::NoErrors);
            EXPECT_EQ(view.statusLabels.last(), QStringLiteral("Processing:6/6 Done!"));
        }
    }
}

TEST(AffValidateTest, TimerRefreshesElapsedProgressAndPercent)
{
    QString aff = QStringLiteral("SET UTF-8\n");
    for (int i = 0; i < 50; ++i)
        aff += QStringLiteral("# comment\n");
    ScriptedUi ui;
    FakeView view(ui);
    ui.onProcessEvents = [](ScriptedUi &u) { u.fakeClock.advance(100); };
    AffValidateDisplay display;
    AffixTable table;
    BuildAffixTable(table, aff);
    AffPanel panel;
    panel.reset(SplitAffLines(aff));
    ValidateAff(panel, table, MainSettings(), display, view);
    EXPECT_EQ(view.maxima[AffStatusSide::Report], 0); // step 6 with no headers
    EXPECT_TRUE(view.elapsed[AffStatusSide::Report].startsWith(QStringLiteral("\u231A00m0")));
    EXPECT_FALSE(view.percent.isEmpty());
}

TEST(AffPanelTest, SplitAddsTheMissingFinalLineBreakOnly)
{
    EXPECT_EQ(SplitAffLines(QStringLiteral("a\nb\n")).size(), 2);
    EXPECT_EQ(SplitAffLines(QStringLiteral("a\nb")).size(), 2);
    EXPECT_EQ(SplitAffLines(QStringLiteral("a\n\n")).size(), 2);
    EXPECT_EQ(SplitAffLines(QStringLiteral("\n")).size(), 1);
    EXPECT_TRUE(SplitAffLines(QString()).isEmpty());
    EXPECT_EQ(NormaliseLineEnds(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\nb\nc"));
}

namespace {

QStringList texts(const AffPanel &panel)
{
    QStringList result;
    for (const AffPanelLine &line : panel.lines())
        result.append(line.text);
    return result;
}

AffPanel panelOf(const QStringList &lineTexts)
{
    QList<AffPanelLine> list;
    for (const QString &text : lineTexts)
        list.append(AffPanelLine{text});
    AffPanel panel;
    panel.reset(list);
    return panel;
}

} // namespace

TEST(AffPanelTest, InsertCloneEditAndDelete)
{
    ScriptedUi ui;
    AffPanel panel = panelOf({"a", "b", "c"});
    panel.setColour(1, AffLineColour::red);
    panel.setSelectedRow(1);

    EXPECT_TRUE(InsertAffLine(panel, ui, AffLineInsert::Above));
    EXPECT_EQ(texts(panel), QStringList({"a", "", "b", "c"}));
    EXPECT_EQ(panel.line(2).colour, AffLineColour::red); // the colour stays with its line
    panel.setSelectedRow(2);
    EXPECT_TRUE(InsertAffLine(panel, ui, AffLineInsert::Below));
    EXPECT_EQ(texts(panel), QStringList({"a", "", "b", "", "c"}));
    panel.setSelectedRow(2);
    EXPECT_TRUE(InsertAffLine(panel, ui, AffLineInsert::CloneBelow));
    EXPECT_EQ(texts(panel), QStringList({"a", "", "b", "b", "", "c"}));
    EXPECT_EQ(panel.line(3).colour, AffLineColour::normal);
    EXPECT_TRUE(panel.isModified());

    // Editing to the same text takes no snapshot: undo still returns to before the clone.
    EXPECT_FALSE(EditAffLine(panel, 0, QStringLiteral("a")));
    EXPECT_TRUE(EditAffLine(panel, 2, QStringLiteral("B")));
    EXPECT_EQ(panel.line(2).colour, AffLineColour::red);
    panel.undo();
    EXPECT_EQ(texts(panel), QStringList({"a", "", "b", "b", "", "c"}));
    panel.setSelectedRow(0);
    ui.answers = {false, true};
    EXPECT_FALSE(DeleteSelectedAffLine(panel, ui));
    EXPECT_TRUE(DeleteSelectedAffLine(panel, ui));
    EXPECT_EQ(texts(panel), QStringList({"", "b", "b", "", "c"}));
    EXPECT_EQ(ui.messageTexts(), QStringList({"Really delete line?", "Really delete line?"}));
}

TEST(AffPanelTest, TicksInvertAndDeleteSelected)
{
    ScriptedUi ui;
    AffPanel panel = panelOf({"a", "b", "c", "d"});
    EXPECT_EQ(panel.selectionText(), QStringLiteral("Selected:None"));
    panel.setChecked(1, true);
    EXPECT_EQ(panel.selectionText(), QStringLiteral("Selected:1/4"));
    EXPECT_FALSE(panel.isModified()); // ticking is not an edit
    InvertAffLineChecks(panel, ui);
    EXPECT_EQ(panel.selectionText(), QStringLiteral("Selected:3"));
    EXPECT_EQ(panel.checkedCount(), 3);
    CheckAllAffLines(panel, ui, true);
    EXPECT_EQ(panel.selectionText(), QStringLiteral("Selected:All"));
    InvertAffLineChecks(panel, ui);
    EXPECT_EQ(panel.selectionText(), QStringLiteral("Selected:None"));

    EXPECT_FALSE(DeleteCheckedAffLines(panel, ui));
    EXPECT_EQ(ui.messageTexts().last(), QStringLiteral("No selected lines found."));

    panel.setColour(3, AffLineColour::blue);
    panel.setChecked(0, true);
    panel.setChecked(2, true);
    ui.answers = {true};
    EXPECT_TRUE(DeleteCheckedAffLines(panel, ui));
    EXPECT_EQ(ui.messageTexts().last(), QStringLiteral("Really delete selected lines?"));
    EXPECT_EQ(texts(panel), QStringList({"b", "d"}));
    EXPECT_EQ(panel.line(1).colour, AffLineColour::blue);
    EXPECT_EQ(panel.checkedCount(), 0);
    EXPECT_EQ(panel.selectionText(), QStringLiteral("Selected:None"));

    // Undo brings back the lines with their colours and ticks; redo goes forward again.
    panel.undo();
    EXPECT_EQ(texts(panel), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(panel.checkedCount(), 2);
    EXPECT_TRUE(panel.line(2).checked);
    EXPECT_EQ(panel.line(3).colour, AffLineColour::blue);
    EXPECT_FALSE(panel.canUndo());
    EXPECT_TRUE(panel.canRedo());
    panel.redo();
    EXPECT_EQ(texts(panel), QStringList({"b", "d"}));
    EXPECT_EQ(panel.line(1).colour, AffLineColour::blue);
    EXPECT_TRUE(panel.canUndo());
    EXPECT_FALSE(panel.canRedo());
}

TEST(AffPanelTest, ActionsWithoutLinesOrSelectionWarn)
{
    ScriptedUi ui;
    AffPanel empty;
    EXPECT_FALSE(InsertAffLine(empty, ui, AffLineInsert::Below));
    EXPECT_FALSE(CheckAllAffLines(empty, ui, true));
    EXPECT_FALSE(DeleteCheckedAffLines(empty, ui));
    EXPECT_FALSE(ClearAffPanel(empty, ui));
    AffPanel panel = panelOf({"a"});
    EXPECT_FALSE(InsertAffLine(panel, ui, AffLineInsert::Above));
    EXPECT_FALSE(DeleteSelectedAffLine(panel, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList({"No lines found.", "No lines found.", "No lines found.",
                                              "No lines found.", "No line selected.", "No line selected."}));
    for (const auto &m : ui.messages)
        EXPECT_EQ(m.title, QStringLiteral("Warning!"));
    EXPECT_FALSE(panel.isModified());

    ui.clearRecords();
    ui.answers = {true};
    EXPECT_TRUE(ClearAffPanel(panel, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList({"Really delete all lines?"}));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(panel.isEmpty());
    panel.undo();
    EXPECT_EQ(texts(panel), QStringList({"a"}));
}

namespace {

struct Session {
    explicit Session(const QString &affText)
        : view(ui)
        , session(workbench.dictionary, workbench.affixTable, workbench.settings, ui, view)
    {
        workbench.dictionary.affText = affText;
        AffValidateSession::prepare(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
        session.load();
    }

    Workbench workbench;
    ScriptedUi ui;
    FakeView view;
    AffValidateSession session;
};

} // namespace

TEST(AffValidateSessionTest, LoadAndOkMarkTheDictionaryOnlyWhenTheTextDiffers)
{
    {
        Session s(QStringLiteral("SET UTF-8\r\nTRY a\r\n"));
        EXPECT_EQ(s.session.panel().count(), 2);
        EXPECT_EQ(s.view.found, QStringLiteral("Found:2"));
        EXPECT_EQ(s.view.report.toStdString(), "Processing number of lines...\nNumber of lines processed:2\n"
                                               "Populating gadget with the lines...\nPopulating done.\n\n");
        EXPECT_FALSE(s.session.accept());
        EXPECT_FALSE(s.workbench.dictionary.changed);
        EXPECT_EQ(s.workbench.dictionary.affText, QStringLiteral("SET UTF-8\r\nTRY a\r\n"));
    }
    {
        Session s(QStringLiteral("SET UTF-8\nTRY a"));
        EXPECT_EQ(s.session.panel().count(), 2);
        EXPECT_TRUE(s.session.accept());
        EXPECT_TRUE(s.workbench.dictionary.changed);
        EXPECT_EQ(s.workbench.dictionary.affText, QStringLiteral("SET UTF-8\nTRY a\n"));
    }
    {
        Session s(QStringLiteral("SET UTF-8\n"));
        s.session.panel().setSelectedRow(0);
        ASSERT_TRUE(InsertAffLine(s.session.panel(), s.ui, AffLineInsert::CloneBelow));
        EXPECT_TRUE(s.session.accept());
        EXPECT_EQ(s.workbench.dictionary.affText, QStringLiteral("SET UTF-8\nSET UTF-8\n"));
    }
}

TEST(AffValidateSessionTest, EscapeDuringLoadingKeepsTheLinesReadSoFar)
{
    Workbench workbench;
    workbench.dictionary.affText = lines({"SET UTF-8", "TRY a", "KEY b"});
    ScriptedUi ui;
    FakeView view(ui);
    AffValidateSession session(workbench.dictionary, workbench.affixTable, workbench.settings, ui, view);
    ui.pressEscape();
    ui.answers.push_back(true);
    session.load();
    EXPECT_EQ(ui.messageTexts(), QStringList({"Really abort?"}));
    EXPECT_EQ(session.panel().count(), 1);
    EXPECT_EQ(view.found, QStringLiteral("Found:1"));
    EXPECT_FALSE(view.busy);
    EXPECT_EQ(view.hints[AffStatusSide::Panel], QString());
}

TEST(AffValidateSessionTest, EmptyTextHasNothingToProcess)
{
    Session s{QString()};
    EXPECT_TRUE(s.session.panel().isEmpty());
    EXPECT_EQ(s.session.process(), AffValidateOutcome::NoErrors);
    s.session.refresh();
    EXPECT_EQ(s.ui.messageTexts(), QStringList({"Nothing to process.", "Nothing to process.", "Nothing to process."}));
    EXPECT_EQ(s.view.report.toStdString(), "Processing number of lines...\nNothing to process.\n"
                                           "Nothing to process.\n\n"
                                           "Converting the right panel to .AFF text\nNothing to process.\n\n");
    EXPECT_FALSE(s.session.accept());
    EXPECT_FALSE(s.workbench.dictionary.changed);
}

TEST(AffValidateSessionTest, RefreshRebuildsTheTableFromThePanelAndKeepsTheText)
{
    const QString aff = lines({"SET UTF-8", "SFX S Y 1", "SFX S 0 s ."});
    Session s(aff);
    AffPanel &panel = s.session.panel();
    panel.setSelectedRow(1);
    ASSERT_TRUE(InsertAffLine(panel, s.ui, AffLineInsert::Above)); // the header moves to line 3

    // Without Refresh the run still reads the header at line 2, now an empty line.
    s.view.report.clear();
    EXPECT_EQ(s.session.process(), AffValidateOutcome::ErrorsFound);
    EXPECT_TRUE(s.view.report.contains("Flag \"S\" expected 1 found 2 at line:2\n"));
    EXPECT_TRUE(panel.canUndo()); // Process takes a snapshot first
    EXPECT_FALSE(s.view.busy);

    s.view.report.clear();
    s.session.refresh();
    EXPECT_EQ(s.view.report.toStdString(),
              "Converting the right panel to .AFF text\n\nReplacing the original .AFF gadget\n\n"
              "Processing the .AFF gadget\n\nRestoring back the original .AFF gadget\n\n");
    EXPECT_EQ(s.workbench.dictionary.affText, aff);
    EXPECT_TRUE(s.workbench.affixTable.sourceText.isEmpty()); // the next tool rebuilds from the pane
    s.view.report.clear();
    EXPECT_EQ(s.session.process(), AffValidateOutcome::NoErrors);
    EXPECT_TRUE(s.view.report.contains("Flag \"S\" count 1 at line:3\n"));
    EXPECT_EQ(s.view.hints[AffStatusSide::Report], QString());
    EXPECT_EQ(s.view.values[AffStatusSide::Report], 0);
}

TEST(AffValidateSessionTest, SetUtf8AddedInThePanelIsFound)
{
    // The text the window opened with has no SET line; the run judges the edited panel.
    Session s(lines({"TRY a", "SFX S Y 1", "SFX S 0 s ."}));
    s.session.panel().setSelectedRow(0);
    ASSERT_TRUE(EditAffLine(s.session.panel(), 0, QStringLiteral("SET UTF-8")));
    s.session.refresh();
    s.view.report.clear();
    EXPECT_EQ(s.session.process(), AffValidateOutcome::NoErrors);
    EXPECT_TRUE(s.view.report.contains("\"SET UTF-8\" found at line:1\nOK! Found one entry in the .AFF\n"));
}

// The real dictionaries of the corpus: the run finishes and reports what it finds.
TEST(AffValidateCorpusTest, RealAffFilesRunToTheEnd)
{
    const QString folder =
        corpusRoot() + QStringLiteral("/hunspell");
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.aff")}, QDir::Files);
    if (files.isEmpty())
        GTEST_SKIP() << "no corpus";
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile file(folder + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString aff = NormaliseLineEnds(QString::fromUtf8(file.readAll()));
        if (aff.startsWith(QChar(0xFEFF)))
            aff.remove(0, 1);
        const ValidationRun run(aff);
        EXPECT_NE(run.outcome, AffValidateOutcome::Aborted);
        EXPECT_TRUE(run.view.report.contains("OK! Found one entry in the .AFF"));
        EXPECT_TRUE(run.view.report.contains("Searching for duplicate flags\n\nNo duplicate flags found!"));
        EXPECT_FALSE(run.view.report.contains(" expected ")) << "declared rule counts match";
    }
}

TEST(AffValidateTest, HeaderCountsNearTheLimitSaturateTheTotals)
{
    struct Case {
        std::initializer_list<const char *> aff;
        const char *totals;
    };
    const Case cases[] = {
        // A header takes the lines after it as rules, so only the last one can
        // promise more rules than the text holds.
        {{"PFX C Y 1", "PFX C 0 re .", "SFX B Y 1", "SFX B 0 s .", "SFX A Y 9223372036854775807"},
         "Total of rules Prefixes (1) + Suffixes (9223372036854775807) found:9223372036854775807\n"},
        {{"PFX C Y 9223372036854775807"},
         "Total of rules Prefixes (9223372036854775807) + Suffixes (0) "
         "found:9223372036854775807\n"},
        {{"PFX C Y -9223372036854775808", "SFX B Y -1", "SFX A Y -9223372036854775808"},
         "Total of rules Prefixes (-9223372036854775808) + Suffixes (-9223372036854775808) "
         "found:-9223372036854775808\n"},
        // Beyond the type a count reads as 0, as any count that is not a number.
        {{"PFX C Y 5", "SFX A Y 99999999999999999999"}, "Total of rules Prefixes (5) + Suffixes (0) found:5\n"},
    };
    for (const Case &c : cases) {
        const ValidationRun run(lines(c.aff));
        EXPECT_TRUE(run.view.report.contains(QString::fromUtf8(c.totals))) << run.view.report.toStdString();
    }
}
