#include "gui/app/command_wiring.h"

#include "core/app/workbench.h"
#include "gui/app/document_wiring.h"
#include "gui/app/help_wiring.h"
#include "gui/app/list_popup.h"
#include "gui/autocorrect/autocorrect_wiring.h"
#include "gui/dictionary/dictionary_bulk_wiring.h"
#include "gui/dictionary/dictionary_editing_wiring.h"
#include "gui/dictionary/wordlist_extraction_wiring.h"
#include "gui/dictionary_tools/bulk_import_wiring.h"
#include "gui/dictionary_tools/duplicates_wiring.h"
#include "gui/dictionary_tools/regional_tools_wiring.h"
#include "gui/hyphenation/hyphenation_wiring.h"
#include "gui/languagetool/languagetool_wiring.h"
#include "gui/shell/main_window.h"
#include "gui/thesaurus/thesaurus_wiring.h"

namespace lexaloom {

void WireCommands(MainWindow &window, Workbench &workbench, Ui &ui)
{
    WireDocumentCommands(window, workbench, ui);
    WireWordlistExtraction(window, workbench, ui);
    WireDictionaryEditing(window, workbench, ui);
    WireLanguageTool(window, workbench, ui);
    WirePrefsAndHelp(window, workbench, ui);
    WireThesaurus(window, workbench, ui);
    WireAutocorrect(window, workbench, ui);
    WireHyphenation(window, workbench, ui);
    WireBulkImport(window, workbench, ui);
    WireDuplicates(window, workbench, ui);
    WireDictionaryBulk(window, workbench, ui);
    WireListPopups(window, workbench, ui);
    WireRegionalTools(window, workbench, ui);
}

} // namespace lexaloom
