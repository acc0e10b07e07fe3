#include "dictionary/aff_text.h"

#include "dictionary/dictionary_document.h"

namespace lexaloom {

void SetAffText(DictionaryDocument &doc, const QString &text)
{
    doc.affText = text;
    doc.changed = true;
}

} // namespace lexaloom
