#include "core/shell/long_task.h"
#include "core/shell/settings.h"

#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// Runs a task over `items` items, advancing the fake clock `msPerItem` each, and
// returns how many items were done before it stopped.
int runTask(ScriptedUi &ui, LongTask &task, int items, qint64 msPerItem, int *ticks = nullptr)
{
    task.begin(QStringLiteral("Working... <ESC> to abort."), items);
    for (int i = 0; i < items; ++i) {
        ui.fakeClock.advance(msPerItem);
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            if (ticks)
                ++*ticks;
            task.showProgress(QStringLiteral("Working... ") + QString::number(i), i);
        }
        if (poll.abortRequested) {
            task.cancel();
            return i;
        }
    }
    task.finish(QStringLiteral("OK.") + task.elapsedText());
    return items;
}

} // namespace

TEST(LongTaskTest, TicksEvery800MsAndFinishes)
{
    ScriptedUi ui;
    MainSettings settings;
    LongTask task(ui, settings);
    int ticks = 0;
    EXPECT_EQ(runTask(ui, task, 100, 40, &ticks), 100); // 4 s of work
    EXPECT_EQ(ticks, 5);
    EXPECT_FALSE(task.isRunning());
    EXPECT_EQ(ui.statusText(), QStringLiteral("OK. \u231A00m04s"));
    EXPECT_EQ(ui.progressValue(), 0);
    EXPECT_EQ(ui.progressMaximum, 100);
    EXPECT_EQ(ui.statuses.first(), QStringLiteral("Working... <ESC> to abort."));
}

TEST(LongTaskTest, WindowsChooseTheirOwnPeriod)
{
    // 4 s of work: the default 800 ms tick, the AFF Validate window's 900 ms, and a
    // period that is not positive falling back to the default.
    const struct {
        qint64 periodMs;
        int ticks;
    } cases[] = {{LongTask::tickMs, 5}, {900, 4}, {0, 5}};
    for (const auto &c : cases) {
        ScriptedUi ui;
        MainSettings settings;
        LongTask task(ui, settings, c.periodMs);
        int ticks = 0;
        EXPECT_EQ(runTask(ui, task, 100, 40, &ticks), 100);
        EXPECT_EQ(ticks, c.ticks) << c.periodMs;
    }
}

TEST(LongTaskTest, PollIsCheapBetweenEventPumps)
{
    ScriptedUi ui;
    MainSettings settings;
    LongTask task(ui, settings);
    task.begin(QStringLiteral("x"), 10);
    for (int i = 0; i < 100000; ++i)
        task.poll(); // the clock does not move: events are pumped once
    EXPECT_EQ(ui.processEventsCalls, 1);
    ui.fakeClock.advance(LongTask::eventPumpMs);
    task.poll();
    EXPECT_EQ(ui.processEventsCalls, 2);
}

TEST(LongTaskTest, EscapeAnsweredNoContinuesAndYesAborts)
{
    ScriptedUi ui;
    MainSettings settings;
    int events = 0;
    ui.onProcessEvents = [&events](ScriptedUi &u) {
        ++events;
        if (events == 3 || events == 6)
            u.pressEscape();
    };
    ui.answers = {false, true};
    LongTask task(ui, settings);
    const int done = runTask(ui, task, 50, LongTask::eventPumpMs);
    EXPECT_EQ(done, 5); // the first Escape (No) was used up; the second (Yes) stopped it
    ASSERT_EQ(ui.messages.size(), 2);
    for (const auto &m : ui.messages) {
        EXPECT_EQ(m.title, QStringLiteral("Warning!"));
        EXPECT_EQ(m.text, QStringLiteral("Really abort?"));
        EXPECT_EQ(m.icon, MessageIcon::Warning);
        EXPECT_TRUE(m.question);
    }
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(ui.progressValue(), 0);
    EXPECT_FALSE(task.isRunning());
}

TEST(LongTaskTest, EarlyExitStopsTheTask)
{
    ScriptedUi ui;
    MainSettings settings;
    {
        LongTask task(ui, settings);
        task.begin(QStringLiteral("x"), 10);
        ui.fakeClock.advance(900);
        EXPECT_TRUE(task.poll().ticked);
        task.showProgress(QStringLiteral("half"), 5);
    } // left without finish or cancel, as an error path would
    EXPECT_EQ(ui.progressValue(), 0);

    // A new task starts its own tick period: no stale tick from the earlier one.
    LongTask next(ui, settings);
    next.begin(QStringLiteral("y"), 10);
    ui.fakeClock.advance(799);
    EXPECT_FALSE(next.poll().ticked);
    ui.fakeClock.advance(1);
    EXPECT_TRUE(next.poll().ticked);
}

