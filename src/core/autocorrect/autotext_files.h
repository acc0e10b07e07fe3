#pragma once

#include <QString>
#include <QStringView>

#include "core/autocorrect/autocorrect_files.h"
#include "core/shell/document_kind.h"

namespace lexaloom {

class Ui;
struct AutoTextList;
struct MainSettings;

namespace autoTextTexts {
inline const QString loadingStatus = QStringLiteral("Loading AutoText List... <ESC> to abort.");
inline const QString openTitle = QStringLiteral("Open AutoText List");
inline const QString fileFilter = KindFacts(DocumentKind::AutoText).openFilter;
inline const QString noEntries = QStringLiteral(".XML file has no valid entries.");
inline const QString codeTooltip = QStringLiteral("The .xml code");
// The reason given for a content file that is a FIFO, a device or a folder.
inline const QString notRegularFile = QStringLiteral("Not a regular file.");
inline const QString outOfMemory = QStringLiteral("Not enough memory to read the content files of this list.");
} // namespace autoTextTexts

struct AutoTextFileResult : FileResult {
    qint64 catalogueBytes = 0; // the BlockList.xml
    qint64 contentBytes = 0;   // the content files read, summed
};

// File > Open on the AutoText tab, or a recent file. The catalogue replaces `list`
// only when it was read to its end; on Cancel, Escape or an error the list shown
// stays as it was. Content files are only read: a missing one gives an empty content
// and is never created.
AutoTextFileResult LoadAutoTextList(AutoTextList &list, const MainSettings &settings, Ui &ui,
                                    const QString &path = QString());

// The load without the file dialog, into `out` (emptied first). Each content file is
// read once, however many entries name it; only regular files are read (the first
// other one is named in a message, its entries get no content). The contents may take
// `memoryBudget` bytes (0: MemoryBudget()); past it the load stops with outOfMemory.
AutoTextFileResult ReadAutoTextFile(Ui &ui, const MainSettings &settings, const QString &path, AutoTextList &out,
                                    qint64 memoryBudget = 0);

// The content file of the entry whose package is `packageName`: "<package>/<package>.xml"
// beside the catalogue when that file exists and is not empty, else
// "<package>/content.xml".
QString AutoTextContentPath(const QString &cataloguePath, const QString &packageName);

// What the tab's code box shows of a content file: the text of each paragraph and
// span that ends a line once every tag ends one, a line feed after each.
QString AutoTextContent(QStringView xml);

// The quoted value after the first `attribute` (such as "package-name=") in `element`;
// single or double quotes, empty when the "=" is not followed by a quote.
QString AutoTextAttribute(QStringView element, QStringView attribute);

// The AutoText tab's document slot: shown only.
class AutoTextSlot final : public DocumentSlot {
public:
    AutoTextSlot(AutoTextList &list, const MainSettings &settings);

    const QString &path() const override;
    bool isChanged() const override { return false; }
    qint64 entryCount() const override;
    DocumentLoadResult load(Ui &ui, const QString &path, const FileProgress &progress) override;

private:
    AutoTextList &m_list;
    const MainSettings &m_settings;
};

} // namespace lexaloom
