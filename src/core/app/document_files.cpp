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

HyphenationFileResult OpenHyphenationFile(Workbench &workbench, Ui &ui, const QString &path)
{
    HyphenationFileResult result = LoadHyphenation(workbench.hyphenation, workbench.settings, ui, path);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::Hyphenation, result.path);
    return result;
}

HyphenationFileResult SaveHyphenationFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName)
{
    HyphenationFileResult result =
        SaveHyphenation(workbench.hyphenation, workbench.settings, ui, useCurrentName, askForName);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::Hyphenation, result.path);
    return result;
}

} // namespace lexaloom
