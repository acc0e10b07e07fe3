#pragma once

#include "core/dictionary/aff_aid.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace lexaloom {

class Ui;
struct MainSettings;

namespace wordEditorTexts {
inline const QString wordCaption = QStringLiteral("Word:");
inline const QString tagsCaption = QStringLiteral("Postags:");
inline const QString noWordText = QStringLiteral("No dictionary word text.");
inline const QString invalidSpaces = QStringLiteral("Invalid spaces in dictionary word.");
inline const QString tagsIncorrect = QStringLiteral("Tags incorrect (spaces).");
inline const QString invalidWord = QStringLiteral("Invalid dictionary word.");
inline const QString noMatches = QStringLiteral("No matches to find.");
inline const QString noDerivedWords = QStringLiteral("No derived words found.");
inline const QString primaryHasNoFlag = QStringLiteral("Primary word doesn't have a flag.");
inline const QString flagNotFound = QStringLiteral("Flag not found in textbox.");
inline const QString primaryTag = QStringLiteral("Primary 1");
inline const QString notApplicable = QStringLiteral("n/a");
} // namespace wordEditorTexts

// The sort choices of the derived list, in the order of the choice box (values 1 to 5).
enum class DerivedSort { Default = 1, TypeFlag = 2, FlagRule = 3, FlagPosRule = 4, RuleFlag = 5 };
QStringList derivedSortCaptions();

// One row of the derived list, kept for sorting and copying.
struct DerivedRow {
    int index = 0;
    QString word;
    QString type;
    int colour = 0; // 0xRRGGBB
    QString flag;
    QString flagPath;
    int position = 0;
    QString positionKey;
    QString ruleKey;
    QString sortKey;

    // The "Flag Position" and "Rule" columns as the list shows them.
    QString positionText() const;
    QString ruleText() const;
};

// 0xRRGGBB of the preferences' colour for a row type.
int derivedTypeColour(const MainSettings &settings, DerivedType type);
DerivedRow makeDerivedRow(const EditorRow &row, int index, int colour);
QString derivedSortKey(const DerivedRow &row, DerivedSort choice);
// Gives every row its key and sorts by it (UTF-16 code units).
void sortDerivedRows(std::vector<DerivedRow> &rows, DerivedSort choice);

struct TagSummary {
    QStringList topLevel;
    QStringList nested;
};
// The rows after the first, counted per flag path.
TagSummary summariseTags(const std::vector<DerivedRow> &rows);

// Live colours of the two fields.
enum class FieldTone { Normal, Amber, Red };
FieldTone wordFieldTone(const QString &word);
FieldTone tagsFieldTone(const QString &tags);

// The first OK check that fails, in order; nothing when all pass.
enum class EditorField { Word, Tags };
struct OkFailure {
    QString message;
    EditorField field;
};
std::optional<OkFailure> checkWordEditorOk(const QString &word, const QString &tags);

// "Remove 🏁 from textbox": the word field without every occurrence of `flag`,
// or the message that refuses. Nothing and no message when the word has no flags.
struct FlagRemoval {
    std::optional<QString> wordField;
    QString message;
};
FlagRemoval removeFlagFromWordField(FlagMode mode, const QString &wordField, const QString &flag);

// The pop-up menu of the derived list.
enum class DerivedCopy { Word, AllWords, WordAndRule, AllWordsAndRules, FlagRule };
// The clipboard text, or nothing after reporting an empty list or a missing selection.
std::optional<QString> derivedCopyText(const std::vector<DerivedRow> &rows, int selectedRow, DerivedCopy kind, Ui &ui);

// "Match": the rows whose word begins with `text`, or nothing after reporting
// that there is nothing to match.
std::optional<QList<int>> matchDerivedRows(const std::vector<DerivedRow> &rows, const QString &text, Ui &ui);

// The legend of the flags: the profile whose key is `language`.
struct AffAidLegend {
    QString name = wordEditorTexts::notApplicable;
    QString imagePath;
    QStringList lines;
};
QStringList builtInAffAidLines();
AffAidLegend affAidLegend(const QList<AffAidEntry> &entries, const QString &language);
QString affAidCaption(const AffAidLegend &legend);

