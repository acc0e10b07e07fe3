#include "core/shell/text_codec.h"

#include <cstring>

namespace lexaloom {

namespace {

inline bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence starting at `p` (Unicode table 3-7), or 0
// when the bytes there do not start one. `left` is the number of bytes available.
inline int wellFormedLength(const unsigned char *p, qsizetype left, char32_t &codePoint)
{
    const unsigned char b0 = p[0];
    if (b0 < 0x80) {
        codePoint = b0;
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (left < 2 || !isContinuation(p[1]))
            return 0;
        codePoint = (char32_t(b0 & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3)
            return 0;
        const unsigned char lo = b0 == 0xE0 ? 0xA0 : 0x80;
        const unsigned char hi = b0 == 0xED ? 0x9F : 0xBF; // ED A0..BF would be a surrogate
        if (p[1] < lo || p[1] > hi || !isContinuation(p[2]))
            return 0;
        codePoint = (char32_t(b0 & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4)
            return 0;
        const unsigned char lo = b0 == 0xF0 ? 0x90 : 0x80;
        const unsigned char hi = b0 == 0xF4 ? 0x8F : 0xBF; // beyond U+10FFFF otherwise
        if (p[1] < lo || p[1] > hi || !isContinuation(p[2]) || !isContinuation(p[3]))
            return 0;
        codePoint =
            (char32_t(b0 & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
        return 4;
    }
    return 0;
}

} // namespace

QByteArrayView WithoutUtf8Bom(QByteArrayView bytes)
{
    return bytes.startsWith(utf8ByteOrderMark) ? bytes.sliced(utf8ByteOrderMark.size()) : bytes;
}

char16_t *DecodeLosslessInto(QByteArrayView bytes, char16_t *out, qsizetype *invalidBytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    qsizetype invalid = 0;
    while (p < end) {
        // Most resource text is ASCII: copy runs of it without the sequence checks,
        // eight bytes at a time.
        while (end - p >= 8) {
            quint64 bytes8;
            std::memcpy(&bytes8, p, sizeof bytes8);
            if (bytes8 & 0x8080808080808080ull)
                break;
            for (int k = 0; k < 8; ++k)
                out[k] = p[k];
            out += 8;
            p += 8;
        }
        if (p == end)
            break;
        if (*p < 0x80) {
            *out++ = *p++;
            continue;
        }
        char32_t cp = 0;
        const int length = wellFormedLength(p, end - p, cp);
        if (length == 0) {
            *out++ = RawByteUnit(*p++);
            ++invalid;
        } else if (cp >= 0x10000) {
            cp -= 0x10000;
            *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
            p += length;
        } else {
            *out++ = static_cast<char16_t>(cp);
            p += length;
        }
    }
    if (invalidBytes)
        *invalidBytes = invalid;
    return out;
}

char *EncodeLosslessInto(QStringView text, char *out)
{
    const char16_t *p = text.utf16();
    const char16_t *end = p + text.size();
    while (p < end) {
        // Runs of ASCII four units at a time.
        while (end - p >= 4) {
            quint64 units;
            std::memcpy(&units, p, sizeof units);
            if (units & 0xFF80FF80FF80FF80ull)
                break;
            out[0] = static_cast<char>(p[0]);
            out[1] = static_cast<char>(p[1]);
            out[2] = static_cast<char>(p[2]);
            out[3] = static_cast<char>(p[3]);
            out += 4;
            p += 4;
        }
        if (p == end)
            break;
        const char16_t u = *p++;
        if (u < 0x80) {
            *out++ = static_cast<char>(u);
        } else if (u < 0x800) {
            *out++ = static_cast<char>(0xC0 | (u >> 6));
            *out++ = static_cast<char>(0x80 | (u & 0x3F));
        } else if (u >= 0xD800 && u <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
            const char32_t cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(*p++) - 0xDC00);
            *out++ = static_cast<char>(0xF0 | (cp >> 18));
            *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (IsRawByte(u)) {
            *out++ = static_cast<char>(RawByteOf(u));
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            std::memcpy(out, "\xEF\xBF\xBD", 3); // a lone surrogate that no file produced
            out += 3;
        } else {
            *out++ = static_cast<char>(0xE0 | (u >> 12));
            *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

qsizetype FirstInvalidUtf8Offset(QByteArrayView bytes)
{
    const auto *begin = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = begin + bytes.size();
    for (const unsigned char *p = begin; p < end;) {
        char32_t cp = 0;
        const int length = wellFormedLength(p, end - p, cp);
        if (length == 0)
            return p - begin;
        p += length;
    }
    return -1;
}

QString DecodeLossless(QByteArrayView bytes, qsizetype *invalidBytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *begin = reinterpret_cast<char16_t *>(text.data());
    text.truncate(DecodeLosslessInto(bytes, begin, invalidBytes) - begin);
    return text;
}

QByteArray EncodeLossless(QStringView text)
{
    QByteArray bytes(losslessEncodedSpace(text.size()), Qt::Uninitialized);
    bytes.truncate(EncodeLosslessInto(text, bytes.data()) - bytes.data());
    return bytes;
}

} // namespace lexaloom
