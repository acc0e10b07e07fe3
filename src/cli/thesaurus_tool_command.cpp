#include "cli/cli_command.h"
#include "cli/console_ui.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <ctime>
#include <functional>

#include "core/app/workbench.h"
#include "core/thesaurus/thesaurus_files.h"
#include "core/thesaurus/thesaurus_tools.h"

namespace lexaloom::cli {

namespace {

// The Thesaurus Tools that need no window, by their command-line names. Each returns
// false when it refused or stopped (the status or message says why).
struct ThesaurusToolRun {
    const char *name;
    bool writesText; // OUT is the extracted .txt, not a thesaurus
    std::function<bool(ThesaurusDocument &, const MainSettings &, Ui &)> run;
};

bool mergeDuplicates(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui)
{
    struct NoList final : ThesaurusDuplicatesHost {
        void showEntry(qint64) override {}
    } host;
    ThesaurusDuplicatesSession session(doc, settings, ui, host);
    if (!session.start(0))
        return ui.statusText() == QStringLiteral("OK."); // none found is no failure
    return session.merge(ui) == ThesaurusDuplicatesSession::MergeOutcome::Merged;
}

const std::vector<ThesaurusToolRun> &toolRuns()
{
    static const std::vector<ThesaurusToolRun> runs{
        {"extract", true,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) { return ExtractSynonyms(d, s, ui, false); }},
        {"extract-book", true,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) { return ExtractSynonyms(d, s, ui, true); }},
        {"clean-symbols", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) {
             CleanUpOptions all;
             const CleanUpResult result =
                 CleanUpSymbols(d, s, ui, 0, all, [](const CleanUpOptions &o) { return std::optional(o); });
             return result.nullEntry < 0 && ui.statusText() == QStringLiteral("OK.");
         }},
        {"merge-duplicates", false, mergeDuplicates},
        {"combine", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) { return CombineSimple(d, s, ui, 0); }},
        {"deduplicate", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) {
             SortOrDeduplicateMeanings(d, s, ui, 0, false);
             return true;
         }},
        {"sort-meanings", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) {
             SortOrDeduplicateMeanings(d, s, ui, 0, true);
             return true;
         }},
        {"sort-on-numbers", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) { return SortOnNumbers(d, s, ui, 0); }},
        {"fix-spaces", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) {
             return FixThesaurusSpaces(d, s, ui, 0) || ui.statusText() == QStringLiteral("OK.");
         }},
    };
    return runs;
}

QString toolNames()
{
    QStringList names;
    for (const ThesaurusToolRun &run : toolRuns())
        names.append(QString::fromLatin1(run.name));
    return names.join(QLatin1Char('|'));
}

// Entries whose text is not the one at the same place before: what a tool changed.
qint64 differingEntries(const EntryStore &before, const EntryStore &after)
{
    qint64 differing = std::abs(before.size() - after.size());
    for (qint64 i = 0; i < std::min(before.size(), after.size()); ++i)
        differing += before.view(i) != after.view(i);
    return differing;
}

int runThesaurusTool(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    const QString name = arguments.positional[0];
    const ThesaurusToolRun *tool = nullptr;
    for (const ThesaurusToolRun &run : toolRuns()) {
        if (name == QLatin1String(run.name))
            tool = &run;
    }
    if (!tool)
        return CliFailure(err, name, QStringLiteral("no such tool (") + toolNames() + QLatin1Char(')'));
    const QString datPath = QFileInfo(arguments.positional[1]).absoluteFilePath();
    const QString outPath = QFileInfo(arguments.positional[2]).absoluteFilePath();
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    ConsoleUi ui(err, true, true);
    ThesaurusDocument &doc = workbench.thesaurus;
    if (!ReadThesaurusFile(ui, workbench.settings, datPath, doc).done())
        return CliFailure(err, datPath, ui.reason());
    ui.showMessages();

    const EntryStore before = doc.entries;
    ui.savePath = outPath;
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock();
    const bool done = tool->run(doc, workbench.settings, ui);
    const qint64 ms = timer.elapsed();
    // CPU time next to wall time: on a busy machine the wall time says little.
    const qint64 cpuMs = static_cast<qint64>(std::clock() - cpuStart) * 1000 / CLOCKS_PER_SEC;
    if (!done) {
        // A refusal is what the tool found in the thesaurus; a failed write is ours.
        const bool writeFailed = tool->writesText && ui.statusText() == QStringLiteral("Aborted.");
        if (writeFailed)
            return CliFailure(err, outPath, ui.reason());
        err << "lexaloom-cli: " << datPath << ": " << ui.reason() << "\n";
        return exitProblemsFound;
    }
    out << name << ": " << ui.statusText() << "\n";
    ui.showMessages();
    out << name << " ms: " << ms << " (cpu " << cpuMs << ")\n";
    out << "entries: " << before.size() << " -> " << doc.entries.size() << "\n";
    if (tool->writesText)
        return exitOk;
    out << "entries changed in place: " << differingEntries(before, doc.entries) << "\n";
    const ThesaurusFileResult saved = WriteThesaurusFiles(ui, workbench.settings, doc, outPath);
    if (!saved.done())
        return CliFailure(err, outPath, ui.reason());
    out << "saved " << outPath << " + " << IndexPathFor(outPath) << "\n";
    return exitOk;
}

const CliCommandRegistration thesaurusToolCommand(
    {"thesaurus-tool",
     "NAME IN.dat OUT",
     "run a Thesaurus Tools batch tool on IN.dat: extract and extract-book write the text file OUT; "
     "clean-symbols (all three ticks), merge-duplicates, combine, deduplicate, sort-meanings, sort-on-numbers "
     "and fix-spaces save OUT as a .dat with its .idx; exit 1 when the tool refused the thesaurus",
     {},
     3,
     3,
     runThesaurusTool});

} // namespace

} // namespace lexaloom::cli
