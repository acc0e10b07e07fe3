#include "gui/app/help_wiring.h"

#include <QApplication>
#include <QFont>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>

#include <map>

#include "core/app/command_states.h"
#include "core/app/commands.h"
#include "core/app/preferences_session.h"
#include "core/app/workbench.h"
#include "core/extensions/extension_package.h"
#include "core/shell/update_check.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/shell/preferences_window.h"
#include "gui/shell/update_window.h"

namespace lexaloom {

namespace {

// The kinds whose tab shows a paged list, in tab order.
QList<DocumentKind> pagedKinds()
{
    QList<DocumentKind> kinds;
    for (DocumentKind kind : allDocumentKinds) {
        if (KindFacts(kind).pagedList)
            kinds.append(kind);
    }
    return kinds;
}

QWidget *dialogParent(MainWindow &window)
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal : &window;
}

} // namespace

DesktopMeasurements MeasureDesktop(const MainWindow &window)
{
    DesktopMeasurements m;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {1280, 768, 1280, 768, 0};
    m.desktopWidth = screen->size().width();
    m.desktopHeight = screen->size().height();
    // A maximised window fills the available area less its title bar.
    const QRect available = screen->availableGeometry();
    m.maxClientWidth = available.width();
    m.maxClientHeight = available.height() - window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    m.barsHeight = window.menuBar()->sizeHint().height() + window.statusBar()->sizeHint().height();
    m.rowsFilling = [](const QString &fontName, int pointSize, int listHeight) {
        return PagedListView::rowsFilling(QFont(fontName, pointSize), listHeight);
    };
    return m;
}

void OpenPreferences(MainWindow &window, Workbench &workbench, Ui &ui)
{
    std::map<DocumentKind, qint64> scrolls;
    for (DocumentKind kind : pagedKinds())
        scrolls[kind] = window.pagedList(kind)->scrollPosition();

    PreferencesSession session(workbench, ui, MeasureDesktop(window));
    PreferencesWindow prefs(
        session, workbench.programFolder(), ui, [&window, &ui] { RunUpdateCheck(window, ui, false); }, &window);
    if (prefs.exec() != QDialog::Accepted)
        return;

    const PreferencesSession::OkOutcome &outcome = prefs.outcome();
    if (outcome.rebuildWindow)
        window.rebuildLayout();
    for (DocumentKind kind : pagedKinds()) {
        PagedListView *list = window.pagedList(kind);
        *workbench.pagedListSource(kind).selectedIndex = -1;
        list->setPageRows(workbench.settings.listPageRows);
        // A list of another kind's entries (the Hyphenation tab's) follows them; its place is not kept.
        list->setScrollPosition(workbench.listDocument(kind) ? scrolls[kind] : 0);
        list->refreshListPage();
    }
    // The word editor takes its AFF Aid legend anew from the settings each time it opens.
    window.dispatcher().afterEvent();
}

void RunUpdateCheck(MainWindow &window, Ui &ui, bool automatic)
{
    CurlHttpClient client;
    CheckForUpdates(automatic, client, ui, [&window, &ui](const UpdateOffer &offer) {
        UpdateWindow update(offer, ui, dialogParent(window));
        update.exec();
    });
}

void WirePrefsAndHelp(MainWindow &window, Workbench &workbench, Ui &ui)
{
    CommandDispatcher &d = window.dispatcher();
    d.setOperation(CommandId::Preferences, [&window, &workbench, &ui](int) { OpenPreferences(window, workbench, ui); });
    d.setOperation(CommandId::CheckForUpdates, [&window, &ui](int) { RunUpdateCheck(window, ui, false); });
    d.setOperation(CommandId::About, [&window, &ui](int) {
        AboutWindow about(ui, &window);
        about.exec();
    });
    d.setOperation(CommandId::OpenExtension, [&workbench, &ui](int) {
        OpenExtensionPackage(ui,
                             [&](const QString &question) { return ConfirmDiscardChanges(workbench, ui, question); });
    });
}

} // namespace lexaloom
