#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include "cli/cli_command.h"

namespace {

int printHelp(QTextStream &out)
{
    out << "Usage: lexaloom-cli COMMAND [--option VALUE] INPUT... [OUTPUT]\n\n"
           "Batch use of the Lexaloom core from scripts.\n"
           "Exit status: 0 done, 1 a check found problems, 2 an input could not be read\n"
           "or an output not written (one line on standard error says why).\n\n"
           "Commands:\n"
           "  --help    show this text\n";
    for (const auto &command : lexaloom::cli::cliCommands())
        out << "  " << command.name << ' ' << command.synopsis << "\n      " << command.summary << '\n';
    return lexaloom::cli::exitOk;
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace lexaloom::cli;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))
        return printHelp(out);
    for (const auto &command : cliCommands()) {
        if (args.first() != QLatin1String(command.name))
            continue;
        const std::optional<CliArguments> parsed = ParseCliArguments(command, args.mid(1), err);
        return parsed ? command.run(*parsed, out, err) : exitFailed;
    }
    err << "lexaloom-cli: unknown command \"" << args.first() << "\" (try --help)\n";
    return exitFailed;
}
