#include "roundtrip.h"

#include "cli_command.h"
#include "console_ui.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <ctime>

#include "app/workbench.h"
#include "dictionary/dictionary_files.h"
#include "shell/format.h"

namespace lexaloom::cli {


int runRoundtrip(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.size() != 2) {
        err << "Usage: lexaloom-cli roundtrip DIC OUTDIR\n";
        return 2;
    }
    const QString dicPath = QFileInfo(arguments[0]).absoluteFilePath();
    const QString outDir = QFileInfo(arguments[1]).absoluteFilePath();
    if (!QDir().mkpath(outDir)) {
        err << "lexaloom-cli: cannot create " << outDir << "\n";
        return 1;
    }
    // The recent-files log goes to a throw-away program folder.
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    // Every question is answered Yes (and shown); the save dialog returns the output path.
    ConsoleUi ui(err, true, true);
    ui.savePath = QDir(outDir).filePath(QFileInfo(dicPath).fileName());

    // CPU time next to wall time: on a busy machine the wall time says little.
    const auto cpuMs = [] { return static_cast<qint64>(std::clock()) * 1000 / CLOCKS_PER_SEC; };
    QElapsedTimer timer;
    timer.start();
    qint64 cpuStart = cpuMs();
    const DictionaryFileResult loaded = LoadDictionary(workbench.dictionary, workbench.settings, ui, dicPath);
    const qint64 loadMs = timer.elapsed();
    const qint64 loadCpuMs = cpuMs() - cpuStart;
    out << "load " << dicPath << ": " << ui.statusText() << "\n";
    if (!loaded.done())
        return 1;
    out << "entries: " << workbench.dictionary.entries.size() << "\nload ms: " << loadMs << " (cpu " << loadCpuMs
        << ")\n";

    timer.restart();
    cpuStart = cpuMs();
    const DictionaryFileResult saved = SaveDictionary(workbench.dictionary, workbench.settings, ui, false, true);
    const qint64 saveMs = timer.elapsed();
    const qint64 saveCpuMs = cpuMs() - cpuStart;
    out << "save " << saved.path << ": " << ui.statusText() << "\n";
    if (!saved.done())
        return 1;
    out << "save ms: " << saveMs << " (cpu " << saveCpuMs << ")\n";
    return 0;
}

namespace {

const CliCommandRegistration roundtripCommand({"roundtrip", "DIC OUTDIR",
                                               "load a .dic/.aff pair and save it into OUTDIR as File > Save As would",
                                               runRoundtrip});

} // namespace

} // namespace lexaloom::cli
