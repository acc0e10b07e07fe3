#include "gui/dictionary_tools/bulk_import_wiring.h"

#include <utility>

#include "core/app/commands.h"
#include "core/app/workbench.h"
#include "gui/dictionary_tools/bulk_import_window.h"
#include "gui/shell/main_window.h"

namespace lexaloom {

void WireBulkImport(MainWindow &window, Workbench &workbench, Ui &ui)
{
    CommandDispatcher &d = window.dispatcher();
    const std::pair<CommandId, BulkImportMode> modes[] = {
        {CommandId::DictionaryBulkImport, BulkImportMode::Dictionary},
        {CommandId::ThesaurusBulkImport, BulkImportMode::Thesaurus},
        {CommandId::AutocorrectBulkImport, BulkImportMode::Autocorrect},
        {CommandId::BulkImportMultiwords, BulkImportMode::Multiwords},
        {CommandId::SortSmallWordlist, BulkImportMode::SortWordlist},
        {CommandId::DeleteDuplicatesSmallWordlist, BulkImportMode::DeleteDuplicates},
        {CommandId::ConvertXmlTags, BulkImportMode::ConvertXmlTags},
    };
    for (const auto &[command, mode] : modes) {
        d.setOperation(command,
                       [&window, &workbench, &ui, mode = mode](int) { OpenBulkImportWindow(window, workbench, ui, mode); });
    }
    d.setOperation(CommandId::ImportNamesPossessives,
                   [&window, &workbench, &ui](int) { OpenBulkImportWindow(window, workbench, ui, std::nullopt); });
}

} // namespace lexaloom
