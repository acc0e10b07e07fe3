#include "cli/cli_command.h"
#include "cli/console_ui.h"
#include "cli/stopwatch.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

#include "core/app/workbench.h"
#include "core/thesaurus/thesaurus_files.h"
#include "core/thesaurus/thesaurus_tools.h"

namespace lexaloom::cli {

namespace {

// The Thesaurus Tools that need no window, by their command-line names. Each says
// how it ended: anything but Done is a refusal or a stop (the status or message says why).
struct ThesaurusToolRun {
    const char *name;
    bool writesText; // OUT is the extracted .txt, not a thesaurus
    std::function<ToolOutcome(ThesaurusDocument &, const MainSettings &, Ui &)> run;
};

// The tools that only say whether they did their work: a refusal when they did not.
ToolOutcome doneOrRefused(bool done)
{
    return done ? ToolOutcome::Done : ToolOutcome::Refused;
}

ToolOutcome mergeDuplicates(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui)
{
    struct NoList final : ThesaurusDuplicatesHost {
        void showEntry(qint64) override {}
    } host;
    ThesaurusDuplicatesSession session(doc, settings, ui, host);
    const ToolResult<bool> started = session.start();
    if (!started)
        return started.outcome; // none found is no failure
    switch (session.merge(ui)) {
    case ThesaurusDuplicatesSession::MergeOutcome::Merged:
        return ToolOutcome::Done;
    case ThesaurusDuplicatesSession::MergeOutcome::Aborted:
        return ToolOutcome::Aborted;
    case ThesaurusDuplicatesSession::MergeOutcome::TooManyMeanings:
        break;
    }
    return ToolOutcome::Refused;
}

const std::vector<ThesaurusToolRun> &toolRuns()
{
    static const std::vector<ThesaurusToolRun> runs{
        {"extract", true,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) { return ExtractSynonyms(d, s, ui, false).outcome; }},
        {"extract-book", true,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) { return ExtractSynonyms(d, s, ui, true).outcome; }},
        {"clean-symbols", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) {
             CleanUpOptions all;
             const CleanUpResult result =
                 CleanUpSymbols(d, s, ui, all, [](const CleanUpOptions &o) { return std::optional(o); });
             return result.outcome;
         }},
        {"merge-duplicates", false, mergeDuplicates},
        {"combine", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) { return doneOrRefused(CombineSimple(d, s, ui)); }},
        {"deduplicate", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) {
             SortOrDeduplicateMeanings(d, s, ui, false);
             return ToolOutcome::Done;
         }},
        {"sort-meanings", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) {
             SortOrDeduplicateMeanings(d, s, ui, true);
             return ToolOutcome::Done;
         }},
        {"sort-on-numbers", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) { return doneOrRefused(SortOnNumbers(d, s, ui)); }},
        {"fix-spaces", false,
         [](ThesaurusDocument &d, const MainSettings &s, Ui &ui) {
             // Nothing to fix is no failure; fixes kept from a stopped second pass are saved.
             const ToolResult<bool> fixed = FixThesaurusSpaces(d, s, ui);
             return fixed ? ToolOutcome::Done : fixed.outcome;
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
    const Stopwatch watch;
    const ToolOutcome outcome = tool->run(doc, workbench.settings, ui);
    const QString ms = watch.text();
    if (outcome != ToolOutcome::Done) {
        // A refusal is what the tool found in the thesaurus; a text file not written
        // (refused, stopped or failed) is reported against the file.
        if (tool->writesText)
            return CliFailure(err, outPath, ui.reason());
        err << "lexaloom-cli: " << datPath << ": " << ui.reason() << "\n";
        return exitProblemsFound;
    }
    out << name << ": " << ui.statusText() << "\n";
    ui.showMessages();
    out << name << " ms: " << ms << "\n";
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
