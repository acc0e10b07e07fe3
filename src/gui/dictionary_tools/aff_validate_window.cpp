#include "gui/dictionary_tools/aff_validate_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <optional>

#include "core/app/workbench.h"
#include "core/dictionary_tools/aff_panel.h"
#include "core/shell/long_task.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

QString editCaption()
{
    return QStringLiteral("Edit");
}

// "Edit an AFF Validate line": the current text read-only above an editable copy.
std::optional<QString> askAffLineText(QWidget *parent, const QString &current)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Edit an AFF Validate line"));
    dialog.resize(710, 145);
    auto *original = new QLineEdit(current, &dialog);
    original->setReadOnly(true);
    auto *edit = new QLineEdit(current, &dialog);
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *ok = buttons->addButton(okCaption(), QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelCaption(), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(original);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    edit->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}

} // namespace

// The panel's rows are drawn from the AffPanel records, so colours and ticks survive
// redraws, undo and redo without being copied into the widget.
class AffPanelModel final : public QAbstractTableModel {
public:
    AffPanelModel(AffPanel &panel, QObject *parent)
        : QAbstractTableModel(parent)
        , m_panel(panel)
    {
    }

    std::function<void()> onTicked;

    // The row count the view was last told about, so that a change of the panel's
    // length is always announced by a reset.
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 2; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == 0 ? QStringLiteral("Line #") : QStringLiteral("Text");
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows || index.row() >= m_panel.count())
            return {};
        const AffPanelLine &line = m_panel.line(index.row());
        switch (role) {
        case Qt::DisplayRole:
            return index.column() == 0 ? QVariant(index.row() + 1) : QVariant(line.text);
        case Qt::ForegroundRole:
            return line.colour == AffLineColour::normal ? QVariant() : QVariant(palette::fromRgb(line.colour));
        case Qt::BackgroundRole:
            return index.column() == 0 ? QVariant(palette::panelGrey) : QVariant();
        case Qt::CheckStateRole:
            return index.column() == 0 ? QVariant(line.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
        case Qt::TextAlignmentRole:
            return index.column() == 0 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        default:
            return {};
        }
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole)
            return false;
        m_panel.setChecked(index.row(), value.toInt() == Qt::Checked);
        emit dataChanged(index, index, {Qt::CheckStateRole});
        if (onTicked)
            onTicked();
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags result = QAbstractTableModel::flags(index);
        if (index.column() == 0)
            result |= Qt::ItemIsUserCheckable;
        return result;
    }

    void resetAll()
    {
        beginResetModel();
        m_rows = int(m_panel.count());
        endResetModel();
    }

    void rowChanged(qsizetype row)
    {
        if (m_rows != m_panel.count())
            resetAll();
        else if (m_rows == 0)
            return;
        else if (row < 0)
            emit dataChanged(index(0, 0), index(m_rows - 1, 1));
        else if (row < m_rows)
            emit dataChanged(index(int(row), 0), index(int(row), 1));
    }

private:
    AffPanel &m_panel;
    int m_rows = 0;
};

