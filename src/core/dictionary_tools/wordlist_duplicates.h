#pragma once

#include <QString>

#include <vector>

#include "core/shell/shared_texts.h"

namespace lexaloom {

struct AffixTable;
struct DictionaryDocument;
struct MainSettings;
class Ui;

namespace wordlistDuplicatesTexts {
inline const QString extracting = QStringLiteral("Show duplicates. 1/2: Extracting...");
inline const QString comparing = QStringLiteral("Show duplicates. 2/2: Comparing...");
inline const QString toAbort = QStringLiteral(" <ESC> to abort.");
inline const QString noDuplicates = sharedTexts::noDuplicates;
inline const QString windowTitle = QStringLiteral("Show Duplicates in wordlist");
inline const QString found = QStringLiteral("Found:");
inline const QString exportTitle = QStringLiteral("Export Duplicates to file");
inline const QString exportFilter = sharedTexts::txtFilter;
inline const QString exportHeading = QStringLiteral("DUPLICATES FOUND:");
inline const QString manualAnchor = QStringLiteral("#5.2.5.9.show_duplicates_wordlist");
inline const QString outOfMemory = QStringLiteral("Not enough memory to compare the derived words.");
} // namespace wordlistDuplicatesTexts

// A derived word that several entries with the same tags produce.
struct WordlistDuplicate {
    QString word;
    qint64 occurrences = 0;
    QString lines; // the 1-based entry numbers, FormatCount'ed, joined by " + "
};

struct WordlistDuplicates {
    bool done = false; // false when refused or aborted
    std::vector<WordlistDuplicate> rows;
    qint64 derivedCount = 0;
};

// "Show/Delete duplicates wordlist" without its window: every entry not starting
// with "/" is expanded (its primary form included), and the forms that more than
// one entry with the same tag part gives are listed, in code-unit order of word,
// tags and entry number as text. Says "No duplicates found." when there are none.
// Every form is held until the comparison, so the forms may take `memoryBudget` bytes
// at most (0: what the machine and the process limits give); past it the run stops
// with "Not enough memory to compare the derived words." rather than crash.
WordlistDuplicates FindWordlistDuplicates(const DictionaryDocument &doc, AffixTable &affixTable,
                                          const MainSettings &settings, Ui &ui, qint64 memoryBudget = 0);

// The bytes a run may hold: half the physical memory, and no more than half of what the
// process may map (its address-space and data limits); 4 GB when neither is known.
qint64 WordlistDuplicatesMemoryBudget();

// "Found:" + rows + "/" + derived count, as the window shows it.
QString WordlistDuplicatesFoundText(const WordlistDuplicates &result, const QString &thousandsSeparator);

// The export file's text: the heading with the row count, an empty line, then
// "word (occurrences): lines" per row.
QString WordlistDuplicatesReport(const WordlistDuplicates &result, const QString &thousandsSeparator);

// The window's "Export": asks for the file and writes the report (UTF-8 with a byte
// order mark). False when cancelled or the write failed (then told so).
bool ExportWordlistDuplicates(const WordlistDuplicates &result, const MainSettings &settings, Ui &ui);

} // namespace lexaloom
