#pragma once

#include "core/autocorrect/autocorrect_validate.h"
#include "core/shell/panel_ui.h"
#include "gui/shell/tool_window.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace lexaloom {

class Ui;
class Workbench;

// Autocorrect Tools > "AC Validate": refuses an empty list, warns when there is no
// dictionary, builds the AffixTable and opens the window modally.
void OpenAcValidateWindow(QWidget *parent, Workbench &workbench, Ui &ui);

// The window: the report box, its buttons and the run's progress, issue counter and
// ✓/✗ mark. The AcValidateSession does the work; the window draws its display.
class AcValidateWindow final : public ToolWindow, private AcValidateHost {
    Q_OBJECT

public:
    AcValidateWindow(QWidget *parent, Workbench &workbench, Ui &ui);
    ~AcValidateWindow() override;

    AcValidateSession &session() { return m_session; }

private:
    // AcValidateHost
    Ui &taskUi() override { return m_panelUi; }
    void refresh(const AcValidateDisplay &display) override;

    void buildWidgets();
    void setControlsEnabled(bool enabled);

    ProgressBarPanel m_progressPanel;
    PanelUi m_panelUi;
    AcValidateSession m_session;
    qsizetype m_reportShown = 0;
    bool m_busyShown = false;

    QPlainTextEdit *m_report = nullptr;
    QPushButton *m_process = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_close = nullptr;
    PaneButtons m_paneButtons;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_mark = nullptr;
    QLabel *m_issues = nullptr;
};

} // namespace lexaloom
