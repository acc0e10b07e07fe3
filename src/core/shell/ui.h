#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace lexaloom {

enum class MessageIcon { Information, Warning, Error, Question };

// Time as the long operations and the update check see it. Injectable so that
// the 800 ms refresh tick and elapsed-time texts can be tested deterministically.
class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic milliseconds; only differences are meaningful.
    virtual qint64 monotonicMs() const = 0;
    // Local date and time in seconds since 1970-01-01 00:00:00.
    virtual qint64 localEpochSeconds() const = 0;
};

// The real clocks of the machine.
class SystemClock final : public Clock {
public:
    qint64 monotonicMs() const override;
    qint64 localEpochSeconds() const override;
};

// The one port through which the core reports to the user. The GUI implements it
// with widgets, the tests with a scripted double, the command line on the console.
class Ui {
public:
    virtual ~Ui() = default;

    // Modal message box with an OK button.
    virtual void showMessage(const QString &title, const QString &text, MessageIcon icon) = 0;
    // Modal Yes/No question; true for Yes.
    virtual bool askYesNo(const QString &title, const QString &text, MessageIcon icon) = 0;
    // Modal question with one button per choice, the last one cancelling; returns the
    // index of the choice taken. By default a Yes/No question on the first choice.
    virtual int askChoice(const QString &title, const QString &text, const QStringList &choices, MessageIcon icon)
    {
        if (choices.isEmpty())
            return -1;
        return askYesNo(title, text + QStringLiteral("\n\n") + choices.first() + u'?', icon) ? 0
                                                                                           : int(choices.size()) - 1;
    }

    // File dialogs; an empty result means the user cancelled. `filter` uses the
    // "Description (*.ext)" form, patterns separated by ";;".
    virtual QString askOpenPath(const QString &title, const QString &directory, const QString &filter) = 0;
    virtual QString askSavePath(const QString &title, const QString &suggestedPath, const QString &filter) = 0;

    // Status bar: field 0 text, field 1 progress bar.
    virtual void setStatusText(const QString &text) = 0;
    virtual QString statusText() const = 0;
    virtual void setProgressRange(qint64 minimum, qint64 maximum) = 0;
    virtual void setProgressValue(qint64 value) = 0;

    virtual void setClipboardText(const QString &text) = 0;
    virtual QString clipboardText() const = 0;
    virtual void openUrl(const QString &url) = 0;

    // Handles pending window events without waiting (repaints, the Escape shortcut).
    virtual void processEvents() = 0;
    // True once for each press of the Abort shortcut (Escape) since the last call.
    virtual bool takeAbortRequest() = 0;
    // Lets the window breathe for `ms` milliseconds (the pause after undo and redo).
    virtual void pause(int ms) = 0;

    virtual const Clock &clock() const = 0;
};

} // namespace lexaloom
