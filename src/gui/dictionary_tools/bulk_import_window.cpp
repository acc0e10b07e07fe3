#include "gui/dictionary_tools/bulk_import_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTextCursor>
#include <QVBoxLayout>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/dictionary/dictionary_document.h"
#include "core/thesaurus/thesaurus_document.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

MultiwordChoice choiceOf(const MultiwordPrefs &prefs)
{
    return {prefs.languageIndex, prefs.posIndex, prefs.specifyText};
}

void storeChoice(MultiwordPrefs &prefs, const MultiwordChoice &choice)
{
    prefs.languageIndex = choice.languageIndex;
    prefs.posIndex = choice.posIndex;
    prefs.specifyText = choice.specifyText;
}

QString documentName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? QStringLiteral("n/a") : name;
}

} // namespace

QString BulkImportTargetText(std::optional<BulkImportMode> mode, const BulkImportTargets &targets)
{
    const QString prefix = QStringLiteral("Target: ");
    const QString newEntries = QStringLiteral("): each line becomes a new entry.");
    const QString outputOnly = QStringLiteral("the output only: ");
    const QString noDocument = QStringLiteral("; no document changes.");
    if (!mode) {
        return prefix + QStringLiteral("the Dictionary (") + documentName(targets.dictionary->path) +
               QStringLiteral("): each missing name becomes a new entry.");
    }
    switch (*mode) {
    case BulkImportMode::Dictionary:
        return prefix + QStringLiteral("the Dictionary (") + documentName(targets.dictionary->path) + newEntries;
    case BulkImportMode::Thesaurus:
        return prefix + QStringLiteral("the Thesaurus (") + documentName(targets.thesaurus->path) + newEntries;
    case BulkImportMode::Autocorrect:
        return prefix + QStringLiteral("the Autocorrect list (") + documentName(targets.autocorrect->path) + newEntries;
    case BulkImportMode::Multiwords:
        return prefix + outputOnly + QStringLiteral("each line tagged for LanguageTool") + noDocument;
    case BulkImportMode::SortWordlist:
        return prefix + outputOnly + QStringLiteral("the lines sorted") + noDocument;
    case BulkImportMode::DeleteDuplicates:
        return prefix + outputOnly + QStringLiteral("the lines without their repeats") + noDocument;
    case BulkImportMode::ConvertXmlTags:
        return prefix + outputOnly + QStringLiteral("the lines with their character references converted") + noDocument;
    }
    return {};
}

void OpenBulkImportWindow(MainWindow &mainWindow, Workbench &workbench, Ui &ui, std::optional<BulkImportMode> mode)
{
    BulkImportTargets targets;
    targets.dictionary = &workbench.dictionary;
    targets.thesaurus = &workbench.thesaurus;
    targets.autocorrect = &workbench.autocorrect;
    {
        BulkImportWindow window(&mainWindow, workbench, ui, targets, mode);
        window.exec();
    }
    mainWindow.showDocumentTexts();
    for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Hyphenation, DocumentKind::Thesaurus,
                              DocumentKind::Autocorrect, DocumentKind::AutoText}) {
        mainWindow.refreshListPage(kind);
        mainWindow.refreshFileInfo(kind);
    }
}

BulkImportWindow::BulkImportWindow(QWidget *parent, Workbench &workbench, Ui &ui, const BulkImportTargets &targets,
                                   std::optional<BulkImportMode> mode)
    : ToolWindow(ui, parent)
    , m_workbench(workbench)
    , m_panelUi(ui, m_panel)
{
    if (mode) {
        m_bulk.emplace(*mode, targets, workbench.settings, m_panelUi);
        m_bulk->multiwords = choiceOf(workbench.windowSettings.multiwords);
        m_bulk->onTick = [this] { drawOutput(); };
        setWindowTitle(BulkImportSession::windowTitle(*mode));
        setManualAnchor(workbench.programFolder(), bulkImportTexts::manualAnchor);
    } else {
        m_names.emplace(workbench.dictionary, workbench.possessives, workbench.settings, m_panelUi);
        m_names->onTick = [this] { drawOutput(); };
        setWindowTitle(possessiveTexts::windowTitle);
        setManualAnchor(workbench.programFolder(), possessiveTexts::manualAnchor);
    }
    resize(1000, 600);
    m_targetText = BulkImportTargetText(mode, targets);
    buildWidgets();
    drawOutput();
}

