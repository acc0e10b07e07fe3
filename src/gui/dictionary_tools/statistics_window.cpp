#include "gui/dictionary_tools/statistics_window.h"

#include <QAbstractTableModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/shell/prefs_store.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

int toInt(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}

// The icon of a word row: a swatch of its slice's colour, so the list is the chart's legend.
QIcon rowIcon(int row)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(60, 60, 60));
    painter.setBrush(palette::fromRgb(StatisticsRowColour(row)));
    painter.drawRect(1, 1, 11, 11);
    return QIcon(pixmap);
}

QTreeWidget *makeList(QWidget *parent, const QString &title, const char *name)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setHeaderLabels({title, QStringLiteral("Occurrences"), QStringLiteral("%")});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setUniformRowHeights(true);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    return list;
}

QTreeWidgetItem *addRow(QTreeWidget *list, const QString &label, const QString &count, const QString &percent)
{
    auto *item = new QTreeWidgetItem(list, {label, count, percent});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QLineEdit *makeField(QWidget *parent, const char *name, bool readOnly)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(readOnly);
    return field;
}

// The window's progress controls as the extraction by type drives them.
TypeExtractionControls extractionControls(QProgressBar *bar, QLabel *elapsed, QLabel *hint)
{
    TypeExtractionControls controls;
    controls.setProgressRange = [bar](qint64 maximum) { bar->setRange(0, toInt(maximum)); };
    controls.setProgressValue = [bar](qint64 value) { bar->setValue(toInt(value)); };
    controls.setElapsedText = [elapsed](const QString &text) { elapsed->setText(text); };
    controls.setAbortLabel = [hint](const QString &text) { hint->setText(text); };
    return controls;
}

QString listPercent(qint64 count, qint64 total)
{
    return StatisticsPercent(count, total) + QStringLiteral(" %");
}

} // namespace

