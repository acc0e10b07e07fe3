#pragma once

#include "core/languagetool/pos_settings.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace lexaloom {

class Ui;

namespace posSettingsTexts {
inline const QString windowTitle = QStringLiteral("Extract POS Settings (Unfinished)");
inline const QString editTitle = QStringLiteral("Edit/Add a POS Setting line");
inline const QString noRuleSelected = QStringLiteral("No rule selected.");
inline const QString noRules = QStringLiteral("No rules for current language.");
inline const QString noItemsSelected = QStringLiteral("No items selected.");
inline const QString emptyFields = QStringLiteral("Empty fields found.");
inline const QString tabInField = QStringLiteral("Tab found in a field.");
inline const QString deleteQuestion = QStringLiteral("Really delete rule?");
inline QString maxRules()
{
    return QStringLiteral("The maximum number of rules per language is ") +
           QString::number(PosSettings::maxRulesPerLanguage);
}
} // namespace posSettingsTexts

// The "Edit/Add a POS Setting line" window's OK: the three fields joined by LF, or an
// empty text after "Empty fields found." when a field holds nothing but spaces, or
// after "Tab found in a field." when one holds a tab or a line break: the settings file
// separates the fields with tabs, so such a rule would come back shifted.
QString AcceptPosRuleFields(Ui &ui, const QString &source, const QString &target, const QString &comment);
// The field (0 source, 1 target, 2 comment) that holds a separator, or -1: the window
// draws it red.
int PosRuleFieldWithSeparator(const QString &source, const QString &target, const QString &comment);

// The state and actions of the "Extract POS Settings (Unfinished)" window over the
// workbench's POS table, which it edits in place; Cancel restores the copies taken
// when the window opened. The window draws rules(), ticks and the two labels.
class PosSettingsSession final {
public:
    // Asks for a rule with the edit window, prefilled with `rule`; empty on Cancel.
    using RuleEditor = std::function<QString(const QString &rule)>;
    // Writes one settings file; false when it could not be written.
    using FileWriter = std::function<bool()>;

    PosSettingsSession(PosSettings &pos, Ui &ui, RuleEditor editor);
    PosSettingsSession(const PosSettingsSession &) = delete;
    PosSettingsSession &operator=(const PosSettingsSession &) = delete;

    const PosSettings &pos() const { return m_pos; }
    const QStringList &rules() const;
    const QList<bool> &ticks() const { return m_ticks; }
    int selectedRow() const { return m_selected; }
    QString foundText() const;
    QString selectedText() const;

    void setLanguage(int index);
    void setSelectedRow(int row);
    void setTicked(int row, bool ticked);

    void add();
    void addAbove();
    void addBelow();
    void cloneBelow();
    void edit();
    void deleteRule();
    void selectAll();
    void selectNone();
    void invertSelection();
    void deleteSelected();
    // "Remember" and "Save": the writer of the file; its failure is told.
    void remember(const FileWriter &write, const QString &path);
    void save(const FileWriter &write, const QString &path);
    // "OK": true when the language changed since the window opened (the menu captions follow).
    bool accept() const;
    // "Cancel": the table and the language as they were when the window opened.
    void cancel();

private:
    QStringList &languageRules();
    bool refuseWhenFull();
    void insertRule(int at, const QString &rule);
    void warn(const QString &text);
    void writeFile(const FileWriter &write, const QString &path);

    PosSettings &m_pos;
    Ui &m_ui;
    RuleEditor m_editor;
    const PosSettings m_opening;
    QList<bool> m_ticks;
    int m_selected = -1;
};

} // namespace lexaloom
