// lexaloom-cli validate-aff AFF: the AFF Validate report on standard output, with
// exit status 1 when it found errors, so dictionary maintainers can run it in CI.

#include <QFile>

#include "cli/cli_command.h"
#include "cli/console_ui.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary_tools/aff_panel.h"
#include "core/dictionary_tools/aff_validate.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"

namespace lexaloom::cli {

namespace {

// The report goes straight to standard output as the run writes it; the window's other
// controls do not exist here.
class ConsoleHost final : public AffValidateHost {
public:
    ConsoleHost(QTextStream &out, Ui &ui)
        : m_report(out)
        , m_ui(ui)
    {
    }
    Ui &sideUi(AffStatusSide) override { return m_ui; }
    void refresh(const AffValidateDisplay &display) override { m_report.write(display.report); }

private:
    GrowingReportEcho m_report;
    Ui &m_ui;
};

int runValidateAff(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    QFile file(arguments.positional.first());
    if (!file.open(QIODevice::ReadOnly))
        return CliFailure(err, file.fileName(), QStringLiteral("cannot read: ") + file.errorString());
    // As the dictionary load reads it: bytes that are not UTF-8 are kept.
    const QString text = NormaliseLineEnds(DecodeLossless(WithoutUtf8Bom(file.readAll())));

    AffPanel panel;
    panel.reset(SplitAffLines(text));
    AffixTable table;
    BuildAffixTable(table, text);
    ConsoleUi ui(err, false, false);
    ConsoleHost host(out, ui);
    const MainSettings settings;
    AffValidateDisplay display;
    const AffValidateOutcome outcome = ValidateAff(panel, table, settings, display, host);
    host.refresh(display);
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
