#include "gui/app/list_popup.h"

#include <QMenu>
#include <QTreeWidget>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/hyphenation/result_copy.h"
#include "core/shell/list_document.h"
#include "core/shell/list_selection.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"

namespace lexaloom {

namespace {

void wireListPopup(MainWindow &window, Workbench &workbench, Ui &ui, DocumentKind kind)
{
    CommandDispatcher &d = window.dispatcher();
    // Looked up at each use: a layout rebuild replaces the list.
    const auto list = [&window, kind] { return window.pagedList(kind); };
    ListDocument &doc = *workbench.listDocument(kind);
    const BulkListTexts &texts = BulkTextsOf(kind);
    // The Hyphenation tab lists the dictionary too.
    const auto redraw = [&window, kind] {
        window.refreshListPage(kind);
        if (kind == DocumentKind::Dictionary) {
            window.refreshListPage(DocumentKind::Hyphenation);
            window.refreshFileInfo(DocumentKind::Hyphenation);
        }
        window.refreshFileInfo(kind);
    };
    // Wrapped like every command: the controls are off while it runs and the
    // command states follow afterwards.
    const auto wrapped = [&d](const std::function<void()> &operation) {
        d.beginCommand();
        operation();
        d.refreshCommandStates();
        d.afterEvent();
    };

    // The pop-up belongs to the list's tree, so it is connected again whenever the
    // layout is rebuilt.
    const auto connectPopup = [=, &window, &workbench, &ui, &d, &doc, &texts] {
        QTreeWidget *tree = list()->tree();
        tree->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(
            tree, &QTreeWidget::customContextMenuRequested, &window,
            [&window, &workbench, &ui, &d, &doc, &texts, kind, tree, list, redraw, wrapped](const QPoint &pos) {
                if (d.isBusy())
                    return;
                QMenu menu(&window);
                menu.setObjectName(QStringLiteral("listPopup"));
                menu.addAction(QStringLiteral("Add"), &window, [&d, kind] { d.runTabAction(kind, TabAction::Add); });
                menu.addAction(QStringLiteral("Edit"), &window, [&d, kind] { d.runTabAction(kind, TabAction::Edit); });
                menu.addAction(QStringLiteral("Clone"), &window, [&, kind, redraw, wrapped] {
                    wrapped([&, kind, redraw] {
                        const bool cloned = kind == DocumentKind::Dictionary ? CloneWord(workbench.dictionary, ui)
                                                                             : CloneListEntry(doc, ui, texts);
                        if (cloned)
                            redraw();
                    });
                });
                menu.addSeparator();
                for (const char *caption : {"Extract && Delete flags (PFX)", "Extract && Delete flags (All)"})
                    menu.addAction(QString::fromLatin1(caption))->setEnabled(false);
                menu.addSeparator();
                for (const auto &[caption, action] :
                     {std::pair{"Select All", MarkAction::All}, std::pair{"Select None", MarkAction::None},
                      std::pair{"Invert Selection", MarkAction::Invert}}) {
                    menu.addAction(QString::fromLatin1(caption), &window, [&, action = action, list, wrapped] {
                        wrapped([&, action, list] {
                            if (ChangeAllMarks(doc, ui, texts, action))
                                list()->refreshListPage();
                        });
                    });
                }
                menu.addSeparator();
                menu.addAction(QStringLiteral("Delete Selected"), &window, [&, redraw, wrapped] {
                    wrapped([&, redraw] {
                        if (DeleteMarked(doc, ui, texts))
                            redraw();
                    });
                });
                menu.addAction(QStringLiteral("Delete"), &window,
                               [&d, kind] { d.runTabAction(kind, TabAction::Delete); });
                menu.exec(tree->viewport()->mapToGlobal(pos));
            });
    };
    connectPopup();
    QObject::connect(&window, &MainWindow::layoutBuilt, &window, connectPopup);
}

void connectResultPopup(MainWindow &window, Workbench &workbench, Ui &ui)
{
    QTreeWidget *results = window.hyphenationResults();
    results->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(results, &QTreeWidget::customContextMenuRequested, &window,
                     [&window, &workbench, &ui, results](const QPoint &pos) {
                         if (window.dispatcher().isBusy())
                             return;
                         QMenu menu(&window);
                         menu.setObjectName(QStringLiteral("resultPopup"));
                         for (const auto &[caption, what] :
                              {std::pair{"Copy word", ResultCopy::Word}, std::pair{"Copy rule", ResultCopy::Rule},
                               std::pair{"Copy word && rule", ResultCopy::WordAndRule}}) {
                             menu.addAction(QString::fromLatin1(caption), &window, [&workbench, &ui, results, what = what] {
                                 QTreeWidgetItem *item = results->currentItem();
                                 const int row = item && item->isSelected() ? results->indexOfTopLevelItem(item) : -1;
                                 CopyHyphenationResult(workbench.hyphenation.results, row, what, ui);
                             });
                         }
                         menu.exec(results->viewport()->mapToGlobal(pos));
                     });
}

} // namespace

void WireListPopups(MainWindow &window, Workbench &workbench, Ui &ui)
{
    for (DocumentKind kind : allDocumentKinds) {
        if (workbench.listDocument(kind))
            wireListPopup(window, workbench, ui, kind);
    }
    // Connected again when a layout rebuild replaces the result list.
    connectResultPopup(window, workbench, ui);
    QObject::connect(&window, &MainWindow::layoutBuilt, &window,
                     [&window, &workbench, &ui] { connectResultPopup(window, workbench, ui); });
}

} // namespace lexaloom
