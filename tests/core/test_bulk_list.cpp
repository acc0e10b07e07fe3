// The lists' bulk actions (marks, Delete Selected, Clone), the Dictionary's Erase
// and Sort, and Fix invalid spaces.
#include "core/dictionary/dictionary_bulk.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/fix_invalid_spaces.h"
#include "core/hyphenation/hyphenation_document.h"
#include "core/hyphenation/result_copy.h"
#include "core/shell/list_selection.h"
#include "core/shell/settings.h"

#include <QStringList>

#include "core/app/workbench.h"

#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// "a*" is a marked entry "a".
void fill(ListDocument &doc, const QStringList &entries)
{
    doc.entries.clear();
    for (QString text : entries) {
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

// Escape on the `nth` look at the events while the status text starts with `stage`,
// the clock moving a second each time.
void escapeAt(ScriptedUi &ui, const QString &stage, int nth = 1)
{
    ui.answers.push_back(true); // "Really abort?"
    auto seen = std::make_shared<int>(0);
    ui.onProcessEvents = [stage, seen, nth](ScriptedUi &u) {
        u.fakeClock.advance(1000);
        if (u.statusText().startsWith(stage) && ++*seen == nth)
            u.pressEscape();
    };
}

} // namespace

TEST(BulkListTest, MarkCommandsOnEveryList)
{
    struct Case {
        const char *name;
        QStringList entries;
        MarkAction action;
        QStringList want;
        QStringList messages;
    };
    const Case cases[] = {
        {"all", {"a", "b*", "c"}, MarkAction::All, {"a*", "b*", "c*"}, {}},
        {"none", {"a*", "b*", "c"}, MarkAction::None, {"a", "b", "c"}, {}},
        {"invert 2 of 5", {"a*", "b", "c*", "d", "e"}, MarkAction::Invert, {"a", "b*", "c", "d*", "e*"}, {}},
        {"empty", {}, MarkAction::Invert, {}, {"%1"}},
    };
    for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Thesaurus, DocumentKind::Autocorrect}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            Workbench wb;
            ListDocument &doc = *wb.listDocument(kind);
            fill(doc, c.entries);
            ScriptedUi ui;
            const bool acted = ChangeAllMarks(doc, ui, BulkTextsOf(kind), c.action);
            EXPECT_EQ(acted, c.messages.isEmpty());
            EXPECT_EQ(shownOf(doc), c.want);
            EXPECT_EQ(doc.entries.markedCount(), c.want.filter(QStringLiteral("*")).size());
            QStringList messages;
            for (const QString &m : c.messages)
                messages << m.arg(BulkTextsOf(kind).noEntries);
            EXPECT_EQ(ui.messageTexts(), messages);
            EXPECT_FALSE(doc.changed);
            EXPECT_FALSE(doc.hasUndoStep());
        }
    }
    EXPECT_EQ(BulkTextsOf(DocumentKind::Autocorrect).noEntries, QStringLiteral("No autocorrect words found."));
    EXPECT_EQ(BulkTextsOf(DocumentKind::Thesaurus).nothingMarked, QStringLiteral("No selected synonyms found."));
}

