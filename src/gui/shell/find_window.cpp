#include "gui/shell/find_window.h"

#include "core/app/find_target.h"
#include "core/app/workbench.h"
#include "core/app/workbench.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace lexaloom {

namespace {

const QColor &suspiciousFieldColour = palette::red;
const QColor &changedColour = palette::red;

QFont listFont(const MainSettings &settings)
{
    const int size = settings.listFontSize.toInt();
    return QFont(settings.listFontName, size > 0 ? size : -1);
}

int toInt(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}

} // namespace

// The result rows straight from the session: a search can list millions of them.
class FindResultsModel final : public QAbstractTableModel {
public:
    explicit FindResultsModel(const FindSession &session, QObject *parent)
        : QAbstractTableModel(parent)
        , m_session(session)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 4; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows)
            return {};
        const FindResultRow &row = m_session.rows()[static_cast<size_t>(index.row())];
        if (role == Qt::DisplayRole) {
            switch (index.column()) {
            case 0:
                return row.text;
            case 1:
                return QString::number(row.position);
            case 2:
                return row.matchPercent;
            case 3:
                return row.changed ? FindSession::changedText() : QString();
            }
        }
        if (role == Qt::ForegroundRole && index.column() == 3 && row.changed)
            return changedColour;
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 4)
            return {};
        static const char *const captions[] = {"Matches", "Position", "% Match", "Status"};
        return QString::fromLatin1(captions[section]);
    }

    // Follows the session: appends the rows found since the last call, or starts over
    // when rows went away or changed.
    void sync(bool rowsChanged)
    {
        const int now = toInt(static_cast<qint64>(m_session.rows().size()));
        if (rowsChanged || now < m_rows) {
            beginResetModel();
            m_rows = now;
            endResetModel();
        } else if (now > m_rows) {
            beginInsertRows({}, m_rows, now - 1);
            m_rows = now;
            endInsertRows();
        }
    }

private:
    const FindSession &m_session;
    int m_rows = 0;
};

FindWindow::FindWindow(Workbench &workbench, Ui &ui, FindTarget target, FindActions actions, QWidget *parent)
    : ToolWindow(ui, parent)
    , m_session(std::move(target), workbench.findMemory, workbench.settings)
    , m_actions(std::move(actions))
    , m_panelUi(ui, m_progressPanel)
{
    setWindowTitle(m_session.target().findTitle);
    setFixedSize(605, 380);
    const QFont font = listFont(workbench.settings);
    FindMemory &memory = workbench.findMemory;

    m_searchField = new QLineEdit(memory.searchText, this);
    m_searchField->setFont(font);
    m_findButton = new QPushButton(QStringLiteral("Find"), this);
    m_findButton->setDefault(true);
    m_closeButton = new QPushButton(closeCaption(), this);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_searchField, 1);
    searchRow->addWidget(m_findButton);
    searchRow->addWidget(m_closeButton);

    m_leftMatch = new QCheckBox(QStringLiteral("Left match text (more accurate)"), this);
    m_leftMatch->setChecked(memory.leftMatch);
    m_matchCase = new QCheckBox(QStringLiteral("Match case"), this);
    m_matchCase->setChecked(memory.matchCase);
    m_matchExtra = new QCheckBox(QStringLiteral("Match extra information"), this);
    m_matchExtra->setChecked(memory.matchExtra);
    auto *optionRow = new QHBoxLayout;
    optionRow->addWidget(m_leftMatch);
    optionRow->addWidget(m_matchCase);
    optionRow->addWidget(m_matchExtra);
    optionRow->addStretch(1);

    m_model = new FindResultsModel(m_session, this);
    m_results = new QTreeView(this);
    m_results->setModel(m_model);
    m_results->setFont(font);
    m_results->setRootIsDecorated(false);
    m_results->setItemsExpandable(false);
    m_results->setUniformRowHeights(true);
    m_results->setAllColumnsShowFocus(true);
    m_results->setSelectionMode(QAbstractItemView::SingleSelection);
    m_results->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setContextMenuPolicy(Qt::CustomContextMenu);
    // Status takes what the window leaves beyond its 103 pixels.
    m_results->header()->setStretchLastSection(true);
    const int widths[] = {220, 115, 88, 103};
    for (int c = 0; c < 4; ++c)
        m_results->setColumnWidth(c, widths[c]);

    m_displayButton = new QPushButton(QStringLiteral("Display"), this);
    m_displayButton->setAutoDefault(false);
    m_foundLabel = new QLabel(m_session.foundLabel(), this);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, toInt(m_session.entryCount()));
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progressLabel = new QLabel(this);
    m_progressPanel.attach(m_progress, m_progressLabel);
    auto *progressColumn = new QVBoxLayout;
    progressColumn->setSpacing(2);
    progressColumn->addWidget(m_progress);
    progressColumn->addWidget(m_progressLabel);
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_displayButton);
    bottomRow->addSpacing(10);
    bottomRow->addWidget(m_foundLabel);
    bottomRow->addStretch(1);
    bottomRow->addLayout(progressColumn, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addLayout(optionRow);
    layout->addWidget(m_results, 1);
    layout->addLayout(bottomRow);

    connect(m_findButton, &QPushButton::clicked, this, &FindWindow::startSearch);
    connect(m_closeButton, &QPushButton::clicked, this, &FindWindow::reject);
    connect(m_searchField, &QLineEdit::textChanged, this, &FindWindow::updateSearchFieldColour);
    connect(m_leftMatch, &QCheckBox::toggled, this, [this, &memory](bool on) {
        memory.leftMatch = on;
        updateSearchFieldColour();
    });
    connect(m_matchCase, &QCheckBox::toggled, this, [&memory](bool on) { memory.matchCase = on; });
    connect(m_matchExtra, &QCheckBox::toggled, this, [&memory](bool on) { memory.matchExtra = on; });
    connect(m_displayButton, &QPushButton::clicked, this, &FindWindow::displaySelected);
    connect(m_results, &QTreeView::doubleClicked, this, &FindWindow::displaySelected);
    connect(m_results, &QTreeView::customContextMenuRequested, this, &FindWindow::showPopup);
    connect(m_results->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FindWindow::updateDisplayButton);
    connect(m_model, &QAbstractItemModel::modelReset, this, &FindWindow::updateDisplayButton);

    updateSearchFieldColour();
    updateDisplayButton();
    m_searchField->setFocus();
}

