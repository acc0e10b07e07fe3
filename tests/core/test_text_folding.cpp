#include <QString>

#include <gtest/gtest.h>

#include "core/shell/text_folding.h"
#include "gtest_qt_printers.h"

using namespace lexaloom;

TEST(TextFolding, FoldAccents)
{
    struct Case {
        const char *in;
        const char *out;
    };
    const Case cases[] = {
        {"Éclair", "eclair"},
        {"Ørsted", "orsted"},
        {"æsir", "asir"},
        {"ÀÉÎÕÜ", "aeiou"},
        {"ḃḋḟṁṗṡṫ", "bdfmpst"},
        {"ўýỳŷÿ ɉ ƚłľ ẃẁŵẅ", "yyyyy j lll wwww"},
        {"ăĕğ ễ ș ț ř ž", "aeg e s t r z"},
        {"straße œuvre þorn ıi", "straße œuvre þorn ıi"},
        // The capital dotted I sorts with the other i's.
        {"İstanbul", "istanbul"},
        {"1st, 2nd! (x)", "1st, 2nd! (x)"},
        {"", ""},
    };
    for (const Case &c : cases) {
        const QString in = QString::fromUtf8(c.in);
        const QString folded = FoldAccents(in);
        EXPECT_EQ(folded, QString::fromUtf8(c.out)) << c.in;
        EXPECT_EQ(folded.size(), in.size()) << c.in;
    }
    // Letters whose full lower case is longer still give one unit each.
    EXPECT_EQ(FoldAccents(QStringLiteral("\u0130x")).size(), 2);
    // Characters outside the basic plane keep both units.
    EXPECT_EQ(FoldAccents(QString::fromUtf8("\xF0\x90\x90\x80")), QString::fromUtf8("\xF0\x90\x90\xA8"));
}

TEST(TextFolding, CollapseSpaces)
{
    struct Case {
        const char *in;
        const char *out;
    };
    const Case cases[] = {
        {"a        b", "a b"}, {"   ", ""},           {"", ""},        {"  a  b   c  ", "a b c"},
        {"a\tb", "a\tb"},      {"a \t  b", "a \t b"}, {"\ta ", "\ta"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CollapseSpaces(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}
