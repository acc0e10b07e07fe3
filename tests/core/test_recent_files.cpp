#include "core/shell/recent_files.h"

#include <QFile>
#include <QTemporaryDir>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "test_files.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::readFile;

namespace {

QStringList slotList(std::initializer_list<const char *> paths)
{
    QStringList list;
    for (const char *p : paths)
        list.append(QString::fromUtf8(p));
    while (list.size() < RecentFiles::slotCount)
        list.append(QString());
    return list;
}

class RecentFilesLogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Workbench workbench{dir.path()};

    QString logPath() const { return workbench.settingsPath(RecentFiles::logFileName()); }
    QByteArray log() const { return readFile(logPath()); }
};

} // namespace

TEST(RecentFilesTest, AddMovesToFrontDropsCopiesAndKeepsTen)
{
    RecentFiles recent;
    for (const char *p : {"10", "9", "8", "7", "6", "5", "4", "3", "2", "1"})
        recent.add(0, QString::fromUtf8(p));
    EXPECT_EQ(recent.list(0), slotList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));

    recent.add(0, QStringLiteral("4")); // slot 4 moves to slot 1, slots 1 to 3 shift down
    EXPECT_EQ(recent.list(0), slotList({"4", "1", "2", "3", "5", "6", "7", "8", "9", "10"}));

    recent.add(0, QStringLiteral("11")); // the eleventh distinct path pushes out slot 10
    EXPECT_EQ(recent.list(0), slotList({"11", "4", "1", "2", "3", "5", "6", "7", "8", "9"}));

    recent.add(0, QString()); // the empty path changes nothing
    EXPECT_EQ(recent.list(0).first(), QStringLiteral("11"));

    recent.add(1, QStringLiteral("t.dat"));
    recent.add(1, RecentFiles::clearPath());
    EXPECT_EQ(recent.list(1), slotList({}));
    EXPECT_EQ(recent.list(0).first(), QStringLiteral("11")); // other lists untouched
}

TEST(RecentFilesTest, LogHasSeventyCrLfLinesInListOrder)
{
    RecentFiles recent;
    recent.add(0, QStringLiteral("/d/é.dic"));
    recent.add(3, QStringLiteral("/a/DocumentList.xml"));
    const QByteArray bytes = recent.logBytes();
    EXPECT_EQ(bytes.count("\r\n"), 70);
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QByteArray> lines = bytes.split('\n');
    EXPECT_EQ(lines[0], QByteArray("/d/\xC3\xA9.dic\r"));
    EXPECT_EQ(lines[30], QByteArray("/a/DocumentList.xml\r"));

    RecentFiles read;
    read.readLog(bytes);
    EXPECT_EQ(read, recent);

    // A new log has 60 lines: the seventh list reads as empty.
    RecentFiles fromNew;
    fromNew.add(6, QStringLiteral("x"));
    fromNew.readLog(RecentFiles::newLogBytes());
    EXPECT_EQ(fromNew, RecentFiles());
    EXPECT_EQ(RecentFiles::newLogBytes(), QByteArray("\r\n").repeated(60));
}

TEST_F(RecentFilesLogTest, MissingLogIsCreatedThenRewrittenWithSeventyLines)
{
    EXPECT_TRUE(AddRecentFile(workbench, QString()));
    EXPECT_EQ(log(), QByteArray("\r\n").repeated(60));
    EXPECT_TRUE(AddRecentFile(workbench, QString()));
    EXPECT_EQ(log(), QByteArray("\r\n").repeated(70));
}

TEST_F(RecentFilesLogTest, AddsToTheCurrentTabAndRereadsTheLog)
{
    ASSERT_TRUE(AddRecentFile(workbench, QStringLiteral("/d/one.dic")));
    EXPECT_TRUE(log().startsWith("/d/one.dic\r\n"));
    EXPECT_EQ(log().count("\r\n"), 70);

    workbench.currentTab = DocumentKind::Thesaurus;
    ASSERT_TRUE(AddRecentFile(workbench, QStringLiteral("/t/th.dat")));
    ASSERT_TRUE(AddRecentFile(workbench, RecentFiles::clearPath()));
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::Thesaurus), slotList({}));
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::Dictionary), slotList({"/d/one.dic"}));

    // The log is the truth: another program instance's entries are kept.
    Workbench other(dir.path());
    ASSERT_TRUE(AddRecentFile(other, DocumentKind::Dictionary, QStringLiteral("/d/two.dic")));
    ASSERT_TRUE(AddRecentFile(workbench, DocumentKind::Dictionary, QString()));
    EXPECT_EQ(workbench.recentFiles.list(DocumentKind::Dictionary), slotList({"/d/two.dic", "/d/one.dic"}));
}

TEST_F(RecentFilesLogTest, MenuShowsTheCurrentTabsTenItems)
{
    ASSERT_TRUE(AddRecentFile(workbench, DocumentKind::Dictionary, QStringLiteral("/d/a.dic")));
    ASSERT_TRUE(AddRecentFile(workbench, DocumentKind::Dictionary, QStringLiteral("/d/b.dic")));
    RecentFilesMenu menu = RefreshRecentFilesMenu(workbench);
    EXPECT_EQ(menu[0], (RecentFilesMenuItem{QStringLiteral("1: /d/b.dic"), true}));
    EXPECT_EQ(menu[1], (RecentFilesMenuItem{QStringLiteral("2: /d/a.dic"), true}));
    EXPECT_EQ(menu[2], (RecentFilesMenuItem{QStringLiteral("3: "), false}));
    EXPECT_EQ(menu[9], (RecentFilesMenuItem{QStringLiteral("10: "), false}));

    workbench.currentTab = DocumentKind::Autocorrect;
    menu = RefreshRecentFilesMenu(workbench);
    EXPECT_FALSE(menu[0].enabled);
    EXPECT_EQ(menu[0].caption, QStringLiteral("1: "));
}
