#include "core/app/dispatcher.h"
#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/shell/recent_files.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "scripted_ui.h"
#include "gtest_qt_printers.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// Stands in for a kind's document slot: logs the loads and saves the dispatcher asks
// for and answers everything else as the workbench's own slot does.
class LoggingSlot final : public DocumentSlot {
public:
    LoggingSlot(std::unique_ptr<DocumentSlot> real, QStringList &log)
        : DocumentSlot(real->kind())
        , m_real(std::move(real))
        , m_log(log)
    {
    }
    // In every kind's place, wired to the dispatcher as the view wires its tabs.
    static void install(Workbench &wb, CommandDispatcher &dispatcher, QStringList &log)
    {
        for (DocumentKind kind : allDocumentKinds) {
            wb.replaceSlot(kind, std::make_unique<LoggingSlot>(wb.replaceSlot(kind, nullptr), log));
            dispatcher.setDocumentHooks(kind, {});
        }
    }

    const QString &path() const override { return m_real->path(); }
    bool isChanged() const override { return m_real->isChanged(); }
    qint64 entryCount() const override { return m_real->entryCount(); }
    bool isEmpty() const override { return m_real->isEmpty(); }
    const ListDocument *listDocument() const override { return m_real->listDocument(); }
    PagedListSource pagedListSource() override { return m_real->pagedListSource(); }
    DocumentLoadResult load(Ui &, const QString &path, const FileProgress &) override
    {
        m_log.append(QStringLiteral("load%1:'%2'").arg(int(kind())).arg(path));
        return {};
    }
    FileResult save(Ui &, bool current, bool ask, const FileProgress &) override
    {
        m_log.append(QStringLiteral("save%1:%2%3").arg(int(kind())).arg(current).arg(ask));
        return {};
    }

private:
    std::unique_ptr<DocumentSlot> m_real;
    QStringList &m_log;
};

// Records what the dispatcher asks of the window, in one log.
class FakeShellView final : public ShellView {
public:
    explicit FakeShellView(Workbench &wb)
        : m_wb(wb)
    {
    }

    void beginCommand() override { log.append(QStringLiteral("begin")); }
    void applyCommandStates(const CommandStates &s) override
    {
        states = s;
        log.append(QStringLiteral("states"));
    }
    void refreshListPage(DocumentKind kind) override
    {
        log.append(QStringLiteral("page%1").arg(int(kind)));
        rows[int(kind)] = std::min<qint64>(13, kind == DocumentKind::Hyphenation ? m_wb.dictionary.entries.size() : 0);
    }
    qint64 listRowCount(DocumentKind kind) const override { return rows[int(kind)]; }
    bool listHasFocus(DocumentKind kind) const override { return focusedList == kind; }
    void moveListFocus(DocumentKind kind, ListKey key) override
    {
        log.append(QStringLiteral("move%1:%2").arg(int(kind)).arg(int(key)));
    }
    void refreshFileInfo(DocumentKind) override {}
    void selectTab(DocumentKind kind) override
    {
        log.append(QStringLiteral("tab%1").arg(int(kind)));
        m_wb.currentTab = kind;
    }
    void setListKeysRegistered(bool registered) override
    {
        log.append(registered ? QStringLiteral("install") : QStringLiteral("remove"));
    }
    void closeWindow() override { log.append(QStringLiteral("close")); }

    QStringList log;
    CommandStates states;
    qint64 rows[documentKindCount] = {};
    DocumentKind focusedList = DocumentKind::LanguageTool; // no paged list focused

private:
    Workbench &m_wb;
};

struct Fixture {
    Workbench wb{QStringLiteral("/tmp")};
    ScriptedUi ui;
    FakeShellView view{wb};
    CommandDispatcher dispatcher{wb, ui, view};