bool OpenAffValidateWindow(QWidget *parent, Workbench &workbench, Ui &ui)
{
    AffValidateSession::prepare(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
    AffValidateWindow window(parent, workbench, ui);
    window.show();
    window.loadPanel();
    const QString before = workbench.dictionary.affText;
    window.exec();
    return workbench.dictionary.affText != before;
}

AffValidateWindow::AffValidateWindow(QWidget *parent, Workbench &workbench, Ui &ui)
    : ToolWindow(ui, parent)
    , m_reportUi(ui, m_reportSide)
    , m_panelUi(ui, m_panelSide)
    , m_session(workbench.dictionary, workbench.affixTable, workbench.settings, ui, *this)
{
    setWindowTitle(AffValidateSession::windowTitle());
    setManualAnchor(workbench.programFolder(), AffValidateSession::manualAnchor());
    resize(1014, 550);
    buildWidgets();
    connectActions();
    m_report->setPlainText(AffValidateSession::introductionText());
    syncPanel(true);
}

AffValidateWindow::~AffValidateWindow() = default;

void AffValidateWindow::buildWidgets()
{
    auto button = [this](const QString &caption, const char *name) {
        return makeButton(caption, QString::fromLatin1(name));
    };

    // Report side.
    m_report = new QPlainTextEdit(this);
    m_report->setObjectName(QStringLiteral("report"));
    m_report->setReadOnly(true);
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);
    // A fixed font shows doubled spaces and column alignment, which the checks are about.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_report->setFont(fixed);
    m_process = button(QStringLiteral("Process"), "process");
    m_refresh = button(QStringLiteral("Refresh"), "refresh");
    // "Clear" leaves the introduction; what runs write later is appended after it.
    m_reportButtons = makePaneButtons(QStringLiteral("report"), m_report,
                                      [this] { m_report->setPlainText(AffValidateSession::introductionText()); });
    m_status = makeLabel(QStringLiteral("Processing: 0/0"), QStringLiteral("status"));
    m_percent = makeLabel(QString(), QStringLiteral("percent"));
    m_reportProgress = new QProgressBar(this);
    m_reportProgress->setObjectName(QStringLiteral("reportProgress"));
    m_reportProgress->setTextVisible(false);
    m_reportElapsed = makeLabel(QString(), QStringLiteral("reportElapsed"));
    m_reportHint = makeLabel(QString(), QStringLiteral("reportHint"));
    // Room for the longest texts up front, so the row does not jump while a run writes to it.
    const QFontMetrics metrics = fontMetrics();
    m_status->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Processing:6/6 Done!  ")));
    m_percent->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral(" (100.00%) ")));
    m_reportElapsed->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("\u231A00h00m00s ")));
    m_reportHint->setMinimumWidth(metrics.horizontalAdvance(AffValidateDisplay::abortHint() + QLatin1Char(' ')));
    m_reportSide.attach(m_reportProgress, m_reportHint);

    auto *reportButtons = new QHBoxLayout;
    for (QPushButton *b : {m_process, m_reportButtons.clear, m_refresh, m_reportButtons.bottom, m_reportButtons.top})
        reportButtons->addWidget(b);
    reportButtons->addStretch();
    auto *reportStatus = new QHBoxLayout;
    reportStatus->addWidget(m_status);
    reportStatus->addWidget(m_percent);
    reportStatus->addWidget(m_reportProgress, 1);
    reportStatus->addWidget(m_reportElapsed);
    reportStatus->addWidget(m_reportHint);
    auto *reportSide = new QVBoxLayout;
    reportSide->addWidget(m_report, 1);
    reportSide->addLayout(reportButtons);
    reportSide->addLayout(reportStatus);

    // Panel side.
    m_model = new AffPanelModel(m_session.panel(), this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("panel"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->setWordWrap(false);
    m_table->setFont(fixed);
    m_table->setShowGrid(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(0, 80);
    m_found = makeLabel(QString(), QStringLiteral("found"));
    m_modifiedMark = makeLabel(QString(), QStringLiteral("modifiedMark"));
    m_modifiedMark->setStyleSheet(palette::textColourStyle(palette::red) + QStringLiteral(" font-weight: bold;"));
    AffPanel &panel = m_session.panel();
    m_panelButtons = makePaneButtons(
        QStringLiteral("panel"), [this, &panel] { syncPanel(ClearAffPanel(panel, ui())); },
        [this, &panel] { selectRow(panel.count() - 1); }, [this, &panel] { selectRow(panel.isEmpty() ? -1 : 0); });
    m_panelProgress = new QProgressBar(this);
    m_panelProgress->setObjectName(QStringLiteral("panelProgress"));
    m_panelProgress->setTextVisible(false);
    m_panelElapsed = makeLabel(QString(), QStringLiteral("panelElapsed"));
    m_panelHint = makeLabel(QString(), QStringLiteral("panelHint"));
    m_panelElapsed->setMinimumWidth(m_reportElapsed->minimumWidth());
    m_panelHint->setMinimumWidth(m_reportHint->minimumWidth());
    m_panelSide.attach(m_panelProgress, m_panelHint);
    m_selected = makeLabel(QString(), QStringLiteral("selected"));
    m_undo = button(QStringLiteral("Undo"), "undo");
    m_redo = button(QStringLiteral("Redo"), "redo");
    m_goto = button(QStringLiteral("Goto"), "goto");

    auto *panelRow1 = new QHBoxLayout;
    panelRow1->addWidget(m_found);
    panelRow1->addWidget(m_modifiedMark);
    panelRow1->addStretch();
    for (QPushButton *b : {m_panelButtons.clear, m_panelButtons.bottom, m_panelButtons.top})
        panelRow1->addWidget(b);
    auto *panelRow2 = new QHBoxLayout;
    panelRow2->addWidget(m_panelProgress, 1);
    panelRow2->addWidget(m_panelElapsed);
    panelRow2->addWidget(m_panelHint);
    auto *panelRow3 = new QHBoxLayout;
    panelRow3->addWidget(m_selected);
    panelRow3->addStretch();
    for (QPushButton *b : {m_undo, m_redo, m_goto})
        panelRow3->addWidget(b);
    auto *panelSide = new QVBoxLayout;
    panelSide->addWidget(m_table, 1);
    panelSide->addLayout(panelRow1);
    panelSide->addLayout(panelRow2);
    panelSide->addLayout(panelRow3);

    m_ok = button(okCaption(), "ok");
    m_cancel = button(cancelCaption(), "cancel");
    auto *closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(m_ok);
    closing->addWidget(m_cancel);

    auto *sides = new QHBoxLayout;
    sides->addLayout(reportSide, 1);
    sides->addLayout(panelSide, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(sides, 1);
    layout->addLayout(closing);
}

void AffValidateWindow::connectActions()
{
    connect(m_process, &QPushButton::clicked, this, [this] {
        runTask(m_reportUi, [this] { m_session.process(); });
        syncPanel(false);
    });
    connect(m_refresh, &QPushButton::clicked, this, [this] { m_session.refresh(); });

    AffPanel &panel = m_session.panel();
    connect(m_undo, &QPushButton::clicked, this, [this, &panel] {
        panel.undo();
        syncPanel(true);
    });
    connect(m_redo, &QPushButton::clicked, this, [this, &panel] {
        panel.redo();
        syncPanel(true);
    });
    connect(m_goto, &QPushButton::clicked, this, &AffValidateWindow::gotoLine);
    connect(m_ok, &QPushButton::clicked, this, &AffValidateWindow::acceptLines);
    connect(m_cancel, &QPushButton::clicked, this, &AffValidateWindow::reject);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&panel](const QModelIndex &current) { panel.setSelectedRow(current.isValid() ? current.row() : -1); });
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        selectRow(index.row());
        editSelectedLine();
    });
    connect(m_table, &QTableView::customContextMenuRequested, this, &AffValidateWindow::showPanelMenu);
    m_model->onTicked = [this] { m_selected->setText(m_session.panel().selectionText()); };

    auto *gotoShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this);
    connect(gotoShortcut, &QShortcut::activated, this, &AffValidateWindow::gotoLine);
}

