// Dictionary Tools > "Sort flags && remove their duplicates .DIC" and the
// Show/Merge/Delete duplicates window's Scan, Process and OK, for scripts: the pair is
// loaded as File > Open loads it and written as a new pair at OUT.

#include "cli/cli_command.h"
#include "cli/console_ui.h"
#include "cli/stopwatch.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary/flag_strings.h"
#include "core/dictionary_tools/duplicates_session.h"

namespace lexaloom::cli {

namespace {

// Loads DIC into the workbench; false after the failure line.
bool loadDictionary(Workbench &workbench, ConsoleUi &ui, const QString &dicPath, QTextStream &err)
{
    if (LoadDictionary(workbench.dictionary, workbench.settings, ui, dicPath).done()) {
        ui.showMessages();
        return true;
    }
    CliFailure(err, dicPath, ui.reason());
    return false;
}

bool saveDictionary(Workbench &workbench, ConsoleUi &ui, const QString &outPath, QTextStream &err)
{
    if (WriteDictionaryFiles(ui, workbench.settings, workbench.dictionary, outPath).done())
        return true;
    CliFailure(err, outPath, ui.reason());
    return false;
}

int runSortFlags(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    const QString dicPath = QFileInfo(args.positional[0]).absoluteFilePath();
    const QString outPath = QFileInfo(args.positional[1]).absoluteFilePath();
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    ConsoleUi ui(err, true, false);
    if (!loadDictionary(workbench, ui, dicPath, err))
        return exitFailed;
    const Stopwatch watch;
    const SortFlagsResult result =
        SortDictionaryFlags(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
    const qint64 ms = watch.wallMs();
    if (result.refused || result.aborted)
        return CliFailure(err, dicPath, ui.reason());
    if (!saveDictionary(workbench, ui, outPath, err))
        return exitFailed;
    out << "rewritten: " << result.rewritten << "\nflags removed: " << result.removed << "\nms: " << ms << '\n';
    return exitOk;
}

// "--option 0|1"; false on anything else.
bool readSwitch(const CliArguments &args, const char *name, bool &value)
{
    const QString text = args.option(QString::fromLatin1(name), value ? QStringLiteral("1") : QStringLiteral("0"));
    if (text != QLatin1String("0") && text != QLatin1String("1"))
        return false;
    value = text == QLatin1String("1");
    return true;
}

int runMergeDuplicates(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    DuplicateOptions options;
    if (!readSwitch(args, "--ignore-tags", options.ignoreTags) || !readSwitch(args, "--twofold", options.twofold) ||
        !readSwitch(args, "--same-type-only", options.sameTypeOnly) ||
        !readSwitch(args, "--special-only-primary", options.specialOnlyPrimary))
        return args.usageError(err);
    const QString dicPath = QFileInfo(args.positional[0]).absoluteFilePath();
    const QString outPath = QFileInfo(args.positional[1]).absoluteFilePath();
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    ConsoleUi ui(err, true, false);
    if (!loadDictionary(workbench, ui, dicPath, err))
        return exitFailed;
    const qint64 before = workbench.dictionary.entries.size();
    const Stopwatch watch;
    if (!DuplicatesSession::prepare(workbench.dictionary, workbench.affixTable, ui))
        return CliFailure(err, dicPath, ui.reason());
    DuplicatesSession session(workbench.dictionary, workbench.affixTable, workbench.settings, options, ui, nullptr,
                              false);
    session.scan();
    const qint64 found = session.repeatedWordCount();
    const qint64 flagEntries = session.repeatedFlagEntryCount();
    if (!session.rows().empty())
        session.process();
    session.accept();
    const qint64 ms = watch.wallMs();
    if (!saveDictionary(workbench, ui, outPath, err))
        return exitFailed;
    const DuplicatesProcessCounts &counts = session.lastProcessCounts();
    out << "repeated words: " << found << "\nrepeated-flag entries: " << flagEntries
        << "\nmerged/deleted: " << counts.merged << "\nflags removed: " << counts.flagsRemoved
        << "\nentries: " << before << " -> " << workbench.dictionary.entries.size() << "\nms: " << ms << '\n';
    return exitOk;
}

const CliCommandRegistration sortFlagsCommand({"sort-flags",
                                               "DIC OUT",
                                               "sort every entry's flags and drop repeated flags, writing the pair "
                                               "as OUT (.dic) and its .aff",
                                               {},
                                               2,
                                               2,
                                               runSortFlags});

const CliCommandRegistration mergeDuplicatesCommand(
    {"merge-duplicates",
     "[--ignore-tags 0|1] [--twofold 0|1] [--same-type-only 0|1] [--special-only-primary 0|1] DIC OUT",
     "scan, merge and delete duplicate words and repeated flags as the duplicates window's Process and OK do, "
     "writing the pair as OUT (.dic) and its .aff",
     {"--ignore-tags", "--twofold", "--same-type-only", "--special-only-primary"},
     2,
     2,
     runMergeDuplicates});

} // namespace

} // namespace lexaloom::cli