QImage RenderStatisticsPie(const StatisticsPie &pie)
{
    QImage image(StatisticsPie::imageSize, StatisticsPie::imageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(StatisticsPie::centre, StatisticsPie::centre);
    const QRectF disc(centre.x() - StatisticsPie::radius, centre.y() - StatisticsPie::radius, 2 * StatisticsPie::radius,
                      2 * StatisticsPie::radius);
    // Black first: whatever the slices leave uncovered stays black.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(disc);
    for (const StatisticsPieSlice &slice : pie.slices) {
        QPainterPath path(centre);
        path.arcTo(disc, slice.startDegrees, slice.spanDegrees);
        path.closeSubpath();
        painter.fillPath(path, palette::fromRgb(slice.rgb));
    }
    if (pie.overHundred) {
        // White text needs a dark ground to be read on the white image.
        QFont font = painter.font();
        font.setPixelSize(12);
        font.setBold(true);
        painter.setFont(font);
        const QFontMetrics metrics(font);
        const QString note = statisticsTexts::overHundredNote;
        const QRect box(StatisticsPie::noteX - 2, StatisticsPie::noteY - metrics.ascent() - 1,
                        metrics.horizontalAdvance(note) + 4, metrics.height() + 2);
        painter.fillRect(box, Qt::black);
        painter.setPen(Qt::white);
        painter.drawText(StatisticsPie::noteX, StatisticsPie::noteY, note);
    }
    return image;
}

StatisticsPieWidget::StatisticsPieWidget(const StatisticsPie &pie, QWidget *parent)
    : QWidget(parent)
    , m_image(RenderStatisticsPie(pie))
{
    setObjectName(QStringLiteral("pie"));
    setFixedSize(m_image.size());
}

QSize StatisticsPieWidget::sizeHint() const
{
    return m_image.size();
}

void StatisticsPieWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void OpenStatisticsWindow(QWidget *parent, Workbench &workbench, Ui &ui)
{
    StatisticsRun run = RunStatistics(workbench.dictionary, workbench.affixTable, workbench.settings, ui);
    if (!run.done)
        return;
    StatisticsWindow window(parent, workbench, ui, std::move(run));
    window.exec();
}

StatisticsWindow::StatisticsWindow(QWidget *parent, Workbench &workbench, Ui &ui, StatisticsRun run)
    : ToolWindow(ui, parent)
    , m_workbench(workbench)
    , m_panelUi(ui, m_progressPanel)
    , m_session(workbench.dictionary, workbench.affixTable, workbench.settings, ui, workbench.windowSettings.dicStats,
                std::move(run))
{
    setWindowTitle(statisticsTexts::windowTitle);
    setManualAnchor(workbench.programFolder(), StatisticsSession::manualAnchor());
    resize(1253, 521);
    buildWidgets();
    connectActions();
    showFields();
}

StatisticsWindow::~StatisticsWindow() = default;

void StatisticsWindow::buildWidgets()
{
    const DicStatistics &stats = m_session.stats();
    m_words = makeList(this, QStringLiteral("Statistics (Words)"), "words");
    m_words->setContextMenuPolicy(Qt::CustomContextMenu);
    m_words->setIconSize(QSize(14, 14));
    for (int row = 0; row < statisticsWordRows; ++row) {
        const qint64 count = StatisticsWordRowCount(stats, row);
        QTreeWidgetItem *item =
            addRow(m_words, StatisticsWordRowLabel(row), m_session.countText(count), listPercent(count, stats.total));
        item->setIcon(0, rowIcon(row));
    }
    m_pie = new StatisticsPieWidget(StatisticsPieChart(stats), this);

    m_lettersLeft = makeList(this, QStringLiteral("Statistics (Letters)"), "lettersLeft");
    m_lettersRight = makeList(this, QStringLiteral("Statistics (Letters)"), "lettersRight");
    for (int index = 0; index < DicStatistics::letterRows; ++index) {
        const qint64 count = stats.byLetter[size_t(index)];
        QTreeWidgetItem *item = addRow(index <= 13 ? m_lettersLeft : m_lettersRight, StatisticsLetterLabel(index),
                                       m_session.countText(count), listPercent(count, stats.total));
        item->setBackground(2, palette::percentBlue);
    }

    auto button = [this](const QString &caption, const char *name) {
        return makeButton(caption, QString::fromLatin1(name));
    };
    m_total = makeField(this, "total", true);
    m_copyTotal = button(QStringLiteral("Copy"), "copyTotal");
    m_copyToReference = button(QStringLiteral("\u2211 Copy \u2192"), "copyToReference");
    m_reference = makeField(this, "reference", false);
    m_remember = button(QStringLiteral("Remember"), "remember");
    m_forget = button(QStringLiteral("Forget"), "forget");
    m_newWords = makeField(this, "newWords", true);
    m_copyNewWords = button(QStringLiteral("Copy"), "copyNewWords");
    m_copyNewNumber = button(QStringLiteral("Copy \u2211 New"), "copyNewNumber");
    m_lastRemember = makeField(this, "lastRemember", true);
    m_copyLastRemember = button(QStringLiteral("Copy"), "copyLastRemember");
    m_export = button(QStringLiteral("Export"), "export");
    m_close = button(closeCaption(), "close");
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_elapsed = new QLabel(this);
    m_elapsed->setObjectName(QStringLiteral("elapsed"));
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("hint"));
    const QFontMetrics metrics = fontMetrics();
    m_elapsed->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("00h00m00s ")));
    m_hint->setMinimumWidth(metrics.horizontalAdvance(wordlistTexts::escToAbort + QLatin1Char(' ')));
    m_progressPanel.attach(m_progress, m_hint);

    auto *lists = new QHBoxLayout;
    auto *pieColumn = new QVBoxLayout;
    pieColumn->addWidget(m_pie);
    pieColumn->addStretch();
    lists->addWidget(m_words, 5);
    lists->addLayout(pieColumn);
    lists->addWidget(m_lettersLeft, 3);
    lists->addWidget(m_lettersRight, 3);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Current wordlist:"), this), 0, 0);
    fields->addWidget(m_total, 0, 1);
    fields->addWidget(m_copyTotal, 0, 2);
    fields->addWidget(m_copyToReference, 0, 3);
    fields->addWidget(m_reference, 0, 4);
    fields->addWidget(m_remember, 0, 5);
    fields->addWidget(m_forget, 0, 6);
    fields->addWidget(m_newWords, 1, 0, 1, 2);
    fields->addWidget(m_copyNewWords, 1, 2);
    fields->addWidget(m_copyNewNumber, 1, 3);
    fields->addWidget(m_lastRemember, 1, 4);
    fields->addWidget(m_copyLastRemember, 1, 5);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(4, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_progress, 1);
    bottom->addWidget(m_elapsed);
    bottom->addWidget(m_hint);
    bottom->addStretch();
    bottom->addWidget(m_export);
    bottom->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(fields);
    layout->addLayout(bottom);
}

