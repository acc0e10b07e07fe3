#pragma once

#include "core/app/commands.h"
#include "core/app/shell_view.h"
#include "core/shell/document_kind.h"
#include "core/shell/document_slot.h"

#include <QString>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace lexaloom {

class Ui;
class Workbench;

// The window-level keyboard shortcuts of the main window.
enum class ShortcutCommand {
    Abort,
    Delete,
    Find,
    Return,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End,
    Open,
    Save,
    SaveAs,
    Exit,
    Add,
    NextTab,
    PreviousTab,
    Goto,
    Undo,
    Redo,
    Help,
};

// Which control an event came from, as far as the list keys care.
enum class FocusRole { Other, AffPane, HyphenationPane, HyphenationResults, HyphenationWordField };

// The list keys follow the focus so that a text pane receives Delete, Return, the
// arrows, Home, End and Ctrl+A itself.
class ListKeyRegistration final {
public:
    // The registration wanted after an event of `role` while `tab` is current, or
    // nothing when it stays as it is.
    std::optional<bool> onControlEvent(DocumentKind tab, FocusRole role);
    bool isRegistered() const { return m_registered; }

private:
    // The window registers them when it is built.
    bool m_registered = true;
};

// What the view does around File > Open and Save on a kind's tab: the progress it
// shows while the file is read or written, and its redraw once the load or save has
// ended (done or not). The load and save themselves run through the kind's slot.
struct DocumentViewHooks {
    FileProgress progress;
    std::function<void(const DocumentLoadResult &)> loaded;
    std::function<void(const FileResult &)> saved;
};

// Turns every menu item, shortcut and tab button into the call of its operation,
// with the BeginCommand / RefreshCommandStates wrapper where the command table asks
// for it. File > Open, Save, Save As and Recent Files run through the current tab's
// document slot. Operations of features built elsewhere are hooks; a command whose hook is
// not set shows "Not coded yet." rather than doing nothing.
class CommandDispatcher final {
public:
    using Operation = std::function<void(int index)>;
    using TabOperation = std::function<void()>;

    static constexpr int undoPauseMs = 250;

    CommandDispatcher(Workbench &workbench, Ui &ui, ShellView &view);
    CommandDispatcher(const CommandDispatcher &) = delete;
    CommandDispatcher &operator=(const CommandDispatcher &) = delete;

    // Wiring.
    void setOperation(CommandId id, Operation operation);
    void setDocumentHooks(DocumentKind kind, DocumentViewHooks hooks);
    void setTabOperation(DocumentKind kind, TabAction action, TabOperation operation);
    // Rewrites the Recent Files submenu for the current tab; run after every event.
    void setRecentFilesMenuRefresher(std::function<void()> refresher);

    // How the menu table treats `id` (Wrapped for ids not in the menu bar).
    static CommandKind kindOf(CommandId id);

    // Whether a command has its operation: a hook, or one the dispatcher runs itself.
    // File > Open, Save, Save As and the recent files ask the current tab's slot.
    bool hasOperation(CommandId id) const;
    // A kind's Open and Save are there once the view has given its hooks for the
    // kind's slot; the read-only kinds have no Save.
    bool hasLoadOperation(DocumentKind kind) const;
    bool hasSaveOperation(DocumentKind kind) const;
    bool hasTabOperation(DocumentKind kind, TabAction action) const;

    // Entry points of the window's events. All of them are ignored while a command
    // runs: a long task pumps window events, and a second command must not start.
    void runMenuCommand(CommandId id, int index = 0);
    void runShortcut(ShortcutCommand command);
    void runTabAction(DocumentKind kind, TabAction action);
    // A tab button's operation asked for by a tool window that runs inside a command
    // (Find's "Edit" and "Delete"): the command is already running, so this one is
    // not refused as a second command would be.
    void runNestedTabAction(DocumentKind kind, TabAction action);
    void tabSelected(DocumentKind kind);
    // A list changed its focus or marks: the counters follow.
    void listEvent(DocumentKind kind);
    // An event of a control: the list keys follow the focus.
    void controlEvent(FocusRole role);
    // File > Exit and Ctrl+Q: closes the window once confirmed.
    void requestExit();
    // The close box: true when the window may close.
    bool confirmClose();

    void beginCommand();
    void refreshCommandStates();
    // What the main loop does at each iteration: command states, the Recent Files
    // menu, the Hyphenation list sync and the current tab's counters.
    void afterEvent();

    bool isBusy() const { return m_busy; }
    const ListKeyRegistration &listKeys() const { return m_listKeys; }
    Workbench &workbench() { return m_workbench; }
    Ui &ui() { return m_ui; }
    ShellView &view() { return m_view; }

    static QString exitQuestion() { return QStringLiteral("Really exit?"); }

private:
    void runWrapped(const std::function<void()> &operation);
    void runOperation(CommandId id, int index);
    void runTabOperation(DocumentKind kind, TabAction action);
    void openDocument(DocumentKind kind, const QString &path);
    void saveDocument(DocumentKind kind, bool useCurrentName, bool askForName);
    void showNotCodedYet();
    bool confirmExit();
    void syncHyphenationList();

    Workbench &m_workbench;
    Ui &m_ui;
    ShellView &m_view;
    bool m_busy = false;
    ListKeyRegistration m_listKeys;
    std::map<CommandId, Operation> m_operations;
    std::array<DocumentViewHooks, documentKindCount> m_documentHooks;
    std::array<bool, documentKindCount> m_documentWired{};
    std::map<std::pair<DocumentKind, TabAction>, TabOperation> m_tabOperations;
    std::function<void()> m_refreshRecentFilesMenu;
};

} // namespace lexaloom
