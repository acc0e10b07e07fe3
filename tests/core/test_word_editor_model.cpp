#include "core/dictionary/word_editor_model.h"

#include "core/dictionary/aff_aid.h"
#include "core/shell/settings.h"

#include "engine_fixtures.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace lexaloom;
using namespace lexaloom::testing;
using lexaloom::testing::ScriptedUi;

namespace {

std::vector<DerivedRow> expand(WordEditorModel &model, const QString &word, DerivedSort sort = DerivedSort::Default)
{
    model.expand([&] { return word; }, {}, sort);
    return model.rows();
}

QStringList wordsOf(const std::vector<DerivedRow> &rows)
{
    QStringList out;
    for (const DerivedRow &r : rows)
        out << r.word;
    return out;
}

} // namespace

TEST(WordEditorModel, RowsCarryColumnsKeysAndColours)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    MainSettings settings;
    WordEditorModel model(table, settings);
    const auto rows = expand(model, QStringLiteral("walk/GDS"));
    ASSERT_EQ(wordsOf(rows), QStringList({"walk", "walking", "walked", "walks"}));
    EXPECT_EQ(rows[0].type, QStringLiteral("Primary"));
    EXPECT_EQ(rows[0].positionText(), QString());
    EXPECT_EQ(rows[0].ruleText(), QString());
    EXPECT_EQ(rows[1].type, QStringLiteral("Suffix"));
    EXPECT_EQ(rows[1].flag, QStringLiteral("G"));
    EXPECT_EQ(rows[1].index, 1);
    EXPECT_EQ(rows[1].ruleKey, QStringLiteral("00000002: 0 ing [^e]"));
    EXPECT_EQ(rows[1].ruleText(), QStringLiteral("2: 0 ing [^e]"));
    EXPECT_EQ(rows[1].positionKey, rows[1].positionText().rightJustified(8, u'0'));
    EXPECT_GT(rows[1].position, 0);
    EXPECT_EQ(rows[0].colour, derivedTypeColour(settings, DerivedType::Primary));
    EXPECT_EQ(rows[1].colour, derivedTypeColour(settings, DerivedType::Suffix));
    EXPECT_NE(rows[0].colour, rows[1].colour);
    EXPECT_EQ(model.heading(), QStringLiteral("Derived words (4)"));
    EXPECT_EQ(model.taboo(QStringLiteral("walk/GDS")), WordEditorModel::Taboo::Green);
    EXPECT_EQ(model.flagModeText(), QStringLiteral("FLAG chr"));

    // "/" words and empty words are not expanded.
    for (const char *word : {"", "/X"}) {
        EXPECT_TRUE(expand(model, QString::fromUtf8(word)).empty()) << word;
    }
    EXPECT_EQ(model.taboo(QStringLiteral("/X")), WordEditorModel::Taboo::Amber);
}

