#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary_tools/bulk_import.h"
#include "core/dictionary_tools/possessive_names.h"
#include "core/thesaurus/thesaurus_document.h"
#include "core/thesaurus/thesaurus_files.h"

#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_folding.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <random>
#include <set>

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

QStringList entriesOf(const EntryStore &store)
{
    QStringList list;
    for (qint64 i = 0; i < store.size(); ++i)
        list.append(store.at(i));
    return list;
}

void fill(ListDocument &doc, const QStringList &entries)
{
    for (const QString &e : entries)
        doc.entries.append(e);
}

struct Documents {
    DictionaryDocument dictionary;
    ThesaurusDocument thesaurus;
    AutocorrectList autocorrect;

    BulkImportTargets targets() { return {&dictionary, &thesaurus, &autocorrect}; }
};

// The loops as first written, one search per item: what the fast paths must match.
QString directSort(const QStringList &lines)
{
    std::vector<std::pair<QString, QString>> records;
    for (const QString &line : lines)
        records.emplace_back(FoldAccents(line), line);
    for (size_t i = 1; i < records.size(); ++i)
        for (size_t j = i; j > 0 && records[j].first < records[j - 1].first; --j)
            std::swap(records[j], records[j - 1]);
    QString out;
    for (const auto &r : records)
        out += r.second + u'\n';
    return out;
}

QString directDeduplicate(const QStringList &lines)
{
    QString out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines.first(i).contains(lines[i]))
            out += lines[i] + u'\n';
    }
    return out;
}

QString directConvert(QString line)
{
    for (;;) {
        bool converted = false;
        for (qsizetype at = line.indexOf(QLatin1String("&#")); at >= 0 && !converted;
             at = line.indexOf(QLatin1String("&#"), at + 1)) {
            qsizetype end = at + 2;
            while (end < line.size() && line[end] >= u'0' && line[end] <= u'9')
                ++end;
            if (end == at + 2 || end >= line.size() || line[end] != u';' || end - at - 2 > 12)
                continue;
            const qulonglong value = line.mid(at + 2, end - at - 2).toULongLong();
            if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
                continue;
            const char32_t c = static_cast<char32_t>(value);
            line.replace(at, end - at + 1, QString::fromUcs4(&c, 1));
            converted = true;
        }
        if (!converted)
            return line;
    }
}

QStringList directPossessives(const QString &normalised, QStringList dictionary, const QString &possessives)
{
    QStringList added;
    for (const QString &line : normalised.split(u'\n')) {
        for (const QString &w : line.split(u' ')) {
            if (w.isEmpty() || w.left(1) != w.left(1).toUpper() || w.startsWith(u'-') || w.endsWith(u'-'))
                continue;
            const QString entry = w + possessives;
            if (std::any_of(dictionary.begin(), dictionary.end(), [&](const QString &e) { return e.contains(entry); }))
                continue;
            dictionary.append(entry);
            added.append(entry);
        }
    }
    return added;
}

} // namespace

