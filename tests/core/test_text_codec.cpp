#include "core/shell/text_codec.h"

#include <QRandomGenerator>
#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace lexaloom;

namespace {

QByteArray bytesOf(const char *s, qsizetype n = -1)
{
    return QByteArray(s, n < 0 ? qsizetype(strlen(s)) : n);
}

// Lone surrogates cannot be written as \u escapes; a u"" literal takes raw code units.
QString units(const char16_t *s)
{
    return QString::fromUtf16(s);
}

} // namespace

// Each case: file bytes, the text they decode to, and how many bytes were not UTF-8.
TEST(TextCodecTest, DecodesEveryByteAndWritesItBack)
{
    const struct {
        QByteArray bytes;
        QString text;
        qsizetype invalid;
    } cases[] = {
        {bytesOf("walk/GDS\n"), QStringLiteral("walk/GDS\n"), 0},
        {bytesOf("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), QStringLiteral("caf\u00E9 \u20AC \U0001F600"), 0},
        {bytesOf("SFX \xE1 Y 1"), units(u"SFX \xDCE1 Y 1"), 1},
        {bytesOf("walk/\xE1\xE9"), units(u"walk/\xDCE1\xDCE9"), 2},
        // Truncated, overlong, surrogate and out-of-range sequences go byte by byte.
        {bytesOf("\xC3"), units(u"\xDCC3"), 1},
        {bytesOf("\xE2\x82"), units(u"\xDCE2\xDC82"), 2},
        {bytesOf("\xC0\xAF"), units(u"\xDCC0\xDCAF"), 2},
        {bytesOf("\xE0\x80\xAF"), units(u"\xDCE0\xDC80\xDCAF"), 3},
        {bytesOf("\xED\xB3\xA1"), units(u"\xDCED\xDCB3\xDCA1"), 3},
        {bytesOf("\xF4\x90\x80\x80"), units(u"\xDCF4\xDC90\xDC80\xDC80"), 4},
        {bytesOf("\xFF\xFE"), units(u"\xDCFF\xDCFE"), 2},
        // A raw byte right after a supplementary character stays apart from its pair.
        {bytesOf("\xF0\x9F\x98\x80\xB3"), units(u"\xD83D\xDE00\xDCB3"), 1},
        // A U+FEFF inside the text is text.
        {bytesOf("a\xEF\xBB\xBF"), QStringLiteral("a\uFEFF"), 0},
        {bytesOf("a\0b", 3), QString(QStringLiteral("a")) + QChar(0) + QStringLiteral("b"), 0},
    };
    for (const auto &c : cases) {
        qsizetype invalid = -1;
        const QString text = DecodeLossless(c.bytes, &invalid);
        EXPECT_EQ(text, c.text) << c.bytes.toHex().constData();
        EXPECT_EQ(invalid, c.invalid) << c.bytes.toHex().constData();
        EXPECT_EQ(FirstInvalidUtf8Offset(c.bytes) >= 0, c.invalid > 0) << c.bytes.toHex().constData();
        EXPECT_EQ(EncodeLossless(text), c.bytes) << c.bytes.toHex().constData();
    }
}

TEST(TextCodecTest, RandomBytesRoundTripAndValidTextDecodesAsUtf8)
{
    QRandomGenerator random(14);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(random.bounded(1, 64), Qt::Uninitialized);
        // Mix ASCII, lead and continuation bytes so that near-valid sequences are common.
        static const unsigned char pool[] = {'a',  '/',  '\n', 0x80, 0xA0, 0xBF, 0xC2, 0xC3, 0xDF, 0xE0, 0xE1,
                                             0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0x8F, 0x90, 0x9F, 0xC0};
        // A third of the rounds are mostly ASCII, so that runs long enough for the
        // codec's word-at-a-time paths meet other bytes at every offset.
        const int mode = round % 3;
        for (char &b : bytes) {
            if (mode == 2 && random.bounded(8) != 0)
                b = static_cast<char>('a' + random.bounded(26));
            else
                b = static_cast<char>(mode ? pool[random.bounded(int(sizeof pool))] : random.bounded(256));
        }
        qsizetype invalid = 0;
        const QString text = DecodeLossless(bytes, &invalid);
        ASSERT_EQ(EncodeLossless(text), bytes) << bytes.toHex().constData();

        QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString qtText = strict.decode(bytes);
        EXPECT_EQ(invalid == 0, !strict.hasError()) << bytes.toHex().constData();
        if (invalid == 0) {
            EXPECT_EQ(text, qtText) << bytes.toHex().constData();
        }
    }
}

TEST(TextCodecTest, TextNotFromAFileEncodes)
{
    const struct {
        QString text;
        QByteArray bytes;
    } cases[] = {
        {QStringLiteral("\u00E9"), bytesOf("\xC3\xA9")},
        {QString(QChar(0xD800)), bytesOf("\xEF\xBF\xBD")}, // lone high surrogate
        {QString(QChar(0xDC41)), bytesOf("\xEF\xBF\xBD")}, // low surrogate outside the byte range
        {units(u"\xDCE1"), bytesOf("\xE1")},               // the reserved range is a byte
        {QString(QChar(0xD83D)) + QChar(u'x'), bytesOf("\xEF\xBF\xBDx")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EncodeLossless(c.text), c.bytes) << c.bytes.toHex().constData();
}

TEST(TextCodecTest, ByteOrderMarkIsStrippedOnlyAtTheStart)
{
    EXPECT_EQ(WithoutUtf8Bom(bytesOf("\xEF\xBB\xBFSET UTF-8")), QByteArrayView("SET UTF-8"));
    EXPECT_EQ(WithoutUtf8Bom(bytesOf("SET\xEF\xBB\xBF")), QByteArrayView("SET\xEF\xBB\xBF"));
    EXPECT_EQ(WithoutUtf8Bom(bytesOf("\xEF\xBB")), QByteArrayView("\xEF\xBB"));
    EXPECT_TRUE(IsRawByte(QChar(0xDCE1)));
    EXPECT_FALSE(IsRawByte(QChar(0xDC7F)));
    EXPECT_EQ(RawByteOf(RawByteUnit(0xE9)), 0xE9);
    EXPECT_EQ(FirstInvalidUtf8Offset(bytesOf("ab\xF0\x9F\x98\x80"
                                             "c\xE9"
                                             "d\xFF")),
              7);
}
