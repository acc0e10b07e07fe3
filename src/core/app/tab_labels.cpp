#include "app/tab_labels.h"

#include "dictionary/dictionary_files.h"

#include <QFileInfo>

#include "app/workbench.h"
#include "shell/format.h"

namespace lexaloom {

namespace {

const QString notAvailable = QStringLiteral("n/a");

QString counterCaption(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Dictionary:
    case DocumentKind::Hyphenation:
        return QStringLiteral("# Words:");
    case DocumentKind::Thesaurus:
        return QStringLiteral("# Synonyms:");
    case DocumentKind::Autocorrect:
        return QStringLiteral("# Autocorrects:");
    case DocumentKind::AutoText:
        return QStringLiteral("# AutoTexts:");
    case DocumentKind::LanguageTool:
        return QStringLiteral("# Chunks:");
    }
    return {};
}

qint64 counterValue(const Workbench &wb, DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Dictionary:
    case DocumentKind::Hyphenation: // its list shows the dictionary's entries
        return wb.dictionary.entries.size();
    case DocumentKind::Thesaurus:
        return wb.thesaurus.entries.size();
    case DocumentKind::Autocorrect:
        return wb.autocorrect.entries.size();
    case DocumentKind::AutoText:
        return wb.autotext.entries.size();
    case DocumentKind::LanguageTool:
        return wb.grammar.chunks.size();
    }
    return 0;
}

const QString &documentPath(const Workbench &wb, DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Dictionary:
        return wb.dictionary.path;
    case DocumentKind::Thesaurus:
        return wb.thesaurus.path;
    case DocumentKind::Hyphenation:
        return wb.hyphenation.path;
    case DocumentKind::Autocorrect:
        return wb.autocorrect.path;
    case DocumentKind::AutoText:
        return wb.autotext.path;
    case DocumentKind::LanguageTool:
        return wb.grammar.path;
    }
    return wb.dictionary.path;
}

} // namespace

QString SelectedLabelText(qint64 marked, qint64 count)
{
    if (marked <= 0)
        return QStringLiteral("Selected:None");
    if (marked == count)
        return QStringLiteral("Selected:All");
    return QStringLiteral("Selected:") + QString::number(marked);
}

FileInfoTexts TabFileInfo(const Workbench &wb, DocumentKind kind)
{
    FileInfoTexts t;
    t.counter = counterCaption(kind) + FormatCount(counterValue(wb, kind), wb.settings.thousandsSeparator);
    t.changed = wb.isChanged(kind) ? QStringLiteral("*") : QString();
    const QString &path = documentPath(wb, kind);
    if (path.isEmpty()) {
        t.folder = notAvailable;
        t.file = notAvailable;
    } else {
        const QFileInfo info(path);
        t.folder = info.absolutePath();
        t.file = info.fileName();
    }
    if (kind == DocumentKind::Dictionary) {
        // The Dictionary's counter also tells the focused entry: "Word: [5/1,234]".
        const WordCounterView counter = RefreshWordCounter(wb.dictionary, wb.settings.thousandsSeparator);
        const DictionaryFileLabels labels = ShowDictionaryFileLabels(wb.dictionary);
        t.counter = counter.counter;
        t.changed = counter.marker;
        t.folder = labels.folder;
        t.file = labels.file;
    }
    switch (kind) {
    case DocumentKind::Dictionary:
        t.selected = SelectedLabelText(wb.dictionary.entries.markedCount(), wb.dictionary.entries.size());
        break;
    case DocumentKind::Thesaurus:
        t.selected = SelectedLabelText(wb.thesaurus.entries.markedCount(), wb.thesaurus.entries.size());
        break;
    case DocumentKind::Autocorrect:
        t.selected = SelectedLabelText(wb.autocorrect.entries.markedCount(), wb.autocorrect.entries.size());
        break;
    default:
        // Hyphenation shares the dictionary's marks but never counts them; AutoText and
        // LanguageTool have no marks of their own.
        t.selected = SelectedLabelText(0, 0);
        break;
    }
    return t;
}

QString HyphenationCountText(qint64 rows)
{
    return QStringLiteral("# Hyphenations:") + QString::number(rows);
}

QString RuleIdText(const QString &id)
{
    return QStringLiteral("Rule ID:") + (id.isEmpty() ? notAvailable : id);
}

QString RuleNameText(const QString &name)
{
    return QStringLiteral("Rule Name:") + (name.isEmpty() ? notAvailable : name);
}

QString TabCaption(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Dictionary:
        return QStringLiteral("Dictionary (*.dic + *.aff)");
    case DocumentKind::Thesaurus:
        return QStringLiteral("Thesaurus (*.dat)");
    case DocumentKind::Hyphenation:
        return QStringLiteral("Hyphenation (*.dic)");
    case DocumentKind::Autocorrect:
        return QStringLiteral("Autocorrect (DocumentList.xml)");
    case DocumentKind::AutoText:
        return QStringLiteral("AutoText (BlockList.xml)");
    case DocumentKind::LanguageTool:
        return QStringLiteral("LanguageTool (*.xml)");
    }
    return {};
}

} // namespace lexaloom
