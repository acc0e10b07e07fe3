#include "gui/languagetool/languagetool_wiring.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "core/app/tab_labels.h"
#include "core/app/workbench.h"
#include "core/dictionary_tools/pos_extraction.h"
#include "core/languagetool/grammar_rule_set.h"
#include "gui/languagetool/pos_settings_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

constexpr int chunkColumns = 7;

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

QTreeWidgetItem *chunkRow(const GrammarChunk &chunk)
{
    auto *row = new QTreeWidgetItem(QStringList{QString::number(chunk.lineNumber), chunk.kind, chunk.id, chunk.name,
                                                chunk.type, chunk.tags, chunk.defaultValue});
    StylePlainListRow(*row);
    for (int column = 1; column < chunkColumns; ++column) {
        if (const auto colour = ChunkCellColour(chunk, column))
            row->setForeground(column, palette::fromRgb(*colour));
    }
    return row;
}

} // namespace

void ShowGrammarOutline(MainWindow &window, const Workbench &workbench)
{
    const DocumentKind kind = DocumentKind::LanguageTool;
    const GrammarRuleSet &set = workbench.grammar;
    QTreeWidget *chunks = window.plainList(kind);
    QTreeWidget *categories = window.categoryList();
    chunks->clear();
    categories->clear();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(set.chunks.size());
    for (const GrammarChunk &chunk : set.chunks)
        rows.append(chunkRow(chunk));
    chunks->addTopLevelItems(rows);
    QList<QTreeWidgetItem *> categoryRows;
    for (qsizetype c = 0; c < set.categoryChunks.size(); ++c) {
        const GrammarChunk &chunk = set.chunks[set.categoryChunks[c]];
        auto *row = new QTreeWidgetItem(QStringList{QString::number(chunk.lineNumber), CategoryRowText(set, c)});
        row->setBackground(0, palette::fromRgb(grammarColours::lineShade));
        row->setForeground(1, palette::fromRgb(grammarColours::category));
        categoryRows.append(row);
    }
    categories->addTopLevelItems(categoryRows);
    categories->headerItem()->setText(1, CategoryColumnTitle(set, workbench.settings.thousandsSeparator));
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

    // The outline's lists are connected again when a layout rebuild replaces them.
    const auto connectLists = [&window, &workbench] {
        QObject::connect(window.plainList(kind), &QTreeWidget::currentItemChanged, &window,
                         [&window, &workbench](QTreeWidgetItem *current) {
                             if (current)
                                 showChunk(window, workbench, current->treeWidget()->indexOfTopLevelItem(current));
                         });
        QObject::connect(window.categoryList(), &QTreeWidget::currentItemChanged, &window,
                         [&window, &workbench](QTreeWidgetItem *current) {
                             if (!current)
                                 return;
                             const int category = current->treeWidget()->indexOfTopLevelItem(current);
                             if (category < 0 || category >= workbench.grammar.categoryChunks.size())
                                 return;
                             QTreeWidget *chunks = window.plainList(DocumentKind::LanguageTool);
                             QTreeWidgetItem *row = chunks->topLevelItem(workbench.grammar.categoryChunks[category]);
                             chunks->setCurrentItem(row);
                             chunks->scrollToItem(row, QAbstractItemView::PositionAtTop);
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
