// Times LoadGrammarRules (File > Open on the LanguageTool tab) over a real grammar.xml,
// best of several runs, and the "Rules Structure .txt" export of the outline.
//
//   grammar_bench [GRAMMAR.XML]   (default: the Galician rules of the shared corpus)

#include "core/languagetool/grammar_rule_set.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

#include "bench_ui.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace lexaloom;

namespace {

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString path =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/work/shared/corpus/languagetool/gl/grammar.xml");
    if (!QFile::exists(path)) {
        std::fprintf(stderr, "grammar_bench: no file at %s\n", qPrintable(path));
        return 1;
    }
    constexpr int runs = 5;
    bench::BenchUi ui({.pumpEvents = true});
    MainSettings settings;
    GrammarRuleSet set;
    qint64 bestLoad = -1;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!LoadGrammarRules(set, settings, ui, path).done())
            return 1;
        const qint64 ns = timer.nsecsElapsed();
        bestLoad = bestLoad < 0 ? ns : std::min(bestLoad, ns);
    }
    QTemporaryDir dir;
    ui.savePath = dir.filePath(QStringLiteral("structure.txt"));
    qint64 bestExport = -1;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!ExportRulesStructure(set, settings, ui, true).done())
            return 1;
        const qint64 ns = timer.nsecsElapsed();
        bestExport = bestExport < 0 ? ns : std::min(bestExport, ns);
    }
    std::printf("file\t%s\n", qPrintable(path));
    std::printf("bytes\t%lld\n", static_cast<long long>(QFile(path).size()));
    std::printf("chunks\t%lld\n", static_cast<long long>(set.chunks.size()));
    std::printf("categories\t%lld\n", static_cast<long long>(set.categoryChunks.size()));
    std::printf("rules\t%lld\n", static_cast<long long>(set.ruleTotal));
    std::printf("load_ms (best of %d; goal <= 300)\t%.2f\n", runs, bestLoad / 1e6);
    std::printf("export_ms (best of %d)\t%.2f\n", runs, bestExport / 1e6);
    return 0;
}
