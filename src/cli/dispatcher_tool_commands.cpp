// The two Dictionary Tools commands the dispatcher runs itself, from the command
// line: Sort tags .AFF on an .aff file and the wordlist duplicates of a dictionary.

#include "cli/cli_command.h"
#include "cli/console_ui.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/sort_aff_tags.h"
#include "core/dictionary_tools/wordlist_duplicates.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/text_codec.h"

namespace lexaloom::cli {

namespace {

int runSortAffTags(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    const QString affPath = args.positional[0];
    const QString outPath = args.positional[1];
    QFile file(affPath);
    if (!file.open(QIODevice::ReadOnly))
        return CliFailure(err, affPath, file.errorString());
    const QByteArray bytes = file.readAll();
    const bool bom = bytes.startsWith(utf8ByteOrderMark.data());
    MainSettings settings;
    ConsoleUi ui(err, true, false);
    const std::optional<QString> sorted = SortAffTagsText(DecodeLossless(WithoutUtf8Bom(bytes)), settings, ui);
    if (!sorted)
        return CliFailure(err, affPath, ui.reason());
    // The bytes that are not UTF-8 and the byte-order mark come back as they were.
    if (!WriteFileAtomically(outPath,
                             (bom ? QByteArray(utf8ByteOrderMark.data(), 3) : QByteArray()) + EncodeLossless(*sorted)))
        return CliFailure(err, outPath, QStringLiteral("Can't write the file."));
    out << outPath << '\n' << ui.statusText() << '\n';
    return exitOk;
}

int runWordlistDuplicates(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    const QString dicPath = QFileInfo(args.positional[0]).absoluteFilePath();
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    workbench.settings.decodeWarnLimit = 0;
    ConsoleUi ui(err, true, false);
    if (!LoadDictionary(workbench.dictionary, workbench.settings, ui, dicPath).done())
        return CliFailure(err, dicPath, ui.reason());
    const WordlistDuplicates result =
        FindWordlistDuplicates(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
    if (!result.done)
        return CliFailure(err, dicPath, ui.reason());
    const QString report = WordlistDuplicatesReport(result, workbench.settings.thousandsSeparator);
    if (args.positional.size() > 1) {
        const QString outPath = args.positional[1];
        if (!WriteFileAtomically(outPath, QByteArray(utf8ByteOrderMark.data(), 3) + report.toUtf8()))
            return CliFailure(err, outPath, QStringLiteral("Can't write the file."));
        out << outPath << '\n';
    } else {
        out << report;
    }
    out << WordlistDuplicatesFoundText(result, workbench.settings.thousandsSeparator) << '\n';
    return result.rows.empty() ? exitOk : exitProblemsFound;
}

const CliCommandRegistration sortAffTagsCommand({"sort-aff-tags",
                                                 "AFF OUTFILE",
                                                 "Sort the rule lines under each PFX/SFX header of an .aff by affix "
                                                 "and condition, as Dictionary Tools > Sort tags .AFF does",
                                                 {},
                                                 2,
                                                 2,
                                                 runSortAffTags});

const CliCommandRegistration wordlistDuplicatesCommand(
    {"wordlist-duplicates",
     "DIC [OUTFILE]",
     "List the derived words that several entries with the same tags give (the Show/Delete duplicates wordlist "
     "report); exit 1 when there are any",
     {},
     1,
     2,
     runWordlistDuplicates});

} // namespace

} // namespace lexaloom::cli
