#include "shell/command_wiring.h"

#include "app/workbench.h"
#include "autocorrect/autocorrect_wiring.h"
#include "dictionary/dictionary_bulk_wiring.h"
#include "dictionary/dictionary_editing_wiring.h"
#include "dictionary/wordlist_extraction_wiring.h"
#include "dictionary_tools/bulk_import_wiring.h"
#include "dictionary_tools/duplicates_wiring.h"
#include "dictionary_tools/regional_tools_wiring.h"
#include "hyphenation/hyphenation_wiring.h"
#include "languagetool/languagetool_wiring.h"
#include "shell/document_wiring.h"
#include "shell/help_wiring.h"
#include "shell/list_popup.h"
#include "shell/main_window.h"
#include "thesaurus/thesaurus_wiring.h"

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
