#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include "core/shell/list_selection.h"

namespace lexaloom {

class Ui;
struct DictionaryDocument;
struct MainSettings;
struct PosSettings;

namespace posExtractionTexts {
inline const QString status = QStringLiteral("Extracting POSes from Dictionary... <ESC> to abort.");
inline const QString noWords = BulkTextsOf(DocumentKind::Dictionary).noEntries;
inline const QString affEmpty = QStringLiteral("The .AFF file is empty.");
inline const QString noRules = QStringLiteral("No POS rules for selected language.");
inline const QString saveTitle = QStringLiteral("Save extracted POSes");
inline const QString fileFilter = QStringLiteral("Text files (*.txt)|*.txt");
inline const QString done = QStringLiteral("OK. POSes extracted:");
} // namespace posExtractionTexts

// "added": word, tab, word, tab, POS; "spelling": the word alone.
enum class PosForm { Added, Spelling };

// The two menu captions, which name the selected POS language.
QString PosExtractionCaption(PosForm form, const QString &language);

struct PosExtractionResult {
    bool done = false;
    qint64 lines = 0;
    QString path; // the file written (partial after an abort); empty when none
};

// One entry against one rule's fields (already trimmed): the line it gives, or an
// empty text when the entry's whole tag part is not the rule's tag text.
QString PosLine(QStringView entry, const QString &tagText, const QString &pos, PosForm form);

// LanguageTool Tools > Extract > "POS added.txt (...)" / "POS spelling.txt (...)": the
// tagged entries of the dictionary that match the selected language's POS rules,
// written to a file chosen with the save dialog, as a LongTask.
PosExtractionResult ExtractDictionaryPos(const DictionaryDocument &dictionary, const PosSettings &pos,
                                         const MainSettings &settings, Ui &ui, PosForm form);

} // namespace lexaloom