    // Every hook appends its name to the view's log.
    void wireAll()
    {
        for (CommandId id : {CommandId::AffValidate, CommandId::Preferences, CommandId::RecentFile, CommandId::UnPfx,
                             CommandId::SortBotByDate, CommandId::SaveExtension})
            dispatcher.setOperation(
                id, [this, id](int index) { view.log.append(QStringLiteral("op%1:%2").arg(int(id)).arg(index)); });
        LoggingSlot::install(wb, dispatcher, view.log);
        for (DocumentKind kind : allDocumentKinds) {
            for (TabAction action : {TabAction::Add, TabAction::Delete, TabAction::Find, TabAction::Goto,
                                     TabAction::Undo, TabAction::Redo, TabAction::Sort, TabAction::ListTop})
                dispatcher.setTabOperation(kind, action, [this, kind, action] {
                    view.log.append(QStringLiteral("tabop%1:%2").arg(int(kind)).arg(int(action)));
                });
        }
    }
    // The log without the loop's bookkeeping after the command.
    QStringList commandLog(int keepStates = 1) const
    {
        QStringList l = view.log;
        // afterEvent ends every command with one "states"; keep only the wrapper's.
        if (keepStates && !l.isEmpty() && l.last() == QLatin1String("states"))
            l.removeLast();
        return l;
    }
};

} // namespace

TEST(DispatcherTest, MenuCommandKinds)
{
    const struct {
        const char *name;
        CommandId id;
        int index;
        QStringList log;
        bool notCoded;
    } cases[] = {
        {"wrapped tool", CommandId::AffValidate, 0, {"begin", "op", "states"}, false},
        {"recent file with an empty slot loads nothing", CommandId::RecentFile, 7, {"begin", "states"}, false},
        {"unwrapped window", CommandId::Preferences, 0, {"op"}, false},
        {"not coded", CommandId::UnPfx, 0, {}, true},
        {"no action", CommandId::SortBotByDate, 0, {}, false},
        {"always disabled", CommandId::SaveExtension, 0, {}, false},
        {"open asks on the current tab", CommandId::Open, 0, {"begin", "load0:''", "states"}, false},
        {"save to the current path", CommandId::Save, 0, {"begin", "save0:10", "states"}, false},
        {"save as asks for a path", CommandId::SaveAs, 0, {"begin", "save0:01", "states"}, false},
    };
    for (const auto &c : cases) {
        Fixture f;
        f.wireAll();
        f.dispatcher.runMenuCommand(c.id, c.index);
        QStringList expected = c.log;
        expected.replaceInStrings(QRegularExpression(QStringLiteral("^op$")),
                                  QStringLiteral("op%1:%2").arg(int(c.id)).arg(c.index));
        EXPECT_EQ(f.commandLog(), expected) << c.name;
        if (c.notCoded) {
            ASSERT_EQ(f.ui.messages.size(), 1) << c.name;
            EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("Not coded yet."));
            EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Warning!"));
            EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Warning);
            EXPECT_FALSE(f.ui.messages[0].question);
        } else {
            EXPECT_TRUE(f.ui.messages.isEmpty()) << c.name;
        }
    }
}

TEST(DispatcherTest, RecentFilesReopenWithTheTabsLoadAndClear)
{
    QTemporaryDir dir;
    Fixture f;
    Workbench wb(dir.path());
    FakeShellView view(wb);
    CommandDispatcher dispatcher(wb, f.ui, view);
    LoggingSlot::install(wb, dispatcher, view.log);
    QDir().mkpath(dir.path() + "/settings");
    AddRecentFile(wb, DocumentKind::Dictionary, QStringLiteral("/d/old.dic"));
    AddRecentFile(wb, DocumentKind::Dictionary, QStringLiteral("/d/new.dic"));
    AddRecentFile(wb, DocumentKind::Thesaurus, QStringLiteral("/t/th.dat"));

    dispatcher.runMenuCommand(CommandId::RecentFile, 1);
    EXPECT_TRUE(view.log.contains(QStringLiteral("load0:'/d/old.dic'"))) << view.log.join(' ').toStdString();

    wb.currentTab = DocumentKind::Thesaurus;
    view.log.clear();
    dispatcher.runMenuCommand(CommandId::RecentFile, 0);
    EXPECT_TRUE(view.log.contains(QStringLiteral("load1:'/t/th.dat'")));

    // Clear empties only the current tab's list, in memory and in the log.
    dispatcher.runMenuCommand(CommandId::RecentClear);
    EXPECT_TRUE(wb.recentFiles.list(DocumentKind::Thesaurus).join(QString()).isEmpty());
    EXPECT_EQ(wb.recentFiles.list(DocumentKind::Dictionary).first(), QStringLiteral("/d/new.dic"));
    Workbench reread(dir.path());
    AddRecentFile(reread, QString());
    EXPECT_EQ(reread.recentFiles, wb.recentFiles);
}

