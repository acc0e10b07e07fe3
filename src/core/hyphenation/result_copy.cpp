#include "core/hyphenation/result_copy.h"

#include "core/hyphenation/hyphenation_document.h"
#include "core/shell/long_task.h"
#include "core/shell/ui.h"

namespace lexaloom {

bool CopyHyphenationResult(const QList<HyphenationRow> &rows, int row, ResultCopy what, Ui &ui)
{
    using namespace resultCopyTexts;
    const auto refuse = [&ui](const QString &text) {
        ui.showMessage(LongTask::warningTitle(), text, MessageIcon::Warning);
        return false;
    };
    if (rows.isEmpty())
        return refuse(noWords);
    if (row < 0 || row >= rows.size())
        return refuse(noWordSelected);
    const HyphenationRow &r = rows[row];
    if (what != ResultCopy::Word && r.rule.isEmpty())
        return refuse(noRule);
    switch (what) {
    case ResultCopy::Word:
        ui.setClipboardText(r.word);
        break;
    case ResultCopy::Rule:
        ui.setClipboardText(r.rule);
        break;
    case ResultCopy::WordAndRule:
        ui.setClipboardText(r.word + QStringLiteral("\u2192") + r.rule);
        break;
    }
    return true;
}

} // namespace lexaloom
