#include "gui/dictionary_tools/duplicates_window.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTextCursor>
#include <QVBoxLayout>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/dictionary/flag_strings.h"
#include "core/shell/format.h"
#include "core/shell/settings.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

QColor colourOf(const PaletteColour &c)
{
    return QColor(c.red, c.green, c.blue);
}

} // namespace

// The list's rows, drawn from the session's records.
class DuplicateRowsModel final : public QAbstractTableModel {
public:
    DuplicateRowsModel(const DuplicatesSession &session, const MainSettings &settings, QObject *parent)
        : QAbstractTableModel(parent)
        , m_session(session)
        , m_settings(settings)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 6; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const QString headers[] = {
            QStringLiteral("Line #"),           QStringLiteral("Word"),        QStringLiteral("\U0001F3C1"),
            QStringLiteral("Postags/Comments"), QStringLiteral("Information"), QStringLiteral("Repeated Flags"),
        };
        return section >= 0 && section < 6 ? headers[section] : QString();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const std::vector<DicDuplicateRow> &rows = m_session.rows();
        if (!index.isValid() || index.row() >= m_rows || size_t(index.row()) >= rows.size())
            return {};
        const DicDuplicateRow &row = rows[size_t(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
            case 0:
                return QString::number(row.line);
            case 1:
                return row.word;
            case 2:
                return row.flags;
            case 3:
                return row.tags;
            case 4:
                return FlagClassName(row.classCode);
            default:
                return row.repeatedCount > 0 ? QStringLiteral("Yes (+%1)").arg(row.repeatedCount) : QString();
            }
        case Qt::ForegroundRole:
            if (index.column() == 5)
                return palette::red;
            if (index.column() == 4)
                return classColour(row.classCode);
            return {};
        case Qt::BackgroundRole:
            return index.column() == 0 ? QVariant(palette::panelGrey) : QVariant();
        case Qt::TextAlignmentRole:
            return index.column() == 0 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        default:
            return {};
        }
    }

    void resetAll()
    {
        beginResetModel();
        m_rows = int(m_session.rows().size());
        endResetModel();
    }

private:
    QVariant classColour(const QString &code) const
    {
        if (code == flagClass::primary)
            return colourOf(paletteColour(m_settings.colourPrimary));
        if (code == flagClass::allSuffixes)
            return colourOf(paletteColour(m_settings.colourSuffix));
        if (code == flagClass::allPrefixes)
            return colourOf(paletteColour(m_settings.colourPrefix));
        if (FlagClassName(code) == QLatin1String("Unknown"))
            return palette::red;
        return {};
    }

    const DuplicatesSession &m_session;
    const MainSettings &m_settings;
    int m_rows = 0;
};

DuplicatesToolOutcome OpenDuplicatesTool(QWidget *parent, Workbench &workbench, Ui &ui, bool alreadyRecorded)
{
    DuplicatesToolOutcome outcome;
    outcome.undoRecorded = alreadyRecorded;
    if (!DuplicatesSession::prepare(workbench.dictionary, workbench.affixTable, ui))
        return outcome;
    outcome.opened = true;
    DuplicatesWindow window(parent, workbench, ui, alreadyRecorded);
    window.exec();
    outcome.accepted = window.accepted();
    outcome.undoRecorded = window.session().undoRecorded();
    return outcome;
}

DuplicatesWindow::DuplicatesWindow(QWidget *parent, Workbench &workbench, Ui &ui, bool alreadyRecorded)
    : ToolWindow(ui, parent)
    , m_workbench(workbench)
    , m_panelUi(ui, m_side)
    , m_session(workbench.dictionary, workbench.affixTable, workbench.settings, workbench.windowSettings.duplicates,
                m_panelUi, this, alreadyRecorded)
{
    setWindowTitle(DuplicatesSession::windowTitle());
    setManualAnchor(workbench.programFolder(), DuplicatesSession::manualAnchor());
    resize(1100, 640);
    buildWidgets();
    connectActions();
    showOptions();
    refresh();
}

DuplicatesWindow::~DuplicatesWindow() = default;