TEST(WordEditorModel, SortOrdersUseTheirKeys)
{
    DerivedRow row;
    row.index = 3;
    row.type = QStringLiteral("Suffix");
    row.flag = QStringLiteral("D");
    row.positionKey = QStringLiteral("00000120");
    row.ruleKey = QStringLiteral("00000012: y ied [^aeiou]y");
    struct Case {
        DerivedSort sort;
        QString key;
    };
    const Case cases[] = {
        {DerivedSort::TypeFlag, QStringLiteral("Suffix\tD")},
        {DerivedSort::FlagRule, QStringLiteral("D\t00000012: y ied [^aeiou]y")},
        {DerivedSort::FlagPosRule, QStringLiteral("00000120\t00000012: y ied [^aeiou]y")},
        {DerivedSort::RuleFlag, QStringLiteral("00000012: y ied [^aeiou]y\tD")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(derivedSortKey(row, c.sort), c.key) << int(c.sort);

    // Applied to an expansion: the primary row sorts by its empty flag and zero keys.
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    MainSettings settings;
    WordEditorModel model(table, settings);
    EXPECT_EQ(wordsOf(expand(model, QStringLiteral("carry/DNU"), DerivedSort::Default)),
              QStringList({"carry", "carried", "carryness", "uncarry", "uncarried"}));
    const auto byRule = expand(model, QStringLiteral("carry/DNU"), DerivedSort::RuleFlag);
    EXPECT_EQ(byRule.front().word, QStringLiteral("carry"));
    for (size_t i = 1; i < byRule.size(); ++i)
        EXPECT_LE(byRule[i - 1].sortKey, byRule[i].sortKey);
    const auto byType = expand(model, QStringLiteral("carry/DNU"), DerivedSort::TypeFlag);
    QStringList types;
    for (const DerivedRow &r : byType)
        types << r.type;
    EXPECT_EQ(types, QStringList({"Prefix", "Prefix", "Primary", "Suffix", "Suffix"}));
    // Back to production order.
    ScriptedUi ui;
    ASSERT_TRUE(model.sortRows(DerivedSort::Default, ui));
    EXPECT_EQ(wordsOf(model.rows()).first(), QStringLiteral("carry"));
    WordEditorModel empty(table, settings);
    EXPECT_FALSE(empty.sortRows(DerivedSort::TypeFlag, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList({"No derived words found."}));
}

TEST(WordEditorModel, TagSummaryCountsFlagPaths)
{
    std::vector<DerivedRow> rows(6);
    const char *paths[] = {"", "b", "A", "A", "A\tZ", "A\tZ"};
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].flagPath = QString::fromUtf8(paths[i]);
    const TagSummary summary = summariseTags(rows);
    EXPECT_EQ(summary.topLevel, QStringList({"Primary 1", "A tag 2", "b tag 1"}));
    EXPECT_EQ(summary.nested, QStringList({"A tag — Z tag 2"}));
}

TEST(WordEditorModel, OkChecksRunInOrder)
{
    struct Case {
        const char *word;
        const char *tags;
        const char *message; // nullptr: accepted
        EditorField field;
    };
    const Case cases[] = {
        {"", "", "No dictionary word text.", EditorField::Word},
        {" ", "po:x", "No dictionary word text.", EditorField::Word},
        {" walk", "", "Invalid spaces in dictionary word.", EditorField::Word},
        {"walk  on", "", "Invalid spaces in dictionary word.", EditorField::Word},
        {"walk ", " po", "Invalid spaces in dictionary word.", EditorField::Word},
        {"walk", "po:verb ", "Tags incorrect (spaces).", EditorField::Tags},
        {"walk", "po:verb  is:x", "Tags incorrect (spaces).", EditorField::Tags},
        {"walk/", "", "Invalid dictionary word.", EditorField::Word},
        {"/ odd  word ", "", nullptr, EditorField::Word},
        {"walk/GDS", "po:verb", nullptr, EditorField::Word},
        {"New York", "", nullptr, EditorField::Word},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.word);
        const auto failure = checkWordEditorOk(QString::fromUtf8(c.word), QString::fromUtf8(c.tags));
        if (!c.message) {
            EXPECT_FALSE(failure.has_value());
            continue;
        }
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->message, QString::fromUtf8(c.message));
        EXPECT_EQ(failure->field, c.field);
    }
}

TEST(WordEditorModel, FieldTones)
{
    struct Case {
        const char *text;
        FieldTone word;
        FieldTone tags;
    };
    const Case cases[] = {
        {"", FieldTone::Normal, FieldTone::Normal},    {"walk", FieldTone::Normal, FieldTone::Normal},
        {"/ a  b ", FieldTone::Amber, FieldTone::Red}, {"walk/", FieldTone::Red, FieldTone::Normal},
        {" walk", FieldTone::Red, FieldTone::Red},     {"a  b", FieldTone::Red, FieldTone::Red},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(wordFieldTone(QString::fromUtf8(c.text)), c.word) << c.text;
        EXPECT_EQ(tagsFieldTone(QString::fromUtf8(c.text)), c.tags) << c.text;
    }
}

TEST(WordEditorModel, RemovingAFlagFromTheWordField)
{
    struct Case {
        FlagMode mode;
        const char *field;
        const char *flag;
        const char *result; // nullptr: unchanged
        const char *message;
    };
    const Case cases[] = {
        {FlagMode::Numeric, "word/12,34,12", "12", "word/34", ""},
        {FlagMode::Numeric, "word/34,12", "12", "word/34", ""},
        {FlagMode::Single, "walk/G", "G", "walk", ""},
        {FlagMode::Single, "walk/GDS", "D", "walk/GS", ""},
        {FlagMode::Long, "walk/AaBbAa", "Aa", "walk/Bb", ""},
        {FlagMode::Single, "a\\/b/GD", "D", "a\\/b/G", ""},
        {FlagMode::Single, "walk/GD", "S", nullptr, "Flag not found in textbox."},
        {FlagMode::Single, "walk", "S", nullptr, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.field);
        const FlagRemoval r = removeFlagFromWordField(c.mode, QString::fromUtf8(c.field), QString::fromUtf8(c.flag));
        if (c.result)
            EXPECT_EQ(r.wordField, std::optional(QString::fromUtf8(c.result)));
        else
            EXPECT_FALSE(r.wordField.has_value());
        EXPECT_EQ(r.message, QString::fromUtf8(c.message));
    }
}

