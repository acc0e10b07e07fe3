#include "gui/dictionary/dictionary_bulk_wiring.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_bulk.h"
#include "core/dictionary/fix_invalid_spaces.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"

namespace lexaloom {

void WireDictionaryBulk(MainWindow &window, Workbench &workbench, Ui &ui)
{
    constexpr DocumentKind kind = DocumentKind::Dictionary;
    CommandDispatcher &d = window.dispatcher();
    // Looked up at each use: a layout rebuild replaces the list.
    const auto list = [&window] { return window.pagedList(kind); };
    DictionaryDocument &doc = workbench.dictionary;
    // The Hyphenation tab lists the dictionary too; after Erase and Sort it starts
    // from the top without a focus.
    const auto redrawFromTop = [&window, &workbench, list] {
        list()->setScrollPosition(0);
        workbench.hyphenation.selectedIndex = -1;
        window.pagedList(DocumentKind::Hyphenation)->setScrollPosition(0);
        window.refreshFileInfo(kind);
        window.refreshFileInfo(DocumentKind::Hyphenation);
    };

    d.setTabOperation(kind, TabAction::Erase, [&doc, &ui, list, redrawFromTop] {
        if (EraseDictionary(doc, ui))
            redrawFromTop();
    });
    d.setTabOperation(kind, TabAction::Sort, [&doc, &workbench, &ui, list, redrawFromTop] {
        if (SortDictionary(doc, workbench.settings, ui))
            redrawFromTop();
    });

    d.setTabOperation(kind, TabAction::PaneClear, [&window, &doc, &ui] {
        if (ClearAffText(doc, ui)) {
            window.showDocumentTexts();
            window.refreshFileInfo(kind);
        }
    });
    d.setTabOperation(kind, TabAction::PaneBottom, [&window] {
        QPlainTextEdit *pane = window.affPane();
        pane->moveCursor(QTextCursor::End);
        pane->ensureCursorVisible();
    });
    d.setTabOperation(kind, TabAction::PaneTop, [&window] {
        QPlainTextEdit *pane = window.affPane();
        pane->moveCursor(QTextCursor::Start);
        pane->moveCursor(QTextCursor::NextCharacter);
        pane->ensureCursorVisible();
    });

    d.setOperation(CommandId::DictionaryFixSpaces, [&window, &workbench, &ui, list](int) {
        const FixSpacesResult result = FixInvalidSpaces(workbench.dictionary, workbench.settings, ui);
        if (result.outcome == FixSpacesOutcome::Fixed || result.outcome == FixSpacesOutcome::Aborted) {
            window.refreshListPage(kind);
            window.refreshListPage(DocumentKind::Hyphenation);
            window.refreshFileInfo(kind);
        }
    });
}

} // namespace lexaloom
