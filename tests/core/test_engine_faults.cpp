// Faults found by auditing and fuzzing the affix table and the derivation
// engine: each case is the smallest input that showed one.
#include <QBuffer>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "core/dictionary/affix_condition.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
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

namespace {

// Keeps the first words it is handed and counts the rest.
class FirstWordsSink final : public DerivationSink {
public:
    explicit FirstWordsSink(int keep)
        : m_keep(keep)
    {
    }
    bool accept(const DerivedWord &form) override
    {
        if (words.size() < m_keep)
            words << form.word.toString();
        return true;
    }
    QStringList words;

private:
    int m_keep;
};

} // namespace

TEST(EngineFaults, PrefixContinuationsCannotGrowOneEntryWithoutBound)
{
    // Four prefixes whose continuation names a suffix group of 100 rules: were
    // the forms of one prefix's continuation walked by the next prefix, each
    // prefix would multiply the derived words by 101. Each prefix walks the root.
    QString aff = QStringLiteral("SET UTF-8\n");
    for (const char *flag : {"A", "B", "C", "D"})
        aff += QStringLiteral("PFX %1 Y 1\nPFX %1 0 %2/S .\n")
                   .arg(QLatin1String(flag), QString::fromLatin1(flag).toLower());
    aff += QStringLiteral("SFX S Y 100\n");
    for (int i = 0; i < 100; ++i)
        aff += QStringLiteral("SFX S 0 s%1 .\n").arg(i);
    const AffixTable table = tableOf(aff);
    WordDeriver deriver(table);
    FirstWordsSink all(1000);
    EXPECT_EQ(deriver.DeriveWord(QStringLiteral("x/ABCD"), all), 1 + 4 * 101);
    EXPECT_FALSE(deriver.state().prefixPhaseBounded);
    EXPECT_EQ(all.words.mid(0, 4), QStringList({"x", "ax", "axs0", "axs1"}));
    EXPECT_EQ(all.words.last(), QStringLiteral("dxs99"));

    // A suffix group of 1100 rules whose continuation has 1000 more gives more
    // derived words than the prefix phase keeps: the call ends at the bound, and
    // up to it the forms are those of the unbounded walk.
    QString big = QStringLiteral("SET UTF-8\nPFX P Y 1\nPFX P 0 re .\nSFX S Y 1100\n");
    for (int i = 0; i < 1100; ++i)
        big += QStringLiteral("SFX S 0 s%1/T .\n").arg(i);
    big += QStringLiteral("SFX T Y 1000\n");
    for (int i = 0; i < 1000; ++i)
        big += QStringLiteral("SFX T 0 t%1 .\n").arg(i);
    const AffixTable bigTable = tableOf(big);
    WordDeriver bigDeriver(bigTable);
    FirstWordsSink bounded(20000);
    const int forms = bigDeriver.DeriveWord(QStringLiteral("x/PS"), bounded);
    EXPECT_TRUE(bigDeriver.state().prefixPhaseBounded);
    EXPECT_LE(forms, WordDeriver::maxDerivedWords + 1);
    FirstWordsSink unbounded(20000);
    bigDeriver.DeriveWord(QStringLiteral("x/S"), unbounded);
    EXPECT_FALSE(bigDeriver.state().prefixPhaseBounded);
    EXPECT_EQ(bounded.words, unbounded.words);
}

