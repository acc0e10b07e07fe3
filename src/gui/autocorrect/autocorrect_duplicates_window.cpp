#include "gui/autocorrect/autocorrect_duplicates_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/workbench.h"
#include "core/shell/format.h"
#include "gui/shell/dialog_captions.h"

namespace lexaloom {

bool OpenAutocorrectDuplicatesWindow(QWidget *parent, Workbench &workbench, Ui &ui)
{
    std::optional<AutocorrectDuplicates> found =
        FindAutocorrectDuplicates(workbench.autocorrect, workbench.settings, ui);
    if (!found)
        return false;
    AutocorrectDuplicatesWindow window(parent, workbench, ui, std::move(*found));
    window.exec();
    return window.listReplaced();
}

AutocorrectDuplicatesWindow::AutocorrectDuplicatesWindow(QWidget *parent, Workbench &workbench, Ui &ui,
                                                         AutocorrectDuplicates duplicates)
    : ToolWindow(ui, parent)
    , m_workbench(workbench)
    , m_duplicates(std::move(duplicates))
{
    using namespace autocorrectToolTexts;
    setWindowTitle(duplicatesTitle);
    resize(420, 460);
    auto *list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("duplicates"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("Word"), QStringLiteral("Occurrences")});
    QList<QTreeWidgetItem *> rows;
    rows.reserve(m_duplicates.rows.size());
    for (const AutocorrectDuplicate &row : m_duplicates.rows)
        rows.append(new QTreeWidgetItem(QStringList{row.word, QString::number(row.occurrences)}));
    list->addTopLevelItems(rows);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setStretchLastSection(false);

    auto *foundLabel =
        new QLabel(found + FormatCount(m_duplicates.rows.size(), workbench.settings.thousandsSeparator), this);
    foundLabel->setObjectName(QStringLiteral("found"));
    QPushButton *deleteButton = makeButton(QStringLiteral("Delete"), QStringLiteral("delete"));
    QPushButton *xdeleteButton = makeButton(QStringLiteral("XDelete"), QStringLiteral("xdelete"));
    QPushButton *exportButton = makeButton(QStringLiteral("Export"), QStringLiteral("export"));
    QPushButton *closeButton = makeButton(closeCaption(), QStringLiteral("close"));
    connect(deleteButton, &QPushButton::clicked, this, [this] { remove(false); });
    connect(xdeleteButton, &QPushButton::clicked, this, [this] { remove(true); });
    connect(exportButton, &QPushButton::clicked, this,
            [this] { ExportAutocorrectDuplicates(m_duplicates.rows, m_workbench.settings, this->ui()); });
    connect(closeButton, &QPushButton::clicked, this, &AutocorrectDuplicatesWindow::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(foundLabel);
    buttons->addStretch();
    for (QPushButton *b : {deleteButton, xdeleteButton, exportButton, closeButton})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
}

void AutocorrectDuplicatesWindow::remove(bool exclusive)
{
    if (!DeleteAutocorrectDuplicates(m_workbench.autocorrect, m_duplicates, exclusive, m_workbench.settings, ui()))
        return;
    m_replaced = true;
    accept();
}

} // namespace lexaloom
