#include "core/dictionary/dictionary_bulk.h"

#include <algorithm>
#include <vector>

#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/long_task.h"
#include "core/shell/text_folding.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

// The clock read of a poll costs more than folding or placing one entry, so the
// 5,000,000-entry loops look at the events every few hundred entries.
constexpr qint64 pollEvery = 256;

const QString &okStatus()
{
    static const QString text = QStringLiteral("OK.");
    return text;
}

} // namespace

bool EraseDictionary(DictionaryDocument &doc, Ui &ui)
{
    using namespace dictionaryBulkTexts;
    if (doc.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), dictionaryTexts::noWords, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return false;
    }
    if (doc.changed &&
        !ui.askYesNo(LongTask::warningTitle(), dictionaryTexts::changedQuestion, MessageIcon::Information))
        return false;
    if (!ui.askYesNo(LongTask::warningTitle(), eraseQuestion, MessageIcon::Warning))
        return false;
    TakeEraseSnapshot(doc);
    ui.setStatusText(erasingStatus);
    ui.setProgressValue(0);
    doc.entries.clear();
    doc.path.clear();
    doc.selectedIndex = -1;
    doc.changed = false;
    ui.setStatusText(okStatus());
    ui.setProgressValue(0);
    return true;
}

bool SortDictionary(DictionaryDocument &doc, const MainSettings &settings, Ui &ui)
{
    using namespace dictionaryBulkTexts;
    ui.setStatusText(sortingStatus);
    if (doc.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), dictionaryTexts::noWords, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return false;
    }
    PushDictionaryUndo(doc);
    const qint64 count = doc.entries.size();
    doc.selectedIndex = -1;
    doc.changed = true;
    LongTask task(ui, settings);
    task.begin(sortingStatus, 3 * count);

    // The keys are as long as their entries, so they share one buffer with a span
    // per entry instead of millions of small strings.
    std::vector<qsizetype> keyStart(static_cast<size_t>(count) + 1, 0);
    for (qint64 i = 0; i < count; ++i)
        keyStart[static_cast<size_t>(i) + 1] = keyStart[static_cast<size_t>(i)] + doc.entries.view(i).size();
    QString keys(keyStart.back(), Qt::Uninitialized);
    char16_t *keyText = reinterpret_cast<char16_t *>(keys.data());
    // Sorted by the first eight units of the key packed into two numbers, the whole
    // key only where those are equal: most comparisons never leave the array.
    struct Keyed {
        quint64 high;
        quint64 low;
        quint32 index;
    };
    std::vector<Keyed> order(static_cast<size_t>(count));
    for (qint64 i = 0; i < count; ++i) {
        const QStringView entry = doc.entries.view(i);
        char16_t *key = keyText + keyStart[static_cast<size_t>(i)];
        FoldAccentsInto(entry, key);
        const auto unit = [&](qsizetype k) -> quint64 { return k < entry.size() ? key[k] : 0; };
        order[static_cast<size_t>(i)] = {unit(0) << 48 | unit(1) << 32 | unit(2) << 16 | unit(3),
                                         unit(4) << 48 | unit(5) << 32 | unit(6) << 16 | unit(7),
                                         static_cast<quint32>(i)};
        if (i % pollEvery != 0)
            continue;
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(foldingStatus + task.formatCount(i) + task.elapsedText(), i);
        if (poll.abortRequested) {
            task.cancel();
            return false;
        }
    }
    const QString sortText = sortStepStatus + task.formatCount(count);
    task.showProgress(sortText + task.elapsedText(), 2 * count);
    const auto keyOf = [&](quint32 i) { return QStringView(keys).mid(keyStart[i], keyStart[i + 1] - keyStart[i]); };
    // Equal keys keep their order (the index decides), so sorting twice changes nothing.
    std::sort(order.begin(), order.end(), [&](const Keyed &a, const Keyed &b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        const int c = keyOf(a.index).compare(keyOf(b.index));
        return c != 0 ? c < 0 : a.index < b.index;
    });
    task.showProgress(sortText + task.elapsedText(), 2 * count);
    const bool escapedWhileSorting = task.poll().abortRequested;
    if (escapedWhileSorting) {
        task.cancel();
        return false;
    }
    keys = QString();

    // Only the spans move: the text stays where it is, which spares a copy of every
    // entry read in a scattered order.
    std::vector<quint32> indexes(order.size());
    for (size_t k = 0; k < order.size(); ++k)
        indexes[k] = order[k].index;
    order = {};
    const bool complete = doc.entries.reorder(indexes, [&](qint64 placed) {
        if (placed % pollEvery != 0)
            return true;
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(populatingStatus + task.formatCount(placed) + task.elapsedText(), 2 * count + placed);
        return !poll.abortRequested;
    });
    if (!complete) {
        task.cancel();
        return true;
    }
    task.finish(okStatus() + task.elapsedText());
    return true;
}

bool ClearAffText(DictionaryDocument &doc, Ui &ui)
{
    if (!doc.affText.isEmpty() &&
        !ui.askYesNo(LongTask::warningTitle(), dictionaryBulkTexts::affHasContents, MessageIcon::Information))
        return false;
    doc.affText.clear();
    doc.changed = true;
    return true;
}

} // namespace lexaloom
