// Autocorrect Tools from the command line: the AC Validate report of a list against a
// dictionary (exit status 1 when it finds issues, for a list's own CI), and the tools
// that need no window, run over a list file and written to another.

#include <QFileInfo>
#include <QTemporaryDir>

#include "cli/cli_command.h"
#include "cli/console_ui.h"
#include "core/app/workbench.h"
#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autocorrect_tools.h"
#include "core/autocorrect/autocorrect_validate.h"
#include "core/dictionary/dictionary_files.h"

namespace lexaloom::cli {

namespace {

// The report goes to standard output as the run writes it.
class ConsoleHost final : public AcValidateHost {
public:
    ConsoleHost(QTextStream &out, Ui &ui)
        : m_report(out)
        , m_ui(ui)
    {
    }
    Ui &taskUi() override { return m_ui; }
    void refresh(const AcValidateDisplay &display) override { m_report.write(display.report); }

private:
    GrowingReportEcho m_report;
    Ui &m_ui;
};

// The list as File > Open reads it; a list in the office suite's own layout is
// imported, as its user would answer.
bool loadList(Workbench &workbench, ConsoleUi &ui, const QString &path)
{
    return LoadAutocorrectList(workbench.autocorrect, workbench.settings, ui, QFileInfo(path).absoluteFilePath())
        .done();
}

int runValidateAutocorrect(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    // Nobody is there to answer the memory guard; the caller chose the dictionary.
    workbench.settings.decodeWarnLimit = 0;
    ConsoleUi ui(err, true, false);
    const QString listPath = args.positional[0];
    const QString dicPath = args.positional[1];
    if (!loadList(workbench, ui, listPath))
        return CliFailure(err, listPath, ui.reason());
    if (!LoadDictionary(workbench.dictionary, workbench.settings, ui, QFileInfo(dicPath).absoluteFilePath()).done())
        return CliFailure(err, dicPath, ui.reason());
    if (!AcValidateSession::prepare(workbench.dictionary, workbench.affixTable, workbench.autocorrect,
                                    workbench.settings, ui))
        return CliFailure(err, listPath, ui.reason());
    ConsoleHost host(out, ui);
    AcValidateSession session(workbench.dictionary, workbench.affixTable, workbench.autocorrect, workbench.settings, ui,
                              host);
    host.refresh(session.display());
    const AcValidateOutcome outcome = session.process();
    out << session.issuesText() << '\n';
    out.flush();
    // Nobody presses Escape here: a run that stops could not hold its report.
    if (outcome == AcValidateOutcome::Aborted)
        return CliFailure(err, listPath, ui.reason());
    return outcome == AcValidateOutcome::NoIssues ? exitOk : exitProblemsFound;
}

const CliCommandRegistration validateAutocorrectCommand(
    {"validate-autocorrect",
     "LIST.xml DIC",
     "the Autocorrect Validate report of a list against a dictionary; exit status 1 when it finds issues",
     {},
     2,
     2,
     runValidateAutocorrect});

int runAutocorrectTool(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    const QString name = args.positional[0];
    const QString inPath = args.positional[1];
    const QString outPath = QFileInfo(args.positional[2]).absoluteFilePath();
    static const QStringList names{"hex-to-emoji", "fix-spaces", "delete-duplicates", "xdelete-duplicates", "extract"};
    if (!names.contains(name))
        return args.usageError(err);
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    // The delete questions are answered Yes: running the command is the answer.
    ConsoleUi ui(err, true, false);
    if (!loadList(workbench, ui, inPath))
        return CliFailure(err, inPath, ui.reason());
    AutocorrectList &list = workbench.autocorrect;
    const MainSettings &settings = workbench.settings;
    const qint64 before = list.entries.size();
    ui.savePath = outPath;
    if (name == QLatin1String("extract")) {
        if (!ExtractAutocorrects(list, settings, ui))
            return CliFailure(err, outPath, ui.reason());
        out << ui.statusText() << '\n';
        return exitOk;
    }
    ToolResult<qint64> changed;
    if (name == QLatin1String("hex-to-emoji")) {
        changed = ConvertHexSymbols(list, settings, ui);
    } else if (name == QLatin1String("fix-spaces")) {
        changed = FixAutocorrectSpaces(list, settings, ui);
    } else {
        const std::optional<AutocorrectDuplicates> duplicates = FindAutocorrectDuplicates(list, settings, ui);
        if (duplicates) {
            for (const AutocorrectDuplicate &row : duplicates->rows)
                out << row.word << ':' << row.occurrences << '\n';
            DeleteAutocorrectDuplicates(list, *duplicates, name == QLatin1String("xdelete-duplicates"), settings, ui);
            changed.value = before - list.entries.size();
        }
    }
    // A list the tool refused (a broken reference, a pair left without a word) is a
    // problem of the list: reported, nothing written.
    if (changed.outcome == ToolOutcome::Refused) {
        CliFailure(err, inPath, ui.statusText());
        return exitProblemsFound;
    }
    const QString status = ui.statusText();
    if (!WriteAutocorrectFile(ui, settings, list, outPath).done())
        return CliFailure(err, outPath, ui.reason());
    out << status << '\n' << "changed: " << changed.value << '\n';
    return exitOk;
}

const CliCommandRegistration autocorrectToolCommand(
    {"autocorrect-tool",
     "hex-to-emoji|fix-spaces|delete-duplicates|xdelete-duplicates|extract LIST.xml OUTPUT",
     "an Autocorrect Tools batch tool over a list, the result written to OUTPUT (a list, or the .txt of extract); "
     "exit status 1 when the list holds what the tool refuses",
     {},
     3,
     3,
     runAutocorrectTool});

} // namespace

} // namespace lexaloom::cli
