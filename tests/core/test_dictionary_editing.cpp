#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/dictionary_files.h"

#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

DictionaryDocument documentOf(std::initializer_list<const char16_t *> entries)
{
    DictionaryDocument doc;
    for (const char16_t *e : entries)
        doc.entries.append(e);
    return doc;
}

QStringList textsOf(const DictionaryDocument &doc)
{
    QStringList out;
    for (qint64 i = 0; i < doc.entries.size(); ++i)
        out << doc.entries.at(i);
    return out;
}

// An editor that returns scripted texts and records how it was opened.
struct FakeEditor {
    std::optional<WordEditorTexts> answer;
    std::optional<WordEditorTexts> openedWith;
    std::optional<WordEditorMode> openedAs;

    OpenWordEditor callback()
    {
        return [this](WordEditorMode mode, const WordEditorTexts &initial) {
            openedAs = mode;
            openedWith = initial;
            return answer;
        };
    }
};

} // namespace

TEST(DictionaryEditing, UndoAfterDeleteRestoresEntryMarkSelectionAndScroll)
{
    ScriptedUi ui;
    DictionaryDocument doc = documentOf({u"a", u"b/S\npo:noun", u"c"});
    doc.entries.setMarked(1, true);
    doc.selectedIndex = 1;
    ui.answers = {true};
    doc.scrollPosition = 7;
    EXPECT_EQ(DeleteWord(doc, ui), 1);
    EXPECT_EQ(ui.messages.value(0).text, QStringLiteral("Really delete dictionary word?\n\"b/S po:noun\""));
    EXPECT_EQ(ui.messages.value(0).title, QStringLiteral("Warning!"));
    EXPECT_EQ(textsOf(doc), QStringList({"a", "c"}));
    EXPECT_EQ(doc.entries.markedCount(), 0);
    EXPECT_EQ(doc.selectedIndex, -1);
    EXPECT_TRUE(doc.changed);
    EXPECT_TRUE(doc.hasUndoStep());
    EXPECT_FALSE(doc.hasRedoStep());

    doc.changed = false;
    doc.scrollPosition = 0;
    EXPECT_EQ(UndoDictionary(doc), std::optional<qint64>(7));
    EXPECT_EQ(textsOf(doc), QStringList({"a", "b/S\npo:noun", "c"}));
    EXPECT_TRUE(doc.entries.isMarked(1));
    EXPECT_EQ(doc.entries.markedCount(), 1);
    EXPECT_EQ(doc.selectedIndex, 1);
    EXPECT_FALSE(doc.changed) << "undo leaves the changed flag alone";
    EXPECT_FALSE(doc.hasUndoStep());
    EXPECT_TRUE(doc.hasRedoStep());
    EXPECT_EQ(UndoDictionary(doc), std::nullopt);

    doc.scrollPosition = 3;
    EXPECT_EQ(RedoDictionary(doc), std::optional<qint64>(0));
    EXPECT_EQ(textsOf(doc), QStringList({"a", "c"}));
    EXPECT_TRUE(doc.hasUndoStep());
    EXPECT_FALSE(doc.hasRedoStep());

    // A new change replaces the one level: undo goes back only to before it.
    doc.selectedIndex = 0;
    EXPECT_TRUE(CloneWord(doc, ui));
    EXPECT_EQ(textsOf(doc), QStringList({"a", "c", "a"}));
    ASSERT_TRUE(UndoDictionary(doc));
    EXPECT_EQ(textsOf(doc), QStringList({"a", "c"}));
    EXPECT_FALSE(UndoDictionary(doc));
}

