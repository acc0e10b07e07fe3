#include "core/dictionary_tools/convert_to_utf8.h"

#include "core/dictionary/dictionary_charset.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/long_task.h"
#include "core/shell/ui.h"

namespace lexaloom {

bool ConvertDictionaryToUtf8(DictionaryDocument &doc, Ui &ui)
{
    using namespace convertToUtf8Texts;
    if (doc.affText.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), dictionaryTexts::affEmpty, MessageIcon::Warning);
        return false;
    }
    const std::optional<DictionaryCharset> charset = DictionaryCharset::forAff(doc.affText);
    if (!charset) {
        ui.showMessage(LongTask::warningTitle(), alreadyUtf8, MessageIcon::Information);
        return false;
    }
    PushDictionaryAffUndo(doc);
    doc.affText = WithUtf8SetLine(doc.affText);
    doc.changed = true;
    ui.showMessage(LongTask::warningTitle(), done.arg(charset->name()), MessageIcon::Information);
    ui.setStatusText(QStringLiteral("OK."));
    return true;
}

} // namespace lexaloom