// The decoded .aff as the editor's pane shows it: tabs made spaces, runs collapsed.
QString editorAffText(const AffixTable &table);

// The live expansion of the word editor: when it is due, what it produced, the stop
// flag through which the window's callbacks end a running expansion, and what OK and
// Cancel do meanwhile. The window only keeps the timer that asks whether an expansion
// is due, and draws.
class WordEditorModel final {
public:
    static constexpr qint64 settleMs = 600;
    enum Stop { NoStop = 0, WordChanged = 1, OkPressed = 2, CancelPressed = 3 };

    // The legend shown is the entry whose key is the preference affAidLanguage.
    WordEditorModel(const AffixTable &table, const MainSettings &settings,
                    const QList<AffAidEntry> &affAidEntries = {});

    const AffAidLegend &legend() const { return m_legend; }

    // OK and Cancel (Escape, the close box): true when the window acts on them now.
    // While an expansion runs they only stop it; the window learns what to do from
    // afterExpansion once the engine has returned.
    bool okPressed();
    bool cancelPressed();

    // What the window does once an expansion returns with `stop`.
    enum class AfterExpansion {
        ShowRows,       // fill the list and the summaries
        ShowRowsThenOk, // OK was pressed but its checks fail: fill, then OK shows the failure
        CloseAccepted,  // OK was pressed and passes: close at once, the list left unfilled
        CloseRejected,  // Cancel was pressed: close at once, the list left unfilled
    };
    // A window about to close need not fill its list: a big entry has many rows.
    static AfterExpansion afterExpansion(int stop, const QString &word, const QString &tags);

    // A change of the word field or "Refresh"; `now` in monotonic ms. While an
    // expansion runs, a word change restarts it.
    void wordChanged(qint64 now);
    void refreshPressed(qint64 now);
    // Edit starts stale, so the expansion follows shortly after opening.
    void startStale(qint64 now, qint64 delayMs);
    bool isStale() const { return m_stale; }
    bool expansionDue(qint64 now) const { return m_stale && !m_expanding && now - m_changedAt >= settleMs; }
    bool isExpanding() const { return m_expanding; }
    void requestStop(Stop stop) { m_stop = stop; }
    int stopFlag() const { return m_stop; }

    // Runs the expansion of the current word field text. `pump` handles window
    // events while the engine runs (it may change the word or request a stop).
    // Returns the stop flag that ended it (NoStop, OkPressed or CancelPressed).
    int expand(const std::function<QString()> &currentWord, const std::function<void()> &pump, DerivedSort sort);

    // Sorts the kept rows again ("Sort"); reports an empty list.
    bool sortRows(DerivedSort sort, Ui &ui);

    const std::vector<DerivedRow> &rows() const { return m_rows; }
    const TagSummary &summary() const { return m_summary; }
    bool derived() const { return m_derived; }
    const DerivationState &state() const { return m_state; }
    QString heading() const;
    // The two "⚠" report fields.
    QString missingFlags() const { return m_state.missingFlags; }
    QString missingContinuationFlags() const { return m_state.missingContinuationLabel(); }
    // The Taboo indicator: 0 neutral, 1 green, 2 red, 3 amber.
    enum class Taboo { Neutral, Green, Red, Amber };
    Taboo taboo(const QString &word) const;
    // The five flag indicators.
    bool keepCaseOn() const { return m_derived && m_state.facts.entryHasKeepCase; }
    bool needAffixOn() const { return m_derived && m_state.facts.entryHasNeedAffix; }
    bool forbiddenWordOn() const { return m_derived && m_state.facts.entryHasForbiddenWord; }
    bool complexPrefixesOn() const { return m_table.complexPrefixes; }
    bool circumfixOn() const { return m_derived && m_state.facts.circumfixInForce; }
    // "FLAG chr", "FLAG long" or "FLAG num".
    QString flagModeText() const;

private:
    const AffixTable &m_table;
    const MainSettings &m_settings;
    AffAidLegend m_legend;
    std::vector<DerivedRow> m_rows;
    TagSummary m_summary;
    DerivationState m_state;
    bool m_stale = false;
    bool m_expanding = false;
    bool m_derived = false;
    int m_stop = NoStop;
    qint64 m_changedAt = 0;
};

} // namespace lexaloom