FindWindow::~FindWindow()
{
    // The base class hides the list after the session is gone; it must not read it then.
    m_results->setModel(nullptr);
}

void FindWindow::Open(QWidget *parent, Workbench &workbench, Ui &ui, DocumentKind kind, FindActions actions)
{
    std::optional<FindTarget> target = FindTargetFor(workbench, kind);
    if (!target || !FindSession::CheckCanOpen(*target, ui))
        return;
    FindWindow window(workbench, ui, std::move(*target), std::move(actions), parent);
    window.exec();
}

void FindWindow::startSearch()
{
    if (m_session.isSearching())
        return;
    setControlsEnabled(false);
    runTask(m_panelUi, [this] { m_session.search(m_panelUi, m_searchField->text(), [this] { refreshResults(); }); });
    setControlsEnabled(true);
    m_model->sync(true);
    m_foundLabel->setText(m_session.foundLabel());
    m_searchField->setFocus();
}

void FindWindow::refreshResults()
{
    m_model->sync(false);
    m_foundLabel->setText(m_session.foundLabel());
}

void FindWindow::setControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_searchField, m_findButton, m_closeButton, m_leftMatch,
                                                       m_matchCase, m_matchExtra})
        w->setEnabled(enabled);
    m_displayButton->setEnabled(enabled && selectedRow() >= 0);
}

qsizetype FindWindow::selectedRow() const
{
    const QModelIndexList rows = m_results->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FindWindow::updateDisplayButton()
{
    m_displayButton->setEnabled(!m_session.isSearching() && selectedRow() >= 0);
}

void FindWindow::updateSearchFieldColour()
{
    QPalette palette = m_searchField->palette();
    palette.setColor(QPalette::Base, IsSuspiciousFindText(m_searchField->text(), m_leftMatch->isChecked())
                                         ? suspiciousFieldColour
                                         : QPalette().color(QPalette::Base));
    m_searchField->setPalette(palette);
}

void FindWindow::displaySelected()
{
    if (!m_session.isSearching())
        m_session.display(selectedRow(), m_actions);
}

void FindWindow::editSelected()
{
    if (m_session.isSearching())
        return;
    const qsizetype row = selectedRow();
    m_session.edit(row, ui(), m_actions);
    m_model->sync(true);
    if (row >= 0 && row < static_cast<qsizetype>(m_session.rows().size()))
        m_results->setCurrentIndex(m_model->index(static_cast<int>(row), 0));
}

void FindWindow::deleteSelected()
{
    if (m_session.isSearching() || !m_session.target().offersEditDelete)
        return;
    m_session.remove(selectedRow(), ui(), m_actions);
    m_model->sync(true);
    m_foundLabel->setText(m_session.foundLabel());
}

void FindWindow::showPopup(const QPoint &position)
{
    if (m_session.isSearching() || !m_session.target().offersEditDelete)
        return;
    QMenu menu(this);
    QAction *edit = menu.addAction(QStringLiteral("Edit"));
    QAction *remove = menu.addAction(QStringLiteral("Delete"));
    QAction *chosen = menu.exec(m_results->viewport()->mapToGlobal(position));
    if (chosen == edit)
        editSelected();
    else if (chosen == remove)
        deleteSelected();
}

void FindWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_F)) {
        m_searchField->setFocus();
        m_searchField->selectAll();
        return;
    }
    // Only keys the focused control leaves alone arrive here, so the search field
    // keeps its own Delete.
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && !m_searchField->hasFocus()) {
        deleteSelected();
        return;
    }
    ToolWindow::keyPressEvent(event);
}

} // namespace lexaloom
