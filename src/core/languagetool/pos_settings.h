#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lexaloom {

// Per-language mapping rules from a dictionary's POS notation to LanguageTool tags.
// Each rule is source + "\n" + target + "\n" + comment.
struct PosSettings {
    static constexpr int maxRulesPerLanguage = 300;
    static constexpr qint32 defaultSelectedLanguage = 2; // "English" of the built-in table

    QStringList languages;
    QList<QStringList> rules; // one list per language, parallel to `languages`
    qint32 selectedLanguage = defaultSelectedLanguage;

    bool operator==(const PosSettings &) const = default;

    // The table installed at start-up: "Other", "Portuguese" and "English".
    static PosSettings builtIn();
};

} // namespace lexaloom
