#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/autocorrect/autocorrect_tools.h"
#include "core/shell/long_task.h"

#include "core/shell/settings.h"
#include "scripted_ui.h"
#include "test_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <random>

using namespace lexaloom;
using lexaloom::testing::readFile;
using lexaloom::testing::ScriptedUi;

namespace {

AutocorrectList listOf(const QStringList &pairs)
{
    AutocorrectList list;
    for (const QString &pair : pairs)
        list.entries.append(pair);
    return list;
}

QStringList pairsOf(const AutocorrectList &list)
{
    QStringList pairs;
    for (qint64 i = 0; i < list.entries.size(); ++i)
        pairs.append(list.entries.at(i));
    return pairs;
}

} // namespace

TEST(AutocorrectToolsTest, HexReferencesOfOnePair)
{
    struct Case {
        QString text;
        std::optional<QString> converted;
    };
    const QList<Case> cases{
        {QStringLiteral(":heart:\n&#x2764;"), QStringLiteral(":heart:\n\u2764")},
        // A character above U+FFFF is kept whole, as its surrogate pair.
        {QStringLiteral(":smile:\n&#x1F600;"), QStringLiteral(":smile:\n\U0001F600")},
        {QStringLiteral("a&#xe7;&#XE3;o"), QStringLiteral("a\u00E7&#XE3;o")},
        {QStringLiteral("&#x41;&#x41;b&#x42;"), QStringLiteral("AAbB")},
        {QStringLiteral("no references"), QStringLiteral("no references")},
        // A character that would read as something else once written stays a reference.
        {QStringLiteral("&#x26;#x41;"), QStringLiteral("&#x26;#x41;")},
        {QStringLiteral("&#x26;amp;"), QStringLiteral("&#x26;amp;")},
        {QStringLiteral("&amp&#x3B;"), QStringLiteral("&amp&#x3B;")},
        {QStringLiteral("&&#x23;&#x78;41;"), QStringLiteral("&&#x23;x41;")},
        {QStringLiteral("& &#x61;mp;"), QStringLiteral("& amp;")},
        {QStringLiteral("&#x3C;&#x22;"), QStringLiteral("<\"")}, // the writer escapes these itself
        // Not well formed, or no character a list can hold: refused.
        {QStringLiteral("x\n&#x41"), std::nullopt},
        {QStringLiteral("&#x41 &#x42;"), std::nullopt},
        {QStringLiteral("&#x;"), std::nullopt},
        {QStringLiteral("&#x0;"), std::nullopt},
        {QStringLiteral("&#xA;"), std::nullopt},
        {QStringLiteral("&#xD800;"), std::nullopt},
        {QStringLiteral("&#x110000;"), std::nullopt},
        {QStringLiteral("&#x0000041;"), std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ConvertHexReferences(c.text), c.converted) << c.text.toStdString();
}

TEST(AutocorrectToolsTest, ConvertHexSymbols)
{
    MainSettings settings;
    {
        ScriptedUi ui;
        AutocorrectList list = listOf({":heart:\n&#x2764;", "teh\nthe", ":smile:\n&#x1F600;"});
        list.entries.setMarked(1, true);
        EXPECT_EQ(ConvertHexSymbols(list, settings, ui), 2);
        EXPECT_EQ(pairsOf(list), (QStringList{":heart:\n\u2764", "teh\nthe", ":smile:\n\U0001F600"}));
        EXPECT_TRUE(list.changed);
        EXPECT_TRUE(list.entries.isMarked(1));
        EXPECT_TRUE(ui.messages.isEmpty()); // emoji are converted without a question
        EXPECT_TRUE(ui.statusText().startsWith(QStringLiteral("OK. Converted symbols:2")));
        ASSERT_TRUE(list.undoSnapshot.has_value());
        EXPECT_EQ(list.undoSnapshot->entries.at(2), QStringLiteral(":smile:\n&#x1F600;"));
    }
    struct Refusal {
        const char *name;
        QStringList pairs;
        QStringList messages;
        QString status;
    };
    const QList<Refusal> refusals{
        {"empty", {}, {"No Autocorrects found."}, "Aborted."},
        {"nothing to convert", {"teh\nthe"}, {"No hex symbols found!"}, "OK."},
        {"broken reference", {"teh\nthe", "x\n&#x41"}, {}, "Null word at Line:2 Aborted."},
    };
    for (const Refusal &r : refusals) {
        ScriptedUi ui;
        AutocorrectList list = listOf(r.pairs);
        EXPECT_EQ(ConvertHexSymbols(list, settings, ui), 0) << r.name;
        EXPECT_EQ(ui.messageTexts(), r.messages) << r.name;
        EXPECT_TRUE(ui.statusText().startsWith(r.status)) << r.name << ui.statusText().toStdString();
        EXPECT_EQ(pairsOf(list), r.pairs) << r.name;
        EXPECT_FALSE(list.changed) << r.name;
        EXPECT_FALSE(list.undoSnapshot.has_value()) << r.name;
    }
}

// Whatever a list holds, the conversion and a save leave every pair reading the same
// to an XML reader: only the way a character is written changes.
TEST(AutocorrectToolsTest, ConversionKeepsWhatEveryPairReadsAs)
{
    QTemporaryDir dir;
    const MainSettings settings;
    // The pairs an XML reader reads in the saved list.
    const auto savedPairs = [&](const AutocorrectList &list) {
        ScriptedUi ui;
        const QString path = dir.filePath(QStringLiteral("DocumentList.xml"));
        EXPECT_TRUE(WriteAutocorrectFile(ui, settings, list, path).done());
        QXmlStreamReader xml(readFile(path));
        QStringList pairs;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("block")) {
                const QXmlStreamAttributes a = xml.attributes();
                pairs.append(a.value(QLatin1String("block-list:abbreviated-name")).toString() + u'\n' +
                             a.value(QLatin1String("block-list:name")).toString());
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        return pairs;
    };
    const QStringList pieces{"&",       "#",      "x",      ";",      "a",      "amp",     "41",     "é",
                             "<",       "\"",     "&amp;",  "&#38;",  "&#x26;", "&#x41;",  "&#x3B;", "&#x23;",
                             "&#x78;",  "&#x61;", "&#x70;", "&#x3C;", "&#x22;", "&#x1F600;", "&#xE7;", "&lt"};
    std::mt19937 random(11);
    const auto text = [&] {
        QString t;
        for (int n = int(random() % 6); n > 0; --n)
            t += pieces[random() % pieces.size()];
        return t;
    };
    int converted = 0;
    for (int round = 0; round < 400; ++round) {
        QStringList pairs;
        for (int n = 1 + int(random() % 6); n > 0; --n)
            pairs.append(text() + u'\n' + text());
        AutocorrectList list = listOf(pairs);
        const QStringList before = savedPairs(list);
        QStringList decoded;
        for (const QString &pair : pairs) {
            const qsizetype lf = pair.indexOf(u'\n');
            decoded.append(DecodeAutocorrectText(pair.first(lf)) + u'\n' + DecodeAutocorrectText(pair.sliced(lf + 1)));
        }
        ASSERT_EQ(before, decoded) << pairs.join(u'|').toStdString(); // the reader's view and ours agree
        ScriptedUi ui;
        converted += ConvertHexSymbols(list, settings, ui) > 0;
        ASSERT_EQ(savedPairs(list), before) << pairs.join(u'|').toStdString();
    }
    EXPECT_GT(converted, 100);
}

TEST(AutocorrectToolsTest, ConvertedEmojiAreSavedAsUtf8)
{
    QTemporaryDir dir;
    ScriptedUi ui;
    MainSettings settings;
    AutocorrectList list = listOf({":smile:\n&#x1F600;", "R&amp;D\nresearch &amp; development"});
    ASSERT_EQ(ConvertHexSymbols(list, settings, ui), 1);
    const QString path = dir.filePath(QStringLiteral("DocumentList.xml"));
    ASSERT_TRUE(WriteAutocorrectFile(ui, settings, list, path).done());
    const QByteArray bytes = readFile(path);
    EXPECT_TRUE(bytes.contains("block-list:name=\"\xF0\x9F\x98\x80\"")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("R&amp;D"));
    AutocorrectList back;
    ASSERT_TRUE(ReadAutocorrectFile(ui, settings, path, back).done());
    EXPECT_EQ(back.entries.at(0), QStringLiteral(":smile:\n\U0001F600"));
}

TEST(AutocorrectToolsTest, SpaceRepair)
{
    const QList<std::pair<QString, QString>> cases{
        {"teh\n the", "teh\nthe"}, {"  teh  \n  the  ", "teh\nthe"}, {"a   b\nc  d", "a b\nc d"},
        {"teh\nthe", "teh\nthe"},  {"a\tb\nc", "a\tb\nc"},           {" \n ", "\n"},
    };
    for (const auto &[text, repaired] : cases)
        EXPECT_EQ(RepairPairSpaces(text), repaired) << text.toStdString();

    MainSettings settings;
    {
        ScriptedUi ui;
        AutocorrectList list = listOf({"teh\n the", "ok\nfine", "a  b\nc"});
        EXPECT_EQ(FixAutocorrectSpaces(list, settings, ui), 2);
        EXPECT_EQ(pairsOf(list), (QStringList{"teh\nthe", "ok\nfine", "a b\nc"}));
        EXPECT_EQ(ui.statusText(), QStringLiteral("Fixed words:2"));
        EXPECT_TRUE(list.changed);
        EXPECT_TRUE(list.undoSnapshot.has_value());
        // A second run finds nothing.
        ui.clearRecords();
        EXPECT_EQ(FixAutocorrectSpaces(list, settings, ui), 0);
        EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No spaces to fix found!")});
        EXPECT_EQ(ui.statusText(), QStringLiteral("OK."));
    }
    for (const QStringList &pairs : {QStringList{"teh\nthe", "x\n  "}, QStringList{"teh\nthe", "  \ny"},
                                     QStringList{"teh\nthe", "no line feed "}}) {
        ScriptedUi ui;
        AutocorrectList list = listOf(pairs);
        EXPECT_EQ(FixAutocorrectSpaces(list, settings, ui), 0);
        EXPECT_EQ(ui.statusText(), QStringLiteral("Null word at Line:2 Aborted."));
        EXPECT_EQ(pairsOf(list), pairs);
        EXPECT_FALSE(list.changed);
    }
    ScriptedUi ui;
    AutocorrectList empty;
    FixAutocorrectSpaces(empty, settings, ui);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No Autocorrects found.")});
}

TEST(AutocorrectToolsTest, EscapeLeavesPassOneUntouchedAndKeepsPassTwoWork)
{
    MainSettings settings;
    for (int tool = 0; tool < 2; ++tool) {
        const QStringList pairs{"teh\n the", "a\n&#x41;"};
        ScriptedUi ui;
        ui.answers = {true};
        ui.onProcessEvents = [](ScriptedUi &u) {
            if (u.processEventsCalls == 1)
                u.pressEscape();
        };
        AutocorrectList list = listOf(pairs);
        const qint64 count =
            tool == 0 ? ConvertHexSymbols(list, settings, ui) : FixAutocorrectSpaces(list, settings, ui);
        EXPECT_EQ(count, 0) << tool;
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted.")) << tool;
        EXPECT_EQ(pairsOf(list), pairs) << tool;
        EXPECT_FALSE(list.changed) << tool;
    }
}

TEST(AutocorrectToolsTest, ExtractAutocorrects)
{
    QTemporaryDir dir;
    MainSettings settings;
    ScriptedUi ui;
    AutocorrectList list = listOf({"teh\nthe", "R&amp;D\nresearch"});
    ui.savePaths = {dir.filePath(QStringLiteral("pairs"))};
    EXPECT_TRUE(ExtractAutocorrects(list, settings, ui));
    EXPECT_EQ(ui.dialogTitles, QStringList{QStringLiteral("Extract Autocorrect List to file")});
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("pairs.txt"))),
              QByteArray("\xEF\xBB\xBFteh \xE2\x86\x92 the\nR&amp;D \xE2\x86\x92 research\n"));
    EXPECT_TRUE(ui.statusText().startsWith(QStringLiteral("OK. ")));
    EXPECT_FALSE(list.changed);

    ScriptedUi cancelled;
    EXPECT_FALSE(ExtractAutocorrects(list, settings, cancelled));
    EXPECT_EQ(cancelled.statusText(), QStringLiteral("Aborted."));
    AutocorrectList empty;
    EXPECT_FALSE(ExtractAutocorrects(empty, settings, cancelled));
    EXPECT_EQ(cancelled.messageTexts(), QStringList{QStringLiteral("No autocorrect words found.")});
}

