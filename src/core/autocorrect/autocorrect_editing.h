#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace lexaloom {

class Ui;
struct AutocorrectList;
struct MainSettings;

namespace pairEditorTexts {
inline const QString addTitle = QStringLiteral("Add an autocorrect word");
inline const QString editTitle = QStringLiteral("Edit an autocorrect word");
inline const QString toggleTooltip = QStringLiteral("Toggle text Incorrect\u2194Correct");
inline const QString noIncorrect = QStringLiteral("No incorrect word text.");
inline const QString incorrectSpaces = QStringLiteral("Invalid spaces in incorrect word.");
inline const QString noCorrect = QStringLiteral("No correct word text.");
inline const QString correctSpaces = QStringLiteral("Invalid spaces in correct word.");
inline const QString sameWords = QStringLiteral("Incorrect matches correct.");
inline const QString deleteQuestion = QStringLiteral("Really delete autocorrect word?\n\"");
inline const QString eraseQuestion = QStringLiteral("Really delete all autocorrect words?");
inline const QString erasingStatus = QStringLiteral("Erasing...");
inline const QString sortingStatus = QStringLiteral("Sorting Autocorrect List...");
inline const QString removingAccents = QStringLiteral("Removing accents... <ESC> to abort. Found:");
inline const QString sorting = QStringLiteral("Sorting... <ESC> to abort. Found:");
inline const QString populating = QStringLiteral("Populating with accents... <ESC> to abort. Found:");
inline const QString ok = QStringLiteral("OK.");
} // namespace pairEditorTexts

enum class PairEditorMode { Add, Edit };

struct PairTexts {
    QString incorrect;
    QString correct;

    bool operator==(const PairTexts &) const = default;
};

// The state and the checks of the window in which one pair is added or edited.
class PairEditorModel final {
public:
    enum class Field { Incorrect, Correct };

    PairEditorModel(Ui &ui, PairEditorMode mode, PairTexts initial);

    PairEditorMode mode() const { return m_mode; }
    QString title() const;
    const PairTexts &texts() const { return m_texts; }
    void setIncorrect(const QString &text) { m_texts.incorrect = text; }
    void setCorrect(const QString &text) { m_texts.correct = text; }
    // The toggle button: the two fields swap their texts.
    void toggle();
    // True when the fields differ from what they held when the window opened.
    bool isChanged() const { return m_texts != m_initial; }

    // OK: nothing when the pair may be taken; otherwise the field to focus, after the
    // first failing check was shown under "Warning!".
    std::optional<Field> accept();

    // A field is drawn red while its text begins or ends with a space or holds two in a row.
    static bool hasInvalidSpaces(QStringView text);

private:
    Ui &m_ui;
    PairEditorMode m_mode;
    PairTexts m_initial;
    PairTexts m_texts;
};

// Shows the pair editor window; the pair on OK, nothing on Cancel.
using OpenPairWindow = std::function<std::optional<PairTexts>(PairEditorMode mode, const PairTexts &initial)>;

// "Add" and "Edit" (and a double click). True when the list changed (the view then
// refreshes the page and the counter).
bool OpenPairEditor(AutocorrectList &list, Ui &ui, PairEditorMode mode, const OpenPairWindow &openWindow);
// "Delete": 1 when the focused pair was deleted, 0 otherwise.
int DeletePair(AutocorrectList &list, Ui &ui, bool silentWithoutSelection = false);
// "Erase": true when the list was emptied.
bool EraseAutocorrectList(AutocorrectList &list, Ui &ui);
// "Sort": true when the list was sorted (the view scrolls to the top). An abort leaves
// the list as it was.
bool SortAutocorrectList(AutocorrectList &list, const MainSettings &settings, Ui &ui);

// The two halves of a pair: the incorrect text, and the correct text (empty when the
// entry has no line feed).
PairTexts SplitPair(QStringView entry);

} // namespace lexaloom
