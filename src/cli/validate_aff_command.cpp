// lexaloom-cli validate-aff AFF: the AFF Validate report on standard output, with
// exit status 1 when it found errors, so dictionary maintainers can run it in CI.

#include <QFile>

#include "cli_command.h"
#include "console_ui.h"
#include "dictionary/affix_table.h"
#include "dictionary_tools/aff_panel.h"
#include "dictionary_tools/aff_validate.h"
#include "shell/file_dialogs.h"

namespace lexaloom::cli {

namespace {

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

int runValidateAff(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    QFile file(arguments.positional.first());
    if (!file.open(QIODevice::ReadOnly))
        return CliFailure(err, file.fileName(), QStringLiteral("cannot read: ") + file.errorString());
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text = NormaliseLineEnds(text);

    AffPanel panel;
    panel.reset(SplitAffLines(text));
    AffixTable table;
    BuildAffixTable(table, text);
    ConsoleUi ui(err, false, false);
    ConsoleView view(out);
    const AffValidateOutcome outcome = ValidateAff(panel, table, view, ui);
    out.flush();
    return outcome == AffValidateOutcome::NoErrors ? exitOk : exitProblemsFound;
}

const CliCommandRegistration
    validateAffCommand({"validate-aff",
                        "AFF",
                        "the AFF Validate report of an .aff file; exit status 1 when it finds errors",
                        {},
                        1,
                        1,
                        runValidateAff});

} // namespace

} // namespace lexaloom::cli
