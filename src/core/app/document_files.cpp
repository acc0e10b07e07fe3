#include "core/app/document_files.h"

#include "core/app/workbench.h"

namespace lexaloom {

DocumentLoadResult OpenDocumentFile(Workbench &workbench, DocumentKind kind, Ui &ui, const QString &path,
                                    const FileProgress &progress)
{
    DocumentSlot &slot = workbench.slot(kind);
    return RecordRecentFile(workbench, kind, slot.load(ui, path, progress));
}

QString RecentDocumentPath(const Workbench &workbench, DocumentKind kind, int index)
{
    return workbench.recentFiles.list(workbench.slot(kind).recentFilesList()).value(index);
}

FileResult SaveDocumentFile(Workbench &workbench, DocumentKind kind, Ui &ui, bool useCurrentName, bool askForName,
                            const FileProgress &progress)
{
    DocumentSlot &slot = workbench.slot(kind);
    if (!slot.canSave())
        return {};
    return RecordRecentFile(workbench, kind, slot.save(ui, useCurrentName, askForName, progress));
}

} // namespace lexaloom
