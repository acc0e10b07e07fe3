// In-process timings of the engine on one .aff/.dic pair: BuildAffixTable, the
// whole dictionary counted and written as plain lines, and the entry with the
// most forms derived as the word editor derives it.
//
//   engine_bench DIC [REPEAT] [count]
//
// With "count", only the counting is timed (for a profiler's view of it).

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dic_line_reader.h"

using namespace lexaloom;

namespace {

double medianMs(std::vector<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: engine_bench DIC [REPEAT]\n");
        return 2;
    }
    const QString dicPath = QString::fromLocal8Bit(argv[1]);
    const int repeat = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const bool countOnly = argc > 3 && qstrcmp(argv[3], "count") == 0;
    QFile affFile(dicPath.left(dicPath.size() - 3) + QLatin1String("aff"));
    if (!affFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "engine_bench: no .aff beside %s\n", argv[1]);
        return 1;
    }
    QByteArray affBytes = affFile.readAll();
    if (affBytes.startsWith("\xEF\xBB\xBF"))
        affBytes.remove(0, 3);
    const QString affText = QString::fromUtf8(affBytes);

    std::vector<qint64> buildNs;
    QElapsedTimer timer;
    for (int i = 0; i < (countOnly ? 1 : std::max(repeat, 20)); ++i) {
        AffixTable fresh;
        timer.start();
        BuildAffixTable(fresh, affText);
        buildNs.push_back(timer.nsecsElapsed());
    }
    AffixTable table;
    BuildAffixTable(table, affText);

    QStringList entries;
    {
        DicLineReader reader(dicPath);
        QString line;
        while (reader.next(line)) {
            const QStringView entry = DicLineReader::wordPart(line);
            if (!entry.startsWith(u'/'))
                entries << entry.toString();
        }
    }

    WordDeriver deriver(table);
    std::vector<qint64> countNs;
    qint64 forms = 0;
    QString biggest;
    int biggestForms = -1;
    for (int r = 0; r < repeat; ++r) {
        CountingSink count;
        forms = 0;
        timer.start();
        for (const QString &entry : std::as_const(entries))
            forms += deriver.DeriveWord(entry, count);
        countNs.push_back(timer.nsecsElapsed());
    }
    if (countOnly) {
        std::printf("entries            %lld\n", qint64(entries.size()));
        std::printf("forms              %lld\n", forms);
        std::printf("count_ms           %.3f\n", medianMs(countNs));
        std::printf("count_forms_per_s  %.0f\n", forms / (medianMs(countNs) / 1000));
        return 0;
    }
    {
        CountingSink count;
        for (const QString &entry : std::as_const(entries)) {
            const int n = deriver.DeriveWord(entry, count);
            if (n > biggestForms) {
                biggestForms = n;
                biggest = entry;
            }
        }
    }
    std::vector<qint64> writeNs;
    qint64 bytes = 0;
    for (int r = 0; r < repeat; ++r) {
        QFile null(QStringLiteral("/dev/null"));
        null.open(QIODevice::WriteOnly);
        Utf8Writer writer(null);
        FileLinesSink lines(writer, FileLineFormat::Plain, table.maxRuleCount);
        timer.start();
        for (const QString &entry : std::as_const(entries))
            deriver.DeriveWord(entry, lines);
        writer.flush();
        writeNs.push_back(timer.nsecsElapsed());
        bytes = writer.size();
    }
    std::vector<qint64> entryNs;
    for (int i = 0; i < std::max(repeat, 50); ++i) {
        EditorRowsSink rows;
        timer.start();
        WordDeriver editor(table);
        editor.DeriveWord(biggest, rows);
        entryNs.push_back(timer.nsecsElapsed());
    }

    std::printf("entries            %lld\n", qint64(entries.size()));
    std::printf("forms              %lld\n", forms);
    std::printf("build_table_ms     %.3f\n", medianMs(buildNs));
    std::printf("count_ms           %.3f\n", medianMs(countNs));
    std::printf("count_forms_per_s  %.0f\n", forms / (medianMs(countNs) / 1000));
    std::printf("write_ms           %.3f\n", medianMs(writeNs));
    std::printf("write_forms_per_s  %.0f\n", forms / (medianMs(writeNs) / 1000));
    std::printf("write_bytes        %lld\n", bytes);
    std::printf("biggest_entry      %s\n", biggest.toUtf8().constData());
    std::printf("biggest_forms      %d\n", biggestForms);
    std::printf("biggest_entry_ms   %.3f\n", medianMs(entryNs));
    return 0;
}
