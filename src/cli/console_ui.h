#pragma once

#include <QStringList>
#include <QTextStream>

#include "core/shell/ui.h"

namespace lexaloom::cli {

// The Ui of the command line: there is no one to ask, so every question gets the
// answer chosen for the command (shown on stderr when verbose), except the one on
// bytes that are not UTF-8, which every command answers Yes; the save dialog
// returns `savePath`. Messages are kept: a failed command reports the last one as
// the reason on its one line, a command that ran to its end shows them when verbose.
class ConsoleUi final : public Ui {
public:
    ConsoleUi(QTextStream &err, bool answerYes, bool verbose);

    QString savePath;

    // Why the command stopped: the last message on one line, else the status text.
    QString reason() const;
    // Writes the kept messages to stderr when verbose.
    void showMessages();

    void showMessage(const QString &title, const QString &text, MessageIcon icon) override;
    bool askYesNo(const QString &title, const QString &text, MessageIcon icon) override;
    // Takes the first choice when answering Yes (a legacy charset is read as
    // declared), the last otherwise.
    int askChoice(const QString &title, const QString &text, const QStringList &choices, MessageIcon icon) override;
    QString askOpenPath(const QString &, const QString &, const QString &) override { return {}; }
    QString askSavePath(const QString &, const QString &, const QString &) override { return savePath; }
    void setStatusText(const QString &text) override { m_status = text; }
    QString statusText() const override { return m_status; }
    void setProgressRange(qint64, qint64) override {}
    void setProgressValue(qint64) override {}
    void setClipboardText(const QString &) override {}
    QString clipboardText() const override { return {}; }
    void openUrl(const QString &) override {}
    void processEvents() override {}
    bool takeAbortRequest() override { return false; }
    void pause(int) override {}
    const Clock &clock() const override { return m_clock; }

private:
    QTextStream &m_err;
    bool m_answerYes;
    bool m_verbose;
    QString m_status;
    QStringList m_messages;
    SystemClock m_clock;
};

// A report that grows while a run writes it, echoed to standard output: each write
// adds what came since the last one.
class GrowingReportEcho {
public:
    explicit GrowingReportEcho(QTextStream &out)
        : m_out(out)
    {
    }
    void write(const QString &report)
    {
        m_out << QStringView(report).mid(m_shown);
        m_shown = report.size();
    }

private:
    QTextStream &m_out;
    qsizetype m_shown = 0;
};

} // namespace lexaloom::cli
