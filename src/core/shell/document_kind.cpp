#include "core/shell/document_kind.h"

namespace lexaloom {

const DocumentKindFacts &KindFacts(DocumentKind kind)
{
    static const std::array<DocumentKindFacts, documentKindCount> facts = [] {
        const QString dictionaryFilter = QStringLiteral("Dictionary (*.dic)|*.dic");
        const QString thesaurusFilter = QStringLiteral("Thesaurus (*.dat)|*.dat");
        const QString autocorrectFilter = QStringLiteral("Autocorrect List (*.xml)|*.xml");
        const QString dictionaryWords = QStringLiteral("dictionary words");
        const QString findWord = QStringLiteral("Find a Word");
        const QString words = QStringLiteral("words");
        const QString synonyms = QStringLiteral("synonyms");
        const QString autocorrectWords = QStringLiteral("autocorrect words");
        std::array<DocumentKindFacts, documentKindCount> f;
        f[static_cast<size_t>(DocumentKind::Dictionary)] = {
            .name = QStringLiteral("Dictionary"),
            .tabCaption = QStringLiteral("Dictionary (*.dic + *.aff)"),
            .counterCaption = QStringLiteral("# Words:"),
            .openFilter = dictionaryFilter,
            .saveFilter = dictionaryFilter,
            .pagedList = true,
            .layout = EntryLayout::WordAndTags,
            .findNoun = dictionaryWords,
            .findTitle = findWord,
            .gotoNoun = words,
            .findOffersEditDelete = true,
        };
        f[static_cast<size_t>(DocumentKind::Thesaurus)] = {
            .name = QStringLiteral("Thesaurus"),
            .tabCaption = QStringLiteral("Thesaurus (*.dat)"),
            .counterCaption = QStringLiteral("# Synonyms:"),
            .openFilter = thesaurusFilter,
            .saveFilter = thesaurusFilter,
            .pagedList = true,
            .layout = EntryLayout::HeadAndMeanings,
            .findNoun = synonyms,
            .findTitle = QStringLiteral("Find a Synonym"),
            .gotoNoun = synonyms,
            .findOffersEditDelete = true,
        };
        // Its list shows the dictionary's entries and is searched as the dictionary's
        // words, but its editor is the pattern pane: no Edit or Delete from Find.
        f[static_cast<size_t>(DocumentKind::Hyphenation)] = {
            .name = QStringLiteral("Hyphenation"),
            .tabCaption = QStringLiteral("Hyphenation (*.dic)"),
            .counterCaption = QStringLiteral("# Words:"),
            .openFilter = QStringLiteral("Hyphenation (*.dic)|*.dic"),
            .saveFilter = QStringLiteral("Hyphenation Dictionary (*.dic)|*.dic"),
            .pagedList = true,
            .layout = EntryLayout::WordAndTags,
            .findNoun = dictionaryWords,
            .findTitle = findWord,
            .gotoNoun = words,
        };
        f[static_cast<size_t>(DocumentKind::Autocorrect)] = {
            .name = QStringLiteral("Autocorrect"),
            .tabCaption = QStringLiteral("Autocorrect (DocumentList.xml)"),
            .counterCaption = QStringLiteral("# Autocorrects:"),
            .openFilter = autocorrectFilter,
            .saveFilter = autocorrectFilter,
            .pagedList = true,
            .layout = EntryLayout::IncorrectAndCorrect,
            .findNoun = autocorrectWords,
            .findTitle = QStringLiteral("Find an Autocorrect word"),
            .gotoNoun = autocorrectWords,
            .findOffersEditDelete = true,
        };
        f[static_cast<size_t>(DocumentKind::AutoText)] = {
            .name = QStringLiteral("AutoText"),
            .tabCaption = QStringLiteral("AutoText (BlockList.xml)"),
            .counterCaption = QStringLiteral("# AutoTexts:"),
            .openFilter = QStringLiteral("BlockList.xml (*.xml)|*.xml"),
            .readOnly = true,
        };
        f[static_cast<size_t>(DocumentKind::LanguageTool)] = {
            .name = QStringLiteral("LanguageTool"),
            .tabCaption = QStringLiteral("LanguageTool (*.xml)"),
            .counterCaption = QStringLiteral("# Chunks:"),
            .openFilter = QStringLiteral("Grammar.xml (*.xml)|*.xml"),
            .readOnly = true,
        };
        return f;
    }();
    return facts[static_cast<size_t>(kind)];
}

} // namespace lexaloom
