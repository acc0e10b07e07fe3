#include "gui/hyphenation/hyphenation_wiring.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTreeWidget>

#include "core/app/tab_labels.h"
#include "core/app/workbench.h"
#include "core/hyphenation/hyphenate.h"
#include "gui/shell/main_window.h"
#include "gui/shell/palette.h"

namespace lexaloom {

void ShowHyphenationResults(MainWindow &window, const Workbench &workbench)
{
    QTreeWidget *list = window.hyphenationResults();
    list->clear();
    QList<QTreeWidgetItem *> items;
    const QList<HyphenationRow> &rows = workbench.hyphenation.results;
    items.reserve(rows.size());
    for (const HyphenationRow &row : rows) {
        auto *item = new QTreeWidgetItem({row.word, row.code, row.rule});
        const QColor colour = palette::fromRgb(quint32(row.colour));
        item->setForeground(0, colour);
        item->setForeground(1, colour);
        if (row.noMatches)
            item->setForeground(2, palette::red);
        items.append(item);
    }
    list->addTopLevelItems(items);
    window.hyphenationCountLabel()->setText(HyphenationCountText(rows.size()));
}

void WireHyphenation(MainWindow &window, Workbench &workbench, Ui &ui)
{
    constexpr DocumentKind kind = DocumentKind::Hyphenation;
    CommandDispatcher &d = window.dispatcher();
    const auto showText = [&window] {
        window.showDocumentTexts();
        window.refreshFileInfo(kind);
    };

    DocumentViewHooks hooks;
    hooks.loaded = [showText](const DocumentLoadResult &result) {
        if (result.done())
            showText();
    };
    hooks.saved = [showText](const FileResult &result) {
        if (result.done())
            showText();
    };
    d.setDocumentHooks(kind, std::move(hooks));

    d.setTabOperation(kind, TabAction::PaneClear, [&window, &workbench, &ui, showText] {
        if (!ClearHyphenation(workbench.hyphenation, ui))
            return;
        showText();
        ShowHyphenationResults(window, workbench);
    });
    d.setTabOperation(kind, TabAction::PaneBottom, [&window] {
        QPlainTextEdit *pane = window.hyphenationPane();
        pane->moveCursor(QTextCursor::End);
        pane->ensureCursorVisible();
    });
    d.setTabOperation(kind, TabAction::PaneTop, [&window] {
        QPlainTextEdit *pane = window.hyphenationPane();
        pane->moveCursor(QTextCursor::Start);
        pane->moveCursor(QTextCursor::NextCharacter);
        pane->ensureCursorVisible();
    });

    const auto context = [&workbench, &ui] {
        return HyphenationContext{workbench.affixTable, workbench.dictionary.affText, workbench.settings, ui};
    };
    d.setTabOperation(kind, TabAction::Hyphenate, [&window, &workbench, context] {
        if (Hyphenate(workbench.hyphenation, context(), window.wordField()->text()) != HyphenationOutcome::Refused)
            ShowHyphenationResults(window, workbench);
    });
    d.setTabOperation(kind, TabAction::Update, [&window, &workbench, context] {
        if (UpdateHyphenation(workbench.hyphenation, context()) != HyphenationOutcome::Refused)
            ShowHyphenationResults(window, workbench);
    });
}

} // namespace lexaloom
