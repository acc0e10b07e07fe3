#pragma once

#include <QString>

namespace lexaloom {

struct DictionaryDocument;
struct MainSettings;
class Ui;

namespace dictionaryBulkTexts {
inline const QString eraseQuestion = QStringLiteral("Really delete all dictionary words?");
inline const QString erasingStatus = QStringLiteral("Erasing...");
inline const QString sortingStatus = QStringLiteral("Sorting Dictionary...");
inline const QString foldingStatus = QStringLiteral("Removing accents... <ESC> to abort. Found:");
inline const QString sortStepStatus = QStringLiteral("Sorting... <ESC> to abort. Found:");
inline const QString populatingStatus = QStringLiteral("Populating with accents... <ESC> to abort. Found:");
inline const QString affHasContents = QStringLiteral("The .AFF has contents.\n\nContinue?");
} // namespace dictionaryBulkTexts

// The Dictionary tab's "Erase": every entry goes after an undo snapshot, the file
// name is forgotten and the changed flag cleared; the .aff text stays. True when
// the entries went.
bool EraseDictionary(DictionaryDocument &doc, Ui &ui);

// The Dictionary tab's "Sort" by FoldAccents of the whole entry, equal keys in their
// previous order. Marks are cleared. An abort while the entries are written back
// leaves those written in their new places and the rest after them in their
// previous order, so nothing is lost or doubled; Undo brings the old order back.
// True when the entries were touched (sorted or partly sorted).
bool SortDictionary(DictionaryDocument &doc, const MainSettings &settings, Ui &ui);

// The .aff pane's "Clear": asks first when the pane has text; the pane empties and
// the dictionary counts as changed. True when cleared.
bool ClearAffText(DictionaryDocument &doc, Ui &ui);

} // namespace lexaloom
