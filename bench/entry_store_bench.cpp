// Deleting the ticked entries of a large list: 1,000,000 of 5,000,000 entries removed
// in one pass, next to the entry-by-entry removal it replaces. The one-by-one side
// would run for an hour, so it removes a sample of ticked entries spread over the
// whole list and extrapolates to all of them; its line says so.
// Output: one "metric<TAB>value" line per measurement.
#include <QElapsedTimer>

#include <cstdio>

#include "core/shell/entry_store.h"

using namespace lexaloom;

namespace {

constexpr qint64 entryCount = 5000000;
constexpr qint64 tickEvery = 5; // 1,000,000 ticked
constexpr qint64 sampleRemovals = 500;

EntryStore ticked()
{
    EntryStore entries;
    entries.reserve(entryCount, entryCount * 16);
    for (qint64 i = 0; i < entryCount; ++i) {
        entries.append(QStringLiteral("word%1/AB\npo:noun").arg(i));
        if (i % tickEvery == 0)
            entries.setMarked(i, true);
    }
    return entries;
}

} // namespace

int main()
{
    EntryStore entries = ticked();
    const qint64 tickedCount = entries.markedCount();

    QElapsedTimer timer;
    timer.start();
    const qint64 removed = entries.removeMarked();
    const double onePassMs = timer.nsecsElapsed() / 1e6;
    if (removed != tickedCount || entries.size() != entryCount - tickedCount) {
        std::printf("one pass removed the wrong entries\tFAILED\n");
        return 1;
    }

    // The old way walks from the end and removes each ticked entry; the sample takes
    // ticked entries at even steps from the end to the start, so the average move
    // length matches the whole run (which shrinks the list by a fifth: slightly less).
    entries = ticked();
    const qint64 step = tickedCount / sampleRemovals * tickEvery;
    timer.restart();
    qint64 sampled = 0;
    for (qint64 i = (entryCount - 1) / step * step; i >= 0 && sampled < sampleRemovals; i -= step) {
        entries.remove(i);
        ++sampled;
    }
    const double perRemovalMs = timer.nsecsElapsed() / 1e6 / static_cast<double>(sampled);
    const double oneByOneMs = perRemovalMs * static_cast<double>(tickedCount);

    std::printf("ticked entries removed\t%lld of %lld\n", static_cast<long long>(tickedCount),
                static_cast<long long>(entryCount));
    std::printf("one pass (ms)\t%.1f\n", onePassMs);
    std::printf("one by one (ms, extrapolated from %lld sampled removals)\t%.0f\n", static_cast<long long>(sampled),
                oneByOneMs);
    std::printf("ratio one by one / one pass\t%.0f\n", oneByOneMs / onePassMs);
    return 0;
}
