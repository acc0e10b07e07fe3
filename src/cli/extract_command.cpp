// Dictionary Tools > Extract wordlist from the command line: the dictionary is
// loaded as File > Open loads it and the menu command's own code writes the file.

#include "cli/cli_command.h"
#include "cli/console_ui.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary/wordlist_extraction.h"

namespace lexaloom::cli {

namespace {

bool kindFromName(const QString &name, WordlistKind &kind)
{
    static const struct {
        const char *name;
        WordlistKind kind;
    } kinds[] = {{"txt", WordlistKind::AllTxt},
                 {"csv", WordlistKind::AllCsv},
                 {"compounds", WordlistKind::CompoundsTxt},
                 {"compounds-lt", WordlistKind::CompoundsLanguageTool},
                 {"accepted", WordlistKind::Accepted}};
    for (const auto &k : kinds) {
        if (name == QLatin1String(k.name)) {
            kind = k.kind;
            return true;
        }
    }
    return false;
}

int runExtract(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    WordlistKind kind = WordlistKind::AllTxt;
    if (!kindFromName(args.option(QStringLiteral("--kind")), kind))
        return args.usageError(err);
    const QString dicPath = QFileInfo(args.positional[0]).absoluteFilePath();
    const QString outPath = QFileInfo(args.positional[1]).absoluteFilePath();
    // The recent-files log goes to a throw-away program folder.
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    // Nobody is there to answer the volume warning; the caller chose the output.
    workbench.settings.decodeWarnLimit = 0;
    // Every question (the tag separator, the overwrite) is answered Yes and shown.
    ConsoleUi ui(err, true, true);
    if (!LoadDictionary(workbench.dictionary, workbench.settings, ui, dicPath).done())
        return CliFailure(err, dicPath, ui.reason());
    ui.showMessages();
    ui.savePath = outPath;
    const WordlistResult result =
        ExtractWordlist(workbench.dictionary, workbench.affixTable, workbench.settings, ui, kind);
    if (!result.done)
        return CliFailure(err, result.path.isEmpty() ? outPath : result.path, ui.reason());
    ui.showMessages();
    out << result.path << '\n' << ui.statusText() << '\n';
    return exitOk;
}

const CliCommandRegistration
    extractCommand({"extract",
                    "--kind txt|csv|compounds|compounds-lt|accepted DIC OUTFILE",
                    "Extract wordlist as the Dictionary Tools menu writes it (\".txt\"/\".csv\" appended when missing); "
                    "accepted: only the forms a spell checker accepts on their own",
                    {"--kind"},
                    2,
                    2,
                    runExtract});

} // namespace

} // namespace lexaloom::cli
