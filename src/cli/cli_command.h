#pragma once

#include <QStringList>
#include <QTextStream>

#include <vector>

namespace lexaloom::cli {

// A subcommand of lexaloom-cli. Each command file registers its own commands
// with a static CliCommandRegistration, so adding one never touches main.cpp.
struct CliCommand {
    const char *name;
    const char *arguments; // shown in the help, e.g. "AFF ENTRY"
    const char *summary;
    // args excludes the command name. Returns the process exit status.
    int (*run)(const QStringList &args, QTextStream &out, QTextStream &err);
};

// Every registered command, sorted by name.
const std::vector<CliCommand> &cliCommands();

struct CliCommandRegistration {
    explicit CliCommandRegistration(const CliCommand &command);
};

} // namespace lexaloom::cli
