#include "core/dictionary_tools/statistics.h"

#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"
#include "core/shell/format.h"
#include "core/shell/list_selection.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_folding.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

constexpr quint8 unknownFacts = 0xFF;
constexpr quint8 uppercaseBit = 0x40;
constexpr quint8 letterMask = 0x1F;

// The facts of a first character (one code unit, or a surrogate pair): its letter
// row after folding accents and case, and whether it changes when lower-cased.
quint8 computeFacts(QStringView first)
{
    const QString text = first.toString();
    const QString folded = FoldAccents(text);
    quint8 facts = 0;
    const char16_t c = folded.isEmpty() ? 0 : folded[0].unicode();
    if (c >= u'a' && c <= u'z')
        facts = quint8(c - u'a' + 1);
    if (text != text.toLower())
        facts |= uppercaseBit;
    return facts;
}

QStringView partBeforeNewline(QStringView entry)
{
    const qsizetype newline = entry.indexOf(u'\n');
    return newline < 0 ? entry : entry.first(newline);
}

} // namespace

StatisticsCounter::StatisticsCounter(qsizetype entryCount)
    : entries(size_t(entryCount))
    , m_facts(0x10000, unknownFacts)
{
}

quint8 StatisticsCounter::firstCharFacts(QStringView word)
{
    const char16_t c = word[0].unicode();
    if (QChar::isHighSurrogate(c) && word.size() > 1)
        return computeFacts(word.first(2)); // rare enough not to be worth a table
    quint8 &facts = m_facts[c];
    if (facts == unknownFacts)
        facts = computeFacts(word.first(1));
    return facts;
}

void StatisticsCounter::CountDerivedWord(QStringView word, qsizetype entry)
{
    EntryStatistics &e = entries[size_t(entry)];
    if (word.contains(u'\'')) {
        ++stats.withApostrophe;
        ++e.apostrophes;
    }
    if (word.contains(u'-')) {
        ++stats.withHyphen;
        ++e.hyphens;
    }
    const qsizetype length = word.size();
    if (length == 0) {
        ++stats.byLetter[0];
        return;
    }
    const quint8 facts = firstCharFacts(word);
    if (facts & uppercaseBit) {
        ++stats.startingUppercase;
        ++e.uppercase;
    }
    if (length <= DicStatistics::lengthRows) {
        ++stats.byLength[size_t(length)];
        e.shortLength = qint8(length);
    }
    ++stats.byLetter[facts & letterMask];
}

StatisticsRun RunStatistics(const DictionaryDocument &dictionary, AffixTable &affixTable, const MainSettings &settings,
                            Ui &ui)
{
    using namespace statisticsTexts;
    StatisticsRun run;
    const EntryStore &entries = dictionary.entries;
    if (entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), BulkTextsOf(DocumentKind::Dictionary).noEntries, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return run;
    }
    LongTask task(ui, settings);
    BuildAffixTable(affixTable, dictionary.affText, &task);
    const qint64 n = entries.size();
    StatisticsCounter counter(n);
    qsizetype current = 0;
    StatisticsSink sink([&counter, &current](QStringView word) { counter.CountDerivedWord(word, current); });
    WordDeriver deriver(affixTable);
    task.begin(processing, n);
    const bool completed = task.forEach(
        n,
        [&](qint64 i) {
            task.showProgress(
                processingFound + task.formatCount(counter.stats.total) + task.elapsedText() + FormatPercent(i, n), i);
        },
        [&](qint64 i) {
            const QStringView part = partBeforeNewline(entries.view(i));
            if (IsCommentEntry(part))
                return;
            current = qsizetype(i);
            counter.stats.total += deriver.DeriveWord(part, sink);
        },
        {.abortBeforeTick = true});
    if (!completed) {
        task.cancel();
        return run;
    }
    task.finish(QStringLiteral("OK.") + task.elapsedText());
    run.done = true;
    run.stats = counter.stats;
    run.entries = std::move(counter.entries);
    return run;
}

QString StatisticsWordRowLabel(int row)
{
    switch (row) {
    case 0:
        return QStringLiteral("With ':");
    case 1:
        return QStringLiteral("With Hyphen:");
    case 2:
        return QStringLiteral("Starting uppercase:");
    default:
        return row >= 3 && row < statisticsWordRows ? QString::number(row - 2) + QStringLiteral(" characters long:")
                                                    : QString();
    }
}

