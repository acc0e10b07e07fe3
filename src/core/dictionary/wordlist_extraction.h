#pragma once

#include <QString>
#include <QStringView>

#include <functional>

#include "core/shell/list_selection.h"
#include "core/shell/shared_texts.h"

namespace lexaloom {

class Ui;
struct AffixTable;
struct DictionaryDocument;
struct MainSettings;

// The kinds of Dictionary Tools > Extract wordlist; the numbers are the menu's.
// Accepted is not on the menu: the forms a spell checker accepts on their own, for scripts.
enum class WordlistKind { AllTxt = 0, AllCsv = 1, CompoundsTxt = 2, CompoundsLanguageTool = 6, Accepted = 100 };

namespace wordlistTexts {
inline const QString noWords = BulkTextsOf(DocumentKind::Dictionary).noEntries;
inline const QString complexPrefixes = QStringLiteral("COMPLEX PREFIXES not supported yet!");
inline const QString extractTitle = QStringLiteral("Extract wordlist to file");
inline const QString extractCompoundsTitle = QStringLiteral("Extract Compounds to file");
inline const QString csvFilter = QStringLiteral("Text CSV (*.csv)|*.csv");
inline const QString txtFilter = sharedTexts::txtFilter;
inline const QString extractStarting = QStringLiteral("Extracting wordlist... <ESC> to abort.");
inline const QString extractRunning = QStringLiteral("Extracting Wordlist... <ESC> to abort. Found:");
inline const QString countStarting = QStringLiteral("Counting wordlist... <ESC> to abort.");
inline const QString countRunning = QStringLiteral("Counting Wordlist... <ESC> to abort. Found:");
inline const QString wordsFound = QStringLiteral("OK. Words Found:");
inline const QString noTypeSelected = QStringLiteral("No dictionary word type selected.");
inline const QString noWordsOfType = QStringLiteral("No dictionary words of that type.");
inline const QString escToAbort = sharedTexts::escToAbort;
// Asked after an abort; %1 is the output file. No keeps the file as it was.
inline const QString keepPartialQuestion =
    QStringLiteral("The extraction was aborted.\n\nKeep the words written so far in\n%1?");
} // namespace wordlistTexts

struct WordlistResult {
    bool done = false; // ran to the end
    qint64 total = 0;  // forms counted (so far, when aborted)
    QString path;      // the file written, partial when aborted; empty when none was opened
};

// Every form of the dictionary's entries written to a file chosen with the save
// dialog, as a LongTask. The file is written through a temporary that replaces it
// when complete; after an abort the lines written so far replace it only when the
// user keeps them. `affixTable` caches the decoded .aff text between runs.
WordlistResult ExtractWordlist(const DictionaryDocument &dictionary, AffixTable &affixTable,
                               const MainSettings &settings, Ui &ui, WordlistKind kind);

// The number of forms of the dictionary's entries, as a LongTask.
WordlistResult CountWordlist(const DictionaryDocument &dictionary, AffixTable &affixTable, const MainSettings &settings,
                             Ui &ui);

// The Statistics window's own progress controls, which the extraction by type
// reports to instead of the main status bar. Any member may be empty.
struct TypeExtractionControls {
    std::function<void(qint64 maximum)> setProgressRange;
    std::function<void(qint64 value)> setProgressValue;
    std::function<void(const QString &text)> setElapsedText;
    std::function<void(const QString &text)> setAbortLabel;
};

// The Statistics window's "Extract" (mark off) and "Extract with Flags" (mark on):
// the forms of word type `selectedRow` (0..7, -1 for no selection), whose count in
// the type list is `rowCount`. `entryHasType` is the per-entry statistic of the
// type (index of the entry, its part before "\n"); entries for which it is false
// are not expanded. An empty function lets every entry through.
WordlistResult ExtractWordlistByType(const DictionaryDocument &dictionary, AffixTable &affixTable,
                                     const MainSettings &settings, Ui &ui, int selectedRow, qint64 rowCount, bool mark,
                                     const std::function<bool(qint64 index, QStringView part)> &entryHasType,
                                     const TypeExtractionControls &controls = {});

} // namespace lexaloom
