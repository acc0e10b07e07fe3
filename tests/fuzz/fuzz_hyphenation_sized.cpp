// The pattern file reader and the pattern cache over large generated pattern files
// (see fuzz_sized.h): one endless pattern line, many prefix patterns, then long words.
// Input: the description of the pattern file; after a line "#words", the description
// of the words, one a line.
#include "core/hyphenation/hyphenate.h"
#include "core/hyphenation/hyphenation_document.h"
#include "core/hyphenation/hyphenation_files.h"
#include "core/hyphenation/hyphenation_patterns.h"
#include "core/shell/settings.h"

#include "fuzz_sized.h"

using namespace lexaloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::SplitInput input = fuzz::splitAt(fuzz::bytesOf(data, size), "#words");
    const QString path = fuzz::scratchFolder() + QStringLiteral("hyph_sized.dic");
    fuzz::writeFile(path, fuzz::expandSized(input.first));

    fuzz::FuzzUi ui;
    const MainSettings settings;
    QString text;
    if (!ReadHyphenationFile(ui, settings, path, text).done())
        return 0;
    HyphenationPatternCache cache;
    if (!BuildPatternCache(cache, text, ui, settings))
        return 0;
    QList<HyphenationRow> rows;
    if (input.hasSecond) {
        // A million rows would measure the list, not the hyphenation.
        const QStringList words = QString::fromUtf8(fuzz::expandSized(input.second)).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < std::min<qsizetype>(words.size(), 1000); ++i)
            rows.append(HyphenationRow{words[i], {}, {}, false, 0});
    } else {
        rows.append(HyphenationRow{QStringLiteral("hyphenation"), {}, {}, false, 0});
    }
    if (!HyphenateResults(cache, rows, ui, settings))
        fuzz::fail("the hyphenation stopped without an abort");
    return 0;
}
