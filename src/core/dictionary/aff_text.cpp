#include "core/dictionary/aff_text.h"

#include "core/dictionary/dictionary_document.h"

namespace lexaloom {

void SetAffText(DictionaryDocument &doc, const QString &text)
{
    doc.affText = text;
    doc.changed = true;
}

} // namespace lexaloom
