// Dictionary Tools > Extract wordlist from the command line: the dictionary is
// loaded as File > Open loads it and the menu command's own code writes the file.

#include "cli_command.h"
#include "console_ui.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include "dictionary/dictionary_files.h"
#include "dictionary/wordlist_extraction.h"
#include "shell/workbench.h"

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

int runExtract(const QStringList &args, QTextStream &out, QTextStream &err)
{
    WordlistKind kind = WordlistKind::AllTxt;
    if (args.size() != 4 || args[0] != QLatin1String("--kind") || !kindFromName(args[1], kind)) {
        err << "usage: lexaloom-cli extract --kind txt|csv|compounds|compounds-lt|accepted DIC OUTFILE\n";
        return 2;
    }
    // The recent-files log goes to a throw-away program folder.
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    // Nobody is there to answer the volume warning; the caller chose the output.
    workbench.settings.decodeWarnLimit = 0;
    // Every question (the tag separator, the overwrite) is answered Yes and shown.
    ConsoleUi ui(err, true, true);
    const DictionaryFileResult loaded = LoadDictionary(workbench, ui, QFileInfo(args[2]).absoluteFilePath());
    if (!loaded.done()) {
        err << "lexaloom-cli: " << ui.statusText() << '\n';
        return 1;
    }
    ui.savePath = QFileInfo(args[3]).absoluteFilePath();
    const WordlistResult result = ExtractWordlist(workbench, ui, kind);
    if (!result.done) {
        err << "lexaloom-cli: " << ui.statusText() << '\n';
        return 1;
    }
    out << result.path << '\n' << ui.statusText() << '\n';
    return 0;
}

const CliCommandRegistration extractCommand(
    {"extract", "--kind txt|csv|compounds|compounds-lt|accepted DIC OUTFILE",
     "Extract wordlist as the Dictionary Tools menu writes it (\".txt\"/\".csv\" appended when missing); "
     "accepted: only the forms a spell checker accepts on their own",
     runExtract});

} // namespace

} // namespace lexaloom::cli
