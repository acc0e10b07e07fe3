#include "core/dictionary/dic_line_reader.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include "core/shell/text_codec.h"

using namespace lexaloom;

namespace {

QStringList readAll(const QByteArray &bytes, DicReadQuestions questions = {})
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    DicStreamReader reader(buffer, std::move(questions));
    QStringList entries;
    QStringView entry;
    DicStreamReader::Status status;
    while ((status = reader.next(entry)) == DicStreamReader::Status::Entry)
        entries.append(entry.toString());
    if (status == DicStreamReader::Status::End) {
        EXPECT_EQ(reader.position(), buffer.size());
    }
    return entries;
}

// What the lines of a whole text are, split without blocks.
QStringList oracle(const QByteArray &bytes)
{
    QString text = DecodeLossless(WithoutUtf8Bom(bytes));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    lines.removeFirst();
    for (QString &line : lines)
        line.replace(line.indexOf(u'\t'), 1, u'\n');
    return lines;
}

} // namespace

TEST(DicStreamReaderTest, FirstLineIsDroppedOnlyWhenItIsACount)
{
    const struct {
        const char *bytes;
        QStringList entries;
    } cases[] = {
        {"2\nwalk/GDS\ntalk\n", {"walk/GDS", "talk"}},
        {"\xEF\xBB\xBF 12 \r\nwalk\r\n", {"walk"}},
        {"\nwalk\n", {"walk"}},
        {"walk/GDS\ntalk\n", {"walk/GDS", "talk"}}, // pasted without a count line
        // Hunspell reads the leading number and ignores the rest of the line.
        {"12abc\ntalk\n", {"talk"}},
        {"160502\t# Produced By hand\nwalk\n", {"walk"}},
        {"\xEF\xBB\xBF  170812\t1\nwalk\n", {"walk"}},
        {"\t7 words\nwalk\n", {"walk"}},
        {"-5\nwalk\n", {"-5", "walk"}},
        {"x12\nwalk\n", {"x12", "walk"}},
        {"walk\tpo:verb\n", {"walk\npo:verb"}},
        {"2\nwalk/GDS\ntalk\r", {"walk/GDS", "talk"}}, // a CR at the very end, nothing after it
        {"1", {}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readAll(c.bytes), c.entries) << c.bytes;
}

TEST(DicStreamReaderTest, SpaceSeparatorQuestion)
{
    const QByteArray bytes = "3\nwalk/S po:verb\nthe end\nrun\tpo:verb x\n";
    int asked = 0;
    EXPECT_EQ(readAll(bytes, {[&] { return ++asked, true; }, {}}),
              QStringList({"walk/S\npo:verb", "the\nend", "run\npo:verb x"}));
    EXPECT_EQ(readAll(bytes, {[&] { return ++asked, false; }, {}}),
              QStringList({"walk/S po:verb", "the end", "run\npo:verb x"}));
    EXPECT_EQ(asked, 2);
}

TEST(DicStreamReaderTest, BytesThatAreNotUtf8AreKeptAndReportedOnce)
{
    QList<qint64> lines;
    const QByteArray bytes = "3\nwalk/\xE1\xE9\ncaf\xC3\xA9\nx\xFF\n";
    const QStringList entries = readAll(bytes, {{}, [&](qint64 line) { return lines.append(line), true; }});
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(EncodeLossless(entries[0]), QByteArray("walk/\xE1\xE9"));
    EXPECT_EQ(entries[1], QStringLiteral("caf\u00E9"));
    EXPECT_EQ(lines, QList<qint64>({2}));
    EXPECT_TRUE(readAll(bytes, {{}, [](qint64) { return false; }}).isEmpty());
}

// Each line end placed on every byte around the reader's block boundary.
TEST(DicStreamReaderTest, LineEndsAroundABlockBoundary)
{
    constexpr qsizetype block = DicStreamReader::blockBytes;
    for (const char *bom : {"", "\xEF\xBB\xBF"}) {
        for (const QByteArray &end : {QByteArray("\n"), QByteArray("\r"), QByteArray("\r\n")}) {
            for (qsizetype at = block - 3; at <= block + 2; ++at) {
                QByteArray bytes = QByteArray(bom) + "9" + end;
                // Filler lines up to `at`, then the line end under test exactly there.
                int n = 0;
                const QByteArray tags(300, 't');
                while (bytes.size() + 400 < at)
                    bytes += "word" + QByteArray::number(n++) + "/AB\tpo:" + tags + end;
                bytes += QByteArray(at - bytes.size(), 'z');
                bytes += end + "tail\tis:last" + end + "after";
                const QStringList expected = oracle(bytes);
                const QStringList got = readAll(bytes);
                ASSERT_EQ(got.size(), expected.size()) << at << ' ' << end.toHex().constData();
                EXPECT_EQ(got, expected) << at << ' ' << end.toHex().constData();
            }
        }
    }
}
