#pragma once

#include <QString>

#include "core/shell/document_kind.h"

namespace lexaloom {

struct ListDocument;
class Ui;

// The words the selection commands of a list use in their messages.
struct BulkListTexts {
    QString noEntries;     // "No dictionary words found."
    QString noSelection;   // "No dictionary word selected."
    QString nothingMarked; // "No selected dictionary words found."
    QString noun;          // " dictionary word", as in "Really delete 3 dictionary words?"
};

// The texts of the Dictionary, Thesaurus and Autocorrect lists; the Dictionary's for
// any other kind.
const BulkListTexts &BulkTextsOf(DocumentKind kind);

// The list pop-up's mark commands. On an empty document they tell so and change
// nothing; otherwise they set, clear or flip every mark without touching `changed`
// or the undo step. True when the marks were rewritten (the page must follow).
enum class MarkAction { All, None, Invert };
bool ChangeAllMarks(ListDocument &doc, Ui &ui, const BulkListTexts &texts, MarkAction action);

// "Delete Selected": asks "Really delete N <noun>(s)?" and on Yes keeps only the
// unmarked entries in one pass, after an undo snapshot. The focus goes and
// `changed` is set. True when entries went.
bool DeleteMarked(ListDocument &doc, Ui &ui, const BulkListTexts &texts);
// "Really delete 3 synonyms?"
QString DeleteMarkedQuestion(const BulkListTexts &texts, qint64 marked);

// "Clone" of the Thesaurus and Autocorrect lists: a copy of the focused entry,
// unmarked, at the end, after an undo snapshot; the focus stays. True when added.
bool CloneListEntry(ListDocument &doc, Ui &ui, const BulkListTexts &texts);

} // namespace lexaloom
