#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QStyle>

#include <algorithm>

#include "core/app/startup.h"
#include "core/app/workbench.h"
#include "gui/app/command_wiring.h"
#include "gui/app/help_wiring.h"
#include "gui/shell/main_window.h"
#include "gui/shell/startup_gui.h"
#include "gui/shell/widget_ui.h"

using namespace lexaloom;

namespace {

// `--screenshot FILE [--tab N]`: builds the window as at start, saves its image and
// leaves. Used by scripts/screenshot.sh for the documentation.
QString optionValue(const QStringList &arguments, const QString &option)
{
    const qsizetype i = arguments.indexOf(option);
    return i >= 0 && i + 1 < arguments.size() ? arguments[i + 1] : QString();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString screenshot = optionValue(QApplication::arguments(), QStringLiteral("--screenshot"));
    const int screenshotTab = optionValue(QApplication::arguments(), QStringLiteral("--tab")).toInt();

    Workbench workbench(QDir::currentPath());
    WidgetUi ui;
    StartupHooks hooks; // settings, POS tables, recent files and update check are wired here as they land
    RunStartupBeforeWindow(workbench, ui, hooks);
    LoadStartupFonts(ui, workbench.settings.listFontName, workbench.settings.listFontSize);
    CheckStartupImages(ui);
    ProvideBuiltInAffAidImage(workbench.affAidEntries);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        // The client area of a maximised window: the available area less its title bar.
        const int titleBar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
        FitWindowSizeToDesktop(workbench.settings, screen->availableGeometry().size() - QSize(0, titleBar));
    }

    MainWindow window(workbench, ui);
    WireCommands(window, workbench, ui);
    ui.attach(&window, window.statusField(), window.progressField());
    QObject::connect(&window, &MainWindow::abortRequested, [&ui] { ui.requestAbort(); });
    ui.setStatusText(MainWindow::readyText());
    window.show();

    if (!screenshot.isEmpty()) {
        window.selectTab(static_cast<DocumentKind>(std::clamp(screenshotTab, 0, documentKindCount - 1)));
        QApplication::processEvents();
        return window.grab().save(screenshot) ? 0 : 1;
    }

    hooks.runAutomaticUpdateCheck = [&window, &ui] { RunUpdateCheck(window, ui, true); };
    const StartupOutcome outcome = RunStartupAfterWindow(workbench, ui, hooks);
    if (outcome.openPreferences)
        OpenPreferences(window, workbench, ui);
    workbench.quitRequested = false;
    return app.exec();
}
