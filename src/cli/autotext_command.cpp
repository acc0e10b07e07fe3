// The AutoText tab's list from the command line: the catalogue is read as File > Open
// reads it, and each entry is printed as the tab shows its row.

#include "cli/cli_command.h"
#include "cli/console_ui.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include "core/app/workbench.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/autocorrect/autotext_files.h"

namespace lexaloom::cli {

namespace {

int runAutoTextList(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    const QString path = QFileInfo(args.positional[0]).absoluteFilePath();
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    ConsoleUi ui(err, true, false);
    if (!LoadAutoTextList(workbench.autotext, workbench.settings, ui, path).done())
        return CliFailure(err, path, ui.reason());
    qsizetype number = 0;
    for (const AutoTextEntry &entry : workbench.autotext.entries)
        out << ++number << '\t' << entry.abbreviatedName << '\t' << entry.packageName << '\t' << entry.name << '\n';
    return exitOk;
}

const CliCommandRegistration autoTextListCommand({"autotext-list",
                                                  "BLOCKLIST",
                                                  "list the entries of an AutoText catalogue (BlockList.xml): "
                                                  "number, abbreviated name, package name, name",
                                                  {},
                                                  1,
                                                  1,
                                                  runAutoTextList});

} // namespace

} // namespace lexaloom::cli
