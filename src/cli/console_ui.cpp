#include "console_ui.h"

namespace lexaloom::cli {

ConsoleUi::ConsoleUi(QTextStream &err, bool answerYes, bool verbose)
    : m_err(err)
    , m_answerYes(answerYes)
    , m_verbose(verbose)
{
}

void ConsoleUi::showMessage(const QString &title, const QString &text, MessageIcon)
{
    if (!m_verbose)
        return;
    m_err << title << ": " << text << "\n";
    m_err.flush();
}

bool ConsoleUi::askYesNo(const QString &title, const QString &text, MessageIcon)
{
    if (m_verbose) {
        m_err << title << ": " << text << (m_answerYes ? " -> Yes\n" : " -> No\n");
        m_err.flush();
    }
    return m_answerYes;
}

} // namespace lexaloom::cli
