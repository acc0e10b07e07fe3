#include "core/autocorrect/autocorrect_list.h"
#include "core/autocorrect/autocorrect_validate.h"
#include "core/autocorrect/derived_word_set.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"

#include "core/shell/panel_ui.h"
#include "core/shell/settings.h"
#include "scripted_ui.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

const QString smallAff = QStringLiteral("SET UTF-8\nSFX S Y 1\nSFX S 0 s .\nPFX R Y 1\nPFX R 0 re .\n");

// The window as a run sees it: its PanelUi over the ScriptedUi, and what it draws.
class FakeWindow final : public AcValidateHost, private ProgressPanel {
public:
    explicit FakeWindow(ScriptedUi &ui)
        : m_panelUi(ui, *this)
    {
    }
    Ui &taskUi() override { return m_panelUi; }
    void refresh(const AcValidateDisplay &display) override
    {
        issues = display.issueCount;
        busy = display.busy;
        mark = display.mark;
    }
    void setPanelText(const QString &text) override { statusLabel = text; }
    void setPanelRange(qint64, qint64) override {}
    void setPanelValue(qint64 value) override { progress = value; }

    qint64 issues = 0;
    bool busy = false;
    AcValidateMark mark = AcValidateMark::None;
    QString statusLabel;
    qint64 progress = 0;

private:
    PanelUi m_panelUi;
};

struct ValidateRun {
    ValidateRun(const QStringList &dic, const QStringList &pairs, const QString &aff = smallAff)
        : window(ui)
    {
        for (const QString &entry : dic)
            dictionary.entries.append(entry);
        for (const QString &pair : pairs)
            list.entries.append(pair);
        dictionary.affText = aff;
        BuildAffixTable(table, aff);
    }
    AcValidateOutcome process(qint64 memoryBudget = 0)
    {
        AcValidateSession session(dictionary, table, list, settings, ui, window, memoryBudget);
        const AcValidateOutcome outcome = session.process();
        report = session.display().report.mid(AcValidateSession::introductionText().size());
        issues = session.display().issueCount;
        mark = session.display().mark;
        return outcome;
    }

    ScriptedUi ui;
    FakeWindow window;
    MainSettings settings;
    DictionaryDocument dictionary;
    AutocorrectList list;
    AffixTable table;
    QString report;
    qint64 issues = 0;
    AcValidateMark mark = AcValidateMark::None;
};

const QStringList smallDic{"colour/S", "the", "/ a comment, not a word", "Paris"};
const QStringList smallList{"teh\nthe",         "colour\ncolor", "color\ncolour", ":smile:\n\U0001F600",
                            "recieve\nreceive", "tha\nThe",      "same\nsame"};

