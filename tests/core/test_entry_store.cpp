#include "shell/entry_store.h"

#include <gtest/gtest.h>

using namespace lexaloom;

TEST(EntryStoreTest, EditsKeepTextsAndMarks)
{
    EntryStore s;
    for (const char16_t *e : {u"b/AB\npo:noun", u"a", u"c/Z"})
        s.append(e);
    s.setMarked(0, true);
    s.setMarked(2, true);
    s.setMarked(2, true); // marking twice counts once
    EXPECT_EQ(s.markedCount(), 2);
    s.insert(1, u"inserted");
    EXPECT_EQ(s.at(1), QStringLiteral("inserted"));
    EXPECT_FALSE(s.isMarked(1));
    EXPECT_TRUE(s.isMarked(3));
    s.replace(0, u"bb");
    EXPECT_EQ(s.at(0), QStringLiteral("bb"));
    EXPECT_TRUE(s.isMarked(0));
    s.remove(0);
    EXPECT_EQ(s.markedCount(), 1);
    EXPECT_EQ(s.size(), 3);
    s.sort([](QStringView a, QStringView b) { return a < b; });
    EXPECT_EQ(s.at(0), QStringLiteral("a"));
    EXPECT_EQ(s.at(1), QStringLiteral("c/Z"));
    EXPECT_TRUE(s.isMarked(1));
    EXPECT_EQ(s.at(2), QStringLiteral("inserted"));
}

TEST(EntryStoreTest, ManyReplacementsReclaimSpace)
{
    EntryStore s;
    for (int i = 0; i < 1000; ++i)
        s.append(QString::number(i));
    const QString longText(500, QLatin1Char('x'));
    for (int round = 0; round < 300; ++round)
        s.replace(round % 1000, longText + QString::number(round));
    EXPECT_EQ(s.at(299), longText + QStringLiteral("299"));
    EXPECT_EQ(s.at(300), QStringLiteral("300"));
    EntryStore copy = s;
    EXPECT_TRUE(copy == s);
    copy.remove(999);
    EXPECT_FALSE(copy == s);
}
