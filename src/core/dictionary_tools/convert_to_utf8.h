#pragma once

#include <QString>

namespace lexaloom {

class Ui;
struct DictionaryDocument;

namespace convertToUtf8Texts {
// %1 is the charset the dictionary was in.
inline const QString done = QStringLiteral("The dictionary is converted from %1 to UTF-8.\n\n"
                                           "Save writes both files in UTF-8.");
inline const QString alreadyUtf8 = QStringLiteral("The dictionary is already in UTF-8.");
} // namespace convertToUtf8Texts

// Dictionary Tools > "Convert to UTF-8": a dictionary opened in a legacy charset
// (its .aff declares SET ISO8859-2, KOI8-R, ...) is from now on saved in UTF-8:
// the SET line becomes "SET UTF-8" and the next save writes both files in UTF-8.
// The text itself is already Unicode, so nothing else changes. One undo step
// brings the old SET line (and with it the old charset) back. True when converted.
bool ConvertDictionaryToUtf8(DictionaryDocument &doc, Ui &ui);

} // namespace lexaloom
