#include "cli/cli_command.h"
#include "cli/console_ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <array>
#include <utility>

#include "core/app/workbench.h"
#include "core/autocorrect/autocorrect_files.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/bulk_import.h"
#include "core/shell/text_codec.h"
#include "core/thesaurus/thesaurus_files.h"

namespace lexaloom::cli {

namespace {

const std::array<std::pair<const char *, BulkImportMode>, 6> modeNames{{
    {"dictionary", BulkImportMode::Dictionary},
    {"thesaurus", BulkImportMode::Thesaurus},
    {"autocorrect", BulkImportMode::Autocorrect},
    {"sort", BulkImportMode::SortWordlist},
    {"delete-duplicates", BulkImportMode::DeleteDuplicates},
    {"xml-tags", BulkImportMode::ConvertXmlTags},
}};

// Loads --into as File > Open would; true when it did.
bool loadDocument(Workbench &workbench, ConsoleUi &ui, BulkImportMode mode, const QString &path)
{
    switch (mode) {
    case BulkImportMode::Dictionary:
        return LoadDictionary(workbench.dictionary, workbench.settings, ui, path).done();
    case BulkImportMode::Thesaurus:
        return LoadThesaurus(workbench.thesaurus, workbench.settings, ui, path).done();
    default:
        return LoadAutocorrectList(workbench.autocorrect, workbench.settings, ui, path).done();
    }
}

// Saves as Save As would, to ui.savePath; the path written, or nothing on failure.
QString saveDocument(Workbench &workbench, ConsoleUi &ui, BulkImportMode mode)
{
    switch (mode) {
    case BulkImportMode::Dictionary: {
        const DictionaryFileResult saved = SaveDictionary(workbench.dictionary, workbench.settings, ui, false, true);
        return saved.done() ? saved.path : QString();
    }
    case BulkImportMode::Thesaurus: {
        const ThesaurusFileResult saved = SaveThesaurus(workbench.thesaurus, workbench.settings, ui, false, true);
        return saved.done() ? saved.path : QString();
    }
    default: {
        const AutocorrectFileResult saved =
            SaveAutocorrectList(workbench.autocorrect, workbench.settings, ui, false, true);
        return saved.done() ? saved.path : QString();
    }
    }
}

int runBulkImport(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    const QString modeName = arguments.option(QStringLiteral("--mode"));
    const auto found = std::find_if(modeNames.begin(), modeNames.end(),
                                    [&modeName](const auto &m) { return modeName == QLatin1String(m.first); });
    if (found == modeNames.end())
        return arguments.usageError(err);
    const BulkImportMode mode = found->second;
    const bool wordlist = BulkImportSession::isWordlistMode(mode);
    const QString into = arguments.option(QStringLiteral("--into"));
    if (wordlist != into.isEmpty())
        return arguments.usageError(err);

    const QString textPath = arguments.positional[0];
    QFile textFile(textPath);
    if (!textFile.open(QIODevice::ReadOnly))
        return CliFailure(err, textPath, textFile.errorString());
    const QString text = DecodeLossless(WithoutUtf8Bom(textFile.readAll()));

    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    ConsoleUi ui(err, true, false);
    const QString output = QFileInfo(arguments.positional[1]).absoluteFilePath();
    if (!wordlist) {
        if (!loadDocument(workbench, ui, mode, into))
            return CliFailure(err, into, ui.reason());
        if (!QDir().mkpath(output))
            return CliFailure(err, output, QStringLiteral("cannot create the folder"));
        ui.savePath = QDir(output).filePath(QFileInfo(into).fileName());
    } else {
        ui.savePath = output;
    }
    ListDocument *document = workbench.listDocument(mode == BulkImportMode::Dictionary  ? DocumentKind::Dictionary
                                                    : mode == BulkImportMode::Thesaurus ? DocumentKind::Thesaurus
                                                                                        : DocumentKind::Autocorrect);
    const qint64 before = document->entries.size();

    BulkImportSession session(mode, {&workbench.dictionary, &workbench.thesaurus, &workbench.autocorrect},
                              workbench.settings, ui);
    session.input = text;
    if (session.process() != BulkImportOutcome::Done)
        return CliFailure(err, textPath, ui.reason());
    out << modeName << ": " << ui.statusText() << " " << session.foundText() << "\n";
    if (wordlist) {
        if (!session.saveAs())
            return CliFailure(err, output, ui.reason());
        out << "written: " << ui.savePath << "\n";
        return exitOk;
    }
    out << "entries: " << before << " + " << (document->entries.size() - before) << "\n";
    const QString saved = saveDocument(workbench, ui, mode);
    if (saved.isEmpty())
        return CliFailure(err, ui.savePath, ui.reason());
    out << "saved: " << saved << "\n";
    return exitOk;
}

const CliCommandRegistration bulkImportCommand(
    {"bulk-import",
     "--mode dictionary|thesaurus|autocorrect|sort|delete-duplicates|xml-tags [--into FILE] TEXT OUTPUT",
     "the Bulk Import window's Process on the lines of TEXT: the word-list modes write OUTPUT as Save as does; "
     "the import modes add them to --into (a .dic, .dat or DocumentList.xml) and save it into the folder OUTPUT",
     {"--mode", "--into"},
     2,
     2,
     runBulkImport});

} // namespace

} // namespace lexaloom::cli
