#include "core/dictionary/word_editor_model.h"
#include "core/hyphenation/hyphenate.h"
#include "core/hyphenation/hyphenation_document.h"
#include "core/hyphenation/hyphenation_files.h"
#include "core/hyphenation/hyphenation_patterns.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"

#include "engine_fixtures.h"
#include "gtest_qt_printers.h"
#include "save_faults.h"
#include "scripted_ui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexaloom;
using namespace lexaloom::testing;

namespace {

HyphenatedWord hyphenate(const QString &text, const QString &word)
{
    HyphenationPatternCache cache;
    EXPECT_EQ(BuildPatternCacheQuietly(cache, text), QString()) << text.toStdString();
    return HyphenateWord(cache, word);
}

QStringList wordsOf(const QList<HyphenationRow> &rows)
{
    QStringList out;
    for (const HyphenationRow &row : rows)
        out << row.word;
    return out;
}

} // namespace

TEST(HyphenationPatterns, SpacedForm)
{
    const struct {
        const char16_t *line;
        const char16_t *key;
        const char16_t *values;
    } cases[] = {
        {u"ab1e", u"a b e", u"a b1e"},      {u"1ba", u" b a", u"1b a"},
        {u".ab1e", u". a b e", u". a b1e"}, {u"a1b2", u"a b", u"a1b2"},
        {u"a=b", u"a b", u"a-b"},           {u"a-b", u"a b", u"a-b"},
        {u"a13b", u"a b", u"a3b"}, // the later value takes the slot
        {u"a0b", u"a 0 b", u"a 0 b"},       {u"", u"", u""},
    };
    for (const auto &c : cases) {
        const SpacedPattern p = ParsePatternLine(QStringView(c.line));
        EXPECT_EQ(p.key, QString::fromUtf16(c.key)) << QString::fromUtf16(c.line).toStdString();
        EXPECT_EQ(p.values, QString::fromUtf16(c.values)) << QString::fromUtf16(c.line).toStdString();
    }
}

