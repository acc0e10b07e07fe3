#include "cli/console_ui.h"

#include "core/dictionary/dictionary_files.h"

namespace lexaloom::cli {

namespace {

// The load's question on bytes that are not UTF-8, whatever file and line it names.
bool isInvalidUtf8Question(const QString &text)
{
    const QString &pattern = dictionaryTexts::invalidUtf8Question;
    const qsizetype file = pattern.indexOf(QLatin1String("%1"));
    const qsizetype line = pattern.indexOf(QLatin1String("%2"));
    return text.startsWith(pattern.first(file)) && text.contains(pattern.sliced(file + 2, line - file - 2)) &&
           text.endsWith(pattern.sliced(line + 2));
}

} // namespace

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
    // Bytes that are not UTF-8 are kept as they are and written back unchanged, so every
    // command goes on whatever it answers to the other questions.
    const bool yes = m_answerYes || isInvalidUtf8Question(text);
    if (m_verbose) {
        m_err << title << ": " << text << (yes ? " -> Yes\n" : " -> No\n");
        m_err.flush();
    }
    return yes;
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