void StatisticsWindow::connectActions()
{
    const QString file = m_workbench.settingsPath(settingsFiles::dicStatsRemember);
    connect(m_copyTotal, &QPushButton::clicked, this, [this] { m_session.copyTotal(); });
    connect(m_copyToReference, &QPushButton::clicked, this, [this] {
        m_session.copyTotalToReference();
        showFields();
    });
    connect(m_reference, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_session.setReferenceText(text);
        showFields();
    });
    connect(m_remember, &QPushButton::clicked, this, [this, file] {
        m_session.remember([this] { return SaveDicStatsReference(m_workbench); }, file);
        showFields();
    });
    connect(m_forget, &QPushButton::clicked, this, [this, file] {
        m_session.forget(
            [this] { return RemoveSettingsFile(m_workbench.programFolder(), settingsFiles::dicStatsRemember); }, file);
        showFields();
    });
    connect(m_copyNewWords, &QPushButton::clicked, this, [this] { m_session.copyNewWords(); });
    connect(m_copyNewNumber, &QPushButton::clicked, this, [this] { m_session.copyNewNumber(); });
    connect(m_copyLastRemember, &QPushButton::clicked, this, [this] { m_session.copyLastRemember(); });
    connect(m_export, &QPushButton::clicked, this, [this] { m_session.exportToFile(); });
    connect(m_close, &QPushButton::clicked, this, &StatisticsWindow::reject);
    connect(m_words, &QTreeWidget::itemDoubleClicked, this, [this] { showCriterionEntries(); });
    connect(m_words, &QTreeWidget::customContextMenuRequested, this, &StatisticsWindow::showWordMenu);
}

void StatisticsWindow::showFields()
{
    m_total->setText(m_session.totalText());
    if (m_reference->text() != m_session.referenceText())
        m_reference->setText(m_session.referenceText());
    m_newWords->setText(m_session.newWordsText());
    m_lastRemember->setText(m_session.lastRememberText());
}

int StatisticsWindow::selectedWordRow() const
{
    const QList<QTreeWidgetItem *> selected = m_words->selectedItems();
    return selected.isEmpty() ? -1 : m_words->indexOfTopLevelItem(selected.first());
}

void StatisticsWindow::selectWordRow(int row)
{
    QTreeWidgetItem *item = m_words->topLevelItem(row);
    if (item)
        m_words->setCurrentItem(item);
    else
        m_words->clearSelection();
}

void StatisticsWindow::showWordMenu(const QPoint &position)
{
    if (QTreeWidgetItem *item = m_words->itemAt(position))
        m_words->setCurrentItem(item);
    QMenu menu(this);
    connect(menu.addAction(QStringLiteral("Show")), &QAction::triggered, this, [this] { showCriterionEntries(); });
    connect(menu.addAction(QStringLiteral("Extract")), &QAction::triggered, this, [this] { extract(false); });
    connect(menu.addAction(QStringLiteral("Extract with Flags")), &QAction::triggered, this, [this] { extract(true); });
    menu.exec(m_words->viewport()->mapToGlobal(position));
}

void StatisticsWindow::showCriterionEntries()
{
    const int row = selectedWordRow();
    if (!m_session.checkRowSelected(row))
        return;
    CriterionEntriesWindow window(this, m_session, ui(), row);
    window.show();
    window.fill();
    window.exec();
}

void StatisticsWindow::extract(bool mark)
{
    const int row = selectedWordRow();
    runTask(m_panelUi, [this, row, mark] {
        m_session.extract(row, mark, m_panelUi, extractionControls(m_progress, m_elapsed, m_hint));
    });
}

