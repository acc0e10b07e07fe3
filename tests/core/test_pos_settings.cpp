#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>

#include <gtest/gtest.h>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/languagetool/pos_settings_session.h"
#include "core/shell/prefs_store.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// The session over a workbench, with the edit window answered from a queue.
struct Fixture {
    QTemporaryDir dir;
    Workbench workbench{dir.path()};
    ScriptedUi ui;
    std::deque<QString> edits;
    QStringList prefills;
    PosSettingsSession session{workbench.windowSettings.pos, ui, [this](const QString &rule) {
                                   prefills.append(rule);
                                   if (edits.empty())
                                       return QString();
                                   const QString r = edits.front();
                                   edits.pop_front();
                                   return r;
                               }};

    void useRules(int count)
    {
        session.setLanguage(0);
        QStringList rules;
        for (int i = 1; i <= count; ++i)
            rules.append(QStringLiteral("s%1\nt%1\nc%1").arg(i));
        workbench.windowSettings.pos.rules[0] = rules;
        session.setLanguage(0);
    }
};

} // namespace

TEST(PosSettings, BuiltInTableHasTheThreeLanguages)
{
    const PosSettings pos = PosSettings::builtIn();
    EXPECT_EQ(pos.languages, (QStringList{"Other", "Portuguese", "English"}));
    EXPECT_EQ(pos.selectedLanguage, 2);
    EXPECT_EQ(pos.rules[0].size(), 0);
    EXPECT_EQ(pos.rules[1].size(), 23);
    EXPECT_EQ(pos.rules[2].size(), 27);
    EXPECT_EQ(pos.rules[1][22], QStringLiteral("[LA=1,CAT=np,SEM=rio]\nNPMS000\nPlace name - River - Male"));
    EXPECT_EQ(pos.rules[2][6], QStringLiteral("Noun: uncountable\nNN:U\nNoun: uncountable"));
    EXPECT_EQ(pos.rules[2][16],
              QStringLiteral("Taxonomic phylum + Taxonomic class\nNNP\nTaxonomic phylum + Taxonomic class"));
    EXPECT_EQ(pos.rules[2][26], QStringLiteral("Taxonomic tribe\nNNP\nTaxonomic tribe"));
}

TEST(PosSettings, EditedFieldsMustHoldMoreThanSpaces)
{
    const struct {
        const char *source;
        const char *target;
        const char *comment;
        const char *rule; // empty: refused
    } cases[] = {
        {"Adjective", "JJ", "adj", "Adjective\nJJ\nadj"},
        {"Adjective", "   ", "adj", ""},
        {"", "JJ", "adj", ""},
        {"Adjective", "JJ", "", ""},
        {"  Adjective", "JJ ", "a b", "  Adjective\nJJ \na b"}, // spaces inside a field stay
    };
    for (const auto &c : cases) {
        ScriptedUi ui;
        const QString rule = AcceptPosRuleFields(ui, QString::fromUtf8(c.source), QString::fromUtf8(c.target),
                                                 QString::fromUtf8(c.comment));
        EXPECT_EQ(rule, QString::fromUtf8(c.rule));
        EXPECT_EQ(ui.messageTexts(), *c.rule ? QStringList() : QStringList{QStringLiteral("Empty fields found.")});
    }
}

// The settings file separates a rule's fields with tabs: a field holding one (or a line
// break) would come back shifted after Save and a reload, so it is refused and named.
TEST(PosSettings, FieldsWithATabAreRefused)
{
    const struct {
        const char *source;
        const char *target;
        const char *comment;
        int faulty;
    } cases[] = {
        {"Adj\tective", "JJ", "adj", 0},
        {"Adjective", "JJ\t", "adj", 1},
        {"Adjective", "JJ", "\tadj", 2},
        {"Adjective", "JJ", "a\nb", 2},
        {"Adjective", "JJ", "adj", -1},
    };
    for (const auto &c : cases) {
        const QString source = QString::fromUtf8(c.source);
        const QString target = QString::fromUtf8(c.target);
        const QString comment = QString::fromUtf8(c.comment);
        ScriptedUi ui;
        const QString rule = AcceptPosRuleFields(ui, source, target, comment);
        EXPECT_EQ(PosRuleFieldWithSeparator(source, target, comment), c.faulty) << c.source << c.target << c.comment;
        if (c.faulty < 0) {
            EXPECT_EQ(rule, source + u'\n' + target + u'\n' + comment);
            EXPECT_TRUE(ui.messages.isEmpty());
            continue;
        }
        EXPECT_TRUE(rule.isEmpty()) << c.faulty;
        ASSERT_EQ(ui.messages.size(), 1) << c.faulty;
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].text, QStringLiteral("Tab found in a field."));
    }
}