TEST(DispatcherTest, MenuTableKinds)
{
    EXPECT_EQ(CommandDispatcher::kindOf(CommandId::GbPrimaryIzeScript), CommandKind::NotCoded);
    EXPECT_EQ(CommandDispatcher::kindOf(CommandId::HypValidate), CommandKind::NotCoded);
    EXPECT_EQ(CommandDispatcher::kindOf(CommandId::Exit), CommandKind::Unwrapped);
    EXPECT_EQ(CommandDispatcher::kindOf(CommandId::RecentExtension), CommandKind::NoAction);
    EXPECT_EQ(CommandDispatcher::kindOf(CommandId::ExtractAllCsv), CommandKind::Wrapped);
    EXPECT_EQ(CommandDispatcher::kindOf(CommandId::SaveExtensionAs), CommandKind::AlwaysDisabled);
}

TEST(DispatcherTest, SaveOnReadOnlyTabsDoesNothing)
{
    for (DocumentKind tab : {DocumentKind::AutoText, DocumentKind::LanguageTool}) {
        Fixture f;
        f.wireAll();
        f.wb.currentTab = tab;
        f.dispatcher.runMenuCommand(CommandId::Save);
        f.dispatcher.runMenuCommand(CommandId::SaveAs);
        EXPECT_FALSE(f.view.log.join(' ').contains(QLatin1String("save")));
    }
}

TEST(DispatcherTest, ShortcutsActOnTheirTabsOnly)
{
    using S = ShortcutCommand;
    using D = DocumentKind;
    const struct {
        S shortcut;
        D tab;
        const char *op; // nullptr: nothing runs
    } cases[] = {
        {S::Delete, D::Dictionary, "tabop0:2"},  {S::Delete, D::Thesaurus, "tabop1:2"},
        {S::Delete, D::Autocorrect, "tabop3:2"}, {S::Delete, D::Hyphenation, nullptr},
        {S::Delete, D::AutoText, nullptr},       {S::Delete, D::LanguageTool, nullptr},
        {S::Add, D::Dictionary, "tabop0:0"},     {S::Add, D::Hyphenation, nullptr},
        {S::Add, D::AutoText, nullptr},          {S::Find, D::Hyphenation, "tabop2:5"},
        {S::Find, D::Thesaurus, "tabop1:5"},     {S::Find, D::AutoText, nullptr},
        {S::Goto, D::Hyphenation, "tabop2:6"},   {S::Goto, D::LanguageTool, nullptr},
        {S::Open, D::AutoText, "load4:''"},      {S::Return, D::Dictionary, nullptr},
        {S::Abort, D::Dictionary, nullptr},
    };
    for (const auto &c : cases) {
        Fixture f;
        f.wireAll();
        f.wb.currentTab = c.tab;
        f.dispatcher.runShortcut(c.shortcut);
        const QStringList ops = f.view.log.filter(QRegularExpression(QStringLiteral("^(tabop|load|save)")));
        if (c.op)
            EXPECT_EQ(ops, QStringList{QString::fromLatin1(c.op)}) << int(c.shortcut) << " on " << int(c.tab);
        else
            EXPECT_TRUE(ops.isEmpty()) << int(c.shortcut) << " on " << int(c.tab);
    }
}

TEST(DispatcherTest, SaveShortcutFollowsTheButtonState)
{
    Fixture f;
    f.wireAll();
    f.dispatcher.runShortcut(ShortcutCommand::Save); // empty dictionary: the button is disabled
    f.dispatcher.runShortcut(ShortcutCommand::SaveAs);
    EXPECT_TRUE(f.view.log.filter(QStringLiteral("save")).isEmpty());
    f.wb.dictionary.entries.append(u"word");
    f.dispatcher.runShortcut(ShortcutCommand::Save);
    f.dispatcher.runShortcut(ShortcutCommand::SaveAs);
    EXPECT_EQ(f.view.log.filter(QStringLiteral("save")), (QStringList{"save0:10", "save0:01"}));
}

