#pragma once

#include "core/dictionary_tools/master_wordlist.h"
#include "gui/shell/tool_window.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lexaloom {

class Workbench;

// "Words missing in Master Wordlist": the file rows, "Import && Process" and the two
// saves over a MasterWordlistSession.
class MasterWordlistWindow final : public ToolWindow {
    Q_OBJECT

public:
    MasterWordlistWindow(QWidget *parent, Workbench &workbench, Ui &ui);

    static void Open(QWidget *parent, Workbench &workbench, Ui &ui);

    MasterWordlistSession &session() { return m_session; }
    QTreeWidget *fileList() const { return m_list; }
    QLabel *totalLabel() const { return m_total; }
    QLabel *missingLabel() const { return m_missing; }
    QLabel *statusLabel() const { return m_status; }
    QPushButton *button(const QString &caption) const;
    void process();

private:
    void buildWidgets();
    void showRows();
    void showDisplay();
    void setControlsEnabled(bool enabled);

    ProgressBarPanel m_panel;
    PanelUi m_panelUi;
    MasterWordlistSession m_session;
    QTreeWidget *m_list = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_total = nullptr;
    QLabel *m_missing = nullptr;
    QProgressBar *m_bar = nullptr;
    QLabel *m_elapsed = nullptr;
    QLabel *m_hint = nullptr;
    QList<QPushButton *> m_buttons;
    bool m_filling = false;
};

} // namespace lexaloom
