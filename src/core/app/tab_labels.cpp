#include "core/app/tab_labels.h"

#include "core/autocorrect/autocorrect_files.h"
#include "core/dictionary/dictionary_files.h"
#include "core/thesaurus/thesaurus_editing.h"

#include <QFileInfo>

#include "core/app/workbench.h"
#include "core/shell/format.h"

namespace lexaloom {

namespace {

const QString notAvailable = QStringLiteral("n/a");

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
    t.counter = KindFacts(kind).counterCaption + FormatCount(wb.entryCount(kind), wb.settings.thousandsSeparator);
    t.changed = wb.isChanged(kind) ? QStringLiteral("*") : QString();
    const QString &path = wb.documentPath(kind);
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
    if (kind == DocumentKind::Thesaurus)
        t.counter = SynonymCounterText(wb.thesaurus, wb.settings.thousandsSeparator);
    if (kind == DocumentKind::Autocorrect) // "Autocorrect: [5/1,234]" while a row is focused
        t.counter = AutocorrectCounterText(wb.autocorrect, wb.settings.thousandsSeparator);
    // Hyphenation shares the dictionary's marks but never counts them; AutoText and
    // LanguageTool have no marks of their own.
    const ListDocument *doc = wb.listDocument(kind);
    t.selected = doc ? SelectedLabelText(doc->entries.markedCount(), doc->entries.size()) : SelectedLabelText(0, 0);
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
    return KindFacts(kind).tabCaption;
}

} // namespace lexaloom
