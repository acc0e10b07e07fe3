// Hyphenation of derived forms through the pattern cache.
//
//   hyphenation_bench time PATTERNS DIC [REPEAT]
//       the entry of DIC with the most forms: its forms derived and hyphenated as the
//       Hyphenation tab's "Hyphenate" does (warm cache), median of REPEAT runs, and
//       the cold build of the cache.
//   hyphenation_bench words PATTERNS < WORDS
//       each word hyphenated, one "word<TAB>hyphenated<TAB>rule" line per word, and on
//       standard error how many words the plain spaced-string reading of the patterns
//       (one substring search per pattern) hyphenates differently from the trie.

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_files.h"
#include "core/hyphenation/hyphenate.h"
#include "core/hyphenation/hyphenation_document.h"
#include "core/hyphenation/hyphenation_files.h"
#include "core/hyphenation/hyphenation_patterns.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

#include "bench_ui.h"

using namespace lexaloom;

namespace {

// The patterns read literally: the spaced word, one count and search per pattern.
struct LiteralPatterns {
    QList<SpacedPattern> patterns;
    int left = 1;
    int right = 1;
};

LiteralPatterns literalPatterns(const QString &text)
{
    LiteralPatterns out;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.startsWith(QStringLiteral("LEFTHYPHENMIN")))
            out.left = line.section(QLatin1Char(' '), 1, 1).toInt();
        else if (line.startsWith(QStringLiteral("RIGHTHYPHENMIN")))
            out.right = line.section(QLatin1Char(' '), 1, 1).toInt();
        else if (line.startsWith(QStringLiteral("COMPOUND")) || line.startsWith(QStringLiteral("UTF-8")) ||
                 line.startsWith(QLatin1Char('%')))
            continue;
        else
            out.patterns.append(ParsePatternLine(line));
    }
    return out;
}

QString spaced(const QString &word)
{
    QString out;
    for (QChar c : word)
        out += c + QLatin1Char(' ');
    return out;
}

QString literalHyphenate(const LiteralPatterns &lp, const QString &word)
{
    const QChar forced(0x1);
    const QString search = spaced(QLatin1Char('.') + word + QLatin1Char('.')).toLower();
    QString work = spaced(QLatin1Char('.') + word + QLatin1Char('.'));
    for (const SpacedPattern &p : lp.patterns) {
        const QString key = p.key.toLower();
        if (key.isEmpty())
            continue;
        // Every occurrence, overlapping ones included.
        for (qsizetype at = search.indexOf(key); at >= 0; at = search.indexOf(key, at + 1)) {
            for (qsizetype k = 0; k < p.values.size(); ++k) {
                const QChar v = p.values[k];
                QChar &w = work[at + k];
                if (v == u'-')
                    w = forced;
                else if (v >= u'1' && v <= u'9' && w != forced && !(w >= u'1' && w <= u'9' && w >= v))
                    w = v;
            }
        }
    }
    const QString trimmed = work.mid(2, work.size() - 4);
    const qsizetype length = trimmed.size();
    const qsizetype leftEnd = std::min<qsizetype>(length, 2 * lp.left - 2);
    const qsizetype rightStart = length - std::min<qsizetype>(length, 2 * lp.right - 2);
    QString out;
    for (qsizetype pos = 1; pos <= length; ++pos) {
        const QChar c = trimmed[pos - 1];
        if (pos % 2 == 1) {
            out += c;
            continue;
        }
        const qsizetype i = pos / 2;
        const bool besideHyphen = word[i - 1] == u'-' || (i < word.size() && word[i] == u'-');
        const bool odd = c == forced || (c >= u'1' && c <= u'9' && (c.unicode() - u'0') % 2 == 1);
        if (odd && pos > leftEnd && pos < rightStart && !besideHyphen)
            out += QLatin1Char('-');
    }
    return out;
}

