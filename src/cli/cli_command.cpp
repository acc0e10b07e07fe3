#include "cli/cli_command.h"

#include <QDir>
#include <QFileInfo>

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

QString CliArguments::option(const QString &name, const QString &fallback) const
{
    const auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}

int CliArguments::usageError(QTextStream &err) const
{
    err << usage << '\n';
    return exitFailed;
}

const std::vector<CliCommand> &cliCommands()
{
    return registry();
}

CliCommandRegistration::CliCommandRegistration(const CliCommand &command)
{
    auto &commands = registry();
    const auto at =
        std::lower_bound(commands.begin(), commands.end(), command,
                         [](const CliCommand &a, const CliCommand &b) { return std::strcmp(a.name, b.name) < 0; });
    commands.insert(at, command);
}

std::optional<CliArguments> ParseCliArguments(const CliCommand &command, const QStringList &args, QTextStream &err)
{
    CliArguments parsed;
    parsed.usage =
        QStringLiteral("usage: lexaloom-cli %1 %2").arg(QLatin1String(command.name), QLatin1String(command.synopsis));
    bool malformed = false;
    for (qsizetype i = 0; i < args.size() && !malformed; ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            parsed.positional.append(arg);
            continue;
        }
        const auto named = [&arg](const char *option) { return arg == QLatin1String(option); };
        if (std::any_of(command.flags.begin(), command.flags.end(), named)) {
            malformed = parsed.options.count(arg) != 0;
            parsed.options[arg] = QString();
            continue;
        }
        const bool known = std::any_of(command.options.begin(), command.options.end(), named);
        if (!known || i + 1 >= args.size() || parsed.options.count(arg)) {
            malformed = true;
            break;
        }
        parsed.options[arg] = args[++i];
    }
    const auto count = parsed.positional.size();
    if (malformed || count < command.minPositional || count > command.maxPositional) {
        parsed.usageError(err);
        return std::nullopt;
    }
    return parsed;
}

int CliFailure(QTextStream &err, const QString &subject, const QString &why)
{
    err << "lexaloom-cli: " << subject << ": " << why << '\n';
    return exitFailed;
}

std::optional<CopyIntoFolder> CopyIntoFolderPaths(const CliArguments &arguments, QTextStream &err)
{
    CopyIntoFolder paths;
    paths.input = QFileInfo(arguments.positional[0]).absoluteFilePath();
    paths.folder = QFileInfo(arguments.positional[1]).absoluteFilePath();
    if (!QDir().mkpath(paths.folder)) {
        CliFailure(err, paths.folder, QStringLiteral("cannot create the folder"));
        return std::nullopt;
    }
    paths.copy = QDir(paths.folder).filePath(QFileInfo(paths.input).fileName());
    return paths;
}

} // namespace lexaloom::cli
