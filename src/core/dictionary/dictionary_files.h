#pragma once

#include <QString>

#include <QStringView>
#include <functional>
#include <memory>
#include <optional>

#include "core/dictionary/dic_line_reader.h"
#include "core/dictionary/dictionary_charset.h"
#include "core/shell/atomic_write.h"
#include "core/shell/document_kind.h"
#include "core/shell/document_slot.h"
#include "core/shell/file_outcome.h"
#include "core/shell/list_selection.h"

namespace lexaloom {

class Ui;
struct DictionaryDocument;
struct MainSettings;

namespace dictionaryTexts {
inline const QString loadingStatus = QStringLiteral("Loading Dictionary... <ESC> to abort.");
inline const QString savingStatus = QStringLiteral("Saving Dictionary... <ESC> to abort.");
inline const QString savingAffStatus = QStringLiteral("Saving .aff file...");
inline const QString openTitle = QStringLiteral("Open Dictionary");
inline const QString saveTitle = QStringLiteral("Save Dictionary");
inline const QString fileFilter = KindFacts(DocumentKind::Dictionary).openFilter;
inline const QString fileExtension = QStringLiteral(".dic");
inline const QString changedQuestion = QStringLiteral("The Dictionary has been changed.\n\nContinue?");
inline const QString affNotFound = QStringLiteral(".AFF file not found.");
inline const QString dicNotFound = QStringLiteral(".DIC file not found.");
inline const QString notUtf8Question =
    QStringLiteral("Dictionary is not in \"UTF-8-BOM\" format.\n\nThe .AFF must start with:\n\"SET UTF-8\"\n\n"
                   "It may lead to corrupt results.\n\nContinue?");
// The offer for a dictionary in a legacy charset; %1 is the charset as declared.
inline const QString legacyCharsetOffer = QStringLiteral("This dictionary is in %1.");
inline const QString legacyOpenChoice = QStringLiteral("Open it (saved back in %1)");
inline const QString legacyConvertChoice = QStringLiteral("Convert it to UTF-8");
inline const QString legacyCancelChoice = QStringLiteral("Cancel");
// %1 is ".AFF" or ".DIC", %2 the charset, %3 the line number.
inline const QString notInCharset =
    QStringLiteral("The %1 file holds characters that %2 cannot store (first at line %3).\n\n"
                   "Dictionary Tools > \"Convert to UTF-8\" saves them.");
inline const QString spaceSeparatorQuestion =
    QStringLiteral("This .DIC seems to separate Words from Tags using a space.\n\nUse first space as a separator?");
// %1 is ".AFF" or ".DIC", %2 the line number.
inline const QString invalidUtf8Question =
    QStringLiteral("The %1 file is not valid UTF-8 (first at line %2).\n\n"
                   "Those bytes are kept as they are and saved back unchanged.\n\nContinue?");
inline const QString noWords = BulkTextsOf(DocumentKind::Dictionary).noEntries;
inline const QString affEmpty = QStringLiteral("The .AFF file is empty.");
inline const QString okPrefix = QStringLiteral("OK. ");
inline const QString wordsCounter = KindFacts(DocumentKind::Dictionary).counterCaption;
inline const QString wordCounter = QStringLiteral("Word: [");
inline const QString changedMarker = QStringLiteral("*");
inline const QString noFile = QStringLiteral("n/a");
} // namespace dictionaryTexts

struct DictionaryFileResult : FileResult {
    qint64 affBytes = 0; // file sizes, as in the status text
    qint64 dicBytes = 0;
    // The legacy charset the files were read in, as the .aff declares it; empty for
    // UTF-8. `converted`: the user chose to convert the dictionary to UTF-8 on opening.
    QString charset;
    bool converted = false;
};

// What the tab shows while a .dic is read: `started` once the reading begins (the
// list empties), `tick` with the entries read so far on each refresh tick (the
// counter follows). The open document itself is not touched until the end.
using DictionaryLoadProgress = FileProgress;

// File > Open on the Dictionary tab, or a recent file when `path` is given. Asks
// before discarding changes to `document`, then reads the pair into a new document
// that replaces it only when the whole load succeeded: on Cancel, abort or error the
// previous document stays exactly as it was. When done() the view refreshes its
// list page (scrolled to the top), the word counter and the file labels.
DictionaryFileResult LoadDictionary(DictionaryDocument &document, const MainSettings &settings, Ui &ui,
                                    const QString &path = QString(), const DictionaryLoadProgress &progress = {});

// File > Save (true, false) and Save As (false, true). Both files are replaced only
// when both were written completely; on Cancel, abort or error the old files and the
// document (its path and changed flag included) stay as they were. When done() the
// view refreshes the word counter's marker and the file labels.
DictionaryFileResult SaveDictionary(DictionaryDocument &document, const MainSettings &settings, Ui &ui,
                                    bool useCurrentName, bool askForName);

// The load and save of one pair without the file dialogs: for the command line
// and the tests. `out` is emptied first; on anything but Done it
// holds partial data and is to be dropped.
DictionaryFileResult ReadDictionaryFiles(Ui &ui, const MainSettings &settings, const QString &dicPath,
                                         DictionaryDocument &out, const DictionaryLoadProgress &progress = {});
// `fileOps` lets the tests fail or cut off any step of the save.
DictionaryFileResult WriteDictionaryFiles(Ui &ui, const MainSettings &settings, const DictionaryDocument &document,
                                          const QString &dicPath, FileOps &fileOps = SystemFileOps());

// The first half of File > Open, for the command-line tools that stream the .dic
// instead of holding it: finishes an interrupted save of the pair, checks that both
// files are there, and reads the .aff losslessly into `affText`. A .aff that declares
// a legacy charset the system can convert is decoded in it, after the offer to open
// it as it is or converted to UTF-8 (then `affText` declares "SET UTF-8"); otherwise
// it asks about a missing "SET UTF-8" and bytes that are not UTF-8. Done when the
// .dic may be read, in the result's charset.
DictionaryFileResult ReadDictionaryAff(Ui &ui, const MainSettings &settings, const QString &dicPath, QString &affText);
// The questions File > Open asks while reading a .dic, through `ui`.
DicReadQuestions DicQuestionsFor(Ui &ui, const MainSettings &settings);

// The .dic reader for a pair read by ReadDictionaryAff, in the charset it found.
class DicFileReader final {
public:
    DicFileReader(const QString &dicPath, const DictionaryFileResult &aff, DicReadQuestions questions);
    DicLineReader &lines() { return *m_reader; }

private:
    std::optional<DictionaryCharset> m_charset;
    std::unique_ptr<DicLineReader> m_reader;
};

// The .aff beside a .dic: its last three characters replaced by "aff".
QString AffPathFor(const QString &dicPath);

// The encoding test of the .aff: the first line starting with "SET" (or else the
// last line), upper-cased, must read "UTF-8" from its fifth character on.
bool AffDeclaresUtf8(QStringView affText);

// 1-based number of the first line (lines end at LF, CR LF or CR) holding bytes
// that are not UTF-8; 0 when all are valid.
qint64 FirstInvalidUtf8Line(QByteArrayView bytes);

// What the Dictionary tab shows beside its list.
struct WordCounterView {
    QString counter;      // "# Words:1,234" or "Word: [5/1,234]"
    QString marker;       // "*" while changed, else empty
    bool changed = false; // selects the tab's changed icon

    bool operator==(const WordCounterView &) const = default;
};
WordCounterView RefreshWordCounter(const DictionaryDocument &document, const QString &thousandsSeparator);

struct DictionaryFileLabels {
    QString folder; // the folder of path, or "n/a"
    QString file;   // the file name of path, or "n/a"

    bool operator==(const DictionaryFileLabels &) const = default;
};
DictionaryFileLabels ShowDictionaryFileLabels(const DictionaryDocument &document);

// The Dictionary tab's document slot.
class DictionarySlot final : public ListDocumentSlot {
public:
    DictionarySlot(DictionaryDocument &document, const MainSettings &settings);

    DocumentLoadResult load(Ui &ui, const QString &path, const FileProgress &progress) override;
    FileResult save(Ui &ui, bool useCurrentName, bool askForName, const FileProgress &progress) override;

private:
    DictionaryDocument &m_dictionary;
    const MainSettings &m_settings;
};

// Empties the undo and redo histories (the view then disables Undo and Redo).
void ClearDictionaryHistory(DictionaryDocument &document);

} // namespace lexaloom
