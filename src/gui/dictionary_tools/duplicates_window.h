#pragma once

#include "core/dictionary_tools/duplicates_session.h"
#include "core/shell/panel_ui.h"
#include "gui/shell/tool_window.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QWidget;

namespace lexaloom {

class DuplicateRowsModel;
class Ui;
class Workbench;

// Dictionary Tools > "Show/Merge/Delete duplicates .DIC", and the step of another tool
// that merges duplicates: refuses an empty dictionary, rebuilds the AffixTable and
// runs the window modally over `parent`. With `alreadyRecorded` the caller's undo point
// of the dictionary is the one "Cancel" returns to. The caller redraws the dictionary.
DuplicatesToolOutcome OpenDuplicatesTool(QWidget *parent, Workbench &workbench, Ui &ui, bool alreadyRecorded);

// The window: the list with its counters and run controls, the log, the "Flags:"
// indicators and the options. All work is done by the DuplicatesSession; this class
// draws what the session holds whenever it asks for a refresh.
class DuplicatesWindow final : public ToolWindow, private DuplicatesHost {
    Q_OBJECT

public:
    DuplicatesWindow(QWidget *parent, Workbench &workbench, Ui &ui, bool alreadyRecorded);
    ~DuplicatesWindow() override;

    DuplicatesSession &session() { return m_session; }
    bool accepted() const { return m_accepted; }

    void done(int result) override;

private:
    // DuplicatesHost
    void refresh() override;
    bool rememberOptions(const DuplicateOptions &options) override;

    void buildWidgets();
    void connectActions();
    void showOptions();
    void setControlsEnabled(bool enabled);

    Workbench &m_workbench;
    ProgressBarPanel m_side;
    PanelUi m_panelUi;
    DuplicatesSession m_session;
    DuplicateRowsModel *m_model = nullptr;
    qsizetype m_logShown = 0;
    bool m_accepted = false;
    bool m_closed = false;

    QTableView *m_table = nullptr;
    QPushButton *m_scan = nullptr;
    QPushButton *m_export = nullptr;
    QLabel *m_repeatedWords = nullptr;
    QLabel *m_repeatedFlags = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_elapsed = nullptr;
    QLabel *m_hint = nullptr;
    QPlainTextEdit *m_log = nullptr;
    PaneButtons m_logButtons;
    QCheckBox *m_ignoreTags = nullptr;
    QCheckBox *m_twofold = nullptr;
    QCheckBox *m_sameTypeOnly = nullptr;
    QCheckBox *m_specialOnlyPrimary = nullptr;
    QPushButton *m_process = nullptr;
    QPushButton *m_remember = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace lexaloom
