#pragma once

#include "core/app/command_states.h"
#include "core/shell/document_kind.h"

#include <QtGlobal>

namespace lexaloom {

// The navigation keys of a paged list.
enum class ListKey { Up, Down, PageUp, PageDown, Home, End };

// What the dispatcher asks of the main window. The GUI implements it with widgets,
// the core tests with a recording fake; nothing here knows about a toolkit.
class ShellView {
public:
    virtual ~ShellView() = default;

    // BeginCommand: disables the menus, the tab strip, the toolbar and every list,
    // scroll bar, text pane and button of the tabs; labels stay as they are.
    virtual void beginCommand() = 0;
    // RefreshCommandStates: re-enables what the states allow.
    virtual void applyCommandStates(const CommandStates &states) = 0;

    // Refills the visible page of the kind's paged list (Dictionary, Thesaurus,
    // Hyphenation, Autocorrect); the other kinds ignore it.
    virtual void refreshListPage(DocumentKind kind) = 0;
    // Rows the kind's paged list shows right now.
    virtual qint64 listRowCount(DocumentKind kind) const = 0;
    // True while the kind's paged list has the keyboard focus.
    virtual bool listHasFocus(DocumentKind kind) const = 0;
    // Moves the focus within the kind's paged list.
    virtual void moveListFocus(DocumentKind kind, ListKey key) = 0;

    // The file-information line of a tab: counter, changed marker, folder, file and
    // "Selected:" labels.
    virtual void refreshFileInfo(DocumentKind kind) = 0;

    virtual void selectTab(DocumentKind kind) = 0;

    // Registers or removes the list keys (Delete, Return, arrows, Page Up/Down, Home,
    // End, Ctrl+A) as window shortcuts.
    virtual void setListKeysRegistered(bool registered) = 0;

    // Ends the program after the user confirmed leaving.
    virtual void closeWindow() = 0;
};

} // namespace lexaloom
