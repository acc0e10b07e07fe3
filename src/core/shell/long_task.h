#pragma once

#include "core/shell/ui.h"

#include <QString>

#include <type_traits>

namespace lexaloom {

struct MainSettings;

// Texts of the volume warning that follow "Over <limit>".
enum class DecodeVolumeText { Disk, Ram, RamShort };

// Where a long task's loop polls: before each item (the default) or after it, and
// whether a tick that comes with the confirmed abort is still drawn (the default) or
// not. (A namespace-level struct: as a nested one its initialisers could not serve as
// a default argument inside LongTask.)
struct LongTaskLoopOrder {
    bool pollAfterItem = false;
    bool abortBeforeTick = false;
};

// The convention every long operation follows on the GUI thread: status text and
// progress bar, a refresh tick (every 800 ms unless a window asks for its own period),
// Escape with "Really abort?", and the closing "OK."/"Aborted." texts. The tick is
// derived from the Ui's clock, so it exists only while the task runs and ends on every
// path, destructor included. Inside a tool window the Ui is the window's PanelUi.
class LongTask final {
public:
    struct PollResult {
        bool ticked = false;
        bool abortRequested = false;
    };

    static constexpr qint64 tickMs = 800;
    // Window events are pumped at most this often; polling in between costs a clock read.
    static constexpr qint64 eventPumpMs = 25;

    LongTask(Ui &ui, const MainSettings &settings, qint64 periodMs = tickMs);
    ~LongTask();
    LongTask(const LongTask &) = delete;
    LongTask &operator=(const LongTask &) = delete;

    void begin(const QString &statusText, qint64 maximum);

    // Call once per item. Cheap: events are handled and the clock checked for the
    // tick only when the pump interval has passed.
    PollResult poll()
    {
        const qint64 now = m_ui.clock().monotonicMs();
        if (now < m_nextPumpMs)
            return {};
        return pollSlow(now);
    }

    using LoopOrder = LongTaskLoopOrder;

    // The loop of a long task over the items 0..count-1: body(i) for each item, a poll
    // per item, onTick(i) on a tick and a stop when the user confirmed the abort. A body
    // returning bool stops the loop by returning false. Returns false only when the run
    // was aborted; the caller cancels and keeps or drops the partial work, which differs
    // per task.
    template <typename Tick, typename Body>
    bool forEach(qint64 count, Tick &&onTick, Body &&body, LoopOrder order = {})
    {
        for (qint64 i = 0; i < count; ++i) {
            if (!order.pollAfterItem && !pollItem(i, onTick, order))
                return false;
            if constexpr (std::is_same_v<std::invoke_result_t<Body &, qint64>, bool>) {
                if (!body(i))
                    return true;
            } else {
                body(i);
            }
            if (order.pollAfterItem && !pollItem(i, onTick, order))
                return false;
        }
        return true;
    }

    // On a tick: writes the text and the progress value.
    void showProgress(const QString &text, qint64 value);
    // The bar alone, for windows whose status text stays put while the bar moves.
    void setMaximum(qint64 maximum);
    void showValue(qint64 value);
    void finish(const QString &text);
    void cancel(const QString &text = abortedText());

    // The volume warning: true when the user chose to abort. Shown at most once per run.
    bool checkDecodeVolume(qint64 derivedCount, DecodeVolumeText variant);

    qint64 elapsedMs() const;
    qint64 periodMs() const { return m_periodMs; }
    bool isRunning() const { return m_running; }
    // FormatElapsed(" ⌚", elapsed) for the status texts.
    QString elapsedText(const QString &prefix = QStringLiteral(" \u231A")) const;
    QString formatCount(qint64 n) const;

    static QString abortedText() { return QStringLiteral("Aborted."); }
    static QString abortQuestion() { return QStringLiteral("Really abort?"); }
    static QString warningTitle() { return QStringLiteral("Warning!"); }

private:
    PollResult pollSlow(qint64 now);

    // One poll of forEach: false when the user confirmed the abort.
    template <typename Tick>
    bool pollItem(qint64 i, Tick &onTick, LoopOrder order)
    {
        const PollResult polled = poll();
        if (order.abortBeforeTick && polled.abortRequested)
            return false;
        if (polled.ticked)
            onTick(i);
        return !polled.abortRequested;
    }

    Ui &m_ui;
    const MainSettings &m_settings;
    qint64 m_periodMs;
    bool m_running = false;
    bool m_volumeWarned = false;
    qint64 m_startMs = 0;
    qint64 m_nextTickMs = 0;
    qint64 m_nextPumpMs = 0;
};

} // namespace lexaloom
