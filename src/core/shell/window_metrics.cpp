#include "shell/window_metrics.h"

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

} // namespace lexaloom
