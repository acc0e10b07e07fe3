#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <functional>
#include <vector>

#include "core/shell/shared_texts.h"

namespace lexaloom {

class Ui;
struct AffixTable;
struct DictionaryDocument;
struct MainSettings;

namespace crunchTexts {
inline const QString windowTitle = QStringLiteral("Crunch words with flags (Orvel - GB)");
inline const QString rulesFrame = QStringLiteral("Flags to crunch (SFX with 1 derivate only)");
inline const QString noRules = QStringLiteral("No rules selected.");
inline const QString noFlagsAdded = QStringLiteral("No flags added.");
inline const QString noChanges = QStringLiteral("No changes done.");
inline const QString matchLabel = QStringLiteral("Match Left Characters:");
inline const QString usedLabel = QStringLiteral("\U0001F3C1\U0001F3C1 used:");
inline const QString processingIdle = QStringLiteral("Processing:0/0");
inline const QString populating = QStringLiteral("Processing:1/4... Populating array...");
inline const QString sorting = QStringLiteral("Processing:2/4... Sorting array...");
inline const QString processingFlags = QStringLiteral("Processing:3/4... Processing flags...");
inline const QString listing = QStringLiteral("Processing:4/4... Sorting and populating list...");
inline const QString done = QStringLiteral("Processing:Done!");
inline const QString aborted = QStringLiteral("Processing:Aborted.");
inline const QString abortHint = sharedTexts::escToAbort;
inline const QString arrow = QStringLiteral("\u2192");
} // namespace crunchTexts

// One of the fixed suffix rules: words ending in its suffix become base + "/" + flag.
struct CrunchRule {
    enum class Condition { None, NotAuOrEu, NotIngPossessive };
    QString caption;
    QChar flag;
    Condition condition = Condition::None;

    // Whether `base` may serve as the base word of this rule.
    bool allows(QStringView base) const;
};

inline constexpr int crunchRuleCount = 17;
// The rules in their fixed order (the first matching rule wins).
const std::array<CrunchRule, crunchRuleCount> &CrunchRules();

// The window's choices, kept for the program's run: all rules on, match level 2.
struct CrunchChoices {
    static constexpr int minLevel = 1;
    static constexpr int maxLevel = 3;

    std::array<bool, crunchRuleCount> on = [] {
        std::array<bool, crunchRuleCount> all{};
        all.fill(true);
        return all;
    }();
    int matchLevel = 2;

    int onCount() const;
    // The flags of the rules that are on, in table order.
    QString usedFlags() const;
    // "(" + on + "/17)".
    QString usedCount() const;
    static QString levelCaption(int level);
};

// A rewritten entry as the result list shows it.
struct CrunchRow {
    qint64 line = 0;    // 1-based line of the entry
    QString words;      // old word + "→" + new base + "/" + flag
    qint64 matched = 0; // length of the new base

    bool operator==(const CrunchRow &) const = default;
};

enum class CrunchOutcome { Refused, Done, NoChanges, Aborted };

// What the window shows beside its progress bar.
struct CrunchDisplay {
    QString found = QStringLiteral("Found:0/0");
    QString elapsed;
    QString hint;
};

// "Crunch words with flags": rewrites bare entries that are a suffix form of another
// entry's word as that word plus the rule's flag, when every other form the flag gives
// that word is a form of the dictionary already; with AF aliases the flag is written as
// the alias that holds it alone (no such alias: the rule is passed over). One session per opening of the
// window: the undo point of the dictionary is recorded on its first rewrite only, so
// the main window's undo takes back everything the window did.
class CrunchSession final {
public:
    CrunchSession(DictionaryDocument &dictionary, AffixTable &table, const MainSettings &settings,
                  CrunchChoices &choices);
    CrunchSession(const CrunchSession &) = delete;
    CrunchSession &operator=(const CrunchSession &) = delete;

    // The menu command's check before the window opens: false (after telling why)
    // when the dictionary has no entries.
    static bool canOpen(const DictionaryDocument &dictionary, Ui &ui);

    CrunchChoices &choices() { return m_choices; }
    const std::vector<CrunchRow> &rows() const { return m_rows; }
    const CrunchDisplay &display() const { return m_display; }
    qint64 foundCount() const { return m_found; }
    bool undoRecorded() const { return m_undoRecorded; }

    // "Process". `ui` is the window's panel (status, bar, Escape and the messages);
    // `refresh` is called on every tick so the window can draw the display.
    CrunchOutcome process(Ui &ui, const std::function<void()> &refresh = {});

private:
    DictionaryDocument &m_dictionary;
    AffixTable &m_table;
    const MainSettings &m_settings;
    CrunchChoices &m_choices;
    std::vector<CrunchRow> m_rows;
    CrunchDisplay m_display;
    qint64 m_found = 0;
    bool m_undoRecorded = false;
};

} // namespace lexaloom
