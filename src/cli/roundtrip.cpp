#include "roundtrip.h"

#include "cli_command.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <ctime>

#include "dictionary/dictionary_files.h"
#include "shell/format.h"
#include "shell/ui.h"
#include "shell/workbench.h"

namespace lexaloom::cli {

namespace {

// Messages go to stderr; every question is answered Yes (the answer is shown), and
// the save dialog returns the chosen output path.
class RoundtripUi final : public Ui {
public:
    explicit RoundtripUi(QTextStream &err)
        : m_err(err)
    {
    }

    QString savePath;

    void showMessage(const QString &title, const QString &text, MessageIcon) override
    {
        m_err << title << ": " << text << "\n";
        m_err.flush();
    }
    bool askYesNo(const QString &title, const QString &text, MessageIcon) override
    {
        m_err << title << ": " << text << " -> Yes\n";
        m_err.flush();
        return true;
    }
    QString askOpenPath(const QString &, const QString &, const QString &) override { return {}; }
    QString askSavePath(const QString &, const QString &, const QString &) override { return savePath; }
    void setStatusText(const QString &text) override { m_status = text; }
    QString statusText() const override { return m_status; }
    void setProgressRange(qint64, qint64) override {}
    void setProgressValue(qint64) override {}
    void setClipboardText(const QString &) override {}
    QString clipboardText() const override { return {}; }
    void openUrl(const QString &) override {}
    void processEvents() override {}
    bool takeAbortRequest() override { return false; }
    void pause(int) override {}
    const Clock &clock() const override { return m_clock; }

private:
    QTextStream &m_err;
    QString m_status;
    SystemClock m_clock;
};

} // namespace

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
    RoundtripUi ui(err);
    ui.savePath = QDir(outDir).filePath(QFileInfo(dicPath).fileName());

    // CPU time next to wall time: on a busy machine the wall time says little.
    const auto cpuMs = [] { return static_cast<qint64>(std::clock()) * 1000 / CLOCKS_PER_SEC; };
    QElapsedTimer timer;
    timer.start();
    qint64 cpuStart = cpuMs();
    const DictionaryFileResult loaded = LoadDictionary(workbench, ui, dicPath);
    const qint64 loadMs = timer.elapsed();
    const qint64 loadCpuMs = cpuMs() - cpuStart;
    out << "load " << dicPath << ": " << ui.statusText() << "\n";
    if (!loaded.done())
        return 1;
    out << "entries: " << workbench.dictionary.entries.size() << "\nload ms: " << loadMs << " (cpu " << loadCpuMs
        << ")\n";

    timer.restart();
    cpuStart = cpuMs();
    const DictionaryFileResult saved = SaveDictionary(workbench, ui, false, true);
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
