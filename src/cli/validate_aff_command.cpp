// lexaloom-cli validate-aff AFF: the AFF Validate report on standard output, with
// exit status 1 when it found errors, so dictionary maintainers can run it in CI.

#include <QFile>

#include "cli_command.h"
#include "dictionary/affix_table.h"
#include "dictionary_tools/aff_panel.h"
#include "dictionary_tools/aff_validate.h"
#include "shell/ui.h"

namespace lexaloom::cli {

namespace {

// No one to ask on the console: questions are answered No, the rest is dropped.
class ConsoleUi final : public Ui {
public:
    void showMessage(const QString &, const QString &, MessageIcon) override {}
    bool askYesNo(const QString &, const QString &, MessageIcon) override { return false; }
    QString askOpenPath(const QString &, const QString &, const QString &) override { return {}; }
    QString askSavePath(const QString &, const QString &, const QString &) override { return {}; }
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
    SystemClock m_clock;
    QString m_status;
};

// The report goes straight to standard output; the window's other controls do not exist here.
class ConsoleView final : public AffValidateView {
public:
    explicit ConsoleView(QTextStream &out)
        : m_out(out)
    {
    }
    void appendReport(const QString &text) override { m_out << text; }
    void setStatusLabel(const QString &) override {}
    void setPercentText(const QString &) override {}
    void setFoundText(const QString &) override {}
    void setProgressMaximum(AffStatusSide, qint64) override {}
    void setProgressValue(AffStatusSide, qint64) override {}
    void setElapsedText(AffStatusSide, const QString &) override {}
    void setAbortHint(AffStatusSide, const QString &) override {}
    void setBusy(bool) override {}
    void lineColourChanged(qsizetype) override {}
    void processEvents() override {}
    bool takeAbortRequest() override { return false; }

private:
    QTextStream &m_out;
};

int runValidateAff(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.size() != 1) {
        err << "usage: lexaloom-cli validate-aff AFF\n";
        return 2;
    }
    QFile file(arguments.first());
    if (!file.open(QIODevice::ReadOnly)) {
        err << "lexaloom-cli: cannot read \"" << arguments.first() << "\": " << file.errorString() << "\n";
        return 2;
    }
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text = NormaliseAffLineEnds(text);

    AffPanel panel;
    panel.reset(SplitAffLines(text));
    AffixTable table;
    BuildAffixTable(table, text);
    ConsoleUi ui;
    ConsoleView view(out);
    const AffValidateOutcome outcome = ValidateAff(panel, table, view, ui);
    out.flush();
    return outcome == AffValidateOutcome::NoErrors ? 0 : 1;
}

const CliCommandRegistration
    validateAffCommand({"validate-aff", "AFF",
                        "the AFF Validate report of an .aff file; exit status 1 when it finds errors", runValidateAff});

} // namespace

} // namespace lexaloom::cli
