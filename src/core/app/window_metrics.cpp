#include "core/app/window_metrics.h"

#include "core/app/workbench.h"
#include "core/shell/settings.h"

namespace lexaloom {

WindowMetrics WindowMetrics::fromSettings(const MainSettings &settings)
{
    WindowMetrics m;
    m.width = settings.windowWidth();
    m.height = settings.windowHeight();
    m.rowPixelsPlus = settings.rowPixelsPlus;
    return m;
}

void PrepareLayoutRebuild(Workbench &workbench)
{
    workbench.hyphenation.selectedIndex = -1;
    for (DocumentKind kind : allDocumentKinds) {
        if (ListDocument *doc = workbench.listDocument(kind)) {
            doc->selectedIndex = -1;
            doc->clearHistory();
        }
    }
}

} // namespace lexaloom