BulkImportWindow::~BulkImportWindow()
{
    if (m_bulk)
        storeChoice(m_workbench.windowSettings.multiwords, m_bulk->multiwords);
}

void BulkImportWindow::buildWidgets()
{
    const std::optional<BulkImportMode> mode = m_bulk ? std::optional(m_bulk->mode()) : std::nullopt;
    const bool wordlist = mode && BulkImportSession::isWordlistMode(*mode);
    const bool multiwords = mode == BulkImportMode::Multiwords;
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    m_input = new QPlainTextEdit(this);
    m_input->setObjectName(QStringLiteral("input"));
    m_input->setPlaceholderText(m_names ? possessiveTexts::inputHint : bulkImportTexts::inputHint);
    m_input->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_input->setFont(fixed);
    m_output = new QPlainTextEdit(this);
    m_output->setObjectName(QStringLiteral("output"));
    m_output->setPlaceholderText(bulkImportTexts::outputHint);
    m_output->setReadOnly(true);
    m_output->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_output->setFont(fixed);
    // The multiword tags follow a tab; a narrow stop keeps them beside their words.
    m_output->setTabStopDistance(QFontMetricsF(fixed).horizontalAdvance(u' ') * 4);

    m_process = makeButton(QStringLiteral("Process"), QStringLiteral("process"));
    const PaneButtons inputButtons = makePaneButtons(QStringLiteral("input"), m_input, [this] { m_input->clear(); });
    auto *inputRow = new QHBoxLayout;
    inputRow->addWidget(m_process);
    m_controls << m_process << inputButtons.clear << inputButtons.bottom << inputButtons.top;
    if (mode == BulkImportMode::SortWordlist) {
        m_processRegexp = makeButton(QStringLiteral("Process regexp"), QStringLiteral("processRegexp"));
        inputRow->addWidget(m_processRegexp);
        m_controls << m_processRegexp;
    }
    for (QPushButton *b : {inputButtons.clear, inputButtons.bottom, inputButtons.top})
        inputRow->addWidget(b);
    if (wordlist) {
        m_open = makeButton(QStringLiteral("Open"), QStringLiteral("open"));
        inputRow->addWidget(m_open);
        m_controls << m_open;
    }
    inputRow->addStretch();

    m_found = makeLabel(QString(), QStringLiteral("found"));
    m_found->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Found:9,999,999 ")));
    const PaneButtons outputButtons = makePaneButtons(QStringLiteral("output"), m_output, [this] {
        if (m_bulk)
            m_bulk->clearOutput();
        else
            m_names->clearOutput();
        drawOutput();
    });
    auto *outputRow = new QHBoxLayout;
    outputRow->addWidget(m_found);
    for (QPushButton *b : {outputButtons.clear, outputButtons.bottom, outputButtons.top})
        outputRow->addWidget(b);
    m_controls << outputButtons.clear << outputButtons.bottom << outputButtons.top;
    if (wordlist) {
        m_saveAs = makeButton(QStringLiteral("Save as"), QStringLiteral("saveAs"));
        outputRow->addWidget(m_saveAs);
        m_controls << m_saveAs;
    }
    outputRow->addStretch();

    m_status = makeLabel(bulkImportTexts::processing + QStringLiteral("0/0"), QStringLiteral("status"));
    m_status->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("Step 2/4: Transferring wordlist to array (99,999/99,999) ")));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_hint = makeLabel(QString(), QStringLiteral("hint"));
    m_hint->setMinimumWidth(fontMetrics().horizontalAdvance(bulkImportTexts::abortHint + QLatin1Char(' ')));
    m_panel.attach(m_progress, m_status);
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(m_status);
    statusRow->addWidget(m_progress, 1);
    statusRow->addWidget(m_hint);

    // The mode's own controls.
    auto *optionsRow = new QHBoxLayout;
    if (m_names) {
        PossessiveSettings &settings = m_names->possessives();
        m_remove1 = new QLineEdit(settings.remove1, this);
        m_remove1->setObjectName(QStringLiteral("remove1"));
        m_remove2 = new QLineEdit(settings.remove2, this);
        m_remove2->setObjectName(QStringLiteral("remove2"));
        m_possessives = new QLineEdit(settings.possessives, this);
        m_possessives->setObjectName(QStringLiteral("possessives"));
        for (QLineEdit *e : {m_remove1, m_remove2, m_possessives})
            e->setMaximumWidth(90);
        connect(m_remove1, &QLineEdit::textChanged, this, [&settings](const QString &t) { settings.remove1 = t; });
        connect(m_remove2, &QLineEdit::textChanged, this, [&settings](const QString &t) { settings.remove2 = t; });
        connect(m_possessives, &QLineEdit::textChanged, this,
                [&settings](const QString &t) { settings.possessives = t; });
        optionsRow->addWidget(new QLabel(QStringLiteral("       Remove:"), this));
        optionsRow->addWidget(m_remove1);
        optionsRow->addWidget(m_remove2);
        optionsRow->addWidget(new QLabel(QStringLiteral("Possessives:"), this));
        optionsRow->addWidget(m_possessives);
        m_controls << m_remove1 << m_remove2 << m_possessives;
    }
    if (multiwords) {
        m_language = new QComboBox(this);
        m_language->setObjectName(QStringLiteral("language"));
        m_language->addItems(MultiwordLanguages());
        m_pos = new QComboBox(this);
        m_pos->setObjectName(QStringLiteral("pos"));
        m_pos->setMinimumContentsLength(36);
        m_specify = new QLineEdit(m_bulk->multiwords.specifyText, this);
        m_specify->setObjectName(QStringLiteral("specify"));
        m_remember = makeButton(QStringLiteral("Remember"), QStringLiteral("remember"));
        optionsRow->addWidget(new QLabel(QStringLiteral("POS:"), this));
        optionsRow->addWidget(m_language);
        optionsRow->addWidget(m_pos, 1);
        optionsRow->addWidget(new QLabel(QStringLiteral("Specify:"), this));
        optionsRow->addWidget(m_specify);
        optionsRow->addWidget(m_remember);
        m_controls << m_language << m_pos << m_specify << m_remember;
        m_language->setCurrentIndex(m_bulk->multiwords.languageIndex);
        fillPosRows();
        connect(m_language, &QComboBox::currentIndexChanged, this, [this](int index) {
            m_bulk->multiwords.languageIndex = index;
            m_bulk->multiwords.posIndex = 0;
            fillPosRows();
        });
        connect(m_pos, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (index >= 0)
                m_bulk->multiwords.posIndex = index;
        });
        connect(m_specify, &QLineEdit::textChanged, this,
                [this](const QString &text) { m_bulk->multiwords.specifyText = text; });
        connect(m_remember, &QPushButton::clicked, this, [this] {
            storeChoice(m_workbench.windowSettings.multiwords, m_bulk->multiwords);
            SaveMultiwordPrefs(m_workbench);
        });
    } else if (!wordlist) {
        m_logIndex = new QCheckBox(QStringLiteral("Log Index Starting at:"), this);
        m_logIndex->setObjectName(QStringLiteral("logIndex"));
        m_logIndex->setChecked(true);
        m_logStart = new QSpinBox(this);
        m_logStart->setObjectName(QStringLiteral("logStart"));
        m_logStart->setRange(1, 9999999);
        m_logStart->setValue(1);
        optionsRow->addWidget(m_logIndex);
        optionsRow->addWidget(m_logStart);
        optionsRow->addWidget(new QLabel(QStringLiteral("For log file."), this));
        m_controls << m_logIndex << m_logStart;
    }
    optionsRow->addStretch();
    m_close = makeButton(closeCaption(), QStringLiteral("close"));
    optionsRow->addWidget(m_close);
    m_controls << m_close;

    auto *inputSide = new QVBoxLayout;
    inputSide->addWidget(m_input, 1);
    inputSide->addLayout(inputRow);
    auto *outputSide = new QVBoxLayout;
    outputSide->addWidget(m_output, 1);
    outputSide->addLayout(outputRow);
    auto *sides = new QHBoxLayout;
    sides->addLayout(inputSide, 1);
    sides->addLayout(outputSide, 1);
    // The title is the same for the four import modes: say which document takes the lines.
    m_target = makeLabel(m_targetText, QStringLiteral("target"));
    m_target->setStyleSheet(palette::textColourStyle(palette::captionBlue) + QStringLiteral(" font-weight: bold;"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_target);
    layout->addLayout(sides, 1);
    layout->addLayout(statusRow);
    layout->addLayout(optionsRow);

    connect(m_close, &QPushButton::clicked, this, &BulkImportWindow::reject);
    connect(m_process, &QPushButton::clicked, this, [this] {
        pushInput();
        if (m_bulk)
            run([this] { m_bulk->process(); });
        else
            run([this] { m_names->process(); });
    });
    if (m_processRegexp) {
        connect(m_processRegexp, &QPushButton::clicked, this, [this] {
            pushInput();
            run([this] { m_bulk->processRegexp(); });
            m_input->setPlainText(m_bulk->input);
        });
    }
    if (m_open) {
        connect(m_open, &QPushButton::clicked, this, [this] {
            if (m_bulk->openFile())
                m_input->setPlainText(m_bulk->input);
        });
    }
    if (m_saveAs)
        connect(m_saveAs, &QPushButton::clicked, this, [this] { m_bulk->saveAs(); });
}

