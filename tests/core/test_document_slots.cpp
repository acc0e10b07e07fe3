#include "core/app/document_files.h"
#include "core/app/workbench.h"
#include "core/shell/list_document.h"

#include <QTemporaryDir>

#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// Gives every kind's document a path of its own and one entry where it counts them.
void fill(Workbench &wb, const QString &prefix)
{
    wb.dictionary.path = prefix + QStringLiteral("d.dic");
    wb.dictionary.entries.append(QStringLiteral("word"));
    wb.thesaurus.path = prefix + QStringLiteral("t.dat");
    wb.hyphenation.path = prefix + QStringLiteral("h.dic");
    wb.hyphenation.changed = true;
    wb.autocorrect.path = prefix + QStringLiteral("a.xml");
    wb.autocorrect.changed = true;
    wb.autotext.path = prefix + QStringLiteral("BlockList.xml");
    wb.grammar.path = prefix + QStringLiteral("grammar.xml");
}

} // namespace

// The slots point at the documents of their own workbench: a copy answers for its
// documents, not for the ones it was copied from.
TEST(DocumentSlotsTest, CopiesAnswerForTheirOwnDocuments)
{
    Workbench original(QStringLiteral("/tmp"));
    fill(original, QStringLiteral("/old/"));
    Workbench copied(original);
    Workbench assigned(QStringLiteral("/tmp"));
    assigned = original;
    fill(original, QStringLiteral("/new/"));
    original.dictionary.entries.append(QStringLiteral("more"));
    for (Workbench *wb : {&copied, &assigned}) {
        for (DocumentKind kind : allDocumentKinds) {
            SCOPED_TRACE(static_cast<int>(kind));
            EXPECT_TRUE(wb->documentPath(kind).startsWith(QStringLiteral("/old/")));
            EXPECT_EQ(wb->slot(kind).kind(), kind);
            if (const ListDocument *doc = wb->listDocument(kind))
                EXPECT_EQ(&wb->documentPath(kind), &doc->path);
        }
        EXPECT_EQ(wb->listDocument(DocumentKind::Dictionary), &wb->dictionary);
        EXPECT_EQ(wb->pagedListSource(DocumentKind::Hyphenation).entries, &wb->dictionary.entries);
        EXPECT_EQ(wb->entryCount(DocumentKind::Hyphenation), 1);
        EXPECT_TRUE(wb->isChanged(DocumentKind::Hyphenation));
        EXPECT_TRUE(wb->isChanged(DocumentKind::Autocorrect));
        EXPECT_FALSE(wb->isChanged(DocumentKind::Dictionary));
    }
}

// Open, Save and the recent files run through the kind's slot; the kinds shown only
// have nothing to save and record nothing.
TEST(DocumentSlotsTest, ReadOnlyKindsSaveNothing)
{
    QTemporaryDir dir;
    Workbench wb(dir.path());
    ScriptedUi ui;
    for (DocumentKind kind : allDocumentKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        EXPECT_EQ(wb.slot(kind).canSave(), !KindFacts(kind).readOnly);
        if (KindFacts(kind).readOnly) {
            EXPECT_EQ(SaveDocumentFile(wb, kind, ui, false, true).outcome, FileOutcome::Cancelled);
            EXPECT_TRUE(ui.dialogTitles.isEmpty());
            EXPECT_TRUE(ui.messages.isEmpty());
        }
        EXPECT_TRUE(RecentDocumentPath(wb, kind, 0).isEmpty());
    }
}
