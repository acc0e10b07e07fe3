#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <utility>

#include "core/shell/document_kind.h"
#include "core/shell/file_outcome.h"
#include "core/shell/ui.h"

namespace lexaloom {

class EntryStore;
struct ListDocument;

// What a tab shows while its file is read or written: `started` once the reading
// begins (the list empties), `tick` with the entries done so far on each refresh
// tick (the counter follows). Either may be empty.
struct FileProgress {
    std::function<void()> started;
    std::function<void(qint64 entries)> tick;
};

// A load as the shell sees it. `replaced` tells that the document now holds what was
// read: always when done, and for a kind that empties its document once the file is
// found (the LanguageTool outline) also after a stop; the view redraws when it is set.
struct DocumentLoadResult : FileResult {
    bool replaced = false;
};

// One document kind as File > Open, Save, Save As, Recent Files, the counters and
// the changed questions see it. Each subsystem implements it once over its document;
// the workbench holds one slot per kind in a table, and nothing above the slots
// switches over the kind for these questions.
class DocumentSlot {
public:
    explicit DocumentSlot(DocumentKind kind)
        : m_kind(kind)
    {
    }
    virtual ~DocumentSlot();
    DocumentSlot(const DocumentSlot &) = delete;
    DocumentSlot &operator=(const DocumentSlot &) = delete;

    DocumentKind kind() const { return m_kind; }
    // Which of the recent-files log's lists the kind keeps.
    int recentFilesList() const { return static_cast<int>(m_kind); }

    // The file the document was loaded from or saved to; empty before that.
    virtual const QString &path() const = 0;
    // True when the kind carries a changed flag and it is set.
    virtual bool isChanged() const = 0;
    // What the kind's counter counts.
    virtual qint64 entryCount() const = 0;
    // What File > Save would have nothing to write from.
    virtual bool isEmpty() const { return entryCount() == 0; }
    // The editable list document; null for the kinds without one.
    virtual const ListDocument *listDocument() const { return nullptr; }
    ListDocument *listDocument() { return const_cast<ListDocument *>(std::as_const(*this).listDocument()); }
    // The entries the kind's paged list shows and the focus within them; both null
    // for the kinds without a paged list.
    struct PagedListSource {
        EntryStore *entries = nullptr;
        qint64 *selectedIndex = nullptr;
        qint64 *scrollPosition = nullptr; // written by the view
    };
    virtual PagedListSource pagedListSource();
    // The read-only kinds are shown only: they have nothing to save.
    bool canSave() const { return !KindFacts(m_kind).readOnly; }

    // File > Open (the dialog when `path` is empty) and a recent file. The document
    // changes only as the kind's own load says.
    virtual DocumentLoadResult load(Ui &ui, const QString &path, const FileProgress &progress) = 0;
    // File > Save (true, false) and Save As (false, true); Cancelled for the read-only kinds.
    virtual FileResult save(Ui &ui, bool useCurrentName, bool askForName, const FileProgress &progress);

private:
    DocumentKind m_kind;
};

// The slot of a kind whose document is a ListDocument: path, changed flag and count
// come from the list.
class ListDocumentSlot : public DocumentSlot {
public:
    ListDocumentSlot(DocumentKind kind, ListDocument &document);

    const QString &path() const override;
    bool isChanged() const override;
    qint64 entryCount() const override;
    const ListDocument *listDocument() const override { return &m_document; }

protected:
    ListDocument &m_document;
};

// The start of File > Open on the kinds that read into a document of their own: the
// status text, the question before discarding changes and the open dialog.
struct ListLoadTexts {
    QString loadingStatus;
    QString changedQuestion;
    MessageIcon changedIcon = MessageIcon::Warning;
    QString openTitle;
    QString fileFilter;
};
// The path to read, or empty when the user said No or cancelled the dialog (the
// status then reads "Aborted.").
QString BeginLoadIntoNewDocument(Ui &ui, const ListLoadTexts &texts, bool changed, const QString &path);

// File > Open for a kind whose reader fills a new document: `read(path, loaded)`
// reads into a document of its own, which replaces `document` only when the whole
// load succeeded; on No, Cancel, abort or error the open one (entries, path, changed
// flag, undo) stays exactly as it was.
template <typename Document, typename Read>
auto LoadIntoNewDocument(Document &document, Ui &ui, const ListLoadTexts &texts, const QString &path, Read read)
    -> decltype(read(path, document))
{
    decltype(read(path, document)) result;
    result.path = BeginLoadIntoNewDocument(ui, texts, document.changed, path);
    if (result.path.isEmpty())
        return result;
    Document loaded;
    result = read(result.path, loaded);
    if (result.done())
        document = std::move(loaded);
    return result;
}

// The load as the shell sees it: replaced exactly when done.
template <typename KindResult> DocumentLoadResult AsLoadResult(const KindResult &result)
{
    DocumentLoadResult load;
    static_cast<FileResult &>(load) = result;
    load.replaced = result.done();
    return load;
}

} // namespace lexaloom
