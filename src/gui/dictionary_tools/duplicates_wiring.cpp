#include "dictionary_tools/duplicates_wiring.h"

#include "app/dispatcher.h"
#include "app/workbench.h"
#include "dictionary/flag_strings.h"
#include "dictionary_tools/duplicates_window.h"
#include "shell/main_window.h"
#include "shell/paged_list_view.h"

namespace lexaloom {

namespace {

// Both lists show the dictionary's entries.
void showDictionary(MainWindow &window)
{
    for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Hyphenation}) {
        window.refreshListPage(kind);
        window.refreshFileInfo(kind);
    }
}

} // namespace

void WireDuplicates(MainWindow &window, Workbench &workbench, Ui &ui)
{
    CommandDispatcher &d = window.dispatcher();
    d.setOperation(CommandId::DictionaryDuplicates, [&window, &workbench, &ui](int) {
        const qint64 scroll = window.pagedList(DocumentKind::Dictionary)->scrollPosition();
        if (OpenDuplicatesTool(&window, workbench, ui, false, scroll).opened)
            showDictionary(window);
    });
    d.setOperation(CommandId::SortFlags, [&window, &workbench, &ui](int) {
        const qint64 scroll = window.pagedList(DocumentKind::Dictionary)->scrollPosition();
        SortDictionaryFlags(workbench.dictionary, workbench.affixTable, workbench.settings, ui, scroll);
        showDictionary(window);
    });
}

} // namespace lexaloom