TEST(AutocorrectToolsTest, DuplicatesShowDeleteAndXDelete)
{
    MainSettings settings;
    const QStringList pairs{"teh\nthe", "zz\nz", "teh\nten", "abc\nx", "teh\nthe", "ab\ny", "ab\nq"};
    ScriptedUi ui;
    AutocorrectList list = listOf(pairs);
    std::optional<AutocorrectDuplicates> found = FindAutocorrectDuplicates(list, settings, ui);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->rows, (QList<AutocorrectDuplicate>{{"ab", 2}, {"teh", 3}}));
    EXPECT_EQ(pairsOf(list), pairs); // showing changes nothing

    struct Case {
        bool exclusive;
        bool answer;
        QStringList result;
        QString question;
    };
    const QList<Case> cases{
        {false, true, {"ab\ny", "abc\nx", "teh\nthe", "zz\nz"}, autocorrectToolTexts::deleteQuestion},
        {true, true, {"abc\nx", "zz\nz"}, autocorrectToolTexts::xdeleteQuestion},
        {true, false, pairs, autocorrectToolTexts::xdeleteQuestion},
    };
    for (const Case &c : cases) {
        ScriptedUi u;
        u.answers = {c.answer};
        AutocorrectList l = listOf(pairs);
        l.entries.setMarked(0, true);
        l.selectedIndex = 2;
        EXPECT_EQ(DeleteAutocorrectDuplicates(l, *found, c.exclusive, settings, u), c.answer);
        EXPECT_EQ(pairsOf(l), c.result);
        EXPECT_EQ(u.messageTexts(), QStringList{c.question});
        if (c.answer) {
            EXPECT_EQ(l.entries.markedCount(), 0);
            EXPECT_EQ(l.selectedIndex, -1);
            EXPECT_TRUE(l.changed);
            EXPECT_EQ(u.statusText(), QStringLiteral("OK."));
            ASSERT_TRUE(l.undoSnapshot.has_value());
            EXPECT_EQ(l.undoSnapshot->entries.size(), pairs.size());
        }
    }
    EXPECT_EQ(autocorrectToolTexts::deleteQuestion,
              QStringLiteral("Really delete duplicates?\n(notice this will sort the array)"));

    // Escape answered Yes stops the deletion with the list as it was, in either pass.
    for (const int escapeAt : {1, 9}) {
        ScriptedUi u;
        u.answers = {true, true};
        int events = 0;
        u.onProcessEvents = [&](ScriptedUi &s) {
            s.fakeClock.advance(LongTask::eventPumpMs);
            if (++events == escapeAt)
                s.pressEscape();
        };
        AutocorrectList l = listOf(pairs);
        EXPECT_FALSE(DeleteAutocorrectDuplicates(l, *found, false, settings, u)) << escapeAt;
        EXPECT_EQ(pairsOf(l), pairs) << escapeAt;
        EXPECT_EQ(u.messageTexts(), (QStringList{autocorrectToolTexts::deleteQuestion, LongTask::abortQuestion()}));
        EXPECT_EQ(u.statusText(), LongTask::abortedText()) << escapeAt;
        EXPECT_FALSE(l.changed);
        EXPECT_FALSE(l.undoSnapshot.has_value());
    }

    QTemporaryDir dir;
    ui.savePaths = {dir.filePath(QStringLiteral("dups"))};
    EXPECT_TRUE(ExportAutocorrectDuplicates(found->rows, settings, ui));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("dups.txt"))), QByteArray("\xEF\xBB\xBF"
                                                                             "DUPLICATES FOUND:2\n\nab:2\nteh:3\n"));

    ScriptedUi none;
    AutocorrectList unique = listOf({"a\nb", "b\nc"});
    EXPECT_FALSE(FindAutocorrectDuplicates(unique, settings, none).has_value());
    EXPECT_EQ(none.messageTexts(), QStringList{QStringLiteral("No duplicates found.")});
    AutocorrectList empty;
    EXPECT_FALSE(FindAutocorrectDuplicates(empty, settings, none).has_value());
    EXPECT_EQ(none.messageTexts().last(), QStringLiteral("No autocorrects found."));
}
