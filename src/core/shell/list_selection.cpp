#include "core/shell/list_selection.h"

#include "core/shell/list_document.h"
#include "core/shell/long_task.h"
#include "core/shell/ui.h"

namespace lexaloom {

const BulkListTexts &BulkTextsOf(DocumentKind kind)
{
    static const BulkListTexts dictionary{
        QStringLiteral("No dictionary words found."), QStringLiteral("No dictionary word selected."),
        QStringLiteral("No selected dictionary words found."), QStringLiteral(" dictionary word")};
    static const BulkListTexts thesaurus{QStringLiteral("No synonyms found."), QStringLiteral("No synonym selected."),
                                         QStringLiteral("No selected synonyms found."), QStringLiteral(" synonym")};
    static const BulkListTexts autocorrect{
        QStringLiteral("No autocorrect words found."), QStringLiteral("No autocorrect word selected."),
        QStringLiteral("No selected autocorrect words found."), QStringLiteral(" autocorrect word")};
    switch (kind) {
    case DocumentKind::Thesaurus:
        return thesaurus;
    case DocumentKind::Autocorrect:
        return autocorrect;
    default:
        return dictionary;
    }
}

namespace {

void warn(Ui &ui, const QString &text)
{
    ui.showMessage(LongTask::warningTitle(), text, MessageIcon::Warning);
}

} // namespace

bool ChangeAllMarks(ListDocument &doc, Ui &ui, const BulkListTexts &texts, MarkAction action)
{
    if (doc.entries.isEmpty()) {
        warn(ui, texts.noEntries);
        return false;
    }
    switch (action) {
    case MarkAction::All:
        doc.entries.markAll();
        break;
    case MarkAction::None:
        doc.entries.clearMarks();
        break;
    case MarkAction::Invert:
        doc.entries.invertMarks();
        break;
    }
    return true;
}

QString DeleteMarkedQuestion(const BulkListTexts &texts, qint64 marked)
{
    return QStringLiteral("Really delete ") + QString::number(marked) + texts.noun +
           (marked > 1 ? QStringLiteral("s") : QString()) + u'?';
}

bool DeleteMarked(ListDocument &doc, Ui &ui, const BulkListTexts &texts)
{
    if (doc.entries.isEmpty()) {
        warn(ui, texts.noEntries);
        return false;
    }
    const qint64 marked = doc.entries.markedCount();
    if (marked == 0) {
        warn(ui, texts.nothingMarked);
        return false;
    }
    if (!ui.askYesNo(LongTask::warningTitle(), DeleteMarkedQuestion(texts, marked), MessageIcon::Warning))
        return false;
    TakeUndoSnapshot(doc);
    doc.entries.removeMarked();
    doc.selectedIndex = -1;
    doc.changed = true;
    return true;
}

bool CloneListEntry(ListDocument &doc, Ui &ui, const BulkListTexts &texts)
{
    if (!CheckListSelection(doc, ui, {texts.noEntries, texts.noSelection, {}}))
        return false;
    TakeUndoSnapshot(doc);
    doc.changed = true;
    // Copied first: appending may move the store's buffer under the view.
    const QString entry = doc.entries.at(doc.selectedIndex);
    doc.entries.append(entry);
    return true;
}

} // namespace lexaloom