TEST(BulkListTest, DeleteSelected)
{
    struct Case {
        const char *name;
        DocumentKind kind;
        QStringList entries;
        std::deque<bool> answers;
        QStringList messages;
        QStringList want;
    };
    const Case cases[] = {
        {"one", DocumentKind::Dictionary, {"a", "b*", "c"}, {true}, {"Really delete 1 dictionary word?"}, {"a", "c"}},
        {"two", DocumentKind::Dictionary, {"a*", "b*", "c"}, {true}, {"Really delete 2 dictionary words?"}, {"c"}},
        {"three synonyms",
         DocumentKind::Thesaurus,
         {"a|0*", "b|0*", "c|0*", "d|0"},
         {true},
         {"Really delete 3 synonyms?"},
         {"d|0"}},
        {"all", DocumentKind::Autocorrect, {"a\nb*", "c\nd*"}, {true}, {"Really delete 2 autocorrect words?"}, {}},
        {"No",
         DocumentKind::Autocorrect,
         {"a\nb*", "c\nd"},
         {false},
         {"Really delete 1 autocorrect word?"},
         {"a\nb*", "c\nd"}},
        {"nothing marked",
         DocumentKind::Thesaurus,
         {"a|0", "b|0"},
         {},
         {"No selected synonyms found."},
         {"a|0", "b|0"}},
        {"empty", DocumentKind::Dictionary, {}, {}, {"No dictionary words found."}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Workbench wb;
        ListDocument &doc = *wb.listDocument(c.kind);
        fill(doc, c.entries);
        doc.selectedIndex = 0;
        const QStringList before = shownOf(doc);
        ScriptedUi ui;
        ui.answers = c.answers;
        doc.scrollPosition = 4;
        const bool deleted = DeleteMarked(doc, ui, BulkTextsOf(c.kind));
        EXPECT_EQ(ui.messageTexts(), c.messages);
        for (const ScriptedUi::Message &m : ui.messages) {
            EXPECT_EQ(m.title, QStringLiteral("Warning!"));
            EXPECT_EQ(m.icon, MessageIcon::Warning);
        }
        EXPECT_EQ(shownOf(doc), c.want);
        EXPECT_EQ(doc.changed, deleted);
        EXPECT_EQ(doc.hasUndoStep(), deleted);
        if (deleted) {
            EXPECT_EQ(doc.selectedIndex, -1);
            EXPECT_EQ(doc.entries.markedCount(), 0);
            EXPECT_EQ(UndoListChange(doc), std::optional<qint64>(4));
            EXPECT_EQ(shownOf(doc), before);
        }
    }
}

TEST(BulkListTest, CloneAppendsAnUnmarkedCopyAndKeepsTheFocus)
{
    struct Case {
        const char *name;
        QStringList entries;
        qint64 selected;
        QStringList messages;
        QStringList want;
    };
    const Case cases[] = {
        {"focused", {"teh\nthe*", "adn\nand"}, 0, {}, {"teh\nthe*", "adn\nand", "teh\nthe"}},
        {"no focus", {"teh\nthe"}, -1, {"No autocorrect word selected."}, {"teh\nthe"}},
        {"empty", {}, -1, {"No autocorrect words found."}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Workbench wb;
        ListDocument &doc = wb.autocorrect;
        fill(doc, c.entries);
        doc.selectedIndex = c.selected;
        ScriptedUi ui;
        EXPECT_EQ(CloneListEntry(doc, ui, BulkTextsOf(DocumentKind::Autocorrect)), c.messages.isEmpty());
        EXPECT_EQ(ui.messageTexts(), c.messages);
        EXPECT_EQ(shownOf(doc), c.want);
        EXPECT_EQ(doc.selectedIndex, c.selected);
        EXPECT_EQ(doc.changed, c.messages.isEmpty());
    }
}

TEST(BulkListTest, EraseDictionary)
{
    struct Case {
        const char *name;
        QStringList entries;
        bool changed;
        std::deque<bool> answers;
        QStringList messages;
        bool erased;
    };
    const QString changedQ = QStringLiteral("The Dictionary has been changed.\n\nContinue?");
    const QString reallyQ = QStringLiteral("Really delete all dictionary words?");
    const Case cases[] = {
        {"unchanged", {"a*", "b"}, false, {true}, {reallyQ}, true},
        {"changed", {"a", "b"}, true, {true, true}, {changedQ, reallyQ}, true},
        {"changed, No", {"a", "b"}, true, {false}, {changedQ}, false},
        {"No", {"a", "b"}, false, {false}, {reallyQ}, false},
        {"empty", {}, false, {}, {"No dictionary words found."}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DictionaryDocument doc;
        fill(doc, c.entries);
        doc.changed = c.changed;
        doc.path = QStringLiteral("/d/en.dic");
        doc.affText = QStringLiteral("SET UTF-8\n");
        doc.selectedIndex = 1;
        ScriptedUi ui;
        ui.answers = c.answers;
        EXPECT_EQ(EraseDictionary(doc, ui), c.erased);
        EXPECT_EQ(ui.messageTexts(), c.messages);
        if (c.changed) {
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
        }
        EXPECT_EQ(doc.affText, QStringLiteral("SET UTF-8\n"));
        if (c.erased) {
            EXPECT_TRUE(doc.entries.isEmpty());
            EXPECT_EQ(doc.entries.markedCount(), 0);
            EXPECT_TRUE(doc.path.isEmpty());
            EXPECT_FALSE(doc.changed);
            EXPECT_EQ(doc.selectedIndex, -1);
            EXPECT_EQ(ui.statuses, QStringList({"Erasing...", "OK."}));
            ASSERT_TRUE(UndoDictionary(doc));
            EXPECT_EQ(shownOf(doc), c.entries);
        } else {
            EXPECT_EQ(shownOf(doc), c.entries);
            EXPECT_EQ(ui.statusText(), c.entries.isEmpty() ? QStringLiteral("Aborted.") : QString());
        }
    }
}

TEST(BulkListTest, SortDictionaryFoldsAccentsAndClearsMarks)
{
    struct Case {
        const char *name;
        QStringList entries;
        QStringList want;
    };
    const Case cases[] = {
        {"accents folded, then code units", {"f", "\u00C9/S*", "e"}, {"e", "\u00C9/S", "f"}},
        {"tags take part", {"b\npo:verb", "a/S\nst:z", "a/S\nst:a"}, {"a/S\nst:a", "a/S\nst:z", "b\npo:verb"}},
        {"equal keys keep their order", {"Ab", "ab", "AB"}, {"Ab", "ab", "AB"}},
        {"apostrophe before letters", {"ox", "o'x"}, {"o'x", "ox"}},
    };
    MainSettings settings;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DictionaryDocument doc;
        fill(doc, c.entries);
        doc.selectedIndex = 0;
        ScriptedUi ui;
        EXPECT_TRUE(SortDictionary(doc, settings, ui));
        EXPECT_EQ(shownOf(doc), c.want);
        EXPECT_EQ(doc.entries.markedCount(), 0);
        EXPECT_EQ(doc.selectedIndex, -1);
        EXPECT_TRUE(doc.changed);
        EXPECT_TRUE(ui.statusText().startsWith(QStringLiteral("OK."))) << qPrintable(ui.statusText());
        EXPECT_EQ(ui.statuses.first(), QStringLiteral("Sorting Dictionary..."));
    }

    DictionaryDocument empty;
    ScriptedUi ui;
    EXPECT_FALSE(SortDictionary(empty, settings, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No dictionary words found.")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_FALSE(empty.hasUndoStep());
}

// Escape in each pass: the entries are never lost or doubled, a write-back cut short
// leaves a partly sorted list, and Undo brings the old order back.
TEST(BulkListTest, AbortedDictionarySort)
{
    QStringList entries;
    for (int i = 3000; i > 0; --i)
        entries.append(QStringLiteral("w%1").arg(i, 5, 10, QLatin1Char('0')));
    QStringList sortedEntries = entries;
    sortedEntries.sort();
    MainSettings settings;
    for (const QString &stage : {QStringLiteral("Removing accents"), QStringLiteral("Populating")}) {
        SCOPED_TRACE(qPrintable(stage));
        DictionaryDocument doc;
        fill(doc, entries);
        ScriptedUi ui;
        escapeAt(ui, stage);
        doc.scrollPosition = 7;
        SortDictionary(doc, settings, ui);
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
        const QStringList after = shownOf(doc);
        QStringList asSet = after;
        asSet.sort();
        EXPECT_EQ(asSet, sortedEntries) << "every entry once";
        if (stage == QStringLiteral("Populating")) {
            EXPECT_NE(after, entries);
            EXPECT_NE(after, sortedEntries);
            // The written part is in the new order, the rest in the old one.
            qsizetype written = 0;
            while (written < after.size() && after[written] == sortedEntries[written])
                ++written;
            EXPECT_GT(written, 0);
            QStringList rest = after.mid(written);
            QStringList restInOldOrder = rest;
            std::sort(restInOldOrder.begin(), restInOldOrder.end(), std::greater<>());
            EXPECT_EQ(rest, restInOldOrder);
        } else {
            EXPECT_EQ(after, entries);
        }
        EXPECT_TRUE(doc.changed);
        EXPECT_EQ(UndoDictionary(doc), std::optional<qint64>(7));
        EXPECT_EQ(shownOf(doc), entries);
    }
}

TEST(BulkListTest, ClearAffPane)
{
    const struct {
        const char *name;
        QString aff;
        std::deque<bool> answers;
        QStringList messages;
        bool cleared;
    } cases[] = {
        {"empty pane asks nothing", QString(), {}, {}, true},
        {"Yes", QStringLiteral("SET UTF-8"), {true}, {"The .AFF has contents.\n\nContinue?"}, true},
        {"No", QStringLiteral("SET UTF-8"), {false}, {"The .AFF has contents.\n\nContinue?"}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DictionaryDocument doc;
        doc.affText = c.aff;
        ScriptedUi ui;
        ui.answers = c.answers;
        EXPECT_EQ(ClearAffText(doc, ui), c.cleared);
        EXPECT_EQ(ui.messageTexts(), c.messages);
        EXPECT_EQ(doc.changed, c.cleared);
        EXPECT_EQ(doc.affText.isEmpty(), c.cleared || c.aff.isEmpty());
    }
}

TEST(FixInvalidSpacesTest, TwoPasses)
{
    struct Case {
        const char *name;
        QStringList entries;
        FixSpacesOutcome outcome;
        QStringList want;
        QStringList messages;
        QString status;
    };
    const Case cases[] = {
        {"runs shrink, ends trimmed, tags untouched",
         {"  walk  /GD\npo:verb  x", "ok", " a  b "},
         FixSpacesOutcome::Fixed,
         {"walk /GD\npo:verb  x", "ok", "a b"},
         {},
         "Fixed words:2"},
        {"tabs are not touched", {"a\tb", " c\t "}, FixSpacesOutcome::Fixed, {"a\tb", "c\t"}, {}, "Fixed words:1"},
        {"nothing to fix",
         {"a b", "c\n d"},
         FixSpacesOutcome::NothingToFix,
         {"a b", "c\n d"},
         {"No spaces to fix found!"},
         "OK."},
        {"empty line stops",
         {" a", "", "b"},
         FixSpacesOutcome::NullWord,
         {" a", "", "b"},
         {},
         "Null word at Line:2! Aborted."},
        {"only spaces stops",
         {"a", "b", "   \ntag"},
         FixSpacesOutcome::NullWord,
         {"a", "b", "   \ntag"},
         {},
         "Null word at Line:3! Aborted."},
        {"no entries", {}, FixSpacesOutcome::NoEntries, {}, {"No dictionary words found."}, "Aborted."},
    };
    MainSettings settings;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DictionaryDocument doc;
        fill(doc, c.entries);
        ScriptedUi ui;
        const FixSpacesResult result = FixInvalidSpaces(doc, settings, ui);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(shownOf(doc), c.want);
        EXPECT_EQ(ui.messageTexts(), c.messages);
        EXPECT_EQ(ui.statusText(), c.status);
        EXPECT_EQ(doc.changed, c.outcome == FixSpacesOutcome::Fixed);
        EXPECT_EQ(doc.hasUndoStep(), c.outcome == FixSpacesOutcome::Fixed);
        if (c.outcome == FixSpacesOutcome::Fixed) {
            // A second run finds nothing; Undo brings the spaces back.
            ScriptedUi again;
            EXPECT_EQ(FixInvalidSpaces(doc, settings, again).outcome, FixSpacesOutcome::NothingToFix);
            ASSERT_TRUE(UndoDictionary(doc));
            EXPECT_EQ(shownOf(doc), c.entries);
        }
    }
}

TEST(FixInvalidSpacesTest, EscapeInEachPass)
{
    QStringList entries;
    for (int i = 0; i < 3000; ++i)
        entries.append(QStringLiteral(" w%1").arg(i));
    MainSettings settings;
    for (const QString &stage : {QStringLiteral("Processing Wordlist"), QStringLiteral("Fixing spaces")}) {
        SCOPED_TRACE(qPrintable(stage));
        DictionaryDocument doc;
        fill(doc, entries);
        ScriptedUi ui;
        escapeAt(ui, stage, 3);
        const FixSpacesResult result = FixInvalidSpaces(doc, settings, ui);
        EXPECT_EQ(result.outcome, FixSpacesOutcome::Aborted);
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
        const bool second = stage == QStringLiteral("Fixing spaces");
        EXPECT_EQ(doc.changed, second);
        EXPECT_EQ(doc.entries.at(0), second ? QStringLiteral("w0") : QStringLiteral(" w0"));
        EXPECT_EQ(doc.entries.at(2999), QStringLiteral(" w2999")) << "the rest is as it was";
        EXPECT_EQ(doc.hasUndoStep(), second);
    }
}

TEST(HyphenationResultCopyTest, CopyCommands)
{
    const QList<HyphenationRow> rows{{QStringLiteral("walked"), QStringLiteral("D"), QStringLiteral("1: 0 ed [^y]")},
                                     {QStringLiteral("walk"), QString(), QString()}};
    const struct {
        const char *name;
        QList<HyphenationRow> rows;
        int row;
        ResultCopy what;
        QString clipboard;
        QString message;
    } cases[] = {
        {"word", rows, 1, ResultCopy::Word, "walk", ""},
        {"rule", rows, 0, ResultCopy::Rule, "1: 0 ed [^y]", ""},
        {"word and rule", rows, 0, ResultCopy::WordAndRule, "walked\u21921: 0 ed [^y]", ""},
        {"empty rule", rows, 1, ResultCopy::WordAndRule, "", "No rule found."},
        {"empty rule, rule", rows, 1, ResultCopy::Rule, "", "No rule found."},
        {"no selection", rows, -1, ResultCopy::Word, "", "No word selected."},
        {"no rows", {}, -1, ResultCopy::Word, "", "No words found."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedUi ui;
        EXPECT_EQ(CopyHyphenationResult(c.rows, c.row, c.what, ui), c.message.isEmpty());
        EXPECT_EQ(ui.clipboard, c.clipboard);
        EXPECT_EQ(ui.messageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }
}
