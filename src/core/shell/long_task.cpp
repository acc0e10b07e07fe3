#include "core/shell/long_task.h"

#include "core/shell/format.h"
#include "core/shell/settings.h"

#include <algorithm>

namespace lexaloom {

LongTask::LongTask(Ui &ui, const MainSettings &settings, qint64 periodMs)
    : m_ui(ui)
    , m_settings(settings)
    , m_periodMs(periodMs > 0 ? periodMs : tickMs)
{
}

LongTask::~LongTask()
{
    // A task left by an early return still must not leave a running progress display.
    if (m_running) {
        m_running = false;
        m_ui.setProgressValue(0);
    }
}

void LongTask::begin(const QString &statusText, qint64 maximum)
{
    m_ui.setStatusText(statusText);
    m_ui.setProgressRange(0, maximum);
    m_ui.setProgressValue(0);
    m_startMs = m_ui.clock().monotonicMs();
    m_nextTickMs = m_startMs + m_periodMs;
    m_nextPumpMs = m_startMs;
    m_running = true;
    m_volumeWarned = false;
}

LongTask::PollResult LongTask::pollSlow(qint64 now)
{
    PollResult result;
    m_ui.processEvents();
    if (m_running && now >= m_nextTickMs) {
        result.ticked = true;
        // Ticks do not pile up after a long item: the next one is a full period away.
        m_nextTickMs = now + m_periodMs;
    }
    // Wake up for the tick exactly when it is due, whatever the pump interval.
    m_nextPumpMs = m_running ? std::min(now + eventPumpMs, m_nextTickMs) : now + eventPumpMs;
    if (m_ui.takeAbortRequest())
        result.abortRequested = m_ui.askYesNo(warningTitle(), abortQuestion(), MessageIcon::Warning);
    return result;
}

void LongTask::showProgress(const QString &text, qint64 value)
{
    m_ui.setStatusText(text);
    m_ui.setProgressValue(value);
}

void LongTask::setMaximum(qint64 maximum)
{
    m_ui.setProgressRange(0, maximum);
}

void LongTask::showValue(qint64 value)
{
    m_ui.setProgressValue(value);
}

void LongTask::finish(const QString &text)
{
    m_running = false;
    m_ui.setProgressValue(0);
    m_ui.setStatusText(text);
}

void LongTask::cancel(const QString &text)
{
    m_running = false;
    m_ui.setProgressValue(0);
    m_ui.setStatusText(text);
}

bool LongTask::checkDecodeVolume(qint64 derivedCount, DecodeVolumeText variant)
{
    const qint64 limit = m_settings.decodeWarnLimit;
    if (limit <= 0 || m_volumeWarned || derivedCount < limit)
        return false;
    m_volumeWarned = true;
    QString tail;
    switch (variant) {
    case DecodeVolumeText::Disk:
        tail = QStringLiteral(" words have been decoded.\n\nThis represents a huge amount of data in the HDD\n"
                              "that can fill it up and crash the computer.\n\nAbort?");
        break;
    case DecodeVolumeText::Ram:
        tail = QStringLiteral(" words have been decoded.\n\nThis represents a huge amount of data in the RAM\n"
                              "that can fill it up and crash the computer.\n\nAbort?");
        break;
    case DecodeVolumeText::RamShort:
        tail = QStringLiteral(" words have been decoded.\n\nThis represents a huge amount of data in RAM\n"
                              "that can fill it up and crash the computer.\n\nAbort?");
        break;
    }
    return m_ui.askYesNo(warningTitle(), QStringLiteral("Over ") + formatCount(limit) + tail, MessageIcon::Warning);
}

qint64 LongTask::elapsedMs() const
{
    return m_ui.clock().monotonicMs() - m_startMs;
}

QString LongTask::elapsedText(const QString &prefix) const
{
    return FormatElapsed(prefix, elapsedMs());
}

QString LongTask::formatCount(qint64 n) const
{
    return FormatCount(n, m_settings.thousandsSeparator);
}

} // namespace lexaloom
