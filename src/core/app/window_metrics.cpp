#include "app/window_metrics.h"

#include "app/workbench.h"
#include "shell/settings.h"

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
    workbench.dictionary.selectedIndex = -1;
    workbench.thesaurus.selectedIndex = -1;
    workbench.hyphenation.selectedIndex = -1;
    workbench.autocorrect.selectedIndex = -1;
    workbench.dictionary.undoSnapshot.reset();
    workbench.dictionary.redoSnapshot.reset();
    workbench.thesaurus.undoSnapshot.reset();
    workbench.thesaurus.redoSnapshot.reset();
    workbench.autocorrect.undoSnapshot.reset();
    workbench.autocorrect.redoSnapshot.reset();
}

} // namespace lexaloom
