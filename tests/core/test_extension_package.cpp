#include "core/app/command_states.h"
#include "core/app/workbench.h"
#include "core/extensions/extension_package.h"

#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

// The open flow of this version: the question about changed documents, the dialog,
// then "Not coded yet." whatever was picked; nothing else changes.
TEST(ExtensionPackageTest, OpenFlowOnlyPicksAFileAndSaysSo)
{
    const struct {
        const char *label;
        bool changedDictionary;
        std::deque<bool> answers;
        std::deque<QString> picked;
        QStringList messages;
        QStringList statuses;
        bool dialogShown;
    } cases[] = {
        {"pick", false, {}, {"/tmp/en.oxt"}, {"Not coded yet."}, {}, true},
        {"cancel", false, {}, {""}, {"Not coded yet."}, {"Aborted."}, true},
        {"changed, Yes",
         true,
         {true},
         {"/tmp/en.xpi"},
         {QString::fromUtf16(u"The following files have been changed:\n  \u2014 Dictionary\n\nContinue?"),
          "Not coded yet."},
         {},
         true},
        {"changed, No",
         true,
         {false},
         {},
         {QString::fromUtf16(u"The following files have been changed:\n  \u2014 Dictionary\n\nContinue?")},
         {},
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        Workbench wb(QStringLiteral("/tmp/"));
        wb.dictionary.changed = c.changedDictionary;
        wb.dictionary.entries.append(QStringLiteral("word"));
        ScriptedUi ui;
        ui.answers = c.answers;
        ui.openPaths = c.picked;
        ui.setStatusText(QStringLiteral("Ready."));
        ui.clearRecords();
        OpenExtensionPackage(ui, [&](const QString &q) { return ConfirmDiscardChanges(wb, ui, q); });
        EXPECT_EQ(ui.messageTexts(), c.messages);
        EXPECT_EQ(ui.statuses, c.statuses);
        EXPECT_EQ(ui.dialogTitles, c.dialogShown ? QStringList{"Open Extension .xpi/.oxt"} : QStringList{});
        if (!ui.messages.isEmpty() && ui.messages.last().text == QStringLiteral("Not coded yet.")) {
            EXPECT_EQ(ui.messages.last().title, QStringLiteral("Warning!"));
            EXPECT_EQ(ui.messages.last().icon, MessageIcon::Warning);
        }
        EXPECT_EQ(wb.dictionary.entries.size(), 1);
        EXPECT_EQ(wb.dictionary.changed, c.changedDictionary);
        EXPECT_EQ(wb.recentFiles.list(DocumentKind::Dictionary), RecentFiles().list(DocumentKind::Dictionary));
    }
    EXPECT_EQ(extensionPackageFilter(), QStringLiteral(".xpi/.oxt (*.xpi/*.oxt)|*.xpi;*.oxt;"));
}
