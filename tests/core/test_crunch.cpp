#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary_tools/crunch.h"
#include "core/shell/settings.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// Suffix groups for the flags the crunch rules know, one ending each.
const QString crunchAff = QStringLiteral("SET UTF-8\n"
                                         "SFX M Y 1\nSFX M 0 's .\n"
                                         "SFX S Y 2\nSFX S y ies [^aeiou]y\nSFX S 0 s [^y]\n"
                                         "SFX G Y 2\nSFX G e ing e\nSFX G 0 ing [^e]\n"
                                         "SFX D Y 2\nSFX D 0 d e\nSFX D 0 ed [^e]\n"
                                         "SFX p Y 1\nSFX p 0 less .\n"
                                         "SFX Y Y 1\nSFX Y 0 ly .\n"
                                         "SFX J Y 1\nSFX J 0 ings .\n"
                                         "SFX ~ Y 1\nSFX ~ 0 ish .\n");

DictionaryDocument dictionaryOf(const QStringList &entries, const QString &affText = crunchAff)
{
    DictionaryDocument doc;
    doc.affText = affText;
    for (const QString &e : entries)
        doc.entries.append(e);
    return doc;
}

QStringList entriesOf(const DictionaryDocument &doc)
{
    QStringList out;
    for (qint64 i = 0; i < doc.entries.size(); ++i)
        out << doc.entries.at(i);
    return out;
}

// The tool's loop as written: for each base in word order, walk the whole run of
// records sharing its first L characters and try every rule on every bare record.
QStringList directCrunch(const QStringList &entries, const CrunchChoices &choices)
{
    struct R {
        qint64 line;
        QString word, newBase, flags, tags;
        bool crunched = false;
    };
    std::vector<R> rs;
    for (qint64 i = 0; i < entries.size(); ++i) {
        const QString &e = entries[i];
        const QString wordPart = e.section(u'\n', 0, 0);
        R r{i,
            wordPart.section(u'/', 0, 0),
            {},
            wordPart.section(u'/', 1, 1),
            e.contains(u'\n') ? e.section(u'\n', 1) : QString()};
        r.newBase = r.word;
        rs.push_back(r);
    }
    std::stable_sort(rs.begin(), rs.end(), [](const R &a, const R &b) { return a.word < b.word; });
    AffixTable table;
    BuildAffixTable(table, crunchAff);
    WordDeriver deriver(table);
    CrunchSink sink;
    QStringList out = entries;
    const int L = choices.matchLevel;
    for (size_t j = 0; j < rs.size(); ++j) {
        const QString p = rs[j].word.left(L);
        size_t i = j;
        while (i > 0 && rs[i - 1].word.left(L) == p)
            --i;
        for (size_t k = i; k < rs.size() && rs[k].word.left(L) == p; ++k) {
            if (k == j || rs[k].tags != rs[j].tags)
                continue;
            if (rs[j].crunched)
                break;
            if (!rs[k].flags.isEmpty())
                continue;
            for (int r = 0; r < crunchRuleCount; ++r) {
                const CrunchRule &rule = CrunchRules()[size_t(r)];
                if (!choices.on[size_t(r)] || !rule.allows(rs[j].word))
                    continue;
                if (deriver.DeriveWord(rs[j].word + u'/' + rule.flag, sink) == 0 || sink.result() != rs[k].word)
                    continue;
                if (rs[k].newBase == rs[j].word)
                    continue;
                rs[k].crunched = true;
                rs[k].newBase = rs[j].word;
                rs[k].flags = QString(rule.flag);
                out[rs[k].line] =
                    rs[j].word + u'/' + rule.flag + (rs[k].tags.isEmpty() ? QString() : u'\n' + rs[k].tags);
            }
        }
    }
    return out;
}

struct CrunchRun {
    ScriptedUi ui;
    MainSettings settings;
    CrunchChoices choices;
    DictionaryDocument doc;
    CrunchOutcome outcome = CrunchOutcome::Refused;
    std::vector<CrunchRow> rows;