TEST(DispatcherTest, UndoRedoPause)
{
    using D = DocumentKind;
    const struct {
        const char *name;
        D tab;
        bool shortcut; // else the button
        bool undo;
        bool hasStep;
        bool runs;
        bool pauses;
    } cases[] = {
        {"Ctrl+Z with a step", D::Dictionary, true, true, true, true, true},
        {"Ctrl+Z without a step still pauses", D::Thesaurus, true, true, false, false, true},
        {"Ctrl+Y without a step still pauses", D::Autocorrect, true, false, false, false, true},
        {"Ctrl+Y with a step", D::Autocorrect, true, false, true, true, true},
        {"Ctrl+Z on Hyphenation", D::Hyphenation, true, true, false, false, false},
        {"Ctrl+Z on AutoText", D::AutoText, true, true, false, false, false},
        {"Undo button", D::Dictionary, false, true, true, true, true},
        {"Redo button", D::Thesaurus, false, false, true, true, true},
        {"Undo button on Hyphenation is disabled", D::Hyphenation, false, true, true, false, false},
    };
    for (const auto &c : cases) {
        Fixture f;
        f.wireAll();
        f.wb.currentTab = c.tab;
        if (c.hasStep) {
            f.wb.dictionary.undoSnapshot = DictionaryDocument::Snapshot();
            f.wb.dictionary.redoSnapshot = DictionaryDocument::Snapshot();
            f.wb.thesaurus.undoSnapshot = ListSnapshot();
            f.wb.thesaurus.redoSnapshot = ListSnapshot();
            f.wb.autocorrect.undoSnapshot = ListSnapshot();
            f.wb.autocorrect.redoSnapshot = ListSnapshot();
        }
        if (c.shortcut)
            f.dispatcher.runShortcut(c.undo ? ShortcutCommand::Undo : ShortcutCommand::Redo);
        else
            f.dispatcher.runTabAction(c.tab, c.undo ? TabAction::Undo : TabAction::Redo);
        const QString op =
            QStringLiteral("tabop%1:%2").arg(int(c.tab)).arg(int(c.undo ? TabAction::Undo : TabAction::Redo));
        EXPECT_EQ(f.view.log.contains(op), c.runs) << c.name;
        EXPECT_EQ(f.ui.pauses, c.pauses ? QList<int>{250} : QList<int>{}) << c.name;
    }
}

TEST(DispatcherTest, TabButtonsOfReadOnlyTabsHaveNoAction)
{
    for (DocumentKind tab : {DocumentKind::AutoText, DocumentKind::LanguageTool}) {
        for (TabAction action :
             {TabAction::Add, TabAction::Delete, TabAction::Sort, TabAction::Find, TabAction::Goto}) {
            Fixture f;
            f.wireAll();
            f.dispatcher.runTabAction(tab, action);
            EXPECT_TRUE(f.view.log.filter(QStringLiteral("tabop")).isEmpty());
        }
    }
    Fixture f;
    f.wireAll();
    f.dispatcher.runTabAction(DocumentKind::LanguageTool, TabAction::ListTop);
    f.dispatcher.runTabAction(DocumentKind::AutoText, TabAction::ListTop);
    EXPECT_EQ(f.view.log.filter(QStringLiteral("tabop")), QStringList{"tabop4:10"});
}

TEST(DispatcherTest, WrappedTabButtons)
{
    Fixture f;
    f.wireAll();
    f.dispatcher.runTabAction(DocumentKind::Dictionary, TabAction::Sort);
    EXPECT_EQ(f.commandLog(), (QStringList{"begin", "tabop0:4", "states"}));
    f.view.log.clear();
    f.dispatcher.runTabAction(DocumentKind::Dictionary, TabAction::Find);
    EXPECT_EQ(f.commandLog(), QStringList{"tabop0:5"});
}

TEST(DispatcherTest, TabStripShortcuts)
{
    using D = DocumentKind;
    const struct {
        D from;
        bool next;
        const char *selects; // nullptr: the tab stays
    } cases[] = {
        {D::Dictionary, true, "tab1"}, {D::Hyphenation, true, "tab3"},   {D::Autocorrect, true, nullptr},
        {D::AutoText, true, "tab5"},   {D::LanguageTool, true, nullptr}, {D::Dictionary, false, nullptr},
        {D::Thesaurus, false, "tab0"}, {D::LanguageTool, false, "tab4"}, {D::AutoText, false, "tab3"},
    };
    for (const auto &c : cases) {
        Fixture f;
        f.wb.currentTab = c.from;
        f.dispatcher.runShortcut(c.next ? ShortcutCommand::NextTab : ShortcutCommand::PreviousTab);
        const QStringList tabs = f.view.log.filter(QRegularExpression(QStringLiteral("^tab\\d")));
        if (c.selects)
            EXPECT_EQ(tabs, QStringList{QString::fromLatin1(c.selects)}) << int(c.from) << c.next;
        else
            EXPECT_TRUE(tabs.isEmpty()) << int(c.from) << c.next;
    }
}

