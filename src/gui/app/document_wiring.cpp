#include "gui/app/document_wiring.h"

#include <QAction>
#include <QLabel>

#include "core/app/find_target.h"
#include "core/app/profile.h"
#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/find.h"
#include "core/shell/format.h"
#include "core/shell/recent_files.h"
#include "gui/dictionary_tools/aff_validate_window.h"
#include "gui/dictionary_tools/statistics_window.h"
#include "gui/shell/find_window.h"
#include "gui/shell/goto_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"

namespace lexaloom {

namespace {

// Everything on screen that shows the dictionary: both lists, the .aff pane, the
// counters and file labels.
void showDictionary(MainWindow &window)
{
    window.showDocumentTexts();
    for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Hyphenation}) {
        window.refreshListPage(kind);
        window.refreshFileInfo(kind);
    }
}

// Scrolls the tab's list so that `index` is its first row and focuses it.
void showEntry(MainWindow &window, Workbench &workbench, DocumentKind kind, qint64 index)
{
    *workbench.pagedListSource(kind).selectedIndex = index;
    window.pagedList(kind)->setScrollPosition(index);
    window.refreshListPage(kind);
    window.refreshFileInfo(kind);
}

} // namespace

void WireDocumentCommands(MainWindow &window, Workbench &workbench, Ui &ui)
{
    CommandDispatcher &d = window.dispatcher();

    // While the file is read, both lists are empty and the counter counts the entries
    // read so far; an abort brings the open dictionary back on screen.
    DocumentViewHooks dictionary;
    dictionary.progress.started = [&window] {
        for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Hyphenation}) {
            window.pagedList(kind)->showLoading();
            window.counterLabel(kind)->setText(dictionaryTexts::wordsCounter + QStringLiteral("0"));
        }
    };
    dictionary.progress.tick = [&window, &workbench](qint64 entries) {
        for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Hyphenation})
            window.counterLabel(kind)->setText(dictionaryTexts::wordsCounter +
                                               FormatCount(entries, workbench.settings.thousandsSeparator));
    };
    dictionary.loaded = [&window](const DocumentLoadResult &result) {
        if (result.done()) {
            for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Hyphenation})
                window.pagedList(kind)->setScrollPosition(0);
        }
        showDictionary(window);
    };
    dictionary.saved = [&window](const FileResult &result) {
        if (result.done())
            showDictionary(window);
    };
    d.setDocumentHooks(DocumentKind::Dictionary, std::move(dictionary));

    d.setRecentFilesMenuRefresher([&window, &workbench] {
        const RecentFilesMenu menu = RefreshRecentFilesMenu(workbench);
        for (int i = 0; i < RecentFiles::slotCount; ++i) {
            QAction *action = window.menuAction(CommandId::RecentFile, i);
            if (!action)
                continue;
            const RecentFilesMenuItem &item = menu[static_cast<size_t>(i)];
            if (action->text() != item.caption)
                action->setText(item.caption);
            action->setEnabled(item.enabled);
        }
    });

    d.setOperation(CommandId::ExportProfile, [&workbench, &ui](int) { ExportProfile(workbench, ui); });
    d.setOperation(CommandId::ImportProfile, [&workbench, &ui](int) { ImportProfile(workbench, ui); });

    d.setOperation(CommandId::AffValidate, [&window, &workbench, &ui](int) {
        if (OpenAffValidateWindow(&window, workbench, ui))
            showDictionary(window);
    });
    d.setOperation(CommandId::Statistics,
                   [&window, &workbench, &ui](int) { OpenStatisticsWindow(&window, workbench, ui); });

    for (DocumentKind kind : allDocumentKinds) {
        if (!KindFacts(kind).pagedList)
            continue;
        d.setTabOperation(kind, TabAction::Find, [&window, &workbench, &ui, &d, kind] {
            FindActions actions;
            actions.showEntry = [&window, &workbench, kind](qint64 i) { showEntry(window, workbench, kind, i); };
            // The Hyphenation tab lists the dictionary's entries: the dictionary's editor
            // and delete act on them. The Find window runs inside the Find command, so
            // these go through the dispatcher's nested entry.
            const DocumentKind owner = kind == DocumentKind::Hyphenation ? DocumentKind::Dictionary : kind;
            actions.editEntry = [&workbench, &d, owner](qint64 i) {
                *FindTargetFor(workbench, owner)->selectedIndex = i;
                d.runNestedTabAction(owner, TabAction::Edit);
            };
            if (owner == DocumentKind::Dictionary) {
                actions.deleteEntry = [&window, &workbench, &ui](qint64 i) {
                    workbench.dictionary.selectedIndex = i;
                    if (DeleteWord(workbench.dictionary, ui, true) != 1)
                        return false;
                    showDictionary(window);
                    return true;
                };
            } else {
                actions.deleteEntry = [&workbench, &d, owner](qint64 i) {
                    const FindTarget target = *FindTargetFor(workbench, owner);
                    *target.selectedIndex = i;
                    const qint64 before = target.entries->size();
                    d.runNestedTabAction(owner, TabAction::Delete);
                    return target.entries->size() < before;
                };
            }
            actions.refreshList = [&window, kind] {
                window.refreshListPage(kind);
                window.refreshFileInfo(kind);
            };
            FindWindow::Open(&window, workbench, ui, kind, actions);
        });
        d.setTabOperation(kind, TabAction::Goto, [&window, &workbench, &ui, kind] {
            GotoDialog::OpenForTab(&window, workbench, ui, kind,
                                   [&window, &workbench, kind](qint64 i) { showEntry(window, workbench, kind, i); });
        });
    }
}

} // namespace lexaloom
