#include "gui/shell/startup_gui.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPixmap>

#include <algorithm>

#include "core/app/startup.h"
#include "core/dictionary/aff_aid.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void initEmbeddedResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace lexaloom {

void InitResources()
{
    initEmbeddedResources();
}

namespace {

// The size the layout's scaling starts from (dx and dy are 0 there).
constexpr QSize baseWindowSize(1024, 600);

// Fontconfig answers "Arial" with a metric-compatible face where Arial itself is
// not installed; such a substitute counts as loaded.
bool fontAvailable(const QFont &font)
{
    if (QFontDatabase::hasFamily(font.family()))
        return true;
    const QString resolved = QFontInfo(font).family();
    static const QStringList metricTwins{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
    return font.family().compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0 && metricTwins.contains(resolved);
}

void reportFont(Ui &ui, const QString &name)
{
    ui.showMessage(errorTitle(), QStringLiteral("Can't load ") + name + QStringLiteral(" font."), MessageIcon::Error);
}

} // namespace

QStringList resourceImages()
{
    QStringList images{QStringLiteral("document"),  QStringLiteral("open"),   QStringLiteral("save"),
                       QStringLiteral("save_as"),   QStringLiteral("undo"),   QStringLiteral("redo"),
                       QStringLiteral("go_bottom"), QStringLiteral("go_top"), QStringLiteral("clear"),
                       QStringLiteral("folder"),    QStringLiteral("file"),   QStringLiteral("extension"),
                       QStringLiteral("read_only")};
    images.append(QStringLiteral("aff_aid_english_gb")); // the built-in AFF Aid legend's picture
    return images;
}

void FitWindowSizeToDesktop(MainSettings &settings, const QSize &desktop)
{
    if (desktop.isEmpty())
        return;
    const int width = settings.windowWidth();
    const int height = settings.windowHeight();
    const int fittedWidth = std::max(baseWindowSize.width(), std::min(width, desktop.width()));
    const int fittedHeight = std::max(baseWindowSize.height(), std::min(height, desktop.height()));
    if (fittedWidth != width || fittedHeight != height)
        settings.windowSize = QString::number(fittedWidth) + QLatin1Char('x') + QString::number(fittedHeight);
}

void ProvideBuiltInAffAidImage(QList<AffAidEntry> &entries)
{
    // The built-in legend has no file beside the program; its picture is ours.
    for (AffAidEntry &e : entries) {
        if (e.entry == BuiltInAffAidEntry() && e.imagePath.isEmpty())
            e.imagePath = QStringLiteral(":/images/aff_aid_english_gb.png");
    }
}

void LoadStartupFonts(Ui &ui, const QString &listFontName, const QString &listFontSize)
{
    const QString arial = QStringLiteral("Arial");
    const QFont normal(arial, 10);
    QFont bold(arial, 10);
    bold.setBold(true);
    const QFont large(arial, 16);
    if (fontAvailable(normal) && fontAvailable(bold) && fontAvailable(large))
        QApplication::setFont(normal);
    else
        reportFont(ui, arial);
    if (!fontAvailable(QFont(listFontName, listFontSize.toInt())))
        reportFont(ui, listFontName);
}

void CheckStartupImages(Ui &ui)
{
    InitResources();
    for (const QString &name : resourceImages()) {
        if (QPixmap(QStringLiteral(":/images/") + name + QStringLiteral(".png")).isNull()) {
            ui.showMessage(errorTitle(), QStringLiteral("Can't load image."), MessageIcon::Error);
            return;
        }
    }
}

} // namespace lexaloom
