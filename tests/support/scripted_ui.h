#pragma once

#include "core/shell/ui.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

namespace lexaloom::testing {

// A clock the test moves by hand.
class FakeClock final : public Clock {
public:
    qint64 monotonicMs() const override { return ms; }
    qint64 localEpochSeconds() const override { return epochSeconds; }
    void advance(qint64 delta) { ms += delta; }

    qint64 ms = 1000;
    qint64 epochSeconds = 1705449601;
};

// The Ui double of the tests: questions and dialogs are answered from queues, and
// every message, question, status text and progress value is recorded.
class ScriptedUi final : public Ui {
public:
    struct Message {
        QString title;
        QString text;
        MessageIcon icon = MessageIcon::Information;
        bool question = false;
        bool answer = false; // the answer given to a question
        QStringList choices; // the buttons of a choice question
        int choice = -1;     // the choice taken
    };

    // Scripts. A question with no scripted answer is answered No (the safe choice)
    // and counted in unscriptedQuestions, so a test can tell an unexpected question.
    std::deque<bool> answers;
    std::deque<int> choices; // for askChoice; unscripted, the last (cancelling) choice
    std::deque<QString> openPaths;
    std::deque<QString> savePaths;
    // Called on each processEvents(): lets a test press Escape or move the clock mid-task.
    std::function<void(ScriptedUi &)> onProcessEvents;
    // Called as each question is asked, before it is answered: lets a test look at the
    // files while the user is being asked.
    std::function<void(ScriptedUi &)> onQuestion;

    // Records.
    QList<Message> messages;
    QStringList statuses;
    QList<qint64> progressValues;
    qint64 progressMinimum = 0;
    qint64 progressMaximum = 0;
    QStringList dialogTitles;
    QStringList openedUrls;
    QList<int> pauses;
    int unscriptedQuestions = 0;
    int processEventsCalls = 0;

    FakeClock fakeClock;
    QString clipboard;

    void pressEscape() { ++m_pendingAborts; }
    qint64 progressValue() const { return progressValues.isEmpty() ? 0 : progressValues.last(); }
    // The texts of all messages and questions, in order.
    QStringList messageTexts() const;
    // Forgets everything recorded so far.
    void clearRecords();

    void showMessage(const QString &title, const QString &text, MessageIcon icon) override;
    bool askYesNo(const QString &title, const QString &text, MessageIcon icon) override;
    int askChoice(const QString &title, const QString &text, const QStringList &choices, MessageIcon icon) override;
    QString askOpenPath(const QString &title, const QString &directory, const QString &filter) override;
    QString askSavePath(const QString &title, const QString &suggestedPath, const QString &filter) override;
    void setStatusText(const QString &text) override;
    QString statusText() const override;
    void setProgressRange(qint64 minimum, qint64 maximum) override;
    void setProgressValue(qint64 value) override;
    void setClipboardText(const QString &text) override { clipboard = text; }
    QString clipboardText() const override { return clipboard; }
    void openUrl(const QString &url) override { openedUrls.append(url); }
    void processEvents() override;
    bool takeAbortRequest() override;
    void pause(int ms) override;
    const Clock &clock() const override { return fakeClock; }

private:
    int m_pendingAborts = 0;
};

} // namespace lexaloom::testing
