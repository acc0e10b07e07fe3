#include "core/app/find_target.h"
#include "core/app/workbench.h"
#include "core/shell/find.h"
#include "core/shell/goto.h"

#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

void fill(EntryStore &store, const QStringList &entries)
{
    store.clear();
    for (const QString &e : entries)
        store.append(e);
}

// The tab side of the Find window, recording what it was asked to do.
struct FakeTab {
    FakeTab(EntryStore &store, qint64 &focus)
        : entries(&store)
        , selectedIndex(&focus)
    {
    }

    EntryStore *entries;
    qint64 *selectedIndex;
    QList<qint64> shown;
    QList<qint64> focusSeen; // the focused entry when an editor or a deletion ran
    int refreshes = 0;
    bool confirmDelete = true;
    QString replacement; // what the editor writes; empty: leaves the entry as it was

    FindActions actions()
    {
        return {
            .showEntry = [this](qint64 i) { shown.append(i); },
            .editEntry =
                [this](qint64 i) {
                    focusSeen.append(*selectedIndex);
                    if (!replacement.isEmpty())
                        entries->replace(i, replacement);
                },
            .deleteEntry =
                [this](qint64 i) {
                    focusSeen.append(*selectedIndex);
                    if (!confirmDelete)
                        return false;
                    entries->remove(i);
                    *selectedIndex = -1;
                    return true;
                },
            .refreshList = [this] { ++refreshes; },
        };
    }
};

QStringList rowTexts(const FindSession &session)
{
    QStringList texts;
    for (const FindResultRow &r : session.rows())
        texts.append(r.text);
    return texts;
}

QList<qint64> rowPositions(const FindSession &session)
{
    QList<qint64> positions;
    for (const FindResultRow &r : session.rows())
        positions.append(r.position);
    return positions;
}

} // namespace

TEST(FindTest, MatchRules)
{
    using L = EntryLayout;
    const struct {
        const char *entry;
        L layout;
        const char *needle;
        bool leftMatch, matchCase, matchExtra;
        bool expected;
    } cases[] = {
        // Left match keeps bobcat out; without it all three match.
        {"cat/S", L::WordAndTags, "cat", true, false, true, true},
        {"catalogue", L::WordAndTags, "cat", true, false, true, true},
        {"bobcat", L::WordAndTags, "cat", true, false, true, false},
        {"bobcat", L::WordAndTags, "cat", false, false, true, true},
        // Case.
        {"cat/S", L::WordAndTags, "Cat", true, false, true, true},
        {"cat/S", L::WordAndTags, "Cat", true, true, true, false},
        {"Cat", L::WordAndTags, "Cat", true, true, true, true},
        // Tags are reached from the left only as extra information.
        {"house/S\npo:noun", L::WordAndTags, "po:noun", true, false, true, true},
        {"house/S\npo:noun", L::WordAndTags, "po:noun", true, false, false, false},
        {"house/S\npo:noun", L::WordAndTags, "PO:NOUN", true, false, true, true},
        {"house/S\npo:noun", L::WordAndTags, "po:noun", false, false, false, true},
        {"house/S", L::WordAndTags, "po:noun", false, false, true, false},
        // The arrow of the shown text stands for the separator.
        {"cat\npo:noun", L::WordAndTags, "cat\u2192po", true, false, false, true},
        {"cat\npo:noun", L::WordAndTags, "t\u2192p", false, false, false, true},
        {"cat\u2192x", L::WordAndTags, "cat\u2192", true, false, false, true},
        // Autocorrect: primary is both parts, extra the correct part.
        {"abc\nabd", L::IncorrectAndCorrect, "ab", true, false, false, true},
        {"teh\nthe", L::IncorrectAndCorrect, "the", true, false, true, true},
        {"teh\nthe", L::IncorrectAndCorrect, "the", true, false, false, false},
        // Thesaurus: primary is the head; extra the announced meaning lines only.
        {"ab|1\n(noun)|x", L::HeadAndMeanings, "ab", true, false, false, true},
        {"ab|1\n(noun)|x", L::HeadAndMeanings, "(noun)", true, false, false, false},
        {"ab|1\n(noun)|x", L::HeadAndMeanings, "(noun)", true, false, true, true},
        {"ab|2\n(noun)|x\n(verb)|y", L::HeadAndMeanings, "(verb)", true, false, true, true},
        {"ab|1\n(noun)|x\n(verb)|y", L::HeadAndMeanings, "(verb)", true, false, true, false},
        {"ab|9\n(noun)|x", L::HeadAndMeanings, "(adj)", true, false, true, false},
        {"ab|x\n(noun)|x", L::HeadAndMeanings, "(noun)", true, false, true, false},
        {"ab\n(noun)|x", L::HeadAndMeanings, "(noun)", true, false, true, false},
        {"ab|1", L::HeadAndMeanings, "(noun)", true, false, true, false},
    };
    for (const auto &c : cases) {
        const FindOptions options{c.leftMatch, c.matchCase, c.matchExtra};
        EXPECT_EQ(FindEntryMatches(u(c.entry), c.layout, u(c.needle), options), c.expected)
            << c.entry << " / " << c.needle << " left=" << c.leftMatch << " case=" << c.matchCase
            << " extra=" << c.matchExtra;
    }
}

