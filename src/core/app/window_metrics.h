#pragma once

namespace lexaloom {

class Workbench;
struct MainSettings;

// The scaling rule of the main window: distances grow with the window size beyond
// the 1024 x 600 base.
struct WindowMetrics {
    int width = 1280;
    int height = 600;
    // Pixels the window frame takes from the height on platforms that need it.
    int frameAllowance = 0;
    int rowPixelsPlus = 0;

    static WindowMetrics fromSettings(const MainSettings &settings);

    // p x (W - 1024) / 100 and p x (H - 600) / 100 - f, truncated toward zero.
    int dx(int p) const { return p * (width - 1024) / 100; }
    int dy(int p) const { return p * (height - 600) / 100 - frameAllowance; }

    int clientWidth() const { return 1024 + dx(100); }
    int clientHeight() const { return 600 + dy(100); }
};

// What a rebuild of the main window (new size, row offset or list font) does to the
// documents: every paged list loses its focus, and the one-step undo and redo of the
// Dictionary, Thesaurus and Autocorrect are dropped. Entries, marks and texts stay.
void PrepareLayoutRebuild(Workbench &workbench);

} // namespace lexaloom