void BulkImportWindow::fillPosRows()
{
    const QSignalBlocker blocker(m_pos);
    m_pos->clear();
    const bool other = m_bulk->multiwords.languageIndex == 0;
    if (!other)
        m_pos->addItems(MultiwordPosRows(m_bulk->multiwords.languageIndex));
    m_pos->setCurrentIndex(other ? -1 : m_bulk->multiwords.posIndex);
    m_pos->setEnabled(!other);
    m_specify->setEnabled(other);
}

void BulkImportWindow::pushInput()
{
    const QString text = m_input->toPlainText();
    if (m_bulk) {
        m_bulk->input = text;
        if (m_logIndex) {
            m_bulk->logIndexOn = m_logIndex->isChecked();
            m_bulk->logIndexStart = m_logStart->value();
        }
    } else {
        m_names->input = text;
        m_names->logIndexOn = m_logIndex->isChecked();
        m_names->logIndexStart = m_logStart->value();
    }
}

void BulkImportWindow::run(const std::function<void()> &work)
{
    setControlsEnabled(false);
    m_hint->setText(bulkImportTexts::abortHint);
    m_outputShown = 0;
    m_output->clear();
    runTask(m_panelUi, [this, &work] {
        work();
        // Still part of the run: drawing a large output takes a while, and Escape
        // meanwhile belongs to the run, not to the window.
        m_outputShown = -1; // the whole output again: the last step may have rewritten it
        drawOutput();
        m_hint->clear();
        setControlsEnabled(true);
    });
}

void BulkImportWindow::drawOutput()
{
    const QString &output = m_bulk ? m_bulk->output() : m_names->output();
    m_found->setText(m_bulk ? m_bulk->foundText() : m_names->foundText());
    if (m_outputShown < 0 || m_outputShown > output.size()) {
        m_output->setPlainText(output);
    } else if (m_outputShown < output.size()) {
        // Only what the run wrote since the last tick, so that long runs stay linear.
        QTextCursor cursor(m_output->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(output.mid(m_outputShown));
    }
    m_outputShown = output.size();
}

void BulkImportWindow::setControlsEnabled(bool enabled)
{
    for (QWidget *w : m_controls)
        w->setEnabled(enabled);
    m_input->setReadOnly(!enabled);
    if (enabled && m_pos)
        fillPosRows();
}

} // namespace lexaloom
