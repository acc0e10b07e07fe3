#include "gui/autocorrect/ac_validate_window.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include "core/app/workbench.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

namespace lexaloom {

void OpenAcValidateWindow(QWidget *parent, Workbench &workbench, Ui &ui)
{
    if (!AcValidateSession::prepare(workbench.dictionary, workbench.affixTable, workbench.autocorrect,
                                    workbench.settings, ui))
        return;
    AcValidateWindow window(parent, workbench, ui);
    window.exec();
}

AcValidateWindow::AcValidateWindow(QWidget *parent, Workbench &workbench, Ui &ui)
    : ToolWindow(ui, parent)
    , m_panelUi(ui, m_progressPanel)
    , m_session(workbench.dictionary, workbench.affixTable, workbench.autocorrect, workbench.settings, ui, *this)
{
    setWindowTitle(acValidateTexts::windowTitle);
    // The manual has no section of its own for this window: F1 opens it at its start.
    setManualAnchor(workbench.programFolder(), QString());
    resize(760, 520);
    buildWidgets();
    m_report->setPlainText(m_session.display().report);
    m_reportShown = m_session.display().report.size();
}

AcValidateWindow::~AcValidateWindow() = default;

void AcValidateWindow::buildWidgets()
{
    m_report = new QPlainTextEdit(this);
    m_report->setObjectName(QStringLiteral("report"));
    m_report->setReadOnly(true);
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    m_process = makeButton(QStringLiteral("Process"), QStringLiteral("process"));
    m_export = makeButton(QStringLiteral("Export"), QStringLiteral("export"));
    m_close = makeButton(closeCaption(), QStringLiteral("close"));
    m_paneButtons = makePaneButtons(QStringLiteral("report"), m_report, [this] { m_session.clear(); });
    showAsImageButtons(m_paneButtons);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_status = makeLabel(QString(), QStringLiteral("status"));
    m_status->setMinimumWidth(
        m_status->fontMetrics().horizontalAdvance(acValidateTexts::escapeHint + QLatin1Char(' ')));
    m_progressPanel.attach(m_progress, m_status);
    m_mark = makeLabel(QString(), QStringLiteral("mark"));
    QFont markFont = m_mark->font();
    markFont.setBold(true);
    markFont.setPointSizeF(markFont.pointSizeF() * 1.4);
    m_mark->setFont(markFont);
    m_mark->setMinimumWidth(m_mark->fontMetrics().horizontalAdvance(QStringLiteral("\u2713 ")));
    m_issues = makeLabel(m_session.issuesText(), QStringLiteral("issues"));
    // Room for a large count up front, so the row does not jump while a run counts.
    m_issues->setMinimumWidth(
        m_issues->fontMetrics().horizontalAdvance(acValidateTexts::issuesCaption + QStringLiteral("999,999,999")));

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_process, m_export, m_paneButtons.clear, m_paneButtons.bottom, m_paneButtons.top})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(makeLabel(QStringLiteral("Processing:"), QStringLiteral("processing")));
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_status);
    progressRow->addWidget(m_mark);
    progressRow->addWidget(m_issues);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_report, 1);
    layout->addLayout(progressRow);
    layout->addLayout(buttons);

    connect(m_process, &QPushButton::clicked, this, [this] { runTask(m_panelUi, [this] { m_session.process(); }); });
    connect(m_export, &QPushButton::clicked, this, [this] { m_session.exportReport(); });
    connect(m_close, &QPushButton::clicked, this, &AcValidateWindow::reject);
}

void AcValidateWindow::refresh(const AcValidateDisplay &display)
{
    // "Clear" shortens the report to its introduction; runs only append.
    if (display.report.size() < m_reportShown) {
        m_report->setPlainText(display.report);
    } else if (display.report.size() > m_reportShown) {
        // Appending keeps the caret; the view follows the new lines while it shows the end.
        QScrollBar *scrollBar = m_report->verticalScrollBar();
        const bool following = scrollBar->value() == scrollBar->maximum();
        QTextCursor cursor(m_report->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(display.report.mid(m_reportShown));
        if (following)
            scrollBar->setValue(scrollBar->maximum());
    }
    m_reportShown = display.report.size();
    m_issues->setText(m_session.issuesText());
    switch (display.mark) {
    case AcValidateMark::None:
        m_mark->clear();
        break;
    case AcValidateMark::Done:
        m_mark->setText(QStringLiteral("\u2713"));
        m_mark->setStyleSheet(palette::textColourStyle(palette::green));
        break;
    case AcValidateMark::Aborted:
        m_mark->setText(QStringLiteral("\u2717"));
        m_mark->setStyleSheet(palette::textColourStyle(palette::red));
        break;
    }
    if (display.busy != m_busyShown) {
        m_busyShown = display.busy;
        setControlsEnabled(!display.busy);
    }
}

void AcValidateWindow::setControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_process, m_export, m_close, m_paneButtons.clear,
                                                       m_paneButtons.bottom, m_paneButtons.top})
        w->setEnabled(enabled);
}

} // namespace lexaloom
