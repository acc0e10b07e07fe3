#include "core/dictionary/dictionary_editing.h"

#include "core/dictionary/dictionary_files.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

const ListEntryTexts wordTexts{dictionaryTexts::noWords, editingTexts::noSelection, editingTexts::deleteQuestion};

} // namespace

void PushDictionaryUndo(DictionaryDocument &doc)
{
    TakeUndoSnapshot(doc);
}

// A snapshot that holds the .aff text marks it with this first character; an
// Erase's file state has no kind text.
constexpr QChar affTextMark(1);

namespace {

// Swaps the .aff text between the document and the step just restored, so the
// step that goes the other way holds the text it has to bring back.
std::optional<qint64> withAffText(DictionaryDocument &doc, std::optional<ListSnapshot> &from,
                                  std::optional<ListSnapshot> &to, std::optional<qint64> (*step)(ListDocument &))
{
    const bool holdsAff = from && from->file && from->file->kindText.startsWith(affTextMark);
    const QString restored = holdsAff ? from->file->kindText.mid(1) : QString();
    const std::optional<qint64> result = step(doc);
    if (holdsAff && result) {
        if (to && to->file)
            to->file->kindText = affTextMark + doc.affText;
        doc.affText = restored;
    }
    return result;
}

} // namespace

void PushDictionaryAffUndo(DictionaryDocument &doc)
{
    TakeEraseSnapshot(doc, affTextMark + doc.affText);
}

std::optional<qint64> UndoDictionary(DictionaryDocument &doc)
{
    return withAffText(doc, doc.undoSnapshot, doc.redoSnapshot, UndoListChange);
}

std::optional<qint64> RedoDictionary(DictionaryDocument &doc)
{
    return withAffText(doc, doc.redoSnapshot, doc.undoSnapshot, RedoListChange);
}

QString WordEditorTexts::entry() const
{
    return tags.isEmpty() ? word : word + u'\n' + tags;
}

WordEditorTexts WordEditorTexts::fromEntry(QStringView entry)
{
    const qsizetype lineEnd = entry.indexOf(u'\n');
    if (lineEnd < 0)
        return {entry.toString(), QString()};
    return {entry.first(lineEnd).toString(), entry.sliced(lineEnd + 1).toString()};
}

bool ApplyWordEditorResult(DictionaryDocument &doc, WordEditorMode mode, const WordEditorTexts &initial,
                           const WordEditorTexts &result)
{
    const bool differs = !(initial == result);
    if (mode == WordEditorMode::Edit && !doc.hasSelection())
        return false;
    if (differs)
        PushDictionaryUndo(doc);
    if (mode == WordEditorMode::Add)
        doc.entries.append(result.entry());
    else if (differs)
        doc.entries.replace(doc.selectedIndex, result.entry());
    if (differs)
        doc.changed = true;
    return differs || mode == WordEditorMode::Add;
}

bool AddWord(DictionaryDocument &doc, const OpenWordEditor &openEditor)
{
    const WordEditorTexts initial;
    const std::optional<WordEditorTexts> result = openEditor(WordEditorMode::Add, initial);
    return result && ApplyWordEditorResult(doc, WordEditorMode::Add, initial, *result);
}

bool EditWord(DictionaryDocument &doc, Ui &ui, const OpenWordEditor &openEditor)
{
    if (!CheckListSelection(doc, ui, wordTexts))
        return false;
    const qint64 index = doc.selectedIndex;
    const WordEditorTexts initial = WordEditorTexts::fromEntry(doc.entries.view(index));
    const std::optional<WordEditorTexts> result = openEditor(WordEditorMode::Edit, initial);
    if (!result)
        return false;
    // The editor is modal; the selection it edits is the one it opened on.
    doc.selectedIndex = index;
    return ApplyWordEditorResult(doc, WordEditorMode::Edit, initial, *result);
}

bool CloneWord(DictionaryDocument &doc, Ui &ui)
{
    if (!CheckListSelection(doc, ui, wordTexts))
        return false;
    PushDictionaryUndo(doc);
    doc.changed = true;
    // Copied first: appending may move the store's buffer under the view.
    const QString entry = doc.entries.at(doc.selectedIndex);
    doc.entries.append(entry);
    return true;
}

int DeleteWord(DictionaryDocument &doc, Ui &ui, bool silentWithoutSelection)
{
    // The question shows the entry on one line: its tags after a space.
    const auto shown = [](QStringView entry) { return entry.toString().replace(u'\n', u' '); };
    return DeleteListEntry(doc, ui, wordTexts, shown, silentWithoutSelection);
}

} // namespace lexaloom