// The report the four steps write, by the direct loops: every form kept in a list in
// derivation order, a linear search per correction, every pair of entries compared.
QString directReport(const DictionaryDocument &dictionary, const AffixTable &table, const AutocorrectList &list,
                     qint64 &issues)
{
    QString report;
    issues = 0;
    QStringList derived;
    WordDeriver deriver(table);
    qint64 total = 0;
    for (qint64 i = 0; i < dictionary.entries.size(); ++i) {
        QStringView part = dictionary.entries.view(i);
        if (part.indexOf(u'\n') >= 0)
            part = part.first(part.indexOf(u'\n'));
        if (part.startsWith(u'/'))
            continue;
        SharedListSink sink(derived, total);
        total += deriver.DeriveWord(part, sink);
    }
    report += QStringLiteral("Step 1/4 - Extracting dictionary wordlist...\n");
    if (dictionary.entries.isEmpty())
        report += QStringLiteral("No dictionary found - skipping dictionary checks...\n\n\n\n");
    else
        report += QStringLiteral("Done!\nTotal wordlist:%1\n\n\n\n").arg(total);
    QStringList incorrects;
    QStringList corrections;
    for (qint64 i = 0; i < list.entries.size(); ++i) {
        const QString entry = list.entries.at(i);
        const QString incorrect = entry.section(QLatin1Char('\n'), 0, 0);
        const QString correct = entry.section(QLatin1Char('\n'), 1, 1);
        incorrects.append(incorrect);
        corrections.append(incorrect.startsWith(u':') && incorrect.endsWith(u':') ? QString() : correct);
    }
    report += QStringLiteral("Step 2/4 - Extracting autocorrect list...\nDone!\nTotal autocorrect list:%1\n\n\n\n")
                  .arg(list.entries.size());
    report += QStringLiteral("Step 3/4 - Comparing extracted autocorrect wordlist with dictionary...\n");
    if (dictionary.entries.isEmpty()) {
        report += QStringLiteral("No dictionary found - skipping dictionary checks...\n\n\n\n");
    } else {
        for (qsizetype j = 0; j < corrections.size(); ++j) {
            if (corrections[j].isEmpty())
                continue;
            bool found = false;
            for (qsizetype k = 0; k < total && !found; ++k)
                found = derived[k] == corrections[j];
            if (!found) {
                report += QStringLiteral("Not found:'%1'\u2192Line %2\n").arg(corrections[j]).arg(j + 1);
                ++issues;
            }
        }
        report += QStringLiteral("Done!\n\n\n\n");
    }
    report += QStringLiteral("Step 4/4 - Comparing extracted autocorrect wordlist with incorrect/correct...\n");
    for (qsizetype i = 0; i < corrections.size(); ++i) {
        for (qsizetype j = 0; j < incorrects.size(); ++j) {
            if (incorrects[j] == corrections[i]) {
                report += QStringLiteral("Incorrect Autocorrect entry:'%1','%2'\u2192Line %3\n")
                              .arg(corrections[i], incorrects[i])
                              .arg(i + 1);
                ++issues;
            }
        }
    }
    report += QStringLiteral("Done!\n\n\n\n");
    return report;
}

} // namespace

TEST(AcValidateTest, SmallListAgainstSmallDictionaryGivesTheExactReport)
{
    ValidateRun run(smallDic, smallList);
    EXPECT_EQ(run.process(), AcValidateOutcome::IssuesFound);
    const QString expected =
        QStringLiteral("Step 1/4 - Extracting dictionary wordlist...\n"
                       "Done!\nTotal wordlist:4\n\n\n\n"
                       "Step 2/4 - Extracting autocorrect list...\n"
                       "Done!\nTotal autocorrect list:7\n\n\n\n"
                       "Step 3/4 - Comparing extracted autocorrect wordlist with dictionary...\n"
                       "Not found:'color'\u2192Line 2\n"
                       "Not found:'receive'\u2192Line 5\n"
                       "Not found:'The'\u2192Line 6\n"
                       "Not found:'same'\u2192Line 7\n"
                       "Done!\n\n\n\n"
                       "Step 4/4 - Comparing extracted autocorrect wordlist with incorrect/correct...\n"
                       "Incorrect Autocorrect entry:'color','colour'\u2192Line 2\n"
                       "Incorrect Autocorrect entry:'colour','color'\u2192Line 3\n"
                       "Incorrect Autocorrect entry:'same','same'\u2192Line 7\n"
                       "Done!\n\n\n\n");
    EXPECT_EQ(run.report, expected);
    EXPECT_EQ(run.issues, 7);
    EXPECT_EQ(run.window.issues, 7);
    EXPECT_EQ(run.mark, AcValidateMark::Done);
    EXPECT_FALSE(run.window.busy);
    EXPECT_EQ(run.window.statusLabel, QString());
    EXPECT_TRUE(run.ui.messages.isEmpty());
}

