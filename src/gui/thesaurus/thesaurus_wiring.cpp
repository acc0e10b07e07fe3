#include "gui/thesaurus/thesaurus_wiring.h"

#include <QLabel>
#include <QTreeWidget>

#include "core/app/workbench.h"
#include "core/shell/format.h"
#include "core/thesaurus/thesaurus_editing.h"
#include "core/thesaurus/thesaurus_files.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/thesaurus/synonym_editor.h"
#include "gui/thesaurus/thesaurus_tools_wiring.h"

namespace lexaloom {

void WireThesaurus(MainWindow &window, Workbench &workbench, Ui &ui)
{
    constexpr DocumentKind kind = DocumentKind::Thesaurus;
    CommandDispatcher &d = window.dispatcher();
    // Looked up at each use: a layout rebuild replaces the list.
    const auto list = [&window] { return window.pagedList(kind); };
    ThesaurusDocument &doc = workbench.thesaurus;

    const auto redraw = [&window] {
        window.refreshListPage(kind);
        window.refreshFileInfo(kind);
    };
    // While a file loads or saves only the counter follows, on the refresh tick.
    const TickCallback showCount = [&window, &workbench](qint64 entries) {
        window.counterLabel(kind)->setText(synonymTexts::counterCaption +
                                           FormatCount(entries, workbench.settings.thousandsSeparator));
    };

    DocumentViewHooks hooks;
    hooks.progress.tick = showCount;
    hooks.loaded = [list, redraw](const DocumentLoadResult &result) {
        if (!result.done())
            return;
        list()->setScrollPosition(0);
        redraw();
    };
    hooks.saved = [redraw](const FileResult &) { redraw(); };
    d.setDocumentHooks(kind, std::move(hooks));

    const OpenSynonymEditor openEditor = [&window, &workbench, &ui](SynonymEditorMode mode,
                                                                    const SynonymEditorTexts &initial) {
        SynonymEditor editor(ui, mode, initial, workbench.programFolder(), &window);
        return editor.exec() == QDialog::Accepted ? std::optional(editor.texts()) : std::nullopt;
    };
    for (const auto &[action, mode] :
         {std::pair{TabAction::Add, SynonymEditorMode::Add}, std::pair{TabAction::Edit, SynonymEditorMode::Edit}}) {
        d.setTabOperation(kind, action, [&doc, &ui, list, redraw, openEditor, mode = mode] {
            if (OpenEntryEditor(doc, ui, mode, openEditor)) {
                if (mode == SynonymEditorMode::Add) // show the new last entry
                    list()->setScrollPosition(doc.entries.size() - 1);
                redraw();
            }
        });
    }
    d.setTabOperation(kind, TabAction::Delete, [&doc, &ui, list, redraw] {
        if (DeleteEntry(doc, ui))
            redraw();
    });
    d.setTabOperation(kind, TabAction::Erase, [&doc, &ui, list, redraw] {
        if (EraseThesaurus(doc, ui)) {
            list()->setScrollPosition(0);
            redraw();
        }
    });
    d.setTabOperation(kind, TabAction::Sort, [&doc, &workbench, &ui, list, redraw] {
        if (SortThesaurus(doc, workbench.settings, ui)) {
            list()->setScrollPosition(0);
            redraw();
        }
    });
    const auto restoreScroll = [list, redraw](std::optional<qint64> scroll) {
        if (!scroll)
            return;
        list()->setScrollPosition(*scroll);
        redraw();
    };
    d.setTabOperation(kind, TabAction::Undo, [&doc, restoreScroll] { restoreScroll(UndoThesaurus(doc)); });
    d.setTabOperation(kind, TabAction::Redo, [&doc, restoreScroll] { restoreScroll(RedoThesaurus(doc)); });

    WireThesaurusTools(window, workbench, ui);
}

} // namespace lexaloom
