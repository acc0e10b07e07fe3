#include "core/hyphenation/hyphenate.h"

#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/word_editor_model.h"
#include "core/hyphenation/hyphenation_document.h"
#include "core/hyphenation/hyphenation_patterns.h"
#include "core/shell/long_task.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

HyphenationOutcome testWord(HyphenationDocument &document, const HyphenationContext &context, const QString &word)
{
    document.results.clear();
    BuildAffixTable(context.affixTable, context.affText);
    EditorRowsSink sink(true);
    DeriveWord(context.affixTable, word, sink);
    document.results.reserve(qsizetype(sink.rows().size()));
    for (const EditorRow &row : sink.rows())
        document.results.append({row.word, row.flag, QString(), false, derivedTypeColour(context.settings, row.type)});
    document.lastTestedWord = word;
    if (!BuildPatternCache(document.patternCache, document.text, context.ui, context.settings))
        return HyphenationOutcome::Derived;
    return HyphenateResults(document.patternCache, document.results, context.ui, context.settings)
               ? HyphenationOutcome::Hyphenated
               : HyphenationOutcome::Aborted;
}

} // namespace

HyphenationOutcome Hyphenate(HyphenationDocument &document, const HyphenationContext &context, const QString &fieldText)
{
    if (fieldText.isEmpty() || fieldText.front() == u' ' || fieldText.front() == u'/') {
        context.ui.showMessage(LongTask::warningTitle(), hyphenationTexts::noWordSelected, MessageIcon::Warning);
        return HyphenationOutcome::Refused;
    }
    return testWord(document, context, fieldText);
}

HyphenationOutcome UpdateHyphenation(HyphenationDocument &document, const HyphenationContext &context)
{
    if (document.lastTestedWord.isEmpty()) {
        context.ui.showMessage(LongTask::warningTitle(), hyphenationTexts::noLastWord, MessageIcon::Warning);
        return HyphenationOutcome::Refused;
    }
    return testWord(document, context, document.lastTestedWord);
}

bool HyphenateResults(const HyphenationPatternCache &cache, QList<HyphenationRow> &rows, Ui &ui,
                      const MainSettings &settings)
{
    const qint64 patterns = cache.patternCount();
    const qint64 count = rows.size();
    const auto status = [count](qint64 row) { return hyphenationTexts::parsingStatus.arg(row).arg(count); };
    LongTask task(ui, settings);
    task.begin(status(count > 0 ? 1 : 0), count * patterns);
    HyphenationScratch scratch;
    bool tooLong = false;
    const bool completed = task.forEach(
        count, [&](qint64 i) { task.showProgress(status(i + 1), i * patterns); },
        [&](qint64 i) {
            HyphenationRow &row = rows[i];
            HyphenatedWord done = HyphenateWord(cache, row.word, scratch);
            if (done.tooLong) {
                tooLong = true;
                return;
            }
            row.word = std::move(done.word);
            row.noMatches = done.noMatches;
            row.rule = done.noMatches ? hyphenationTexts::noMatches : std::move(done.rule);
        });
    if (!completed) {
        task.cancel();
        return false;
    }
    task.finish(hyphenationTexts::okStatus);
    if (tooLong)
        ui.showMessage(LongTask::warningTitle(), hyphenationTexts::wordTooLong, MessageIcon::Warning);
    return true;
}

bool ClearHyphenation(HyphenationDocument &document, Ui &ui)
{
    if (document.changed &&
        !ui.askYesNo(LongTask::warningTitle(), hyphenationTexts::changedQuestion, MessageIcon::Information))
        return false;
    document.text = HyphenationDocument::emptyText();
    document.results.clear();
    document.changed = false;
    return true;
}

} // namespace lexaloom
