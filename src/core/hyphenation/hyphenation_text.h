#pragma once

#include <QString>

namespace lexaloom {

struct HyphenationDocument;

// The user edited the hyphenation pane: the text becomes the document's and the
// document counts as changed.
void SetHyphenationText(HyphenationDocument &doc, const QString &text);

} // namespace lexaloom
