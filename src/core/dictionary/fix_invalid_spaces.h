#pragma once

#include <QString>
#include <QStringView>

#include "core/shell/shared_texts.h"

namespace lexaloom {

struct DictionaryDocument;
struct MainSettings;
class Ui;

namespace fixSpacesTexts {
inline const QString starting = QStringLiteral("Fix Invalid Spaces... <ESC> to abort.");
inline const QString nullWord = sharedTexts::nullWord;
inline const QString nullWordEnd = QStringLiteral("! Aborted.");
inline const QString processing = QStringLiteral("Processing Wordlist 1/2...");
inline const QString fixing = QStringLiteral("Fixing spaces 2/2...");
inline const QString toAbort = QStringLiteral(" <ESC> To abort.");
inline const QString nothingToFix = sharedTexts::noSpacesToFix;
inline const QString fixedWords = QStringLiteral("Fixed words:");
} // namespace fixSpacesTexts

// Runs of spaces made one and the spaces at both ends removed; tabs and other blanks
// stay.
QString NormaliseWordSpaces(QStringView wordPart);

enum class FixSpacesOutcome { NoEntries, NullWord, Aborted, NothingToFix, Fixed };

struct FixSpacesResult {
    FixSpacesOutcome outcome = FixSpacesOutcome::NoEntries;
    qint64 fixed = 0;
    qint64 nullLine = 0; // 1-based, for NullWord
};

// "Fix invalid spaces": a read-only pass that stops at the first entry whose word
// part is empty or only spaces, then an undoable pass that repairs the word parts.
// Tags stay as they are. An abort in the second pass keeps what was fixed.
FixSpacesResult FixInvalidSpaces(DictionaryDocument &doc, const MainSettings &settings, Ui &ui);

} // namespace lexaloom
