#include "core/dictionary/fix_invalid_spaces.h"

#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/long_task.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

QStringView wordPartOf(QStringView entry)
{
    const qsizetype lineEnd = entry.indexOf(u'\n');
    return lineEnd < 0 ? entry : entry.first(lineEnd);
}

bool needsFixing(QStringView word)
{
    if (word.isEmpty())
        return false;
    if (word.front() == u' ' || word.back() == u' ')
        return true;
    return word.contains(QStringLiteral("  "));
}

} // namespace

QString NormaliseWordSpaces(QStringView wordPart)
{
    // One pass gives what the repeated pair-replacing and trimming converges to.
    QString out;
    out.reserve(wordPart.size());
    for (const QChar c : wordPart) {
        if (c == u' ' && (out.isEmpty() || out.back() == u' '))
            continue;
        out.append(c);
    }
    if (!out.isEmpty() && out.back() == u' ')
        out.chop(1);
    return out;
}

FixSpacesResult FixInvalidSpaces(DictionaryDocument &doc, const MainSettings &settings, Ui &ui)
{
    using namespace fixSpacesTexts;
    FixSpacesResult result;
    ui.setStatusText(starting);
    ui.setProgressValue(0);
    if (doc.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), dictionaryTexts::noWords, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    const qint64 count = doc.entries.size();
    LongTask task(ui, settings);
    task.begin(starting, count);

    qint64 toFix = 0;
    const bool completed = task.forEach(
        count, [&](qint64 i) { task.showProgress(processing + QString::number(i) + toAbort, i); },
        [&](qint64 i) {
            const QStringView word = wordPartOf(doc.entries.view(i));
            const bool fix = needsFixing(word);
            if (word.isEmpty() || (fix && NormaliseWordSpaces(word).isEmpty())) {
                result.nullLine = i + 1;
                return false;
            }
            if (fix)
                ++toFix;
            return true;
        },
        {.pollAfterItem = true});
    if (!completed) {
        result.outcome = FixSpacesOutcome::Aborted;
        task.cancel();
        return result;
    }
    if (result.nullLine > 0) {
        result.outcome = FixSpacesOutcome::NullWord;
        task.cancel(nullWord + QString::number(result.nullLine) + nullWordEnd);
        return result;
    }
    if (toFix == 0) {
        ui.showMessage(LongTask::warningTitle(), nothingToFix, MessageIcon::Warning);
        task.finish(QStringLiteral("OK."));
        result.outcome = FixSpacesOutcome::NothingToFix;
        return result;
    }

    PushDictionaryUndo(doc);
    ui.setStatusText(fixing + QStringLiteral("0") + toAbort);
    bool aborted = false;
    // One pass over the store; after an abort the rest is offered back unchanged.
    doc.entries.rewriteAll([&](qint64 i, QStringView entry) -> std::optional<QString> {
        if (aborted)
            return std::nullopt;
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(fixing + QString::number(i) + toAbort, i);
        if (poll.abortRequested) {
            aborted = true;
            return std::nullopt;
        }
        const QStringView word = wordPartOf(entry);
        if (!needsFixing(word))
            return std::nullopt;
        ++result.fixed;
        doc.changed = true;
        return NormaliseWordSpaces(word).append(entry.sliced(word.size()));
    });
    if (aborted) {
        result.outcome = FixSpacesOutcome::Aborted;
        task.cancel();
        return result;
    }
    result.outcome = FixSpacesOutcome::Fixed;
    task.finish(fixedWords + QString::number(result.fixed));
    return result;
}

} // namespace lexaloom