qint64 StatisticsWordRowCount(const DicStatistics &stats, int row)
{
    switch (row) {
    case 0:
        return stats.withApostrophe;
    case 1:
        return stats.withHyphen;
    case 2:
        return stats.startingUppercase;
    default:
        return row >= 3 && row < statisticsWordRows ? stats.byLength[size_t(row - 2)] : 0;
    }
}

QString StatisticsLetterLabel(int index)
{
    if (index <= 0 || index >= DicStatistics::letterRows)
        return QStringLiteral("#/other");
    return QString(QChar(u'a' + index - 1));
}

qint64 EntryStatisticFor(const EntryStatistics &entry, int row)
{
    switch (row) {
    case 0:
        return entry.apostrophes;
    case 1:
        return entry.hyphens;
    case 2:
        return entry.uppercase;
    default:
        return row >= 3 && row < statisticsWordRows ? entry.shortLength : 0;
    }
}

float StatisticsPercentValue(qint64 count, qint64 total)
{
    if (total <= 0)
        return 0.0F;
    return static_cast<float>(static_cast<double>(count) * 100.0 / static_cast<double>(total));
}

QString StatisticsPercent(qint64 count, qint64 total)
{
    if (total <= 0)
        return QStringLiteral("0.00");
    QString text = QString::number(static_cast<double>(StatisticsPercentValue(count, total)), 'f', 2);
    if (text.endsWith(QLatin1String(".00")))
        text.chop(3);
    return text;
}

quint32 StatisticsRowColour(int row)
{
    static constexpr quint32 colours[statisticsWordRows] = {0xA349A4, 0x3F48CC, 0x00A2E8, 0x22B14C,
                                                            0xFFF200, 0xFF7F27, 0xED1C24, 0x880015};
    return row >= 0 && row < statisticsWordRows ? colours[row] : 0;
}

StatisticsPie StatisticsPieChart(const DicStatistics &stats)
{
    StatisticsPie pie;
    double angle = 0;
    qint64 counted = 0;
    for (int row = 0; row < statisticsWordRows; ++row) {
        const qint64 count = StatisticsWordRowCount(stats, row);
        counted += count;
        const float percent = StatisticsPercentValue(count, stats.total);
        if (percent <= 0.0F)
            continue;
        const double span = static_cast<double>(percent) * 360.0 / 100.0;
        pie.slices.push_back({angle, span, StatisticsRowColour(row)});
        angle += span;
    }
    // Compared in whole counts: the sum of rounded percentages can pass 100 by a hair
    // when the rows add up to exactly the total.
    pie.overHundred = counted > stats.total;
    return pie;
}

QByteArray StatisticsExportBytes(const DicStatistics &stats, const QString &reference, const QString &newWords,
                                 const QString &thousandsSeparator)
{
    const auto count = [&thousandsSeparator](qint64 n) { return FormatCount(n, thousandsSeparator); };
    const auto figure = [&](qint64 n) {
        return count(n) + QStringLiteral(" (") + StatisticsPercent(n, stats.total) + QStringLiteral("%)\n");
    };
    static const char *const wordLabels[statisticsWordRows] = {
        "            With ':", "       With Hyphen:", "Starting uppercase:", " 1 characters long:",
        " 2 characters long:", " 3 characters long:", " 4 characters long:", " 5 characters long:"};
    QString text;
    text += QStringLiteral("Total wordlist:") + count(stats.total) + QStringLiteral("\n\nWORDS:\n");
    for (int row = 0; row < statisticsWordRows; ++row)
        text += QString::fromUtf8(wordLabels[row]) + figure(StatisticsWordRowCount(stats, row));
    text += QStringLiteral("\nReference Value:") + (reference.isEmpty() ? QStringLiteral("N/A") : reference);
    // The new-words field without its "New:".
    text += QStringLiteral("\nNew Words:") + (newWords.isEmpty() ? QStringLiteral("N/A") : newWords.mid(4));
    text += QStringLiteral("\n\nLETTERS:\n#/other:") + figure(stats.byLetter[0]);
    for (int letter = 1; letter < DicStatistics::letterRows; ++letter)
        text += QStringLiteral("      ") + StatisticsLetterLabel(letter) + QLatin1Char(':') +
                figure(stats.byLetter[size_t(letter)]);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace lexaloom
