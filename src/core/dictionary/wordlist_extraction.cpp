#include "core/dictionary/wordlist_extraction.h"

#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"
#include "core/shell/atomic_file_device.h"
#include "core/shell/atomic_write.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/list_document.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

#include <QDir>

#include <memory>

namespace lexaloom {

namespace {

QStringView partBeforeNewline(QStringView entry)
{
    const qsizetype newline = entry.indexOf(u'\n');
    return newline < 0 ? entry : entry.first(newline);
}

void refuse(Ui &ui, const QString &message)
{
    ui.showMessage(LongTask::warningTitle(), message, MessageIcon::Warning);
    ui.setStatusText(LongTask::abortedText());
}

// Opens the output through the atomic writer: the old file stays as it is until the
// new one is complete. Shows the reason when it cannot.
bool openOutput(Ui &ui, AtomicFileWriter &file)
{
    if (!file.open()) {
        ui.showMessage(fileTexts::errorTitle,
                       fileTexts::cannotWrite.arg(QDir::toNativeSeparators(file.path()), file.errorString()),
                       MessageIcon::Error);
        return false;
    }
    return true;
}

// Ends the output: a complete one replaces the file; an aborted one only when the user
// keeps the lines written so far (otherwise the old file stays). False, after telling
// the user, when the disk refused data: the old file stays then too.
bool finishOutput(Ui &ui, AtomicFileWriter &file, Utf8Writer &writer, bool aborted)
{
    if (writer.flush() && !file.failed()) {
        if (aborted &&
            !ui.askYesNo(LongTask::warningTitle(),
                         wordlistTexts::keepPartialQuestion.arg(QDir::toNativeSeparators(file.path())),
                         MessageIcon::Warning)) {
            file.discard();
            return false;
        }
        if (file.commit())
            return true;
    }
    ui.showMessage(fileTexts::errorTitle,
                   fileTexts::cannotWrite.arg(QDir::toNativeSeparators(file.path()), file.errorString()),
                   MessageIcon::Error);
    file.discard();
    return false;
}

// The opening of both commands: the starting status, then the refusal of an empty
// dictionary. False when there is nothing to do.
bool startRun(Ui &ui, const EntryStore &entries, const QString &startText)
{
    ui.setStatusText(startText);
    ui.setProgressValue(0);
    if (entries.isEmpty()) {
        refuse(ui, wordlistTexts::noWords);
        return false;
    }
    return true;
}

} // namespace

WordlistResult ExtractWordlist(const DictionaryDocument &dictionary, AffixTable &affixTable,
                               const MainSettings &settings, Ui &ui, WordlistKind kind)
{
    using namespace wordlistTexts;
    WordlistResult result;
    const EntryStore &entries = dictionary.entries;
    if (!startRun(ui, entries, extractStarting))
        return result;

    LongTask task(ui, settings);
    BuildAffixTable(affixTable, dictionary.affText, &task);
    const AffixTable &table = affixTable;
    if (table.complexPrefixes) {
        task.cancel();
        refuse(ui, complexPrefixes);
        return result;
    }
    task.cancel(extractStarting);

    const bool csv = kind == WordlistKind::AllCsv;
    const bool compounds = kind == WordlistKind::CompoundsTxt || kind == WordlistKind::CompoundsLanguageTool;
    const QString path = AskSavePath(ui, compounds ? extractCompoundsTitle : extractTitle, csv ? csvFilter : txtFilter,
                                     csv ? QStringLiteral(".csv") : QStringLiteral(".txt"));
    if (path.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }

    // Through a temporary like every save: a full disk or a kill never costs the old
    // file; the lines written before an abort replace it only when the user keeps them.
    AtomicFileWriter file(path);
    if (!openOutput(ui, file)) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    result.path = path;
    AtomicFileDevice device(file);
    Utf8Writer writer(device);
    writer.writeByteOrderMark();
    if (csv)
        writer.write(FileLinesSink::csvHeading());

    const FileLineFormat format = csv                              ? FileLineFormat::Csv
                                  : compounds                      ? FileLineFormat::Compounds
                                  : kind == WordlistKind::Accepted ? FileLineFormat::Accepted
                                                                   : FileLineFormat::Plain;
    FileLinesSink sink(writer, format, table.maxRuleCount,
                       kind == WordlistKind::CompoundsLanguageTool ? QStringLiteral("*") : QString());
    const QSet<QString> forbidden = kind == WordlistKind::Accepted ? ForbiddenWords(entries, table) : QSet<QString>();
    sink.setForbiddenWords(&forbidden);
    WordDeriver deriver(table);

    const qint64 n = entries.size();
    const qint64 limit = settings.decodeWarnLimit;
    bool volumeAsked = false;
    task.begin(extractStarting, n);
    const auto runningText = [&] {
        return extractRunning + task.formatCount(result.total) + QLatin1Char(' ') +
               FormatFileSize(QString(), writer.size(), true) + task.elapsedText();
    };
    const auto stop = [&] {
        task.cancel();
        finishOutput(ui, file, writer, true);
        return result;
    };
    for (qint64 i = 0; i < n; ++i) {
        const LongTask::PollResult poll = task.poll();
        if (poll.abortRequested)
            return stop();
        if (poll.ticked)
            task.showProgress(runningText(), i);
        if (limit != 0 && !volumeAsked && result.total >= limit) {
            volumeAsked = true;
            ui.setStatusText(extractRunning + task.formatCount(result.total));
            if (task.checkDecodeVolume(result.total, DecodeVolumeText::Disk))
                return stop();
        }
        const QStringView part = partBeforeNewline(entries.view(i));
        if (IsCommentEntry(part))
            continue;
        result.total += deriver.DeriveWord(part, sink);
        if (!writer.ok()) {
            // A full disk: stop at once instead of expanding into nowhere.
            task.cancel();
            finishOutput(ui, file, writer, false);
            return result;
        }
    }
    const qint64 bytes = writer.size();
    if (!finishOutput(ui, file, writer, false)) {
        task.cancel();
        return result;
    }
    result.done = true;
    task.finish(wordsFound + task.formatCount(result.total) + QLatin1Char(' ') +
                FormatFileSize(QString(), bytes, true) + task.elapsedText());
    return result;
}

WordlistResult CountWordlist(const DictionaryDocument &dictionary, AffixTable &affixTable, const MainSettings &settings,
                             Ui &ui)
{
    using namespace wordlistTexts;
    WordlistResult result;
    const EntryStore &entries = dictionary.entries;
    if (!startRun(ui, entries, countStarting))
        return result;

    LongTask task(ui, settings);
    BuildAffixTable(affixTable, dictionary.affText, &task);
    CountingSink sink;
    WordDeriver deriver(affixTable);
    const qint64 n = entries.size();
    task.begin(countStarting, n);
    const bool completed = task.forEach(
        n,
        [&](qint64 i) {
            task.showProgress(countRunning + task.formatCount(result.total) + task.elapsedText() + FormatPercent(i, n),
                              i);
        },
        [&](qint64 i) {
            const QStringView part = partBeforeNewline(entries.view(i));
            if (!IsCommentEntry(part))
                result.total += deriver.DeriveWord(part, sink);
        },
        {.abortBeforeTick = true});
    if (!completed) {
        task.cancel();
        return result;
    }
    result.done = true;
    task.finish(wordsFound + task.formatCount(result.total) + task.elapsedText());
    return result;
}

WordlistResult ExtractWordlistByType(const DictionaryDocument &dictionary, AffixTable &affixTable,
                                     const MainSettings &settings, Ui &ui, int selectedRow, qint64 rowCount, bool mark,
                                     const std::function<bool(qint64, QStringView)> &entryHasType,
                                     const TypeExtractionControls &controls)
{
    using namespace wordlistTexts;
    WordlistResult result;
    if (selectedRow < 0 || selectedRow > 7) {
        ui.showMessage(LongTask::warningTitle(), noTypeSelected, MessageIcon::Warning);
        return result;
    }
    if (rowCount <= 0) {
        ui.showMessage(LongTask::warningTitle(), noWordsOfType, MessageIcon::Warning);
        return result;
    }
    // Only the volume question and the Escape handling of a LongTask: the progress goes
    // to the window's own controls and the main status bar is left alone.
    LongTask task(ui, settings);
    if (task.checkDecodeVolume(rowCount, DecodeVolumeText::Disk))
        return result;

    const QString path = AskSavePath(ui, extractTitle, txtFilter, QStringLiteral(".txt"));
    if (path.isEmpty())
        return result;
    AtomicFileWriter file(path);
    if (!openOutput(ui, file))
        return result;
    result.path = path;

    BuildAffixTable(affixTable, dictionary.affText);
    AtomicFileDevice device(file);
    Utf8Writer writer(device);
    writer.writeByteOrderMark();
    TypeFilterSink sink(selectedRow, mark, [&writer, &result](QStringView line) {
        writer.write(line);
        writer.write('\n');
        ++result.total;
    });
    WordDeriver deriver(affixTable);

    const EntryStore &entries = dictionary.entries;
    const qint64 n = entries.size();
    const auto call = [](const auto &f, const auto &value) {
        if (f)
            f(value);
    };
    call(controls.setProgressRange, n);
    call(controls.setProgressValue, qint64(0));
    call(controls.setAbortLabel, escToAbort);
    const qint64 startMs = ui.clock().monotonicMs();
    qint64 nextTickMs = startMs + LongTask::tickMs;
    const auto elapsed = [&] { return FormatElapsed(QString(), ui.clock().monotonicMs() - startMs); };
    bool aborted = false;
    for (qint64 i = 0; i < n; ++i) {
        const LongTask::PollResult poll = task.poll();
        if (poll.abortRequested) {
            aborted = true;
            break;
        }
        const qint64 now = ui.clock().monotonicMs();
        if (now >= nextTickMs) {
            nextTickMs = now + LongTask::tickMs;
            call(controls.setElapsedText, elapsed());
            call(controls.setProgressValue, i);
        }
        const QStringView part = partBeforeNewline(entries.view(i));
        if (IsCommentEntry(part) || (entryHasType && !entryHasType(i, part)))
            continue;
        deriver.DeriveWord(part, sink);
        if (!writer.ok())
            break;
    }
    const bool written = finishOutput(ui, file, writer, aborted);
    result.done = written && !aborted;
    call(controls.setElapsedText, elapsed());
    call(controls.setProgressValue, qint64(0));
    call(controls.setAbortLabel, QString());
    return result;
}

} // namespace lexaloom
