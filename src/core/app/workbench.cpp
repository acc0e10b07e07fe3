#include "core/app/workbench.h"

#include <QDir>

#include <utility>

namespace lexaloom {

Workbench::Workbench(QString programFolder)
    : m_programFolder(std::move(programFolder))
{
    if (m_programFolder.isEmpty())
        m_programFolder = QDir::currentPath();
    if (!m_programFolder.endsWith(QLatin1Char('/')))
        m_programFolder += QLatin1Char('/');
}

ListDocument *Workbench::listDocument(DocumentKind kind)
{
    return const_cast<ListDocument *>(std::as_const(*this).listDocument(kind));
}

const ListDocument *Workbench::listDocument(DocumentKind kind) const
{
    switch (kind) {
    case DocumentKind::Dictionary:
        return &dictionary;
    case DocumentKind::Thesaurus:
        return &thesaurus;
    case DocumentKind::Autocorrect:
        return &autocorrect;
    case DocumentKind::Hyphenation:
    case DocumentKind::AutoText:
    case DocumentKind::LanguageTool:
        break;
    }
    return nullptr;
}

Workbench::PagedListSource Workbench::pagedListSource(DocumentKind kind)
{
    if (kind == DocumentKind::Hyphenation)
        return {&dictionary.entries, &hyphenation.selectedIndex};
    if (ListDocument *doc = listDocument(kind))
        return {&doc->entries, &doc->selectedIndex};
    return {};
}

const QString &Workbench::documentPath(DocumentKind kind) const
{
    if (const ListDocument *doc = listDocument(kind))
        return doc->path;
    switch (kind) {
    case DocumentKind::Hyphenation:
        return hyphenation.path;
    case DocumentKind::AutoText:
        return autotext.path;
    case DocumentKind::LanguageTool:
        return grammar.path;
    default:
        return dictionary.path;
    }
}

qint64 Workbench::entryCount(DocumentKind kind) const
{
    if (kind == DocumentKind::Hyphenation) // its list shows the dictionary's entries
        return dictionary.entries.size();
    if (const ListDocument *doc = listDocument(kind))
        return doc->entries.size();
    if (kind == DocumentKind::AutoText)
        return autotext.entries.size();
    return grammar.chunks.size();
}

bool Workbench::isChanged(DocumentKind kind) const
{
    if (kind == DocumentKind::Hyphenation)
        return hyphenation.changed;
    const ListDocument *doc = listDocument(kind);
    return doc && doc->changed;
}

bool Workbench::isEmpty(DocumentKind kind) const
{
    // The Hyphenation tab saves its pattern text, not the words its list shows.
    if (kind == DocumentKind::Hyphenation)
        return hyphenation.isEmpty();
    return entryCount(kind) == 0;
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
