#pragma once

#include "core/languagetool/pos_settings_session.h"
#include "gui/shell/tool_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lexaloom {

class Workbench;

// "Edit/Add a POS Setting line": three fields, OK and Cancel. The rule as typed, or an
// empty text on Cancel.
class PosRuleDialog final : public QDialog {
    Q_OBJECT

public:
    PosRuleDialog(Ui &ui, const QString &rule, QWidget *parent = nullptr);

    QLineEdit *field(int index) const { return m_fields[index]; }
    QString result() const { return m_result; }
    void accept() override;

    static QString EditPosRule(Ui &ui, const QString &rule, QWidget *parent);

private:
    Ui &m_ui;
    QLineEdit *m_fields[3] = {};
    QString m_result;
};

// "Extract POS Settings (Unfinished)": the POS table of the selected language, edited
// through PosSettingsSession. Escape and the close box keep the changes; "Cancel"
// restores the table and the language as they were when the window opened.
class PosSettingsWindow final : public ToolWindow {
    Q_OBJECT

public:
    PosSettingsWindow(Workbench &workbench, Ui &ui, PosSettingsSession::RuleEditor editor = {},
                      QWidget *parent = nullptr);

    static void Open(QWidget *parent, Workbench &workbench, Ui &ui);

    PosSettingsSession &session() { return m_session; }
    QComboBox *languageBox() const { return m_language; }
    QTreeWidget *ruleList() const { return m_rules; }
    QLabel *foundLabel() const { return m_found; }
    QLabel *selectedLabel() const { return m_selected; }
    QPushButton *button(const QString &caption) const;
    // The pop-up menu's actions by caption, for the list's right click.
    void runPopupAction(const QString &caption);

private:
    void refresh();
    void showPopup(const QPoint &position);
    void itemChanged(QTreeWidgetItem *item, int column);
    void currentChanged();

    Workbench &m_workbench;
    PosSettingsSession m_session;
    QComboBox *m_language = nullptr;
    QTreeWidget *m_rules = nullptr;
    QLabel *m_found = nullptr;
    QLabel *m_selected = nullptr;
    QList<QPushButton *> m_buttons;
    bool m_filling = false;
};

} // namespace lexaloom
