#include "dictionary/dictionary_editing.h"

#include "dictionary/dictionary_files.h"
#include "shell/ui.h"

namespace lexaloom {

namespace {

DictionaryDocument::Snapshot takeSnapshot(const DictionaryDocument &doc, qint64 scrollPosition)
{
    return {doc.entries, doc.selectedIndex, scrollPosition};
}

qint64 restore(DictionaryDocument &doc, DictionaryDocument::Snapshot &&snapshot)
{
    // The store recounts its marks as it is copied, so markedCount follows the marks.
    doc.entries = std::move(snapshot.entries);
    doc.selectedIndex = snapshot.selectedIndex < doc.entries.size() ? snapshot.selectedIndex : -1;
    return snapshot.scrollPosition;
}

// The refusal every single-entry command shares; true when there is a selection.
bool hasSelection(const DictionaryDocument &doc, Ui &ui, bool silent = false)
{
    if (doc.entries.isEmpty()) {
        ui.showMessage(editingTexts::warningTitle, dictionaryTexts::noWords, MessageIcon::Warning);
        return false;
    }
    if (doc.selectedIndex < 0 || doc.selectedIndex >= doc.entries.size()) {
        if (!silent)
            ui.showMessage(editingTexts::warningTitle, editingTexts::noSelection, MessageIcon::Warning);
        return false;
    }
    return true;
}

} // namespace

void PushDictionaryUndo(DictionaryDocument &doc, qint64 scrollPosition)
{
    doc.undoSnapshot = takeSnapshot(doc, scrollPosition);
    doc.redoSnapshot.reset();
}

std::optional<qint64> UndoDictionary(DictionaryDocument &doc, qint64 scrollPosition)
{
    if (!doc.undoSnapshot)
        return std::nullopt;
    DictionaryDocument::Snapshot snapshot = std::move(*doc.undoSnapshot);
    doc.undoSnapshot.reset();
    doc.redoSnapshot = takeSnapshot(doc, scrollPosition);
    return restore(doc, std::move(snapshot));
}

std::optional<qint64> RedoDictionary(DictionaryDocument &doc, qint64 scrollPosition)
{
    if (!doc.redoSnapshot)
        return std::nullopt;
    DictionaryDocument::Snapshot snapshot = std::move(*doc.redoSnapshot);
    doc.redoSnapshot.reset();
    doc.undoSnapshot = takeSnapshot(doc, scrollPosition);
    return restore(doc, std::move(snapshot));
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
                           const WordEditorTexts &result, qint64 scrollPosition)
{
    const bool differs = !(initial == result);
    if (mode == WordEditorMode::Edit && (doc.selectedIndex < 0 || doc.selectedIndex >= doc.entries.size()))
        return false;
    if (differs)
        PushDictionaryUndo(doc, scrollPosition);
    if (mode == WordEditorMode::Add)
        doc.entries.append(result.entry());
    else if (differs)
        doc.entries.replace(doc.selectedIndex, result.entry());
    if (differs)
        doc.changed = true;
    return differs || mode == WordEditorMode::Add;
}

bool AddWord(DictionaryDocument &doc, qint64 scrollPosition, const OpenWordEditor &openEditor)
{
    const WordEditorTexts initial;
    const std::optional<WordEditorTexts> result = openEditor(WordEditorMode::Add, initial);
    return result && ApplyWordEditorResult(doc, WordEditorMode::Add, initial, *result, scrollPosition);
}

bool EditWord(DictionaryDocument &doc, Ui &ui, qint64 scrollPosition, const OpenWordEditor &openEditor)
{
    if (!hasSelection(doc, ui))
        return false;
    const qint64 index = doc.selectedIndex;
    const WordEditorTexts initial = WordEditorTexts::fromEntry(doc.entries.view(index));
    const std::optional<WordEditorTexts> result = openEditor(WordEditorMode::Edit, initial);
    if (!result)
        return false;
    // The editor is modal; the selection it edits is the one it opened on.
    doc.selectedIndex = index;
    return ApplyWordEditorResult(doc, WordEditorMode::Edit, initial, *result, scrollPosition);
}

bool CloneWord(DictionaryDocument &doc, Ui &ui, qint64 scrollPosition)
{
    if (!hasSelection(doc, ui))
        return false;
    PushDictionaryUndo(doc, scrollPosition);
    doc.changed = true;
    // Copied first: appending may move the store's buffer under the view.
    const QString entry = doc.entries.at(doc.selectedIndex);
    doc.entries.append(entry);
    return true;
}

int DeleteWord(DictionaryDocument &doc, Ui &ui, qint64 scrollPosition, bool silentWithoutSelection)
{
    if (!hasSelection(doc, ui, silentWithoutSelection))
        return 0;
    QString shown = doc.entries.at(doc.selectedIndex);
    shown.replace(u'\n', u' ');
    if (!ui.askYesNo(editingTexts::warningTitle, editingTexts::deleteQuestion + shown + u'"', MessageIcon::Warning))
        return 0;
    PushDictionaryUndo(doc, scrollPosition);
    doc.entries.remove(doc.selectedIndex);
    doc.selectedIndex = -1;
    doc.changed = true;
    return 1;
}

} // namespace lexaloom
