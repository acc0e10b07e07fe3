#include "gui/dictionary_tools/regional_tools_wiring.h"

#include <QApplication>

#include "core/app/workbench.h"
#include "gui/dictionary_tools/crunch_window.h"
#include "gui/dictionary_tools/duplicates_window.h"
#include "gui/dictionary_tools/master_wordlist_window.h"
#include "gui/dictionary_tools/regional_variants_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"

namespace lexaloom {

namespace {

void showDictionary(MainWindow &window)
{
    window.showDocumentTexts();
    for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Hyphenation}) {
        window.refreshListPage(kind);
        window.refreshFileInfo(kind);
    }
}

} // namespace

void WireRegionalTools(MainWindow &window, Workbench &workbench, Ui &ui)
{
    CommandDispatcher &d = window.dispatcher();
    d.setOperation(CommandId::CrunchWords, [&window, &workbench, &ui](int) {
        if (CrunchWindow::Open(&window, workbench, ui))
            showDictionary(window);
    });
    d.setOperation(CommandId::GbVariants, [&window, &workbench, &ui](int) {
        RegionalVariantsWindow::Hooks hooks;
        hooks.refreshDictionary = [&window] { showDictionary(window); };
        hooks.openDuplicates = [&window, &workbench, &ui](bool alreadyRecorded) {
            // Modal over the regional window, which is the active one then.
            QWidget *parent = QApplication::activeModalWidget();
            return OpenDuplicatesTool(parent ? parent : &window, workbench, ui, alreadyRecorded);
        };
        RegionalVariantsWindow::Open(&window, workbench, ui, std::move(hooks));
        showDictionary(window);
    });
    d.setOperation(CommandId::MissingInMasterWordlist,
                   [&window, &workbench, &ui](int) { MasterWordlistWindow::Open(&window, workbench, ui); });
}

} // namespace lexaloom
