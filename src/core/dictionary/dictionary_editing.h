#pragma once

#include "core/dictionary/dictionary_document.h"
#include "core/shell/list_selection.h"
#include "core/shell/long_task.h"

#include <QString>

#include <functional>
#include <optional>

namespace lexaloom {

class Ui;

namespace editingTexts {
inline const QString warningTitle = LongTask::warningTitle();
inline const QString noSelection = BulkTextsOf(DocumentKind::Dictionary).noSelection;
inline const QString deleteQuestion = QStringLiteral("Really delete dictionary word?\n\"");
inline const QString addTitle = QStringLiteral("Add a word");
inline const QString editTitle = QStringLiteral("Edit a word");
} // namespace editingTexts

// The one level of undo and redo of the Dictionary tab, the document's scroll
// position with it.
void PushDictionaryUndo(DictionaryDocument &doc);
// Both return the scroll position to show, or nothing when no snapshot was armed.
std::optional<qint64> UndoDictionary(DictionaryDocument &doc);
std::optional<qint64> RedoDictionary(DictionaryDocument &doc);
// The snapshot of a tool that changes the .aff text as well (Convert to UTF-8): undo
// and redo bring back the .aff text and the changed flag with the entries.
void PushDictionaryAffUndo(DictionaryDocument &doc);

enum class WordEditorMode { Add, Edit };

// The texts of the word editor's two fields.
struct WordEditorTexts {
    QString word;
    QString tags;

    // "word" or "word\ntags".
    QString entry() const;
    static WordEditorTexts fromEntry(QStringView entry);
    bool operator==(const WordEditorTexts &) const = default;
};

// Opens the word editor; nothing when it was cancelled. The texts returned have
// passed the editor's OK checks.
using OpenWordEditor =
    std::function<std::optional<WordEditorTexts>(WordEditorMode mode, const WordEditorTexts &initial)>;

// Stores what the editor returned: a snapshot first when the texts differ from the
// opening ones, then appended (Add) or replacing the selected entry (Edit).
// Returns true when the document changed.
bool ApplyWordEditorResult(DictionaryDocument &doc, WordEditorMode mode, const WordEditorTexts &initial,
                           const WordEditorTexts &result);

// The commands; each returns true when the document changed.
bool AddWord(DictionaryDocument &doc, const OpenWordEditor &openEditor);
bool EditWord(DictionaryDocument &doc, Ui &ui, const OpenWordEditor &openEditor);
bool CloneWord(DictionaryDocument &doc, Ui &ui);
// 1 when the entry was deleted. `silentWithoutSelection` is the Find window's call.
int DeleteWord(DictionaryDocument &doc, Ui &ui, bool silentWithoutSelection = false);

} // namespace lexaloom
