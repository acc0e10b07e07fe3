#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

#include "roundtrip.h"

namespace {

int printHelp(QTextStream &out)
{
    out << "Usage: lexaloom-cli COMMAND [ARGUMENTS]\n\n"
           "Batch use of the Lexaloom core from scripts.\n\n"
           "Commands:\n"
           "  --help    show this text\n"
           "  roundtrip DIC OUTDIR    load a .dic/.aff pair and save it into OUTDIR\n";
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))
        return printHelp(out);
    if (args.first() == QLatin1String("roundtrip")) {
        QTextStream err(stderr);
        return lexaloom::cli::runRoundtrip(args.mid(1), out, err);
    }
    QTextStream(stderr) << "lexaloom-cli: unknown command \"" << args.first() << "\" (try --help)\n";
    return 2;
}
