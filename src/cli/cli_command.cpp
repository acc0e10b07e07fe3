#include "cli_command.h"

#include <algorithm>
#include <cstring>

namespace lexaloom::cli {

namespace {

// Function-local so that registrations from other files' static initialisers
// never meet an unconstructed list.
std::vector<CliCommand> &registry()
{
    static std::vector<CliCommand> commands;
    return commands;
}

} // namespace

const std::vector<CliCommand> &cliCommands()
{
    return registry();
}

CliCommandRegistration::CliCommandRegistration(const CliCommand &command)
{
    auto &commands = registry();
    const auto at = std::lower_bound(commands.begin(), commands.end(), command,
                                     [](const CliCommand &a, const CliCommand &b) {
                                         return std::strcmp(a.name, b.name) < 0;
                                     });
    commands.insert(at, command);
}

} // namespace lexaloom::cli
