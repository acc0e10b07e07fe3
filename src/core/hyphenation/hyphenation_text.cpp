#include "core/hyphenation/hyphenation_text.h"

#include "core/hyphenation/hyphenation_document.h"

namespace lexaloom {

void SetHyphenationText(HyphenationDocument &doc, const QString &text)
{
    doc.text = text;
    doc.changed = true;
}

} // namespace lexaloom