TEST(AcValidateTest, RepeatedIncorrectWordsReportTheEntryOncePerListing)
{
    ValidateRun run({"x"}, {"a\nb", "b\nc", "b\nd"});
    run.process();
    EXPECT_TRUE(run.report.contains(QStringLiteral("Incorrect Autocorrect entry:'b','a'\u2192Line 1\n"
                                                   "Incorrect Autocorrect entry:'b','a'\u2192Line 1\nDone!")));
    EXPECT_EQ(run.issues, 5); // b, c and d are not words; line 1 twice
}

// Step 4 reports an entry once for every entry that lists its correction as an incorrect
// word: n blank lines (or n copies of "same -> same") make n * n lines, so 8 M blank
// lines asked for terabytes. The lines are counted first; past the budget the run
// stops with their number before it lists any.
TEST(AcValidateTest, AStepFourPastTheMemoryBudgetStopsBeforeListing)
{
    const struct {
        const char *why;
        QStringList pairs;
        qint64 budget;
        const char *issues; // empty: the run completes
    } cases[] = {
        {"blank lines", QStringList(400, QStringLiteral("\n")), 200000, "160,000"},
        {"one word to itself", QStringList(300, QStringLiteral("same\nsame")), 200000, "90,000"},
        {"the same within the budget", QStringList(10, QStringLiteral("same\nsame")), 200000, ""},
        {"the blank lines with the machine's budget", QStringList(400, QStringLiteral("\n")), 0, ""},
    };
    for (const auto &c : cases) {
        ValidateRun run({}, c.pairs);
        const AcValidateOutcome outcome = run.process(c.budget);
        if (QByteArray(c.issues).isEmpty()) {
            EXPECT_EQ(outcome, AcValidateOutcome::IssuesFound) << c.why;
            EXPECT_EQ(run.issues, qint64(c.pairs.size()) * c.pairs.size()) << c.why;
            continue;
        }
        EXPECT_EQ(outcome, AcValidateOutcome::Aborted) << c.why;
        EXPECT_EQ(run.ui.messageTexts(),
                  QStringList{QStringLiteral("Not enough memory to list the %1 issues of step 4.").arg(c.issues)})
            << c.why;
        EXPECT_EQ(run.ui.messages.last().title, QStringLiteral("Error")) << c.why;
        EXPECT_EQ(run.mark, AcValidateMark::Aborted) << c.why;
        EXPECT_TRUE(run.report.endsWith(QStringLiteral(
            "Step 4/4 - Comparing extracted autocorrect wordlist with incorrect/correct...\nAborted.\n")))
            << c.why;
        EXPECT_EQ(run.issues, 0) << c.why;
    }
}

// A list stores "abraço" as "abra&#xE7;o": the word looked up is the one the reference
// names, the report shows the text as stored.
TEST(AcValidateTest, CorrectionsAreLookedUpAsTheirReferencesRead)
{
    const struct {
        const char *correction;
        bool found;
    } cases[] = {
        // clang-format off
        {"abra&#xE7;o", true},
        {"abra&#xe7;o", true},
        {"abra&#231;o", true},
        {"caf&#xE9;s", true},       // a reference inside a derived form
        {"R&amp;D", true},
        {"R&D", true},              // a bare "&" is itself
        {"it&apos;s", true},
        {"&#x1F600;", true},        // beyond the basic plane
        {"abra&ccedil;o", false},   // no entity an XML reader knows
        {"abra&#xE7o", false},      // no ";": text, not a reference
        {"abra\xC3\xA7" "o&#x20;", false},
        // clang-format on
    };
    QStringList pairs;
    for (const auto &c : cases)
        pairs.append(QStringLiteral("x\n") + QString::fromUtf8(c.correction));
    ValidateRun run({QStringLiteral("abraço"), QStringLiteral("café/S"), QStringLiteral("R&D"),
                     QStringLiteral("it's"), QStringLiteral("\U0001F600")},
                    pairs);
    run.process();
    QString expected;
    qint64 line = 0;
    for (const auto &c : cases) {
        ++line;
        if (!c.found)
            expected += QStringLiteral("Not found:'%1'\u2192Line %2\n").arg(QString::fromUtf8(c.correction)).arg(line);
    }
    const qsizetype from = run.report.indexOf(QStringLiteral("Step 3/4"));
    const qsizetype to = run.report.indexOf(QStringLiteral("Done!"), from);
    EXPECT_EQ(run.report.mid(from, to - from),
              QStringLiteral("Step 3/4 - Comparing extracted autocorrect wordlist with dictionary...\n") + expected);
}

