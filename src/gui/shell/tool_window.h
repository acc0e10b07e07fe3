#pragma once

#include "core/shell/panel_ui.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCloseEvent;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace lexaloom {

class Ui;

// A progress bar with the label that shows its task's status text: what a tool
// window's PanelUi writes to. The widgets belong to the window.
class ProgressBarPanel final : public ProgressPanel {
public:
    ProgressBarPanel() = default;
    ProgressBarPanel(QProgressBar *bar, QLabel *label);
    void attach(QProgressBar *bar, QLabel *label);

    void setPanelText(const QString &text) override;
    void setPanelRange(qint64 minimum, qint64 maximum) override;
    void setPanelValue(qint64 value) override;

private:
    QProgressBar *m_bar = nullptr;
    QLabel *m_label = nullptr;
};

// "Clear", "Go to bottom" and "Go to top" under a report pane or a list.
struct PaneButtons {
    QPushButton *clear = nullptr;
    QPushButton *bottom = nullptr;
    QPushButton *top = nullptr;
};

// The base of every tool window (Find, AFF Validate, the word editor, and the tools
// to come). The window's logic lives in a core session object; the window builds the
// widgets, forwards the buttons to the session and draws what the session holds. The
// base gives what every tool window does alike:
// - Escape, "Close"/"Cancel" (wired to reject()) and the close box close the window,
//   but while a task runs they ask it to abort instead ("Really abort?");
// - F1 opens the manual at the window's anchor through ManualUrl;
// - the shared go-to dialog;
// - the pane buttons with their shared captions.
class ToolWindow : public QDialog {
    Q_OBJECT

public:
    ToolWindow(Ui &ui, QWidget *parent);

    void reject() override;

protected:
    Ui &ui() const { return m_ui; }

    // F1 opens the manual beside the program at `anchor` ("#...", or empty for its start).
    void setManualAnchor(const QString &programFolder, const QString &anchor);

    // Runs `work` (a LongTask on `panelUi`) as the window's task: Escape, the close box
    // and reject() meanwhile ask it to abort through the PanelUi.
    void runTask(PanelUi &panelUi, const std::function<void()> &work);
    bool isTaskRunning() const { return m_task != nullptr; }

    // Work that is not a LongTask on a PanelUi (the word editor's expansion, a run that
    // keeps the window busy): true when the window is busy with it, so closing waits;
    // the override may ask the work to stop.
    virtual bool interruptWork() { return false; }

    // The shared go-to dialog over a list of `count` rows named `noun`; `go` gets the
    // 0-based row.
    void openGoto(const QString &noun, qint64 count, QString &remembered, const std::function<void(qint64)> &go);

    // The pane buttons, named `namePrefix` + "Clear"/"Bottom"/"Top" for tests.
    PaneButtons makePaneButtons(const QString &namePrefix, const std::function<void()> &clear,
                                const std::function<void()> &bottom, const std::function<void()> &top);
    // The same for a text pane: bottom and top move its caret to the end and the start.
    PaneButtons makePaneButtons(const QString &namePrefix, QPlainTextEdit *pane, const std::function<void()> &clear);
    // Turns the pane buttons into the image buttons of the main window (44 x 44, the
    // caption as the tool tip), for the windows that show them so.
    static void showAsImageButtons(const PaneButtons &buttons);

    // Sizes the window to `wanted`, or less where the screen is smaller, and centres it
    // on the window it belongs to, kept on the screen.
    void fitAndCentre(const QSize &wanted);

    // A button that Return does not press unless it has the focus.
    QPushButton *makeButton(const QString &caption, const QString &objectName = QString());
    // A label owned by the window, named `objectName` (when given) for tests.
    QLabel *makeLabel(const QString &text, const QString &objectName = QString());

    void closeEvent(QCloseEvent *event) override;

private:
    Ui &m_ui;
    std::optional<QString> m_manualFolder;
    QString m_manualAnchor;
    PanelUi *m_task = nullptr;
};

} // namespace lexaloom