TEST(LongTaskTest, VolumeWarning)
{
    const struct {
        qint32 limit;
        DecodeVolumeText variant;
        const char *expectedText; // nullptr: never asked
    } cases[] = {
        {0, DecodeVolumeText::Disk, nullptr},
        {10, DecodeVolumeText::Disk,
         "Over 10 words have been decoded.\n\nThis represents a huge amount of data in the HDD\nthat can fill it up "
         "and crash the computer.\n\nAbort?"},
        {2000000, DecodeVolumeText::Ram,
         "Over 2,000,000 words have been decoded.\n\nThis represents a huge amount of data in the RAM\nthat can fill "
         "it up and crash the computer.\n\nAbort?"},
        {3, DecodeVolumeText::RamShort,
         "Over 3 words have been decoded.\n\nThis represents a huge amount of data in RAM\nthat can fill it up and "
         "crash the computer.\n\nAbort?"},
    };
    for (const auto &c : cases) {
        ScriptedUi ui;
        MainSettings settings;
        settings.decodeWarnLimit = c.limit;
        ui.answers = {false};
        LongTask task(ui, settings);
        task.begin(QStringLiteral("x"), 0);
        int askedAt = -1;
        for (int count = 1; count <= 2500000; count += (count < 100 ? 1 : 99999)) {
            const qsizetype before = ui.messages.size();
            EXPECT_FALSE(task.checkDecodeVolume(count, c.variant)); // answered No: never aborts
            if (ui.messages.size() != before && askedAt < 0)
                askedAt = count;
        }
        if (!c.expectedText) {
            EXPECT_TRUE(ui.messages.isEmpty());
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1) << c.limit;
        EXPECT_EQ(ui.messages[0].text, QString::fromUtf8(c.expectedText));
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
        EXPECT_GE(askedAt, c.limit);
        if (c.limit == 10) {
            EXPECT_EQ(askedAt, 10);
        }
    }

    ScriptedUi ui;
    MainSettings settings;
    settings.decodeWarnLimit = 5;
    ui.answers = {true};
    LongTask task(ui, settings);
    task.begin(QStringLiteral("x"), 0);
    EXPECT_FALSE(task.checkDecodeVolume(4, DecodeVolumeText::Disk));
    EXPECT_TRUE(task.checkDecodeVolume(5, DecodeVolumeText::Disk));
}

TEST(LongTaskTest, LoopHelperPollsTicksAndStops)
{
    // Each item costs 400 ms, so every second poll ticks; Escape (Yes) is pressed in the
    // fifth event pump, which is also a tick: by default that tick is drawn before the
    // stop, abortBeforeTick stops first. Polling after each item moves the polls one
    // item on. A body returning false stops the loop without an abort.
    using Order = LongTask::LoopOrder;
    const struct {
        Order order;
        int escapeAtEvent; // 0: never
        int stopAfter;     // the body returns false after this item; -1: never
        bool completed;
        int bodies;
        QStringList ticks;
    } cases[] = {
        {Order{}, 0, -1, true, 6, {"tick 2", "tick 4"}},
        {Order{.abortBeforeTick = true}, 0, -1, true, 6, {"tick 2", "tick 4"}},
        {Order{}, 5, -1, false, 4, {"tick 2", "tick 4"}},
        {Order{.abortBeforeTick = true}, 5, -1, false, 4, {"tick 2"}},
        {Order{}, 0, 2, true, 3, {"tick 2"}},
        {Order{.pollAfterItem = true}, 0, -1, true, 6, {"tick 1", "tick 3", "tick 5"}},
        {Order{.pollAfterItem = true}, 5, -1, false, 5, {"tick 1", "tick 3"}},
        {Order{.pollAfterItem = true, .abortBeforeTick = true}, 6, -1, false, 6, {"tick 1", "tick 3"}},
        {Order{.pollAfterItem = true}, 0, 2, true, 3, {"tick 1"}},
    };
    for (const auto &c : cases) {
        ScriptedUi ui;
        MainSettings settings;
        int events = 0;
        ui.onProcessEvents = [&](ScriptedUi &u) {
            if (++events == c.escapeAtEvent)
                u.pressEscape();
        };
        ui.answers = {true};
        LongTask task(ui, settings);
        task.begin(QStringLiteral("x"), 6);
        QStringList ticks;
        int bodies = 0;
        const bool completed = task.forEach(
            6, [&](qint64 i) { ticks.append(QStringLiteral("tick ") + QString::number(i)); },
            [&](qint64 i) {
                ++bodies;
                ui.fakeClock.advance(400);
                return i != c.stopAfter;
            },
            c.order);
        const QString label = QStringLiteral("after %1, abort first %2, escape at %3")
                                  .arg(c.order.pollAfterItem)
                                  .arg(c.order.abortBeforeTick)
                                  .arg(c.escapeAtEvent);
        EXPECT_EQ(completed, c.completed) << label.toStdString();
        EXPECT_EQ(bodies, c.bodies) << label.toStdString();
        EXPECT_EQ(ticks, c.ticks) << label.toStdString();
    }
}