TEST(BulkImport, ImportModesAddLinesAndWriteTheLog)
{
    struct Case {
        const char *name;
        BulkImportMode mode;
        QString input;
        bool logIndex;
        qint64 logStart;
        QStringList dictionary;
        QStringList thesaurus;
        QStringList autocorrect;
        QString output;
        QString status;
    };
    const QList<Case> cases{
        {"dictionary",
         BulkImportMode::Dictionary,
         "house\n\n  garden  \n",
         true,
         1,
         {"old", "house", "garden"},
         {"t|1\nx"},
         {"a\nb"},
         "1) house\n2) garden\n",
         "Processing: 3/3 Done!"},
        {"dictionary, CR LF, no log index",
         BulkImportMode::Dictionary,
         "walk/S\r\nrun",
         false,
         1,
         {"old", "walk/S", "run"},
         {"t|1\nx"},
         {"a\nb"},
         "walk/S\nrun\n",
         "Processing: 2/2 Done!"},
        {"thesaurus",
         BulkImportMode::Thesaurus,
         "quick,fast,rapid",
         true,
         7,
         {"old"},
         {"t|1\nx", "quick|2\nfast\nrapid"},
         {"a\nb"},
         "7) quick,fast,rapid\n",
         "Processing: 1/1 Done!"},
        {"thesaurus, spaces around commas",
         BulkImportMode::Thesaurus,
         "big , large, huge\nlone",
         true,
         1,
         {"old"},
         {"t|1\nx", "big|2\nlarge\nhuge", "lone"},
         {"a\nb"},
         "1) big,large,huge\n2) lone\n",
         "Processing: 2/2 Done!"},
        {"autocorrect",
         BulkImportMode::Autocorrect,
         "teh,the",
         true,
         1,
         {"old"},
         {"t|1\nx"},
         {"a\nb", "teh\nthe"},
         "1) teh,the\n",
         "Processing: 1/1 Done!"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Documents docs;
        fill(docs.dictionary, {"old"});
        fill(docs.thesaurus, {"t|1\nx"});
        fill(docs.autocorrect, {"a\nb"});
        MainSettings settings;
        ScriptedUi ui;
        BulkImportSession session(c.mode, docs.targets(), settings, ui);
        session.input = c.input;
        session.logIndexOn = c.logIndex;
        session.logIndexStart = c.logStart;
        EXPECT_EQ(session.process(), BulkImportOutcome::Done);
        EXPECT_EQ(session.output(), c.output);
        EXPECT_EQ(entriesOf(docs.dictionary.entries), c.dictionary);
        EXPECT_EQ(entriesOf(docs.thesaurus.entries), c.thesaurus);
        EXPECT_EQ(entriesOf(docs.autocorrect.entries), c.autocorrect);
        EXPECT_EQ(ui.statusText(), c.status);
        EXPECT_TRUE(ui.messages.isEmpty());
        // Only the list the mode adds to changes, with one undo step for the whole run.
        EXPECT_EQ(docs.dictionary.changed, c.mode == BulkImportMode::Dictionary);
        EXPECT_EQ(docs.thesaurus.changed, c.mode == BulkImportMode::Thesaurus);
        EXPECT_EQ(docs.autocorrect.changed, c.mode == BulkImportMode::Autocorrect);
        EXPECT_EQ(docs.dictionary.hasUndoStep(), c.mode == BulkImportMode::Dictionary);
    }
}

TEST(BulkImport, MultiwordsTagEveryLine)
{
    struct Case {
        const char *name;
        MultiwordChoice choice;
        QString output;
    };
    const QList<Case> cases{
        {"English NNS", {2, 4, ""}, "fire trucks\tNNS\nred tape\tNNS\n"},
        {"English NN:U", {2, 6, ""}, "fire trucks\tNN:U\nred tape\tNN:U\n"},
        {"Portuguese first row", {1, 0, ""}, "fire trucks\tNPCS000\nred tape\tNPCS000\n"},
        {"Other with its own tag", {0, 0, "XYZ"}, "fire trucks\tXYZ\nred tape\tXYZ\n"},
    };
    EXPECT_EQ(MultiwordLanguages(), (QStringList{"Other", "Portuguese", "English"}));
    EXPECT_EQ(MultiwordPosRows(2).at(4), QStringLiteral("Noun - Plural - Neutral (NNS)"));
    EXPECT_EQ(MultiwordPosRows(2).at(2), QStringLiteral("-"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Documents docs;
        MainSettings settings;
        ScriptedUi ui;
        BulkImportSession session(BulkImportMode::Multiwords, docs.targets(), settings, ui);
        session.input = "fire trucks\n  red  tape ";
        session.multiwords = c.choice;
        EXPECT_EQ(session.process(), BulkImportOutcome::Done);
        EXPECT_EQ(session.output(), c.output);
        EXPECT_EQ(session.foundText(), QStringLiteral("Found:2"));
        EXPECT_TRUE(docs.dictionary.entries.isEmpty());
        EXPECT_FALSE(docs.dictionary.hasUndoStep());
    }
}

TEST(BulkImport, RefusalsLeaveEverythingAlone)
{
    struct Case {
        const char *name;
        BulkImportMode mode;
        QString input;
        MultiwordChoice choice;
        QString message;
    };
    const QList<Case> cases{
        {"empty", BulkImportMode::Dictionary, "", {}, "Nothing to process."},
        {"a line end", BulkImportMode::Autocorrect, "\r\n", {}, "Nothing to process."},
        {"separator row",
         BulkImportMode::Multiwords,
         "fire trucks",
         {2, 2, ""},
         "Not a valid target POS in the ComboBox."},
        {"sort, empty", BulkImportMode::SortWordlist, "", {}, "Nothing to process."},
        {"duplicates, one line", BulkImportMode::DeleteDuplicates, "only\n", {}, "Nothing to process."},
        {"XML tags, a line end", BulkImportMode::ConvertXmlTags, "\n", {}, "Nothing to process."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Documents docs;
        fill(docs.dictionary, {"old"});
        MainSettings settings;
        ScriptedUi ui;
        BulkImportSession session(c.mode, docs.targets(), settings, ui);
        session.input = c.input;
        session.multiwords = c.choice;
        EXPECT_EQ(session.process(), BulkImportOutcome::Refused);
        EXPECT_EQ(ui.messageTexts(), QStringList{c.message});
        EXPECT_EQ(ui.messages.at(0).title, QStringLiteral("Warning!"));
        EXPECT_TRUE(session.output().isEmpty());
        EXPECT_EQ(entriesOf(docs.dictionary.entries), QStringList{"old"});
        EXPECT_FALSE(docs.dictionary.hasUndoStep());
        if (BulkImportSession::isWordlistMode(c.mode)) {
            EXPECT_EQ(ui.statusText(), QStringLiteral("Processing: 0/0"));
        }
    }
}

// A line that would become an entry its file cannot hold back refuses the whole run,
// with its line number, before anything changes.
TEST(BulkImport, LinesTheThesaurusCannotHoldAreRefused)
{
    const QString hundred = QStringLiteral("w") + QStringLiteral(",x").repeated(100);
    struct Case {
        const char *name;
        QString input;
        QString message;
    };
    const QList<Case> cases{
        {"101 meanings", "ok,a\n" + hundred + ",y\n", "Line 2: Synonym has more than 100 meanings."},
        {"a line of commas", "ok,a\n\n" + QStringLiteral(",").repeated(1 << 20), "Line 3: No synonym text."},
        {"no head word", ",a,b", "Line 1: No synonym text."},
        {"a bar in the head word", "ok,a\nbig|3,large", "Line 2: The synonym can't contain \"|\"."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Documents docs;
        fill(docs.thesaurus, {"t|1\nx"});
        MainSettings settings;
        ScriptedUi ui;
        BulkImportSession session(BulkImportMode::Thesaurus, docs.targets(), settings, ui);
        session.input = c.input;
        EXPECT_EQ(session.process(), BulkImportOutcome::Refused);
        EXPECT_EQ(ui.messageTexts(), QStringList{c.message});
        EXPECT_EQ(ui.messages.at(0).title, QStringLiteral("Warning!"));
        EXPECT_EQ(entriesOf(docs.thesaurus.entries), QStringList{"t|1\nx"});
        EXPECT_FALSE(docs.thesaurus.changed);
        EXPECT_FALSE(docs.thesaurus.hasUndoStep());
        EXPECT_TRUE(session.output().isEmpty());
    }

    // 100 meanings are taken, and the saved thesaurus reads back entry for entry.
    Documents docs;
    fill(docs.thesaurus, {"t|1\nx"});
    MainSettings settings;
    ScriptedUi ui;
    BulkImportSession session(BulkImportMode::Thesaurus, docs.targets(), settings, ui);
    session.input = hundred + QStringLiteral("\nquick,fast");
    ASSERT_EQ(session.process(), BulkImportOutcome::Done);
    QTemporaryDir dir;
    const QString dat = dir.filePath(QStringLiteral("th.dat"));
    ASSERT_TRUE(WriteThesaurusFiles(ui, settings, docs.thesaurus, dat).done());
    ThesaurusDocument reread;
    ASSERT_TRUE(ReadThesaurusFile(ui, settings, dat, reread).done());
    EXPECT_EQ(entriesOf(reread.entries), entriesOf(docs.thesaurus.entries));
    EXPECT_EQ(reread.entries.size(), 3);
}

// A character no XML file can hold would make the saved list unreadable: the run is
// refused with its line and the character, before anything changes.
TEST(BulkImport, CharactersXmlForbidsAreRefusedForTheAutocorrectList)
{
    struct Case {
        QString input;
        QString message;
    };
    const QList<Case> cases{
        {QStringLiteral("teh,the\nnul,a") + QChar(0) + QStringLiteral("b"),
         "Line 2: The character U+0000 can't be written to an autocorrect list."},
        {QStringLiteral("a,\x01"), "Line 1: The character U+0001 can't be written to an autocorrect list."},
        {QStringLiteral("\n\na,b\x1F"), "Line 3: The character U+001F can't be written to an autocorrect list."},
        {QStringLiteral("a,b") + QChar(0xFFFE), "Line 1: The character U+FFFE can't be written to an autocorrect list."},
        {QStringLiteral("a,b") + QChar(0xDC80), "Line 1: The character U+DC80 can't be written to an autocorrect list."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        Documents docs;
        fill(docs.autocorrect, {"a\nb"});
        MainSettings settings;
        ScriptedUi ui;
        BulkImportSession session(BulkImportMode::Autocorrect, docs.targets(), settings, ui);
        session.input = c.input;
        EXPECT_EQ(session.process(), BulkImportOutcome::Refused);
        EXPECT_EQ(ui.messageTexts(), QStringList{c.message});
        EXPECT_EQ(entriesOf(docs.autocorrect.entries), QStringList{"a\nb"});
        EXPECT_FALSE(docs.autocorrect.changed);
        EXPECT_FALSE(docs.autocorrect.hasUndoStep());
    }

    // Tabs, emoji and every other character XML takes go in, and the list saves readable.
    Documents docs;
    MainSettings settings;
    ScriptedUi ui;
    BulkImportSession session(BulkImportMode::Autocorrect, docs.targets(), settings, ui);
    session.input = QStringLiteral(":smile:,\U0001F600\na\tb,c\u00E7");
    ASSERT_EQ(session.process(), BulkImportOutcome::Done);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DocumentList.xml"));
    ASSERT_TRUE(WriteAutocorrectFile(ui, settings, docs.autocorrect, path).done());
    AutocorrectList reread;
    ASSERT_TRUE(ReadAutocorrectFile(ui, settings, path, reread).done());
    EXPECT_EQ(entriesOf(reread.entries), entriesOf(docs.autocorrect.entries));
}

TEST(BulkImport, UndoAndAbortRevertTheRun)
{
    Documents docs;
    fill(docs.thesaurus, {"t|1\nx"});
    docs.thesaurus.changed = false;
    MainSettings settings;
    ScriptedUi ui;
    BulkImportSession session(BulkImportMode::Thesaurus, docs.targets(), settings, ui);
    session.input = "a,b\nc,d\ne,f";
    ASSERT_EQ(session.process(), BulkImportOutcome::Done);
    EXPECT_EQ(docs.thesaurus.entries.size(), 4);
    // One Undo takes the whole run back; Redo brings it again.
    ASSERT_TRUE(UndoListChange(docs.thesaurus));
    EXPECT_EQ(entriesOf(docs.thesaurus.entries), QStringList{"t|1\nx"});
    ASSERT_TRUE(RedoListChange(docs.thesaurus));
    EXPECT_EQ(docs.thesaurus.entries.size(), 4);

    // Escape answered Yes after the first line: the list is as before the run, the log stays.
    Documents aborted;
    fill(aborted.autocorrect, {"a\nb"});
    ScriptedUi abortUi;
    abortUi.pressEscape();
    abortUi.answers = {true};
    BulkImportSession abortSession(BulkImportMode::Autocorrect, aborted.targets(), settings, abortUi);
    abortSession.input = "teh,the\nadn,and\n";
    EXPECT_EQ(abortSession.process(), BulkImportOutcome::Aborted);
    EXPECT_EQ(entriesOf(aborted.autocorrect.entries), QStringList{"a\nb"});
    EXPECT_EQ(abortSession.output(), QStringLiteral("1) teh,the\n"));
    EXPECT_EQ(abortUi.messageTexts(), QStringList{"Really abort?"});
    EXPECT_EQ(abortUi.statusText(), QStringLiteral("Aborted."));

    // The possessive names revert the same way.
    DictionaryDocument dictionary;
    fill(dictionary, {"old"});
    PossessiveSettings possessives;
    ScriptedUi namesUi;
    namesUi.pressEscape();
    namesUi.answers = {false, true};
    PossessiveNamesSession names(dictionary, possessives, settings, namesUi);
    names.input = "Anna\nBrno\n";
    // The first Escape reaches the dictionary scan and is answered No; the second one,
    // pressed as the first line is done, Yes.
    namesUi.onProcessEvents = [&names, first = true](ScriptedUi &ui) mutable {
        if (!first && names.found() == 1 && ui.answers.size() == 1)
            ui.pressEscape();
        first = false;
        ui.fakeClock.advance(100);
    };
    EXPECT_FALSE(names.process());
    EXPECT_EQ(entriesOf(dictionary.entries), QStringList{"old"});
    EXPECT_EQ(names.output(), QStringLiteral("1) Anna/M\n"));
}

TEST(BulkImport, SortSmallWordlist)
{
    Documents docs;
    MainSettings settings;
    ScriptedUi ui;
    BulkImportSession session(BulkImportMode::SortWordlist, docs.targets(), settings, ui);
    session.input = "pear\r\nApple\néclair";
    ASSERT_EQ(session.process(), BulkImportOutcome::Done);
    EXPECT_EQ(session.output(), QStringLiteral("Apple\néclair\npear\n"));
    EXPECT_EQ(session.foundText(), QStringLiteral("Found:3"));
    EXPECT_EQ(ui.statuses.first(), QStringLiteral("Step 1/4: Converting wordlist to Unix"));
    EXPECT_TRUE(ui.statuses.contains(QStringLiteral("Step 3/4: Sorting wordlist in array")));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Processing Done!"));

    session.input = "pear|Apple|éclair";
    ASSERT_EQ(session.processRegexp(), BulkImportOutcome::Done);
    EXPECT_EQ(session.output(), QStringLiteral("Apple|éclair|pear"));
    EXPECT_EQ(session.input, QStringLiteral("pear|Apple|éclair"));
}

TEST(BulkImport, RegexpMustBeSimpleAlternatives)
{
    const QList<std::pair<QString, bool>> cases{
        {"pear|Apple", true}, {"x(ab)|y", true}, {"(a)(b)|c", true}, {"a:b|c", false},
        {"(a|b)|c", false},   {"()|c", false},   {"(a|c", false},    {")a(|b", false},
        {"((a))|b", false},   {"a)|(b", false},  {"(ab", false},
    };
    for (const auto &[text, simple] : cases) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(IsSimpleAlternation(text), simple);
    }
    Documents docs;
    MainSettings settings;
    ScriptedUi ui;
    BulkImportSession session(BulkImportMode::SortWordlist, docs.targets(), settings, ui);
    session.input = "(a|b)|c";
    EXPECT_EQ(session.processRegexp(), BulkImportOutcome::Refused);
    EXPECT_EQ(ui.messageTexts(),
              QStringList{"RegExp too complex or has errors.\n\nAvoid using the symbols: \"( ) :\"."});
    EXPECT_EQ(session.input, QStringLiteral("(a|b)|c"));
    EXPECT_TRUE(session.output().isEmpty());
}

TEST(BulkImport, DeleteDuplicatesKeepsTheFirstOfEach)
{
    Documents docs;
    MainSettings settings;
    ScriptedUi ui;
    BulkImportSession session(BulkImportMode::DeleteDuplicates, docs.targets(), settings, ui);
    session.input = "b\na\nb\n";
    ASSERT_EQ(session.process(), BulkImportOutcome::Done);
    EXPECT_EQ(session.output(), QStringLiteral("b\na\n"));
    EXPECT_EQ(session.foundText(), QStringLiteral("Found:2"));
    EXPECT_EQ(ui.messageTexts(), QStringList{"Duplicates removed:1"});
    EXPECT_EQ(ui.messages.at(0).title, QStringLiteral("Warning!"));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Processing Done!"));
}

TEST(BulkImport, CharacterReferences)
{
    const QList<std::pair<QString, QString>> cases{
        {"&#233;t&#233;", "été"},
        {"caf&#0233;", "café"}, // leading zeros are still decimal
        {"&#38;#233;", "é"},    // a produced "&" starts a new reference
        {"&&#35;65;", "A"},     // so does a produced "#"
        {"&#6&#53;;", "A"},     // and a produced digit
        {"&#65&#59;", "A"},     // and a produced ";"
        {"&#128512;", QString::fromUtf8("\xF0\x9F\x98\x80")},
        {"&#;", "&#;"},               // nothing between "&#" and ";"
        {"&#x41;", "&#x41;"},         // hexadecimal form: kept
        {"&#12a;", "&#12a;"},         // letters in the number: kept
        {"&#0;", "&#0;"},             // not a character
        {"&#55296;", "&#55296;"},     // a surrogate half
        {"&#1114112;", "&#1114112;"}, // beyond Unicode
        {"&#99999999999999999999999;", "&#99999999999999999999999;"},
        {"&#233", "&#233"}, // never closed
        {"a & b; #1;", "a & b; #1;"},
    };
    for (const auto &[in, out] : cases) {
        SCOPED_TRACE(in.toStdString());
        EXPECT_EQ(ConvertCharacterReferences(in), out);
        EXPECT_EQ(directConvert(in), out);
    }
    Documents docs;
    MainSettings settings;
    ScriptedUi ui;
    BulkImportSession session(BulkImportMode::ConvertXmlTags, docs.targets(), settings, ui);
    session.input = "&#233;t&#233;\r\nplain";
    ASSERT_EQ(session.process(), BulkImportOutcome::Done);
    EXPECT_EQ(session.output(), QStringLiteral("été\nplain\n"));
    EXPECT_EQ(session.foundText(), QStringLiteral("Found:2"));
}

// The last step of the wordlist modes: what each tick shows (status, bar, found) and
// what an abort keeps. The clock moves a full period per poll, so every line ticks.
TEST(BulkImport, WordlistModesTickAndAbortWhilePopulating)
{
    struct Case {
        BulkImportMode mode;
        QStringList ticks; // "status | bar | found" on each tick of the last step
        QString output;
        QString abortedOutput; // Escape answered Yes once two lines are out
    };
    const QString step4 = QStringLiteral("Step 4/4: Populating Editor Gadget");
    const QList<Case> cases{
        {BulkImportMode::SortWordlist,
         {step4 + " (1/4) | 1 | 1", step4 + " (2/4) | 2 | 2", step4 + " (3/4) | 3 | 3", step4 + " (4/4) | 4 | 4"},
         "&#233;\na\nb\nb\n",
         "&#233;\na\n"},
        {BulkImportMode::DeleteDuplicates,
         {step4 + " | 1 | 1", step4 + " | 2 | 2", step4 + " | 3 | 2", step4 + " | 4 | 3"},
         "b\na\n&#233;\n",
         "b\na\n"},
        {BulkImportMode::ConvertXmlTags,
         {step4 + " | 1 | 1", step4 + " | 2 | 2", step4 + " | 3 | 3", step4 + " | 4 | 4"},
         "b\na\nb\né\n",
         "b\na\n"},
    };
    Documents docs;
    MainSettings settings;
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.mode));
        ScriptedUi ui;
        ui.onProcessEvents = [](ScriptedUi &ui) { ui.fakeClock.advance(LongTask::tickMs); };
        BulkImportSession session(c.mode, docs.targets(), settings, ui);
        session.input = "b\na\nb\n&#233;";
        QStringList ticks;
        session.onTick = [&] {
            ticks.append(ui.statusText() + " | " + QString::number(ui.progressValue()) + " | " +
                         QString::number(session.found()));
        };
        ASSERT_EQ(session.process(), BulkImportOutcome::Done);
        EXPECT_EQ(ticks, c.ticks);
        EXPECT_EQ(session.output(), c.output);
        EXPECT_EQ(ui.statusText(), QStringLiteral("Processing Done!"));

        ScriptedUi abortUi;
        abortUi.answers = {true};
        BulkImportSession aborted(c.mode, docs.targets(), settings, abortUi);
        aborted.input = session.input;
        abortUi.onProcessEvents = [&aborted, pressed = false](ScriptedUi &ui) mutable {
            ui.fakeClock.advance(LongTask::tickMs);
            if (!pressed && ui.statusText().startsWith(QStringLiteral("Step 4/4")) && aborted.found() == 2) {
                ui.pressEscape();
                pressed = true;
            }
        };
        EXPECT_EQ(aborted.process(), BulkImportOutcome::Aborted);
        EXPECT_EQ(aborted.output(), c.abortedOutput);
        EXPECT_EQ(aborted.found(), 2);
        EXPECT_EQ(abortUi.messageTexts(), QStringList{"Really abort?"});
        EXPECT_EQ(abortUi.statusText(), QStringLiteral("Aborted."));
    }
}

// The fast paths against the loops written out directly, on random small inputs.
TEST(BulkImport, WordlistModesMatchTheDirectLoops)
{
    std::mt19937 random(24);
    const QStringList pieces{"a", "A", "á", "b", "B", "é", "e", " ", "&#", "3", "8", ";", "#", "&", "5", "9", ""};
    MainSettings settings;
    for (int round = 0; round < 300; ++round) {
        QStringList lines;
        const int count = 2 + int(random() % 12);
        for (int i = 0; i < count; ++i) {
            QString line;
            const int length = int(random() % 7);
            for (int k = 0; k < length; ++k)
                line += pieces[int(random() % pieces.size())];
            lines.append(line);
        }
        const QString input = lines.join(u'\n');
        // As the window reads it: a last empty line is the final line end.
        if (input.isEmpty() || input == QLatin1String("\n"))
            continue;
        if (lines.last().isEmpty())
            lines.removeLast();
        Documents docs;
        ScriptedUi ui;
        for (BulkImportMode mode :
             {BulkImportMode::SortWordlist, BulkImportMode::DeleteDuplicates, BulkImportMode::ConvertXmlTags}) {
            BulkImportSession session(mode, docs.targets(), settings, ui);
            session.input = input;
            if (mode == BulkImportMode::DeleteDuplicates && lines.size() < 2)
                continue;
            ASSERT_EQ(session.process(), BulkImportOutcome::Done) << input.toStdString();
            QString expected;
            if (mode == BulkImportMode::SortWordlist)
                expected = directSort(lines);
            else if (mode == BulkImportMode::DeleteDuplicates)
                expected = directDeduplicate(lines);
            else
                for (const QString &line : lines)
                    expected += directConvert(line) + u'\n';
            ASSERT_EQ(session.output(), expected) << input.toStdString();
        }
    }
}

TEST(BulkImport, OpenAndSaveTheWordlist)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.txt");
    QFile file(in);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF"
               "b\r\na\r\n\xFF\n");
    file.close();
    Documents docs;
    MainSettings settings;
    ScriptedUi ui;
    BulkImportSession session(BulkImportMode::SortWordlist, docs.targets(), settings, ui);

    session.saveAs();
    EXPECT_EQ(ui.messageTexts(), QStringList{"Nothing to save."});
    ui.clearRecords();

    ui.openPaths = {dir.filePath("missing.txt"), in};
    EXPECT_FALSE(session.openFile());
    EXPECT_EQ(ui.messageTexts(), QStringList{"File not found."});
    ASSERT_TRUE(session.openFile());
    EXPECT_EQ(session.input.size(), 6);
    EXPECT_TRUE(session.input.startsWith(QStringLiteral("b\na\n")));

    ASSERT_EQ(session.process(), BulkImportOutcome::Done);
    ui.savePaths = {dir.filePath("out")};
    ASSERT_TRUE(session.saveAs());
    QFile saved(dir.filePath("out.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    // The byte that was not UTF-8 comes back as it was.
    EXPECT_EQ(saved.readAll(), QByteArray("\xEF\xBB\xBF"
                                          "a\nb\n\xFF\n"));
    EXPECT_EQ(ui.dialogTitles, (QStringList{"Open Text File", "Open Text File", "Save Text File"}));
}

TEST(PossessiveNames, AddsTheMissingCapitalisedWords)
{
    struct Case {
        const char *name;
        QString input;
        QStringList dictionary;
        QString possessives;
        QStringList added;
    };
    const QList<Case> cases{
        {"the example", "I met John's sister in Paris.", {"walk/S"}, "/M", {"I/M", "John/M", "Paris/M"}},
        {"already there", "I met John's sister in Paris.", {"Paris/MS", "xJohn/M"}, "/M", {"I/M"}},
        {"a name once", "Anna and Anna; Anna", {}, "/M", {"Anna/M"}},
        {"inside a name added before", "McJohn met John", {}, "/M", {"McJohn/M"}},
        {"dashes and digits", "Jean-Luc -Ann Ann- 3D Über ßtraße", {}, "/M", {"Jean-Luc/M", "D/M", "Über/M"}},
        {"no possessives", "Oslo Os", {"Oslon"}, "", {}},
    };
    MainSettings settings;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DictionaryDocument dictionary;
        fill(dictionary, c.dictionary);
        PossessiveSettings possessives;
        possessives.possessives = c.possessives;
        ScriptedUi ui;
        PossessiveNamesSession session(dictionary, possessives, settings, ui);
        session.input = c.input;
        ASSERT_TRUE(session.process());
        EXPECT_EQ(entriesOf(dictionary.entries), c.dictionary + c.added);
        QString log;
        for (qsizetype i = 0; i < c.added.size(); ++i)
            log += QString::number(i + 1) + QStringLiteral(") ") + c.added[i] + u'\n';
        EXPECT_EQ(session.output(), log);
        EXPECT_EQ(dictionary.changed, !c.added.isEmpty());
        EXPECT_EQ(dictionary.hasUndoStep(), !c.added.isEmpty());
        EXPECT_TRUE(ui.statusText().endsWith(QStringLiteral(" Done!")));
    }

    DictionaryDocument dictionary;
    PossessiveSettings possessives;
    ScriptedUi ui;
    PossessiveNamesSession session(dictionary, possessives, settings, ui);
    session.input = "\r\n";
    EXPECT_FALSE(session.process());
    EXPECT_EQ(ui.messageTexts(), QStringList{"Nothing to process."});
}