TEST(DispatcherTest, Exit)
{
    const QString question = QStringLiteral(
        "The following files have been changed:\n  \u2014 Thesaurus\n  \u2014 Autocorrect\n\nReally exit?");
    // Nothing changed: leaves without a question, through the menu and the close box.
    {
        Fixture f;
        f.dispatcher.requestExit();
        EXPECT_TRUE(f.wb.quitRequested);
        EXPECT_TRUE(f.view.log.contains(QStringLiteral("close")));
        EXPECT_TRUE(f.ui.messages.isEmpty());
        Fixture g;
        EXPECT_TRUE(g.dispatcher.confirmClose());
        EXPECT_TRUE(g.ui.messages.isEmpty());
    }
    for (bool answer : {false, true}) {
        for (bool closeBox : {false, true}) {
            Fixture f;
            f.wb.thesaurus.changed = true;
            f.wb.autocorrect.changed = true;
            f.ui.answers = {answer};
            bool leaves = false;
            if (closeBox) {
                leaves = f.dispatcher.confirmClose();
            } else {
                f.dispatcher.runShortcut(ShortcutCommand::Exit); // Ctrl+Q takes the menu's path
                leaves = f.view.log.contains(QStringLiteral("close"));
            }
            EXPECT_EQ(leaves, answer);
            EXPECT_EQ(f.wb.quitRequested, answer);
            ASSERT_EQ(f.ui.messages.size(), 1);
            EXPECT_EQ(f.ui.messages[0].text, question);
        }
    }
}

TEST(DispatcherTest, CommandsDoNotNestWhileOneRuns)
{
    // A long task pumps window events; a shortcut or a second menu command arriving
    // then must not start, and the close box must not end the program under it.
    Fixture f;
    f.wireAll();
    bool closeAllowed = true;
    f.dispatcher.setOperation(CommandId::Statistics, [&](int) {
        f.view.log.append(QStringLiteral("stats"));
        f.dispatcher.runMenuCommand(CommandId::AffValidate);
        f.dispatcher.runShortcut(ShortcutCommand::Open);
        f.dispatcher.runTabAction(DocumentKind::Dictionary, TabAction::Sort);
        closeAllowed = f.dispatcher.confirmClose();
        // A tab switched by the operation itself is still followed.
        f.dispatcher.tabSelected(DocumentKind::Thesaurus);
    });
    f.dispatcher.runMenuCommand(CommandId::Statistics);
    EXPECT_EQ(f.commandLog(), (QStringList{"begin", "stats", "states"}));
    EXPECT_FALSE(closeAllowed);
    EXPECT_FALSE(f.dispatcher.isBusy());
    EXPECT_EQ(f.wb.currentTab, DocumentKind::Thesaurus);
    EXPECT_TRUE(f.view.states.toolMenuEnabled[size_t(DocumentKind::Thesaurus)]);
}

TEST(DispatcherTest, ListKeysFollowTheFocus)
{
    using D = DocumentKind;
    using R = FocusRole;
    const struct {
        D tab;
        R role;
        const char *change; // nullptr: unchanged
    } steps[] = {
        {D::Dictionary, R::Other, nullptr}, // registered when the window is built
        {D::Dictionary, R::AffPane, "remove"},
        {D::Dictionary, R::AffPane, nullptr},
        {D::AutoText, R::Other, nullptr}, // AutoText leaves it as it is
        {D::LanguageTool, R::Other, nullptr},
        {D::Dictionary, R::Other, "install"},
        {D::Hyphenation, R::HyphenationWordField, "remove"},
        {D::Hyphenation, R::HyphenationResults, nullptr},
        {D::Hyphenation, R::Other, "install"},
        {D::Hyphenation, R::HyphenationPane, "remove"},
        {D::Thesaurus, R::Other, "install"},
        {D::Dictionary, R::AffPane, "remove"},
        {D::Autocorrect, R::Other, "install"},
    };
    Fixture f;
    for (const auto &s : steps) {
        f.view.log.clear();
        f.wb.currentTab = s.tab;
        f.dispatcher.controlEvent(s.role);
        if (s.change)
            EXPECT_EQ(f.view.log, QStringList{QString::fromLatin1(s.change)}) << int(s.tab) << int(s.role);
        else
            EXPECT_TRUE(f.view.log.isEmpty()) << int(s.tab) << int(s.role);
    }
}