void AffValidateWindow::loadPanel()
{
    runTask(m_panelUi, [this] { m_session.load(); });
    syncPanel(true);
}

bool AffValidateWindow::interruptWork()
{
    // "Refresh" rebuilds the table with the program's own task; the window stays until it ends.
    return m_session.isBusy();
}

void AffValidateWindow::acceptLines()
{
    m_session.accept();
    accept();
}

void AffValidateWindow::syncPanel(bool linesChanged)
{
    const AffPanel &panel = m_session.panel();
    if (linesChanged) {
        m_model->resetAll();
        if (panel.hasSelectedRow())
            selectRow(panel.selectedRow());
    } else {
        m_model->rowChanged(-1);
    }
    m_found->setText(m_session.foundText());
    m_modifiedMark->setText(panel.isModified() ? QStringLiteral("*") : QString());
    m_selected->setText(panel.selectionText());
    m_undo->setEnabled(!m_session.isBusy() && panel.canUndo());
    m_redo->setEnabled(!m_session.isBusy() && panel.canRedo());
}

void AffValidateWindow::selectRow(qsizetype row)
{
    if (row < 0 || row >= m_session.panel().count())
        return;
    const QModelIndex index = m_model->index(int(row), 0);
    m_table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_table->scrollTo(index);
    m_session.panel().setSelectedRow(row);
}