TEST(PossessiveNames, MatchesTheDirectLoop)
{
    std::mt19937 random(7);
    const QStringList words{"Jo",   "John", "McJohn", "ohn", "Ann", "-Ann",  "Ann-",   "Élan",
                            "élan", "Jo/M", "Ann/MS", "J",   "x",   "Oslo.", "(Bern)", "Anna's"};
    MainSettings settings;
    for (int round = 0; round < 300; ++round) {
        QStringList dictionaryEntries;
        for (int i = int(random() % 4); i > 0; --i)
            dictionaryEntries.append(words[int(random() % words.size())]);
        QString text;
        for (int i = int(random() % 14); i > 0; --i)
            text += words[int(random() % words.size())] + (random() % 4 ? QStringLiteral(" ") : QStringLiteral("\n"));
        const QString possessives = round % 5 == 0 ? QString() : QStringLiteral("/M");
        PossessiveSettings ps;
        ps.possessives = possessives;
        DictionaryDocument dictionary;
        fill(dictionary, dictionaryEntries);
        ScriptedUi ui;
        PossessiveNamesSession session(dictionary, ps, settings, ui);
        session.input = text;
        session.logIndexOn = false;
        const QString normalised = NormaliseNamesText(text, ps);
        if (normalised == QLatin1String("\n") || normalised == QLatin1String(" \n")) {
            session.process();
            continue;
        }
        ASSERT_TRUE(session.process()) << text.toStdString();
        const QStringList expected = directPossessives(normalised, dictionaryEntries, possessives);
        ASSERT_EQ(entriesOf(dictionary.entries), dictionaryEntries + expected) << text.toStdString();
    }
}