TEST(FindTest, PrimaryTextPositionAndPercent)
{
    using L = EntryLayout;
    const struct {
        const char *entry;
        L layout;
        const char *needle;
        const char *primary;
        qint64 position;
        const char *percent;
    } cases[] = {
        {"abc\nabd", L::IncorrectAndCorrect, "ab", "abc\u2192abd", 1, "28.57"},
        {"ab|1\n(noun)|x", L::HeadAndMeanings, "ab", "ab|1", 1, "50"},
        {"catalogue", L::WordAndTags, "cat", "catalogue", 1, "33.33"},
        {"bobcat", L::WordAndTags, "CAT", "bobcat", 4, "50"},
        {"cat/S\npo:noun", L::WordAndTags, "po:noun", "cat/S\u2192po:noun", 7, "53.85"},
        {"cat", L::WordAndTags, "cat", "cat", 1, "100"},
        {"dog", L::WordAndTags, "cat", "dog", 0, "100"},
        {"a", L::WordAndTags, "abc", "a", 0, "33.33"},
    };
    for (const auto &c : cases) {
        const QString primary = FindPrimaryText(u(c.entry), c.layout);
        EXPECT_EQ(primary, u(c.primary)) << c.entry;
        EXPECT_EQ(FindPosition(primary, u(c.needle), false), c.position) << c.entry;
        EXPECT_EQ(FormatMatchPercent(primary.size(), u(c.needle).size()), u(c.percent)) << c.entry;
    }
    EXPECT_EQ(FindPosition(u("bobcat"), u("CAT"), true), 0);
}

TEST(FindTest, SuspiciousSearchText)
{
    const struct {
        const char *text;
        bool leftMatch;
        bool red;
    } cases[] = {
        {"cat", true, false},     {" cat", true, true}, {" cat", false, false}, {"cat  dog", false, true},
        {"cat dog", true, false}, {"", true, false},    {"  ", false, true},    {"cat ", true, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsSuspiciousFindText(u(c.text), c.leftMatch), c.red) << '"' << c.text << '"';
}

TEST(FindTest, TargetsPerKind)
{
    Workbench workbench;
    const struct {
        DocumentKind kind;
        const char *title;
        const char *noun;
        const char *gotoNoun;
        EntryLayout layout;
        const EntryStore *entries;
        const qint64 *selected;
        bool editDelete;
    } cases[] = {
        {DocumentKind::Dictionary, "Find a Word", "dictionary words", "words", EntryLayout::WordAndTags,
         &workbench.dictionary.entries, &workbench.dictionary.selectedIndex, true},
        {DocumentKind::Hyphenation, "Find a Word", "dictionary words", "words", EntryLayout::WordAndTags,
         &workbench.dictionary.entries, &workbench.hyphenation.selectedIndex, false},
        {DocumentKind::Thesaurus, "Find a Synonym", "synonyms", "synonyms", EntryLayout::HeadAndMeanings,
         &workbench.thesaurus.entries, &workbench.thesaurus.selectedIndex, true},
        {DocumentKind::Autocorrect, "Find an Autocorrect word", "autocorrect words", "autocorrect words",
         EntryLayout::IncorrectAndCorrect, &workbench.autocorrect.entries, &workbench.autocorrect.selectedIndex, true},
    };
    for (const auto &c : cases) {
        const std::optional<FindTarget> target = FindTargetFor(workbench, c.kind);
        ASSERT_TRUE(target.has_value()) << c.title;
        EXPECT_EQ(target->findTitle, u(c.title));
        EXPECT_EQ(target->noun, u(c.noun));
        EXPECT_EQ(target->gotoNoun, u(c.gotoNoun));
        EXPECT_EQ(target->layout, c.layout);
        EXPECT_EQ(target->entries, c.entries);
        EXPECT_EQ(target->selectedIndex, c.selected);
        EXPECT_EQ(target->offersEditDelete, c.editDelete);

        // An empty list opens no window.
        ScriptedUi ui;
        EXPECT_FALSE(FindSession::CheckCanOpen(*target, ui));
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].text, QStringLiteral("No ") + u(c.noun) + QStringLiteral(" found."));
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
    }
    EXPECT_FALSE(FindTargetFor(workbench, DocumentKind::AutoText).has_value());
    EXPECT_FALSE(FindTargetFor(workbench, DocumentKind::LanguageTool).has_value());
}

