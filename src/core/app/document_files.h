#pragma once

#include <QString>

#include <functional>

#include "dictionary/dictionary_files.h"
#include "languagetool/grammar_rule_set.h"

namespace lexaloom {

class Ui;
class Workbench;

// File > Open and File > Save on the Dictionary tab: the dictionary's own load and
// save on the workbench's document, recorded in the recent files when done.
DictionaryFileResult OpenDictionaryFile(Workbench &workbench, Ui &ui, const QString &path = QString());
DictionaryFileResult SaveDictionaryFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName);

// File > Open and the recent files on the LanguageTool tab: the grammar rules'
// outline on the workbench, recorded in the recent files when done.
GrammarLoadResult OpenGrammarFile(Workbench &workbench, Ui &ui, const QString &path = QString(),
                                  const std::function<void()> &onTick = {});

} // namespace lexaloom
