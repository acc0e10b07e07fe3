// The pattern file reader and the pattern cache over hostile patterns, then words
// through HyphenateResults: no crash, and each result keeps the word's letters in
// order with only "-" added. Input: the pattern file's bytes; lines after a line
// "#words" are the words to hyphenate (else a few fixed ones).
#include "core/hyphenation/hyphenate.h"
#include "core/hyphenation/hyphenation_document.h"
#include "core/hyphenation/hyphenation_files.h"
#include "core/hyphenation/hyphenation_patterns.h"
#include "core/shell/settings.h"

#include "fuzz_support.h"

using namespace lexaloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::SplitInput input = fuzz::splitAt(fuzz::bytesOf(data, size), "#words");
    const QString &folder = fuzz::scratchFolder();
    const QString path = folder + QStringLiteral("hyph_xx.dic");
    fuzz::writeFile(path, input.first);

    fuzz::FuzzUi ui;
    const MainSettings settings;
    QString text;
    if (!ReadHyphenationFile(ui, settings, path, text).done())
        return 0;

    // What was read is written back byte for byte (line ends as LF).
    const QString savedPath = folder + QStringLiteral("saved.dic");
    if (!WriteHyphenationFile(ui, settings, text, savedPath).done())
        fuzz::fail("the pattern file could not be saved");
    QString again;
    if (!ReadHyphenationFile(ui, settings, savedPath, again).done() || again != text)
        fuzz::fail("save and read changed the pattern file");

    HyphenationPatternCache cache;
    if (!BuildPatternCache(cache, text, ui, settings))
        return 0;
    // A second build from the same text reuses the cache and agrees with it.
    HyphenationPatternCache quiet;
    if (!BuildPatternCacheQuietly(quiet, text).isEmpty() || quiet.patternCount() != cache.patternCount())
        fuzz::fail("the quiet build disagrees with the build");

    QStringList words;
    if (input.hasSecond)
        words = QString::fromUtf8(input.second).split(QLatin1Char('\n'));
    else
        words = {QStringLiteral("hyphenation"), QStringLiteral("a"), QString(), QStringLiteral("Straße")};
    QList<HyphenationRow> rows;
    for (const QString &word : words)
        rows.append(HyphenationRow{word, {}, {}, false, 0});
    if (!HyphenateResults(cache, rows, ui, settings))
        fuzz::fail("the hyphenation stopped without an abort");
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QString letters = rows[i].word;
        const QString &word = words[i];
        // Only "-" may have been added; the word's own "-" stay.
        qsizetype w = 0;
        for (QChar c : letters) {
            if (w < word.size() && c == word[w])
                ++w;
            else if (c != u'-')
                fuzz::fail("the hyphenated word changed a letter");
        }
        if (w != word.size())
            fuzz::fail("the hyphenated word lost a letter");
    }
    return 0;
}
