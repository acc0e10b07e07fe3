#include "core/app/command_states.h"
#include "core/app/commands.h"
#include "core/app/workbench.h"

#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

TEST(ConfirmDiscardChangesTest, ListsChangedDocumentsInOrder)
{
    const QString question = QStringLiteral("Really exit?");
    const struct {
        bool dictionary, thesaurus, hyphenation, autocorrect;
        const char16_t *expected; // nullptr: no question
    } cases[] = {
        {false, false, false, false, nullptr},
        {false, true, false, true,
         u"The following files have been changed:\n  \u2014 Thesaurus\n  \u2014 Autocorrect\n\nReally exit?"},
        {true, true, true, true,
         u"The following files have been changed:\n  \u2014 Dictionary\n  \u2014 Thesaurus\n  \u2014 Hyphenation\n"
         u"  \u2014 Autocorrect\n\nReally exit?"},
        {false, false, true, false, u"The following files have been changed:\n  \u2014 Hyphenation\n\nReally exit?"},
    };
    for (const auto &c : cases) {
        for (bool answer : {true, false}) {
            Workbench wb(QStringLiteral("/tmp"));
            wb.dictionary.changed = c.dictionary;
            wb.thesaurus.changed = c.thesaurus;
            wb.hyphenation.changed = c.hyphenation;
            wb.autocorrect.changed = c.autocorrect;
            ScriptedUi ui;
            ui.answers = {answer};
            const bool result = ConfirmDiscardChanges(wb, ui, question);
            if (!c.expected) {
                EXPECT_TRUE(result);
                EXPECT_TRUE(ui.messages.isEmpty());
                continue;
            }
            EXPECT_EQ(result, answer);
            ASSERT_EQ(ui.messages.size(), 1);
            EXPECT_EQ(ui.messages[0].text, QString::fromUtf16(c.expected));
            EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
            EXPECT_TRUE(ui.messages[0].question);
        }
    }
}

TEST(CommandStatesTest, PerTab)
{
    Workbench wb(QStringLiteral("/tmp"));
    // An empty program: nothing to save anywhere, each tool menu only on its tab.
    for (DocumentKind tab : allDocumentKinds) {
        wb.currentTab = tab;
        const CommandStates s = ComputeCommandStates(wb);
        EXPECT_FALSE(s.saveEnabled) << int(tab);
        for (DocumentKind kind : allDocumentKinds)
            EXPECT_EQ(s.toolMenuEnabled[size_t(kind)], kind == tab);
    }

    wb.dictionary.entries.append(u"word");
    wb.thesaurus.entries.append(u"head\nmeaning");
    wb.hyphenation.text = QStringLiteral("1a1");
    wb.autocorrect.entries.append(u"teh\nthe");
    wb.autotext.entries.append({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), {}});
    wb.grammar.chunks.append([] { GrammarChunk c; c.kind = QStringLiteral("rule"); return c; }());
    wb.thesaurus.undoSnapshot = ListSnapshot();
    wb.autocorrect.redoSnapshot = ListSnapshot();
    const struct {
        DocumentKind tab;
        bool save;
    } cases[] = {
        {DocumentKind::Dictionary, true}, {DocumentKind::Thesaurus, true}, {DocumentKind::Hyphenation, true},
        {DocumentKind::Autocorrect, true}, {DocumentKind::AutoText, false}, {DocumentKind::LanguageTool, false},
    };
    for (const auto &c : cases) {
        wb.currentTab = c.tab;
        const CommandStates s = ComputeCommandStates(wb);
        EXPECT_EQ(s.saveEnabled, c.save) << int(c.tab);
        EXPECT_TRUE(s.undoEnabled[size_t(DocumentKind::Thesaurus)]);
        EXPECT_FALSE(s.redoEnabled[size_t(DocumentKind::Thesaurus)]);
        EXPECT_FALSE(s.undoEnabled[size_t(DocumentKind::Autocorrect)]);
        EXPECT_TRUE(s.redoEnabled[size_t(DocumentKind::Autocorrect)]);
        EXPECT_FALSE(s.undoEnabled[size_t(DocumentKind::Dictionary)]);
        EXPECT_FALSE(s.undoEnabled[size_t(DocumentKind::Hyphenation)]);
    }
}

TEST(MenuBarTest, CaptionsAndKinds)
{
    const QList<MenuSpec> menus = MainMenuBar(QStringLiteral("English"));
    QStringList titles;
    for (const MenuSpec &m : menus)
        titles.append(m.title);
    EXPECT_EQ(titles.join(QLatin1Char('|')),
              QStringLiteral("&File|&Dictionary Tools|&Thesaurus Tools|&Hyphenation Tools|&Autocorrect Tools|"
                             "&AutoText Tools|&LanguageTool Tools|&Language/Task-specific Tools|&Extension Tools|"
                             "&Prefs|&Help"));
    // A few captions that are easy to get wrong, with the "Not coded yet." items counted.
    QStringList captions;
    int notCoded = 0;
    std::function<void(const QList<MenuItemSpec> &)> walk = [&](const QList<MenuItemSpec> &items) {
        for (const MenuItemSpec &i : items) {
            captions.append(i.caption);
            notCoded += i.kind == CommandKind::NotCoded;
            walk(i.submenu);
        }
    };
    for (const MenuSpec &m : menus)
        walk(m.items);
    for (const char *c :
         {"Save &As...\tShift+Ctrl+S", "Sort flags && remove their duplicates .DIC", "POS added.txt (English)",
          "POS spelling.txt (English)", "HTML Help\tF1", "10:", "Compounds .txt (LanguageTool)", "&Exit\tCtrl+Q"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(c))) << c;
    EXPECT_EQ(notCoded, 11);
}

TEST(CommandStatesTest, TabButtons)
{
    Workbench wb(QStringLiteral("/tmp"));
    wb.dictionary.undoSnapshot = DictionaryDocument::Snapshot();
    wb.autocorrect.redoSnapshot = ListSnapshot();
    using A = TabAction;
    using D = DocumentKind;
    const struct {
        D kind;
        A action;
        bool enabled;
    } cases[] = {
        {D::Dictionary, A::Add, true},        {D::Dictionary, A::Undo, true},
        {D::Dictionary, A::Redo, false},      {D::Dictionary, A::PaneClear, true},
        {D::Thesaurus, A::Undo, false},       {D::Thesaurus, A::ListTop, true},
        {D::Autocorrect, A::Redo, true},      {D::Autocorrect, A::Find, true},
        {D::Hyphenation, A::Undo, false},     {D::Hyphenation, A::Redo, false},
        {D::Hyphenation, A::Hyphenate, true}, {D::Hyphenation, A::PaneTop, true},
        {D::AutoText, A::Add, true},          {D::AutoText, A::ListBottom, false},
        {D::AutoText, A::XmlEdit, false},     {D::AutoText, A::PaneClear, false},
        {D::LanguageTool, A::ListTop, true},  {D::LanguageTool, A::XmlOk, false},
        {D::LanguageTool, A::Undo, false},    {D::LanguageTool, A::PaneBottom, false},
    };
    // The buttons do not depend on the current tab.
    for (DocumentKind tab : allDocumentKinds) {
        wb.currentTab = tab;
        const CommandStates s = ComputeCommandStates(wb);
        for (const auto &c : cases)
            EXPECT_EQ(s.isButtonEnabled(c.kind, c.action), c.enabled) << int(c.kind) << ':' << int(c.action);
    }
}
