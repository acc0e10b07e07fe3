#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

#include "core/shell/entry_store.h"
#include "core/shell/shared_texts.h"
#include "core/shell/tool_outcome.h"

namespace lexaloom {

class Ui;
struct AutocorrectList;
struct MainSettings;

namespace autocorrectToolTexts {
inline const QString noAutocorrects = QStringLiteral("No Autocorrects found.");
inline const QString noAutocorrectsLower = QStringLiteral("No autocorrects found.");
inline const QString nullWord = sharedTexts::nullWord;
inline const QString abortedTail = QStringLiteral(" Aborted.");
inline const QString toAbort = QStringLiteral(" <ESC> To abort.");
inline const QString ok = QStringLiteral("OK.");

inline const QString hexStarting = QStringLiteral("Clean hex symbols... <ESC> to abort.");
inline const QString hexPass1 = QStringLiteral("Processing Wordlist...");
inline const QString hexPass2 = QStringLiteral("Converting hex symbols...");
inline const QString noHexSymbols = QStringLiteral("No hex symbols found!");
inline const QString hexConverted = QStringLiteral("OK. Converted symbols:");

inline const QString extractStarting = QStringLiteral("Extracting Autocorrect List... <ESC> to abort.");
inline const QString extractTitle = QStringLiteral("Extract Autocorrect List to file");
inline const QString txtFilter = sharedTexts::txtFilter;
inline const QString extractRunning = QStringLiteral("Extracting Autocorrects... <ESC> to abort. Found:");
inline const QString arrow = QStringLiteral(" \u2192 ");

inline const QString spacesStarting = QStringLiteral("Fix Invalid Spaces... <ESC> to abort.");
inline const QString spacesPass1 = QStringLiteral("Processing Wordlist 1/2...");
inline const QString spacesPass2 = QStringLiteral("Fixing spaces 2/2...");
inline const QString noSpacesToFix = sharedTexts::noSpacesToFix;
inline const QString fixedWords = QStringLiteral("Fixed words:");

inline const QString duplicatesStarting = QStringLiteral("Show duplicates. 1/2: Extracting... <ESC> to abort.");
inline const QString duplicatesExtracting = QStringLiteral("Show duplicates. 1/2: Extracting...");
inline const QString duplicatesToAbort = QStringLiteral(" <ESC> to abort.");
inline const QString duplicatesComparing = QStringLiteral("Show duplicates. 2/2: Comparing... <ESC> to abort.");
inline const QString noDuplicates = sharedTexts::noDuplicates;
inline const QString duplicatesTitle = QStringLiteral("Show Duplicates");
inline const QString found = QStringLiteral("Found:");
inline const QString deleteQuestion = QStringLiteral("Really delete duplicates?\n(notice this will sort the array)");
inline const QString xdeleteQuestion =
    QStringLiteral("Really eXclusive delete duplicates?\n(notice this will sort the array)");
inline const QString removing = QStringLiteral("Removing duplicates... ");
inline const QString populating = QStringLiteral("Populating list... ");
inline const QString exportDuplicatesTitle = QStringLiteral("Export Duplicates to file");
inline const QString duplicatesFound = QStringLiteral("DUPLICATES FOUND:");
} // namespace autocorrectToolTexts

// The hexadecimal character references of one pair text ("&#x2764;") replaced by the
// characters they name, left to right; a character above U+FFFF becomes its surrogate
// pair. Nothing when a reference is not "&#x", one to six hex digits and ";", or names
// no character a list can hold (0, controls other than tab and line ends, surrogates,
// U+FFFE, U+FFFF, beyond U+10FFFF): the list would be corrupted by it. A reference
// whose character would read as something else once written ("&#x26;amp;" is the
// text "&amp;", not "&") stays as it is: the pair reads the same before and after.
std::optional<QString> ConvertHexReferences(QStringView text);

// The space repair of one pair text: doubled spaces become one, and the spaces next to
// the line feed and at both ends go.
QString RepairPairSpaces(QStringView text);

// Autocorrect Tools > "Clean up hex symbols (Hex to Emoji)". The number of pairs
// converted; 0 when nothing changed (refused, nothing to convert, or aborted before
// the first change); the outcome tells a refused list (a reference that names no
// character) from an empty one and an abort.
ToolResult<qint64> ConvertHexSymbols(AutocorrectList &list, const MainSettings &settings, Ui &ui);

// Autocorrect Tools > "Extract Autocorrects" > "All .txt": "incorrect → correct" lines
// to a file chosen with the save dialog. True when the whole list was written.
bool ExtractAutocorrects(const AutocorrectList &list, const MainSettings &settings, Ui &ui);

// Autocorrect Tools > "Fix invalid spaces". The number of pairs fixed; the outcome
// tells a refused list (a pair left without a word) from an empty one and an abort.
ToolResult<qint64> FixAutocorrectSpaces(AutocorrectList &list, const MainSettings &settings, Ui &ui);

// One row of the "Show Duplicates" window: an incorrect word listed more than once.
struct AutocorrectDuplicate {
    QString word;
    qint64 occurrences = 0;

    bool operator==(const AutocorrectDuplicate &) const = default;
};

// What "Show/Delete/XDelete duplicates" found: the pairs sorted by code unit and the
// runs of pairs sharing their incorrect word.
struct AutocorrectDuplicates {
    EntryStore sorted;
    QList<AutocorrectDuplicate> rows;
};

// The search of "Show/Delete/XDelete duplicates"; nothing when the list is empty, the
// search was aborted or nothing was found (the user was told).
std::optional<AutocorrectDuplicates> FindAutocorrectDuplicates(const AutocorrectList &list,
                                                               const MainSettings &settings, Ui &ui);

// "Delete" (exclusive false: the last pair of each run stays) and "XDelete" (exclusive:
// no pair of a run stays) of the "Show Duplicates" window, after their question. The
// list becomes the sorted survivors. True when the list was replaced.
bool DeleteAutocorrectDuplicates(AutocorrectList &list, const AutocorrectDuplicates &duplicates, bool exclusive,
                                 const MainSettings &settings, Ui &ui);

// "Export" of the "Show Duplicates" window. True when the file was written.
bool ExportAutocorrectDuplicates(const QList<AutocorrectDuplicate> &rows, const MainSettings &settings, Ui &ui);

} // namespace lexaloom
