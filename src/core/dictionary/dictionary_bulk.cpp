#include "dictionary/dictionary_bulk.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "dictionary/dictionary_document.h"
#include "dictionary/dictionary_editing.h"
#include "dictionary/dictionary_files.h"
#include "shell/long_task.h"
#include "shell/text_folding.h"
#include "shell/ui.h"

namespace lexaloom {

namespace {

const QString &okStatus()
{
    static const QString text = QStringLiteral("OK.");
    return text;
}

} // namespace

bool EraseDictionary(DictionaryDocument &doc, Ui &ui, qint64 scrollPosition)
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
    PushDictionaryUndo(doc, scrollPosition);
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

bool SortDictionary(DictionaryDocument &doc, const MainSettings &settings, Ui &ui, qint64 scrollPosition)
{
    using namespace dictionaryBulkTexts;
    ui.setStatusText(sortingStatus);
    if (doc.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), dictionaryTexts::noWords, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return false;
    }
    PushDictionaryUndo(doc, scrollPosition);
    const qint64 count = doc.entries.size();
    doc.selectedIndex = -1;
    doc.changed = true;
    LongTask task(ui, settings);
    task.begin(sortingStatus, 3 * count);

    // The keys are as long as their entries, so they share one buffer with a span
    // per entry instead of millions of small strings.
    QString keys;
    std::vector<qsizetype> keyStart(static_cast<size_t>(count) + 1);
    {
        qsizetype characters = 0;
        for (qint64 i = 0; i < count; ++i)
            characters += doc.entries.view(i).size();
        keys.reserve(characters);
    }
    for (qint64 i = 0; i < count; ++i) {
        keyStart[static_cast<size_t>(i)] = keys.size();
        keys.append(FoldAccents(doc.entries.at(i)));
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(foldingStatus + task.formatCount(i) + task.elapsedText(), i);
        if (poll.abortRequested) {
            task.cancel();
            return false;
        }
    }
    keyStart[static_cast<size_t>(count)] = keys.size();
    const QString sortText = sortStepStatus + task.formatCount(count);
    task.showProgress(sortText + task.elapsedText(), 2 * count);
    const auto keyOf = [&](quint32 i) { return QStringView(keys).mid(keyStart[i], keyStart[i + 1] - keyStart[i]); };
    std::vector<quint32> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), quint32{0});
    // Equal keys keep their order, so sorting twice changes nothing.
    std::stable_sort(order.begin(), order.end(), [&](quint32 a, quint32 b) { return keyOf(a).compare(keyOf(b)) < 0; });
    task.showProgress(sortText + task.elapsedText(), 2 * count);
    const bool escapedWhileSorting = task.poll().abortRequested;
    if (escapedWhileSorting) {
        task.cancel();
        return false;
    }
    keys = QString();

    EntryStore sorted;
    {
        qint64 characters = 0;
        for (qint64 i = 0; i < count; ++i)
            characters += doc.entries.view(i).size();
        sorted.reserve(count, characters);
    }
    for (qint64 i = 0; i < count; ++i) {
        sorted.append(doc.entries.view(order[static_cast<size_t>(i)]));
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(populatingStatus + task.formatCount(i) + task.elapsedText(), 2 * count + i);
        if (poll.abortRequested) {
            // The entries not written back yet follow in their previous order.
            std::vector<char> written(static_cast<size_t>(count), 0);
            for (qint64 k = 0; k <= i; ++k)
                written[order[static_cast<size_t>(k)]] = 1;
            for (qint64 k = 0; k < count; ++k) {
                if (!written[static_cast<size_t>(k)])
                    sorted.append(doc.entries.view(k));
            }
            doc.entries = std::move(sorted);
            task.cancel();
            return true;
        }
    }
    doc.entries = std::move(sorted); // marks are all cleared
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
