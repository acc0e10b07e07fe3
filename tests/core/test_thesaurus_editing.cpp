#include "core/thesaurus/thesaurus_editing.h"

#include "core/app/tab_labels.h"
#include "core/app/workbench.h"
#include "core/thesaurus/thesaurus_document.h"

#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

QStringList entriesOf(const ThesaurusDocument &document)
{
    QStringList list;
    for (qint64 i = 0; i < document.entries.size(); ++i)
        list.append(document.entries.at(i));
    return list;
}

ThesaurusDocument documentOf(const QStringList &entries)
{
    ThesaurusDocument doc;
    for (const QString &entry : entries)
        doc.entries.append(entry);
    return doc;
}

// An editor that returns scripted texts and records what it was opened with.
struct FakeEditor {
    std::optional<SynonymEditorTexts> reply;
    std::optional<SynonymEditorMode> mode;
    SynonymEditorTexts initial;

    OpenSynonymEditor open()
    {
        return [this](SynonymEditorMode m, const SynonymEditorTexts &i) {
            mode = m;
            initial = i;
            return reply;
        };
    }
};

} // namespace

TEST(SynonymEditorTest, OkChecksInTheirOrder)
{
    QString hundred;
    for (int i = 0; i < 100; ++i)
        hundred += QStringLiteral("(noun)|m%1\n").arg(i);
    const QString hundredOne = hundred + QStringLiteral("(noun)|one more");
    const struct {
        QString word;
        QString meanings;
        QString message;
        SynonymField field;
    } cases[] = {
        {"", "(adj)|large", "No synonym text.", SynonymField::Word},
        {" ", "", "No synonym text.", SynonymField::Word},
        // The meanings are not looked at until the word is valid.
        {"big ", "(adj)|large", "Invalid spaces in synonym.", SynonymField::Word},
        {" big", "", "Invalid spaces in synonym.", SynonymField::Word},
        {"big  cat", "", "Invalid spaces in synonym.", SynonymField::Word},
        {"big|2", "(adj)|large", "The synonym can't contain \"|\".", SynonymField::Word},
        {"big", "", "No meanings text.", SynonymField::Meanings},
        {"big", " ", "No meanings text.", SynonymField::Meanings},
        {"big", "(adj)|large\n\n(adj)|huge", "There are blank meanings.", SynonymField::Meanings},
        {"big", "(adj)|large\r\n\r\n(adj)|huge", "There are blank meanings.", SynonymField::Meanings},
        {"big", hundredOne, "Synonym has more than 100 meanings.", SynonymField::Meanings},
        {"big", hundredOne + u'\n', "Synonym has more than 100 meanings.", SynonymField::Meanings},
        {"big", hundred, "", SynonymField::None},
        {"big cat", "(adj)|large", "", SynonymField::None},
    };
    for (const auto &c : cases) {
        const SynonymCheck check = CheckSynonymTexts({c.word, c.meanings});
        EXPECT_EQ(check.message, c.message) << c.word.toStdString();
        EXPECT_EQ(check.field, c.field) << c.word.toStdString();
    }
}

