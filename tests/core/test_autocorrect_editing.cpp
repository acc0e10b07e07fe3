#include "core/autocorrect/autocorrect_editing.h"

#include "core/autocorrect/autocorrect_list.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"

#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

QStringList entriesOf(const AutocorrectList &list)
{
    QStringList entries;
    for (qint64 i = 0; i < list.entries.size(); ++i)
        entries.append(list.entries.at(i));
    return entries;
}

AutocorrectList listOf(const QStringList &entries)
{
    AutocorrectList list;
    for (const QString &entry : entries)
        list.entries.append(entry);
    return list;
}

// A window that the test "fills in": returns `result` and records what it was given.
struct FakeWindow {
    std::optional<PairTexts> result;
    std::optional<PairEditorMode> mode;
    PairTexts initial;

    OpenPairWindow open()
    {
        return [this](PairEditorMode m, const PairTexts &i) {
            mode = m;
            initial = i;
            return result;
        };
    }
};

} // namespace

TEST(PairEditorModelTest, OkChecksInOrder)
{
    using F = PairEditorModel::Field;
    const struct {
        const char *incorrect;
        const char *correct;
        const char *message; // nullptr: accepted
        F field;
    } cases[] = {
        {"", "", "No incorrect word text.", F::Incorrect},
        {" ", "the", "No incorrect word text.", F::Incorrect},
        {" teh", "the", "Invalid spaces in incorrect word.", F::Incorrect},
        {"teh ", "the", "Invalid spaces in incorrect word.", F::Incorrect},
        {"t  eh", "the", "Invalid spaces in incorrect word.", F::Incorrect},
        {"teh", "", "No correct word text.", F::Correct},
        {"teh", " ", "No correct word text.", F::Correct},
        {"teh", "the ", "Invalid spaces in correct word.", F::Correct},
        {"teh", "teh", "Incorrect matches correct.", F::Incorrect},
        {"teh", "the", nullptr, F::Incorrect},
        {"a lot", "a great deal", nullptr, F::Incorrect},
        {"Teh", "teh", nullptr, F::Incorrect},
    };
    for (const auto &c : cases) {
        ScriptedUi ui;
        PairEditorModel model(ui, PairEditorMode::Add, {});
        model.setIncorrect(QString::fromUtf8(c.incorrect));
        model.setCorrect(QString::fromUtf8(c.correct));
        const std::optional<F> refused = model.accept();
        if (!c.message) {
            EXPECT_FALSE(refused.has_value()) << c.incorrect << "|" << c.correct;
            EXPECT_TRUE(ui.messages.isEmpty());
            continue;
        }
        ASSERT_TRUE(refused.has_value()) << c.incorrect << "|" << c.correct;
        EXPECT_EQ(*refused, c.field) << c.incorrect << "|" << c.correct;
        EXPECT_EQ(ui.messageTexts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(ui.messages.first().title, QStringLiteral("Warning!"));
    }
}

TEST(PairEditorModelTest, FieldColoursTitlesAndToggle)
{
    const struct {
        const char *text;
        bool red;
    } fields[] = {{"", false}, {" ", true}, {"a", false}, {"a b", false}, {"a  b", true}, {" a", true}, {"a ", true}};
    for (const auto &f : fields)
        EXPECT_EQ(PairEditorModel::hasInvalidSpaces(QString::fromUtf8(f.text)), f.red) << f.text;

    ScriptedUi ui;
    PairEditorModel edit(ui, PairEditorMode::Edit, {QStringLiteral("teh"), QStringLiteral("the")});
    EXPECT_EQ(edit.title(), QStringLiteral("Edit an autocorrect word"));
    EXPECT_EQ(PairEditorModel(ui, PairEditorMode::Add, {}).title(), QStringLiteral("Add an autocorrect word"));
    edit.toggle();
    EXPECT_EQ(edit.texts(), (PairTexts{QStringLiteral("the"), QStringLiteral("teh")}));
    EXPECT_TRUE(edit.isChanged());
    edit.toggle();
    EXPECT_EQ(edit.texts(), (PairTexts{QStringLiteral("teh"), QStringLiteral("the")}));
    EXPECT_FALSE(edit.isChanged());
    EXPECT_EQ(pairEditorTexts::toggleTooltip, QStringLiteral("Toggle text Incorrect\u2194Correct"));
}

TEST(PairEditorTest, AddEditAndUndo)
{
    ScriptedUi ui;
    AutocorrectList list = listOf({QStringLiteral("teh\nthe"), QStringLiteral("only")});
    FakeWindow window;

    // Edit needs a focused pair; the refusals leave the list as it was.
    AutocorrectList empty;
    EXPECT_FALSE(OpenPairEditor(empty, ui, PairEditorMode::Edit, window.open()));
    EXPECT_FALSE(OpenPairEditor(list, ui, PairEditorMode::Edit, window.open()));
    EXPECT_EQ(ui.messageTexts(), (QStringList{QStringLiteral("No autocorrect words found."),
                                              QStringLiteral("No autocorrect word selected.")}));
    EXPECT_FALSE(window.mode.has_value());

    // An unchanged Edit takes no snapshot and leaves the flag alone.
    list.selectedIndex = 0;
    window.result = PairTexts{QStringLiteral("teh"), QStringLiteral("the")};
    EXPECT_FALSE(OpenPairEditor(list, ui, PairEditorMode::Edit, window.open()));
    EXPECT_EQ(window.initial, (PairTexts{QStringLiteral("teh"), QStringLiteral("the")}));
    EXPECT_FALSE(list.hasUndoStep());
    EXPECT_FALSE(list.changed);

    // A pair without a line feed opens with an empty correct field.
    list.selectedIndex = 1;
    window.result = std::nullopt;
    EXPECT_FALSE(OpenPairEditor(list, ui, PairEditorMode::Edit, window.open()));
    EXPECT_EQ(window.initial, (PairTexts{QStringLiteral("only"), QString()}));

    window.result = PairTexts{QStringLiteral("only"), QStringLiteral("sole")};
    list.scrollPosition = 7;
    EXPECT_TRUE(OpenPairEditor(list, ui, PairEditorMode::Edit, window.open()));
    EXPECT_EQ(entriesOf(list), (QStringList{QStringLiteral("teh\nthe"), QStringLiteral("only\nsole")}));
    EXPECT_TRUE(list.changed);

    window.result = PairTexts{QStringLiteral("adn"), QStringLiteral("and")};
    list.scrollPosition = 3;
    EXPECT_TRUE(OpenPairEditor(list, ui, PairEditorMode::Add, window.open()));
    EXPECT_EQ(window.initial, PairTexts{});
    EXPECT_EQ(entriesOf(list),
              (QStringList{QStringLiteral("teh\nthe"), QStringLiteral("only\nsole"), QStringLiteral("adn\nand")}));
    EXPECT_FALSE(list.entries.isMarked(2));

    // One step: undo brings back the list before the Add, redo the Add.
    list.scrollPosition = 9;
    EXPECT_EQ(UndoListChange(list), std::optional<qint64>(3));
    EXPECT_EQ(list.entries.size(), 2);
    EXPECT_FALSE(UndoListChange(list).has_value()); // one step only
    EXPECT_EQ(RedoListChange(list), std::optional<qint64>(9));
    EXPECT_EQ(list.entries.size(), 3);
}

TEST(PairEditorTest, DeleteAskWithThePairOnOneLine)
{
    ScriptedUi ui;
    AutocorrectList list = listOf({QStringLiteral("teh\nthe"), QStringLiteral("adn\nand")});
    list.entries.setMarked(1, true);
    EXPECT_EQ(DeletePair(list, ui), 0);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No autocorrect word selected.")});

    ui.clearRecords();
    list.selectedIndex = 0;
    ui.answers = {false, true};
    EXPECT_EQ(DeletePair(list, ui), 0);
    EXPECT_EQ(list.entries.size(), 2);
    EXPECT_EQ(DeletePair(list, ui), 1);
    EXPECT_EQ(ui.messages.last().text, QStringLiteral("Really delete autocorrect word?\n\"teh the\""));
    EXPECT_EQ(entriesOf(list), QStringList{QStringLiteral("adn\nand")});
    EXPECT_EQ(list.entries.markedCount(), 1);
    EXPECT_EQ(list.selectedIndex, -1);
    EXPECT_TRUE(list.changed);
    EXPECT_TRUE(list.hasUndoStep());
}

TEST(PairEditorTest, EraseAsksAndForgetsTheFile)
{
    const struct {
        const char *why;
        bool changed;
        std::deque<bool> answers;
        QStringList questions;
        bool erased;
    } cases[] = {
        {"unchanged, Yes", false, {true}, {QStringLiteral("Really delete all autocorrect words?")}, true},
        {"unchanged, No", false, {false}, {QStringLiteral("Really delete all autocorrect words?")}, false},
        {"changed, No to continue",
         true,
         {false},
         {QStringLiteral("The Autocorrect List has been changed.\n\nContinue?")},
         false},
        {"changed, Yes twice",
         true,
         {true, true},
         {QStringLiteral("The Autocorrect List has been changed.\n\nContinue?"),
          QStringLiteral("Really delete all autocorrect words?")},
         true},
    };
    for (const auto &c : cases) {
        ScriptedUi ui;
        ui.answers = c.answers;
        AutocorrectList list = listOf({QStringLiteral("teh\nthe")});
        list.path = QStringLiteral("/x/DocumentList.xml");
        list.changed = c.changed;
        list.selectedIndex = 0;
        EXPECT_EQ(EraseAutocorrectList(list, ui), c.erased) << c.why;
        EXPECT_EQ(ui.messageTexts(), c.questions) << c.why;
        EXPECT_EQ(list.entries.isEmpty(), c.erased) << c.why;
        if (!c.erased)
            continue;
        EXPECT_TRUE(list.path.isEmpty());
        EXPECT_FALSE(list.changed);
        EXPECT_EQ(list.selectedIndex, -1);
        EXPECT_EQ(ui.statuses, (QStringList{QStringLiteral("Erasing..."), QStringLiteral("OK.")}));
        UndoListChange(list);
        EXPECT_EQ(entriesOf(list), QStringList{QStringLiteral("teh\nthe")}) << c.why;
    }
    ScriptedUi ui;
    AutocorrectList empty;
    EXPECT_FALSE(EraseAutocorrectList(empty, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No autocorrect words found.")});
}

TEST(PairEditorTest, SortByFoldedPairs)
{
    ScriptedUi ui;
    MainSettings settings;
    AutocorrectList list = listOf({QStringLiteral("abc\ny"), QStringLiteral("ab\nx"), QStringLiteral("Éte\nb"),
                                   QStringLiteral("ete\na"), QStringLiteral("b\nc"), QStringLiteral("B\na")});
    list.entries.setMarked(0, true);
    list.selectedIndex = 2;
    list.scrollPosition = 5;
    ASSERT_TRUE(SortAutocorrectList(list, settings, ui));
    // "ab" before "abc": the line feed sorts before "c". Equal folded incorrect words
    // go by the correct word; equal keys keep their order.
    EXPECT_EQ(entriesOf(list),
              (QStringList{QStringLiteral("ab\nx"), QStringLiteral("abc\ny"), QStringLiteral("B\na"),
                           QStringLiteral("b\nc"), QStringLiteral("ete\na"), QStringLiteral("Éte\nb")}));
    EXPECT_EQ(list.entries.markedCount(), 0);
    EXPECT_EQ(list.selectedIndex, -1);
    EXPECT_TRUE(list.changed);
    EXPECT_EQ(ui.statuses.first(), QStringLiteral("Sorting Autocorrect List..."));
    EXPECT_TRUE(ui.statuses.contains(QStringLiteral("Sorting... <ESC> to abort. Found:6")));
    EXPECT_EQ(ui.statusText(), QStringLiteral("OK. \u231A00m00s"));
    EXPECT_EQ(UndoListChange(list), std::optional<qint64>(5));
    EXPECT_EQ(list.entries.at(0), QStringLiteral("abc\ny"));
    EXPECT_TRUE(list.entries.isMarked(0));

    AutocorrectList empty;
    ui.clearRecords();
    EXPECT_FALSE(SortAutocorrectList(empty, settings, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No autocorrect words found.")});
}

TEST(PairEditorTest, AbortedSortLeavesTheList)
{
    ScriptedUi ui;
    MainSettings settings;
    QStringList entries;
    for (int i = 300; i > 0; --i)
        entries.append(QStringLiteral("w%1\nx").arg(i));
    AutocorrectList list = listOf(entries);
    ui.answers = {true};
    int pumps = 0;
    ui.onProcessEvents = [&pumps](ScriptedUi &u) {
        u.fakeClock.advance(LongTask::eventPumpMs);
        if (++pumps == 40)
            u.pressEscape();
    };
    EXPECT_FALSE(SortAutocorrectList(list, settings, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Really abort?")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_FALSE(ui.statuses.filter(QStringLiteral("Removing accents... <ESC> to abort. Found:")).isEmpty());
    EXPECT_EQ(entriesOf(list), entries);
    EXPECT_FALSE(list.changed);
    EXPECT_FALSE(list.hasUndoStep());
}
