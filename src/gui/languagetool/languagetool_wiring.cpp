#include "gui/languagetool/languagetool_wiring.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeView>

#include "core/app/tab_labels.h"
#include "core/app/workbench.h"
#include "core/dictionary_tools/pos_extraction.h"
#include "core/languagetool/grammar_rule_set.h"
#include "gui/languagetool/grammar_outline_rows.h"
#include "gui/languagetool/pos_settings_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/plain_list_model.h"

namespace lexaloom {

namespace {

void showChunk(MainWindow &window, const Workbench &workbench, int index)
{
    const DocumentKind kind = DocumentKind::LanguageTool;
    if (index < 0 || index >= workbench.grammar.chunks.size())
        return;
    const GrammarChunk &chunk = workbench.grammar.chunks[index];
    window.xmlPane(kind)->setPlainText(chunk.xmlCode);
    window.ruleIdLabel(kind)->setText(RuleIdText(chunk.id));
    window.ruleNameLabel(kind)->setText(RuleNameText(chunk.name));
}

// The rows the outline's two lists draw, for as long as the window lives.
class OutlineRows final : public QObject {
public:
    OutlineRows(const GrammarRuleSet &set, QObject *parent)
        : QObject(parent)
        , chunks(set)
        , categories(set)
    {
    }
    GrammarChunkRows chunks;
    GrammarCategoryRows categories;
};

} // namespace

void ShowGrammarOutline(MainWindow &window, const Workbench &workbench)
{
    const DocumentKind kind = DocumentKind::LanguageTool;
    window.chunkModel()->refresh();
    window.categoryModel()->refresh();
    window.categoryModel()->setCaption(1, CategoryColumnTitle(workbench.grammar, workbench.settings.thousandsSeparator));
    window.xmlPane(kind)->clear();
    window.ruleIdLabel(kind)->setText(RuleIdText(QString()));
    window.ruleNameLabel(kind)->setText(RuleNameText(QString()));
    window.refreshFileInfo(kind);
}

void RefreshPosExtractionCaptions(MainWindow &window, const Workbench &workbench)
{
    const PosSettings &pos = workbench.windowSettings.pos;
    const QString language = pos.languages.value(pos.selectedLanguage);
    if (QAction *added = window.menuAction(CommandId::ExtractPosAdded))
        added->setText(PosExtractionCaption(PosForm::Added, language));
    if (QAction *spelling = window.menuAction(CommandId::ExtractPosSpelling))
        spelling->setText(PosExtractionCaption(PosForm::Spelling, language));
}

void WireLanguageTool(MainWindow &window, Workbench &workbench, Ui &ui)
{
    CommandDispatcher &d = window.dispatcher();
    const DocumentKind kind = DocumentKind::LanguageTool;

    DocumentViewHooks hooks;
    hooks.progress.tick = [&window](qint64) { window.refreshFileInfo(DocumentKind::LanguageTool); };
    // A cancelled dialog or a missing file leaves the outline on screen as it was.
    hooks.loaded = [&window, &workbench](const DocumentLoadResult &result) {
        if (result.replaced)
            ShowGrammarOutline(window, workbench);
    };
    d.setDocumentHooks(kind, std::move(hooks));

    // The outline's lists get their rows, and are connected, again when a layout
    // rebuild replaces them.
    auto *rows = new OutlineRows(workbench.grammar, &window);
    const auto connectLists = [&window, &workbench, rows] {
        window.chunkModel()->setRows(&rows->chunks);
        window.categoryModel()->setRows(&rows->categories);
        if (!workbench.grammar.chunks.isEmpty()) {
            window.categoryModel()->setCaption(
                1, CategoryColumnTitle(workbench.grammar, workbench.settings.thousandsSeparator));
        }
        QObject::connect(window.chunkList()->selectionModel(), &QItemSelectionModel::currentChanged, &window,
                         [&window, &workbench](const QModelIndex &current) {
                             if (current.isValid())
                                 showChunk(window, workbench, current.row());
                         });
        QObject::connect(window.categoryList()->selectionModel(), &QItemSelectionModel::currentChanged, &window,
                         [&window, &workbench](const QModelIndex &current) {
                             const int category = current.row();
                             if (!current.isValid() || category >= workbench.grammar.categoryChunks.size())
                                 return;
                             QTreeView *chunks = window.chunkList();
                             const QModelIndex row =
                                 chunks->model()->index(workbench.grammar.categoryChunks[category], 0);
                             chunks->setCurrentIndex(row);
                             chunks->scrollTo(row, QAbstractItemView::PositionAtTop);
                         });
    };
    connectLists();
    QObject::connect(&window, &MainWindow::layoutBuilt, &window, connectLists);

    for (const bool withLineNumbers : {true, false}) {
        d.setOperation(withLineNumbers ? CommandId::RulesStructure : CommandId::RulesStructureNoLineNumbers,
                       [&workbench, &ui, withLineNumbers](int) {
                           ExportRulesStructure(workbench.grammar, workbench.settings, ui, withLineNumbers);
                       });
    }
    for (const PosForm form : {PosForm::Added, PosForm::Spelling}) {
        d.setOperation(form == PosForm::Added ? CommandId::ExtractPosAdded : CommandId::ExtractPosSpelling,
                       [&workbench, &ui, form](int) {
                           ExtractDictionaryPos(workbench.dictionary, workbench.windowSettings.pos, workbench.settings,
                                                ui, form);
                       });
    }
    d.setOperation(CommandId::PosSettings, [&window, &workbench, &ui](int) {
        PosSettingsWindow::Open(&window, workbench, ui);
        // The captions name the language in force, however the window was closed.
        RefreshPosExtractionCaptions(window, workbench);
    });
}

} // namespace lexaloom
