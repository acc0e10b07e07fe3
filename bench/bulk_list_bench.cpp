// The bulk list actions on a 5,000,000-entry dictionary: Delete Selected of every
// second entry and Sort of all of them, each through the command's own function (undo
// snapshot included); and "Show/Delete duplicates wordlist" on the pt_PT dictionary
// of the corpus when it is there (LEXALOOM_CORPUS, default /work/corpus-data).
// Output: one "metric<TAB>value" line per measurement.
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/dictionary_bulk.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/wordlist_duplicates.h"
#include "core/shell/list_selection.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

#include "bench_ui.h"

using namespace lexaloom;

namespace {

constexpr qint64 entryCount = 5000000;

// Entries in a scrambled order, with accents and tags, as a real list has them.
void fill(DictionaryDocument &doc)
{
    doc.entries.reserve(entryCount, entryCount * 20);
    const QString accented = QStringLiteral("\u00E9\u00E0\u00F5\u00E7");
    for (qint64 i = 0; i < entryCount; ++i) {
        const qint64 k = (i * 2654435761LL) % entryCount;
        doc.entries.append(QStringLiteral("w%1%2/AB\npo:noun").arg(k).arg(accented[k % 4]));
    }
}

void print(const char *metric, double value, const char *unit)
{
    std::printf("%s\t%.0f %s\n", metric, value, unit);
}

} // namespace

int main()
{
    bench::BenchUi ui({.printMessages = false});
    MainSettings settings;
    QElapsedTimer timer;
    {
        DictionaryDocument doc;
        fill(doc);
        for (qint64 i = 0; i < entryCount; i += 2)
            doc.entries.setMarked(i, true);
        timer.start();
        DeleteMarked(doc, ui, BulkTextsOf(DocumentKind::Dictionary));
        print("delete selected 2,500,000 of 5,000,000 (goal 3000)", timer.nsecsElapsed() / 1e6, "ms");
        if (doc.entries.size() != entryCount / 2) {
            std::printf("delete selected\tFAILED\n");
            return 1;
        }
    }
    {
        DictionaryDocument doc;
        fill(doc);
        timer.restart();
        SortDictionary(doc, settings, ui);
        print("sort 5,000,000 (goal 3000)", timer.nsecsElapsed() / 1e6, "ms");
        if (!ui.statusText().startsWith(QStringLiteral("OK."))) {
            std::printf("sort\tFAILED\n");
            return 1;
        }
    }
    const QByteArray corpus = qgetenv("LEXALOOM_CORPUS");
    const QString dic = (corpus.isEmpty() ? QStringLiteral("/work/corpus-data") : QString::fromLocal8Bit(corpus)) +
                        QStringLiteral("/hunspell/pt_PT.dic");
    if (QFileInfo::exists(dic)) {
        DictionaryDocument doc;
        settings.decodeWarnLimit = 0;
        if (!ReadDictionaryFiles(ui, settings, dic, doc).done()) {
            std::printf("load pt_PT\tFAILED\n");
            return 1;
        }
        AffixTable table;
        timer.restart();
        const WordlistDuplicates result = FindWordlistDuplicates(doc, table, settings, ui);
        print("wordlist duplicates pt_PT (goal 2000)", timer.nsecsElapsed() / 1e6, "ms");
        std::printf("wordlist duplicates pt_PT rows/derived\t%lld/%lld\n", static_cast<long long>(result.rows.size()),
                    static_cast<long long>(result.derivedCount));
    }
    return 0;
}