// The replacements one after the other, as listed.
QString directNormaliseNames(const QString &text, const PossessiveSettings &settings)
{
    QString t = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    if (!t.endsWith(u'\n'))
        t += u'\n';
    t.replace(u'+', u' ').replace(u'%', u' ').replace(QChar(0x2013), u'-');
    for (const QChar c : QStringLiteral(",.&\t()[]{}/*?:!;|"))
        t.replace(c, u' ');
    t.replace(QLatin1String("--"), QLatin1String("-"));
    for (const QString &s :
         {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
          QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
          QStringLiteral("<"), QStringLiteral(">"), QStringLiteral(" - "), QStringLiteral(" \u2212 "),
          QStringLiteral(" \u2014 "), settings.remove1, settings.remove2})
        if (!s.isEmpty())
            t.replace(s, QLatin1String(" "));
    return t.replace(QLatin1String("  "), QLatin1String(" "));
}

TEST(PossessiveNames, NormalisesTheText)
{
    std::mt19937 random(3);
    const QString alphabet = QStringLiteral("a -\u2013\u2212\u2014+%,.&\t()/*?:!;|<>09'\u2019s\r\nA");
    for (int round = 0; round < 2000; ++round) {
        QString text;
        for (int k = int(random() % 20); k > 0; --k)
            text += alphabet[int(random() % alphabet.size())];
        const PossessiveSettings settings;
        ASSERT_EQ(NormaliseNamesText(text, settings), directNormaliseNames(text, settings)) << text.toStdString();
    }

    PossessiveSettings settings;
    EXPECT_EQ(NormaliseNamesText(QStringLiteral("Rio+São (1999) – a—b — c − d Bob’s x--y"), settings),
              QStringLiteral("Rio São    a—b c d Bob x-y\n")); // double spaces halved once
}
