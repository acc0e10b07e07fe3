#pragma once

#include <QList>
#include <QString>

namespace lexaloom {

struct AffixTable;
class HyphenationPatternCache;
class Ui;
struct HyphenationDocument;
struct HyphenationRow;
struct MainSettings;

namespace hyphenationTexts {
inline const QString noWordSelected = QStringLiteral("No word selected.");
inline const QString noLastWord = QStringLiteral("No last hyphenated word.");
inline const QString changedQuestion = QStringLiteral("The Hyphenation has been changed.\n\nContinue?");
inline const QString noMatches = QStringLiteral("No matches");
// %1 the row number, %2 the number of rows.
inline const QString parsingStatus = QStringLiteral("Parsing rules against words:%1/%2... <ESC> To abort.");
} // namespace hyphenationTexts

// What a test needs besides the document: the dictionary's .aff for the derived forms.
struct HyphenationContext {
    AffixTable &affixTable;
    const QString &affText;
    const MainSettings &settings;
    Ui &ui;
};

enum class HyphenationOutcome {
    Refused, // a warning was shown; the result list is as it was
    Derived, // the forms are listed, but the patterns gave a warning
    Aborted, // Escape during the hyphenation: the rows done so far are hyphenated
    Hyphenated,
};

// "Hyphenate": the forms of `fieldText` (word[/flags]) through the derivation engine's
// compact list, then through the patterns.
HyphenationOutcome Hyphenate(HyphenationDocument &document, const HyphenationContext &context,
                             const QString &fieldText);
// "Update": the same for the word tested last.
HyphenationOutcome UpdateHyphenation(HyphenationDocument &document, const HyphenationContext &context);

// HyphenateResults: every row's word through the pattern cache, in order, as a
// LongTask. False when the user aborted; the rows done so far keep their results.
bool HyphenateResults(const HyphenationPatternCache &cache, QList<HyphenationRow> &rows, Ui &ui,
                      const MainSettings &settings);

// "Clear" under the hyphenation pane: true when the pane was emptied.
bool ClearHyphenation(HyphenationDocument &document, Ui &ui);

} // namespace lexaloom