TEST(HyphenationPatterns, HyphenateWord)
{
    const struct {
        const char16_t *text;
        const char16_t *word;
        const char16_t *hyphenated;
        const char16_t *rule;
        bool noMatches;
    } cases[] = {
        {u"UTF-8\nb1e\n", u"abef", u"ab-ef", u"ab1ef", false},
        // The break would leave two letters after it.
        {u"UTF-8\nRIGHTHYPHENMIN 3\nb1e\n", u"abef", u"abef", u"ab1ef", false},
        {u"UTF-8\nLEFTHYPHENMIN 3\nb1e\n", u"abef", u"abef", u"ab1ef", false},
        {u"UTF-8\nLEFTHYPHENMIN 2\nRIGHTHYPHENMIN 2\nb1e\n", u"abef", u"ab-ef", u"ab1ef", false},
        // With the defaults only the gap after the last letter is cleared.
        {u"UTF-8\nf1\n", u"abef", u"abef", u"abef1", false},
        // The gap before the word is not shown: nothing is left to see.
        {u"UTF-8\n1a\n", u"abef", u"abef", u"No matches", true},
        {u"UTF-8\n1ab\n", u"abc", u"abc", u"No matches", true},
        // A boundary pattern without values still shows its dot.
        {u"UTF-8\n.a\n", u"abc", u"abc", u".abc", false},
        {u"UTF-8\nc.\n", u"abc", u"abc", u"abc.", false},
        // Even values never break; the highest value wins whatever the order.
        {u"UTF-8\nb2e\nb1e\n", u"abef", u"abef", u"ab2ef", false},
        {u"UTF-8\nb1e\nab4\nb3e\n", u"abef", u"abef", u"ab4ef", false},
        {u"UTF-8\nb1e\nab2\nb3e\n", u"abef", u"ab-ef", u"ab3ef", false},
        // Forced breaks: a later digit neither lowers nor raises them. The values column
        // then reads as the word, which is what "No matches" is shown for.
        {u"UTF-8\na=b\na4b\n", u"cabab", u"ca-ba-b", u"No matches", true},
        {u"UTF-8\na4b\na=b\na5b\n", u"cab", u"ca-b", u"No matches", true},
        {u"UTF-8\na=b\n", u"ab", u"a-b", u"No matches", true},
        {u"UTF-8\na=b\nb1\n", u"abc", u"a-b-c", u"a-b1c", false},
        // A pattern that occurs twice breaks twice.
        {u"UTF-8\na1b\n", u"abab", u"a-ba-b", u"a1ba1b", false},
        // Every occurrence applies, overlapping ones included.
        {u"UTF-8\na1a\n", u"aaa", u"a-a-a", u"a1a1a", false},
        {u"UTF-8\n2ini\nn1i\n", u"asininity", u"asinin-ity", u"as2in2in1ity", false},
        // "0" is a letter.
        {u"UTF-8\na01b\n", u"xa0by", u"xa0-by", u"xa01by", false},
        {u"UTF-8\na01b\n", u"xaby", u"xaby", u"No matches", true},
        // Matching ignores case; the word keeps its own.
        {u"UTF-8\nab1e\n", u"ABE", u"AB-E", u"AB1E", false},
        {u"UTF-8\nAB1E\n", u"abe", u"ab-e", u"ab1e", false},
        // Boundary patterns mark the values column.
        {u"UTF-8\n.ab1\n", u"abc", u"ab-c", u".ab1c", false},
        {u"UTF-8\n1c.\n", u"abc", u"ab-c", u"ab1c.", false},
        {u"UTF-8\n1.a\n", u"abc", u"abc", u"No matches", true}, // needs a gap before its dot
        {u"UTF-8\nb1e\n", u"xyz", u"xyz", u"No matches", true},
        // Lines with "/" are kept as letters and so never match a plain word.
        {u"UTF-8\nc1k/k=k,1,2\n", u"back", u"back", u"No matches", true},
        // The word's own digits and hyphens stay letters, never values.
        {u"UTF-8\nb1e\n", u"23-i", u"23-i", u"No matches", true},
        {u"UTF-8\n1e\n", u"7-es", u"7-es", u"7-1es", false},
        {u"UTF-8\nx1\n1r\n", u"x-ray", u"x-ray", u"x1-1ray", false},
        {u"UTF-8\n1r\n", u"x-rarray", u"x-ra-r-ray", u"x-1ra1r1ray", false},
        {u"UTF-8\n2b1\n", u"a2b3", u"a2b-3", u"a22b13", false},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const QString word = QString::fromUtf16(c.word);
        HyphenatedWord got = hyphenate(text, word);
        if (got.noMatches)
            got.rule = hyphenationTexts::noMatches;
        EXPECT_EQ(got.word, QString::fromUtf16(c.hyphenated)) << text.toStdString() << word.toStdString();
        EXPECT_EQ(got.rule, QString::fromUtf16(c.rule)) << text.toStdString() << word.toStdString();
        EXPECT_EQ(got.noMatches, c.noMatches) << text.toStdString() << word.toStdString();
    }
}

