#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

#include "core/shell/list_document.h"
#include "core/shell/list_selection.h"

namespace lexaloom {

class Ui;
struct MainSettings;
struct ThesaurusDocument;

namespace synonymTexts {
inline const QString noSelection = BulkTextsOf(DocumentKind::Thesaurus).noSelection;
inline const QString deleteQuestion = QStringLiteral("Really delete synonym?\n\"");
inline const QString eraseQuestion = QStringLiteral("Really delete all synonyms?");
inline const QString erasingStatus = QStringLiteral("Erasing...");
inline const QString sortingStatus = QStringLiteral("Sorting Thesaurus...");
inline const QString foldingStatus = QStringLiteral("Removing accents... <ESC> to abort. Found:");
inline const QString sortStepStatus = QStringLiteral("Sorting... <ESC> to abort. Found:");
inline const QString populatingStatus = QStringLiteral("Populating with accents... <ESC> to abort. Found:");
inline const QString okStatus = QStringLiteral("OK.");
inline const QString addTitle = QStringLiteral("Add a synonym");
inline const QString editTitle = QStringLiteral("Edit a synonym");
inline const QString counterCaption = QStringLiteral("# Synonyms:");
inline const QString selectedCounter = QStringLiteral("Synonym: [");
// The grey example the empty meanings editor shows.
inline const QString usageExample =
    QStringLiteral("Usage example:\n(noun)|vessel (generic term)|watercraft (generic term)\n"
                   "(adj)|chromatic (similar term)\n"
                   "(noun)|gravy boat|gravy holder|sauceboat|dish (generic term)\n(verb)|ride (generic term)\n"
                   "(adj)|.45-caliber|.45 calibre|.45-calibre|diameter|diam (related term)");
inline const QString noWordText = QStringLiteral("No synonym text.");
inline const QString invalidSpaces = QStringLiteral("Invalid spaces in synonym.");
// A "|" in the head word would be read as the end of the word and the meaning count.
inline const QString barInSynonym = QStringLiteral("The synonym can't contain \"|\".");
inline const QString noMeaningsText = QStringLiteral("No meanings text.");
inline const QString blankMeanings = QStringLiteral("There are blank meanings.");
} // namespace synonymTexts

// "Synonym has more than 100 meanings."
QString TooManyMeaningsText();

// What keeps a bulk-import line "word,syn1,syn2" from becoming an entry the loader
// reads back as it was written: no head word, a "|" in it, more than 100 meanings (one
// per comma). Empty when there is nothing.
QString ImportedSynonymProblem(QStringView line);

// The refusals of Edit and Delete in the thesaurus' words.
const ListEntryTexts &SynonymEntryTexts();

// "# Synonyms:1,234" without a focused entry, "Synonym: [5/1,234]" with one.
QString SynonymCounterText(const ThesaurusDocument &doc, const QString &thousandsSeparator);

// The entry editor's two texts.
struct SynonymEditorTexts {
    QString word;
    QString meanings;

    bool operator==(const SynonymEditorTexts &) const = default;
};

// What the editor shows for an entry: the head word and the non-empty meaning lines,
// each followed by a line break.
SynonymEditorTexts SynonymEditorTextsOf(QStringView entry);

// The number the editor's counters show: the line feeds of the text, or its carriage
// returns when it has no line feed; 0 when empty.
int EditorMeaningCount(QStringView meanings);
// "# Meanings:" + n + "/100" and "|" + n.
QString MeaningCounterText(int n);
QString MeaningBarText(int n);

// The field turns red while the word begins or ends with a space or holds two in a row.
bool HasInvalidSpaces(QStringView word);

enum class SynonymField { None, Word, Meanings };

// OK's checks in their order: the first failure's message and the control to focus.
struct SynonymCheck {
    QString message;
    SynonymField field = SynonymField::None;

    bool ok() const { return field == SynonymField::None; }
};
SynonymCheck CheckSynonymTexts(const SynonymEditorTexts &texts);

// The entry the editor stores: "word|n\nmeaning 1\n...".
QString BuildSynonymEntry(const SynonymEditorTexts &texts);

enum class SynonymEditorMode { Add, Edit };

// Shows the editor; nothing when cancelled. What it returns has passed CheckSynonymTexts.
using OpenSynonymEditor =
    std::function<std::optional<SynonymEditorTexts>(SynonymEditorMode mode, const SynonymEditorTexts &initial)>;

// OpenEntryEditor: Add appends, Edit replaces the focused entry, each after an undo
// snapshot. True when the document changed.
bool OpenEntryEditor(ThesaurusDocument &doc, Ui &ui, SynonymEditorMode mode, const OpenSynonymEditor &openEditor);

// DeleteEntry; 1 when the entry went. `silentWithoutSelection` is the Find window's call.
int DeleteEntry(ThesaurusDocument &doc, Ui &ui, bool silentWithoutSelection = false);

// The list pop-up's "Clone": a copy of the focused entry, unticked, at the end; the
// focus stays. True when the document changed.
bool CloneEntry(ThesaurusDocument &doc, Ui &ui);

// EraseThesaurus; true when the entries went.
bool EraseThesaurus(ThesaurusDocument &doc, Ui &ui);

// The tab's Undo and Redo: UndoListChange and RedoListChange, with the encoding line
// that an Erase reset brought back (and reset again) with the file state.
std::optional<qint64> UndoThesaurus(ThesaurusDocument &doc);
std::optional<qint64> RedoThesaurus(ThesaurusDocument &doc);

// The key Sort orders by: FoldAccents of the entry with its first "|" made a tab, so a
// head word comes before every longer one that begins with it.
QString SynonymSortKey(QStringView entry);

// SortThesaurus; true when the entries were sorted. An abort leaves the list in its
// previous order.
bool SortThesaurus(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui);

} // namespace lexaloom
