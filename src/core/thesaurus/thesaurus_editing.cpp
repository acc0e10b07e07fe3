#include "core/thesaurus/thesaurus_editing.h"

#include <QList>

#include <algorithm>
#include <vector>

#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/text_folding.h"
#include "core/shell/ui.h"
#include "core/thesaurus/thesaurus_document.h"
#include "core/thesaurus/thesaurus_files.h"

namespace lexaloom {

namespace {

std::optional<qint64> stepWithEncodingLine(ThesaurusDocument &doc, bool undo)
{
    const std::optional<ListSnapshot> &from = undo ? doc.undoSnapshot : doc.redoSnapshot;
    const std::optional<QString> restored = from && from->file ? std::optional(from->file->kindText) : std::nullopt;
    const QString current = doc.encodingLine;
    const std::optional<qint64> scroll = undo ? UndoListChange(doc) : RedoListChange(doc);
    if (scroll && restored) {
        doc.encodingLine = *restored;
        std::optional<ListSnapshot> &back = undo ? doc.redoSnapshot : doc.undoSnapshot;
        back->file->kindText = current;
    }
    return scroll;
}

// The meaning lines as the editor hands them over, whatever line ends were pasted.
QString meaningLines(const QString &meanings)
{
    return NormaliseLineEnds(meanings);
}

int storedMeaningCount(const QString &lines)
{
    const qsizetype feeds = lines.count(u'\n');
    return static_cast<int>(std::min<qsizetype>(feeds + (lines.endsWith(u'\n') ? 0 : 1), maxMeanings + 1));
}

bool isEmptyOrSpace(const QString &text)
{
    return text.isEmpty() || text == QLatin1String(" ");
}

} // namespace

QString TooManyMeaningsText()
{
    return QStringLiteral("Synonym has more than ") + QString::number(maxMeanings) + QStringLiteral(" meanings.");
}

QString ImportedSynonymProblem(QStringView line)
{
    const qsizetype comma = line.indexOf(u',');
    const QStringView word = comma < 0 ? line : line.first(comma);
    if (word.isEmpty())
        return synonymTexts::noWordText;
    if (word.contains(u'|'))
        return synonymTexts::barInSynonym;
    if (line.count(u',') > maxMeanings)
        return TooManyMeaningsText();
    return {};
}

const ListEntryTexts &SynonymEntryTexts()
{
    static const ListEntryTexts texts{thesaurusTexts::noSynonyms, synonymTexts::noSelection,
                                      synonymTexts::deleteQuestion};
    return texts;
}

QString SynonymCounterText(const ThesaurusDocument &doc, const QString &thousandsSeparator)
{
    const qint64 count = doc.entries.size();
    if (!doc.hasSelection())
        return synonymTexts::counterCaption + FormatCount(count, thousandsSeparator);
    return synonymTexts::selectedCounter + FormatCount(doc.selectedIndex + 1, thousandsSeparator) + u'/' +
           FormatCount(count, thousandsSeparator) + u']';
}

SynonymEditorTexts SynonymEditorTextsOf(QStringView entry)
{
    SynonymEditorTexts texts;
    texts.word = HeadWordOf(entry).toString();
    const QStringView header = HeaderOf(entry);
    if (header.size() >= entry.size())
        return texts;
    for (const QStringView line : entry.sliced(header.size() + 1).split(u'\n')) {
        if (line.isEmpty())
            continue;
        texts.meanings += line;
        texts.meanings += u'\n';
    }
    return texts;
}

int EditorMeaningCount(QStringView meanings)
{
    const qsizetype feeds = meanings.count(u'\n');
    return static_cast<int>(feeds > 0 ? feeds : meanings.count(u'\r'));
}

QString MeaningCounterText(int n)
{
    return QStringLiteral("# Meanings:") + QString::number(n) + u'/' + QString::number(maxMeanings);
}

QString MeaningBarText(int n)
{
    return u'|' + QString::number(n);
}

bool HasInvalidSpaces(QStringView word)
{
    return word.startsWith(u' ') || word.endsWith(u' ') || word.contains(QLatin1String("  "));
}

SynonymCheck CheckSynonymTexts(const SynonymEditorTexts &texts)
{
    if (isEmptyOrSpace(texts.word))
        return {synonymTexts::noWordText, SynonymField::Word};
    if (HasInvalidSpaces(texts.word))
        return {synonymTexts::invalidSpaces, SynonymField::Word};
    if (texts.word.contains(u'|'))
        return {synonymTexts::barInSynonym, SynonymField::Word};
    if (isEmptyOrSpace(texts.meanings))
        return {synonymTexts::noMeaningsText, SynonymField::Meanings};
    const QString lines = meaningLines(texts.meanings);
    if (lines.contains(QLatin1String("\n\n")))
        return {synonymTexts::blankMeanings, SynonymField::Meanings};
    if (storedMeaningCount(lines) > maxMeanings)
        return {TooManyMeaningsText(), SynonymField::Meanings};
    return {};
}

QString BuildSynonymEntry(const SynonymEditorTexts &texts)
{
    const QString lines = meaningLines(texts.meanings);
    QString entry = texts.word + u'|' + QString::number(storedMeaningCount(lines)) + u'\n' + lines;
    if (entry.endsWith(u'\n'))
        entry.chop(1);
    return entry;
}

bool OpenEntryEditor(ThesaurusDocument &doc, Ui &ui, SynonymEditorMode mode, const OpenSynonymEditor &openEditor)
{
    SynonymEditorTexts initial;
    if (mode == SynonymEditorMode::Edit) {
        if (!CheckListSelection(doc, ui, SynonymEntryTexts()))
            return false;
        initial = SynonymEditorTextsOf(doc.entries.view(doc.selectedIndex));
    }
    const std::optional<SynonymEditorTexts> result = openEditor(mode, initial);
    if (!result)
        return false;
    const QString entry = BuildSynonymEntry(*result);
    // An Edit that ends where it began is no change.
    if (mode == SynonymEditorMode::Edit && doc.hasSelection() && doc.entries.view(doc.selectedIndex) == entry)
        return false;
    TakeUndoSnapshot(doc);
    if (mode == SynonymEditorMode::Add)
        doc.entries.append(entry);
    else
        doc.entries.replace(doc.selectedIndex, entry);
    doc.changed = true;
    return true;
}

int DeleteEntry(ThesaurusDocument &doc, Ui &ui, bool silentWithoutSelection)
{
    return DeleteListEntry(
        doc, ui, SynonymEntryTexts(), [](QStringView entry) { return HeaderOf(entry).toString(); },
        silentWithoutSelection);
}

bool CloneEntry(ThesaurusDocument &doc, Ui &ui)
{
    if (!CheckListSelection(doc, ui, SynonymEntryTexts()))
        return false;
    TakeUndoSnapshot(doc);
    doc.entries.append(doc.entries.at(doc.selectedIndex));
    doc.changed = true;
    return true;
}

bool EraseThesaurus(ThesaurusDocument &doc, Ui &ui)
{
    if (doc.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), thesaurusTexts::noSynonyms, MessageIcon::Warning);
        return false;
    }
    if (doc.changed && !ui.askYesNo(LongTask::warningTitle(), thesaurusTexts::changedQuestion, MessageIcon::Warning))
        return false;
    if (!ui.askYesNo(LongTask::warningTitle(), synonymTexts::eraseQuestion, MessageIcon::Warning))
        return false;
    TakeEraseSnapshot(doc, doc.encodingLine);
    ui.setStatusText(synonymTexts::erasingStatus);
    doc.entries.clear();
    doc.encodingLine = thesaurusTexts::defaultEncoding;
    doc.path.clear();
    doc.selectedIndex = -1;
    doc.changed = false;
    ui.setStatusText(synonymTexts::okStatus);
    return true;
}

