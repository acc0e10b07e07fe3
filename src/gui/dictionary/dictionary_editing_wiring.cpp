#include "dictionary/dictionary_editing_wiring.h"

#include <QTreeWidget>

#include <memory>

#include "app/settings_files.h"
#include "app/workbench.h"
#include "dictionary/dictionary_editing.h"
#include "dictionary/word_editor.h"
#include "shell/main_window.h"
#include "shell/paged_list_view.h"
#include "shell/prefs_store.h"

namespace lexaloom {

WordEditorContext WordEditorContextOf(Workbench &workbench)
{
    return {workbench.affixTable,
            workbench.dictionary.affText,
            workbench.settings,
            workbench.affAidEntries,
            workbench.windowSettings.derivedSortChoice,
            [&workbench] { SaveDerivedSortChoice(workbench); },
            workbench.programFolder()};
}

void WireDictionaryEditing(MainWindow &window, Workbench &workbench, Ui &ui)
{
    constexpr DocumentKind kind = DocumentKind::Dictionary;
    CommandDispatcher &d = window.dispatcher();
    PagedListView *list = window.pagedList(kind);
    DictionaryDocument &doc = workbench.dictionary;
    // The legend line chosen last, kept while the program runs.
    auto legendRow = std::make_shared<int>(-1);

    // The Hyphenation tab lists the dictionary too.
    const auto redraw = [&window] {
        window.refreshListPage(DocumentKind::Dictionary);
        window.refreshListPage(DocumentKind::Hyphenation);
        window.refreshFileInfo(DocumentKind::Dictionary);
    };
    const auto restoreScroll = [list, redraw](std::optional<qint64> scroll) {
        if (!scroll)
            return;
        list->setScrollPosition(*scroll);
        redraw();
    };
    const OpenWordEditor openEditor = [&window, &workbench, &ui, legendRow](WordEditorMode mode,
                                                                            const WordEditorTexts &initial) {
        WordEditor editor(WordEditorContextOf(workbench), ui, mode, initial, *legendRow, &window);
        return editor.exec() == QDialog::Accepted ? std::optional(editor.texts()) : std::nullopt;
    };

    d.setTabOperation(kind, TabAction::Add, [&doc, list, redraw, openEditor] {
        if (AddWord(doc, list->scrollPosition(), openEditor))
            redraw();
    });
    d.setTabOperation(kind, TabAction::Edit, [&doc, &ui, list, redraw, openEditor] {
        if (EditWord(doc, ui, list->scrollPosition(), openEditor))
            redraw();
    });
    d.setTabOperation(kind, TabAction::Delete, [&doc, &ui, list, redraw] {
        if (DeleteWord(doc, ui, list->scrollPosition()))
            redraw();
    });
    d.setTabOperation(kind, TabAction::Undo,
                      [&doc, list, restoreScroll] { restoreScroll(UndoDictionary(doc, list->scrollPosition())); });
    d.setTabOperation(kind, TabAction::Redo,
                      [&doc, list, restoreScroll] { restoreScroll(RedoDictionary(doc, list->scrollPosition())); });
}

} // namespace lexaloom
