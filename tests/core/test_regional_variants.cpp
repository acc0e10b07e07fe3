#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>

#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/duplicates_session.h"
#include "core/dictionary_tools/regional_variants.h"
#include "core/shell/format.h"
#include "core/shell/settings.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::ScriptedUi;

namespace {

class FakeHost final : public RegionalHost {
public:
    void refreshDictionary() override { ++refreshes; }
    int refreshes = 0;
};

struct Window {
    QTemporaryDir dir;
    ScriptedUi ui;
    MainSettings settings;
    DictionaryDocument doc;
    RegionalMemory memory;
    QString gbSpecific;
    FakeHost host;
    RegionalDuplicatesStep duplicates;
    std::unique_ptr<RegionalVariantsSession> session;

    explicit Window(const QStringList &entries)
    {
        for (const QString &e : entries)
            doc.entries.append(e);
        open();
    }
    void open()
    {
        session = std::make_unique<RegionalVariantsSession>(
            doc, memory, gbSpecific, dir.path() + u'/', settings, ui, host,
            [this](bool recorded) { return duplicates ? duplicates(recorded) : DuplicatesToolOutcome{}; });
    }
    QStringList entries() const
    {
        QStringList out;
        for (qint64 i = 0; i < doc.entries.size(); ++i)
            out << doc.entries.at(i);
        return out;
    }
    // The log after the introduction.
    QString log() const { return session->log().mid(regionalTexts::introduction.size()); }
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

} // namespace

TEST(RegionalVariants, RemovalsFollowEndingsAndExceptions)
{
    const QStringList dictionary = {"organization/S", "organisation/S",   "ORGANIZE",   "capsize/S",
                                    "compensation",   "Sanskritise",      "sensation",  "cruises",
                                    "cruise",         "realise/DG\npo:v", "realize/DG", "colour",
                                    "colour/S",       "colour/S\npo:n",   "colours"};
    const struct {
        const char *name;
        std::function<void(RegionalVariantsSession &, Ui &)> step;
        QStringList removed;
    } cases[] = {
        {"-ize",
         [](RegionalVariantsSession &s, Ui &ui) { s.RemoveIzeIse(IzeMode::Ize, ui); },
         {"organization/S", "realize/DG"}},
        {"-ise",
         [](RegionalVariantsSession &s, Ui &ui) { s.RemoveIzeIse(IzeMode::Ise, ui); },
         {"organisation/S", "cruises", "realise/DG\npo:v"}},
        {"GB specific",
         [](RegionalVariantsSession &s, Ui &ui) {
             s.gbSpecificText = QStringLiteral("colour\r\nflavour");
             s.removeGbSpecific(ui);
         },
         {"colour", "colour/S", "colour/S\npo:n"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Window w(dictionary);
        c.step(*w.session, w.ui);
        QStringList expected;
        for (const QString &e : dictionary)
            expected << (c.removed.contains(e) ? QString() : e);
        EXPECT_EQ(w.entries(), expected);
        EXPECT_TRUE(w.session->undoMark());
        EXPECT_TRUE(w.doc.hasUndoStep());
        w.session->accept();
        EXPECT_EQ(w.doc.wordCount(), dictionary.size() - c.removed.size());
        EXPECT_TRUE(w.doc.changed);
    }
}

TEST(RegionalVariants, LogOfARemovalAndOfAnUnchangedList)
{
    Window w({"organization/S\npo:n", "capsize", "size"});
    w.session->RemoveIzeIse(IzeMode::Ize, w.ui);
    w.session->RemoveIzeIse(IzeMode::Ize, w.ui);
    EXPECT_EQ(w.log(), QStringLiteral("Converting exceptions into arrays for faster processing...\n"
                                      "Found 189 exceptions.\n"
                                      "\nRemoving -ize...\n\n"
                                      "Removed #1:\n"
                                      "\"organization/S po:n\"\n\n"
                                      "Removed a total of 1 words.\n"
                                      "\n"
                                      "\n"
                                      "Converting exceptions into arrays for faster processing...\n"
                                      "No exceptions changed since last conversion.\n"
                                      "\nRemoving -ize...\n\n"
                                      "\n"
                                      "Removed a total of 0 words.\n"
                                      "\n"
                                      "\n"));
}

TEST(RegionalVariants, ListConversions)
{
    const struct {
        const char *name;
        QString text;
        QString log;
        qsizetype count;
    } cases[] = {
        {"empty", "", "No exceptions found.\n", 0},
        {"blank line", "size\n\nprize\n", "There is a blank exception.\nAborted!\n\n", 0},
        {"no final break", "size\r\nprize", "Found 2 exceptions.\n", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Window w({"x"});
        ConvertedWordList list;
        w.session->ConvertWordList(c.text, list, true);
        EXPECT_EQ(w.log(), "Converting exceptions into arrays for faster processing...\n" + c.log);
        EXPECT_EQ(list.count, c.count);
        EXPECT_EQ(list.words.contains(QStringLiteral("prize/")), c.count > 0);
    }
    // A blank line leaves no exceptions: every -ise word goes.
    Window w({"rise", "prise"});
    w.session->exceptionsText = QStringLiteral("rise\n\n");
    w.session->RemoveIzeIse(IzeMode::Ise, w.ui);
    EXPECT_EQ(w.entries(), (QStringList{"", ""}));
}

TEST(RegionalVariants, MergingAGbDictionary)
{
    Window w({"walk"});
    w.doc.selectedIndex = 0;
    const QString gb = w.write("gb.dic", "\xEF\xBB\xBF"
                                         "3\nfoo\nbar/S\tpo:x\n\n");
    const QString wordFirst = w.write("word-first.dic", "walked\nbaz\n");
    w.ui.openPaths = {QString(), w.dir.filePath("missing.dic"), gb, wordFirst};
    for (int i = 0; i < 4; ++i)
        w.session->mergeGbDictionary(w.ui);
    EXPECT_EQ(w.entries(), (QStringList{"walk", "foo", "bar/S\npo:x", "", "baz"}));
    EXPECT_EQ(w.doc.selectedIndex, -1);
    EXPECT_EQ(w.ui.messageTexts(), QStringList{".DIC file not found."});
    EXPECT_EQ(w.ui.dialogTitles.first(), QStringLiteral("Merge GB Dictionary"));
    EXPECT_EQ(w.log(), QStringLiteral("Merging GB .dic...\nAborted merging GB .dic...\n\n"
                                      "Merging GB .dic...\nNo GB .dic selected.\n\n"
                                      "Merging GB .dic...\nMerging GB .dic:\"") +
                           gb +
                           QStringLiteral("\"\nMerged 3 words of GB .dic...\n\n"
                                          "Merging GB .dic...\nMerging GB .dic:\"") +
                           wordFirst + QStringLiteral("\"\nMerged 1 words of GB .dic...\n\n"));
    ASSERT_TRUE(w.doc.undoSnapshot.has_value());
    EXPECT_EQ(w.doc.undoSnapshot->entries.size(), 1);

    // Cancel undoes every step since the window opened; the changed mark goes too.
    w.session->reject();
    EXPECT_EQ(w.entries(), QStringList{"walk"});
    EXPECT_FALSE(w.doc.changed);
    EXPECT_FALSE(w.session->undoMark());
}

TEST(RegionalVariants, AbortKeepsTheRemovalsSoFar)
{
    Window w({"realise", "prise", "devise", "otherise"});
    int polls = 0;
    w.ui.onProcessEvents = [&polls](ScriptedUi &ui) {
        ui.fakeClock.advance(25);
        if (++polls == 3)
            ui.pressEscape();
    };
    w.ui.answers = {true};
    w.session->RemoveIzeIse(IzeMode::Ise, w.ui);
    EXPECT_EQ(w.entries(), (QStringList{"", "", "devise", "otherise"}));
    EXPECT_TRUE(w.log().endsWith(QStringLiteral("\"prise\"\n\nAborted!\n\n\n")));
    w.session->accept();
    EXPECT_EQ(w.entries(), (QStringList{"devise", "otherise"}));
}

TEST(RegionalVariants, DuplicatesStepSharesTheUndoPoint)
{
    Window w({"organization", "walk"});
    std::vector<bool> passed;
    // The duplicates window cancelled: it returns to the caller's undo point.
    w.duplicates = [&](bool recorded) {
        passed.push_back(recorded);
        if (recorded)
            UndoDictionary(w.doc);
        return DuplicatesToolOutcome{true, false, true};
    };
    w.session->RemoveIzeIse(IzeMode::Ize, w.ui);
    w.session->removeDuplicates();
    EXPECT_EQ(passed, std::vector<bool>{true});
    EXPECT_EQ(w.entries(), (QStringList{"organization", "walk"}));
    EXPECT_FALSE(w.session->undoMark());
    // The next step records a new point, which Cancel returns to.
    w.session->gbSpecificText = QStringLiteral("walk");
    w.session->removeGbSpecific(w.ui);
    EXPECT_EQ(w.entries(), (QStringList{"organization", ""}));
    w.session->reject();
    EXPECT_EQ(w.entries(), (QStringList{"organization", "walk"}));
    EXPECT_TRUE(w.log().contains(QStringLiteral("Merging/Deleting duplicates...\n")));
}

TEST(RegionalVariants, SavedListsAndWhatOkKeeps)
{
    Window w({"x"});
    w.session->exceptionsText.clear();
    w.session->gbSpecificText.clear();
    EXPECT_FALSE(w.session->saveExceptions());
    EXPECT_FALSE(w.session->saveGbSpecific());
    EXPECT_EQ(w.ui.messageTexts(), (QStringList{"No exceptions found.", "No GB specific words found."}));
    w.session->exceptionsText = QStringLiteral("size\r\nprize");
    w.session->gbSpecificText = QStringLiteral("colour\n");
    EXPECT_TRUE(w.session->saveExceptions());
    EXPECT_TRUE(w.session->saveGbSpecific());
    EXPECT_EQ(LoadIzeExceptions(w.dir.filePath("settings/-ize-ise_exceptions.txt")), QStringLiteral("size\nprize"));
    QFile gb(w.dir.filePath("settings/gb_specific.txt"));
    ASSERT_TRUE(gb.open(QIODevice::ReadOnly));
    EXPECT_EQ(gb.readAll(), QByteArray("\xEF\xBB\xBF"
                                       "colour\n"));
    EXPECT_EQ(LoadIzeExceptions(w.dir.filePath("none.txt")), DefaultIzeExceptions());

    // Cancel forgets the edited texts, OK keeps them for the next opening.
    w.session->reject();
    w.open();
    EXPECT_EQ(w.session->exceptionsText, DefaultIzeExceptions());
    w.session->exceptionsText = QStringLiteral("size\n");
    w.session->accept();
    w.open();
    EXPECT_EQ(w.session->exceptionsText, QStringLiteral("size\n"));
    EXPECT_EQ(w.entries(), QStringList{"x"});
    EXPECT_FALSE(w.doc.changed);
}

// On the real en_GB dictionary: each removal takes only words with its endings that
// are no exception, and the two removals take disjoint sets.
TEST(RegionalVariants, RemovalsOnTheRealGbDictionary)
{
    const QString dic = corpusRoot() +
                        QStringLiteral("/hunspell/en_GB.dic");
    if (!QFile::exists(dic))
        GTEST_SKIP() << "no corpus at " << dic.toStdString();
    QSet<QString> removedBy[2];
    for (const IzeMode mode : {IzeMode::Ize, IzeMode::Ise}) {
        Window w({});
        ASSERT_TRUE(ReadDictionaryFiles(w.ui, w.settings, dic, w.doc).done());
        const EntryStore before = w.doc.entries;
        w.session->RemoveIzeIse(mode, w.ui);
        QSet<QString> &removed = removedBy[mode == IzeMode::Ize ? 0 : 1];
        QStringList sample;
        for (qint64 i = 0; i < before.size(); ++i) {
            if (!w.doc.entries.view(i).isEmpty() || before.view(i).isEmpty())
                continue;
            const QString word = before.at(i).section(u'\n', 0, 0).section(u'/', 0, 0);
            EXPECT_TRUE(mode == IzeMode::Ize ? word.contains(u'z') : word.contains(u's')) << word.toStdString();
            EXPECT_FALSE(DefaultIzeExceptions().split(u'\n').contains(word)) << word.toStdString();
            removed.insert(before.at(i));
            if (removed.size() % 97 == 1)
                sample << before.at(i);
        }
        EXPECT_GT(removed.size(), 100);
        EXPECT_TRUE(w.log().contains(QStringLiteral("Removed a total of ") +
                                     FormatCount(removed.size(), w.settings.thousandsSeparator) +
                                     QStringLiteral(" words.")));
        std::cout << (mode == IzeMode::Ize ? "-ize" : "-ise") << " removed " << removed.size() << " of "
                  << before.size() << "; sample: " << sample.mid(0, 12).join(u' ').toStdString() << '\n';
    }
    EXPECT_FALSE(removedBy[0].intersects(removedBy[1]));
}