// Hostile sizes: a pattern line longer than any real one is refused with its line number
// before the trie is built, and a word longer than any real one is left as it is, so
// neither can exhaust memory or time.
TEST(HyphenationPatterns, OverlongPatternsAndWordsAreRefused)
{
    HyphenationPatternCache cache;
    const QString longest = QString(254, u'a') + QLatin1Char('1'); // 255 characters
    EXPECT_EQ(BuildPatternCacheQuietly(cache, "UTF-8\n%" + QString(5000, u'x') + "\n" + longest + "\n"), QString());
    EXPECT_EQ(cache.patternCount(), 1);
    EXPECT_EQ(BuildPatternCacheQuietly(cache, "UTF-8\nb1e\n" + QString(1 << 20, u'a') + "1\n"),
              QStringLiteral("Pattern too long in line 3 (over 255 characters)."));
    EXPECT_EQ(cache.patternCount(), 0);

    ScriptedUi ui;
    MainSettings settings;
    EXPECT_FALSE(BuildPatternCache(cache, "UTF-8\n" + longest + "a\n", ui, settings));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Pattern too long in line 2 (over 255 characters)."));

    // Every prefix of the word as a pattern: the word of 1,000 letters is hyphenated,
    // one letter more is left alone and the run says so once.
    QString prefixes = QStringLiteral("UTF-8\n");
    for (int length = 1; length <= 254; ++length)
        prefixes += QString(length, u'a') + QStringLiteral("1\n");
    ASSERT_TRUE(BuildPatternCache(cache, prefixes, ui, settings));
    QList<HyphenationRow> rows{{QString(1000, u'a'), {}, {}, false, {}}, {QString(1001, u'a'), {}, {}, false, {}}};
    ui.messages.clear();
    ASSERT_TRUE(HyphenateResults(cache, rows, ui, settings));
    EXPECT_EQ(rows[0].word.count(u'-'), 999);
    EXPECT_EQ(rows[1].word, QString(1001, u'a'));
    EXPECT_TRUE(rows[1].rule.isEmpty());
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Words longer than 1,000 characters are not hyphenated.")});
}

TEST(HyphenationPatterns, CacheChecksAndKeywords)
{
    const struct {
        const char16_t *text;
        const QString &warning;
    } refused[] = {
        {u"UTF-8\nb1e", hyphenationTexts::mustEndWithLf},
        {u"UTF-8\n", hyphenationTexts::noRules},
        {u"UTF-8\n \n\n", hyphenationTexts::noRules},
        {u"utf-8\nb1e\n", hyphenationTexts::mustStartWithUtf8},
        {u" UTF-8\nb1e\n", hyphenationTexts::mustStartWithUtf8},
        {u"", hyphenationTexts::mustStartWithUtf8},
    };
    MainSettings settings;
    for (const auto &c : refused) {
        ScriptedUi ui;
        HyphenationPatternCache cache;
        EXPECT_FALSE(BuildPatternCache(cache, QString::fromUtf16(c.text), ui, settings));
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].text, c.warning);
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
    }

    ScriptedUi ui;
    HyphenationPatternCache cache;
    const QString text = QStringLiteral("UTF-8\r\nLEFTHYPHENMIN 2\nRIGHTHYPHENMIN 3\nCOMPOUNDLEFTHYPHENMIN 4\n"
                                        "COMPOUNDRIGHTHYPHENMIN 5 x\n% a comment\nlefthyphenmin 7\n\nb1e\n");
    ASSERT_TRUE(BuildPatternCache(cache, text, ui, settings));
    EXPECT_EQ(ui.statuses, (QStringList{hyphenationTexts::optimisingStatus, QStringLiteral("OK.")}));
    EXPECT_EQ(ui.progressMaximum, 9);
    EXPECT_EQ(cache.leftHyphenMin, 2);
    EXPECT_EQ(cache.rightHyphenMin, 3);
    EXPECT_EQ(cache.compoundLeftHyphenMin, 4);
    EXPECT_EQ(cache.compoundRightHyphenMin, 5);
    // The lower-case keyword and the empty line are patterns too.
    EXPECT_EQ(cache.patternCount(), 3);
    // The same text again: the cache is reused without a word.
    ui.clearRecords();
    EXPECT_TRUE(BuildPatternCache(cache,
                                  QStringLiteral("UTF-8\nLEFTHYPHENMIN 2\nRIGHTHYPHENMIN 3\n"
                                                 "COMPOUNDLEFTHYPHENMIN 4\nCOMPOUNDRIGHTHYPHENMIN 5 x\n"
                                                 "% a comment\nlefthyphenmin 7\n\nb1e\n"),
                                  ui, settings));
    EXPECT_TRUE(ui.statuses.isEmpty());
    // A new text starts from the default minimums.
    ASSERT_TRUE(BuildPatternCache(cache, QStringLiteral("UTF-8\nb1e\n"), ui, settings));
    EXPECT_EQ(cache.leftHyphenMin, 1);
    EXPECT_EQ(cache.rightHyphenMin, 1);
}

