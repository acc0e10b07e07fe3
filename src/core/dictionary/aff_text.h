#pragma once

#include <QString>

namespace lexaloom {

struct DictionaryDocument;

// The user edited the .aff pane: the text becomes the document's and the dictionary
// counts as changed, even when the text came out the same (a "Clear" of an empty pane).
void SetAffText(DictionaryDocument &doc, const QString &text);

} // namespace lexaloom
