#include "core/app/workbench.h"

#include <QDir>

#include <utility>

#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autotext_files.h"
#include "core/dictionary/dictionary_files.h"
#include "core/hyphenation/hyphenation_files.h"
#include "core/thesaurus/thesaurus_files.h"

namespace lexaloom {

Workbench::Workbench(QString programFolder)
    : m_programFolder(std::move(programFolder))
{
    if (m_programFolder.isEmpty())
        m_programFolder = QDir::currentPath();
    if (!m_programFolder.endsWith(QLatin1Char('/')))
        m_programFolder += QLatin1Char('/');
    makeSlots();
}

Workbench::Workbench(const Workbench &other)
    : Workbench(other.m_programFolder)
{
    *this = other;
}

Workbench::~Workbench() = default;

// The table of the kinds: one row per kind, in tab order.
void Workbench::makeSlots()
{
    m_slots[DocumentKind::Dictionary] = std::make_unique<DictionarySlot>(dictionary, settings);
    m_slots[DocumentKind::Thesaurus] = std::make_unique<ThesaurusSlot>(thesaurus, settings);
    m_slots[DocumentKind::Hyphenation] = std::make_unique<HyphenationSlot>(hyphenation, dictionary, settings);
    m_slots[DocumentKind::Autocorrect] = std::make_unique<AutocorrectSlot>(autocorrect, settings);
    m_slots[DocumentKind::AutoText] = std::make_unique<AutoTextSlot>(autotext, settings);
    m_slots[DocumentKind::LanguageTool] = std::make_unique<GrammarSlot>(grammar, settings);
}

std::unique_ptr<DocumentSlot> Workbench::replaceSlot(DocumentKind kind, std::unique_ptr<DocumentSlot> slot)
{
    std::swap(m_slots[kind], slot);
    return slot;
}

bool Workbench::hasUndoStep(DocumentKind kind) const
{
    const ListDocument *doc = listDocument(kind);
    return doc && doc->hasUndoStep();
}

bool Workbench::hasRedoStep(DocumentKind kind) const
{
    const ListDocument *doc = listDocument(kind);
    return doc && doc->hasRedoStep();
}

} // namespace lexaloom
