#pragma once

#include <QFont>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace lexaloom {

struct AffAidEntry;
struct MainSettings;
class Ui;

// Registers the embedded images; they live in a static library, which the linker
// would otherwise drop. Safe to call more than once.
void InitResources();

// The embedded images the window uses.
QStringList resourceImages();

// Gives the built-in AFF Aid legend its embedded picture, for the Preferences
// window's ".AFF Aid Language" list and the word editor's legend.
void ProvideBuiltInAffAidImage(QList<AffAidEntry> &entries);

// Keeps the window size read from the settings within `desktop` (the client area of a
// maximised window), and no smaller than the 1024 x 600 the layout starts from: a
// damaged or foreign settings file must not open a window far past the screen.
void FitWindowSizeToDesktop(MainSettings &settings, const QSize &desktop);

// Loads the fonts of start-up and makes "Arial" 10 the default; each failure is
// reported once and start-up goes on.
void LoadStartupFonts(Ui &ui, const QString &listFontName, const QString &listFontSize);
// Checks that every embedded image decodes; reports "Can't load image." once.
void CheckStartupImages(Ui &ui);

} // namespace lexaloom
