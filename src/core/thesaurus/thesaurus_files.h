#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

#include "core/shell/atomic_write.h"
#include "core/shell/document_kind.h"
#include "core/shell/document_slot.h"
#include "core/shell/file_outcome.h"
#include "core/shell/list_selection.h"

namespace lexaloom {

class Ui;
struct MainSettings;
struct ThesaurusDocument;

namespace thesaurusTexts {
inline const QString loadingStatus = QStringLiteral("Loading Thesaurus... <ESC> to abort.");
inline const QString savingStatus = QStringLiteral("Saving Thesaurus... <ESC> to abort.");
inline const QString openTitle = QStringLiteral("Open Thesaurus");
inline const QString saveTitle = QStringLiteral("Save Thesaurus");
inline const QString fileFilter = KindFacts(DocumentKind::Thesaurus).openFilter;
inline const QString fileExtension = QStringLiteral(".dat");
inline const QString changedQuestion = QStringLiteral("The Thesaurus has been changed.\n\nContinue?");
// %1 is the file's first line.
inline const QString notUtf8Question =
    QStringLiteral("Thesaurus is not in \"UTF-8-BOM\" format:\n%1\n\nIt may lead to corrupt results.\nContinue?");
inline const QString noSynonyms = BulkTextsOf(DocumentKind::Thesaurus).noEntries;
inline const QString okPrefix = QStringLiteral("OK. ");
inline const QString defaultEncoding = QStringLiteral("UTF-8");
} // namespace thesaurusTexts

// The most meanings one entry may have: the loader, the editor and the list's columns
// all stop there.
inline constexpr int maxMeanings = 100;
QString TooManyMeaningsOnLoadText(); // "Found synonym with more than 100 meanings."

using TickCallback = std::function<void(qint64 entries)>;

struct ThesaurusFileResult : FileResult {
    qint64 idxBytes = 0; // file sizes, as in the status text
    qint64 datBytes = 0;
};

// File > Open on the Thesaurus tab, or a recent file when `path` is given. The file is
// read into a document of its own, which replaces `document` only when the whole load
// succeeded: a refused, aborted or failed load leaves the open thesaurus (entries,
// path, changed flag, undo) exactly as it was. Reading never creates or changes a file
// (only a save of the pair that was cut off is finished, when the user says so). Bytes
// that are not UTF-8 come back unchanged on saving.
// `onTick` is called on every refresh tick with the number of entries read so far
// (the tab's counter follows the load).
ThesaurusFileResult LoadThesaurus(ThesaurusDocument &document, const MainSettings &settings, Ui &ui,
                                  const QString &path = QString(), const TickCallback &onTick = {});

// File > Save (true, false) and Save As (false, true). The .dat and its .idx replace
// the old pair only when both were written completely; otherwise the old pair and the
// document stay as they were.
ThesaurusFileResult SaveThesaurus(ThesaurusDocument &document, const MainSettings &settings, Ui &ui,
                                  bool useCurrentName, bool askForName, const TickCallback &onTick = {});

// The load and save of one pair without dialogs or the changed question: for the
// command line and the tests. `out` is emptied first and is to be dropped unless done().
// The index lists the head words in byte order (as strcmp compares them, which is how
// its readers search it), each with the offset of its entry in the .dat; the .dat
// keeps the list order.
ThesaurusFileResult ReadThesaurusFile(Ui &ui, const MainSettings &settings, const QString &datPath,
                                      ThesaurusDocument &out, const TickCallback &onTick = {});
ThesaurusFileResult WriteThesaurusFiles(Ui &ui, const MainSettings &settings, const ThesaurusDocument &document,
                                        const QString &datPath, const TickCallback &onTick = {},
                                        FileOps &fileOps = SystemFileOps());

// The Thesaurus tab's document slot; the progress' tick gets the entries done so far.
class ThesaurusSlot final : public ListDocumentSlot {
public:
    ThesaurusSlot(ThesaurusDocument &document, const MainSettings &settings);

    DocumentLoadResult load(Ui &ui, const QString &path, const FileProgress &progress) override;
    FileResult save(Ui &ui, bool useCurrentName, bool askForName, const FileProgress &progress) override;

private:
    ThesaurusDocument &m_thesaurus;
    const MainSettings &m_settings;
};

// The index beside a .dat, in the same folder: a ".dat" ending (any letter case)
// replaced by ".idx", or ".idx" appended to a name without it.
QString IndexPathFor(const QString &datPath);

// The parts of an entry "head|n\nmeaning 1\n...".
QStringView HeaderOf(QStringView entry);
QStringView HeadWordOf(QStringView entry);
// The integer value of the header's second "|"-field as an integer conversion reads it
// (leading white space and a sign allowed: "cat| 2" has 2); 0 when empty, negative or not
// a number.
int MeaningCountOf(QStringView header);

} // namespace lexaloom