TEST(AcValidateTest, WithoutDictionaryTheDictionaryStepsAreSkipped)
{
    ValidateRun run({}, {"colour\ncolor", "color\ncolour"});
    EXPECT_EQ(run.process(), AcValidateOutcome::IssuesFound);
    EXPECT_EQ(run.report, QStringLiteral("Step 1/4 - Extracting dictionary wordlist...\n"
                                         "No dictionary found - skipping dictionary checks...\n\n\n\n"
                                         "Step 2/4 - Extracting autocorrect list...\n"
                                         "Done!\nTotal autocorrect list:2\n\n\n\n"
                                         "Step 3/4 - Comparing extracted autocorrect wordlist with dictionary...\n"
                                         "No dictionary found - skipping dictionary checks...\n\n\n\n"
                                         "Step 4/4 - Comparing extracted autocorrect wordlist with "
                                         "incorrect/correct...\n"
                                         "Incorrect Autocorrect entry:'color','colour'\u2192Line 1\n"
                                         "Incorrect Autocorrect entry:'colour','color'\u2192Line 2\n"
                                         "Done!\n\n\n\n"));
}

TEST(AcValidateTest, OpeningRefusesAnEmptyListAndWarnsWithoutDictionary)
{
    struct Case {
        const char *name;
        QStringList dic;
        QStringList pairs;
        bool opens;
        QString message;
    };
    const QList<Case> cases{
        {"empty list", smallDic, {}, false, QStringLiteral("No autocorrect words found.")},
        {"no dictionary", {}, smallList, true, acValidateTexts::noDictionary},
        {"both", smallDic, smallList, true, QString()},
    };
    for (const Case &c : cases) {
        ValidateRun run(c.dic, c.pairs);
        EXPECT_EQ(AcValidateSession::prepare(run.dictionary, run.table, run.list, run.settings, run.ui), c.opens)
            << c.name;
        EXPECT_EQ(run.ui.messageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.name;
        if (!c.opens) {
            EXPECT_EQ(run.ui.statusText(), QStringLiteral("Aborted.")) << c.name;
        }
    }
    EXPECT_EQ(acValidateTexts::noDictionary,
              QStringLiteral("No dictionary words found.\n\nA dictionary is needed to check if the\ncorrect entries "
                             "exist in the Autocorrect List.\n\nDictionary checks will be skipped."));
}

TEST(AcValidateTest, MemoryGuardAnsweredYesSkipsTheDictionaryCheck)
{
    const QString question = QStringLiteral(
        "Over 2 words have been decoded.\n\nThis represents a huge amount of data in the RAM\nthat can fill it up "
        "and crash the computer.\n\nAbort?");
    {
        ValidateRun run(smallDic, {"teh\nthe"});
        run.settings.decodeWarnLimit = 2;
        run.ui.answers = {true};
        EXPECT_EQ(run.process(), AcValidateOutcome::NoIssues);
        EXPECT_EQ(run.ui.messageTexts(), QStringList{question});
        EXPECT_EQ(run.report,
                  QStringLiteral("Step 1/4 - Extracting dictionary wordlist...\n"
                                 "Failed to extract full .dic wordlist.\n"
                                 "Total wordlist:2\n\n\n\n"
                                 "Step 2/4 - Extracting autocorrect list...\n"
                                 "Done!\nTotal autocorrect list:1\n\n\n\n"
                                 "Step 3/4 - Comparing extracted autocorrect wordlist with dictionary...\n"
                                 "Dictionary words extraction aborted by user, so skipping this step.\n\n\n\n"
                                 "Step 4/4 - Comparing extracted autocorrect wordlist with incorrect/correct...\n"
                                 "Done!\n\n\n\n"));
    }
    {
        ValidateRun run(smallDic, {"teh\nthe", "x\nParis"});
        run.settings.decodeWarnLimit = 2;
        run.ui.answers = {false};
        EXPECT_EQ(run.process(), AcValidateOutcome::NoIssues);
        EXPECT_EQ(run.ui.messageTexts(), QStringList{question}); // asked once only
        EXPECT_TRUE(run.report.startsWith(QStringLiteral("Step 1/4 - Extracting dictionary wordlist...\n"
                                                         "Done!\nTotal wordlist:4\n")));
        EXPECT_TRUE(run.report.contains(QStringLiteral("dictionary...\nDone!\n")));
    }
    {
        ValidateRun run(smallDic, {"teh\nthe"});
        run.settings.decodeWarnLimit = 0; // the guard is off
        run.process();
        EXPECT_TRUE(run.ui.messages.isEmpty());
    }
}

TEST(AcValidateTest, EscapeInEachStepAbortsTheRun)
{
    // Each step's task pumps events on its first poll; Escape is pressed in the n-th.
    for (int step = 1; step <= 4; ++step) {
        ValidateRun run(smallDic, smallList);
        int pumps = 0;
        run.ui.onProcessEvents = [&pumps, step](ScriptedUi &ui) {
            if (++pumps == step)
                ui.pressEscape();
        };
        run.ui.answers = {true};
        EXPECT_EQ(run.process(), AcValidateOutcome::Aborted) << step;
        EXPECT_EQ(run.ui.messageTexts(), QStringList{QStringLiteral("Really abort?")}) << step;
        EXPECT_EQ(run.mark, AcValidateMark::Aborted) << step;
        EXPECT_EQ(run.window.mark, AcValidateMark::Aborted) << step;
        EXPECT_FALSE(run.window.busy) << step;
        EXPECT_EQ(run.window.progress, 0) << step;
        EXPECT_EQ(run.window.statusLabel, QString()) << step;
        // The interrupted step's gathered lines are dropped.
        const QString stepLine = QStringLiteral("Step %1/4 - ").arg(step);
        const qsizetype at = run.report.indexOf(stepLine);
        ASSERT_GE(at, 0) << step;
        const QString tail = run.report.mid(at);
        EXPECT_EQ(tail.section(QLatin1Char('\n'), 1), QStringLiteral("Aborted.\n")) << step;
    }
    // Escape answered No goes on.
    ValidateRun run(smallDic, smallList);
    run.ui.onProcessEvents = [](ScriptedUi &ui) {
        if (ui.processEventsCalls == 1)
            ui.pressEscape();
    };
    run.ui.answers = {false};
    EXPECT_EQ(run.process(), AcValidateOutcome::IssuesFound);
    EXPECT_EQ(run.mark, AcValidateMark::Done);
}

// The hash set and map must give exactly the lines, and the order, of the direct loops.
TEST(AcValidateTest, HashedChecksMatchTheDirectLoopsOnRandomInputs)
{
    std::mt19937 random(19);
    const QStringList pieces{"a", "b", "ab", "A", "re", "s", ":"};
    const QStringList flags{"", "/S", "/R", "/SR"};
    const auto word = [&](int maxPieces) {
        QString w;
        const int n = int(random() % (maxPieces + 1));
        for (int i = 0; i < n; ++i)
            w += pieces[random() % pieces.size()];
        return w;
    };
    for (int round = 0; round < 300; ++round) {
        QStringList dic;
        const int dicSize = int(random() % 6);
        for (int i = 0; i < dicSize; ++i)
            dic.append(word(2) + flags[random() % flags.size()]);
        QStringList pairs;
        const int listSize = 1 + int(random() % 8);
        for (int i = 0; i < listSize; ++i)
            pairs.append(word(2) + QLatin1Char('\n') + word(3));
        ValidateRun run(dic, pairs);
        run.process();
        qint64 issues = 0;
        const QString expected = directReport(run.dictionary, run.table, run.list, issues);
        ASSERT_EQ(run.report, expected) << "round " << round << ": " << pairs.join(QLatin1Char('|')).toStdString();
        ASSERT_EQ(run.issues, issues) << round;
    }
}

TEST(AcValidateTest, ClearAndExport)
{
    ValidateRun run(smallDic, {"teh\nthe"});
    AcValidateSession session(run.dictionary, run.table, run.list, run.settings, run.ui, run.window);
    EXPECT_EQ(session.display().report, AcValidateSession::introductionText());
    EXPECT_EQ(session.issuesText(), QStringLiteral("Issues:0"));
    session.process();
    session.process(); // runs append
    EXPECT_EQ(session.display().report.count(QStringLiteral("Step 1/4")), 2);

    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("report"));
    run.ui.savePaths = {base};
    EXPECT_TRUE(session.exportReport());
    EXPECT_EQ(run.ui.dialogTitles, QStringList{QStringLiteral("Export results to file")});
    QFile file(base + QStringLiteral(".txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBF") + session.display().report.toUtf8());
    file.close();

    // An existing file is kept unless the overwrite is confirmed.
    session.clear();
    EXPECT_EQ(session.display().report, AcValidateSession::introductionText());
    const QByteArray intro = QByteArray("\xEF\xBB\xBF") + AcValidateSession::introductionText().toUtf8();
    run.ui.savePaths = {base, base};
    run.ui.answers = {false, true};
    EXPECT_FALSE(session.exportReport());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_NE(file.readAll(), intro);
    file.close();
    EXPECT_TRUE(session.exportReport());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), intro);
    EXPECT_EQ(run.ui.messageTexts(), QStringList(2, QStringLiteral("File already exists! Overwrite it?")));
}