namespace {

struct TabFixture {
    MainSettings settings;
    ScriptedUi ui;
    AffixTable table;
    QString affText = QStringLiteral("SET UTF-8\nSFX S Y 1\nSFX S 0 s .\n\nSFX G Y 1\nSFX G 0 ing .\n");
    HyphenationDocument doc;
    HyphenationContext context{table, affText, settings, ui};
};

} // namespace

TEST(HyphenationTab, HyphenateListsTheFormsAndBreaksThem)
{
    TabFixture f;
    f.doc.text = QStringLiteral("UTF-8\nl1k\n1ing\n");
    EXPECT_EQ(Hyphenate(f.doc, f.context, QStringLiteral("walk/SG")), HyphenationOutcome::Hyphenated);
    // The rows are coloured by the form's type, as in the word editor.
    const int primary = derivedTypeColour(f.settings, DerivedType::Primary);
    const int suffix = derivedTypeColour(f.settings, DerivedType::Suffix);
    ASSERT_NE(primary, suffix);
    const QList<HyphenationRow> expected{
        {QStringLiteral("wal-k"), QString(), QStringLiteral("wal1k"), false, primary},
        {QStringLiteral("wal-ks"), QStringLiteral("S"), QStringLiteral("wal1ks"), false, suffix},
        {QStringLiteral("wal-k-ing"), QStringLiteral("G"), QStringLiteral("wal1k1ing"), false, suffix},
    };
    EXPECT_EQ(f.doc.results, expected);
    EXPECT_EQ(f.doc.lastTestedWord, QStringLiteral("walk/SG"));
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("OK."));
    EXPECT_TRUE(f.ui.statuses.contains(QStringLiteral("Parsing rules against words:1/3... <ESC> To abort.")));
    EXPECT_EQ(f.ui.progressMaximum, 3 * 2);

    // Update takes the last word again, through the edited patterns.
    f.doc.text = QStringLiteral("UTF-8\nRIGHTHYPHENMIN 2\nl1k\n");
    EXPECT_EQ(UpdateHyphenation(f.doc, f.context), HyphenationOutcome::Hyphenated);
    EXPECT_EQ(wordsOf(f.doc.results), (QStringList{"walk", "wal-ks", "wal-king"}));
    EXPECT_TRUE(f.ui.messages.isEmpty());

    // Patterns that give a warning leave the forms listed as derived.
    f.doc.text = QStringLiteral("UTF-8\nl1k");
    EXPECT_EQ(UpdateHyphenation(f.doc, f.context), HyphenationOutcome::Derived);
    EXPECT_EQ(wordsOf(f.doc.results), (QStringList{"walk", "walks", "walking"}));
    EXPECT_EQ(f.ui.messageTexts(), QStringList{hyphenationTexts::mustEndWithLf});
}

