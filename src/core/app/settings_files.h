#pragma once

#include <QString>

#include "core/shell/document_kind.h"
#include "core/shell/recent_files.h"

namespace lexaloom {

class Workbench;

// The workbench's settings files and recent-files log under its program folder.

// Start-up: reads every settings file into the workbench, in the fixed order; files that
// are missing or carry another version leave the defaults. Returns true when the main
// file existed with a size above zero and its values were loaded, and records that in
// `mainSettingsInForce`.
bool LoadAllSettings(Workbench &wb);

// Writers of the settings files: each replaces the whole file atomically with the
// current values (creating the settings folder when needed) and returns false when
// the file could not be written, in which case the old file is left as it was.
bool SaveMainSettings(const Workbench &wb);
bool SaveDicStatsReference(const Workbench &wb);
bool SaveMultiwordPrefs(const Workbench &wb);
bool SavePosSelection(const Workbench &wb);
bool SavePosLists(const Workbench &wb);
bool SaveDerivedSortChoice(const Workbench &wb);
bool SaveDuplicateOptions(const Workbench &wb);

// Records `path` in `kind`'s recent files and rewrites the workbench's log (see the
// RecentFiles overload).
bool AddRecentFile(Workbench &workbench, DocumentKind kind, const QString &path);
// The same for the current tab.
bool AddRecentFile(Workbench &workbench, const QString &path);

// The current tab's ten items of File > Recent Files.
RecentFilesMenu RefreshRecentFilesMenu(const Workbench &workbench);

} // namespace lexaloom
