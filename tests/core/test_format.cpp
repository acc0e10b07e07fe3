#include "core/shell/format.h"

#include <gtest/gtest.h>

using namespace lexaloom;

TEST(FormatTest, Count)
{
    const struct {
        qint64 n;
        const char *separator;
        const char *expected;
    } cases[] = {
        {-1234, ",", "-1,234"}, {999, ",", "999"},       {1200000, ",", "1,200,000"}, {1200000, "", "1200000"},
        {0, ",", "0"},          {-999, ",", "-999"},     {-100000, ".", "-100.000"},  {1000, " ", "1 000"},
        {std::numeric_limits<qint64>::min(), ",", "-9,223,372,036,854,775,808"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatCount(c.n, QString::fromUtf8(c.separator)), QString::fromUtf8(c.expected)) << c.n;
}

TEST(FormatTest, Elapsed)
{
    const QString watch = QStringLiteral("\u231A");
    const struct {
        qint64 ms;
        const char *expected;
    } cases[] = {
        {65000, "01m05s"},           {3600000, "01h00m00s"},       {90061000, "1d01h01m01s"},
        {0, "00m00s"},               {999, "00m00s"},              {86400000 + 7000, "1d00h00m07s"},
        {3599999, "59m59s"},         {86399000, "23h59m59s"},      {12LL * 86400000, "12d00h00m00s"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatElapsed(watch, c.ms), watch + QString::fromUtf8(c.expected)) << c.ms;
    EXPECT_EQ(FormatElapsed(QStringLiteral(" \u231A"), 65000), QStringLiteral(" \u231A01m05s"));
}

TEST(FormatTest, Percent)
{
    const struct {
        qint64 done, total;
        const char *expected;
    } cases[] = {
        {1, 3, " (33.33%)"}, {1, 2, " (50%)"}, {0, 5, " (0%)"}, {5, 5, " (100%)"}, {4567, 10000, " (45.67%)"},
        {1, 10, " (10%)"},   {1, 8, " (12.50%)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatPercent(c.done, c.total), QString::fromUtf8(c.expected)) << c.done << "/" << c.total;
}

TEST(FormatTest, FileSize)
{
    const struct {
        qint64 bytes;
        bool bracketed;
        const char *expected;
    } cases[] = {
        {1023, true, "(dic:1023 bytes)"},    {1024, true, "(dic:1.0 kB)"},
        {1048576, true, "(dic:1.0 MB)"},     {1073741824, true, "(dic:1.0 GB)"},
        {0, false, "dic:0 bytes"},           {1048575, false, "dic:1024.0 kB"},
        {12595, false, "dic:12.3 kB"},       {1073741823, false, "dic:1024.0 MB"},
        {5LL * 1073741824 / 2, true, "(dic:2.5 GB)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatFileSize(QStringLiteral("dic:"), c.bytes, c.bracketed), QString::fromUtf8(c.expected))
            << c.bytes;
    EXPECT_EQ(FormatFileSize(QString(), 2048, false), QStringLiteral("2.0 kB"));
}
