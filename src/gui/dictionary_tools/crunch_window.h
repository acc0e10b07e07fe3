#pragma once

#include "core/dictionary_tools/crunch.h"
#include "gui/shell/tool_window.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QTreeWidget;

namespace lexaloom {

class Workbench;

// "Crunch words with flags (Orvel - GB)": the rule boxes, the match level and the
// list of rewritten entries over a CrunchSession.
class CrunchWindow final : public ToolWindow {
    Q_OBJECT

public:
    CrunchWindow(QWidget *parent, Workbench &workbench, Ui &ui);

    // The menu command: true when the dictionary was changed.
    static bool Open(QWidget *parent, Workbench &workbench, Ui &ui);

    CrunchSession &session() { return m_session; }
    QCheckBox *ruleBox(int rule) const { return m_rules[size_t(rule)]; }
    QTreeWidget *resultList() const { return m_list; }
    QSlider *levelSlider() const { return m_level; }
    QLineEdit *usedFlags() const { return m_used; }
    QPushButton *processButton() const { return m_process; }
    void process();

private:
    void buildWidgets();
    void showChoices();
    void showDisplay();
    void setControlsEnabled(bool enabled);

    Workbench &m_workbench;
    ProgressBarPanel m_panel;
    PanelUi m_panelUi;
    CrunchSession m_session;
    std::array<QCheckBox *, crunchRuleCount> m_rules{};
    QTreeWidget *m_list = nullptr;
    QLabel *m_found = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_bar = nullptr;
    QLabel *m_elapsed = nullptr;
    QLabel *m_hint = nullptr;
    QSlider *m_level = nullptr;
    QLabel *m_levelCaption = nullptr;
    QLabel *m_usedCount = nullptr;
    QLineEdit *m_used = nullptr;
    QPushButton *m_process = nullptr;
    QList<QWidget *> m_controls;
};

} // namespace lexaloom
