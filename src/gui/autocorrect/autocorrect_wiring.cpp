#include "gui/autocorrect/autocorrect_wiring.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "core/app/tab_labels.h"
#include "core/app/workbench.h"
#include "core/autocorrect/autocorrect_editing.h"
#include "core/autocorrect/autocorrect_tools.h"
#include "gui/autocorrect/ac_validate_window.h"
#include "gui/autocorrect/autocorrect_duplicates_window.h"
#include "gui/autocorrect/pair_editor.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"

namespace lexaloom {

namespace {

void showAutoText(MainWindow &window, const AutoTextList &list)
{
    QTreeWidget *tree = window.plainList(DocumentKind::AutoText);
    tree->clear();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(list.entries.size());
    for (qsizetype i = 0; i < list.entries.size(); ++i) {
        const AutoTextEntry &entry = list.entries[i];
        auto *row = new QTreeWidgetItem(
            QStringList{QString::number(i + 1), entry.abbreviatedName, entry.packageName, entry.name});
        StylePlainListRow(*row);
        rows.append(row);
    }
    tree->addTopLevelItems(rows);
    window.ruleIdLabel(DocumentKind::AutoText)->setText(RuleIdText(QString()));
    window.ruleNameLabel(DocumentKind::AutoText)->setText(RuleNameText(QString()));
    window.xmlPane(DocumentKind::AutoText)->clear();
    window.refreshFileInfo(DocumentKind::AutoText);
}

} // namespace

void WireAutocorrect(MainWindow &window, Workbench &workbench, Ui &ui)
{
    constexpr DocumentKind kind = DocumentKind::Autocorrect;
    CommandDispatcher &d = window.dispatcher();
    AutocorrectList &list = workbench.autocorrect;
    const auto redraw = [&window] {
        window.refreshListPage(kind);
        window.refreshFileInfo(kind);
    };
    const auto redrawFromTop = [&window, redraw] {
        window.pagedList(kind)->setScrollPosition(0);
        redraw();
    };
    const auto restoreScroll = [&window, redraw](std::optional<qint64> position) {
        if (!position)
            return;
        window.pagedList(kind)->setScrollPosition(*position);
        redraw();
    };
    const OpenPairWindow openEditor = [&window, &workbench, &ui](PairEditorMode mode, const PairTexts &initial) {
        PairEditor editor(ui, mode, initial, workbench.programFolder(), &window);
        return editor.exec() == QDialog::Accepted ? std::optional(editor.texts()) : std::nullopt;
    };

    DocumentViewHooks hooks;
    hooks.loaded = [redrawFromTop](const DocumentLoadResult &result) {
        if (result.done())
            redrawFromTop();
    };
    hooks.saved = [redraw](const FileResult &result) {
        if (result.done())
            redraw();
    };
    d.setDocumentHooks(kind, std::move(hooks));
    d.setTabOperation(kind, TabAction::Add, [&list, &ui, redraw, openEditor] {
        if (OpenPairEditor(list, ui, PairEditorMode::Add, openEditor))
            redraw();
    });
    d.setTabOperation(kind, TabAction::Edit, [&list, &ui, redraw, openEditor] {
        if (OpenPairEditor(list, ui, PairEditorMode::Edit, openEditor))
            redraw();
    });
    d.setTabOperation(kind, TabAction::Delete, [&list, &ui, redraw] {
        if (DeletePair(list, ui))
            redraw();
    });
    d.setTabOperation(kind, TabAction::Erase, [&list, &ui, redrawFromTop] {
        if (EraseAutocorrectList(list, ui))
            redrawFromTop();
    });
    d.setTabOperation(kind, TabAction::Sort, [&list, &workbench, &ui, redrawFromTop] {
        if (SortAutocorrectList(list, workbench.settings, ui))
            redrawFromTop();
    });
    d.setTabOperation(kind, TabAction::Undo, [&list, restoreScroll] { restoreScroll(UndoListChange(list)); });
    d.setTabOperation(kind, TabAction::Redo, [&list, restoreScroll] { restoreScroll(RedoListChange(list)); });

    // Autocorrect Tools. The tools that change the list redraw it from the top of the
    // page they leave; Delete/XDelete sorts it, so it shows from the start.
    d.setOperation(CommandId::AcValidate,
                   [&window, &workbench, &ui](int) { OpenAcValidateWindow(&window, workbench, ui); });
    d.setOperation(CommandId::ExtractAutocorrectsTxt,
                   [&list, &workbench, &ui](int) { ExtractAutocorrects(list, workbench.settings, ui); });
    d.setOperation(CommandId::CleanHexSymbols, [&list, &workbench, &ui, redraw](int) {
        if (ConvertHexSymbols(list, workbench.settings, ui) > 0)
            redraw();
    });
    d.setOperation(CommandId::AutocorrectFixSpaces, [&list, &workbench, &ui, redraw](int) {
        if (FixAutocorrectSpaces(list, workbench.settings, ui) > 0)
            redraw();
    });
    d.setOperation(CommandId::AutocorrectDuplicates, [&window, &workbench, &ui, redrawFromTop](int) {
        if (OpenAutocorrectDuplicatesWindow(&window, workbench, ui))
            redrawFromTop();
    });

    DocumentViewHooks autoText;
    autoText.loaded = [&window, &workbench](const DocumentLoadResult &result) {
        if (result.done())
            showAutoText(window, workbench.autotext);
    };
    d.setDocumentHooks(DocumentKind::AutoText, std::move(autoText));
    // Selecting a row shows its names and its content.
    QObject::connect(&window, &MainWindow::plainListRowChanged, &window,
                     [&window, &workbench](DocumentKind k, int row) {
                         if (k != DocumentKind::AutoText || row < 0 || row >= workbench.autotext.entries.size())
                             return;
                         const AutoTextEntry &entry = workbench.autotext.entries[row];
                         window.ruleIdLabel(k)->setText(RuleIdText(entry.abbreviatedName));
                         window.ruleNameLabel(k)->setText(RuleNameText(entry.name));
                         window.xmlPane(k)->setPlainText(entry.content);
                     });
}

} // namespace lexaloom
