#include "core/app/dispatcher.h"

#include "core/shell/recent_files.h"

#include "core/app/command_states.h"
#include "core/app/document_files.h"
#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/shell/long_task.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

bool isReadOnlyTab(DocumentKind kind)
{
    return KindFacts(kind).readOnly;
}

void collectKinds(const QList<MenuItemSpec> &items, std::map<CommandId, CommandKind> &kinds)
{
    for (const MenuItemSpec &item : items) {
        if (!item.submenu.isEmpty())
            collectKinds(item.submenu, kinds);
        else if (item.id != CommandId::None)
            kinds.emplace(item.id, item.kind);
    }
}

const std::map<CommandId, CommandKind> &commandKinds()
{
    static const std::map<CommandId, CommandKind> kinds = [] {
        std::map<CommandId, CommandKind> k;
        for (const MenuSpec &menu : MainMenuBar(QString()))
            collectKinds(menu.items, k);
        return k;
    }();
    return kinds;
}

std::optional<ListKey> listKeyOf(ShortcutCommand command)
{
    switch (command) {
    case ShortcutCommand::Up:
        return ListKey::Up;
    case ShortcutCommand::Down:
        return ListKey::Down;
    case ShortcutCommand::PageUp:
        return ListKey::PageUp;
    case ShortcutCommand::PageDown:
        return ListKey::PageDown;
    case ShortcutCommand::Home:
        return ListKey::Home;
    case ShortcutCommand::End:
        return ListKey::End;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<bool> ListKeyRegistration::onControlEvent(DocumentKind tab, FocusRole role)
{
    bool wanted = m_registered;
    switch (tab) {
    case DocumentKind::Dictionary:
        wanted = role != FocusRole::AffPane;
        break;
    case DocumentKind::Hyphenation:
        wanted = role != FocusRole::HyphenationPane && role != FocusRole::HyphenationResults &&
                 role != FocusRole::HyphenationWordField;
        break;
    case DocumentKind::Thesaurus:
    case DocumentKind::Autocorrect:
        wanted = true;
        break;
    case DocumentKind::AutoText:
    case DocumentKind::LanguageTool:
        break;
    }
    if (wanted == m_registered)
        return std::nullopt;
    m_registered = wanted;
    return wanted;
}

CommandDispatcher::CommandDispatcher(Workbench &workbench, Ui &ui, ShellView &view)
    : m_workbench(workbench)
    , m_ui(ui)
    , m_view(view)
{
}

void CommandDispatcher::setOperation(CommandId id, Operation operation)
{
    m_operations[id] = std::move(operation);
}

void CommandDispatcher::setDocumentHooks(DocumentKind kind, DocumentViewHooks hooks)
{
    m_documentHooks[static_cast<size_t>(kind)] = std::move(hooks);
    m_documentWired[static_cast<size_t>(kind)] = true;
}

void CommandDispatcher::setTabOperation(DocumentKind kind, TabAction action, TabOperation operation)
{
    m_tabOperations[{kind, action}] = std::move(operation);
}

void CommandDispatcher::setRecentFilesMenuRefresher(std::function<void()> refresher)
{
    m_refreshRecentFilesMenu = std::move(refresher);
}

CommandKind CommandDispatcher::kindOf(CommandId id)
{
    const auto &kinds = commandKinds();
    const auto it = kinds.find(id);
    return it == kinds.end() ? CommandKind::Wrapped : it->second;
}

bool CommandDispatcher::hasLoadOperation(DocumentKind kind) const
{
    return m_documentWired[static_cast<size_t>(kind)];
}

bool CommandDispatcher::hasSaveOperation(DocumentKind kind) const
{
    return hasLoadOperation(kind) && m_workbench.slot(kind).canSave();
}

bool CommandDispatcher::hasTabOperation(DocumentKind kind, TabAction action) const
{
    const auto it = m_tabOperations.find({kind, action});
    return it != m_tabOperations.end() && it->second;
}

bool CommandDispatcher::hasOperation(CommandId id) const
{
    const DocumentKind tab = m_workbench.currentTab;
    switch (id) {
    case CommandId::Open:
    case CommandId::RecentFile:
        return hasLoadOperation(tab);
    case CommandId::Save:
    case CommandId::SaveAs:
        // The read-only tabs have nothing to save, by design.
        return isReadOnlyTab(tab) || hasSaveOperation(tab);
    case CommandId::RecentClear:
    case CommandId::Exit:
        return true;
    default: {
        const auto it = m_operations.find(id);
        return it != m_operations.end() && it->second;
    }
    }
}

void CommandDispatcher::showNotCodedYet()
{
    m_ui.showMessage(LongTask::warningTitle(), NotCodedYetText(), MessageIcon::Warning);
}

void CommandDispatcher::beginCommand()
{
    m_view.beginCommand();
}

void CommandDispatcher::refreshCommandStates()
{
    m_view.applyCommandStates(ComputeCommandStates(m_workbench));
}

void CommandDispatcher::afterEvent()
{
    refreshCommandStates();
    if (m_refreshRecentFilesMenu)
        m_refreshRecentFilesMenu();
    syncHyphenationList();
    m_view.refreshFileInfo(m_workbench.currentTab);
}

void CommandDispatcher::runWrapped(const std::function<void()> &operation)
{
    beginCommand();
    operation();
    refreshCommandStates();
}

void CommandDispatcher::runMenuCommand(CommandId id, int index)
{
    if (m_busy)
        return;
    m_busy = true;
    switch (kindOf(id)) {
    case CommandKind::AlwaysDisabled:
    case CommandKind::NoAction:
        break;
    case CommandKind::NotCoded:
        showNotCodedYet();
        break;
    case CommandKind::Unwrapped:
    case CommandKind::Wrapped:
        if (!hasOperation(id))
            showNotCodedYet();
        else if (kindOf(id) == CommandKind::Unwrapped)
            runOperation(id, index);
        else
            runWrapped([&] { runOperation(id, index); });
        break;
    }
    m_busy = false;
    if (m_workbench.quitRequested) {
        m_view.closeWindow();
        return;
    }
    afterEvent();
}

void CommandDispatcher::runOperation(CommandId id, int index)
{
    const DocumentKind tab = m_workbench.currentTab;
    switch (id) {
    case CommandId::Open:
        openDocument(tab, QString());
        return;
    case CommandId::Save:
    case CommandId::SaveAs:
        saveDocument(tab, id == CommandId::Save, id == CommandId::SaveAs);
        return;
    case CommandId::RecentFile: {
        // Reopens the stored path with the tab's own load, as File > Open would.
        const QString path = RecentDocumentPath(m_workbench, tab, index);
        if (!path.isEmpty())
            openDocument(tab, path);
        return;
    }
    case CommandId::RecentClear:
        AddRecentFile(m_workbench, RecentFiles::clearPath());
        return;
    case CommandId::Exit:
        confirmExit();
        return;
    default:
        if (const auto it = m_operations.find(id); it != m_operations.end() && it->second)
            it->second(index);
        return;
    }
}

void CommandDispatcher::openDocument(DocumentKind kind, const QString &path)
{
    if (!hasLoadOperation(kind))
        return;
    const DocumentViewHooks &hooks = m_documentHooks[static_cast<size_t>(kind)];
    const DocumentLoadResult result = OpenDocumentFile(m_workbench, kind, m_ui, path, hooks.progress);
    if (hooks.loaded)
        hooks.loaded(result);
}

void CommandDispatcher::saveDocument(DocumentKind kind, bool useCurrentName, bool askForName)
{
    // The read-only tabs have nothing to save, by design.
    if (!hasSaveOperation(kind))
        return;
    const DocumentViewHooks &hooks = m_documentHooks[static_cast<size_t>(kind)];
    const FileResult result = SaveDocumentFile(m_workbench, kind, m_ui, useCurrentName, askForName, hooks.progress);
    if (hooks.saved)
        hooks.saved(result);
}

void CommandDispatcher::runShortcut(ShortcutCommand command)
{
    if (m_busy)
        return;
    const DocumentKind tab = m_workbench.currentTab;
    switch (command) {
    case ShortcutCommand::Abort: // taken by a running LongTask through the Ui
    case ShortcutCommand::Return:
        return;
    case ShortcutCommand::Delete:
    case ShortcutCommand::Add:
        if (m_workbench.listDocument(tab))
            runTabAction(tab, command == ShortcutCommand::Delete ? TabAction::Delete : TabAction::Add);
        return;
    case ShortcutCommand::Find:
    case ShortcutCommand::Goto:
        if (m_workbench.listDocument(tab) || tab == DocumentKind::Hyphenation)
            runTabAction(tab, command == ShortcutCommand::Find ? TabAction::Find : TabAction::Goto);
        return;
    case ShortcutCommand::Undo:
    case ShortcutCommand::Redo: {
        if (!m_workbench.listDocument(tab))
            return;
        const bool undo = command == ShortcutCommand::Undo;
        const bool hasStep = undo ? m_workbench.hasUndoStep(tab) : m_workbench.hasRedoStep(tab);
        m_busy = true;
        if (hasStep)
            runTabOperation(tab, undo ? TabAction::Undo : TabAction::Redo);
        m_ui.pause(undoPauseMs);
        m_busy = false;
        afterEvent();
        return;
    }
    case ShortcutCommand::Up:
    case ShortcutCommand::Down:
    case ShortcutCommand::PageUp:
    case ShortcutCommand::PageDown:
    case ShortcutCommand::Home:
    case ShortcutCommand::End:
        if (m_workbench.listDocument(tab) || tab == DocumentKind::Hyphenation) {
            if (m_view.listHasFocus(tab))
                m_view.moveListFocus(tab, *listKeyOf(command));
        }
        return;
    case ShortcutCommand::Open:
        runMenuCommand(CommandId::Open);
        return;
    case ShortcutCommand::Save:
    case ShortcutCommand::SaveAs:
        // The shortcut stands for the button: nothing while the button is disabled.
        if (ComputeCommandStates(m_workbench).saveEnabled)
            runMenuCommand(command == ShortcutCommand::Save ? CommandId::Save : CommandId::SaveAs);
        return;
    case ShortcutCommand::Exit:
        runMenuCommand(CommandId::Exit);
        return;
    case ShortcutCommand::Help:
        runMenuCommand(CommandId::HtmlHelp);
        return;
    case ShortcutCommand::NextTab:
        if (tab != DocumentKind::Autocorrect && tab != allDocumentKinds.back())
            m_view.selectTab(static_cast<DocumentKind>(static_cast<int>(tab) + 1));
        return;
    case ShortcutCommand::PreviousTab:
        if (tab != allDocumentKinds.front())
            m_view.selectTab(static_cast<DocumentKind>(static_cast<int>(tab) - 1));
        return;
    }
}

void CommandDispatcher::runTabOperation(DocumentKind kind, TabAction action)
{
    const auto it = m_tabOperations.find({kind, action});
    const TabOperation operation = it == m_tabOperations.end() ? TabOperation() : it->second;
    if (!operation) {
        // Buttons without an action by design stay silent; the others say so.
        if (TabButtonKindOf(kind, action) == TabButtonKind::Operation)
            showNotCodedYet();
        return;
    }
    const auto run = [&] { operation(); };
    switch (action) {
    case TabAction::Delete:
    case TabAction::Erase:
    case TabAction::Sort:
    case TabAction::Undo:
    case TabAction::Redo:
    case TabAction::Hyphenate:
    case TabAction::Update:
        runWrapped(run);
        break;
    default:
        // Editors and dialogs manage the window themselves; the pane buttons are instant.
        run();
        break;
    }
}

void CommandDispatcher::runTabAction(DocumentKind kind, TabAction action)
{
    if (m_busy)
        return;
    const bool listCommand = action == TabAction::Add || action == TabAction::Edit || action == TabAction::Delete ||
                             action == TabAction::Erase || action == TabAction::Sort || action == TabAction::Find ||
                             action == TabAction::Goto;
    const bool undoRedo = action == TabAction::Undo || action == TabAction::Redo;
    // Read-only tabs offer these buttons without an action; Hyphenation has no undo.
    if (isReadOnlyTab(kind) && (listCommand || undoRedo))
        return;
    if (kind == DocumentKind::LanguageTool && (action == TabAction::ListBottom || action == TabAction::ListTop))
        return;
    if (kind == DocumentKind::Hyphenation && undoRedo)
        return;
    m_busy = true;
    runTabOperation(kind, action);
    if (undoRedo)
        m_ui.pause(undoPauseMs);
    m_busy = false;
    afterEvent();
}

void CommandDispatcher::runNestedTabAction(DocumentKind kind, TabAction action)
{
    runTabOperation(kind, action);
}

void CommandDispatcher::tabSelected(DocumentKind kind)
{
    // An operation may switch tabs itself; the current tab must follow even then.
    m_workbench.currentTab = kind;
    if (m_busy)
        return;
    controlEvent(FocusRole::Other);
    afterEvent();
}

void CommandDispatcher::listEvent(DocumentKind kind)
{
    if (m_busy)
        return;
    controlEvent(FocusRole::Other);
    m_view.refreshFileInfo(kind);
}

void CommandDispatcher::controlEvent(FocusRole role)
{
    if (const std::optional<bool> change = m_listKeys.onControlEvent(m_workbench.currentTab, role))
        m_view.setListKeysRegistered(*change);
}

bool CommandDispatcher::confirmExit()
{
    m_workbench.quitRequested = false;
    if (ConfirmDiscardChanges(m_workbench, m_ui, exitQuestion()))
        m_workbench.quitRequested = true;
    return m_workbench.quitRequested;
}

void CommandDispatcher::requestExit()
{
    runMenuCommand(CommandId::Exit);
}

bool CommandDispatcher::confirmClose()
{
    if (m_busy)
        return false;
    if (m_workbench.quitRequested)
        return true;
    m_busy = true;
    const bool leave = confirmExit();
    m_busy = false;
    return leave;
}

void CommandDispatcher::syncHyphenationList()
{
    if (m_workbench.currentTab != DocumentKind::Hyphenation)
        return;
    const bool dictionaryHasEntries = !m_workbench.dictionary.entries.isEmpty();
    const bool hyphenationShowsRows = m_view.listRowCount(DocumentKind::Hyphenation) > 0;
    if (dictionaryHasEntries && !hyphenationShowsRows) {
        if (m_workbench.dictionary.selectedIndex != -1)
            m_workbench.hyphenation.selectedIndex = m_workbench.dictionary.selectedIndex;
        m_view.refreshListPage(DocumentKind::Hyphenation);
    } else if (!dictionaryHasEntries && hyphenationShowsRows) {
        m_workbench.hyphenation.selectedIndex = -1;
        m_view.refreshListPage(DocumentKind::Hyphenation);
    }
}

} // namespace lexaloom
