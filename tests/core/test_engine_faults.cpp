// Faults found by auditing and fuzzing the affix table and the derivation
// engine: each case is the smallest input that showed one.
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "dictionary/affix_condition.h"
#include "dictionary/affix_table.h"
#include "dictionary/derive_sinks.h"
#include "dictionary/derive_word.h"
#include "engine_fixtures.h"
#include "gtest_qt_printers.h"

using namespace lexaloom;
using namespace lexaloom::testing;

namespace {

QStringList formsOf(const AffixTable &table, const QString &entry)
{
    EditorRowsSink sink;
    WordDeriver deriver(table);
    deriver.DeriveWord(entry, sink);
    QStringList out;
    for (const EditorRow &row : sink.rows())
        out << row.word;
    return out;
}

int countOf(const AffixTable &table, const QString &entry)
{
    CountingSink sink;
    WordDeriver deriver(table);
    return deriver.DeriveWord(entry, sink);
}

} // namespace

TEST(EngineFaults, EmptyRuleLinesNeverProduceAForm)
{
    struct Case {
        const char *aff;
        const char *entry;
        QStringList forms;
    };
    const Case cases[] = {
        // The count promises two rules; the line break at the end is no rule.
        {"SFX A Y 2\nSFX A 0 s .", "walk/A", {"walk", "walks"}},
        {"SFX A Y 3\nSFX A 0 s .\n\n", "walk/A", {"walk", "walks"}},
        {"PFX A Y 2\nPFX A 0 re .", "walk/A", {"walk", "rewalk"}},
        // A truncated line (no strip field) is as empty as a blank one.
        {"SFX A Y 2\n# plural\nSFX A 0 s .\n", "walk/A", {"walk", "walks"}},
        // The continuation of a suffix reaches an empty prefix rule.
        {"SFX A Y 1\nSFX A 0 s/B .\nPFX B Y 2\nPFX B 0 re .\n", "walk/A", {"walk", "walks", "rewalks"}},
    };
    for (const Case &c : cases) {
        const AffixTable table = tableOf(QString::fromUtf8(c.aff));
        const QString entry = QString::fromUtf8(c.entry);
        EXPECT_EQ(formsOf(table, entry), c.forms) << c.aff;
        EXPECT_EQ(countOf(table, entry), c.forms.size()) << c.aff;
    }
}

TEST(EngineFaults, HyphenInABracketConditionIsALiteral)
{
    struct Case {
        const char *condition;
        const char *word;
        bool suffix; // matches condition + "$"
    };
    const Case cases[] = {
        // y - à: not the range from y to à, which would hold z and á.
        {"[aeiouhy-Ã Ã¹Ã¸]", "bo", true},
        {"[aeiouhy-Ã Ã¹Ã¸]", "b-", true},
        {"[aeiouhy-Ã Ã¹Ã¸]", "bÃ ", true},
        {"[aeiouhy-Ã Ã¹Ã¸]", "bz", false},
        {"[aeiouhy-Ã Ã¹Ã¸]", "bÃ¡", false},
        {"[^a-c]", "b", true},
        {"[^a-c]", "-", false},
        // Forms PCRE2 would reject or read otherwise keep their meaning.
        {"[]-]", "-", true},
        {"[]-]", "a", false},
        {"[a\\-z]x", "-x", true},
        {"[[:digit:]-]", "7", true},
        {"[[:digit:]-]", "-", true},
        {"[[:digit:]-]", "x", false},
    };
    for (const Case &c : cases) {
        const AffixCondition condition(QString::fromUtf8(c.condition));
        const QString word = QString::fromUtf8(c.word);
        EXPECT_EQ(condition.matchesSuffix(word), c.suffix) << c.condition << ' ' << c.word;
        EXPECT_EQ(condition.pcreMatchesSuffix(word), c.suffix) << c.condition << ' ' << c.word;
    }
    // Through a rule: "-" stays a member in the engine's hot path too.
    const AffixTable table = tableOf(QStringLiteral("SFX A Y 1\nSFX A 0 s [y-\u00e0]\n"));
    EXPECT_EQ(formsOf(table, QStringLiteral("bz/A")), QStringList({"bz"}));
    EXPECT_EQ(formsOf(table, QStringLiteral("b-/A")), QStringList({"b-", "b-s"}));
}
