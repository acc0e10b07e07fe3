#include "core/shell/document_slot.h"

#include "core/shell/file_dialogs.h"
#include "core/shell/list_document.h"
#include "core/shell/long_task.h"

namespace lexaloom {

DocumentSlot::~DocumentSlot() = default;

FileResult DocumentSlot::save(Ui &, bool, bool, const FileProgress &)
{
    return {};
}

DocumentSlot::PagedListSource DocumentSlot::pagedListSource()
{
    if (ListDocument *document = listDocument())
        return {&document->entries, &document->selectedIndex, &document->scrollPosition};
    return {};
}

QString BeginLoadIntoNewDocument(Ui &ui, const ListLoadTexts &texts, bool changed, const QString &path)
{
    ui.setStatusText(texts.loadingStatus);
    ui.setProgressValue(0);
    const QString target = !changed || ui.askYesNo(LongTask::warningTitle(), texts.changedQuestion, texts.changedIcon)
                               ? (path.isEmpty() ? AskOpenPath(ui, texts.openTitle, texts.fileFilter) : path)
                               : QString();
    if (target.isEmpty())
        ui.setStatusText(LongTask::abortedText());
    return target;
}

ListDocumentSlot::ListDocumentSlot(DocumentKind kind, ListDocument &document)
    : DocumentSlot(kind)
    , m_document(document)
{
}

const QString &ListDocumentSlot::path() const
{
    return m_document.path;
}

bool ListDocumentSlot::isChanged() const
{
    return m_document.changed;
}

qint64 ListDocumentSlot::entryCount() const
{
    return m_document.entries.size();
}

} // namespace lexaloom
