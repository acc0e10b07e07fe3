#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace lexaloom {

// Lossless text: resource files are read as UTF-8, but real ones carry bytes that are
// not (raw 0x80-0xFF affix flags under "SET UTF-8", stray Latin-1 words). Every byte
// that is not part of a well-formed UTF-8 sequence is decoded to the lone low
// surrogate U+DC00 + byte (so 0x80-0xFF become U+DC80-U+DCFF), and encoding turns
// such a lone surrogate back into its byte. Valid UTF-8 never decodes to a lone
// surrogate (UTF-8 cannot encode surrogates: ED A0 80..ED BF BF are ill-formed and
// come back byte by byte), so EncodeLossless(DecodeLossless(b)) == b for every byte
// string b. Well-formed text decodes exactly as a strict UTF-8 decoder does.
//
// Code that looks at single characters (flag splitting, the derivation engine) can
// recognise a raw byte with IsRawByte and recover it with RawByteOf. A lone surrogate
// outside U+DC80-U+DCFF (only typed or pasted text can hold one) is written as U+FFFD.
// The file's own byte-order mark is not part of the text: strip it with WithoutUtf8Bom
// before decoding; a U+FEFF further on is text and round-trips.

inline constexpr QByteArrayView utf8ByteOrderMark("\xEF\xBB\xBF");
inline constexpr char16_t rawByteBase = 0xDC00;

inline constexpr bool IsRawByte(char16_t unit)
{
    return unit >= 0xDC80 && unit <= 0xDCFF;
}
inline constexpr bool IsRawByte(QChar c)
{
    return IsRawByte(c.unicode());
}
inline constexpr unsigned char RawByteOf(char16_t unit)
{
    return static_cast<unsigned char>(unit - rawByteBase);
}
inline constexpr char16_t RawByteUnit(unsigned char byte)
{
    return static_cast<char16_t>(rawByteBase + byte);
}

QByteArrayView WithoutUtf8Bom(QByteArrayView bytes);

// The whole text; `invalidBytes`, when given, receives the number of bytes that were
// not well-formed UTF-8 (0 for a clean file).
QString DecodeLossless(QByteArrayView bytes, qsizetype *invalidBytes = nullptr);
// Offset of the first byte that is not part of well-formed UTF-8; -1 when there is none.
qsizetype FirstInvalidUtf8Offset(QByteArrayView bytes);
QByteArray EncodeLossless(QStringView text);

// Block-wise forms for streaming readers and writers. The decoder writes at most
// bytes.size() UTF-16 units and returns the end; the encoder writes at most
// 3 * text.size() bytes and returns the end. Both are stateless: a block must not end
// inside a sequence (cut blocks at a line end).
char16_t *DecodeLosslessInto(QByteArrayView bytes, char16_t *out, qsizetype *invalidBytes = nullptr);
char *EncodeLosslessInto(QStringView text, char *out);
inline constexpr qsizetype losslessEncodedSpace(qsizetype units)
{
    return 3 * units;
}

} // namespace lexaloom
