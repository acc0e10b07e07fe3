#include "scripted_ui.h"

namespace lexaloom::testing {

QStringList ScriptedUi::messageTexts() const
{
    QStringList texts;
    for (const Message &m : messages)
        texts.append(m.text);
    return texts;
}

void ScriptedUi::clearRecords()
{
    messages.clear();
    statuses.clear();
    progressValues.clear();
    dialogTitles.clear();
    openedUrls.clear();
    pauses.clear();
    unscriptedQuestions = 0;
}

void ScriptedUi::showMessage(const QString &title, const QString &text, MessageIcon icon)
{
    messages.append({title, text, icon, false, false});
}

bool ScriptedUi::askYesNo(const QString &title, const QString &text, MessageIcon icon)
{
    if (onQuestion)
        onQuestion(*this);
    bool answer = false;
    if (answers.empty()) {
        ++unscriptedQuestions;
    } else {
        answer = answers.front();
        answers.pop_front();
    }
    messages.append({title, text, icon, true, answer});
    return answer;
}

int ScriptedUi::askChoice(const QString &title, const QString &text, const QStringList &offered, MessageIcon icon)
{
    int choice = int(offered.size()) - 1; // unscripted: the cancelling choice
    if (choices.empty()) {
        ++unscriptedQuestions;
    } else {
        choice = choices.front();
        choices.pop_front();
    }
    messages.append({title, text, icon, true, choice == 0, offered, choice});
    return choice;
}

QString ScriptedUi::askOpenPath(const QString &title, const QString &, const QString &)
{
    dialogTitles.append(title);
    if (openPaths.empty())
        return {};
    QString path = openPaths.front();
    openPaths.pop_front();
    return path;
}

QString ScriptedUi::askSavePath(const QString &title, const QString &, const QString &)
{
    dialogTitles.append(title);
    if (savePaths.empty())
        return {};
    QString path = savePaths.front();
    savePaths.pop_front();
    return path;
}

void ScriptedUi::setStatusText(const QString &text)
{
    statuses.append(text);
}

QString ScriptedUi::statusText() const
{
    return statuses.isEmpty() ? QString() : statuses.last();
}

void ScriptedUi::setProgressRange(qint64 minimum, qint64 maximum)
{
    progressMinimum = minimum;
    progressMaximum = maximum;
}

void ScriptedUi::setProgressValue(qint64 value)
{
    progressValues.append(value);
}

void ScriptedUi::processEvents()
{
    ++processEventsCalls;
    if (onProcessEvents)
        onProcessEvents(*this);
}

bool ScriptedUi::takeAbortRequest()
{
    if (m_pendingAborts == 0)
        return false;
    --m_pendingAborts;
    return true;
}

void ScriptedUi::pause(int ms)
{
    pauses.append(ms);
}

} // namespace lexaloom::testing
