#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

#include "core/autocorrect/derived_word_set.h"
#include "core/shell/shared_texts.h"

namespace lexaloom {

class Ui;
struct AffixTable;
struct AutocorrectList;
struct DictionaryDocument;
struct MainSettings;

namespace acValidateTexts {
inline const QString windowTitle = QStringLiteral("Autocorrect Validate");
inline const QString noDictionary =
    QStringLiteral("No dictionary words found.\n\nA dictionary is needed to check if the\ncorrect entries exist in the "
                   "Autocorrect List.\n\nDictionary checks will be skipped.");
inline const QString issuesCaption = QStringLiteral("Issues:");
inline const QString step1 = QStringLiteral("Step 1/4 - Extracting dictionary wordlist...");
inline const QString step2 = QStringLiteral("Step 2/4 - Extracting autocorrect list...");
inline const QString step3 = QStringLiteral("Step 3/4 - Comparing extracted autocorrect wordlist with dictionary...");
inline const QString step4 =
    QStringLiteral("Step 4/4 - Comparing extracted autocorrect wordlist with incorrect/correct...");
inline const QString skipping = QStringLiteral("No dictionary found - skipping dictionary checks...\n\n\n");
inline const QString guardStopped = QStringLiteral("Failed to extract full .dic wordlist.");
inline const QString extractionAborted =
    QStringLiteral("Dictionary words extraction aborted by user, so skipping this step.");
inline const QString done = QStringLiteral("Done!");
inline const QString totalWordlist = QStringLiteral("Total wordlist:");
inline const QString totalList = QStringLiteral("Total autocorrect list:");
inline const QString notFound = QStringLiteral("Not found:'");
inline const QString incorrectEntry = QStringLiteral("Incorrect Autocorrect entry:'");
inline const QString lineReference = QStringLiteral("'\u2192Line ");
inline const QString exportTitle = QStringLiteral("Export results to file");
inline const QString exportFilter = sharedTexts::txtFilter;
inline const QString escapeHint = sharedTexts::escToAbort;
// Step 4 reports an entry once for every entry listing its correction as an incorrect
// word, so n entries can make n * n lines; %1 is their number.
inline const QString tooManyIssues = QStringLiteral("Not enough memory to list the %1 issues of step 4.");
} // namespace acValidateTexts

enum class AcValidateMark { None, Done, Aborted };

// What a run leaves for the window: the report box's whole text (the introduction
// included), the issue counter and the ✓/✗ mark. The window redraws from it whenever
// the host is asked to refresh.
struct AcValidateDisplay {
    QString report;
    qint64 issueCount = 0;
    AcValidateMark mark = AcValidateMark::None;
    bool busy = false;
};

// The window a session runs in: `taskUi` is its PanelUi (progress bar, the status
// label that shows "<ESC> to abort.", Escape as the abort request).
class AcValidateHost {
public:
    virtual ~AcValidateHost() = default;
    virtual Ui &taskUi() = 0;
    virtual void refresh(const AcValidateDisplay &display) = 0;
};

enum class AcValidateOutcome { NoIssues, IssuesFound, Aborted };

// The two halves of every pair in list order, seen in the list (which a run does not
// change); the correction of a shortcode entry (":smile:") is emptied so that no
// dictionary check is made for it.
struct AcValidatePairs {
    std::vector<QStringView> incorrects;
    std::vector<QStringView> corrections;
};

// Autocorrect Tools > "AC Validate": the four steps over the dictionary's forms and
// the list, the report and its export. It changes nothing.
class AcValidateSession final {
public:
    // The report may take `memoryBudget` bytes (0: MemoryBudget()); a step 4 whose lines
    // would take more stops the run with tooManyIssues before it lists any.
    AcValidateSession(const DictionaryDocument &dictionary, const AffixTable &table, const AutocorrectList &list,
                      const MainSettings &settings, Ui &ui, AcValidateHost &host, qint64 memoryBudget = 0);
    AcValidateSession(const AcValidateSession &) = delete;
    AcValidateSession &operator=(const AcValidateSession &) = delete;

    static QString introductionText();

    // Before the window opens: refuses an empty list (false: no window), warns that the
    // dictionary checks will be skipped when there is no dictionary, builds the table.
    static bool prepare(const DictionaryDocument &dictionary, AffixTable &table, const AutocorrectList &list,
                        const MainSettings &settings, Ui &ui);

    const AcValidateDisplay &display() const { return m_display; }
    bool isBusy() const { return m_display.busy; }
    // "Issues:" + the count.
    QString issuesText() const;
    // The forms of the last run's step 1 (empty when it was skipped).
    const DerivedWordSet &derivedWords() const { return m_words; }
    qint64 derivedCount() const { return m_derivedCount; }

    // "Process": one run of the four steps, appended to the report.
    AcValidateOutcome process();
    // "Clear": the report is the introduction again.
    void clear();
    // "Export": the report to a text file chosen with the save dialog. True when written.
    bool exportReport();

private:
    enum class StepEnd { Done, Aborted };
    enum class Forms { NoDictionary, Stopped, Complete };

    void append(const QString &line);
    void gather(const QString &line);
    void endStep();
    void addIssue();
    StepEnd extractDictionary(Forms &forms);
    StepEnd extractList(AcValidatePairs &pairs);
    StepEnd compareWithDictionary(const AcValidatePairs &pairs, Forms forms);
    StepEnd compareWithIncorrects(const AcValidatePairs &pairs);
    void abortRun();

    const DictionaryDocument &m_dictionary;
    const AffixTable &m_table;
    const AutocorrectList &m_list;
    const MainSettings &m_settings;
    Ui &m_ui;
    AcValidateHost &m_host;
    AcValidateDisplay m_display;
    QString m_buffer;
    DerivedWordSet m_words;
    qint64 m_derivedCount = 0;
    qint64 m_memoryBudget = 0;
};

} // namespace lexaloom
