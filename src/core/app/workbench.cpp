#include "app/workbench.h"

#include <QDir>

namespace lexaloom {

Workbench::Workbench(QString programFolder)
    : m_programFolder(std::move(programFolder))
{
    if (m_programFolder.isEmpty())
        m_programFolder = QDir::currentPath();
    if (!m_programFolder.endsWith(QLatin1Char('/')))
        m_programFolder += QLatin1Char('/');
}

bool Workbench::isChanged(DocumentKind kind) const
{
    switch (kind) {
    case DocumentKind::Dictionary:
        return dictionary.changed;
    case DocumentKind::Thesaurus:
        return thesaurus.changed;
    case DocumentKind::Hyphenation:
        return hyphenation.changed;
    case DocumentKind::Autocorrect:
        return autocorrect.changed;
    case DocumentKind::AutoText:
    case DocumentKind::LanguageTool:
        return false;
    }
    return false;
}

bool Workbench::isEmpty(DocumentKind kind) const
{
    switch (kind) {
    case DocumentKind::Dictionary:
        return dictionary.entries.isEmpty();
    case DocumentKind::Thesaurus:
        return thesaurus.entries.isEmpty();
    case DocumentKind::Hyphenation:
        return hyphenation.isEmpty();
    case DocumentKind::Autocorrect:
        return autocorrect.entries.isEmpty();
    case DocumentKind::AutoText:
        return autotext.entries.isEmpty();
    case DocumentKind::LanguageTool:
        return grammar.chunks.isEmpty();
    }
    return true;
}

bool Workbench::hasUndoStep(DocumentKind kind) const
{
    switch (kind) {
    case DocumentKind::Dictionary:
        return dictionary.hasUndoStep();
    case DocumentKind::Thesaurus:
        return thesaurus.hasUndoStep();
    case DocumentKind::Autocorrect:
        return autocorrect.hasUndoStep();
    default:
        return false;
    }
}

bool Workbench::hasRedoStep(DocumentKind kind) const
{
    switch (kind) {
    case DocumentKind::Dictionary:
        return dictionary.hasRedoStep();
    case DocumentKind::Thesaurus:
        return thesaurus.hasRedoStep();
    case DocumentKind::Autocorrect:
        return autocorrect.hasRedoStep();
    default:
        return false;
    }
}

} // namespace lexaloom
