#include "core/app/document_files.h"

#include "core/app/settings_files.h"
#include "core/app/workbench.h"

namespace lexaloom {

DictionaryFileResult OpenDictionaryFile(Workbench &workbench, Ui &ui, const QString &path,
                                        const DictionaryLoadProgress &progress)
{
    DictionaryFileResult result = LoadDictionary(workbench.dictionary, workbench.settings, ui, path, progress);
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

ThesaurusFileResult OpenThesaurusFile(Workbench &workbench, Ui &ui, const QString &path, const TickCallback &onTick)
{
    ThesaurusFileResult result = LoadThesaurus(workbench.thesaurus, workbench.settings, ui, path, onTick);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::Thesaurus, result.path);
    return result;
}

ThesaurusFileResult SaveThesaurusFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName,
                                      const TickCallback &onTick)
{
    ThesaurusFileResult result =
        SaveThesaurus(workbench.thesaurus, workbench.settings, ui, useCurrentName, askForName, onTick);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::Thesaurus, result.path);
    return result;
}

AutocorrectFileResult OpenAutocorrectFile(Workbench &workbench, Ui &ui, const QString &path)
{
    AutocorrectFileResult result = LoadAutocorrectList(workbench.autocorrect, workbench.settings, ui, path);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::Autocorrect, result.path);
    return result;
}

AutocorrectFileResult SaveAutocorrectFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName)
{
    AutocorrectFileResult result =
        SaveAutocorrectList(workbench.autocorrect, workbench.settings, ui, useCurrentName, askForName);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::Autocorrect, result.path);
    return result;
}

AutoTextFileResult OpenAutoTextFile(Workbench &workbench, Ui &ui, const QString &path)
{
    AutoTextFileResult result = LoadAutoTextList(workbench.autotext, workbench.settings, ui, path);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::AutoText, result.path);
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

GrammarLoadResult OpenGrammarFile(Workbench &workbench, Ui &ui, const QString &path,
                                  const std::function<void()> &onTick)
{
    GrammarLoadResult result = LoadGrammarRules(workbench.grammar, workbench.settings, ui, path, onTick);
    if (result.done())
        AddRecentFile(workbench, DocumentKind::LanguageTool, result.path);
    return result;
}

} // namespace lexaloom
