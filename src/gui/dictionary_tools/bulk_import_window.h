#pragma once

#include "core/dictionary_tools/bulk_import.h"
#include "core/dictionary_tools/possessive_names.h"
#include "core/shell/panel_ui.h"
#include "gui/shell/tool_window.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace lexaloom {

class MainWindow;
class Ui;
class Workbench;

// The line over the two panes that names what a run changes: the document of an
// import mode (with its file name) or the output alone. `mode` empty: the
// possessive-names window.
QString BulkImportTargetText(std::optional<BulkImportMode> mode, const BulkImportTargets &targets);

// Opens the Bulk Import window in `mode`, or the possessive-names window when `mode` is
// empty, modally over the main window; afterwards the tabs show what the run added.
void OpenBulkImportWindow(MainWindow &mainWindow, Workbench &workbench, Ui &ui, std::optional<BulkImportMode> mode);

// The text-in, text-out window both tools share: the input on the left, the log on the
// right, the mode's own controls below. The work is the session's.
class BulkImportWindow final : public ToolWindow {
    Q_OBJECT

public:
    BulkImportWindow(QWidget *parent, Workbench &workbench, Ui &ui, const BulkImportTargets &targets,
                     std::optional<BulkImportMode> mode);
    ~BulkImportWindow() override;

    BulkImportSession *bulkSession() { return m_bulk ? &*m_bulk : nullptr; }
    PossessiveNamesSession *namesSession() { return m_names ? &*m_names : nullptr; }

private:
    void buildWidgets();
    void run(const std::function<void()> &work);
    void pushInput();
    void drawOutput();
    void fillPosRows();
    void setControlsEnabled(bool enabled);

    Workbench &m_workbench;
    ProgressBarPanel m_panel;
    PanelUi m_panelUi;
    std::optional<BulkImportSession> m_bulk;
    std::optional<PossessiveNamesSession> m_names;
    qsizetype m_outputShown = 0;

    QPlainTextEdit *m_input = nullptr;
    QPlainTextEdit *m_output = nullptr;
    QPushButton *m_process = nullptr;
    QPushButton *m_processRegexp = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_saveAs = nullptr;
    QLabel *m_found = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_hint = nullptr;
    QProgressBar *m_progress = nullptr;
    QCheckBox *m_logIndex = nullptr;
    QSpinBox *m_logStart = nullptr;
    QComboBox *m_language = nullptr;
    QComboBox *m_pos = nullptr;
    QLineEdit *m_specify = nullptr;
    QPushButton *m_remember = nullptr;
    QLineEdit *m_remove1 = nullptr;
    QLineEdit *m_remove2 = nullptr;
    QLineEdit *m_possessives = nullptr;
    QPushButton *m_close = nullptr;
    QLabel *m_target = nullptr;
    QString m_targetText;
    QList<QWidget *> m_controls;
};

} // namespace lexaloom
