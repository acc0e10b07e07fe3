#include "cli/cli_command.h"
#include "cli/console_ui.h"
#include "cli/roundtrip.h"

#include <QFile>

#include "core/dictionary/affix_table.h"
#include "core/hyphenation/hyphenate.h"
#include "core/hyphenation/hyphenation_document.h"
#include "core/hyphenation/hyphenation_files.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"

namespace lexaloom::cli {

int runHyphenationRoundtrip(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    const std::optional<CopyIntoFolder> paths = CopyIntoFolderPaths(arguments, err);
    if (!paths)
        return exitFailed;
    const QString &inPath = paths->input;
    MainSettings settings;
    ConsoleUi ui(err, true, true);
    ui.savePath = paths->copy;
    HyphenationDocument document;
    if (!LoadHyphenation(document, settings, ui, inPath).done())
        return CliFailure(err, inPath, ui.reason());
    ui.showMessages();
    out << "load " << inPath << ": " << ui.statusText() << "\n";
    const HyphenationFileResult saved = SaveHyphenation(document, settings, ui, false, true);
    if (!saved.done())
        return CliFailure(err, saved.path.isEmpty() ? ui.savePath : saved.path, ui.reason());
    ui.showMessages();
    out << "save " << saved.path << ": " << ui.statusText() << "\n";
    return exitOk;
}

namespace {

// "hyphenate PATTERNS AFF ENTRY": the forms of ENTRY hyphenated as the Hyphenation
// tab's "Hyphenate" does, one "Word<TAB>Code<TAB>Rule" row each.
int runHyphenate(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    const QString patternsPath = arguments.positional[0];
    const QString affPath = arguments.positional[1];
    MainSettings settings;
    // Patterns that are not UTF-8 are read as they are, as after a Yes in the window.
    ConsoleUi ui(err, true, false);
    HyphenationDocument document;
    if (!ReadHyphenationFile(ui, settings, patternsPath, document.text).done())
        return CliFailure(err, patternsPath, ui.reason());
    QFile aff(affPath);
    if (!aff.open(QIODevice::ReadOnly))
        return CliFailure(err, affPath, QStringLiteral("cannot read: ") + aff.errorString());
    const QString affText = DecodeLossless(WithoutUtf8Bom(aff.readAll()));
    AffixTable table;
    const HyphenationContext context{table, affText, settings, ui};
    const HyphenationOutcome outcome = Hyphenate(document, context, arguments.positional[2]);
    if (outcome == HyphenationOutcome::Refused)
        return CliFailure(err, arguments.positional[2], ui.reason());
    if (outcome == HyphenationOutcome::Derived)
        return CliFailure(err, patternsPath, ui.reason());
    out << "Word\tCode\tRule\n";
    for (const HyphenationRow &row : document.results)
        out << row.word << '\t' << row.code << '\t' << row.rule << '\n';
    return exitOk;
}

const CliCommandRegistration hyphenateCommand({"hyphenate",
                                               "PATTERNS AFF ENTRY",
                                               "hyphenate every form of a dictionary entry (word/flags) with a "
                                               "hyphenation pattern file, as the Hyphenation tab's Hyphenate does",
                                               {},
                                               3,
                                               3,
                                               runHyphenate});

} // namespace

} // namespace lexaloom::cli