TEST(WordEditorModel, CopyTexts)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    MainSettings settings;
    WordEditorModel model(table, settings);
    ScriptedUi ui;

    const auto single = expand(model, QStringLiteral("fish"));
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(derivedCopyText(single, 0, DerivedCopy::AllWords, ui), std::optional(QStringLiteral("fish")));
    EXPECT_EQ(derivedCopyText(single, 0, DerivedCopy::AllWordsAndRules, ui),
              std::optional(QStringLiteral("\"fish\",\"fish\",\"Primary\",\"\",\"\"")));

    const auto rows = expand(model, QStringLiteral("walk/GS"));
    EXPECT_EQ(derivedCopyText(rows, 1, DerivedCopy::Word, ui), std::optional(QStringLiteral("walking")));
    EXPECT_EQ(derivedCopyText(rows, 1, DerivedCopy::AllWords, ui),
              std::optional(QStringLiteral("walk\nwalking\nwalks\n")));
    EXPECT_EQ(derivedCopyText(rows, 1, DerivedCopy::WordAndRule, ui),
              std::optional(QStringLiteral("\"walking\",\"walk\",\"Suffix\",\"G\",\"2: 0 ing [^e]\"")));
    EXPECT_EQ(derivedCopyText(rows, 2, DerivedCopy::FlagRule, ui), std::optional(QStringLiteral("\"1: 0 s .\"")));
    EXPECT_TRUE(ui.messages.isEmpty());

    EXPECT_FALSE(derivedCopyText(rows, -1, DerivedCopy::Word, ui));
    EXPECT_FALSE(derivedCopyText({}, 0, DerivedCopy::Word, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList({"No dictionary word selected.", "No dictionary words found."}));

    ui.clearRecords();
    EXPECT_EQ(matchDerivedRows(rows, QStringLiteral("walki"), ui), std::optional(QList<int>({1})));
    EXPECT_FALSE(matchDerivedRows(rows, QString(), ui));
    EXPECT_EQ(ui.messageTexts(), QStringList({"No matches to find."}));
}

TEST(WordEditorModel, StopFlagEndsALongExpansion)
{
    QString aff = QStringLiteral("SET UTF-8\nSFX A Y 20000\n");
    for (int i = 0; i < 20000; ++i)
        aff += QStringLiteral("SFX A 0 x%1 .\n").arg(i);
    const AffixTable table = tableOf(aff);
    MainSettings settings;
    WordEditorModel model(table, settings);

    int polls = 0;
    const int stop = model.expand([] { return QStringLiteral("word/A"); },
                                  [&] {
                                      if (++polls == 50)
                                          model.requestStop(WordEditorModel::CancelPressed);
                                  },
                                  DerivedSort::Default);
    EXPECT_EQ(stop, WordEditorModel::CancelPressed);
    EXPECT_LT(polls, 60);
    EXPECT_LT(model.rows().size(), 100u);
    EXPECT_FALSE(model.isExpanding());

    // A word change restarts the expansion with the new text.
    QString word = QStringLiteral("word/A");
    polls = 0;
    const int restarted = model.expand([&] { return word; },
                                       [&] {
                                           if (++polls == 10) {
                                               word = QStringLiteral("other");
                                               model.wordChanged(0);
                                           }
                                       },
                                       DerivedSort::Default);
    EXPECT_EQ(restarted, WordEditorModel::NoStop);
    EXPECT_EQ(wordsOf(model.rows()), QStringList({"other"}));
}