TEST(FindTest, SearchListsMatchesAndRemembers)
{
    Workbench workbench;
    fill(workbench.dictionary.entries,
         {u("aardvark"), u("bobcat"), u("cat/S\npo:noun"), u("catalogue/S"), u("dog\npo:noun"), u("Catherine/M")});
    FindSession session(*FindTargetFor(workbench, DocumentKind::Dictionary), workbench.findMemory, workbench.settings);
    ScriptedUi ui;
    EXPECT_EQ(session.foundLabel(), u("Found:0/6"));

    EXPECT_TRUE(session.search(ui, u("cat")));
    EXPECT_EQ(rowTexts(session), (QStringList{u("cat/S\u2192po:noun"), u("catalogue/S"), u("Catherine/M")}));
    EXPECT_EQ(rowPositions(session), (QList<qint64>{3, 4, 6}));
    EXPECT_EQ(session.rows()[1].matchPercent, u("27.27"));
    EXPECT_EQ(session.foundLabel(), u("Found:3/6"));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ui.statuses, (QStringList{u("<ESC> to abort."), QString()}));
    EXPECT_EQ(ui.progressMaximum, 6);
    EXPECT_EQ(ui.progressValue(), 0);
    EXPECT_EQ(workbench.findMemory.searchText, u("cat"));

    // Options are read from the memory at each search.
    workbench.findMemory.matchCase = true;
    EXPECT_TRUE(session.search(ui, u("Cat")));
    EXPECT_EQ(rowPositions(session), (QList<qint64>{6}));

    workbench.findMemory.matchCase = false;
    workbench.findMemory.matchExtra = false;
    EXPECT_TRUE(session.search(ui, u("po:noun")));
    EXPECT_TRUE(session.rows().empty());
    EXPECT_EQ(session.foundLabel(), u("Found:0"));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, u("\"po:noun\" not found."));
    EXPECT_EQ(ui.messages[0].title, u("Warning!"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);

    workbench.findMemory.matchExtra = true;
    ui.clearRecords();
    EXPECT_TRUE(session.search(ui, u("po:noun")));
    EXPECT_EQ(rowPositions(session), (QList<qint64>{3, 5}));
    EXPECT_TRUE(ui.messages.isEmpty());

    EXPECT_FALSE(session.search(ui, QString()));
    EXPECT_EQ(ui.messageTexts(), QStringList{u("Nothing to find.")});
    EXPECT_EQ(rowPositions(session), (QList<qint64>{3, 5})); // an empty field leaves the results
    EXPECT_EQ(workbench.findMemory.searchText, u("po:noun"));
}

