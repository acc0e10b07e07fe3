#include "gui/dictionary_tools/wordlist_duplicates_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/dictionary_tools/wordlist_duplicates.h"
#include "core/shell/format.h"
#include "core/shell/settings.h"

namespace lexaloom {

WordlistDuplicatesWindow::WordlistDuplicatesWindow(const WordlistDuplicates &result, const MainSettings &settings,
                                                   Ui &ui, const QString &programFolder, QWidget *parent)
    : ToolWindow(ui, parent)
    , m_list(new QTreeWidget(this))
    , m_found(new QLabel(this))
{
    using namespace wordlistDuplicatesTexts;
    setWindowTitle(wordlistDuplicatesTexts::windowTitle);
    setManualAnchor(programFolder, wordlistDuplicatesTexts::manualAnchor);
    resize(675, 339);

    m_list->setHeaderLabels({QStringLiteral("Word"), QStringLiteral("Occurrences"), QStringLiteral("Lines")});
    m_list->setColumnWidth(0, 200);
    m_list->setColumnWidth(1, 100);
    m_list->setColumnWidth(2, 250);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    QList<QTreeWidgetItem *> rows;
    rows.reserve(static_cast<qsizetype>(result.rows.size()));
    for (const WordlistDuplicate &row : result.rows) {
        rows.append(
            new QTreeWidgetItem({row.word, FormatCount(row.occurrences, settings.thousandsSeparator), row.lines}));
    }
    m_list->addTopLevelItems(rows);
    m_found->setText(WordlistDuplicatesFoundText(result, settings.thousandsSeparator));

    QPushButton *exportButton = makeButton(QStringLiteral("Export"), QStringLiteral("export"));
    QPushButton *close = makeButton(QStringLiteral("Close"), QStringLiteral("close"));
    connect(exportButton, &QPushButton::clicked, this,
            [this, &result, &settings] { ExportWordlistDuplicates(result, settings, this->ui()); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_found);
    buttons->addStretch();
    buttons->addWidget(exportButton);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
}

} // namespace lexaloom
