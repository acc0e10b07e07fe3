#include "gui/dictionary/dictionary_editing_wiring.h"

#include <QTreeWidget>

#include <memory>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary_tools/convert_to_utf8.h"
#include "core/shell/prefs_store.h"
#include "gui/dictionary/word_editor.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"

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
    // Looked up at each use: a layout rebuild replaces the list.
    DictionaryDocument &doc = workbench.dictionary;
    // The legend line chosen last, kept while the program runs.
    auto legendRow = std::make_shared<int>(-1);

    // The Hyphenation tab lists the dictionary too.
    const auto redraw = [&window] {
        window.refreshListPage(DocumentKind::Dictionary);
        window.refreshListPage(DocumentKind::Hyphenation);
        window.refreshFileInfo(DocumentKind::Dictionary);
    };
    const auto restoreScroll = [&window, redraw](std::optional<qint64> position) {
        if (!position)
            return;
        window.pagedList(kind)->setScrollPosition(*position);
        redraw();
    };
    const OpenWordEditor openEditor = [&window, &workbench, &ui, legendRow](WordEditorMode mode,
                                                                            const WordEditorTexts &initial) {
        WordEditor editor(WordEditorContextOf(workbench), ui, mode, initial, *legendRow, &window);
        return editor.exec() == QDialog::Accepted ? std::optional(editor.texts()) : std::nullopt;
    };

    d.setTabOperation(kind, TabAction::Add, [&doc, redraw, openEditor] {
        if (AddWord(doc, openEditor))
            redraw();
    });
    d.setTabOperation(kind, TabAction::Edit, [&doc, &ui, redraw, openEditor] {
        if (EditWord(doc, ui, openEditor))
            redraw();
    });
    d.setTabOperation(kind, TabAction::Delete, [&doc, &ui, redraw] {
        if (DeleteWord(doc, ui))
            redraw();
    });
    // Undo and redo of Convert to UTF-8 bring the .aff text back too.
    d.setTabOperation(kind, TabAction::Undo, [&window, &doc, restoreScroll] {
        restoreScroll(UndoDictionary(doc));
        window.showDocumentTexts();
    });
    d.setTabOperation(kind, TabAction::Redo, [&window, &doc, restoreScroll] {
        restoreScroll(RedoDictionary(doc));
        window.showDocumentTexts();
    });
    d.setOperation(CommandId::ConvertToUtf8, [&window, &doc, &ui, redraw](int) {
        if (ConvertDictionaryToUtf8(doc, ui)) {
            window.showDocumentTexts();
            redraw();
        }
    });
}

} // namespace lexaloom
