// "Crunch words with flags" for scripts: the dictionary read as File > Open reads it,
// crunched with every rule on, and written as a new .dic/.aff pair.

#include "cli/cli_command.h"
#include "cli/console_ui.h"

#include <QDir>
#include <QFileInfo>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/crunch.h"
#include "core/shell/settings.h"

namespace lexaloom::cli {

namespace {

int runCrunch(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    const QString input = args.positional[0];
    const QString output = args.positional[1];
    CrunchChoices choices;
    const QString level = args.option(QStringLiteral("--level"), QStringLiteral("2"));
    bool ok = false;
    choices.matchLevel = level.toInt(&ok);
    if (!ok || choices.matchLevel < CrunchChoices::minLevel || choices.matchLevel > CrunchChoices::maxLevel)
        return args.usageError(err);
    MainSettings settings;
    ConsoleUi ui(err, true, false);
    DictionaryDocument dictionary;
    if (!ReadDictionaryFiles(ui, settings, input, dictionary).done())
        return CliFailure(err, input, ui.reason());
    AffixTable table;
    CrunchSession session(dictionary, table, settings, choices);
    if (session.process(ui, 0) == CrunchOutcome::Refused)
        return CliFailure(err, input, ui.reason());
    if (!WriteDictionaryFiles(ui, settings, dictionary, output).done())
        return CliFailure(err, output, ui.reason());
    out << "Entries: " << dictionary.wordCount() << "\nCrunched: " << session.foundCount() << '\n';
    return exitOk;
}

const CliCommandRegistration crunchCommand({"crunch",
                                            "[--level 1|2|3] DIC OUTDIC",
                                            "rewrite bare entries that are a suffix form of another entry as that "
                                            "entry's word plus the flag (all seventeen rules), written to OUTDIC "
                                            "and its .aff",
                                            {"--level"},
                                            2,
                                            2,
                                            runCrunch});

} // namespace

} // namespace lexaloom::cli
