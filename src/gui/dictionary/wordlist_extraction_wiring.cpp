#include "gui/dictionary/wordlist_extraction_wiring.h"

#include "core/app/dispatcher.h"
#include "core/app/workbench.h"
#include "core/dictionary/wordlist_extraction.h"
#include "gui/shell/main_window.h"

namespace lexaloom {

void WireWordlistExtraction(MainWindow &window, Workbench &workbench, Ui &ui)
{
    CommandDispatcher &d = window.dispatcher();
    const auto extract = [&d, &workbench, &ui](CommandId id, WordlistKind kind) {
        d.setOperation(id, [&workbench, &ui, kind](int) {
            ExtractWordlist(workbench.dictionary, workbench.affixTable, workbench.settings, ui, kind);
        });
    };
    extract(CommandId::ExtractAllTxt, WordlistKind::AllTxt);
    extract(CommandId::ExtractAllCsv, WordlistKind::AllCsv);
    extract(CommandId::ExtractCompoundsTxt, WordlistKind::CompoundsTxt);
    extract(CommandId::ExtractCompoundsLanguageTool, WordlistKind::CompoundsLanguageTool);
    d.setOperation(CommandId::CountWordlist, [&workbench, &ui](int) {
        CountWordlist(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
    });
}

} // namespace lexaloom