TEST(SynonymEditorTest, BuildsEntriesAndShowsThem)
{
    const struct {
        const char *word;
        const char *meanings;
        const char *entry;
    } built[] = {
        {"big", "(adj)|large\n(adj)|huge", "big|2\n(adj)|large\n(adj)|huge"},
        {"big", "(adj)|large\n(adj)|huge\n", "big|2\n(adj)|large\n(adj)|huge"},
        {"big", "(adj)|large\r\n(adj)|huge\r\n", "big|2\n(adj)|large\n(adj)|huge"},
        {"ice cream", "(noun)|dessert", "ice cream|1\n(noun)|dessert"},
    };
    for (const auto &b : built) {
        const SynonymEditorTexts texts{QString::fromUtf8(b.word), QString::fromUtf8(b.meanings)};
        EXPECT_EQ(BuildSynonymEntry(texts), QString::fromUtf8(b.entry)) << b.meanings;
    }

    const struct {
        const char *entry;
        const char *word;
        const char *meanings;
    } shown[] = {
        {"cat|2\n(noun)|feline\n(noun)|big cat", "cat", "(noun)|feline\n(noun)|big cat\n"},
        // The header says 3 but the third line is empty: two lines are shown.
        {"cat|3\n(noun)|feline\n(noun)|big cat\n", "cat", "(noun)|feline\n(noun)|big cat\n"},
        {"lone|0", "lone", ""},
        {"", "", ""},
    };
    for (const auto &s : shown) {
        const SynonymEditorTexts texts = SynonymEditorTextsOf(QString::fromUtf8(s.entry));
        EXPECT_EQ(texts.word, QString::fromUtf8(s.word)) << s.entry;
        EXPECT_EQ(texts.meanings, QString::fromUtf8(s.meanings)) << s.entry;
    }
    EXPECT_EQ(BuildSynonymEntry(SynonymEditorTextsOf(u"cat|3\n(noun)|feline\n(noun)|big cat\n")),
              QStringLiteral("cat|2\n(noun)|feline\n(noun)|big cat"));

    const struct {
        const char *text;
        int n;
        bool invalidWord;
    } counts[] = {{"", 0, false},       {"a", 0, false},      {"a\nb", 1, false},
                  {"a\nb\n", 2, false}, {"a\rb\r", 2, false}, {"a\r\nb", 1, false}};
    for (const auto &c : counts)
        EXPECT_EQ(EditorMeaningCount(QString::fromUtf8(c.text)), c.n) << c.text;
    EXPECT_EQ(MeaningCounterText(2), QStringLiteral("# Meanings:2/100"));
    EXPECT_EQ(MeaningBarText(2), QStringLiteral("|2"));
    for (const char *word : {" a", "a ", "a  b"})
        EXPECT_TRUE(HasInvalidSpaces(QString::fromUtf8(word))) << word;
    for (const char *word : {"a", "a b", ""})
        EXPECT_FALSE(HasInvalidSpaces(QString::fromUtf8(word))) << word;
}

TEST(ThesaurusEditingTest, AddAndEditThroughTheEditor)
{
    ThesaurusDocument doc = documentOf({QStringLiteral("cat|3\n(noun)|feline\n(noun)|big cat\n")});
    ScriptedUi ui;
    FakeEditor editor;

    // Edit without a selection, and on an empty thesaurus.
    EXPECT_FALSE(OpenEntryEditor(doc, ui, SynonymEditorMode::Edit, editor.open()));
    ThesaurusDocument empty;
    EXPECT_FALSE(OpenEntryEditor(empty, ui, SynonymEditorMode::Edit, editor.open()));
    EXPECT_EQ(ui.messageTexts(),
              (QStringList{QStringLiteral("No synonym selected."), QStringLiteral("No synonyms found.")}));
    EXPECT_FALSE(editor.mode.has_value());

    // Cancel changes nothing.
    doc.selectedIndex = 0;
    EXPECT_FALSE(OpenEntryEditor(doc, ui, SynonymEditorMode::Edit, editor.open()));
    EXPECT_EQ(editor.initial,
              (SynonymEditorTexts{QStringLiteral("cat"), QStringLiteral("(noun)|feline\n(noun)|big cat\n")}));
    EXPECT_FALSE(doc.changed);
    EXPECT_FALSE(doc.hasUndoStep());

    // OK on the untouched texts stores the entry with its true count.
    editor.reply = editor.initial;
    EXPECT_TRUE(OpenEntryEditor(doc, ui, SynonymEditorMode::Edit, editor.open()));
    EXPECT_EQ(entriesOf(doc), QStringList{QStringLiteral("cat|2\n(noun)|feline\n(noun)|big cat")});
    EXPECT_TRUE(doc.changed);
    EXPECT_TRUE(doc.hasUndoStep());

    // Add appends, with no tick.
    editor.reply = SynonymEditorTexts{QStringLiteral("big"), QStringLiteral("(adj)|large\n(adj)|huge")};
    doc.entries.setMarked(0, true);
    EXPECT_TRUE(OpenEntryEditor(doc, ui, SynonymEditorMode::Add, editor.open()));
    EXPECT_EQ(editor.initial, SynonymEditorTexts{});
    EXPECT_EQ(doc.entries.size(), 2);
    EXPECT_EQ(doc.entries.at(1), QStringLiteral("big|2\n(adj)|large\n(adj)|huge"));
    EXPECT_FALSE(doc.entries.isMarked(1));
    EXPECT_EQ(doc.entries.markedCount(), 1);

    // Undo goes back one step.
    ASSERT_TRUE(UndoListChange(doc).has_value());
    EXPECT_EQ(doc.entries.size(), 1);
}

