#pragma once

#include "core/dictionary/flags.h"
#include "core/shell/list_selection.h"

#include <QString>
#include <QStringView>

namespace lexaloom {

struct AffixTable;
struct DictionaryDocument;
struct MainSettings;
class Ui;

// A dictionary entry cut into its word, its flags and its tags. An escaped slash
// ("\/") belongs to the word and stays escaped; an entry that begins with "/" is cut
// at its first slash whatever escapes follow.
struct EntryParts {
    QStringView word;
    QStringView flags;
    QStringView tags;
    bool hasSlash = false; // the word part holds an unescaped "/"
};
EntryParts SplitEntry(QStringView entry);

// True when the same flag (compared exactly) occurs more than once.
bool HasRepeatedFlags(FlagMode mode, QStringView flags);
// Every flag once, at the place of its first occurrence; numeric flags joined by ",".
QString WithoutRepeatedFlags(FlagMode mode, QStringView flags);
// b, preceded by each flag of a that b lacks, each put in front in turn (a = AB,
// b = CD give BACD). Repeats within a are kept.
QString FlagUnion(FlagMode mode, QStringView a, QStringView b);
// The flags sorted without regard to case (numeric flags by value); repeats stay.
QString SortedFlags(FlagMode mode, QStringView flags);

// Flag class codes and their names.
namespace flagClass {
inline const QString primary = QStringLiteral("0");
inline const QString allSuffixes = QStringLiteral("1");
inline const QString allPrefixes = QStringLiteral("2");
inline const QString suffixesAndPrefixes = QStringLiteral("3");
inline const QString special = QStringLiteral("4");
inline const QString suffixNoCross = QStringLiteral("5");
inline const QString afCompressed = QStringLiteral("6");
inline const QString keepCase = QStringLiteral("7");
inline const QString unknown = QString();
} // namespace flagClass

// The class code of a flag string under `table` (the table must be built).
QString FlagClass(const AffixTable &table, QStringView flags);
// The display name of a class code; "Unknown" for any code outside the table.
QString FlagClassName(const QString &code);

// The texts of the flag sort.
namespace sortFlagsTexts {
inline const QString noWords = BulkTextsOf(DocumentKind::Dictionary).noEntries;
} // namespace sortFlagsTexts

struct SortFlagsResult {
    bool aborted = false;
    bool refused = false; // no entries
    qint64 rewritten = 0;
    qint64 removed = 0;
};

// Dictionary Tools > "Sort flags && remove their duplicates .DIC": every entry's flags
// sorted and each flag kept once. Takes the dictionary's undo snapshot before the
// first rewritten entry; `changed` is set when any entry was rewritten.
SortFlagsResult SortDictionaryFlags(DictionaryDocument &doc, AffixTable &table, const MainSettings &settings, Ui &ui);

} // namespace lexaloom