void AffValidateWindow::showPanelMenu(const QPoint &position)
{
    const QModelIndex index = m_table->indexAt(position);
    if (index.isValid())
        selectRow(index.row());
    AffPanel &panel = m_session.panel();
    QMenu menu(this);
    auto add = [&](const QString &caption, auto action) {
        connect(menu.addAction(caption), &QAction::triggered, this, action);
    };
    add(QStringLiteral("Add Above"), [this, &panel] { syncPanel(InsertAffLine(panel, ui(), AffLineInsert::Above)); });
    add(QStringLiteral("Add Below"), [this, &panel] { syncPanel(InsertAffLine(panel, ui(), AffLineInsert::Below)); });
    add(editCaption(), [this] { editSelectedLine(); });
    add(QStringLiteral("Clone Below"),
        [this, &panel] { syncPanel(InsertAffLine(panel, ui(), AffLineInsert::CloneBelow)); });
    menu.addSeparator();
    add(QStringLiteral("Select All"), [this, &panel] { syncPanel(CheckAllAffLines(panel, ui(), true)); });
    add(QStringLiteral("Select None"), [this, &panel] { syncPanel(CheckAllAffLines(panel, ui(), false)); });
    add(QStringLiteral("Invert Selection"), [this, &panel] { syncPanel(InvertAffLineChecks(panel, ui())); });
    menu.addSeparator();
    add(QStringLiteral("Delete Selected"), [this, &panel] { syncPanel(DeleteCheckedAffLines(panel, ui())); });
    add(QStringLiteral("Delete"), [this, &panel] { syncPanel(DeleteSelectedAffLine(panel, ui())); });
    menu.exec(m_table->viewport()->mapToGlobal(position));
}

void AffValidateWindow::editSelectedLine()
{
    AffPanel &panel = m_session.panel();
    if (!AffPanelHasSelectedRow(panel, ui()))
        return;
    const qsizetype row = panel.selectedRow();
    const std::optional<QString> text = askAffLineText(this, panel.line(row).text);
    if (text && EditAffLine(panel, row, *text))
        syncPanel(false);
}

void AffValidateWindow::gotoLine()
{
    openGoto(AffValidateSession::gotoNoun(), m_session.panel().count(), m_session.gotoText(),
             [this](qint64 row) { selectRow(row); });
}

Ui &AffValidateWindow::sideUi(AffStatusSide side)
{
    return side == AffStatusSide::Report ? m_reportUi : m_panelUi;
}

void AffValidateWindow::refresh(const AffValidateDisplay &display)
{
    if (display.report.size() > m_reportShown) {
        // Appending at the end keeps the caret where the user left it; the view follows
        // the new text only while it was showing the end, like a log.
        QScrollBar *scrollBar = m_report->verticalScrollBar();
        const bool following = scrollBar->value() == scrollBar->maximum();
        QTextCursor cursor(m_report->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(display.report.mid(m_reportShown));
        if (following)
            scrollBar->setValue(scrollBar->maximum());
    }
    m_reportShown = display.report.size();
    if (!display.statusLabel.isEmpty())
        m_status->setText(display.statusLabel);
    m_percent->setText(display.percent);
    m_reportElapsed->setText(display.reportElapsed);
    m_panelElapsed->setText(display.panelElapsed);
    if (!display.found.isEmpty())
        m_found->setText(display.found);
    // The run's colours live in the panel records: redraw the rows from them.
    m_model->rowChanged(-1);
    if (display.busy != m_busyShown) {
        m_busyShown = display.busy;
        setControlsEnabled(!display.busy);
    }
}

void AffValidateWindow::setControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_process, m_reportButtons.clear, m_refresh, m_reportButtons.bottom, m_reportButtons.top, m_table,
             m_panelButtons.clear, m_panelButtons.bottom, m_panelButtons.top, m_undo, m_redo, m_goto, m_ok, m_cancel})
        w->setEnabled(enabled);
    if (enabled)
        syncPanel(false);
}

} // namespace lexaloom