TEST(ThesaurusEditingTest, DeleteAsksWithTheHeader)
{
    ThesaurusDocument doc = documentOf({QStringLiteral("cat|1\n(noun)|feline"), QStringLiteral("dog|0")});
    ScriptedUi ui;
    EXPECT_EQ(DeleteEntry(doc, ui), 0);
    doc.selectedIndex = 0;
    ui.answers = {false, true};
    EXPECT_EQ(DeleteEntry(doc, ui), 0);
    EXPECT_EQ(doc.entries.size(), 2);
    EXPECT_EQ(DeleteEntry(doc, ui), 1);
    EXPECT_EQ(ui.messageTexts(),
              (QStringList{QStringLiteral("No synonym selected."), QStringLiteral("Really delete synonym?\n\"cat|1\""),
                           QStringLiteral("Really delete synonym?\n\"cat|1\"")}));
    EXPECT_EQ(entriesOf(doc), QStringList{QStringLiteral("dog|0")});
    EXPECT_EQ(doc.selectedIndex, -1);
    EXPECT_TRUE(doc.changed);
}

TEST(ThesaurusEditingTest, CloneCopiesTheFocusedEntryUnticked)
{
    ThesaurusDocument doc = documentOf({QStringLiteral("cat|1\n(noun)|feline"), QStringLiteral("dog|0")});
    ScriptedUi ui;
    ThesaurusDocument empty;
    EXPECT_FALSE(CloneEntry(empty, ui));
    EXPECT_FALSE(CloneEntry(doc, ui));
    EXPECT_EQ(ui.messageTexts(), (QStringList{"No synonyms found.", "No synonym selected."}));
    doc.selectedIndex = 0;
    doc.entries.setMarked(0, true);
    ASSERT_TRUE(CloneEntry(doc, ui));
    EXPECT_EQ(entriesOf(doc), (QStringList{"cat|1\n(noun)|feline", "dog|0", "cat|1\n(noun)|feline"}));
    EXPECT_FALSE(doc.entries.isMarked(2));
    EXPECT_EQ(doc.selectedIndex, 0);
    EXPECT_TRUE(doc.changed);
    ASSERT_TRUE(UndoListChange(doc).has_value());
    EXPECT_EQ(doc.entries.size(), 2);
}

TEST(ThesaurusEditingTest, EraseThenUndoThenRedo)
{
    const QStringList entries{QStringLiteral("cat|1\n(noun)|feline"), QStringLiteral("dog|0")};
    ThesaurusDocument doc = documentOf(entries);
    doc.path = QStringLiteral("/t/th.dat");
    doc.encodingLine = QStringLiteral("ISO8859-1");
    doc.changed = true;
    doc.entries.setMarked(1, true);
    ScriptedUi ui;

    ThesaurusDocument empty;
    EXPECT_FALSE(EraseThesaurus(empty, ui));
    ui.answers = {true, false};
    EXPECT_FALSE(EraseThesaurus(doc, ui));
    EXPECT_EQ(doc.entries.size(), 2);
    ui.answers = {true, true};
    doc.scrollPosition = 7;
    EXPECT_TRUE(EraseThesaurus(doc, ui));
    EXPECT_EQ(ui.messageTexts(), (QStringList{QStringLiteral("No synonyms found."),
                                              QStringLiteral("The Thesaurus has been changed.\n\nContinue?"),
                                              QStringLiteral("Really delete all synonyms?"),
                                              QStringLiteral("The Thesaurus has been changed.\n\nContinue?"),
                                              QStringLiteral("Really delete all synonyms?")}));
    EXPECT_EQ(ui.statuses.mid(ui.statuses.size() - 2),
              (QStringList{QStringLiteral("Erasing..."), QStringLiteral("OK.")}));
    EXPECT_TRUE(doc.entries.isEmpty());
    EXPECT_TRUE(doc.path.isEmpty());
    EXPECT_EQ(doc.encodingLine, QStringLiteral("UTF-8"));
    EXPECT_FALSE(doc.changed);

    EXPECT_EQ(UndoListChange(doc), std::optional<qint64>(7));
    EXPECT_EQ(entriesOf(doc), entries);
    EXPECT_TRUE(doc.entries.isMarked(1));
    EXPECT_FALSE(doc.hasUndoStep());
    EXPECT_TRUE(doc.hasRedoStep());
    ASSERT_TRUE(RedoListChange(doc).has_value());
    EXPECT_TRUE(doc.entries.isEmpty());
    EXPECT_TRUE(doc.hasUndoStep());
    EXPECT_FALSE(doc.hasRedoStep());
}

