#include "core/dictionary/dictionary_charset.h"

#include <QStringList>

#include <cerrno>
#include <iconv.h>

#include "core/shell/text_codec.h"

namespace lexaloom {

namespace {

// The line of the encoding test: the first one whose first three characters,
// upper-cased, are "SET", else the last line. Its start and length.
std::pair<qsizetype, qsizetype> setLine(QStringView text)
{
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        qsizetype end = i;
        while (end < size && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        start = i;
        length = end - i;
        i = end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n' ? end + 2 : end + 1;
        if (length >= 3 && text.sliced(start, 3).compare(QLatin1String("SET"), Qt::CaseInsensitive) == 0)
            return {start, length};
    }
    return {-1, 0};
}

// The names iconv knows for the charsets Hunspell's SET takes.
QStringList converterNames(const QString &declared)
{
    QStringList names{declared};
    QString upper = declared.toUpper();
    if (upper.startsWith(QLatin1String("ISO8859-")))
        names << QStringLiteral("ISO-8859-") + upper.mid(8);
    if (upper.startsWith(QLatin1String("MICROSOFT-")))
        names << upper.mid(10);
    if (upper == QLatin1String("TIS620-2533"))
        names << QStringLiteral("TIS-620");
    return names;
}

} // namespace

QString DeclaredCharset(QStringView affText)
{
    const auto [start, length] = setLine(affText);
    if (start < 0 || length <= 4)
        return {};
    return affText.sliced(start + 4, length - 4).trimmed().toString();
}

QString WithUtf8SetLine(const QString &affText)
{
    const auto [start, length] = setLine(affText);
    if (start < 0)
        return QStringLiteral("SET UTF-8\n") + affText;
    QString text = affText;
    text.replace(start, length, QStringLiteral("SET UTF-8"));
    return text;
}

bool DictionaryCharset::isUtf8Name(QStringView declared)
{
    return declared.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0 ||
           declared.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0;
}

std::optional<DictionaryCharset> DictionaryCharset::forName(const QString &declared)
{
    if (declared.isEmpty() || isUtf8Name(declared))
        return std::nullopt;
    for (const QString &name : converterNames(declared)) {
        const QByteArray latin = name.toLatin1();
        iconv_t cd = iconv_open("UTF-16LE", latin.constData());
        if (cd == iconv_t(-1))
            continue;
        DictionaryCharset charset;
        charset.m_name = declared;
        charset.m_fromUnicode.assign(0x10000, -1);
        bool singleByte = true;
        for (int b = 0; b < 256 && singleByte; ++b) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            char in = char(b);
            char outBytes[8];
            char *inPtr = &in;
            char *outPtr = outBytes;
            size_t inLeft = 1;
            size_t outLeft = sizeof outBytes;
            const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
            const size_t written = sizeof outBytes - outLeft;
            if (rc == size_t(-1) || inLeft != 0) {
                if (errno == EINVAL && b >= 0x80) { // a lead byte: not a one-byte charset
                    singleByte = false;
                    break;
                }
                charset.m_toUnicode[size_t(b)] = RawByteUnit(uchar(b)); // undefined here
                continue;
            }
            if (written != 2) {
                singleByte = false;
                break;
            }
            const char16_t unit = char16_t(uchar(outBytes[0]) | (uchar(outBytes[1]) << 8));
            if (QChar::isSurrogate(unit) || (b < 0x80 && unit != b)) {
                singleByte = false;
                break;
            }
            charset.m_toUnicode[size_t(b)] = unit;
        }
        iconv_close(cd);
        if (!singleByte)
            return std::nullopt;
        // The first byte of a character wins, should two bytes share it; raw-byte
        // units come back as their bytes.
        for (int b = 255; b >= 0; --b)
            charset.m_fromUnicode[charset.m_toUnicode[size_t(b)]] = qint16(b);
        for (int b = 0x80; b < 256; ++b)
            charset.m_fromUnicode[RawByteUnit(uchar(b))] = qint16(b);
        return charset;
    }
    return std::nullopt;
}

char16_t *DictionaryCharset::decodeInto(QByteArrayView bytes, char16_t *out) const
{
    for (const char c : bytes)
        *out++ = m_toUnicode[uchar(c)];
    return out;
}

QString DictionaryCharset::decode(QByteArrayView bytes) const
{
    QString text(bytes.size(), Qt::Uninitialized);
    decodeInto(bytes, reinterpret_cast<char16_t *>(text.data()));
    return text;
}

bool DictionaryCharset::encode(QStringView text, QByteArray &out, qsizetype *firstBad) const
{
    bool ok = true;
    const qsizetype old = out.size();
    out.resize(old + text.size());
    char *p = out.data() + old;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qint16 b = m_fromUnicode[text[i].unicode()];
        if (b < 0) {
            if (ok && firstBad)
                *firstBad = i;
            ok = false;
            *p++ = '?';
            continue;
        }
        *p++ = char(b);
    }
    return ok;
}

} // namespace lexaloom
