#pragma once

#include <QString>

#include "core/shell/atomic_write.h"
#include "core/shell/document_kind.h"
#include "core/shell/document_slot.h"
#include "core/shell/file_outcome.h"

namespace lexaloom {

class Ui;
struct DictionaryDocument;
struct HyphenationDocument;
struct MainSettings;

namespace hyphenationTexts {
inline const QString loadingStatus = QStringLiteral("Loading Hyphenation... <ESC> to abort.");
inline const QString savingStatus = QStringLiteral("Saving Hyphenation... <ESC> to abort.");
inline const QString openTitle = QStringLiteral("Open Hyphenation");
inline const QString saveTitle = QStringLiteral("Save Hyphenation");
inline const QString openFilter = KindFacts(DocumentKind::Hyphenation).openFilter;
inline const QString saveFilter = KindFacts(DocumentKind::Hyphenation).saveFilter;
inline const QString fileExtension = QStringLiteral(".dic");
inline const QString dicNotFound = QStringLiteral(".DIC file not found.");
inline const QString dicEmpty = QStringLiteral("The .DIC file is empty.");
// %1 the file's first line.
inline const QString notUtf8Question =
    QStringLiteral("Hyphenation is not in \"UTF-8-BOM\" format:\n%1\n\nIt may lead to corrupt results.\nContinue?");
inline const QString okPrefix = QStringLiteral("OK. ");
} // namespace hyphenationTexts

struct HyphenationFileResult : FileResult {
    qint64 bytes = 0;
};

// File > Open on the Hyphenation tab, or a recent file when `path` is given. The
// document changes only when the whole file was read.
HyphenationFileResult LoadHyphenation(HyphenationDocument &document, const MainSettings &settings, Ui &ui,
                                      const QString &path = QString());
// File > Save (true, false) and Save As (false, true). The old file is replaced only
// by a complete new one.
HyphenationFileResult SaveHyphenation(HyphenationDocument &document, const MainSettings &settings, Ui &ui,
                                      bool useCurrentName, bool askForName, FileOps &fileOps = SystemFileOps());

// The read and write of one file without the dialogs, for the command line and tests.
// Reading asks the encoding question; `text` gets the file's text with LF line ends,
// bytes that are not UTF-8 held as raw-byte units so that writing gives them back.
HyphenationFileResult ReadHyphenationFile(Ui &ui, const MainSettings &settings, const QString &path, QString &text);
HyphenationFileResult WriteHyphenationFile(Ui &ui, const MainSettings &settings, const QString &text,
                                           const QString &path, FileOps &fileOps = SystemFileOps());

// The Hyphenation tab's document slot. Its list shows the dictionary's entries, so
// those are what it counts; what it saves is its pattern text.
class HyphenationSlot final : public DocumentSlot {
public:
    HyphenationSlot(HyphenationDocument &document, DictionaryDocument &listed, const MainSettings &settings);

    const QString &path() const override;
    bool isChanged() const override;
    qint64 entryCount() const override;
    bool isEmpty() const override;
    PagedListSource pagedListSource() override;
    DocumentLoadResult load(Ui &ui, const QString &path, const FileProgress &progress) override;
    FileResult save(Ui &ui, bool useCurrentName, bool askForName, const FileProgress &progress) override;

private:
    HyphenationDocument &m_document;
    DictionaryDocument &m_listed;
    const MainSettings &m_settings;
};

} // namespace lexaloom
