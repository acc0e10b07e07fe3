// AC Validate on real data: the time of a run (the four steps, after the dictionary
// and the list are loaded) and the memory of its word set next to the size of the
// forms as text.
//
//   autocorrect_validate_bench LIST.xml DIC [RUNS]

#include <QElapsedTimer>
#include <QString>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>

#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/autocorrect/autocorrect_validate.h"
#include "core/autocorrect/derived_word_set.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/list_document.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

#include "bench_ui.h"

using namespace lexaloom;

namespace {

class NullHost final : public AcValidateHost {
public:
    explicit NullHost(Ui &ui)
        : m_ui(ui)
    {
    }
    Ui &taskUi() override { return m_ui; }
    void refresh(const AcValidateDisplay &) override {}

private:
    Ui &m_ui;
};

// The forms as the word list extraction writes them: UTF-8, one per line.
class TextSizeSink final : public DerivationSink {
public:
    bool accept(const DerivedWord &form) override
    {
        bytes += form.word.toUtf8().size() + 1;
        return true;
    }
    qint64 bytes = 0;
};

// CPU time: the machine is shared, so wall time says more about the neighbours.
qint64 cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: autocorrect_validate_bench LIST.xml DIC [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    bench::BenchUi ui;
    MainSettings settings;
    settings.decodeWarnLimit = 0;
    AutocorrectList list;
    if (!ReadAutocorrectFile(ui, settings, QString::fromLocal8Bit(argv[1]), list).done()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    DictionaryDocument dictionary;
    if (!ReadDictionaryFiles(ui, settings, QString::fromLocal8Bit(argv[2]), dictionary).done()) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 2;
    }
    AffixTable table;
    BuildAffixTable(table, dictionary.affText);

    TextSizeSink textSize;
    WordDeriver deriver(table);
    for (qint64 i = 0; i < dictionary.entries.size(); ++i) {
        QStringView part = dictionary.entries.view(i);
        const qsizetype newline = part.indexOf(u'\n');
        if (newline >= 0)
            part = part.first(newline);
        if (!IsCommentEntry(part))
            deriver.DeriveWord(part, textSize);
    }
    DerivedWordSet set;
    DerivedWordSetSink setSink(set);
    for (qint64 i = 0; i < dictionary.entries.size(); ++i) {
        QStringView part = dictionary.entries.view(i);
        const qsizetype newline = part.indexOf(u'\n');
        if (newline >= 0)
            part = part.first(newline);
        if (!IsCommentEntry(part))
            deriver.DeriveWord(part, setSink);
    }

    NullHost host(ui);
    qint64 best = -1;
    qint64 bestCpu = -1;
    qint64 issues = 0;
    qint64 forms = 0;
    const long peakBefore = peakKb();
    for (int r = 0; r < runs; ++r) {
        AcValidateSession session(dictionary, table, list, settings, ui, host);
        QElapsedTimer timer;
        timer.start();
        const qint64 cpuStart = cpuMs();
        session.process();
        const qint64 cpu = cpuMs() - cpuStart;
        const qint64 ms = timer.elapsed();
        best = best < 0 ? ms : std::min(best, ms);
        bestCpu = bestCpu < 0 ? cpu : std::min(bestCpu, cpu);
        issues = session.display().issueCount;
        forms = session.derivedCount();
    }
    std::printf("pairs %lld  forms %lld  distinct %lld  issues %lld\n", static_cast<long long>(list.entries.size()),
                static_cast<long long>(forms), static_cast<long long>(set.size()), static_cast<long long>(issues));
    std::printf("run: cpu %lld ms, wall %lld ms (best of %d; goal <= 2000 ms)\n", static_cast<long long>(bestCpu),
                static_cast<long long>(best), runs);
    std::printf("forms as text %.1f MB  word set %.1f MB  ratio %.2f (goal <= 3)  peak growth of a run %.1f MB\n",
                textSize.bytes / 1048576.0, set.memoryBytes() / 1048576.0,
                double(set.memoryBytes()) / double(std::max<qint64>(1, textSize.bytes)),
                (peakKb() - peakBefore) / 1024.0);
    return 0;
}
