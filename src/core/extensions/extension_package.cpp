#include "core/extensions/extension_package.h"

#include "core/shell/file_dialogs.h"
#include "core/shell/long_task.h"
#include "core/shell/shared_texts.h"
#include "core/shell/ui.h"

namespace lexaloom {

QString extensionPackageFilter()
{
    return QStringLiteral(".xpi/.oxt (*.xpi/*.oxt)|*.xpi;*.oxt;");
}

void OpenExtensionPackage(Ui &ui, const std::function<bool(const QString &question)> &confirmDiscard)
{
    if (confirmDiscard && !confirmDiscard(QStringLiteral("Continue?")))
        return;
    // The chosen path is deliberately unused until packages can be read.
    if (AskOpenPath(ui, QStringLiteral("Open Extension .xpi/.oxt"), extensionPackageFilter()).isEmpty())
        ui.setStatusText(LongTask::abortedText());
    ui.showMessage(LongTask::warningTitle(), sharedTexts::notCodedYet, MessageIcon::Warning);
}

} // namespace lexaloom
