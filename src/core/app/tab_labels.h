#pragma once

#include "core/shell/document_kind.h"

#include <QString>
#include <QtGlobal>

namespace lexaloom {

class Workbench;

// Texts of a tab's file-information line.
struct FileInfoTexts {
    QString counter;  // "# Words:1,234"
    QString changed;  // "*" while the document is changed
    QString folder;   // folder of the document's file, "n/a" before a load
    QString file;     // its file name, "n/a" before a load
    QString selected; // "Selected:None", "Selected:All", "Selected:3"
};

// RefreshSelectedLabel's text for `marked` of `count` entries.
QString SelectedLabelText(qint64 marked, qint64 count);

// The whole file-information line of the kind's tab.
FileInfoTexts TabFileInfo(const Workbench &workbench, DocumentKind kind);

// The caption of the kind's tab in the tab strip.
QString TabCaption(DocumentKind kind);

// "# Hyphenations:" + the number of rows of the Hyphenation tab's result list.
QString HyphenationCountText(qint64 rows);
// The labels under the XML pane of the AutoText and LanguageTool tabs; "n/a" when empty.
QString RuleIdText(const QString &id);
QString RuleNameText(const QString &name);

} // namespace lexaloom
