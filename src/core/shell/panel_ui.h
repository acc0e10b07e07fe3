#pragma once

#include "core/shell/ui.h"

#include <QString>

namespace lexaloom {

// The label and progress bar of a tool window.
class ProgressPanel {
public:
    virtual ~ProgressPanel() = default;
    virtual void setPanelText(const QString &text) = 0;
    virtual void setPanelRange(qint64 minimum, qint64 maximum) = 0;
    virtual void setPanelValue(qint64 value) = 0;
};

// The Ui a long task sees when it runs inside a tool window: its status text and
// progress go to the window's own panel, and the window's Escape key counts as an
// abort request. Messages, questions and everything else reach the program's Ui.
class PanelUi final : public Ui {
public:
    PanelUi(Ui &inner, ProgressPanel &panel);
    PanelUi(const PanelUi &) = delete;
    PanelUi &operator=(const PanelUi &) = delete;

    // Escape pressed in the tool window while its task runs.
    void requestAbort() { ++m_pendingAborts; }

    void showMessage(const QString &title, const QString &text, MessageIcon icon) override;
    bool askYesNo(const QString &title, const QString &text, MessageIcon icon) override;
    QString askOpenPath(const QString &title, const QString &directory, const QString &filter) override;
    QString askSavePath(const QString &title, const QString &suggestedPath, const QString &filter) override;
    void setStatusText(const QString &text) override;
    QString statusText() const override { return m_text; }
    void setProgressRange(qint64 minimum, qint64 maximum) override;
    void setProgressValue(qint64 value) override;
    void setClipboardText(const QString &text) override;
    QString clipboardText() const override;
    void openUrl(const QString &url) override;
    void processEvents() override;
    bool takeAbortRequest() override;
    void pause(int ms) override;
    const Clock &clock() const override;

private:
    Ui &m_inner;
    ProgressPanel &m_panel;
    QString m_text;
    int m_pendingAborts = 0;
};

} // namespace lexaloom