void DuplicatesWindow::buildWidgets()
{
    auto button = [this](const QString &caption, const char *name) {
        return makeButton(caption, QString::fromLatin1(name));
    };

    m_model = new DuplicateRowsModel(m_session, m_workbench.settings, this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("rows"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setShowGrid(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {60, 120, 80, 120, 190};
    for (int c = 0; c < 5; ++c)
        m_table->setColumnWidth(c, widths[c]);

    m_scan = button(QStringLiteral("Scan"), "scan");
    m_export = button(QStringLiteral("Export"), "export");
    m_repeatedWords = makeLabel(QString(), QStringLiteral("repeatedWords"));
    m_repeatedFlags = makeLabel(QString(), QStringLiteral("repeatedFlags"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_elapsed = makeLabel(QString(), QStringLiteral("elapsed"));
    m_hint = makeLabel(QString(), QStringLiteral("hint"));
    const QFontMetrics metrics = fontMetrics();
    m_elapsed->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("\u231A00h00m00s ")));
    m_hint->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("<ESC> to abort. ")));
    m_side.attach(m_progress, m_hint);

    auto *listRow = new QHBoxLayout;
    listRow->addWidget(m_scan);
    listRow->addWidget(m_export);
    listRow->addWidget(m_repeatedWords);
    listRow->addWidget(m_repeatedFlags);
    listRow->addStretch();
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_elapsed);
    progressRow->addWidget(m_hint);
    auto *listSide = new QVBoxLayout;
    listSide->addWidget(m_table, 1);
    listSide->addLayout(listRow);
    listSide->addLayout(progressRow);

    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("log"));
    m_log->setReadOnly(true);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_logButtons = makePaneButtons(QStringLiteral("log"), m_log, [this] { m_session.clearLog(); });
    auto *logButtons = new QHBoxLayout;
    for (QPushButton *b : {m_logButtons.clear, m_logButtons.bottom, m_logButtons.top})
        logButtons->addWidget(b);
    logButtons->addStretch();

    // What the .aff declares: a lit lamp for each special flag, and the flag type.
    const DuplicateFlagIndicators flags = m_session.flagIndicators();
    auto *indicators = new QHBoxLayout;
    indicators->addWidget(makeLabel(QStringLiteral("Flags:"), QStringLiteral("flagsHeading")));
    const std::pair<QString, bool> lamps[] = {
        {QStringLiteral("KEEPCASE Flag"), flags.keepCase},
        {QStringLiteral("NEEDAFFIX Flag"), flags.needAffix},
        {QStringLiteral("FORBIDDENWORD Flag"), flags.forbiddenWord},
        {QStringLiteral("COMPLEXPREFIXES Flag"), flags.complexPrefixes},
        {QStringLiteral("CIRCUMFIX Flag"), flags.circumfix},
    };
    for (const auto &[caption, on] : lamps) {
        auto *lamp = new QLabel(QStringLiteral("\u25CF ") + caption, this);
        lamp->setObjectName(caption);
        lamp->setEnabled(on);
        lamp->setStyleSheet(palette::textColourStyle(on ? palette::lampOn : palette::lampOff));
        lamp->setToolTip(on ? QStringLiteral("Declared in the .aff") : QStringLiteral("Not declared in the .aff"));
        indicators->addWidget(lamp);
    }
    auto *flagType = makeLabel(flags.flagType, QStringLiteral("flagType"));
    flagType->setStyleSheet(QStringLiteral("font-weight: bold;"));
    indicators->addWidget(flagType);
    indicators->addStretch();

    m_ignoreTags = new QCheckBox(QStringLiteral("Ignore Postags/Comments (Postags/Comments Merge)"), this);
    m_twofold = new QCheckBox(
        QStringLiteral(
            "Twofold \u2014 Merge only primary and identical affixes (if unsure subaffixes are of same type)"),
        this);
    m_sameTypeOnly = new QCheckBox(QStringLiteral("Merge only primary and affixes of same type"), this);
    m_specialOnlyPrimary = new QCheckBox(
        QStringLiteral("With KEEPCASE/NEEDAFFIX/FORBIDDENWORD/COMPLEXPREFIXES/CIRCUMFIX only merge primary and "
                       "identical affixes"),
        this);
    m_ignoreTags->setObjectName(QStringLiteral("ignoreTags"));
    m_twofold->setObjectName(QStringLiteral("twofold"));
    m_sameTypeOnly->setObjectName(QStringLiteral("sameTypeOnly"));
    m_specialOnlyPrimary->setObjectName(QStringLiteral("specialOnlyPrimary"));

    m_process = button(QStringLiteral("Process"), "process");
    m_remember = button(QStringLiteral("Remember"), "remember");
    m_ok = button(okCaption(), "ok");
    m_cancel = button(cancelCaption(), "cancel");

    auto *logSide = new QVBoxLayout;
    logSide->addWidget(m_log, 1);
    logSide->addLayout(logButtons);

    auto *top = new QHBoxLayout;
    top->addLayout(listSide, 3);
    top->addLayout(logSide, 2);

    auto *options = new QVBoxLayout;
    for (QCheckBox *box : {m_ignoreTags, m_twofold, m_sameTypeOnly, m_specialOnlyPrimary})
        options->addWidget(box);
    auto *closing = new QHBoxLayout;
    closing->addWidget(m_process);
    closing->addWidget(m_remember);
    closing->addStretch();
    closing->addWidget(m_ok);
    closing->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(indicators);
    layout->addLayout(options);
    layout->addLayout(closing);
}

