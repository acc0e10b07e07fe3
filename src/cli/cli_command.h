#pragma once

#include <QStringList>
#include <QTextStream>

#include <map>
#include <optional>
#include <vector>

namespace lexaloom::cli {

// Every command ends with one of these: 0 done, 1 a check found problems, 2 the
// input could not be read or the output not written (or the call was malformed).
enum ExitStatus : int { exitOk = 0, exitProblemsFound = 1, exitFailed = 2 };

// One call's arguments in the shape every command shares:
// COMMAND [--option VALUE]... INPUT... [OUTPUT]
struct CliArguments {
    std::map<QString, QString> options; // "--kind" -> "csv"
    QStringList positional;             // the inputs, then the output
    QString usage;                      // "usage: lexaloom-cli NAME SYNOPSIS"

    QString option(const QString &name, const QString &fallback = QString()) const;
    // Writes the usage line and returns exitFailed.
    int usageError(QTextStream &err) const;
};

// A subcommand of lexaloom-cli. Each command file registers its own commands
// with a static CliCommandRegistration, so adding one never touches main.cpp.
struct CliCommand {
    const char *name;
    const char *synopsis; // shown in the help and the usage line, e.g. "[--kind KIND] DIC OUTDIR"
    const char *summary;
    std::vector<const char *> options; // the "--option VALUE" pairs it accepts
    int minPositional;
    int maxPositional;
    // Returns the process exit status.
    int (*run)(const CliArguments &args, QTextStream &out, QTextStream &err);
    // The "--flag" switches it accepts, which take no value; a given one is in
    // CliArguments::options with an empty value.
    std::vector<const char *> flags = {};
};

// Every registered command, sorted by name.
const std::vector<CliCommand> &cliCommands();

struct CliCommandRegistration {
    explicit CliCommandRegistration(const CliCommand &command);
};

// Splits `args` (the command name left out) by the command's options; on an unknown
// option, an option without its value or a wrong number of the others, writes the
// usage line and returns nothing.
std::optional<CliArguments> ParseCliArguments(const CliCommand &command, const QStringList &args, QTextStream &err);

// The one line on standard error that says why a command failed:
// "lexaloom-cli: " + subject + ": " + why. Returns exitFailed.
int CliFailure(QTextStream &err, const QString &subject, const QString &why);

// The paths of an "INPUT OUTDIR" command that saves its document again under the
// same name in OUTDIR: all absolute, OUTDIR created. Nothing (after the failure
// line) when OUTDIR can't be created.
struct CopyIntoFolder {
    QString input;
    QString folder;
    QString copy; // OUTDIR/<INPUT's file name>
};
std::optional<CopyIntoFolder> CopyIntoFolderPaths(const CliArguments &arguments, QTextStream &err);

} // namespace lexaloom::cli