TEST(FindTest, DeleteRenumbersLaterResults)
{
    Workbench workbench;
    QStringList entries;
    for (int i = 1; i <= 20; ++i)
        entries.append((i == 3 || i == 7 || i == 10 || i == 15 || i == 18 ? u("cat") : u("dog")) + QString::number(i));
    fill(workbench.dictionary.entries, entries);
    workbench.dictionary.selectedIndex = 1;
    FindSession session(*FindTargetFor(workbench, DocumentKind::Dictionary), workbench.findMemory, workbench.settings);
    ScriptedUi ui;
    ASSERT_TRUE(session.search(ui, u("cat")));
    ASSERT_EQ(rowPositions(session), (QList<qint64>{3, 7, 10, 15, 18}));

    FakeTab tab(workbench.dictionary.entries, workbench.dictionary.selectedIndex);
    tab.confirmDelete = false;
    session.remove(2, ui, tab.actions());
    EXPECT_EQ(rowPositions(session), (QList<qint64>{3, 7, 10, 15, 18})); // declined: nothing changes
    EXPECT_EQ(workbench.dictionary.selectedIndex, 1);

    tab.confirmDelete = true;
    session.remove(2, ui, tab.actions());
    EXPECT_EQ(tab.focusSeen, (QList<qint64>{9, 9})); // the deletion ran on the result's entry
    EXPECT_EQ(rowPositions(session), (QList<qint64>{3, 7, 14, 17}));
    EXPECT_EQ(rowTexts(session), (QStringList{u("cat3"), u("cat7"), u("cat15"), u("cat18")}));
    EXPECT_EQ(session.foundLabel(), u("Found:4/19"));
    EXPECT_EQ(workbench.dictionary.selectedIndex, 1); // set back after the deletion cleared it
    EXPECT_EQ(tab.refreshes, 2);

    // Display goes to the renumbered entry.
    session.display(2, tab.actions());
    EXPECT_EQ(tab.shown, QList<qint64>{13});
    EXPECT_EQ(workbench.dictionary.entries.at(13), u("cat15"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(FindTest, DeletingTheFocusedLastEntryKeepsTheFocusInRange)
{
    Workbench workbench;
    fill(workbench.dictionary.entries, {u("cat1"), u("dog"), u("cat2")});
    workbench.dictionary.selectedIndex = 2;
    FindSession session(*FindTargetFor(workbench, DocumentKind::Dictionary), workbench.findMemory, workbench.settings);
    ScriptedUi ui;
    ASSERT_TRUE(session.search(ui, u("cat")));
    FakeTab tab(workbench.dictionary.entries, workbench.dictionary.selectedIndex);
    session.remove(1, ui, tab.actions());
    EXPECT_EQ(workbench.dictionary.selectedIndex, 1);
    session.remove(0, ui, tab.actions());
    session.remove(0, ui, tab.actions()); // no rows left
    EXPECT_EQ(ui.messageTexts(), QStringList{u("No items found.")});
    EXPECT_EQ(session.foundLabel(), u("Found:0/1"));
}

TEST(FindTest, EditShowsNewTextAndChanged)
{
    Workbench workbench;
    fill(workbench.autocorrect.entries, {u("abc\nabd"), u("xyz\nxy"), u("abx\naby")});
    workbench.autocorrect.selectedIndex = 1;
    FindSession session(*FindTargetFor(workbench, DocumentKind::Autocorrect), workbench.findMemory, workbench.settings);
    ScriptedUi ui;
    ASSERT_TRUE(session.search(ui, u("ab")));
    ASSERT_EQ(session.rows().size(), 2u);
    EXPECT_EQ(session.rows()[0].matchPercent, u("28.57"));

    FakeTab tab(workbench.autocorrect.entries, workbench.autocorrect.selectedIndex);
    session.edit(1, ui, tab.actions()); // the editor is left with no change
    EXPECT_FALSE(session.rows()[1].changed);
    tab.replacement = u("abx\nabz");
    session.edit(1, ui, tab.actions());
    EXPECT_TRUE(session.rows()[1].changed);
    EXPECT_EQ(session.rows()[1].text, u("abx\u2192abz"));
    EXPECT_FALSE(session.rows()[0].changed);
    EXPECT_EQ(tab.focusSeen, (QList<qint64>{2, 2}));
    EXPECT_EQ(workbench.autocorrect.selectedIndex, 1);
    EXPECT_EQ(tab.refreshes, 2);

    session.edit(-1, ui, tab.actions());
    session.remove(5, ui, tab.actions());
    EXPECT_EQ(ui.messageTexts(), (QStringList{u("No item selected."), u("No item selected.")}));
    for (const auto &m : ui.messages)
        EXPECT_EQ(m.title, u("Warning!"));
}

TEST(FindTest, HyphenationResultsOfferNoEditOrDelete)
{
    Workbench workbench;
    fill(workbench.dictionary.entries, {u("cat"), u("dog")});
    workbench.hyphenation.selectedIndex = 1;
    FindSession session(*FindTargetFor(workbench, DocumentKind::Hyphenation), workbench.findMemory, workbench.settings);
    ScriptedUi ui;
    ASSERT_TRUE(session.search(ui, u("cat")));
    FakeTab tab(workbench.dictionary.entries, workbench.hyphenation.selectedIndex);
    session.remove(0, ui, tab.actions());
    session.edit(0, ui, tab.actions());
    EXPECT_EQ(workbench.dictionary.entries.size(), 2);
    EXPECT_TRUE(tab.focusSeen.isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
    session.display(0, tab.actions());
    EXPECT_EQ(tab.shown, QList<qint64>{0});
}

TEST(FindTest, EscapeStopsALargeSearch)
{
    Workbench workbench;
    workbench.settings.thousandsSeparator = QStringLiteral(".");
    const qint64 total = 600000;
    EntryStore &store = workbench.dictionary.entries;
    store.reserve(total, total * 12);
    for (qint64 i = 0; i < total; ++i)
        store.append(QStringLiteral("word%1/S").arg(i));
    FindSession session(*FindTargetFor(workbench, DocumentKind::Dictionary), workbench.findMemory, workbench.settings);

    ScriptedUi ui;
    qint64 events = 0;
    ui.onProcessEvents = [&events](ScriptedUi &u) {
        // Every poll sees the pump interval pass: 32 entries per 800 ms tick.
        u.fakeClock.advance(25);
        if (++events == 250000)
            u.pressEscape();
    };
    ui.answers = {true};
    int refreshes = 0;
    ASSERT_TRUE(session.search(ui, u("word"), [&refreshes] { ++refreshes; }));

    // Entries 1 to 249,999 were searched; the Escape was taken before entry 250,000.
    EXPECT_EQ(static_cast<qint64>(session.rows().size()), 249999);
    EXPECT_EQ(session.rows().back().position, 249999);
    EXPECT_EQ(session.foundLabel(), u("Found:249.999/600.000"));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, u("Really abort?"));
    EXPECT_TRUE(ui.messages[0].question);
    EXPECT_EQ(refreshes, 249999 / 32 + 2); // at the start, on each tick and at the end
    ASSERT_GE(ui.progressValues.size(), 3);
    EXPECT_EQ(ui.progressValues[1], 33); // the first tick, at entry 33
    EXPECT_EQ(ui.progressValue(), 0);
    EXPECT_EQ(ui.statusText(), QString());
    EXPECT_FALSE(session.isSearching());
}

TEST(GotoTest, RangeTitleAndMemory)
{
    const GotoRequest request(u("words"), 20);
    EXPECT_EQ(request.title(), u("Goto words position (1:20)"));
    const struct {
        const char *text;
        qint64 index; // -1: refused
    } cases[] = {
        {"0", -1}, {"21", -1}, {"", -1}, {"1", 0}, {"20", 19}, {"007", 6}, {"99999999", -1},
    };
    for (const auto &c : cases) {
        ScriptedUi ui;
        QString remembered = u("5");
        const std::optional<qint64> result = request.accept(u(c.text), ui, remembered);
        EXPECT_EQ(request.isInRange(u(c.text)), c.index >= 0) << c.text;
        if (c.index < 0) {
            EXPECT_FALSE(result.has_value()) << c.text;
            EXPECT_EQ(remembered, u("5"));
            ASSERT_EQ(ui.messages.size(), 1) << c.text;
            EXPECT_EQ(ui.messages[0].text, u("Position must be between 1:20"));
            EXPECT_EQ(ui.messages[0].title, u("Warning!"));
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
        } else {
            EXPECT_EQ(result, c.index) << c.text;
            EXPECT_EQ(remembered, u(c.text));
            EXPECT_TRUE(ui.messages.isEmpty());
        }
    }

    ScriptedUi ui;
    EXPECT_TRUE(request.checkCanOpen(ui));
    EXPECT_FALSE(GotoRequest(u("lines"), 0).checkCanOpen(ui));
    EXPECT_EQ(ui.messageTexts(), QStringList{u("No lines found.")});
    EXPECT_EQ(GotoRequest(u("synonyms"), 1234567).title(), u("Goto synonyms position (1:1234567)"));
}