std::optional<qint64> UndoThesaurus(ThesaurusDocument &doc)
{
    return stepWithEncodingLine(doc, true);
}

std::optional<qint64> RedoThesaurus(ThesaurusDocument &doc)
{
    return stepWithEncodingLine(doc, false);
}

QString SynonymSortKey(QStringView entry)
{
    QString text = entry.toString();
    if (const qsizetype bar = text.indexOf(u'|'); bar >= 0)
        text[bar] = u'\t';
    return FoldAccents(text);
}

bool SortThesaurus(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui)
{
    if (doc.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), thesaurusTexts::noSynonyms, MessageIcon::Warning);
        return false;
    }
    ui.setStatusText(synonymTexts::sortingStatus);
    TakeUndoSnapshot(doc, true);
    const qint64 count = doc.entries.size();
    LongTask task(ui, settings);
    task.begin(synonymTexts::sortingStatus, count);

    struct Keyed {
        QString key;
        qint64 index;
    };
    std::vector<Keyed> keys;
    keys.reserve(static_cast<size_t>(count));
    const bool folded = task.forEach(
        count, [&](qint64 i) { task.showProgress(synonymTexts::foldingStatus + QString::number(i), i); },
        [&](qint64 i) {
            keys.push_back({SynonymSortKey(doc.entries.view(i)), i});
        },
        {.pollAfterItem = true});
    if (!folded) {
        task.cancel();
        return false;
    }
    task.showProgress(synonymTexts::sortStepStatus + QString::number(count), count);
    // Equal keys keep their order, so sorting twice changes nothing.
    std::stable_sort(keys.begin(), keys.end(), [](const Keyed &a, const Keyed &b) { return a.key < b.key; });

    // Written back into a new list that replaces the old one only when complete: an
    // abort half-way would otherwise leave some entries twice and others gone.
    EntryStore sorted;
    qint64 characters = 0;
    for (qint64 i = 0; i < count; ++i)
        characters += doc.entries.view(i).size();
    sorted.reserve(count, characters);
    const bool populated = task.forEach(
        count, [&](qint64 i) { task.showProgress(synonymTexts::populatingStatus + QString::number(i), i); },
        [&](qint64 i) { sorted.append(doc.entries.view(keys[static_cast<size_t>(i)].index)); },
        {.pollAfterItem = true});
    if (!populated) {
        task.cancel();
        return false;
    }
    doc.entries = std::move(sorted); // marks are all cleared
    doc.selectedIndex = -1;
    doc.changed = true;
    task.finish(synonymTexts::okStatus + task.elapsedText());
    return true;
}

} // namespace lexaloom
