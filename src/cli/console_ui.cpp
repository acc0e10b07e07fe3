#include "cli/console_ui.h"

namespace lexaloom::cli {

ConsoleUi::ConsoleUi(QTextStream &err, bool answerYes, bool verbose)
    : m_err(err)
    , m_answerYes(answerYes)
    , m_verbose(verbose)
{
}

void ConsoleUi::showMessage(const QString &title, const QString &text, MessageIcon)
{
    m_messages.append(title + QStringLiteral(": ") + text);
}

QString ConsoleUi::reason() const
{
    QString text = m_messages.isEmpty() ? m_status : m_messages.last().section(QStringLiteral(": "), 1);
    return text.simplified();
}

void ConsoleUi::showMessages()
{
    if (m_verbose) {
        for (const QString &message : m_messages)
            m_err << message << '\n';
        m_err.flush();
    }
    m_messages.clear();
}

bool ConsoleUi::askYesNo(const QString &title, const QString &text, MessageIcon)
{
    if (m_verbose) {
        m_err << title << ": " << text << (m_answerYes ? " -> Yes\n" : " -> No\n");
        m_err.flush();
    }
    return m_answerYes;
}

int ConsoleUi::askChoice(const QString &title, const QString &text, const QStringList &choices, MessageIcon)
{
    if (choices.isEmpty())
        return -1;
    const int choice = m_answerYes ? 0 : int(choices.size()) - 1;
    if (m_verbose) {
        m_err << title << ": " << text << " (" << choices.join(QStringLiteral(" / ")) << ") -> " << choices[choice]
              << '\n';
        m_err.flush();
    }
    return choice;
}

} // namespace lexaloom::cli
