#pragma once

#include "core/dictionary_tools/aff_validate.h"
#include "core/dictionary_tools/aff_validate_session.h"
#include "core/shell/panel_ui.h"
#include "gui/shell/tool_window.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace lexaloom {

class AffPanelModel;
class Ui;
class Workbench;

// Dictionary Tools > "AFF Validate": rebuilds the AffixTable, opens the window modally
// and loads the .aff lines into its panel. True when "OK" changed the .aff text.
bool OpenAffValidateWindow(QWidget *parent, Workbench &workbench, Ui &ui);

// The window itself: report area with its run controls on the left, the line panel on
// the right. All work is done by the AffValidateSession; this class draws what the
// session holds whenever it asks for a refresh.
class AffValidateWindow final : public ToolWindow, private AffValidateHost {
    Q_OBJECT

public:
    AffValidateWindow(QWidget *parent, Workbench &workbench, Ui &ui);
    ~AffValidateWindow() override;

    // Loads the panel; called once the window is shown.
    void loadPanel();

    AffValidateSession &session() { return m_session; }

protected:
    bool interruptWork() override;

private:
    // AffValidateHost
    Ui &sideUi(AffStatusSide side) override;
    void refresh(const AffValidateDisplay &display) override;

    void buildWidgets();
    void connectActions();
    void setControlsEnabled(bool enabled);
    // Redraws the panel and its labels after an action; a reset when lines changed.
    void syncPanel(bool linesChanged);
    void selectRow(qsizetype row);
    void showPanelMenu(const QPoint &position);
    void editSelectedLine();
    void gotoLine();
    void acceptLines();

    ProgressBarPanel m_reportSide;
    ProgressBarPanel m_panelSide;
    PanelUi m_reportUi;
    PanelUi m_panelUi;
    AffValidateSession m_session;
    AffPanelModel *m_model = nullptr;
    bool m_busyShown = false;
    qsizetype m_reportShown = 0;

    QPlainTextEdit *m_report = nullptr;
    QPushButton *m_process = nullptr;
    QPushButton *m_refresh = nullptr;
    PaneButtons m_reportButtons;
    QLabel *m_status = nullptr;
    QLabel *m_percent = nullptr;
    QProgressBar *m_reportProgress = nullptr;
    QLabel *m_reportElapsed = nullptr;
    QLabel *m_reportHint = nullptr;

    QTableView *m_table = nullptr;
    QLabel *m_found = nullptr;
    QLabel *m_modifiedMark = nullptr;
    PaneButtons m_panelButtons;
    QProgressBar *m_panelProgress = nullptr;
    QLabel *m_panelElapsed = nullptr;
    QLabel *m_panelHint = nullptr;
    QLabel *m_selected = nullptr;
    QPushButton *m_undo = nullptr;
    QPushButton *m_redo = nullptr;
    QPushButton *m_goto = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace lexaloom
