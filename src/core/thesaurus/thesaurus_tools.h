#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

#include "core/shell/shared_texts.h"
#include "core/shell/tool_outcome.h"

namespace lexaloom {

class Ui;
struct MainSettings;
struct ThesaurusDocument;

namespace thesaurusToolTexts {
inline const QString noDuplicates = sharedTexts::noDuplicates;
inline const QString txtFilter = sharedTexts::txtFilter;
inline const QString extractTitle = QStringLiteral("Extract Thesaurus to file");
inline const QString extractBookSuffix = QStringLiteral(" (Book)");
inline const QString extractStatus = QStringLiteral("Extracting Thesaurus... <ESC> To abort.");
inline const QString cleanUpTitle = QStringLiteral("Clean up symbols");
inline const QString cleanUpOptionDashBar = QStringLiteral("-|       ; Replace with NOTHING");
inline const QString cleanUpOptionBar = QStringLiteral("|        ; Replace with a SPACE");
inline const QString cleanUpOptionBrackets = QStringLiteral("(...)    ; Replace with NOTHING");
inline const QString duplicatesTitle = QStringLiteral("Show/Merge Duplicates");
inline const QString exportTitle = QStringLiteral("Export Duplicates to file");
inline const QString nothingToDisplay = QStringLiteral("Nothing to display");
inline const QString foundLabel = QStringLiteral("Found:");
inline const QString combineRefusal = QStringLiteral("Basic combine doesn't accept synonyms with:\n-| ( ) and |\n\n"
                                                     "It only accepts one synonym per line.");
// %1 the number of new entries, %2 the megabytes they would take.
inline const QString combineTooLarge =
    QStringLiteral("Not enough memory to combine the synonyms:\nthe %1 new entries would take about %2 MB.");
inline const QString sortMeaningsQuestion =
    QStringLiteral("This changes the sequence of meanings in the synonyms.\nIf we have the word 'happy' with 3 "
                   "meanings:\n'contented'\n'satisfied'\n'carefree'\n\n'carefree' will move to the top.\n\nContinue?");
inline const QString noSpacesToFix = sharedTexts::noSpacesToFix;
// F1 in the tool windows.
inline const QString manualAnchor = QStringLiteral("#6.1.thesaurus_tools");
} // namespace thesaurusToolTexts

// The meaning lines of an entry: every line after the header.
QStringList MeaningLinesOf(QStringView entry);

// Extract synonyms > All .txt (book false) and All .txt (Book): the thesaurus as a
// readable text file. True when the whole file was written; the outcome tells a
// refusal from an abort and a failed write.
ToolResult<bool> ExtractSynonyms(const ThesaurusDocument &doc, const MainSettings &settings, Ui &ui, bool book);

// The three ticks of the Clean up symbols window.
struct CleanUpOptions {
    bool removeDashBars = true; // "-|" goes
    bool barsToSpaces = true;   // "|" becomes a space
    bool removeBrackets = true; // "(...)" goes

    bool any() const { return removeDashBars || barsToSpaces || removeBrackets; }
    bool operator==(const CleanUpOptions &) const = default;
};

// One meaning line after the ticked clean-ups.
QString CleanUpMeaningLine(QString line, const CleanUpOptions &options);

// Shows the window with `current` ticked; nothing when cancelled.
using AskCleanUpOptions = std::function<std::optional<CleanUpOptions>(const CleanUpOptions &current)>;

struct CleanUpResult {
    bool changed = false;
    // The entry whose meaning line came out empty, which the list shows; -1 otherwise.
    qint64 nullEntry = -1;
    ToolOutcome outcome = ToolOutcome::Done;
};

// Clean up symbols. `remembered` holds the ticks from one use to the next.
CleanUpResult CleanUpSymbols(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui, CleanUpOptions &remembered,
                             const AskCleanUpOptions &askOptions);

// Combine (one item per line): every synonym of an entry gains an entry of its own.
// True when the document changed. The result may take `memoryBudget` bytes (0:
// MemoryBudget()); a thesaurus whose result would take more is refused with
// combineTooLarge before anything is built.
bool CombineSimple(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui, qint64 memoryBudget = 0);

// The meanings of one entry as Deduplicate leaves them: of equal lines the last stays
// in place. Empty lines go.
QStringList DeduplicatedMeanings(const QStringList &meanings);
// The meanings of one entry as Sort leaves them: ignoring letter case, equal texts
// side by side. Empty lines go.
QStringList SortedMeanings(QStringList meanings);

// Deduplicate (sort false) and Sort (sort true) of the meanings inside each entry.
// True when the document changed.
bool SortOrDeduplicateMeanings(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui, bool sort);

// The key Sort on numbers orders by: the zero-filled meaning count, then the folded
// head word.
QString NumberSortKey(QStringView entry);

// Sort on numbers: entries with fewer meanings first. True when the document changed.
bool SortOnNumbers(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui);

// The space repair of one entry: no double spaces, none beside "|" or a line end, no
// trailing one; a leading space stays.
QString RepairThesaurusSpaces(QString entry);

// Fix invalid spaces. True when the document changed; Done also when there was
// nothing to fix.
ToolResult<bool> FixThesaurusSpaces(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui);

// One row of the duplicates list.
struct DuplicateRow {
    qint64 index = 0; // in the document
    QString header;
};
// The rows of the duplicates list: every entry whose head word (compared exactly) is
// shared with another, runs in the order of their entry texts.
// `goOn` is asked before each entry's key; nothing when it says stop.
std::optional<std::vector<DuplicateRow>> FindThesaurusDuplicates(const ThesaurusDocument &doc,
                                                                 const std::function<bool(qint64)> &goOn = {});

// What the window shows and reaches outside itself.
class ThesaurusDuplicatesHost {
public:
    virtual ~ThesaurusDuplicatesHost() = default;
    // Focuses `index` in the Thesaurus list.
    virtual void showEntry(qint64 index) = 0;
};

// The Show/Merge Duplicates window's state and buttons.
class ThesaurusDuplicatesSession final {
public:
    enum class MergeOutcome { Merged, Aborted, TooManyMeanings };

    ThesaurusDuplicatesSession(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui,
                               ThesaurusDuplicatesHost &host);
    ThesaurusDuplicatesSession(const ThesaurusDuplicatesSession &) = delete;
    ThesaurusDuplicatesSession &operator=(const ThesaurusDuplicatesSession &) = delete;

    // The command's first half: checks, the undo snapshot and the search. True when
    // the window is to open; Done also when no duplicates were found.
    ToolResult<bool> start();

    const std::vector<DuplicateRow> &rows() const { return m_rows; }
    QString foundText() const;
    // The row's meaning lines; "Nothing to display" without a row.
    QString previewText(int row) const;

    // Display and the double click.
    void display(int row);
    // Export; true when the file was written.
    bool exportRows();
    // Merge, on the Ui of the window's progress area. TooManyMeanings closes the window.
    MergeOutcome merge(Ui &taskUi);

private:
    ThesaurusDocument &m_doc;
    const MainSettings &m_settings;
    Ui &m_ui;
    ThesaurusDuplicatesHost &m_host;
    std::vector<DuplicateRow> m_rows;
};

} // namespace lexaloom
