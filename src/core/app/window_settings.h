#pragma once

#include "core/dictionary_tools/dic_stats_reference.h"
#include "core/dictionary_tools/duplicate_options.h"
#include "core/languagetool/pos_settings.h"

#include <QString>
#include <QtGlobal>

namespace lexaloom {

// The Bulk Import window's choices in Multiwords mode.
struct MultiwordPrefs {
    // The window offers "Other", "Portuguese" and "English"; its POS table has 37 rows.
    static constexpr qint32 languageCount = 3;
    static constexpr qint32 posRowCount = 37;

    qint32 languageIndex = 2;
    qint32 posIndex = 0;
    QString specifyText;

    bool operator==(const MultiwordPrefs &) const = default;
};

// What the tool windows remember in their own settings files.
struct WindowSettings {
    static constexpr qint32 derivedSortChoiceMin = 1;
    static constexpr qint32 derivedSortChoiceMax = 5;

    DicStatsReference dicStats;
    MultiwordPrefs multiwords;
    PosSettings pos = PosSettings::builtIn();
    qint32 derivedSortChoice = 1; // sort option of the word editor's derived-word list, 1 to 5
    DuplicateOptions duplicates;

    bool operator==(const WindowSettings &) const = default;
};

} // namespace lexaloom
