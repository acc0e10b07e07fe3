#include "core/dictionary_tools/statistics_session.h"

#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/manual_url.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

QStringView partBeforeNewline(QStringView entry)
{
    const qsizetype newline = entry.indexOf(u'\n');
    return newline < 0 ? entry : entry.first(newline);
}

} // namespace

StatisticsSession::StatisticsSession(const DictionaryDocument &dictionary, AffixTable &table,
                                     const MainSettings &settings, Ui &ui, DicStatsReference &reference,
                                     StatisticsRun run)
    : m_dictionary(dictionary)
    , m_table(table)
    , m_settings(settings)
    , m_ui(ui)
    , m_reference(reference)
    , m_stats(run.stats)
    , m_entries(std::move(run.entries))
    , m_referenceText(reference.value)
    , m_lastRememberText(reference.lastRemember)
{
    refreshNewWords();
}

QString StatisticsSession::manualAnchor()
{
    return manualAnchors::statistics;
}

QString StatisticsSession::countText(qint64 n) const
{
    return FormatCount(n, m_settings.thousandsSeparator);
}

std::optional<qint64> StatisticsSession::referenceNumber() const
{
    QString digits = m_referenceText.trimmed();
    if (!m_settings.thousandsSeparator.isEmpty())
        digits.remove(m_settings.thousandsSeparator);
    if (digits.isEmpty())
        return std::nullopt;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt; // a sign, a decimal point or text: not a word count
    }
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

void StatisticsSession::refreshNewWords()
{
    // A text that is no count leaves the field empty rather than showing the
    // difference to a reference that is no longer there.
    const std::optional<qint64> reference = referenceNumber();
    if (!reference) {
        m_newWordsText.clear();
        return;
    }
    m_newWordsText = statisticsTexts::newPrefix + countText(m_stats.total - *reference) + statisticsTexts::datePrefix +
                     FormatStamp(m_ui.clock().localEpochSeconds());
}

void StatisticsSession::setReferenceText(const QString &text)
{
    if (text == m_referenceText)
        return;
    m_referenceText = text;
    refreshNewWords();
}

void StatisticsSession::copyTotalToReference()
{
    m_referenceText = QString::number(m_stats.total);
    refreshNewWords();
}

void StatisticsSession::remember(const FileAction &write, const QString &path)
{
    if (m_referenceText.isEmpty()) {
        m_ui.showMessage(LongTask::warningTitle(), statisticsTexts::rememberBlank, MessageIcon::Warning);
        return;
    }
    const DicStatsReference before = m_reference;
    m_reference.value = m_referenceText;
    m_reference.lastRemember = DicStatsReference::lastRememberPrefix() + FormatStamp(m_ui.clock().localEpochSeconds());
    if (write && !write()) {
        // Nothing was remembered: the window must not say otherwise.
        m_reference = before;
        m_ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, QStringLiteral("Write failed.")),
                         MessageIcon::Error);
        return;
    }
    m_lastRememberText = m_reference.lastRemember;
    refreshNewWords();
}

void StatisticsSession::forget(const FileAction &remove, const QString &path)
{
    if (remove && !remove()) {
        m_ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, QStringLiteral("Delete failed.")),
                         MessageIcon::Error);
        return;
    }
    // The next opening of the window shows what the next start would load: nothing.
    m_reference = DicStatsReference();
    m_referenceText.clear();
    m_newWordsText.clear();
}

void StatisticsSession::copy(const QString &text)
{
    if (text.isEmpty()) {
        m_ui.showMessage(LongTask::warningTitle(), statisticsTexts::nothingToCopy, MessageIcon::Warning);
        return;
    }
    m_ui.setClipboardText(text);
}

void StatisticsSession::copyTotal()
{
    copy(totalText());
}

void StatisticsSession::copyNewWords()
{
    copy(m_newWordsText);
}

void StatisticsSession::copyNewNumber()
{
    const std::optional<qint64> reference = referenceNumber();
    copy(m_newWordsText.isEmpty() || !reference ? QString() : QString::number(m_stats.total - *reference));
}

void StatisticsSession::copyLastRemember()
{
    copy(m_lastRememberText);
}

bool StatisticsSession::exportToFile()
{
    const QString path =
        AskSavePath(m_ui, statisticsTexts::exportTitle, wordlistTexts::txtFilter, QStringLiteral(".txt"));
    if (path.isEmpty())
        return false;
    if (!WriteFileAtomically(
            path, StatisticsExportBytes(m_stats, m_referenceText, m_newWordsText, m_settings.thousandsSeparator))) {
        m_ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, QStringLiteral("Write failed.")),
                         MessageIcon::Error);
        return false;
    }
    return true;
}

bool StatisticsSession::checkRowSelected(int row) const
{
    if (row >= 0 && row < statisticsWordRows)
        return true;
    m_ui.showMessage(LongTask::warningTitle(), wordlistTexts::noTypeSelected, MessageIcon::Warning);
    return false;
}

QString StatisticsSession::criterionTitle(int row)
{
    QString label = StatisticsWordRowLabel(row);
    if (label.endsWith(QLatin1Char(':')))
        label.chop(1);
    return statisticsTexts::criterionTitle + label;
}

std::vector<qint64> StatisticsSession::criterionEntries(int row, Ui &panelUi,
                                                        const std::function<void(const QString &)> &showElapsed)
{
    std::vector<qint64> found;
    const qint64 n = qint64(m_entries.size());
    LongTask task(panelUi, m_settings);
    task.begin(wordlistTexts::escToAbort, n);
    const bool completed = task.forEach(
        n,
        [&](qint64 i) {
            task.showValue(i);
            if (showElapsed)
                showElapsed(task.elapsedText(QString()));
        },
        [&](qint64 i) {
            if (EntryStatisticFor(m_entries[size_t(i)], row) > 0)
                found.push_back(i);
        },
        {.abortBeforeTick = true});
    if (!completed) {
        task.cancel();
        if (showElapsed)
            showElapsed(task.elapsedText(QString()));
        return found;
    }
    task.finish(QString());
    if (showElapsed)
        showElapsed(task.elapsedText(QString()));
    return found;
}

QString StatisticsSession::entryWord(qint64 index) const
{
    if (index < 0 || index >= m_dictionary.entries.size())
        return {};
    return partBeforeNewline(m_dictionary.entries.view(index)).toString();
}

QString StatisticsSession::preview(qint64 index, int row) const
{
    if (index < 0 || index >= m_dictionary.entries.size())
        return {};
    const QStringView part = partBeforeNewline(m_dictionary.entries.view(index));
    if (IsCommentEntry(part))
        return {};
    BuildAffixTable(m_table, m_dictionary.affText);
    QString text;
    TypeFilterSink sink(row, true, [&text](QStringView line) {
        text += line;
        text += u'\n';
    });
    WordDeriver deriver(m_table);
    deriver.DeriveWord(part, sink);
    return text;
}

WordlistResult StatisticsSession::extract(int row, bool mark, Ui &panelUi, const TypeExtractionControls &controls)
{
    const qint64 rowCount = row >= 0 && row < statisticsWordRows ? StatisticsWordRowCount(m_stats, row) : 0;
    return ExtractWordlistByType(
        m_dictionary, m_table, m_settings, panelUi, row, rowCount, mark,
        [this, row](qint64 index, QStringView) {
            return index < qint64(m_entries.size()) && EntryStatisticFor(m_entries[size_t(index)], row) > 0;
        },
        controls);
}

} // namespace lexaloom