TEST(ThesaurusEditingTest, SortIsAccentBlindAndHeadWordsFirst)
{
    const QStringList entries{
        QStringLiteral("cats|1\n(noun)|felines"), QStringLiteral("café|1\n(noun)|bar"),    QStringLiteral("Zebra|0"),
        QStringLiteral("cat|1\n(noun)|feline"),   QStringLiteral("cafe|1\n(noun)|bistro"), QStringLiteral("apple|0")};
    ThesaurusDocument doc = documentOf(entries);
    doc.selectedIndex = 2;
    doc.entries.setMarked(0, true);
    ScriptedUi ui;
    MainSettings settings;
    doc.scrollPosition = 3;
    ASSERT_TRUE(SortThesaurus(doc, settings, ui));
    QStringList heads;
    for (qint64 i = 0; i < doc.entries.size(); ++i)
        heads.append(doc.entries.at(i).section(u'|', 0, 0));
    // "café" and "cafe" fold to the same head word; their meanings decide.
    EXPECT_EQ(heads, (QStringList{"apple", "café", "cafe", "cat", "cats", "Zebra"}));
    EXPECT_EQ(doc.entries.markedCount(), 0);
    EXPECT_EQ(doc.selectedIndex, -1);
    EXPECT_TRUE(doc.changed);
    EXPECT_EQ(ui.statuses.first(), QStringLiteral("Sorting Thesaurus..."));
    EXPECT_EQ(ui.statusText(), QStringLiteral("OK. \u231A00m00s"));
    EXPECT_EQ(SynonymSortKey(u"Café|1\n(noun)|bar"), QStringLiteral("cafe\t1\n(noun)|bar"));

    ASSERT_TRUE(UndoListChange(doc).has_value());
    EXPECT_EQ(entriesOf(doc), entries);
    EXPECT_TRUE(doc.entries.isMarked(0));

    ThesaurusDocument empty;
    EXPECT_FALSE(SortThesaurus(empty, settings, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No synonyms found.")});
}

TEST(ThesaurusEditingTest, AbortedSortKeepsEveryEntry)
{
    ThesaurusDocument doc;
    QStringList entries;
    for (int i = 3000; i > 0; --i) {
        entries.append(QStringLiteral("w%1|0").arg(i));
        doc.entries.append(entries.last());
    }
    MainSettings settings;
    // Escape in each stage that polls: building the keys and writing back.
    for (int ticksBeforeEscape : {0, 1}) {
        ScriptedUi ui;
        ui.answers = {true};
        int calls = 0;
        bool populating = false;
        ui.onProcessEvents = [&](ScriptedUi &u) {
            u.fakeClock.advance(1000);
            populating = populating || u.statusText().startsWith(QStringLiteral("Populating"));
            if ((ticksBeforeEscape == 0 && calls++ == 0) || (ticksBeforeEscape == 1 && populating && calls++ == 0))
                u.pressEscape();
        };
        EXPECT_FALSE(SortThesaurus(doc, settings, ui)) << ticksBeforeEscape;
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
        EXPECT_EQ(entriesOf(doc), entries);
        EXPECT_FALSE(doc.changed);
    }
}

TEST(ThesaurusEditingTest, CounterTexts)
{
    Workbench workbench;
    ThesaurusDocument &doc = workbench.thesaurus;
    for (int i = 0; i < 1234; ++i)
        doc.entries.append(u"a|0");
    EXPECT_EQ(TabFileInfo(workbench, DocumentKind::Thesaurus).counter, QStringLiteral("# Synonyms:1,234"));
    doc.selectedIndex = 4;
    EXPECT_EQ(TabFileInfo(workbench, DocumentKind::Thesaurus).counter, QStringLiteral("Synonym: [5/1,234]"));
    for (qint64 i = 0; i < doc.entries.size(); ++i)
        doc.entries.setMarked(i, true);
    EXPECT_EQ(TabFileInfo(workbench, DocumentKind::Thesaurus).selected, QStringLiteral("Selected:All"));
}
