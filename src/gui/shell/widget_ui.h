#pragma once

#include <QPointer>

#include <functional>

#include "core/shell/ui.h"

class QLabel;
class QProgressBar;
class QUrl;
class QWidget;

namespace lexaloom {

// What the user is told when the desktop cannot open `url` (the manual's file URL or
// a web address): the file's path or the address, to open it by hand.
QString UrlNotOpenedText(const QString &url);

// Sets `bar`'s range; an empty range (maximum not above minimum) becomes one step
// wide, so that the bar shows its value rather than a busy indicator.
void SetIdleSafeRange(QProgressBar &bar, int minimum, int maximum);

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
    // What hands a URL to the desktop (the desktop's default handler unless set); false
    // when nothing took it.
    void setUrlOpener(std::function<bool(const QUrl &)> opener);

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
    std::function<bool(const QUrl &)> m_urlOpener;
    SystemClock m_clock;
};

} // namespace lexaloom