// The matches of the entry list, drawn from the session's entry indexes so a long
// list costs no copies of the words.
class CriterionEntriesModel final : public QAbstractTableModel {
public:
    CriterionEntriesModel(const StatisticsSession &session, const std::vector<qint64> &found, int row, QObject *parent)
        : QAbstractTableModel(parent)
        , m_session(session)
        , m_found(found)
        , m_row(row)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 3; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const char *const titles[] = {"Matches", "Position", "Occurences"};
        return QString::fromLatin1(titles[section]);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows)
            return {};
        const qint64 entry = m_found[size_t(index.row())];
        if (role == Qt::TextAlignmentRole && index.column() > 0)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
        case 0:
            return m_session.entryWord(entry);
        case 1:
            return entry + 1;
        default:
            return EntryStatisticFor(m_session.entryStatistics()[size_t(entry)], m_row);
        }
    }

    void resetAll()
    {
        beginResetModel();
        m_rows = toInt(qint64(m_found.size()));
        endResetModel();
    }

private:
    const StatisticsSession &m_session;
    const std::vector<qint64> &m_found;
    int m_row;
    int m_rows = 0;
};

CriterionEntriesWindow::CriterionEntriesWindow(QWidget *parent, StatisticsSession &session, Ui &ui, int row)
    : ToolWindow(ui, parent)
    , m_session(session)
    , m_row(row)
    , m_panelUi(ui, m_progressPanel)
{
    setWindowTitle(StatisticsSession::criterionTitle(row));
    resize(785, 395);
    m_model = new CriterionEntriesModel(session, m_found, row, this);
    m_matches = new QTableView(this);
    m_matches->setObjectName(QStringLiteral("matches"));
    m_matches->setModel(m_model);
    m_matches->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_matches->setSelectionMode(QAbstractItemView::SingleSelection);
    m_matches->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_matches->setShowGrid(false);
    m_matches->setWordWrap(false);
    m_matches->verticalHeader()->hide();
    m_matches->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_matches->verticalHeader()->setDefaultSectionSize(m_matches->fontMetrics().height() + 4);
    m_matches->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_matches->setColumnWidth(1, 80);
    m_matches->setColumnWidth(2, 90);
    m_preview = new QPlainTextEdit(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setReadOnly(true);
    m_preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_extract = makeButton(QStringLiteral("Extract"), QStringLiteral("extract"));
    m_extractFlags = makeButton(QStringLiteral("Extract with Flags"), QStringLiteral("extractFlags"));
    m_close = makeButton(closeCaption(), QStringLiteral("close"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_elapsed = new QLabel(this);
    m_elapsed->setObjectName(QStringLiteral("elapsed"));
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("hint"));
    m_hint->setMinimumWidth(fontMetrics().horizontalAdvance(wordlistTexts::escToAbort + QLatin1Char(' ')));
    m_progressPanel.attach(m_progress, m_hint);

    auto *previewColumn = new QVBoxLayout;
    previewColumn->addWidget(new QLabel(QStringLiteral("Preview"), this));
    previewColumn->addWidget(m_preview, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(m_matches, 3);
    top->addLayout(previewColumn, 2);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_progress, 1);
    bottom->addWidget(m_elapsed);
    bottom->addWidget(m_hint);
    bottom->addWidget(m_extract);
    bottom->addWidget(m_extractFlags);
    bottom->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connect(m_extract, &QPushButton::clicked, this, [this] { extract(false); });
    connect(m_extractFlags, &QPushButton::clicked, this, [this] { extract(true); });
    connect(m_close, &QPushButton::clicked, this, &CriterionEntriesWindow::reject);
    connect(m_matches->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                m_preview->setPlainText(current.isValid() && current.row() < matchCount()
                                            ? m_session.preview(m_found[size_t(current.row())], m_row)
                                            : QString());
            });
}

CriterionEntriesWindow::~CriterionEntriesWindow() = default;

void CriterionEntriesWindow::fill()
{
    runTask(m_panelUi, [this] {
        m_found =
            m_session.criterionEntries(m_row, m_panelUi, [this](const QString &text) { m_elapsed->setText(text); });
    });
    m_model->resetAll();
}

void CriterionEntriesWindow::selectMatch(qsizetype match)
{
    if (match < 0 || match >= matchCount())
        return;
    const QModelIndex index = m_model->index(int(match), 0);
    m_matches->selectionModel()->setCurrentIndex(index,
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_matches->scrollTo(index);
}

QString CriterionEntriesWindow::previewText() const
{
    return m_preview->toPlainText();
}

void CriterionEntriesWindow::extract(bool mark)
{
    runTask(m_panelUi, [this, mark] {
        m_session.extract(m_row, mark, m_panelUi, extractionControls(m_progress, m_elapsed, m_hint));
    });
}

} // namespace lexaloom
