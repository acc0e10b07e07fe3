#include "gui/thesaurus/thesaurus_tool_windows.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/shell/dialog_captions.h"

namespace lexaloom {

CleanUpSymbolsWindow::CleanUpSymbolsWindow(Ui &ui, const CleanUpOptions &current, const QString &programFolder,
                                           QWidget *parent)
    : ToolWindow(ui, parent)
{
    using namespace thesaurusToolTexts;
    setWindowTitle(cleanUpTitle);
    setManualAnchor(programFolder, manualAnchor);
    const auto tick = [this](const QString &caption, const char *name, bool checked) {
        auto *box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(checked);
        // The captions line up their "; Replace with" parts.
        box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        return box;
    };
    m_dashBars = tick(cleanUpOptionDashBar, "dashBars", current.removeDashBars);
    m_bars = tick(cleanUpOptionBar, "bars", current.barsToSpaces);
    m_brackets = tick(cleanUpOptionBrackets, "brackets", current.removeBrackets);
    QPushButton *ok = makeButton(okCaption(), QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton *cancel = makeButton(cancelCaption(), QStringLiteral("cancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    for (QCheckBox *box : {m_dashBars, m_bars, m_brackets})
        layout->addWidget(box);
    layout->addLayout(buttons);
}

CleanUpOptions CleanUpSymbolsWindow::options() const
{
    return {m_dashBars->isChecked(), m_bars->isChecked(), m_brackets->isChecked()};
}

std::optional<CleanUpOptions> AskCleanUpOptionsWindow(Ui &ui, const CleanUpOptions &current,
                                                      const QString &programFolder, QWidget *parent)
{
    CleanUpSymbolsWindow window(ui, current, programFolder, parent);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.options();
}

ThesaurusDuplicatesWindow::ThesaurusDuplicatesWindow(ThesaurusDuplicatesSession &session, Ui &ui,
                                                     const QString &programFolder, QWidget *parent)
    : ToolWindow(ui, parent)
    , m_session(session)
    , m_panelUi(ui, m_progressSide)
{
    using namespace thesaurusToolTexts;
    setWindowTitle(duplicatesTitle);
    setManualAnchor(programFolder, manualAnchor);
    resize(760, 520);

    m_rows = new QTreeWidget(this);
    m_rows->setObjectName(QStringLiteral("rows"));
    m_rows->setHeaderLabels({QStringLiteral("Synonym"), QStringLiteral("Position")});
    m_rows->setRootIsDecorated(false);
    m_rows->setUniformRowHeights(true);
    m_rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rows->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_rows->header()->setStretchLastSection(false);
    m_found = new QLabel(this);
    m_found->setObjectName(QStringLiteral("found"));
    m_preview = new QPlainTextEdit(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setReadOnly(true);
    m_preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_display = makeButton(QStringLiteral("Display"), QStringLiteral("display"));
    m_merge = makeButton(QStringLiteral("Merge"), QStringLiteral("merge"));
    m_export = makeButton(QStringLiteral("Export"), QStringLiteral("export"));
    m_close = makeButton(closeCaption(), QStringLiteral("close"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_progressSide.attach(m_progress, m_status);

    auto *previewSide = new QVBoxLayout;
    previewSide->addWidget(new QLabel(QStringLiteral("Preview"), this));
    previewSide->addWidget(m_preview, 1);
    auto *lists = new QHBoxLayout;
    lists->addWidget(m_rows, 3);
    lists->addLayout(previewSide, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_found);
    buttons->addStretch();
    for (QPushButton *b : {m_display, m_merge, m_export, m_close})
        buttons->addWidget(b);
    auto *progress = new QHBoxLayout;
    progress->addWidget(m_status, 1);
    progress->addWidget(m_progress, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    layout->addLayout(progress);

    connect(m_rows, &QTreeWidget::itemSelectionChanged, this, &ThesaurusDuplicatesWindow::showPreview);
    connect(m_rows, &QTreeWidget::itemDoubleClicked, this, [this] {
        m_session.display(currentRow());
        accept();
    });
    connect(m_display, &QPushButton::clicked, this, [this] { m_session.display(currentRow()); });
    connect(m_export, &QPushButton::clicked, this, [this] { m_session.exportRows(); });
    connect(m_merge, &QPushButton::clicked, this, &ThesaurusDuplicatesWindow::mergeRows);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    fillRows();
}

void ThesaurusDuplicatesWindow::fillRows()
{
    m_rows->clear();
    QList<QTreeWidgetItem *> items;
    for (const DuplicateRow &row : m_session.rows())
        items.append(new QTreeWidgetItem({row.header, QString::number(row.index + 1)}));
    m_rows->addTopLevelItems(items);
    m_found->setText(m_session.foundText());
    showPreview();
}

int ThesaurusDuplicatesWindow::currentRow() const
{
    const QList<QTreeWidgetItem *> selected = m_rows->selectedItems();
    return selected.isEmpty() ? -1 : m_rows->indexOfTopLevelItem(selected.first());
}

void ThesaurusDuplicatesWindow::showPreview()
{
    const int row = currentRow();
    m_preview->setPlainText(m_session.previewText(row));
    m_display->setEnabled(row >= 0);
}

void ThesaurusDuplicatesWindow::mergeRows()
{
    using Outcome = ThesaurusDuplicatesSession::MergeOutcome;
    Outcome outcome = Outcome::Aborted;
    for (QPushButton *b : {m_display, m_merge, m_export})
        b->setEnabled(false);
    runTask(m_panelUi, [this, &outcome] { outcome = m_session.merge(m_panelUi); });
    m_merge->setEnabled(true);
    m_export->setEnabled(true);
    if (outcome == Outcome::Merged)
        m_merged = true;
    fillRows();
    if (outcome == Outcome::TooManyMeanings)
        reject();
}

} // namespace lexaloom
