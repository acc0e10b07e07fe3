#include "core/shell/list_document.h"

#include <QStringList>

#include "core/app/workbench.h"

#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// "a*" is a marked entry "a".
void fill(ListDocument &doc, std::initializer_list<const char *> entries)
{
    for (const char *e : entries) {
        QString text = QString::fromUtf8(e);
        const bool marked = text.endsWith(QLatin1Char('*'));
        if (marked)
            text.chop(1);
        doc.entries.append(text);
        doc.entries.setMarked(doc.entries.size() - 1, marked);
    }
}

QStringList shownOf(const ListDocument &doc)
{
    QStringList out;
    for (qint64 i = 0; i < doc.entries.size(); ++i)
        out << doc.entries.at(i) + (doc.entries.isMarked(i) ? QStringLiteral("*") : QString());
    return out;
}

} // namespace

TEST(ListDocumentTest, UndoAndRedoKeepEntriesMarksSelectionAndScrollOnEveryKind)
{
    struct Case {
        DocumentKind kind;
        std::initializer_list<const char *> entries;
        bool fromTool;
    };
    const Case cases[] = {
        {DocumentKind::Dictionary, {"a/S*", "b\npo:noun", "c*", "d"}, false},
        {DocumentKind::Thesaurus,
         {"cat|1\n(noun)|feline*", "dog|1\n(noun)|hound", "cow|1\n(noun)|kine*", "ant|1"},
         true},
        {DocumentKind::Autocorrect, {"teh\nthe*", "adn\nand", "recieve\nreceive*", "wich\nwhich"}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Workbench wb;
        ListDocument &doc = *wb.listDocument(c.kind);
        fill(doc, c.entries);
        doc.selectedIndex = 3;
        const QStringList before = shownOf(doc);

        // A tool deletes the ticked entries and moves the focus; the list was scrolled to 2.
        doc.scrollPosition = 2;
        TakeUndoSnapshot(doc, c.fromTool);
        EXPECT_TRUE(doc.hasUndoStep());
        EXPECT_FALSE(doc.hasRedoStep());
        EXPECT_EQ(doc.entries.removeMarked(), 2);
        doc.selectedIndex = 0;
        doc.changed = true;
        const QStringList after = shownOf(doc);

        doc.scrollPosition = 9;
        EXPECT_EQ(UndoListChange(doc), std::optional<qint64>(2));
        EXPECT_EQ(shownOf(doc), before);
        EXPECT_EQ(doc.entries.markedCount(), 2);
        EXPECT_EQ(doc.selectedIndex, 3);
        EXPECT_TRUE(doc.changed) << "undo leaves the changed flag alone";
        EXPECT_FALSE(doc.hasUndoStep());
        EXPECT_TRUE(doc.hasRedoStep());
        EXPECT_TRUE(wb.hasRedoStep(c.kind));
        EXPECT_EQ(UndoListChange(doc), std::nullopt) << "one step only";

        doc.scrollPosition = 5;
        EXPECT_EQ(RedoListChange(doc), std::optional<qint64>(9));
        EXPECT_EQ(shownOf(doc), after);
        EXPECT_EQ(doc.entries.markedCount(), 0);
        EXPECT_EQ(doc.selectedIndex, 0);
        EXPECT_TRUE(doc.hasUndoStep());
        EXPECT_FALSE(doc.hasRedoStep());
        EXPECT_EQ(RedoListChange(doc), std::nullopt);

        // Redo armed an undo of its own: back to the full list, scrolled where it was.
        EXPECT_EQ(UndoListChange(doc), std::optional<qint64>(5));
        EXPECT_EQ(shownOf(doc), before);

        // Erase and undo it: every entry comes back.
        TakeUndoSnapshot(doc, true);
        doc.entries.clear();
        doc.selectedIndex = -1;
        ASSERT_TRUE(UndoListChange(doc));
        EXPECT_EQ(shownOf(doc), before);
        EXPECT_EQ(doc.selectedIndex, 3);
        ASSERT_TRUE(RedoListChange(doc));
        EXPECT_TRUE(doc.entries.isEmpty());
        EXPECT_EQ(doc.selectedIndex, -1);

        doc.clearHistory();
        EXPECT_FALSE(wb.hasUndoStep(c.kind));
        EXPECT_FALSE(wb.hasRedoStep(c.kind));
    }
}

TEST(ListDocumentTest, DeleteSpeaksInTheListsOwnWords)
{
    const ListEntryTexts texts{QStringLiteral("No synonyms found."), QStringLiteral("No synonym selected."),
                               QStringLiteral("Really delete synonym?\n\"")};
    const auto headLine = [](QStringView entry) { return entry.left(entry.indexOf(u'\n')).toString(); };
    struct Case {
        const char *name;
        std::initializer_list<const char *> entries;
        qint64 selected;
        bool silent;
        std::vector<bool> answers;
        int result;
        QStringList messages;
        QStringList after;
    };
    const Case cases[] = {
        {"empty", {}, -1, false, {}, 0, {"No synonyms found."}, {}},
        {"empty, silent", {}, -1, true, {}, 0, {"No synonyms found."}, {}},
        {"no selection", {"cat|1\nfeline"}, -1, false, {}, 0, {"No synonym selected."}, {"cat|1\nfeline"}},
        {"no selection, silent", {"cat|1\nfeline"}, -1, true, {}, 0, {}, {"cat|1\nfeline"}},
        {"selection past the end", {"cat|1\nfeline"}, 1, false, {}, 0, {"No synonym selected."}, {"cat|1\nfeline"}},
        {"answered No",
         {"cat|1\nfeline", "dog|1\nhound*"},
         1,
         false,
         {false},
         0,
         {"Really delete synonym?\n\"dog|1\""},
         {"cat|1\nfeline", "dog|1\nhound*"}},
        {"answered Yes",
         {"cat|1\nfeline*", "dog|1\nhound*", "ant|1\nemmet"},
         1,
         false,
         {true},
         1,
         {"Really delete synonym?\n\"dog|1\""},
         {"cat|1\nfeline*", "ant|1\nemmet"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ListDocument doc;
        fill(doc, c.entries);
        doc.selectedIndex = c.selected;
        ScriptedUi ui;
        ui.answers.assign(c.answers.begin(), c.answers.end());
        doc.scrollPosition = 4;
        EXPECT_EQ(DeleteListEntry(doc, ui, texts, headLine, c.silent), c.result);
        EXPECT_EQ(ui.messageTexts(), c.messages);
        for (const auto &m : ui.messages)
            EXPECT_EQ(m.title, QStringLiteral("Warning!"));
        EXPECT_EQ(shownOf(doc), c.after);
        EXPECT_EQ(doc.changed, c.result == 1);
        EXPECT_EQ(doc.hasUndoStep(), c.result == 1);
        if (c.result == 1) {
            EXPECT_EQ(doc.selectedIndex, -1);
            EXPECT_EQ(doc.entries.markedCount(), 1);
            EXPECT_EQ(UndoListChange(doc), std::optional<qint64>(4));
            EXPECT_EQ(doc.selectedIndex, c.selected);
            EXPECT_EQ(doc.entries.markedCount(), 2);
        }
    }
}

TEST(ListDocumentTest, WorkbenchFindsEachKindsList)
{
    Workbench wb;
    EXPECT_EQ(wb.listDocument(DocumentKind::Dictionary), &wb.dictionary);
    EXPECT_EQ(wb.listDocument(DocumentKind::Thesaurus), &wb.thesaurus);
    EXPECT_EQ(wb.listDocument(DocumentKind::Autocorrect), &wb.autocorrect);
    for (DocumentKind kind : {DocumentKind::Hyphenation, DocumentKind::AutoText, DocumentKind::LanguageTool})
        EXPECT_EQ(wb.listDocument(kind), nullptr);

    // The Hyphenation tab lists the dictionary's entries but keeps its own focus.
    const Workbench::PagedListSource hyphenation = wb.pagedListSource(DocumentKind::Hyphenation);
    EXPECT_EQ(hyphenation.entries, &wb.dictionary.entries);
    EXPECT_EQ(hyphenation.selectedIndex, &wb.hyphenation.selectedIndex);
    for (DocumentKind kind : allDocumentKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        const Workbench::PagedListSource source = wb.pagedListSource(kind);
        EXPECT_EQ(source.entries != nullptr, KindFacts(kind).pagedList);
        if (ListDocument *doc = wb.listDocument(kind)) {
            EXPECT_EQ(source.entries, &doc->entries);
            EXPECT_EQ(source.selectedIndex, &doc->selectedIndex);
        }
    }
}
