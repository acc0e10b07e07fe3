#include "app/document_files.h"

#include "app/settings_files.h"
#include "app/workbench.h"

namespace lexaloom {

DictionaryFileResult OpenDictionaryFile(Workbench &workbench, Ui &ui, const QString &path)
{
    DictionaryFileResult result = LoadDictionary(workbench.dictionary, workbench.settings, ui, path);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::Dictionary, result.path);
    return result;
}

DictionaryFileResult SaveDictionaryFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName)
{
    DictionaryFileResult result =
        SaveDictionary(workbench.dictionary, workbench.settings, ui, useCurrentName, askForName);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::Dictionary, result.path);
    return result;
}

GrammarLoadResult OpenGrammarFile(Workbench &workbench, Ui &ui, const QString &path,
                                  const std::function<void()> &onTick)
{
    GrammarLoadResult result = LoadGrammarRules(workbench.grammar, workbench.settings, ui, path, onTick);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::LanguageTool, result.path);
    return result;
}

} // namespace lexaloom