TEST(DispatcherTest, ListKeysMoveOnlyAFocusedList)
{
    Fixture f;
    f.dispatcher.runShortcut(ShortcutCommand::Down); // the list has no focus
    f.view.focusedList = DocumentKind::Dictionary;
    f.dispatcher.runShortcut(ShortcutCommand::End);
    f.wb.currentTab = DocumentKind::Hyphenation;
    f.view.focusedList = DocumentKind::Hyphenation;
    f.dispatcher.runShortcut(ShortcutCommand::Up);
    EXPECT_EQ(f.view.log.filter(QStringLiteral("move")), (QStringList{"move0:5", "move2:0"}));
}

TEST(DispatcherTest, HyphenationListFollowsTheDictionary)
{
    Fixture f;
    f.wb.dictionary.entries.append(u"word");
    f.wb.dictionary.entries.append(u"other");
    f.wb.dictionary.selectedIndex = 1;
    f.dispatcher.tabSelected(DocumentKind::Hyphenation);
    EXPECT_TRUE(f.view.log.contains(QStringLiteral("page2")));
    EXPECT_EQ(f.wb.hyphenation.selectedIndex, 1);

    // Filled already: the next event leaves it alone.
    f.view.log.clear();
    f.dispatcher.afterEvent();
    EXPECT_FALSE(f.view.log.contains(QStringLiteral("page2")));

    // The dictionary was erased meanwhile: the list empties and loses its focus.
    f.wb.dictionary.entries.clear();
    f.dispatcher.afterEvent();
    EXPECT_TRUE(f.view.log.contains(QStringLiteral("page2")));
    EXPECT_EQ(f.wb.hyphenation.selectedIndex, -1);

    // On another tab nothing is synced.
    f.wb.dictionary.entries.append(u"word");
    f.view.log.clear();
    f.dispatcher.tabSelected(DocumentKind::Dictionary);
    EXPECT_FALSE(f.view.log.contains(QStringLiteral("page2")));
}

TEST(DispatcherTest, CommandStatesAfterEveryCommand)
{
    Fixture f;
    f.dispatcher.tabSelected(DocumentKind::Thesaurus);
    EXPECT_EQ(f.wb.currentTab, DocumentKind::Thesaurus);
    EXPECT_TRUE(f.view.states.toolMenuEnabled[size_t(DocumentKind::Thesaurus)]);
    EXPECT_FALSE(f.view.states.toolMenuEnabled[size_t(DocumentKind::Dictionary)]);
    f.wb.thesaurus.entries.append(u"head\nmeaning");
    f.dispatcher.runMenuCommand(CommandId::SortOnNumbers);
    EXPECT_TRUE(f.view.states.saveEnabled);
}

namespace {

void collectItems(const QList<MenuItemSpec> &items, QList<MenuItemSpec> &out)
{
    for (const MenuItemSpec &item : items) {
        if (item.submenu.isEmpty())
            out.append(item);
        else
            collectItems(item.submenu, out);
    }
}

bool showedNotCodedYet(const ScriptedUi &ui)
{
    return ui.messages.size() == 1 && ui.messages[0].text == QStringLiteral("Not coded yet.") &&
           ui.messages[0].title == QStringLiteral("Warning!") && ui.messages[0].icon == MessageIcon::Warning &&
           !ui.messages[0].question;
}

} // namespace

