// Dictionary Tools > "Convert to UTF-8" from the command line: the pair is loaded
// as File > Open loads it (in its own charset), converted, and saved into OUTDIR.

#include "cli/cli_command.h"
#include "cli/console_ui.h"

#include <QTemporaryDir>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/convert_to_utf8.h"

namespace lexaloom::cli {

namespace {

int runConvert(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    const std::optional<CopyIntoFolder> paths = CopyIntoFolderPaths(arguments, err);
    if (!paths)
        return exitFailed;
    const QString &dicPath = paths->input;
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    ConsoleUi ui(err, true, true);
    ui.savePath = paths->copy;
    if (!LoadDictionary(workbench.dictionary, workbench.settings, ui, dicPath).done())
        return CliFailure(err, dicPath, ui.reason());
    if (!ConvertDictionaryToUtf8(workbench.dictionary, ui))
        return CliFailure(err, dicPath, ui.reason());
    ui.showMessages();
    const DictionaryFileResult saved = SaveDictionary(workbench.dictionary, workbench.settings, ui, false, true);
    if (!saved.done())
        return CliFailure(err, saved.path.isEmpty() ? ui.savePath : saved.path, ui.reason());
    out << saved.path << '\n' << ui.statusText() << '\n';
    return exitOk;
}

const CliCommandRegistration convertCommand({"convert-utf8",
                                             "DIC OUTDIR",
                                             "Convert to UTF-8: a dictionary in a legacy charset (SET ISO8859-2, "
                                             "KOI8-R, ...) saved into OUTDIR in UTF-8",
                                             {},
                                             2,
                                             2,
                                             runConvert});

} // namespace

} // namespace lexaloom::cli
