// Dictionary Tools > Statistics from the command line: the figures of the window's
// "Export", printed without the byte-order mark.

#include "cli/cli_command.h"
#include "cli/console_ui.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/statistics.h"

namespace lexaloom::cli {

namespace {

int runStatistics(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    const QString dicPath = QFileInfo(args.positional[0]).absoluteFilePath();
    // The recent-files log goes to a throw-away program folder.
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    ConsoleUi ui(err, true, true);
    if (!LoadDictionary(workbench.dictionary, workbench.settings, ui, dicPath).done())
        return CliFailure(err, dicPath, ui.reason());
    ui.showMessages();
    const StatisticsRun run = RunStatistics(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
    if (!run.done)
        return CliFailure(err, dicPath, ui.reason());
    // No reference is kept on the command line.
    const QByteArray bytes =
        StatisticsExportBytes(run.stats, QString(), QString(), workbench.settings.thousandsSeparator);
    out << QString::fromUtf8(bytes.mid(3));
    return exitOk;
}

const CliCommandRegistration
    statisticsCommand({"statistics",
                       "DIC",
                       "the figures of Dictionary Tools > Statistics, as its Export writes them",
                       {},
                       1,
                       1,
                       runStatistics});

} // namespace

} // namespace lexaloom::cli
