#pragma once

#include <QString>

#include <optional>

namespace lexaloom {

struct DictionaryDocument;
struct MainSettings;
class Ui;

namespace sortAffTagsTexts {
inline const QString affEmpty = QStringLiteral(".AFF is empty.");
inline const QString question =
    QStringLiteral("Sorting the tags in the Aff.\n\nThis operation can't be undone.\n\nContinue?");
inline const QString starting = QStringLiteral("Sorting tags in .aff... <ESC> to abort.");
inline const QString noTags = QStringLiteral("No tags found in .AFF.");
inline const QString pass1 = QStringLiteral("Copying & processing lines to array:");
inline const QString pass2 = QStringLiteral("Sorting tags in array:");
inline const QString pass3 = QStringLiteral("Copying lines back to AFF:");
inline const QString current = QStringLiteral("... <ESC> to abort. Current:");
} // namespace sortAffTagsTexts

// The rule lines under each PFX/SFX header, as many as the header's count, ordered by
// their affix and condition fields (code-unit order, equal keys in their previous
// order); every other line keeps its place. Line ends become "\n" and the text ends
// with one. Nothing when aborted, or when the text is empty or no PFX/SFX line was
// found (after saying so).
std::optional<QString> SortAffTagsText(const QString &affText, const MainSettings &settings, Ui &ui);

// "Sort tags .AFF" on the dictionary's .aff text, with its refusals and question; the
// dictionary counts as changed afterwards. True when the text was sorted.
bool SortAffTags(DictionaryDocument &doc, const MainSettings &settings, Ui &ui);

} // namespace lexaloom