TEST(HyphenationTab, RefusalsAndClear)
{
    TabFixture f;
    EXPECT_EQ(UpdateHyphenation(f.doc, f.context), HyphenationOutcome::Refused);
    for (const QString &field : {QString(), QStringLiteral(" walk"), QStringLiteral("/walk")})
        EXPECT_EQ(Hyphenate(f.doc, f.context, field), HyphenationOutcome::Refused);
    EXPECT_EQ(f.ui.messageTexts(),
              (QStringList{"No last hyphenated word.", "No word selected.", "No word selected.", "No word selected."}));
    for (const auto &m : f.ui.messages)
        EXPECT_EQ(m.title, QStringLiteral("Warning!"));
    EXPECT_TRUE(f.doc.lastTestedWord.isEmpty());

    // The encoding line alone has no rules.
    f.doc.text = HyphenationDocument::emptyText();
    f.ui.clearRecords();
    EXPECT_EQ(Hyphenate(f.doc, f.context, QStringLiteral("walk")), HyphenationOutcome::Derived);
    EXPECT_EQ(f.ui.messageTexts(), QStringList{"No Rules to parse."});
    EXPECT_EQ(wordsOf(f.doc.results), QStringList{"walk"});

    // Clear asks while the text is changed; No keeps everything.
    f.doc.text = QStringLiteral("UTF-8\nl1k\n");
    f.doc.changed = true;
    ASSERT_EQ(Hyphenate(f.doc, f.context, QStringLiteral("walk")), HyphenationOutcome::Hyphenated);
    f.ui.clearRecords();
    f.ui.answers = {false};
    EXPECT_FALSE(ClearHyphenation(f.doc, f.ui));
    EXPECT_EQ(f.doc.results.size(), 1);
    EXPECT_TRUE(f.doc.changed);
    f.ui.answers = {true};
    EXPECT_TRUE(ClearHyphenation(f.doc, f.ui));
    EXPECT_EQ(f.ui.messageTexts(), (QStringList(2, QStringLiteral("The Hyphenation has been changed.\n\nContinue?"))));
    EXPECT_EQ(f.doc.text, QStringLiteral("UTF-8\n"));
    EXPECT_TRUE(f.doc.results.isEmpty());
    EXPECT_FALSE(f.doc.changed);
    EXPECT_EQ(f.doc.lastTestedWord, QStringLiteral("walk"));
    // Unchanged: no question.
    f.ui.clearRecords();
    EXPECT_TRUE(ClearHyphenation(f.doc, f.ui));
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(HyphenationTab, EscapeKeepsTheRowsDoneSoFar)
{
    TabFixture f;
    HyphenationPatternCache cache;
    ASSERT_EQ(BuildPatternCacheQuietly(cache, QStringLiteral("UTF-8\nl1k\n")), QString());
    QList<HyphenationRow> rows{{QStringLiteral("walks"), {}, {}, false},
                               {QStringLiteral("walker"), {}, {}, false},
                               {QStringLiteral("walked"), {}, {}, false}};
    int pumps = 0;
    f.ui.onProcessEvents = [&pumps](ScriptedUi &ui) {
        ui.fakeClock.advance(LongTask::eventPumpMs + 5);
        if (++pumps == 2)
            ui.pressEscape();
    };
    f.ui.answers = {true};
    EXPECT_FALSE(HyphenateResults(cache, rows, f.ui, f.settings));
    EXPECT_EQ(f.ui.messageTexts(), QStringList{"Really abort?"});
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(wordsOf(rows), (QStringList{"wal-ks", "walker", "walked"}));
    EXPECT_TRUE(rows[1].rule.isEmpty());
}

TEST(HyphenationFiles, LoadAndSave)
{
    MainSettings settings;
    ScriptedUi ui;
    HyphenationDocument doc;
    const QString fixture = QStringLiteral(LEXALOOM_FIXTURES "/hyphenation/small.dic");
    ASSERT_TRUE(LoadHyphenation(doc, settings, ui, fixture).done());
    // The byte-order mark goes, line ends become LF.
    EXPECT_EQ(doc.text, QStringLiteral("UTF-8\nLEFTHYPHENMIN 2\nRIGHTHYPHENMIN 2\n% walk\nl1k\n1ing\n"));
    EXPECT_EQ(doc.path, fixture);
    EXPECT_FALSE(doc.changed);
    EXPECT_TRUE(ui.statusText().startsWith(QStringLiteral("OK. ")));
    EXPECT_TRUE(ui.messages.isEmpty());

    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("patterns"));
    doc.changed = true;
    ui.savePaths = {target};
    ASSERT_TRUE(SaveHyphenation(doc, settings, ui, false, true).done());
    EXPECT_EQ(doc.path, target + QStringLiteral(".dic"));
    EXPECT_FALSE(doc.changed);
    QFile saved(doc.path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("\xEF\xBB\xBFUTF-8\nLEFTHYPHENMIN 2\nRIGHTHYPHENMIN 2\n% walk\nl1k\n1ing\n"));
    HyphenationDocument again;
    ASSERT_TRUE(LoadHyphenation(again, settings, ui, doc.path).done());
    EXPECT_EQ(again.text, doc.text);

    // A changed document asks first; a missing file; an empty editor.
    ui.clearRecords();
    again.changed = true;
    ui.answers = {false};
    EXPECT_FALSE(LoadHyphenation(again, settings, ui, fixture).done());
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    ui.answers = {true};
    EXPECT_FALSE(LoadHyphenation(again, settings, ui, dir.filePath(QStringLiteral("none.dic"))).done());
    EXPECT_EQ(ui.statusText(), QStringLiteral("File not found."));
    again.text.clear();
    EXPECT_FALSE(SaveHyphenation(again, settings, ui, true, false).done());
    EXPECT_EQ(ui.messageTexts(), (QStringList{"The Hyphenation has been changed.\n\nContinue?",
                                              "The Hyphenation has been changed.\n\nContinue?", ".DIC file not found.",
                                              "The .DIC file is empty."}));
    EXPECT_EQ(ui.messages[2].title, QStringLiteral("Error"));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
}

