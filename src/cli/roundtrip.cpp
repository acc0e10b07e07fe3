#include "cli/roundtrip.h"

#include "cli/cli_command.h"
#include "cli/console_ui.h"
#include "cli/stopwatch.h"

#include <QTemporaryDir>

#include "core/app/workbench.h"
#include "core/autocorrect/autocorrect_files.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/format.h"

namespace lexaloom::cli {

namespace {

// An autocorrect list: a file that fails the header check is imported, as a user who
// wants the list opened answers; the save writes our own layout.
int roundtripAutocorrect(const CopyIntoFolder &paths, QTextStream &out, QTextStream &err)
{
    const QString &inPath = paths.input;
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    ConsoleUi ui(err, true, false);
    ui.savePath = paths.copy;
    Stopwatch load;
    const AutocorrectFileResult loaded = LoadAutocorrectList(workbench.autocorrect, workbench.settings, ui, inPath);
    const QString loadMs = load.text();
    if (!loaded.done())
        return CliFailure(err, inPath, ui.reason());
    ui.showMessages();
    out << "load " << inPath << ": " << ui.statusText() << "\n";
    out << "entries: " << workbench.autocorrect.entries.size() << "\nload ms: " << loadMs << "\n";
    Stopwatch save;
    const AutocorrectFileResult saved = SaveAutocorrectList(workbench.autocorrect, workbench.settings, ui, false, true);
    const QString saveMs = save.text();
    if (!saved.done())
        return CliFailure(err, saved.path.isEmpty() ? ui.savePath : saved.path, ui.reason());
    out << "save " << saved.path << ": " << ui.statusText() << "\n";
    out << "save ms: " << saveMs << "\n";
    return exitOk;
}

} // namespace

int runRoundtrip(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    // Every file kind gets its --kind here as its load and save land.
    const QString kind = arguments.option(QStringLiteral("--kind"), QStringLiteral("dictionary"));
    if (kind == QLatin1String("thesaurus"))
        return runThesaurusRoundtrip(arguments, out, err);
    if (kind == QLatin1String("hyphenation"))
        return runHyphenationRoundtrip(arguments, out, err);
    if (kind != QLatin1String("dictionary") && kind != QLatin1String("autocorrect"))
        return arguments.usageError(err);
    const std::optional<CopyIntoFolder> paths = CopyIntoFolderPaths(arguments, err);
    if (!paths)
        return exitFailed;
    const QString &dicPath = paths->input;
    if (kind == QLatin1String("autocorrect"))
        return roundtripAutocorrect(*paths, out, err);
    // The recent-files log goes to a throw-away program folder.
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    // Every question is answered Yes (and shown); the save dialog returns the output path.
    ConsoleUi ui(err, true, true);
    ui.savePath = paths->copy;

    Stopwatch watch;
    const DictionaryFileResult loaded = LoadDictionary(workbench.dictionary, workbench.settings, ui, dicPath);
    const QString loadMs = watch.text();
    if (!loaded.done())
        return CliFailure(err, dicPath, ui.reason());
    ui.showMessages();
    out << "load " << dicPath << ": " << ui.statusText() << "\n";
    out << "entries: " << workbench.dictionary.entries.size() << "\nload ms: " << loadMs << "\n";

    watch.restart();
    const DictionaryFileResult saved = SaveDictionary(workbench.dictionary, workbench.settings, ui, false, true);
    const QString saveMs = watch.text();
    if (!saved.done())
        return CliFailure(err, saved.path.isEmpty() ? ui.savePath : saved.path, ui.reason());
    ui.showMessages();
    out << "save " << saved.path << ": " << ui.statusText() << "\n";
    out << "save ms: " << saveMs << "\n";
    return exitOk;
}

namespace {

const CliCommandRegistration
    roundtripCommand({"roundtrip",
                      "[--kind dictionary|thesaurus|hyphenation|autocorrect] INPUT OUTDIR",
                      "load a file of the kind (a .dic/.aff pair when left out) and save it into OUTDIR as "
                      "File > Save As would",
                      {"--kind"},
                      2,
                      2,
                      runRoundtrip});

} // namespace

} // namespace lexaloom::cli
