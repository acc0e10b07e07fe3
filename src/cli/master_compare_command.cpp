// "Words missing in Master Wordlist" for scripts: the lines of the Other lists that the
// Master list lacks, each once, in accent-blind order.

#include "cli/cli_command.h"
#include "cli/console_ui.h"

#include "core/dictionary_tools/master_wordlist.h"
#include "core/shell/settings.h"

namespace lexaloom::cli {

namespace {

int runMasterCompare(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    const QString master = args.positional.first();
    const QStringList others = args.positional.mid(1, args.positional.size() - 2);
    const QString output = args.positional.last();
    MainSettings settings;
    ConsoleUi ui(err, true, false);
    const MissingWords result = FindMissingWords(master, others, ui, settings);
    if (result.outcome == MasterOutcome::Failed || result.outcome == MasterOutcome::Aborted ||
        result.outcome == MasterOutcome::Refused)
        return CliFailure(err, result.failedPath.isEmpty() ? master : result.failedPath, ui.reason());
    const bool capitalsOnly = args.options.count(QStringLiteral("--ucase")) > 0;
    const qint64 written = WriteMissingWords(output, result.words, capitalsOnly, ui, settings);
    if (written < 0)
        return CliFailure(err, output, ui.reason());
    out << "Total words: " << result.totalWords << "\nMissing words: " << result.words.size()
        << "\nWritten: " << written << '\n';
    return exitOk;
}

const CliCommandRegistration masterCompareCommand({"master-compare",
                                                   "[--ucase] MASTER OTHER... OUT",
                                                   "write the words of the OTHER word lists missing in MASTER, each "
                                                   "once, in accent-blind order (--ucase: only those starting with "
                                                   "a capital); ten files at most, MASTER one of them",
                                                   {},
                                                   3,
                                                   // More than ten files get the tool's own refusal.
                                                   100,
                                                   runMasterCompare,
                                                   {"--ucase"}});

} // namespace

} // namespace lexaloom::cli
