#pragma once

#include <QString>

#include "core/app/settings_files.h"
#include "core/shell/document_kind.h"
#include "core/shell/document_slot.h"

namespace lexaloom {

class Ui;
class Workbench;

// Records the file of a done load or save in the kind's recent files and gives the
// result back: the one place a file becomes recent.
template <typename Result> Result RecordRecentFile(Workbench &workbench, DocumentKind kind, Result result)
{
    if (result.done())
        AddRecentFile(workbench, kind, result.path);
    return result;
}

// File > Open (the dialog when `path` is empty) and a recent file on `kind`'s tab:
// the kind's own load through its slot, recorded in the recent files when done.
DocumentLoadResult OpenDocumentFile(Workbench &workbench, DocumentKind kind, Ui &ui, const QString &path = QString(),
                                    const FileProgress &progress = {});
// File > Recent Files: entry `index` of the kind's list, empty for an empty entry.
QString RecentDocumentPath(const Workbench &workbench, DocumentKind kind, int index);
// File > Save (true, false) and Save As (false, true) the same way; Cancelled for
// the kinds that are shown only.
FileResult SaveDocumentFile(Workbench &workbench, DocumentKind kind, Ui &ui, bool useCurrentName, bool askForName,
                            const FileProgress &progress = {});

} // namespace lexaloom