TEST(DerivedWordSetTest, HoldsEachWordOnceThroughGrowth)
{
    DerivedWordSet set;
    for (int i = 0; i < 5000; ++i)
        EXPECT_TRUE(set.insert(QString::number(i)));
    EXPECT_FALSE(set.insert(QStringLiteral("42")));
    EXPECT_TRUE(set.insert(QString()));
    EXPECT_EQ(set.size(), 5001);
    EXPECT_TRUE(set.contains(QStringLiteral("4999")));
    EXPECT_TRUE(set.contains(QString()));
    EXPECT_FALSE(set.contains(QStringLiteral("5000")));
    EXPECT_FALSE(set.contains(QStringLiteral("04")));
    // Long words: a length past one byte, and one past a whole block.
    const QString longWord(300, QLatin1Char('x'));
    const QString hugeWord(1 << 20, QChar(0x00E9));
    EXPECT_TRUE(set.insert(longWord));
    EXPECT_TRUE(set.insert(hugeWord));
    EXPECT_TRUE(set.insert(QStringLiteral("after")));
    for (const QString &w : {longWord, hugeWord, QStringLiteral("after"), QStringLiteral("0")})
        EXPECT_TRUE(set.contains(w));
    EXPECT_FALSE(set.contains(longWord.left(299)));
    // Lone surrogates (raw bytes of the lossless codec) and emoji are words of their own.
    EXPECT_TRUE(set.insert(QString(QChar(0xDC80))));
    EXPECT_TRUE(set.insert(QStringLiteral("\U0001F600")));
    EXPECT_FALSE(set.contains(QString(QChar(0xDC81))));
    EXPECT_TRUE(set.contains(QStringLiteral("\U0001F600")));
    set.clear();
    EXPECT_FALSE(set.contains(QStringLiteral("1")));
    EXPECT_EQ(set.size(), 0);
}
