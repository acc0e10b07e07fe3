// The derivation engine from the command line: one entry's rows, a dictionary's
// form count, and every form written out as "All .txt" writes them.

#include <QElapsedTimer>
#include <QFile>

#include "cli/cli_command.h"
#include "cli/console_ui.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dic_line_reader.h"
#include "core/dictionary/dictionary_charset.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/atomic_file_device.h"
#include "core/shell/atomic_write.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/list_document.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"

namespace lexaloom::cli {

namespace {

// The .aff as the dictionary load reads it: byte-order mark skipped, bytes that are
// not UTF-8 kept, line ends made "\n".
bool readAffText(const QString &path, QString &text, QTextStream &err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CliFailure(err, path, QStringLiteral("cannot read: ") + file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    text = NormaliseLineEnds(DecodeLossless(WithoutUtf8Bom(bytes)));
    // A legacy SET is read in its charset, as File > Open reads it.
    if (const std::optional<DictionaryCharset> charset = DictionaryCharset::forAff(text))
        text = NormaliseLineEnds(charset->decode(WithoutUtf8Bom(bytes)));
    return true;
}

int runDerive(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    const QStringList &args = arguments.positional;
    QString affText;
    if (!readAffText(args[0], affText, err))
        return exitFailed;
    AffixTable table;
    BuildAffixTable(table, affText);
    EditorRowsSink sink;
    WordDeriver deriver(table);
    deriver.DeriveWord(DicLineReader::wordPart(args[1]), sink);
    for (const EditorRow &row : sink.rows()) {
        out << row.word << '\t' << derivedTypeText(row.type) << '\t' << row.flag << '\t'
            << (row.type == DerivedType::Primary ? QString() : QString::number(row.position)) << '\t' << row.rule
            << '\n';
    }
    const DerivationState &state = deriver.state();
    if (!state.missingFlags.isEmpty())
        err << "Missing flags: " << state.missingFlags << '\n';
    if (!state.missingContinuationLabel().isEmpty())
        err << "Missing continuation flags: " << state.missingContinuationLabel() << '\n';
    return exitOk;
}

// Derives every entry of the .dic into `sink`, read as File > Open reads it: the same
// checks, questions (answered Yes and shown on stderr) and line rules. False when the
// dictionary was refused or unreadable.
bool deriveDictionary(const QString &dicPath, AffixTable &table, DerivationSink &sink, qint64 &total, QTextStream &err)
{
    ConsoleUi ui(err, true, true);
    const MainSettings settings;
    QString affText;
    const DictionaryFileResult aff = ReadDictionaryAff(ui, settings, dicPath, affText);
    if (!aff.done()) {
        CliFailure(err, dicPath, ui.reason());
        return false;
    }
    BuildAffixTable(table, affText);
    DicFileReader file(dicPath, aff, DicQuestionsFor(ui, settings));
    DicLineReader &reader = file.lines();
    if (!reader.isOpen()) {
        CliFailure(err, dicPath, QStringLiteral("cannot read"));
        return false;
    }
    WordDeriver deriver(table);
    QStringView line;
    total = 0;
    while (reader.next(line)) {
        const QStringView entry = DicLineReader::wordPart(line);
        if (IsCommentEntry(entry))
            continue;
        total += deriver.DeriveWord(entry, sink);
    }
    if (reader.failed()) {
        CliFailure(err, dicPath, QStringLiteral("cannot read"));
        return false;
    }
    ui.showMessages();
    return true;
}

int runCount(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    AffixTable table;
    CountingSink sink;
    qint64 total = 0;
    if (!deriveDictionary(arguments.positional[0], table, sink, total, err))
        return exitFailed;
    out << "OK. Words Found:" << FormatCount(total, QStringLiteral(",")) << '\n';
    return exitOk;
}

int runDeriveAll(const CliArguments &arguments, QTextStream &out, QTextStream &err)
{
    const QStringList &args = arguments.positional;
    // The old output stays until the new one is complete: a full disk keeps it and the
    // line on stderr says why.
    AtomicFileWriter file(args[1]);
    if (!file.open())
        return CliFailure(err, args[1], QStringLiteral("cannot write: ") + file.errorString());
    AffixTable table;
    qint64 total = 0;
    {
        AtomicFileDevice device(file);
        Utf8Writer writer(device);
        writer.writeByteOrderMark();
        // The sink needs the table's rule width only for CSV; plain lines ignore it.
        FileLinesSink sink(writer, FileLineFormat::Plain, 0);
        if (!deriveDictionary(args[0], table, sink, total, err))
            return exitFailed;
        if (!writer.flush())
            return CliFailure(err, args[1], QStringLiteral("cannot write: ") + file.errorString());
    }
    if (!file.commit())
        return CliFailure(err, args[1], QStringLiteral("cannot write: ") + file.errorString());
    out << "OK. Words Found:" << FormatCount(total, QStringLiteral(",")) << '\n';
    return exitOk;
}

const CliCommandRegistration deriveCommand(
    {"derive", "AFF ENTRY", "the derived forms of one entry: word, type, flag, position, rule", {}, 2, 2, runDerive});
const CliCommandRegistration
    countCommand({"count", "DIC", "the number of forms of a dictionary (.aff beside it)", {}, 1, 1, runCount});
const CliCommandRegistration deriveAllCommand({"derive-all",
                                               "DIC OUT",
                                               "every form of a dictionary written to OUT as \"All .txt\" does",
                                               {},
                                               2,
                                               2,
                                               runDeriveAll});

} // namespace

} // namespace lexaloom::cli