TEST(DictionaryEditing, RefusalsChangeNothing)
{
    struct Case {
        const char *name;
        bool empty;
        qint64 selected;
        const char *message;
    };
    const Case cases[] = {
        {"empty dictionary", true, -1, "No dictionary words found."},
        {"no selection", false, -1, "No dictionary word selected."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DictionaryDocument doc = c.empty ? DictionaryDocument() : documentOf({u"a"});
        doc.selectedIndex = c.selected;
        const QStringList before = textsOf(doc);
        ScriptedUi ui;
        FakeEditor editor;
        editor.answer = WordEditorTexts{QStringLiteral("x"), QString()};
        EXPECT_FALSE(EditWord(doc, ui, editor.callback()));
        EXPECT_FALSE(editor.openedAs.has_value());
        EXPECT_FALSE(CloneWord(doc, ui));
        EXPECT_EQ(DeleteWord(doc, ui), 0);
        EXPECT_EQ(ui.messageTexts(), QStringList(3, QString::fromUtf8(c.message)));
        for (const auto &m : ui.messages) {
            EXPECT_EQ(m.title, QStringLiteral("Warning!"));
            EXPECT_EQ(m.icon, MessageIcon::Warning);
        }
        EXPECT_EQ(textsOf(doc), before);
        EXPECT_FALSE(doc.changed);
        EXPECT_FALSE(doc.hasUndoStep());
    }
    // The Find window deletes without a word when nothing is selected.
    DictionaryDocument doc = documentOf({u"a"});
    ScriptedUi ui;
    EXPECT_EQ(DeleteWord(doc, ui, true), 0);
    EXPECT_TRUE(ui.messages.isEmpty());
    // "No" keeps the entry.
    doc.selectedIndex = 0;
    ui.answers = {false};
    EXPECT_EQ(DeleteWord(doc, ui), 0);
    EXPECT_EQ(textsOf(doc), QStringList({"a"}));
    EXPECT_FALSE(doc.hasUndoStep());
}

TEST(DictionaryEditing, EditOpensOnEntryPartsAndUnchangedOkTakesNoSnapshot)
{
    ScriptedUi ui;
    DictionaryDocument doc = documentOf({u"a", u"walk/GDS\npo:verb"});
    doc.selectedIndex = 1;
    FakeEditor editor;
    editor.answer = WordEditorTexts{QStringLiteral("walk/GDS"), QStringLiteral("po:verb")};
    EXPECT_FALSE(EditWord(doc, ui, editor.callback()));
    EXPECT_EQ(editor.openedAs, std::optional(WordEditorMode::Edit));
    EXPECT_EQ(editor.openedWith->word, QStringLiteral("walk/GDS"));
    EXPECT_EQ(editor.openedWith->tags, QStringLiteral("po:verb"));
    EXPECT_FALSE(doc.changed);
    EXPECT_FALSE(doc.hasUndoStep());

    editor.answer = WordEditorTexts{QStringLiteral("walk/GD"), QString()};
    doc.entries.setMarked(1, true);
    EXPECT_TRUE(EditWord(doc, ui, editor.callback()));
    EXPECT_EQ(textsOf(doc), QStringList({"a", "walk/GD"}));
    EXPECT_TRUE(doc.entries.isMarked(1)) << "an edited entry keeps its mark";
    EXPECT_TRUE(doc.changed);
    EXPECT_TRUE(doc.hasUndoStep());

    // Cancel changes nothing.
    editor.answer.reset();
    doc.changed = false;
    EXPECT_FALSE(EditWord(doc, ui, editor.callback()));
    EXPECT_FALSE(doc.changed);
}

TEST(DictionaryEditing, AddAppendsUnmarkedEntry)
{
    DictionaryDocument doc = documentOf({u"a"});
    FakeEditor editor;
    editor.answer = WordEditorTexts{QStringLiteral("/ odd  entry"), QStringLiteral("po:x")};
    EXPECT_TRUE(AddWord(doc, editor.callback()));
    EXPECT_EQ(editor.openedAs, std::optional(WordEditorMode::Add));
    EXPECT_EQ(editor.openedWith->word, QString());
    EXPECT_EQ(textsOf(doc), QStringList({"a", "/ odd  entry\npo:x"}));
    EXPECT_FALSE(doc.entries.isMarked(1));
    EXPECT_TRUE(doc.changed);
    ASSERT_TRUE(UndoDictionary(doc));
    EXPECT_EQ(textsOf(doc), QStringList({"a"}));
}