TEST(HyphenationFiles, NotUtf8AsksFirst)
{
    MainSettings settings;
    ScriptedUi ui;
    HyphenationDocument doc;
    const QString fixture = QStringLiteral(LEXALOOM_FIXTURES "/hyphenation/latin1.dic");
    ui.answers = {false};
    EXPECT_FALSE(LoadHyphenation(doc, settings, ui, fixture).done());
    EXPECT_EQ(ui.messageTexts(), QStringList{"Hyphenation is not in \"UTF-8-BOM\" format:\nISO8859-1\n\n"
                                             "It may lead to corrupt results.\nContinue?"});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_TRUE(doc.text.isEmpty());
    ui.answers = {true};
    ASSERT_TRUE(LoadHyphenation(doc, settings, ui, fixture).done());
    EXPECT_TRUE(doc.text.startsWith(QStringLiteral("ISO8859-1\nLEFTHYPHENMIN 2\n")));
}

// After Yes to the encoding question the bytes that are not UTF-8 come back unchanged.
TEST(HyphenationFiles, BytesThatAreNotUtf8SurviveEditingAndSaving)
{
    MainSettings settings;
    ScriptedUi ui;
    HyphenationDocument doc;
    ui.answers = {true};
    ASSERT_TRUE(LoadHyphenation(doc, settings, ui, QStringLiteral(LEXALOOM_FIXTURES "/hyphenation/latin1.dic")).done());
    EXPECT_FALSE(doc.text.contains(QChar(0xFFFD)));
    doc.text.insert(doc.text.indexOf(QStringLiteral("b1")), QStringLiteral("n\u00E91w\n"));
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("latin1.dic"));
    ui.savePaths = {target};
    ASSERT_TRUE(SaveHyphenation(doc, settings, ui, false, true).done());
    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("\xEF\xBB\xBFISO8859-1\nLEFTHYPHENMIN 2\n\xE9"
                                          "1a\nn\xC3\xA9"
                                          "1w\nb1\xE8\n"));
}

