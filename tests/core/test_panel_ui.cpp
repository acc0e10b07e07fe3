#include "core/shell/long_task.h"
#include "core/shell/panel_ui.h"
#include "core/shell/settings.h"

#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

struct RecordingPanel final : ProgressPanel {
    QStringList texts;
    QList<qint64> values;
    qint64 maximum = -1;

    void setPanelText(const QString &text) override { texts.append(text); }
    void setPanelRange(qint64, qint64 max) override { maximum = max; }
    void setPanelValue(qint64 value) override { values.append(value); }
};

} // namespace

TEST(PanelUiTest, TaskShowsOnThePanelAndWindowEscapeAborts)
{
    ScriptedUi program;
    RecordingPanel panel;
    PanelUi ui(program, panel);
    MainSettings settings;
    program.answers = {false, true};

    LongTask task(ui, settings);
    task.begin(QStringLiteral("<ESC> to abort."), 10);
    program.fakeClock.advance(800);
    EXPECT_TRUE(task.poll().ticked);
    task.showProgress(QStringLiteral("<ESC> to abort."), 4);

    // The window's own Escape and the program's Abort shortcut both reach the task.
    ui.requestAbort();
    program.fakeClock.advance(LongTask::eventPumpMs);
    EXPECT_FALSE(task.poll().abortRequested); // answered No
    program.pressEscape();
    program.fakeClock.advance(LongTask::eventPumpMs);
    EXPECT_TRUE(task.poll().abortRequested);
    task.cancel(QString());

    EXPECT_EQ(panel.texts,
              (QStringList{QStringLiteral("<ESC> to abort."), QStringLiteral("<ESC> to abort."), QString()}));
    EXPECT_EQ(panel.values, (QList<qint64>{0, 4, 0}));
    EXPECT_EQ(panel.maximum, 10);
    EXPECT_EQ(ui.statusText(), QString());
    // The status bar is left alone; the questions went to the program's Ui.
    EXPECT_TRUE(program.statuses.isEmpty());
    EXPECT_TRUE(program.progressValues.isEmpty());
    EXPECT_EQ(program.messageTexts(), (QStringList{QStringLiteral("Really abort?"), QStringLiteral("Really abort?")}));
}
