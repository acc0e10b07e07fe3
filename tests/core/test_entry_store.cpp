#include "core/shell/entry_store.h"

#include <QStringList>

#include "gtest_qt_printers.h"

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

namespace {

// "a*" is a marked entry "a".
EntryStore storeOf(std::initializer_list<const char *> entries)
{
    EntryStore s;
    for (const char *e : entries) {
        QString text = QString::fromUtf8(e);
        const bool marked = text.endsWith(QLatin1Char('*'));
        if (marked)
            text.chop(1);
        s.append(text);
        s.setMarked(s.size() - 1, marked);
    }
    return s;
}

QStringList shownOf(const EntryStore &s)
{
    QStringList out;
    for (qint64 i = 0; i < s.size(); ++i)
        out << s.at(i) + (s.isMarked(i) ? QStringLiteral("*") : QString());
    return out;
}

qint64 countMarks(const EntryStore &s)
{
    qint64 n = 0;
    for (qint64 i = 0; i < s.size(); ++i)
        n += s.isMarked(i) ? 1 : 0;
    return n;
}

} // namespace

TEST(EntryStoreTest, BulkRemovalKeepsOrderAndMarks)
{
    struct Case {
        const char *name;
        std::initializer_list<const char *> before;
        // Empty: remove the marked entries; otherwise remove these indexes.
        std::vector<qint64> indexes;
        qint64 removed;
        QStringList after;
    };
    const Case cases[] = {
        {"marked, spread", {"a*", "b", "c*", "d", "e*"}, {}, 3, {"b", "d"}},
        {"marked, none", {"a", "b"}, {}, 0, {"a", "b"}},
        {"marked, all", {"a*", "b*"}, {}, 2, {}},
        {"marked, empty store", {}, {}, 0, {}},
        {"indexes, unsorted with repeats", {"a", "b*", "c", "d*", "e"}, {3, 0, 3}, 2, {"b*", "c", "e"}},
        {"indexes, out of range ignored", {"a*", "b"}, {-1, 2, 1}, 1, {"a*"}},
        {"indexes, last and first", {"a*", "b*", "c*"}, {2, 0}, 2, {"b*"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EntryStore s = storeOf(c.before);
        const qint64 removed = c.indexes.empty() ? s.removeMarked() : s.removeIndexes(c.indexes);
        EXPECT_EQ(removed, c.removed);
        EXPECT_EQ(shownOf(s), c.after);
        EXPECT_EQ(s.markedCount(), countMarks(s));
        s.append(u"new"); // the store stays usable after a bulk edit
        EXPECT_EQ(s.at(s.size() - 1), QStringLiteral("new"));
        EXPECT_FALSE(s.isMarked(s.size() - 1));
    }
}

TEST(EntryStoreTest, BulkRewritesKeepMarksAndReclaimSpace)
{
    EntryStore s = storeOf({"cat*", "dog", "cow*", "ant"});
    s.replaceMany({{2, QStringLiteral("calf")}, {0, QStringLiteral("kitten")}});
    EXPECT_EQ(shownOf(s), QStringList({"kitten*", "dog", "calf*", "ant"}));
    EXPECT_EQ(s.markedCount(), 2);

    const qint64 rewritten = s.rewriteAll([](qint64 i, QStringView entry) -> std::optional<QString> {
        if (entry.startsWith(u'c') || i == 3)
            return entry.toString().toUpper();
        return std::nullopt;
    });
    EXPECT_EQ(rewritten, 2);
    EXPECT_EQ(shownOf(s), QStringList({"kitten*", "dog", "CALF*", "ANT"}));
    EXPECT_EQ(s.markedCount(), 2);

    // Rewrites large enough to make the store compact its buffer keep the right texts.
    EntryStore big;
    for (int i = 0; i < 1000; ++i)
        big.append(QString(200, QLatin1Char('x')));
    std::vector<std::pair<qint64, QString>> replacements;
    for (int round = 0; round < 5; ++round) {
        replacements.clear();
        for (qint64 i = 0; i < big.size(); ++i)
            replacements.emplace_back(i, QString(200, QChar(u'a' + round)));
        big.replaceMany(replacements);
    }
    EXPECT_EQ(big.at(999), QString(200, QLatin1Char('e')));
    EntryStore copy = big;
    copy.rewriteAll([](qint64, QStringView) { return std::optional<QString>(); });
    EXPECT_TRUE(copy == big);
}
