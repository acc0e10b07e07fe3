#pragma once

#include <QString>
#include <QStringView>

#include <optional>

#include "core/shell/atomic_write.h"
#include "core/shell/document_kind.h"
#include "core/shell/document_slot.h"
#include "core/shell/file_outcome.h"
#include "core/shell/list_selection.h"

namespace lexaloom {

class Ui;
struct AutocorrectList;
struct MainSettings;

namespace autocorrectTexts {
inline const QString loadingStatus = QStringLiteral("Loading Autocorrect List... <ESC> to abort.");
inline const QString savingStatus = QStringLiteral("Saving Autocorrect List... <ESC> to abort.");
inline const QString openTitle = QStringLiteral("Open Autocorrect List");
inline const QString saveTitle = QStringLiteral("Save Autocorrect List");
inline const QString fileFilter = KindFacts(DocumentKind::Autocorrect).openFilter;
inline const QString fileExtension = QStringLiteral(".xml");
inline const QString changedQuestion = QStringLiteral("The Autocorrect List has been changed.\n\nContinue?");
// Shared with the AutoText catalogue.
inline const QString xmlNotFound = QStringLiteral(".XML file not found.");
inline const QString blockListNamespace = QStringLiteral("http://openoffice.org/2001/block-list");
inline const QString headerLine = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?> "
                                                 "<block-list:block-list xmlns:block-list=\"") +
                                  blockListNamespace + QStringLiteral("\">");
inline const QString closingLine = QStringLiteral("</block-list:block-list>");
inline const QString importQuestion = QStringLiteral("The first line of an Autocorrect List must be:\n") + headerLine +
                                      QStringLiteral("\n\nAttempt to import the file?");
inline const QString importFailed = QStringLiteral("Failed to import file.");
inline const QString onePairPerLine =
    QStringLiteral("Only allowed one pair of incorrect/correct per line.\nUse a program like Notepad++ to create "
                   "individual lines.\nFor example: replace \"/>\" with \"/>\\n\"\nusing Extended search mode.");
// %1 is the line number, %2 the line.
inline const QString unreadableLine =
    QStringLiteral("Line %1 of the Autocorrect List can't be read as a pair:\n%2\n\nNothing was loaded.");
inline const QString noWords = BulkTextsOf(DocumentKind::Autocorrect).noEntries;
inline const QString noSelection = BulkTextsOf(DocumentKind::Autocorrect).noSelection;
inline const QString okPrefix = QStringLiteral("OK. ");
inline const QString autocorrectsCounter = KindFacts(DocumentKind::Autocorrect).counterCaption;
inline const QString autocorrectCounter = QStringLiteral("Autocorrect: [");
} // namespace autocorrectTexts

struct AutocorrectFileResult : FileResult {
    qint64 bytes = 0; // its size, as in the status text
};

// File > Open on the Autocorrect tab, or a recent file when `path` is given. Reads
// into a list of its own that replaces `list` only when the whole file was read: on
// No, Cancel, Escape, a refused import or a stop on two pairs in one line the open
// list (entries, path, changed flag, undo) stays exactly as it was.
AutocorrectFileResult LoadAutocorrectList(AutocorrectList &list, const MainSettings &settings, Ui &ui,
                                          const QString &path = QString());

// File > Save (true, false) and Save As (false, true). The target is replaced only
// when it was written completely; otherwise the old file and the list stay as they were.
AutocorrectFileResult SaveAutocorrectList(AutocorrectList &list, const MainSettings &settings, Ui &ui,
                                          bool useCurrentName, bool askForName);

// The load and save without the questions about changes and the file dialogs: for
// the command line and the tests. `out` is emptied first; on anything but Done it
// holds partial data and is to be dropped.
AutocorrectFileResult ReadAutocorrectFile(Ui &ui, const MainSettings &settings, const QString &path,
                                          AutocorrectList &out);
AutocorrectFileResult WriteAutocorrectFile(Ui &ui, const MainSettings &settings, const AutocorrectList &list,
                                           const QString &path, FileOps &fileOps = SystemFileOps());

// An attribute value as it goes to the file: "&", "\"" and "<" become references,
// except an "&" that already starts a reference an XML reader accepts (a character
// reference or one of the five predefined entities), so that lists read with their
// references intact are written back byte for byte.
QString EscapeAutocorrectText(QStringView text);

// The text an XML reader sees in a pair text once the writer has written it: the
// references the writer keeps decoded, everything else as it stands, and tabs and line
// ends read as spaces (attribute values are normalised so). What the list means,
// whichever way its references are written.
QString DecodeAutocorrectText(QStringView text);

// The first character of `text` no XML file can hold (controls other than tab, line
// feed and carriage return, a lone surrogate, U+FFFE, U+FFFF), or nothing: a pair
// holding one would make the saved list unreadable to every XML reader.
std::optional<char32_t> FirstCharacterXmlForbids(QStringView text);
// "The character U+0000 can't be written to an autocorrect list."
QString ForbiddenCharacterText(char32_t character);

// "# Autocorrects:1,234", or "Autocorrect: [5/1,234]" while a row is focused.
QString AutocorrectCounterText(const AutocorrectList &list, const QString &thousandsSeparator);

// The Autocorrect tab's document slot.
class AutocorrectSlot final : public ListDocumentSlot {
public:
    AutocorrectSlot(AutocorrectList &list, const MainSettings &settings);

    DocumentLoadResult load(Ui &ui, const QString &path, const FileProgress &progress) override;
    FileResult save(Ui &ui, bool useCurrentName, bool askForName, const FileProgress &progress) override;

private:
    AutocorrectList &m_list;
    const MainSettings &m_settings;
};

} // namespace lexaloom
