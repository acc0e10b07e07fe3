#include "cli/cli_command.h"
#include "cli/console_ui.h"
#include "cli/roundtrip.h"
#include "cli/stopwatch.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include "core/app/workbench.h"
#include "core/thesaurus/thesaurus_editing.h"
#include "core/thesaurus/thesaurus_files.h"

namespace lexaloom::cli {

namespace {

// Loads `datPath` into the workbench as File > Open does; every question is answered Yes.
int loadThesaurus(Workbench &workbench, ConsoleUi &ui, const QString &datPath, QTextStream &out, QTextStream &err)
{
    const Stopwatch watch;
    const ThesaurusFileResult loaded = LoadThesaurus(workbench.thesaurus, workbench.settings, ui, datPath);
    const QString ms = watch.text();
    if (!loaded.done())
        return CliFailure(err, datPath, ui.reason());
    ui.showMessages();
    out << "load " << datPath << ": " << ui.statusText() << "\n";
    out << "entries: " << workbench.thesaurus.entries.size() << "\nload ms: " << ms << "\n";
    return exitOk;
}

// Saves as Save As would to `ui.savePath` (".dat" added when missing), index included.
int saveThesaurus(Workbench &workbench, ConsoleUi &ui, QTextStream &out, QTextStream &err)
{
    const Stopwatch watch;
    const ThesaurusFileResult saved = SaveThesaurus(workbench.thesaurus, workbench.settings, ui, false, true);
    const QString ms = watch.text();
    if (!saved.done())
        return CliFailure(err, saved.path.isEmpty() ? ui.savePath : saved.path, ui.reason());
    ui.showMessages();
    out << "save " << saved.path << " + " << IndexPathFor(saved.path) << ": " << ui.statusText() << "\n";
    out << "save ms: " << ms << "\n";
    return exitOk;
}

int runThesaurusSort(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    const QString datPath = QFileInfo(arguments.positional[0]).absoluteFilePath();
    // The recent-files log goes to a throw-away program folder.
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    ConsoleUi ui(err, true, true);
    ui.savePath = QFileInfo(arguments.positional[1]).absoluteFilePath();
    if (const int status = loadThesaurus(workbench, ui, datPath, out, err); status != exitOk)
        return status;
    const Stopwatch watch;
    if (!SortThesaurus(workbench.thesaurus, workbench.settings, ui))
        return CliFailure(err, datPath, ui.reason());
    out << "sort: " << ui.statusText() << "\nsort ms: " << watch.text() << "\n";
    return saveThesaurus(workbench, ui, out, err);
}

const CliCommandRegistration thesaurusSortCommand({"thesaurus-sort",
                                                   "IN.dat OUT.dat",
                                                   "sort a thesaurus as the Thesaurus tab's Sort does and save it "
                                                   "as OUT.dat with its index OUT.idx",
                                                   {},
                                                   2,
                                                   2,
                                                   runThesaurusSort});

} // namespace

int runThesaurusRoundtrip(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    const std::optional<CopyIntoFolder> paths = CopyIntoFolderPaths(arguments, err);
    if (!paths)
        return exitFailed;
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    ConsoleUi ui(err, true, true);
    ui.savePath = paths->copy;
    if (const int status = loadThesaurus(workbench, ui, paths->input, out, err); status != exitOk)
        return status;
    return saveThesaurus(workbench, ui, out, err);
}

} // namespace lexaloom::cli
