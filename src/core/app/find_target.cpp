#include "app/find_target.h"

#include "app/workbench.h"

namespace lexaloom {

std::optional<FindTarget> FindTargetFor(Workbench &workbench, DocumentKind kind)
{
    const QString find = QStringLiteral("Find ");
    const QString dictionaryNoun = QStringLiteral("dictionary words");
    const QString dictionaryTitle = find + QStringLiteral("a Word");
    const QString dictionaryGotoNoun = QStringLiteral("words");
    switch (kind) {
    case DocumentKind::Dictionary:
        return FindTarget{kind,
                          &workbench.dictionary.entries,
                          &workbench.dictionary.selectedIndex,
                          EntryLayout::WordAndTags,
                          dictionaryNoun,
                          dictionaryTitle,
                          dictionaryGotoNoun,
                          true};
    case DocumentKind::Hyphenation:
        // The Hyphenation tab lists the dictionary's entries but keeps its own focus.
        return FindTarget{kind,
                          &workbench.dictionary.entries,
                          &workbench.hyphenation.selectedIndex,
                          EntryLayout::WordAndTags,
                          dictionaryNoun,
                          dictionaryTitle,
                          dictionaryGotoNoun,
                          false};
    case DocumentKind::Thesaurus:
        return FindTarget{kind,
                          &workbench.thesaurus.entries,
                          &workbench.thesaurus.selectedIndex,
                          EntryLayout::HeadAndMeanings,
                          QStringLiteral("synonyms"),
                          find + QStringLiteral("a Synonym"),
                          QStringLiteral("synonyms"),
                          true};
    case DocumentKind::Autocorrect:
        return FindTarget{kind,
                          &workbench.autocorrect.entries,
                          &workbench.autocorrect.selectedIndex,
                          EntryLayout::IncorrectAndCorrect,
                          QStringLiteral("autocorrect words"),
                          find + QStringLiteral("an Autocorrect word"),
                          QStringLiteral("autocorrect words"),
                          true};
    case DocumentKind::AutoText:
    case DocumentKind::LanguageTool:
        break;
    }
    return std::nullopt;
}

} // namespace lexaloom