int wordsMode(const QString &text)
{
    HyphenationPatternCache cache;
    const QString warning = BuildPatternCacheQuietly(cache, text);
    if (!warning.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(warning));
        return 1;
    }
    const LiteralPatterns literal = literalPatterns(text);
    QTextStream in(stdin);
    QTextStream out(stdout);
    HyphenationScratch scratch;
    qint64 words = 0;
    qint64 differ = 0;
    for (QString word = in.readLine(); !word.isNull(); word = in.readLine()) {
        const HyphenatedWord h = HyphenateWord(cache, word, scratch);
        out << word << '\t' << h.word << '\t' << (h.noMatches ? hyphenationTexts::noMatches : h.rule) << '\n';
        ++words;
        if (literalHyphenate(literal, word) != h.word)
            ++differ;
    }
    std::fprintf(stderr, "literal reading differs on %lld of %lld words\n", differ, words);
    return differ == 0 ? 0 : 1;
}

int timeMode(const QString &text, const QString &dicPath, int repeat)
{
    bench::BenchUi ui;
    MainSettings settings;
    DictionaryDocument dictionary;
    if (!ReadDictionaryFiles(ui, settings, dicPath, dictionary).done())
        return 2;
    AffixTable table;
    BuildAffixTable(table, dictionary.affText);
    WordDeriver deriver(table);
    CountingSink counter;
    qint64 best = -1;
    int most = 0;
    for (qint64 i = 0; i < dictionary.entries.size(); ++i) {
        const QStringView entry = dictionary.entries.view(i);
        const qsizetype lf = entry.indexOf(u'\n');
        const int forms = deriver.DeriveWord(lf < 0 ? entry : entry.first(lf), counter);
        if (forms > most) {
            most = forms;
            best = i;
        }
    }
    QString entry = dictionary.entries.at(best).section(QLatin1Char('\n'), 0, 0);

    QElapsedTimer timer;
    std::vector<qint64> cold;
    for (int r = 0; r < repeat; ++r) {
        HyphenationPatternCache cache;
        timer.start();
        BuildPatternCacheQuietly(cache, text);
        cold.push_back(timer.nsecsElapsed());
    }
    HyphenationDocument doc;
    doc.text = text;
    HyphenationContext context{table, dictionary.affText, settings, ui};
    Hyphenate(doc, context, entry); // builds the cache once, as the first test does
    std::vector<qint64> warm;
    for (int r = 0; r < repeat; ++r) {
        timer.start();
        Hyphenate(doc, context, entry);
        warm.push_back(timer.nsecsElapsed());
    }
    // A list far longer than any entry's: 1,000 primary words as rows.
    QList<HyphenationRow> many;
    for (qint64 i = 0; i < dictionary.entries.size() && many.size() < 1000; ++i) {
        const QString word = dictionary.entries.at(i).section(QLatin1Char('\n'), 0, 0).section(QLatin1Char('/'), 0, 0);
        if (word.size() > 5)
            many.append({word, {}, {}, false});
    }
    std::vector<qint64> thousand;
    for (int r = 0; r < repeat; ++r) {
        QList<HyphenationRow> rows = many;
        timer.start();
        HyphenateResults(doc.patternCache, rows, ui, settings);
        thousand.push_back(timer.nsecsElapsed());
    }
    std::sort(thousand.begin(), thousand.end());
    std::sort(cold.begin(), cold.end());
    std::sort(warm.begin(), warm.end());
    std::printf("entry\t%s\n", qPrintable(entry));
    std::printf("rows\t%lld\n", qint64(doc.results.size()));
    std::printf("patterns\t%lld\n", qint64(doc.patternCache.patternCount()));
    std::printf("hyphenate_ms\t%.2f\n", warm[warm.size() / 2] / 1e6);
    std::printf("cache_build_ms\t%.2f\n", cold[cold.size() / 2] / 1e6);
    std::printf("hyphenate_1000_rows_ms\t%.2f\n", thousand[thousand.size() / 2] / 1e6);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: hyphenation_bench time PATTERNS DIC [REPEAT] | words PATTERNS < WORDS\n");
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    bench::BenchUi ui;
    MainSettings settings;
    QString text;
    if (!ReadHyphenationFile(ui, settings, QString::fromLocal8Bit(argv[2]), text).done())
        return 2;
    if (mode == QStringLiteral("words"))
        return wordsMode(text);
    if (mode == QStringLiteral("time") && argc >= 4)
        return timeMode(text, QString::fromLocal8Bit(argv[3]), argc > 4 ? std::max(1, atoi(argv[4])) : 5);
    std::fprintf(stderr, "hyphenation_bench: unknown mode\n");
    return 2;
}
