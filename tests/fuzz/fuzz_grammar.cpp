// The grammar rule reader (grammar.xml) over a hostile file, then the outline's
// texts and the structure export's records for every chunk.
#include "core/languagetool/grammar_rule_set.h"
#include "core/shell/settings.h"

#include "fuzz_support.h"

using namespace lexaloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::scratchFolder() + QStringLiteral("grammar.xml");
    fuzz::writeFile(path, fuzz::bytesOf(data, size));

    fuzz::FuzzUi ui;
    const MainSettings settings;
    GrammarRuleSet set;
    if (!LoadGrammarRules(set, settings, ui, path).done())
        return 0;

    (void)CategoryColumnTitle(set, QStringLiteral(","));
    for (qsizetype c = 0; c < set.categoryChunks.size(); ++c) {
        const qint32 chunk = set.categoryChunks[c];
        if (chunk < 0 || chunk >= set.chunks.size())
            fuzz::fail("a category points outside the chunks");
        (void)CategoryRowText(set, c);
    }
    (void)RulesStructureCategoryBlock(set, true);
    for (qsizetype chunk = 0; chunk < set.chunks.size(); ++chunk) {
        (void)RulesStructureRecord(set, chunk, true);
        for (int column = 0; column < 7; ++column)
            (void)ChunkCellColour(set.chunks[chunk], column);
    }
    return 0;
}