void DuplicatesWindow::connectActions()
{
    connect(m_scan, &QPushButton::clicked, this, [this] {
        setControlsEnabled(false);
        runTask(m_panelUi, [this] { m_session.scan(); });
        setControlsEnabled(true);
        refresh();
    });
    connect(m_process, &QPushButton::clicked, this, [this] {
        setControlsEnabled(false);
        runTask(m_panelUi, [this] { m_session.process(); });
        setControlsEnabled(true);
        refresh();
    });
    connect(m_export, &QPushButton::clicked, this, [this] { m_session.exportList(); });
    connect(m_remember, &QPushButton::clicked, this, [this] { m_session.remember(); });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_session.accept();
        m_accepted = true;
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &DuplicatesWindow::reject);
    const auto changed = [this](auto set) {
        return [this, set](bool checked) {
            DuplicateOptions options = m_session.options();
            set(options, checked);
            m_session.setOptions(options);
            showOptions();
        };
    };
    connect(m_ignoreTags, &QCheckBox::toggled, this, changed([](DuplicateOptions &o, bool c) { o.ignoreTags = c; }));
    connect(m_twofold, &QCheckBox::toggled, this, changed([](DuplicateOptions &o, bool c) { o.twofold = c; }));
    connect(m_sameTypeOnly, &QCheckBox::toggled, this,
            changed([](DuplicateOptions &o, bool c) { o.sameTypeOnly = c; }));
    connect(m_specialOnlyPrimary, &QCheckBox::toggled, this,
            changed([](DuplicateOptions &o, bool c) { o.specialOnlyPrimary = c; }));
}

void DuplicatesWindow::showOptions()
{
    const DuplicateOptions shown = m_session.shownOptions();
    const std::pair<QCheckBox *, bool> boxes[] = {{m_ignoreTags, shown.ignoreTags},
                                                  {m_twofold, shown.twofold},
                                                  {m_sameTypeOnly, shown.sameTypeOnly},
                                                  {m_specialOnlyPrimary, shown.specialOnlyPrimary}};
    for (const auto &[box, state] : boxes) {
        const QSignalBlocker block(box);
        box->setChecked(state);
    }
    m_sameTypeOnly->setEnabled(!shown.twofold);
    m_specialOnlyPrimary->setEnabled(!shown.twofold);
}

void DuplicatesWindow::setControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_scan, m_export, m_process, m_remember, m_ok,
                                                       m_logButtons.clear, m_ignoreTags, m_twofold})
        w->setEnabled(enabled);
    if (enabled)
        showOptions();
    else {
        m_sameTypeOnly->setEnabled(false);
        m_specialOnlyPrimary->setEnabled(false);
    }
}

void DuplicatesWindow::refresh()
{
    const QString &log = m_session.log();
    // Runs only ever append to the log; anything else ("Clear") redraws it whole.
    if (m_logShown > 0 && log.size() >= m_logShown) {
        if (log.size() > m_logShown) {
            QTextCursor cursor(m_log->document());
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(log.mid(m_logShown));
            m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
        }
    } else {
        m_log->setPlainText(log);
        m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
    }
    m_logShown = log.size();
    if (m_model->rowCount() != int(m_session.rows().size()) || !m_session.display().busy)
        m_model->resetAll();
    const QString separator = m_workbench.settings.thousandsSeparator;
    m_repeatedWords->setText(QStringLiteral("  # Repeated Words:") +
                             FormatCount(m_session.repeatedWordCount(), separator));
    m_repeatedFlags->setText(QStringLiteral("# Repeated FlagsW:") +
                             FormatCount(m_session.repeatedFlagEntryCount(), separator));
    m_elapsed->setText(m_session.display().elapsed);
    const bool hasRows = !m_session.rows().empty();
    if (!m_session.display().busy) {
        m_process->setEnabled(hasRows);
        m_export->setEnabled(hasRows);
    }
}

bool DuplicatesWindow::rememberOptions(const DuplicateOptions &options)
{
    // The file takes the boxes as shown; the options in memory keep their stored states.
    const DuplicateOptions kept = m_workbench.windowSettings.duplicates;
    m_workbench.windowSettings.duplicates = options;
    const bool written = SaveDuplicateOptions(m_workbench);
    m_workbench.windowSettings.duplicates = kept;
    return written;
}

void DuplicatesWindow::done(int result)
{
    // Escape, the close box and "Cancel" all end here; "Cancel" returns to the undo point.
    if (!m_closed && result != QDialog::Accepted)
        m_session.cancel();
    m_closed = true;
    ToolWindow::done(result);
}

} // namespace lexaloom