TEST(EngineFaults, CandidateIndexGrowsWithTheRules)
{
    // Rules with distinct last characters and as many "." rules: listing every
    // "." rule under every character took quadratic time and memory.
    const int n = 20000;
    QString aff = QStringLiteral("SFX A Y %1\n").arg(2 * n);
    for (int i = 0; i < n; ++i) {
        aff += QStringLiteral("SFX A 0 x ") + QChar(char16_t(0x4E00 + i)) + u'\n';
        aff += QStringLiteral("SFX A 0 d%1 .\n").arg(i);
    }
    const AffixTable table = tableOf(aff);
    const RuleCandidates &c = table.group(1).candidates;
    size_t listed = c.general.size();
    for (auto it = c.byUnit.cbegin(); it != c.byUnit.cend(); ++it)
        listed += it.value().size();
    EXPECT_LE(listed, size_t(8 * 2 * n + 4096));
    EXPECT_EQ(countOf(table, QStringLiteral("a\u4E07/A")), 1 + n + 1);
    EXPECT_EQ(formsOf(table, QStringLiteral("a\u4E07/A")).mid(0, 4),
              QStringList({QStringLiteral("a\u4E07"), QStringLiteral("a\u4E07d0"), QStringLiteral("a\u4E07d1"),
                           QStringLiteral("a\u4E07d2")}));
    EXPECT_EQ(formsOf(table, QStringLiteral("a\u4E07/A")).at(1 + 7), QStringLiteral("a\u4E07x"));
}

TEST(EngineFaults, RulesShareOneCompiledCondition)
{
    // A long condition named by many rules is compiled once.
    const QString condition = QString(5000, u'a');
    QString aff = QStringLiteral("SFX A Y 3\n");
    for (int i = 0; i < 3; ++i)
        aff += QStringLiteral("SFX A 0 s%1 ").arg(i) + condition + u'\n';
    const AffixTable table = tableOf(aff);
    const auto &rules = table.group(1).parsedRules;
    ASSERT_EQ(rules.size(), 3u);
    ASSERT_NE(rules[0].fast, nullptr);
    EXPECT_EQ(table.conditions.size(), 1);
    for (const AffixRule &rule : rules) {
        EXPECT_EQ(rule.fast, rules[0].fast);
        EXPECT_EQ(rule.condition.constData(), rules[0].condition.constData()); // one copy of the text
    }
    EXPECT_EQ(countOf(table, condition + QStringLiteral("/A")), 4);
    // A copy of the table keeps working after the original is gone.
    auto copy = std::make_unique<AffixTable>(table);
    const AffixTable moved = std::move(*copy);
    copy.reset();
    EXPECT_EQ(countOf(moved, condition + QStringLiteral("/A")), 4);
}

TEST(EngineFaults, OneFlagIsOneCharacterOrOneRawByte)
{
    // Bytes that are not UTF-8 are read as U+DC80..U+DCFF, one unit per byte,
    // and each is a flag of its own, as the spell checker reads them.
    const QChar e1(char16_t(0xDCE1));
    const QChar e9(char16_t(0xDCE9));
    const QString raw =
        QStringLiteral("SET UTF-8\nSFX %1 Y 1\nSFX %1 0 s .\nSFX %2 Y 1\nSFX %2 0 ed .\n").arg(e1).arg(e9);
    const QString grin = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString wink = QString::fromUtf8("\xF0\x9F\x98\x89");
    const QString nonBmp = QStringLiteral("SET UTF-8\nFLAG UTF-8\nSFX %1 Y 1\nSFX %1 0 s .\nSFX %2 Y 1\n"
                                          "SFX %2 0 ed .\n")
                               .arg(grin, wink);
    struct Case {
        QString aff;
        QString entry;
        QStringList forms;
        QString missing;
    };
    const Case cases[] = {
        {raw, QStringLiteral("walk/") + e1 + e9, {"walk", "walks", "walked"}, {}},
        {raw, QStringLiteral("walk/") + e9 + QChar(char16_t(0xDCE2)), {"walk", "walked"}, QString(QChar(0xDCE2))},
        // Outside the basic plane a character is two UTF-16 units and still one flag.
        {nonBmp, QStringLiteral("walk/") + grin + wink, {"walk", "walks", "walked"}, {}},
        {nonBmp,
         QStringLiteral("walk/") + wink + QString::fromUtf8("\xF0\x9F\x98\x8E"),
         {"walk", "walked"},
         QString::fromUtf8("\xF0\x9F\x98\x8E")},
    };
    for (const Case &c : cases) {
        const AffixTable table = tableOf(c.aff);
        EXPECT_EQ(formsOf(table, c.entry), c.forms) << c.entry.toStdString();
        EditorRowsSink sink;
        WordDeriver deriver(table);
        deriver.DeriveWord(c.entry, sink);
        EXPECT_EQ(deriver.state().missingFlags, c.missing) << c.entry.toStdString();
    }
    EXPECT_EQ(FlagCount(FlagMode::Single, grin + u'A' + wink), 3);
    EXPECT_EQ(GetFlag(FlagMode::Single, grin + u'A' + wink, 3), wink);
}

