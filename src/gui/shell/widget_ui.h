#pragma once

#include <QPointer>

#include "core/shell/ui.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace lexaloom {

// The Ui port on widgets: message boxes, file dialogs, the main window's status bar
// fields, the clipboard and the desktop's URL handler.
class WidgetUi final : public Ui {
public:
    WidgetUi() = default;
    WidgetUi(const WidgetUi &) = delete;
    WidgetUi &operator=(const WidgetUi &) = delete;

    // The window that parents the dialogs and the status bar fields that show status
    // and progress; set once the main window exists.
    void attach(QWidget *parent, QLabel *statusField, QProgressBar *progressField);
    // The Escape shortcut.
    void requestAbort() { m_abortRequested = true; }

    void showMessage(const QString &title, const QString &text, MessageIcon icon) override;
    bool askYesNo(const QString &title, const QString &text, MessageIcon icon) override;
    int askChoice(const QString &title, const QString &text, const QStringList &choices, MessageIcon icon) override;
    QString askOpenPath(const QString &title, const QString &directory, const QString &filter) override;
    QString askSavePath(const QString &title, const QString &suggestedPath, const QString &filter) override;
    void setStatusText(const QString &text) override;
    QString statusText() const override;
    void setProgressRange(qint64 minimum, qint64 maximum) override;
    void setProgressValue(qint64 value) override;
    void setClipboardText(const QString &text) override;
    QString clipboardText() const override;
    void openUrl(const QString &url) override;
    void processEvents() override;
    bool takeAbortRequest() override;
    void pause(int ms) override;
    const Clock &clock() const override { return m_clock; }

private:
    int scaled(qint64 value) const;

    QPointer<QWidget> m_parent;
    QPointer<QLabel> m_status;
    QPointer<QProgressBar> m_progress;
    QString m_statusText; // kept when no status bar is attached yet
    qint64 m_progressMinimum = 0;
    qint64 m_progressMaximum = 0;
    // Progress bars hold int; wider ranges are divided down by this factor.
    qint64 m_progressDivisor = 1;
    bool m_abortRequested = false;
    SystemClock m_clock;
};

} // namespace lexaloom
