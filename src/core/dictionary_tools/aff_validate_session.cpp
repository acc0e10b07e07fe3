#include "dictionary_tools/aff_validate_session.h"

#include "app/workbench.h"
#include "dictionary/affix_table.h"
#include "shell/file_dialogs.h"
#include "shell/format.h"
#include "shell/long_task.h"

namespace lexaloom {

namespace {

constexpr qint64 loadTickMs = 800;

QString nothingToProcess()
{
    return QStringLiteral("Nothing to process.");
}
QString abortHint()
{
    return QStringLiteral("<ESC> to abort.");
}

} // namespace

AffValidateSession::AffValidateSession(Workbench &workbench, Ui &ui, AffValidateView &view)
    : m_workbench(workbench)
    , m_ui(ui)
    , m_view(view)
{
}

QString AffValidateSession::introductionText()
{
    return QStringLiteral("AFF Validate V2.2 - 2023-03-21\n"
                          "========================\n"
                          "This option provides SMART validation of the AFF.\n"
                          "\n"
                          "After making changes in the panel in the right,\n"
                          "if you wish to press the PROCESS button, you\n"
                          "will have to press the REFRESH button first.\n"
                          "\n");
}

QString AffValidateSession::windowTitle()
{
    return QStringLiteral("AFF Validate");
}

void AffValidateSession::prepare(Workbench &workbench, Ui &ui)
{
    LongTask task(ui, workbench.settings);
    BuildAffixTable(workbench.affixTable, workbench.dictionary.affText, &task);
}

QString AffValidateSession::foundText() const
{
    return foundText(m_panel.count());
}

QString AffValidateSession::foundText(qsizetype count) const
{
    return QStringLiteral("Found:") + FormatCount(count, m_workbench.settings.thousandsSeparator);
}

void AffValidateSession::report(const QString &text)
{
    m_view.appendReport(text + QLatin1Char('\n'));
}

bool AffValidateSession::warnWhenEmpty()
{
    if (!m_panel.isEmpty())
        return false;
    m_ui.showMessage(LongTask::warningTitle(), nothingToProcess(), MessageIcon::Warning);
    report(nothingToProcess());
    report(QString());
    return true;
}

void AffValidateSession::load()
{
    m_view.setBusy(true);
    report(QStringLiteral("Processing number of lines..."));
    m_captured = NormaliseLineEnds(m_workbench.dictionary.affText);
    if (m_captured.isEmpty()) {
        m_ui.showMessage(LongTask::warningTitle(), nothingToProcess(), MessageIcon::Warning);
        report(nothingToProcess());
        m_panel.reset({});
        m_view.setFoundText(foundText());
        m_view.setBusy(false);
        return;
    }
    QString text = m_captured;
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    const qsizetype lineCount = text.count(QLatin1Char('\n'));
    const QString &separator = m_workbench.settings.thousandsSeparator;

    AffWindowTask task(m_ui, m_view, AffStatusSide::Panel, loadTickMs);
    task.begin(2 * lineCount);
    m_view.setAbortHint(AffStatusSide::Panel, abortHint());
    QList<AffPanelLine> lines;
    lines.reserve(lineCount);
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        lines.append(AffPanelLine{text.mid(start, end - start)});
        start = end + 1;
        task.setValue(lines.size());
        const AffWindowTask::PollResult poll = task.poll();
        if (poll.ticked) {
            m_view.setFoundText(foundText(lines.size()));
            task.refresh();
        }
        if (poll.abortRequested)
            break;
    }
    report(QStringLiteral("Number of lines processed:") + FormatCount(lines.size(), separator));
    m_panel.reset(std::move(lines));
    m_view.setFoundText(foundText());
    report(QStringLiteral("Populating gadget with the lines..."));
    // The panel's rows are drawn from the records, so populating is the redraw itself.
    m_view.lineColourChanged(-1);
    task.setValue(task.maximum());
    report(QStringLiteral("Populating done."));
    task.refresh();
    m_view.setProgressValue(AffStatusSide::Panel, 0);
    m_view.setAbortHint(AffStatusSide::Panel, QString());
    report(QString());
    m_view.setBusy(false);
}

AffValidateOutcome AffValidateSession::process()
{
    if (warnWhenEmpty())
        return AffValidateOutcome::NoErrors;
    m_panel.pushUndo();
    m_view.setBusy(true);
    m_view.setAbortHint(AffStatusSide::Report, abortHint());
    m_view.setProgressValue(AffStatusSide::Report, 0);
    const AffValidateOutcome outcome = ValidateAff(m_panel, m_workbench.affixTable, m_view, m_ui);
    m_view.setProgressValue(AffStatusSide::Report, 0);
    m_view.setBusy(false);
    m_view.setAbortHint(AffStatusSide::Report, QString());
    m_view.setPercentText(QString());
    return outcome;
}

void AffValidateSession::refresh()
{
    report(QStringLiteral("Converting the right panel to .AFF text"));
    if (warnWhenEmpty())
        return;
    m_view.setBusy(true);
    report(QString());
    const QString joined = m_panel.joinedText();
    report(QStringLiteral("Replacing the original .AFF gadget"));
    QString &paneText = m_workbench.dictionary.affText;
    const QString previous = paneText;
    paneText = joined;
    report(QString());
    report(QStringLiteral("Processing the .AFF gadget"));
    AffixTable &table = m_workbench.affixTable;
    table.sourceText.clear();
    LongTask task(m_ui, m_workbench.settings);
    BuildAffixTable(table, paneText, &task);
    report(QString());
    report(QStringLiteral("Restoring back the original .AFF gadget"));
    paneText = previous;
    // The table now describes the panel; the next tool that needs it rebuilds from the pane.
    table.sourceText.clear();
    report(QString());
    m_view.setBusy(false);
}

bool AffValidateSession::accept()
{
    const QString joined = m_panel.joinedText();
    if (joined == m_captured)
        return false;
    m_workbench.dictionary.affText = joined;
    m_workbench.dictionary.changed = true;
    return true;
}

} // namespace lexaloom