TEST(EngineFaults, FormsAcceptedOnTheirOwn)
{
    // C marks what lives only inside compounds, X forbidden entries, N entries
    // that need an affix. Each list is what `hunspell -G` accepts of the forms.
    const AffixTable table = tableOf(QStringLiteral("ONLYINCOMPOUND C\nFORBIDDENWORD X\nNEEDAFFIX N\n"
                                                    "SFX S Y 1\nSFX S 0 s .\n"
                                                    "SFX K Y 1\nSFX K 0 k/C .\n"
                                                    "SFX T Y 1\nSFX T 0 t/S .\n"
                                                    "SFX U Y 1\nSFX U 0 u/CS .\n"
                                                    "PFX P Y 1\nPFX P 0 re .\n"
                                                    "PFX Q Y 1\nPFX Q 0 co/C .\n"));
    struct Case {
        const char *entry;
        QStringList accepted;
    };
    const Case cases[] = {
        {"walk/SP", {"walk", "walks", "rewalk", "rewalks"}},
        // An affix carrying C: its form and everything built on it.
        {"walk/KP", {"walk", "rewalk"}},
        {"walk/US", {"walk", "walks"}},
        {"walk/TP", {"walk", "walkt", "walkts", "rewalk", "rewalkt", "rewalkts"}},
        {"walk/QS", {"walk", "walks"}},
        {"walk/CS", {}},
        {"walk/XS", {}},
        {"walk/NS", {"walks"}},
    };
    for (const Case &c : cases) {
        QStringList accepted;
        struct AcceptedSink final : DerivationSink {
            QStringList *out;
            bool accept(const DerivedWord &form) override
            {
                if (form.acceptedAlone())
                    *out << form.word.toString();
                return true;
            }
        } sink;
        sink.out = &accepted;
        WordDeriver deriver(table);
        deriver.DeriveWord(QString::fromUtf8(c.entry), sink);
        EXPECT_EQ(accepted, c.accepted) << c.entry;
    }
}

// Real dictionaries write rules with a strip and the condition "." and rely on the
// strip being tested: with SFX K a ata . and SFX K g ga ., kola gives kolata and
// never kolga, in every sink and every place a rule is tried.
TEST(EngineFaults, StripIsTestedUnderTheDotCondition)
{
    struct Case {
        const char *aff;
        const char *entry;
        QStringList forms;
    };
    const Case cases[] = {
        {"SFX K Y 2\nSFX K a ata .\nSFX K g ga .\n", "kola/K", {"kola", "kolata"}},
        {"PFX P Y 2\nPFX P k gr .\nPFX P z x .\n", "kola/P", {"kola", "grola"}},
        // A strip that is not at the end is refused in the twofold step too.
        {"SFX A Y 1\nSFX A 0 s/B .\nSFX B Y 2\nSFX B s t .\nSFX B x y .\n", "walk/A", {"walk", "walks", "walkt"}},
        // ... and in the prefix phase, on the primary and the suffix forms.
        {"PFX P Y 1\nPFX P w t .\nSFX S Y 2\nSFX S 0 s .\nSFX S 0 ing .\n", "walk/PS",
         {"walk", "walks", "walking", "talk", "talks", "talking"}},
        {"PFX P Y 1\nPFX P w t .\nSFX S Y 1\nSFX S 0 s .\n", "kola/PS", {"kola", "kolas"}},
        // A strip longer than the word never stands at its end.
        {"SFX K Y 1\nSFX K xola y .\n", "ola/K", {"ola"}},
    };
    for (const Case &c : cases) {
        const AffixTable table = tableOf(QString::fromUtf8(c.aff));
        const QString entry = QString::fromUtf8(c.entry);
        EXPECT_EQ(formsOf(table, entry), c.forms) << c.aff;
        EXPECT_EQ(countOf(table, entry), c.forms.size()) << c.aff;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        {
            Utf8Writer writer(buffer);
            FileLinesSink sink(writer, FileLineFormat::Plain, table.maxRuleCount);
            WordDeriver deriver(table);
            deriver.DeriveWord(entry, sink);
        }
        EXPECT_EQ(QString::fromUtf8(bytes), c.forms.join(u'\n') + u'\n') << c.aff;
    }
}