TEST(WordEditorModel, OkOrCancelDuringAnExpansionClosesWithoutFillingTheList)
{
    // Pressed while the engine runs, OK and Cancel only stop it; once it returns the
    // window closes at once, unless OK's checks fail and the filled window shows why.
    using After = WordEditorModel::AfterExpansion;
    QString aff = QStringLiteral("SET UTF-8\nSFX A Y 20000\n");
    for (int i = 0; i < 20000; ++i)
        aff += QStringLiteral("SFX A 0 x%1 .\n").arg(i);
    const AffixTable table = tableOf(aff);
    MainSettings settings;
    const struct {
        bool ok; // else Cancel
        const char *word;
        const char *tags;
        int stop;
        After after;
    } cases[] = {
        {true, "word/A", "po:x", WordEditorModel::OkPressed, After::CloseAccepted},
        {true, "word/A", " po", WordEditorModel::OkPressed, After::ShowRowsThenOk},
        {false, "word/A", "", WordEditorModel::CancelPressed, After::CloseRejected},
        {false, "word/A", " po", WordEditorModel::CancelPressed, After::CloseRejected},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.ok ? "OK " : "Cancel ") + c.tags);
        WordEditorModel model(table, settings);
        int polls = 0;
        bool actedAtOnce = true;
        const int stop = model.expand([&] { return QString::fromUtf8(c.word); },
                                      [&] {
                                          if (++polls == 5)
                                              actedAtOnce = c.ok ? model.okPressed() : model.cancelPressed();
                                      },
                                      DerivedSort::Default);
        EXPECT_FALSE(actedAtOnce);
        EXPECT_EQ(stop, c.stop);
        EXPECT_LT(polls, 10);
        EXPECT_EQ(WordEditorModel::afterExpansion(stop, QString::fromUtf8(c.word), QString::fromUtf8(c.tags)), c.after);
        // Once the engine has returned, the buttons act at once.
        EXPECT_TRUE(model.okPressed());
        EXPECT_TRUE(model.cancelPressed());
    }
    // An expansion that ran to its end, or was restarted by a word change, fills the list.
    for (const int stop : {int(WordEditorModel::NoStop), int(WordEditorModel::WordChanged)})
        EXPECT_EQ(WordEditorModel::afterExpansion(stop, QStringLiteral("walk"), QString()), After::ShowRows);
}

TEST(WordEditorModel, ExpansionTiming)
{
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    MainSettings settings;
    WordEditorModel model(table, settings);
    EXPECT_FALSE(model.expansionDue(1000));
    model.startStale(1000, 300);
    EXPECT_FALSE(model.expansionDue(1299));
    EXPECT_TRUE(model.expansionDue(1300));
    model.wordChanged(5000);
    EXPECT_TRUE(model.expansionDue(5000));
}

TEST(WordEditorModel, AffAidLegends)
{
    const QStringList builtIn = builtInAffAidLines();
    EXPECT_EQ(builtIn.size(), 67);
    QString flags;
    for (const QString &line : builtIn)
        flags += line.section(QStringLiteral(" # "), 0, 0) + u' ';
    EXPECT_EQ(flags.trimmed(), QStringLiteral("A a I c U C E F K e f ^ 4 V v N n X x H Y G J k D d d h T R r S m 5 6 j "
                                              "p Q 8 q - s 9 t + M B 7 g l b L Z P 2 u i = z y O W o w 1 3 ~"));
    EXPECT_TRUE(builtIn.contains(QStringLiteral("M # possessive form")));

    const QList<AffAidEntry> entries = {
        {BuiltInAffAidEntry(), QString(), QString()},
        {QStringLiteral("deu:German\n20001\nde.txt"), QStringLiteral("deu:German\nA # Plural\nB # Genitiv\n"),
         QStringLiteral("/x/de.png")},
    };
    AffAidLegend legend = affAidLegend(entries, QStringLiteral("*****"));
    EXPECT_EQ(affAidCaption(legend), QStringLiteral(".AFF Aid (eng-GB:english:English GB):"));
    EXPECT_EQ(legend.lines, builtIn);
    legend = affAidLegend(entries, QStringLiteral("de.txt"));
    EXPECT_EQ(legend.lines, QStringList({"A # Plural", "B # Genitiv"}));
    EXPECT_EQ(legend.imagePath, QStringLiteral("/x/de.png"));
    legend = affAidLegend(entries, QStringLiteral("n/a"));
    EXPECT_EQ(affAidCaption(legend), QStringLiteral(".AFF Aid (n/a):"));
    EXPECT_TRUE(legend.lines.isEmpty());

    // The model shows the legend the preference names.
    const AffixTable table = tableOf(readEngineFixture("walk.aff"));
    MainSettings settings;
    settings.affAidLanguage = QStringLiteral("de.txt");
    EXPECT_EQ(WordEditorModel(table, settings, entries).legend().lines, QStringList({"A # Plural", "B # Genitiv"}));
}