// A failed save leaves the old file byte for byte, whatever step fails or where it stops.
TEST(HyphenationFiles, SaveKeepsTheOldFileOnEveryFailure)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString path = dir.filePath(QStringLiteral("hyph.dic"));
    const FolderImage before{{QStringLiteral("hyph.dic"), QByteArray("\xEF\xBB\xBFUTF-8\nold1\n")}};
    const FolderImage after{{QStringLiteral("hyph.dic"), QByteArray("\xEF\xBB\xBFUTF-8\nn1ew\n")}};
    MainSettings settings;
    const auto save = [&](FileOps &ops) {
        ScriptedUi ui;
        HyphenationDocument doc;
        doc.text = QStringLiteral("UTF-8\r\nn1ew\n");
        doc.path = path;
        doc.changed = true;
        const bool done = SaveHyphenation(doc, settings, ui, true, false, ops).done();
        // A failure leaves the document as it was and says why.
        if (!done && (!doc.changed || ui.messages.isEmpty() ||
                      !ui.messages[0].text.startsWith(QStringLiteral("Can't write the file:"))))
            ADD_FAILURE() << "a failed save must say so and keep the changed flag";
        return done;
    };
    const auto saveAgain = [&] {
        ScriptedUi ui;
        EXPECT_TRUE(WriteHyphenationFile(ui, settings, QStringLiteral("UTF-8\nn1ew\n"), path).done());
        return false;
    };
    SaveFaultHarness harness(dir.path(), before, after);
    EXPECT_GT(harness.countSteps(save), 3);
    const QStringList failures = harness.checkEveryFailure(save, saveAgain);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();
    const QStringList kills = harness.checkEveryKill(save, saveAgain);
    EXPECT_TRUE(kills.isEmpty()) << kills.join(QLatin1Char('\n')).toStdString();
}

// A save killed at any step leaves nothing behind once the file is opened again: a new
// file that was complete is offered (and put in place on Yes), an incomplete one goes.
TEST(HyphenationFiles, KilledSaveIsFinishedOrClearedAtTheNextOpen)
{
    QTemporaryDir dir(ScratchFolderTemplate());
    const QString path = dir.filePath(QStringLiteral("hyph.dic"));
    const FolderImage before{{QStringLiteral("hyph.dic"), QByteArray("\xEF\xBB\xBFUTF-8\nold1\n")}};
    const FolderImage after{{QStringLiteral("hyph.dic"), QByteArray("\xEF\xBB\xBFUTF-8\nn1ew\n")}};
    MainSettings settings;
    const auto save = [&](FileOps &ops) {
        ScriptedUi ui;
        return WriteHyphenationFile(ui, settings, QStringLiteral("UTF-8\nn1ew\n"), path, ops).done();
    };
    int asked = 0;
    const auto open = [&] {
        ScriptedUi ui;
        ui.answers = {true};
        HyphenationDocument doc;
        EXPECT_TRUE(LoadHyphenation(doc, settings, ui, path).done());
        if (ui.messages.isEmpty())
            return false;
        ++asked;
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].text,
                  QStringLiteral("The last save of\n%1\nwas interrupted, but the file it wrote is complete.\n\n"
                                 "Finish that save and open it?")
                      .arg(QDir::toNativeSeparators(path)));
        EXPECT_EQ(doc.text, QStringLiteral("UTF-8\nn1ew\n"));
        return true;
    };
    SaveFaultHarness harness(dir.path(), before, after);
    const QStringList kills = harness.checkEveryKill(save, open);
    EXPECT_TRUE(kills.isEmpty()) << kills.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(asked, 1); // only between the complete file and its last rename

    // No leaves both files as they are, and the load stops.
    WriteFolder(dir.path(), {{"hyph.dic", "\xEF\xBB\xBFUTF-8\nold1\n"}, {"hyph.dic.lxm-ready", "new"}});
    ScriptedUi ui;
    ui.answers = {false};
    HyphenationDocument doc;
    EXPECT_FALSE(LoadHyphenation(doc, settings, ui, path).done());
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(ReadFolder(dir.path()).size(), 2);
}