// A word takes one prefix from the entry's flags: the forms that a prefix's
// continuation makes take no second prefix, so the forms of an entry do not
// depend on the order of its flags (da_DK's Bosnien/54,9,37 gave 94 forms and
// Bosnien/9,37,54 58). libhunspell rejects "annordbosnien" and "annordbosniens".
TEST(EngineFaults, FormsDoNotDependOnTheOrderOfPrefixFlags)
{
    const AffixTable table = tableOf(QStringLiteral("SET UTF-8\nFLAG num\n"
                                                    "PFX 54 Y 2\nPFX 54 0 nord/9 .\nPFX 54 0 syd/9 .\n"
                                                    "SFX 9 Y 1\nSFX 9 0 s [^sxz]\n"
                                                    "PFX 37 Y 1\nPFX 37 0 an .\n"));
    const QStringList prefix54 = {"nordbosnien", "nordbosniens", "sydbosnien", "sydbosniens", "nordbosniens",
                                  "sydbosniens"};
    const QStringList prefix37 = {"anbosnien", "anbosniens"};
    const QStringList root = {"bosnien", "bosniens"};
    struct Case {
        const char *entry;
        QStringList forms;
    };
    const Case cases[] = {
        {"bosnien/54,9,37", root + prefix54 + prefix37},
        {"bosnien/9,37,54", root + prefix37 + prefix54},
        {"bosnien/37,54,9", root + prefix37 + prefix54},
    };
    for (const Case &c : cases) {
        const QString entry = QString::fromUtf8(c.entry);
        EXPECT_EQ(formsOf(table, entry), c.forms) << c.entry;
        EXPECT_EQ(countOf(table, entry), c.forms.size()) << c.entry;
    }
}

namespace {

struct Derivation {
    int counted = 0;
    QStringList rows; // word, flag path
    QString missing;
    QString missingContinuation;
    QString flagPath;
    bool operator==(const Derivation &o) const
    {
        return counted == o.counted && rows == o.rows && missing == o.missing &&
               missingContinuation == o.missingContinuation && flagPath == o.flagPath;
    }
};

Derivation derive(WordDeriver &deriver, const QString &entry, bool polled)
{
    EditorRowsSink sink(false, polled ? std::function<bool()>([] { return false; }) : std::function<bool()>());
    Derivation d;
    d.counted = deriver.DeriveWord(entry, sink);
    for (const EditorRow &row : sink.rows())
        d.rows << row.word + u' ' + row.flagPath;
    d.missing = deriver.state().missingFlags;
    d.missingContinuation = deriver.state().missingContinuationFlags;
    d.flagPath = deriver.state().flagPath;
    return d;
}

} // namespace