    explicit CrunchRun(const QStringList &entries, int level = 2, const QString &affText = crunchAff)
        : doc(dictionaryOf(entries, affText))
    {
        choices.matchLevel = level;
    }
    void process()
    {
        AffixTable table;
        CrunchSession session(doc, table, settings, choices);
        outcome = session.process(ui);
        rows = session.rows();
    }
};

} // namespace

TEST(Crunch, EdgeCasesOfTheTool)
{
    const struct {
        const char *name;
        QStringList entries;
        int level;
        QStringList expected;
        std::vector<CrunchRow> rows;
    } cases[] = {
        {"bare past tense", {"walk/SD", "walked"}, 2, {"walk/SD", "walk/D"}, {{2, "walked\u2192walk/D", 4}}},
        {"tags differ", {"walk/SD\npo:verb", "walked\npo:adj"}, 2, {"walk/SD\npo:verb", "walked\npo:adj"}, {}},
        {"same tags kept",
         {"walked\npo:v", "walk/S\npo:v"},
         2,
         {"walk/D\npo:v", "walk/S\npo:v"},
         {{1, "walked\u2192walk/D", 4}}},
        {"base in -au", {"bureau", "bureaus"}, 2, {"bureau", "bureaus"}, {}},
        {"level 3, two-letter base", {"go", "gos"}, 3, {"go", "gos"}, {}},
        {"level 1, two-letter base", {"go", "gos"}, 1, {"go", "go/S"}, {{2, "gos\u2192go/S", 2}}},
        {"first rule wins, crunched never a base",
         {"walk", "walks", "walks's"},
         2,
         {"walk", "walk/S", "walks's"},
         {{2, "walks\u2192walk/S", 4}}},
        {"flagged targets stay", {"walk", "walked/X"}, 2, {"walk", "walked/X"}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CrunchRun run(c.entries, c.level);
        run.process();
        EXPECT_EQ(entriesOf(run.doc), c.expected);
        EXPECT_EQ(run.rows, c.rows);
        EXPECT_EQ(run.doc.changed, !c.rows.empty());
        EXPECT_EQ(run.doc.hasUndoStep(), !c.rows.empty());
        EXPECT_EQ(run.outcome, c.rows.empty() ? CrunchOutcome::NoChanges : CrunchOutcome::Done);
        EXPECT_EQ(run.ui.messageTexts(), c.rows.empty() ? QStringList{"No changes done."} : QStringList{});
        EXPECT_EQ(run.ui.statuses.last(), QStringLiteral("Processing:Done!"));
    }
}

TEST(Crunch, KeepsTheFormsOfTheDictionary)
{
    // D gives two forms: a bare "walked" crunched into walk/D would bring "walkedly" along.
    const QString twoForms = QStringLiteral("SET UTF-8\nNEEDAFFIX X\nONLYINCOMPOUND O\n"
                                            "SFX D Y 2\nSFX D 0 ed .\nSFX D 0 edly .\n"
                                            "SFX S Y 1\nSFX S 0 s .\n");
    // With AF aliases the flag is written as the alias that holds it alone.
    const QString aliases = twoForms + QStringLiteral("AF 3\nAF SD\nAF S\nAF X\n");
    const struct {
        const char *name;
        QString aff;
        QStringList entries;
        QStringList expected;
    } cases[] = {
        {"a form the dictionary lacks", twoForms, {"walk", "walked"}, {"walk", "walked"}},
        {"every form already there", twoForms, {"walk", "walked", "walkedly"}, {"walk", "walk/D", "walkedly"}},
        {"the other form from another entry",
         twoForms,
         {"walk/S", "walked", "walkedly/S"},
         {"walk/S", "walk/D", "walkedly/S"}},
        {"a base that is no word on its own", twoForms, {"jump/XS", "jumps"}, {"jump/XS", "jumps"}},
        {"a base only in compounds", twoForms, {"jump/OS", "jumps"}, {"jump/OS", "jumps"}},
        {"alias of the flag", aliases, {"jump/1", "jumps"}, {"jump/1", "jump/2"}},
        {"no alias holds the flag alone", aliases, {"walk/1", "walked", "walkedly"}, {"walk/1", "walked", "walkedly"}},
        {"a base that needs an affix, by its alias", aliases, {"jump/3", "jumps"}, {"jump/3", "jumps"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CrunchRun run(c.entries, 2, c.aff);
        run.process();
        EXPECT_EQ(entriesOf(run.doc), c.expected);
        EXPECT_EQ(run.outcome, c.entries == c.expected ? CrunchOutcome::NoChanges : CrunchOutcome::Done);
    }
}

TEST(Crunch, RefusalsAndChoices)
{
    CrunchRun none({"walk", "walked"});
    none.choices.on.fill(false);
    none.process();
    EXPECT_EQ(none.ui.messageTexts(), QStringList{"No rules selected."});
    EXPECT_EQ(none.choices.usedFlags(), QString());
    EXPECT_EQ(none.choices.usedCount(), QStringLiteral("(0/17)"));

    CrunchRun one({"walk"});
    one.process();
    EXPECT_EQ(one.ui.messageTexts(), QStringList{"No flags added."});
    EXPECT_EQ(one.outcome, CrunchOutcome::Refused);

    ScriptedUi ui;
    EXPECT_FALSE(CrunchSession::canOpen(DictionaryDocument{}, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList{"No dictionary words found."});
    EXPECT_EQ(CrunchChoices{}.usedFlags(), QStringLiteral("MSGDpOwWY1k6jhJo~"));
}

TEST(Crunch, SecondRunOfTheWindowKeepsOneUndoPoint)
{
    ScriptedUi ui;
    MainSettings settings;
    CrunchChoices choices;
    DictionaryDocument doc = dictionaryOf({"walk", "walked", "jump", "jumps"});
    AffixTable table;
    CrunchSession session(doc, table, settings, choices);
    choices.on.fill(false);
    choices.on[3] = true; // D only
    session.process(ui);
    choices.on.fill(true);
    session.process(ui);
    EXPECT_EQ(entriesOf(doc), (QStringList{"walk", "walk/D", "jump", "jump/S"}));
    ASSERT_TRUE(doc.hasUndoStep());
    EXPECT_EQ(doc.undoSnapshot->entries.at(1), QStringLiteral("walked"));
    EXPECT_EQ(doc.undoSnapshot->entries.at(3), QStringLiteral("jumps"));
}

TEST(Crunch, AbortKeepsTheRewrittenEntries)
{
    CrunchRun run({"walk", "walked"});
    run.ui.pressEscape();
    run.ui.answers.push_back(true);
    run.process();
    EXPECT_EQ(run.outcome, CrunchOutcome::Aborted);
    EXPECT_EQ(run.ui.statuses.last(), QStringLiteral("Processing:Aborted."));
    EXPECT_EQ(entriesOf(run.doc), (QStringList{"walk", "walked"}));
}

TEST(Crunch, SameResultAsTheDirectLoop)
{
    const QStringList stems = {"a", "walk", "wa", "play", "fly", "bake", "ba", "cry"};
    const QStringList endings = {"", "s", "ed", "d", "ing", "'s", "less", "ly", "ings", "ish", "ies", "sed"};
    const QStringList flags = {"", "", "", "", "/S", "/D", "/SD", "/X"};
    const QStringList tags = {"", "", "", "", "\npo:a", "\npo:b"};
    QRandomGenerator random(23);
    int rewritten = 0;
    for (int round = 0; round < 1000; ++round) {
        QStringList entries;
        const int n = 2 + int(random.bounded(24));
        for (int i = 0; i < n; ++i)
            entries << stems[random.bounded(stems.size())] + endings[random.bounded(endings.size())] +
                           flags[random.bounded(flags.size())] + tags[random.bounded(tags.size())];
        CrunchChoices choices;
        choices.matchLevel = 1 + int(random.bounded(3));
        for (bool &on : choices.on)
            on = random.bounded(4) != 0;
        if (choices.onCount() == 0)
            continue;
        CrunchRun run(entries, choices.matchLevel);
        run.choices = choices;
        run.process();
        ASSERT_EQ(entriesOf(run.doc), directCrunch(entries, choices)) << entries.join(u'|').toStdString();
        rewritten += int(run.rows.size());
    }
    // The inputs exercise the rewriting, not only its absence.
    EXPECT_GT(rewritten, 100);
}
