// The LanguageTool Tools menu from the command line: the rules outline's structure
// export and the POS extraction, each run by the menu command's own code.

#include "cli/cli_command.h"
#include "cli/console_ui.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/pos_extraction.h"
#include "core/languagetool/grammar_rule_set.h"

namespace lexaloom::cli {

namespace {

int runGrammarOutline(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    const bool withLineNumbers = args.options.count(QStringLiteral("--line-numbers")) != 0;
    const QString xmlPath = QFileInfo(args.positional[0]).absoluteFilePath();
    const QString outPath = QFileInfo(args.positional[1]).absoluteFilePath();
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    // The caller chose the output: an existing file is replaced.
    ConsoleUi ui(err, true, false);
    if (!LoadGrammarRules(workbench.grammar, workbench.settings, ui, xmlPath).done())
        return CliFailure(err, xmlPath, ui.reason());
    ui.savePath = outPath;
    const GrammarExportResult result = ExportRulesStructure(workbench.grammar, workbench.settings, ui, withLineNumbers);
    if (!result.done())
        return CliFailure(err, result.path.isEmpty() ? outPath : result.path, ui.reason());
    const GrammarRuleSet &set = workbench.grammar;
    out << result.path << '\n'
        << "chunks: " << set.chunks.size() << ", categories: " << set.categoryChunks.size()
        << ", rules: " << set.ruleTotal << '\n';
    return exitOk;
}

int runExtractPos(const CliArguments &args, QTextStream &out, QTextStream &err)
{
    const QString formName = args.option(QStringLiteral("--form"));
    if (formName != QLatin1String("added") && formName != QLatin1String("spelling"))
        return args.usageError(err);
    const PosForm form = formName == QLatin1String("added") ? PosForm::Added : PosForm::Spelling;
    const QString dicPath = QFileInfo(args.positional[0]).absoluteFilePath();
    const QString outPath = QFileInfo(args.positional[1]).absoluteFilePath();
    QTemporaryDir programFolder;
    Workbench workbench(programFolder.path());
    PosSettings &pos = workbench.windowSettings.pos;
    const QString language = args.option(QStringLiteral("--language"));
    pos.selectedLanguage = qint32(pos.languages.indexOf(language));
    if (pos.selectedLanguage < 0) {
        return CliFailure(err, language,
                          QStringLiteral("not a POS language (") + pos.languages.join(QStringLiteral(", ")) + ')');
    }
    // Questions while loading (a space before the tags) are answered No: tags follow a tab.
    ConsoleUi loadUi(err, false, true);
    if (!LoadDictionary(workbench.dictionary, workbench.settings, loadUi, dicPath).done())
        return CliFailure(err, dicPath, loadUi.reason());
    ConsoleUi ui(err, true, false);
    ui.savePath = outPath;
    const PosExtractionResult result = ExtractDictionaryPos(workbench.dictionary, pos, workbench.settings, ui, form);
    if (!result.done)
        return CliFailure(err, result.path.isEmpty() ? outPath : result.path, ui.reason());
    out << result.path << '\n' << ui.statusText() << '\n';
    return exitOk;
}

const CliCommandRegistration grammarOutlineCommand({"grammar-outline",
                                                    "[--line-numbers] GRAMMAR.XML OUTFILE",
                                                    "Write the rules outline as LanguageTool Tools > Rules "
                                                    "Structure .txt writes it (\".txt\" appended when missing)",
                                                    {},
                                                    2,
                                                    2,
                                                    runGrammarOutline,
                                                    {"--line-numbers"}});

const CliCommandRegistration extractPosCommand({"extract-pos",
                                                "--form added|spelling --language NAME DIC OUTFILE",
                                                "Extract the POS list of the dictionary's tagged entries with the "
                                                "built-in POS rules of NAME (Other, Portuguese, English)",
                                                {"--form", "--language"},
                                                2,
                                                2,
                                                runExtractPos});

} // namespace

} // namespace lexaloom::cli