// A sink that polls gets every flag walked one by one; the others walk only the
// flags that do something and write the missing-flag reports once at the end.
// Both must give the same forms, flag paths, reports and counts, and counting
// the same number, on alias-heavy tables where most flags name no group.
TEST(EngineFaults, FlagWalkWithoutPollingMatchesTheWalkOverEveryFlag)
{
    for (const char *mode : {"", "FLAG num\n", "FLAG long\n"}) {
        const bool numeric = qstrcmp(mode, "FLAG num\n") == 0;
        const bool two = qstrcmp(mode, "FLAG long\n") == 0;
        const auto flagName = [&](int i) {
            if (numeric)
                return QString::number(i + 1);
            if (two)
                return QString(QChar(u'A' + i % 26)) + QChar(u'a' + i / 26);
            return QString(QChar(char16_t(0xC0 + i)));
        };
        const auto join = [&](const QStringList &flags) { return flags.join(numeric ? QStringLiteral(",") : QString()); };
        quint32 seed = 7;
        const auto next = [&seed](quint32 n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % n;
        };
        // Flags 0-9 have groups (0 and 1 prefixes, 2-4 continuation classes), 10-29 none;
        // 30 is NOSUGGEST, 31 NEEDAFFIX.
        QString aff = QStringLiteral("SET UTF-8\n") + QString::fromLatin1(mode);
        aff += QStringLiteral("NOSUGGEST ") + flagName(30) + QStringLiteral("\nNEEDAFFIX ") + flagName(31) + u'\n';
        const auto randomFlags = [&](int n) {
            QStringList flags;
            for (int k = 0; k < n; ++k)
                flags << flagName(int(next(32)));
            return flags;
        };
        QStringList aliases;
        for (int a = 0; a < 12; ++a)
            aliases << join(randomFlags(3 + int(next(12))));
        aff += QStringLiteral("AF %1\n").arg(aliases.size());
        for (const QString &alias : aliases)
            aff += QStringLiteral("AF ") + alias + u'\n';
        for (int g = 0; g < 10; ++g) {
            const bool prefix = g < 2;
            aff += QStringLiteral("%1 %2 Y 3\n").arg(prefix ? "PFX" : "SFX", flagName(g));
            for (int r = 0; r < 3; ++r) {
                QString affix = QString(QChar(u'a' + char16_t(next(6)))) + QChar(u'a' + char16_t(next(6)));
                if (g != 2 && g != 3 && g != 4 && next(2) == 0) {
                    QStringList cont = {flagName(2 + int(next(3))), flagName(10 + int(next(20)))};
                    if (next(3) == 0)
                        cont << flagName(int(next(32)));
                    affix += u'/' + join(cont);
                }
                const QString strip = next(3) == 0 ? QString(QChar(u'a' + char16_t(next(3)))) : QStringLiteral("0");
                aff += QStringLiteral("%1 %2 %3 %4 .\n").arg(prefix ? "PFX" : "SFX", flagName(g), strip, affix);
            }
        }
        const AffixTable table = tableOf(aff);
        WordDeriver deriver(table);
        for (int e = 0; e < 200; ++e) {
            QString word;
            for (int k = 0; k < 2 + int(next(4)); ++k)
                word += QChar(u'a' + char16_t(next(4)));
            const QString entry = e % 2 ? word + u'/' + QString::number(1 + next(12))
                                        : word + u'/' + join(randomFlags(int(next(14))));
            const Derivation polled = derive(deriver, entry, true);
            const Derivation walked = derive(deriver, entry, false);
            EXPECT_TRUE(polled == walked) << mode << entry.toStdString() << " missing " << polled.missing.toStdString()
                                          << " / " << walked.missing.toStdString() << " cont "
                                          << polled.missingContinuation.toStdString() << " / "
                                          << walked.missingContinuation.toStdString();
            CountingSink count;
            EXPECT_EQ(deriver.DeriveWord(entry, count), polled.counted) << mode << entry.toStdString();
        }
    }
}
