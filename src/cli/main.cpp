#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

#include "cli_command.h"

namespace {

int printHelp(QTextStream &out)
{
    out << "Usage: lexaloom-cli COMMAND [ARGUMENTS]\n\n"
           "Batch use of the Lexaloom core from scripts.\n\n"
           "Commands:\n"
           "  --help    show this text\n";
    for (const auto &command : lexaloom::cli::cliCommands()) {
        out << "  " << command.name << ' ' << command.arguments << "\n      " << command.summary << '\n';
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))
        return printHelp(out);
    for (const auto &command : lexaloom::cli::cliCommands()) {
        if (args.first() == QLatin1String(command.name))
            return command.run(args.mid(1), out, err);
    }
    err << "lexaloom-cli: unknown command \"" << args.first() << "\" (try --help)\n";
    return 2;
}