// Nothing wired at all: every menu item and tab button that should act says so,
// and the ones without an action by design stay silent.
TEST(DispatcherTest, CommandsWithoutAnOperationSayNotCodedYet)
{
    QList<MenuItemSpec> items;
    for (const MenuSpec &menu : MainMenuBar(QStringLiteral("English")))
        collectItems(menu.items, items);
    for (const MenuItemSpec &item : items) {
        // The dispatcher's own: leaving and clearing the recent files.
        if (item.id == CommandId::Exit || item.id == CommandId::RecentClear) {
            Fixture f;
            EXPECT_TRUE(f.dispatcher.hasOperation(item.id));
            continue;
        }
        Fixture f;
        f.dispatcher.runMenuCommand(item.id, item.index);
        const bool silentByDesign = item.kind == CommandKind::NoAction || item.kind == CommandKind::AlwaysDisabled;
        if (silentByDesign)
            EXPECT_TRUE(f.ui.messages.isEmpty()) << item.caption.toStdString();
        else
            EXPECT_TRUE(showedNotCodedYet(f.ui)) << item.caption.toStdString();
        // Saying so is not a command: nothing is disabled meanwhile.
        EXPECT_FALSE(f.view.log.contains(QStringLiteral("begin"))) << item.caption.toStdString();
    }

    for (DocumentKind kind : allDocumentKinds) {
        for (size_t a = 0; a < tabActionCount; ++a) {
            const auto action = static_cast<TabAction>(a);
            Fixture f;
            f.wb.currentTab = kind;
            f.dispatcher.runTabAction(kind, action);
            const bool acts = TabButtonKindOf(kind, action) == TabButtonKind::Operation;
            if (acts)
                EXPECT_TRUE(showedNotCodedYet(f.ui)) << int(kind) << ':' << a;
            else
                EXPECT_TRUE(f.ui.messages.isEmpty()) << int(kind) << ':' << a;
        }
    }

    // The shortcuts stand for the buttons, so they say it too.
    const struct {
        ShortcutCommand shortcut;
        DocumentKind tab;
    } shortcuts[] = {{ShortcutCommand::Delete, DocumentKind::Thesaurus},
                     {ShortcutCommand::Add, DocumentKind::Autocorrect},
                     {ShortcutCommand::Find, DocumentKind::Hyphenation},
                     {ShortcutCommand::Open, DocumentKind::Thesaurus}};
    for (const auto &s : shortcuts) {
        Fixture f;
        f.wb.currentTab = s.tab;
        f.dispatcher.runShortcut(s.shortcut);
        EXPECT_TRUE(showedNotCodedYet(f.ui)) << int(s.shortcut);
    }
}

TEST(DispatcherTest, OperationsFollowTheirHooks)
{
    Fixture f;
    EXPECT_FALSE(f.dispatcher.hasOperation(CommandId::Statistics));
    EXPECT_FALSE(f.dispatcher.hasOperation(CommandId::Open));
    EXPECT_FALSE(f.dispatcher.hasTabOperation(DocumentKind::Thesaurus, TabAction::Add));
    // Nothing to save on the read-only tabs is the designed answer, not a missing one.
    f.wb.currentTab = DocumentKind::AutoText;
    EXPECT_TRUE(f.dispatcher.hasOperation(CommandId::Save));
    f.wireAll();
    f.wb.currentTab = DocumentKind::Thesaurus;
    EXPECT_TRUE(f.dispatcher.hasOperation(CommandId::Open));
    EXPECT_TRUE(f.dispatcher.hasOperation(CommandId::SaveAs));
    EXPECT_TRUE(f.dispatcher.hasOperation(CommandId::AffValidate));
    EXPECT_TRUE(f.dispatcher.hasTabOperation(DocumentKind::Thesaurus, TabAction::Add));
    // An empty operation counts as none.
    f.dispatcher.setOperation(CommandId::AffValidate, {});
    EXPECT_FALSE(f.dispatcher.hasOperation(CommandId::AffValidate));
}

// A tool window running inside a command (Find) asks for a tab's operation (Edit):
// a second command from the window is refused, the nested call is not.
TEST(DispatcherTest, ToolWindowsReachTheTabsOperations)
{
    Fixture f;
    f.wireAll();
    f.dispatcher.setTabOperation(DocumentKind::Thesaurus, TabAction::Find, [&f] {
        f.dispatcher.runTabAction(DocumentKind::Thesaurus, TabAction::Add); // refused: a command runs
        f.dispatcher.runNestedTabAction(DocumentKind::Thesaurus, TabAction::Delete);
        f.dispatcher.runNestedTabAction(DocumentKind::Thesaurus, TabAction::Edit); // not wired here
    });
    f.dispatcher.runTabAction(DocumentKind::Thesaurus, TabAction::Find);
    EXPECT_EQ(f.view.log.filter(QStringLiteral("tabop")), QStringList{"tabop1:2"});
    EXPECT_TRUE(showedNotCodedYet(f.ui));
}
