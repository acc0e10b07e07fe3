#include "gui/dictionary_tools/duplicates_wiring.h"

#include "core/app/dispatcher.h"
#include "core/app/workbench.h"
#include "core/dictionary/flag_strings.h"
#include "core/dictionary_tools/sort_aff_tags.h"
#include "core/dictionary_tools/wordlist_duplicates.h"
#include "gui/dictionary_tools/duplicates_window.h"
#include "gui/dictionary_tools/wordlist_duplicates_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"

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
        if (OpenDuplicatesTool(&window, workbench, ui, false).opened)
            showDictionary(window);
    });
    d.setOperation(CommandId::SortFlags, [&window, &workbench, &ui](int) {
        SortDictionaryFlags(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
        showDictionary(window);
    });

    // The two .dic/.aff tools of the Dictionary Tools menu that run in the dispatcher.
    d.setOperation(CommandId::WordlistDuplicates, [&window, &workbench, &ui](int) {
        const WordlistDuplicates result =
            FindWordlistDuplicates(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
        if (!result.done || result.rows.empty())
            return;
        WordlistDuplicatesWindow shown(result, workbench.settings, ui, workbench.programFolder(), &window);
        shown.exec();
    });
    d.setOperation(CommandId::SortAffTags, [&window, &workbench, &ui](int) {
        if (SortAffTags(workbench.dictionary, workbench.settings, ui)) {
            window.showDocumentTexts();
            window.refreshFileInfo(DocumentKind::Dictionary);
        }
    });
}

} // namespace lexaloom
