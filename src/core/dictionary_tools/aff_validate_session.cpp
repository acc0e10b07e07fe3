#include "core/dictionary_tools/aff_validate_session.h"

#include "core/dictionary/affix_table.h"
#include "core/dictionary/dictionary_document.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/manual_url.h"
#include "core/shell/settings.h"
#include "core/shell/shared_texts.h"

namespace lexaloom {

namespace {

constexpr qint64 loadTickMs = 800;

QString nothingToProcess()
{
    return sharedTexts::nothingToProcess;
}
} // namespace

AffValidateSession::AffValidateSession(DictionaryDocument &dictionary, AffixTable &table, const MainSettings &settings,
                                       Ui &ui, AffValidateHost &host)
    : m_dictionary(dictionary)
    , m_table(table)
    , m_settings(settings)
    , m_ui(ui)
    , m_host(host)
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

QString AffValidateSession::manualAnchor()
{
    return manualAnchors::affValidate;
}

QString AffValidateSession::gotoNoun()
{
    return QStringLiteral("lines");
}

void AffValidateSession::prepare(const DictionaryDocument &dictionary, AffixTable &table, const MainSettings &settings,
                                 Ui &ui)
{
    LongTask task(ui, settings);
    BuildAffixTable(table, dictionary.affText, &task);
}

QString AffValidateSession::foundText() const
{
    return foundText(m_panel.count());
}

QString AffValidateSession::foundText(qsizetype count) const
{
    return QStringLiteral("Found:") + FormatCount(count, m_settings.thousandsSeparator);
}

void AffValidateSession::report(const QString &text)
{
    m_display.report += text;
    m_display.report += QLatin1Char('\n');
}

void AffValidateSession::setBusy(bool busy)
{
    m_display.busy = busy;
    m_host.refresh(m_display);
}

bool AffValidateSession::warnWhenEmpty()
{
    if (!m_panel.isEmpty())
        return false;
    m_ui.showMessage(LongTask::warningTitle(), nothingToProcess(), MessageIcon::Warning);
    report(nothingToProcess());
    report(QString());
    m_host.refresh(m_display);
    return true;
}

void AffValidateSession::load()
{
    setBusy(true);
    report(QStringLiteral("Processing number of lines..."));
    m_captured = NormaliseLineEnds(m_dictionary.affText);
    if (m_captured.isEmpty()) {
        m_ui.showMessage(LongTask::warningTitle(), nothingToProcess(), MessageIcon::Warning);
        report(nothingToProcess());
        m_panel.reset({});
        m_display.found = foundText();
        setBusy(false);
        return;
    }
    QString text = m_captured;
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    const qsizetype lineCount = text.count(QLatin1Char('\n'));
    const QString &separator = m_settings.thousandsSeparator;

    LongTask task(m_host.sideUi(AffStatusSide::Panel), m_settings, loadTickMs);
    const qint64 maximum = 2 * lineCount;
    task.begin(AffValidateDisplay::abortHint(), maximum);
    auto showProgress = [&](qint64 value) {
        task.showValue(value);
        m_display.panelElapsed = FormatElapsed(QStringLiteral("\u231A"), task.elapsedMs());
        m_host.refresh(m_display);
    };
    QList<AffPanelLine> lines;
    lines.reserve(lineCount);
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        lines.append(AffPanelLine{text.mid(start, end - start)});
        start = end + 1;
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            m_display.found = foundText(lines.size());
            showProgress(lines.size());
        }
        if (poll.abortRequested)
            break;
    }
    report(QStringLiteral("Number of lines processed:") + FormatCount(lines.size(), separator));
    m_panel.reset(std::move(lines));
    m_display.found = foundText();
    report(QStringLiteral("Populating gadget with the lines..."));
    // The panel's rows are drawn from the records, so populating is the redraw itself.
    report(QStringLiteral("Populating done."));
    showProgress(maximum);
    task.finish(QString());
    report(QString());
    setBusy(false);
}

AffValidateOutcome AffValidateSession::process()
{
    if (warnWhenEmpty())
        return AffValidateOutcome::NoErrors;
    m_panel.pushUndo();
    setBusy(true);
    const AffValidateOutcome outcome = ValidateAff(m_panel, m_table, m_settings, m_display, m_host);
    m_display.percent.clear();
    setBusy(false);
    return outcome;
}

void AffValidateSession::refresh()
{
    report(QStringLiteral("Converting the right panel to .AFF text"));
    if (warnWhenEmpty())
        return;
    setBusy(true);
    report(QString());
    const QString joined = m_panel.joinedText();
    report(QStringLiteral("Replacing the original .AFF gadget"));
    QString &paneText = m_dictionary.affText;
    const QString previous = paneText;
    paneText = joined;
    report(QString());
    report(QStringLiteral("Processing the .AFF gadget"));
    AffixTable &table = m_table;
    table.sourceText.clear();
    LongTask task(m_ui, m_settings);
    BuildAffixTable(table, paneText, &task);
    report(QString());
    report(QStringLiteral("Restoring back the original .AFF gadget"));
    paneText = previous;
    // The table now describes the panel; the next tool that needs it rebuilds from the pane.
    table.sourceText.clear();
    report(QString());
    setBusy(false);
}

bool AffValidateSession::accept()
{
    const QString joined = m_panel.joinedText();
    if (joined == m_captured)
        return false;
    m_dictionary.affText = joined;
    m_dictionary.changed = true;
    return true;
}

} // namespace lexaloom
