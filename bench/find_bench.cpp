// Times Find over a real .dic, as the Find window runs it: one LongTask poll per
// entry with real event pumping, and reports how long the longest stretch without
// an event pump was (how late an Escape could be noticed).

#include "core/app/find_target.h"
#include "core/app/workbench.h"
#include "core/shell/find.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

#include "bench_ui.h"

using namespace lexaloom;

namespace {

// Line by line: the count line skipped, the tags after the first tab kept after "\n".
bool loadDic(const QString &path, int copies, EntryStore &entries)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QStringList lines;
    QTextStream in(&file);
    bool first = true;
    QString line;
    while (in.readLineInto(&line)) {
        if (first) {
            first = false;
            if (line.startsWith(QChar(0xFEFF)))
                line.remove(0, 1);
            bool isNumber = false;
            line.trimmed().toLongLong(&isNumber);
            if (isNumber)
                continue;
        }
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab >= 0)
            line[tab] = QLatin1Char('\n');
        lines.append(line);
    }
    for (int c = 0; c < copies; ++c) {
        for (const QString &l : lines)
            entries.append(l);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: find_bench FILE.dic [COPIES]\n");
        return 2;
    }
    const int copies = args.size() > 2 ? std::max(1, args[2].toInt()) : 1;

    Workbench workbench;
    QElapsedTimer load;
    load.start();
    if (!loadDic(args[1], copies, workbench.dictionary.entries)) {
        std::fprintf(stderr, "find_bench: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    std::printf("%s x%d: %lld entries loaded in %lld ms\n", qPrintable(args[1]), copies,
                static_cast<long long>(workbench.dictionary.entries.size()), static_cast<long long>(load.elapsed()));

    const struct {
        const char *text;
        bool leftMatch, matchCase, matchExtra;
    } runs[] = {
        {"cat", true, false, true},     {"cat", false, false, true},   {"Cat", true, true, false},
        {"Noun", true, false, true},    {"noun", false, false, false}, {"e", false, false, true},
        {"zzzzqx", false, false, true},
    };
    std::printf("%-8s %-5s %-5s %-5s %10s %9s %8s %10s\n", "search", "left", "case", "extra", "found", "ms", "pumps",
                "max gap ms");
    bench::BenchUi ui({.answer = false, .printMessages = false, .pumpEvents = true});
    FindSession session(*FindTargetFor(workbench, DocumentKind::Dictionary), workbench.findMemory, workbench.settings);
    for (const auto &r : runs) {
        workbench.findMemory.leftMatch = r.leftMatch;
        workbench.findMemory.matchCase = r.matchCase;
        workbench.findMemory.matchExtra = r.matchExtra;
        ui.reset();
        QElapsedTimer timer;
        timer.start();
        session.search(ui, QString::fromUtf8(r.text));
        const qint64 ms = timer.elapsed();
        std::printf("%-8s %-5s %-5s %-5s %10lld %9lld %8lld %10lld\n", r.text, r.leftMatch ? "on" : "off",
                    r.matchCase ? "on" : "off", r.matchExtra ? "on" : "off",
                    static_cast<long long>(session.rows().size()), static_cast<long long>(ms),
                    static_cast<long long>(ui.pumps), static_cast<long long>(ui.longestGapMs));
    }
    return 0;
}
