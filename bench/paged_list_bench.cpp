// The paged list must cost the same per scroll or key whatever the document size:
// times RefreshListPage and keyboard movement over 100 and over 5,000,000 entries.
// Output: one "metric<TAB>value" line per measurement.
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <cstdio>
#include <memory>

#include "core/shell/entry_store.h"
#include "gui/shell/paged_list_view.h"

using namespace lexaloom;

namespace {

constexpr int pageRows = 13;
constexpr int rounds = 3000;

struct Measured {
    double refreshUs;
    double keyUs;
};

Measured measure(qint64 count)
{
    EntryStore entries;
    entries.reserve(count, count * 12);
    for (qint64 i = 0; i < count; ++i)
        entries.append(QStringLiteral("word%1/AB\npo:noun").arg(i));
    qint64 selected = 0;
    PagedListView view(entries, selected, PagedListStyle::Dictionary,
                       {{QStringLiteral("Words"), 160}, {QStringLiteral("Postags/Comments"), 170}}, pageRows);
    view.resize(480, 320);
    view.show();
    view.refreshListPage();

    // Scroll positions spread over the whole document, as dragging the thumb does.
    const qint64 maxScroll = count - 1;
    QElapsedTimer timer;
    timer.start();
    for (int r = 0; r < rounds; ++r) {
        view.setScrollPosition(maxScroll * r / rounds);
        QCoreApplication::processEvents();
    }
    const double refreshUs = timer.nsecsElapsed() / 1000.0 / rounds;

    view.setScrollPosition(count / 2);
    selected = count / 2;
    timer.restart();
    for (int r = 0; r < rounds; ++r) {
        view.handleListKey(r % 2 ? ListKey::Up : ListKey::Down);
        QCoreApplication::processEvents();
    }
    const double keyUs = timer.nsecsElapsed() / 1000.0 / rounds;
    return {refreshUs, keyUs};
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    measure(100); // warm-up: fonts, styles, first allocations
    const Measured small = measure(100);
    const Measured large = measure(5000000);
    std::printf("refresh 100 entries (us/page)\t%.1f\n", small.refreshUs);
    std::printf("refresh 5,000,000 entries (us/page)\t%.1f\n", large.refreshUs);
    std::printf("refresh ratio 5M/100\t%.2f\n", large.refreshUs / small.refreshUs);
    std::printf("key 100 entries (us/key)\t%.1f\n", small.keyUs);
    std::printf("key 5,000,000 entries (us/key)\t%.1f\n", large.keyUs);
    std::printf("key ratio 5M/100\t%.2f\n", large.keyUs / small.keyUs);
    return 0;
}
