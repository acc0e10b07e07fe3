#pragma once

#include <QString>

#include <functional>

#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autotext_files.h"
#include "core/dictionary/dictionary_files.h"
#include "core/hyphenation/hyphenation_files.h"
#include "core/languagetool/grammar_rule_set.h"
#include "core/thesaurus/thesaurus_files.h"

namespace lexaloom {

class Ui;
class Workbench;

// File > Open and File > Save on the Dictionary tab: the dictionary's own load and
// save on the workbench's document, recorded in the recent files when done.
DictionaryFileResult OpenDictionaryFile(Workbench &workbench, Ui &ui, const QString &path = QString(),
                                        const DictionaryLoadProgress &progress = {});
DictionaryFileResult SaveDictionaryFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName);

// The same on the Thesaurus tab.
ThesaurusFileResult OpenThesaurusFile(Workbench &workbench, Ui &ui, const QString &path = QString(),
                                      const TickCallback &onTick = {});
ThesaurusFileResult SaveThesaurusFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName,
                                      const TickCallback &onTick = {});
// File > Open and Save on the Autocorrect tab and File > Open on the AutoText tab,
// recorded in the recent files when done.
AutocorrectFileResult OpenAutocorrectFile(Workbench &workbench, Ui &ui, const QString &path = QString());
AutocorrectFileResult SaveAutocorrectFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName);
AutoTextFileResult OpenAutoTextFile(Workbench &workbench, Ui &ui, const QString &path = QString());
// The same on the Hyphenation tab.
HyphenationFileResult OpenHyphenationFile(Workbench &workbench, Ui &ui, const QString &path = QString());
HyphenationFileResult SaveHyphenationFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName);
// File > Open and the recent files on the LanguageTool tab: the grammar rules'
// outline on the workbench, recorded in the recent files when done.
GrammarLoadResult OpenGrammarFile(Workbench &workbench, Ui &ui, const QString &path = QString(),
                                  const std::function<void()> &onTick = {});

} // namespace lexaloom
