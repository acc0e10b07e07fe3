#pragma once

#include <QString>

#include "dictionary/dictionary_files.h"
#include "hyphenation/hyphenation_files.h"

namespace lexaloom {

class Ui;
class Workbench;

// File > Open and File > Save on the Dictionary tab: the dictionary's own load and
// save on the workbench's document, recorded in the recent files when done.
DictionaryFileResult OpenDictionaryFile(Workbench &workbench, Ui &ui, const QString &path = QString());
DictionaryFileResult SaveDictionaryFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName);

// The same on the Hyphenation tab.
HyphenationFileResult OpenHyphenationFile(Workbench &workbench, Ui &ui, const QString &path = QString());
HyphenationFileResult SaveHyphenationFile(Workbench &workbench, Ui &ui, bool useCurrentName, bool askForName);

} // namespace lexaloom