TEST(PosSettings, InsertionsGoWhereTheRowSaysAndLabelsFollow)
{
    Fixture f;
    f.useRules(2);
    EXPECT_EQ(f.session.foundText(), QStringLiteral("Found:2"));
    EXPECT_EQ(f.session.selectedText(), QStringLiteral("Selected:None"));
    f.edits = {QStringLiteral("a\nA\n1"),     QStringLiteral("top\nT\n2"),    QStringLiteral("below\nB\n3"),
               QStringLiteral("clone\nC\n4"), QStringLiteral("edited\nE\n5"), QStringLiteral("above\nV\n6")};
    f.session.add(); // appended
    f.session.setSelectedRow(-1);
    f.session.addBelow(); // no row: at the top
    f.session.setSelectedRow(1);
    f.session.addBelow();   // after row 1
    f.session.cloneBelow(); // the new row is selected: cloned after it, prefilled with it
    f.session.setSelectedRow(0);
    f.session.edit();
    f.session.setSelectedRow(-1);
    f.session.addAbove(); // no row: at the top
    EXPECT_EQ(f.prefills, (QStringList{"", "", "", "below\nB\n3", "top\nT\n2", ""}));
    EXPECT_EQ(f.session.rules(), (QStringList{"above\nV\n6", "edited\nE\n5", "s1\nt1\nc1", "below\nB\n3", "clone\nC\n4",
                                              "s2\nt2\nc2", "a\nA\n1"}));
    EXPECT_EQ(f.session.foundText(), QStringLiteral("Found:7"));
    // A cancelled edit changes nothing.
    f.session.setSelectedRow(2);
    f.session.edit();
    EXPECT_EQ(f.session.rules()[2], QStringLiteral("s1\nt1\nc1"));
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(PosSettings, RefusalsChangeNothing)
{
    Fixture f;
    f.useRules(0);
    f.session.deleteRule();
    f.session.edit();
    f.session.cloneBelow();
    f.session.invertSelection();
    f.session.deleteSelected();
    EXPECT_EQ(f.ui.messageTexts(), (QStringList{"No rules for current language.", "No rule selected.",
                                                "No rule selected.", "No items selected.", "No items selected."}));
    for (const auto &m : f.ui.messages)
        EXPECT_EQ(m.title, QStringLiteral("Warning!"));

    // A language holding 300 rules refuses every insertion before the edit window opens.
    f.useRules(300);
    f.ui.clearRecords();
    f.session.setSelectedRow(4);
    f.edits = {QStringLiteral("x\ny\nz")};
    f.session.add();
    f.session.addAbove();
    f.session.addBelow();
    f.session.cloneBelow();
    EXPECT_EQ(f.ui.messageTexts(), QStringList(4, QStringLiteral("The maximum number of rules per language is 300")));
    EXPECT_TRUE(f.prefills.isEmpty());
    EXPECT_EQ(f.session.rules().size(), 300);
}

TEST(PosSettings, DeletingAsksAndTickedRulesGoTogether)
{
    Fixture f;
    f.useRules(5);
    f.session.setTicked(1, true);
    f.session.setTicked(3, true);
    EXPECT_EQ(f.session.selectedText(), QStringLiteral("Selected:2/5"));
    f.session.deleteSelected();
    EXPECT_EQ(f.session.rules(), (QStringList{"s1\nt1\nc1", "s3\nt3\nc3", "s5\nt5\nc5"}));
    EXPECT_EQ(f.session.selectedText(), QStringLiteral("Selected:None"));

    f.session.selectAll();
    EXPECT_EQ(f.session.selectedText(), QStringLiteral("Selected:All"));
    f.session.invertSelection();
    EXPECT_EQ(f.session.selectedText(), QStringLiteral("Selected:None"));

    f.session.setSelectedRow(1);
    f.ui.answers = {false, true};
    f.session.deleteRule(); // No
    EXPECT_EQ(f.session.rules().size(), 3);
    f.session.deleteRule(); // Yes
    EXPECT_EQ(f.session.rules(), (QStringList{"s1\nt1\nc1", "s5\nt5\nc5"}));
    EXPECT_EQ(f.ui.messageTexts(), QStringList(2, QStringLiteral("Really delete rule?")));
}

TEST(PosSettings, CancelRestoresTheTableButNotTheSavedFiles)
{
    Fixture f;
    const PosSettings opening = f.workbench.windowSettings.pos;
    f.session.setLanguage(1);
    f.session.setSelectedRow(0);
    f.ui.answers = {true};
    f.session.deleteRule();
    const PosSettings saved = f.workbench.windowSettings.pos;
    f.session.save([&] { return SavePosLists(f.workbench); }, QString());
    f.session.remember([&] { return SavePosSelection(f.workbench); }, QString());
    EXPECT_TRUE(f.session.accept()); // the language differs: the captions follow
    f.session.cancel();
    EXPECT_EQ(f.workbench.windowSettings.pos, opening);
    EXPECT_FALSE(f.session.accept());

    // The files keep what Save and Remember wrote.
    Workbench reread(f.dir.path());
    LoadAllSettings(reread);
    EXPECT_EQ(reread.windowSettings.pos, saved);
    EXPECT_EQ(reread.windowSettings.pos.rules[1].size(), 22);
    EXPECT_EQ(reread.windowSettings.pos.selectedLanguage, 1);

    // A file that cannot be written is told.
    f.ui.clearRecords();
    f.session.save([] { return false; }, QStringLiteral("settings/extract_pos_lists.prefs"));
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(
        f.ui.messages[0].text.startsWith(QStringLiteral("Can't write the file:\nsettings/extract_pos_lists.prefs")));
}
