#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace lexaloom {

// The charset a .aff declares: the text of its first line starting with "SET"
// (compared upper-cased; else its last line) from the fifth character on, trimmed,
// as written ("ISO8859-7", "microsoft-cp1251"). Empty when there is none.
QString DeclaredCharset(QStringView affText);

// The .aff text with that SET line made "SET UTF-8" (a "SET UTF-8" line put first
// when there is none), line ends kept.
QString WithUtf8SetLine(const QString &affText);

// A legacy 8-bit charset of a dictionary (SET ISO8859-2, KOI8-R, microsoft-cp1251,
// ...), decoded and encoded through the system's converter (iconv): its table is
// taken from iconv once, byte by byte. Bytes the charset leaves undefined decode to
// raw-byte units (shell/text_codec.h) and encode back to themselves, so
// Encode(Decode(b)) == b for every byte string, as for the UTF-8 files.
class DictionaryCharset final {
public:
    // Nothing for UTF-8 (any spelling), an empty name, or a charset the converter
    // does not know or that is not one byte per character.
    static std::optional<DictionaryCharset> forName(const QString &declared);
    static std::optional<DictionaryCharset> forAff(QStringView affText) { return forName(DeclaredCharset(affText)); }
    // Whether the name is UTF-8 as Hunspell reads it.
    static bool isUtf8Name(QStringView declared);

    const QString &name() const { return m_name; }

    QString decode(QByteArrayView bytes) const;
    // Writes bytes.size() units and returns the end.
    char16_t *decodeInto(QByteArrayView bytes, char16_t *out) const;
    // Appends the text's bytes to `out`. False when a character has no byte in
    // this charset; `firstBad` then receives its position, and `out` holds "?" in
    // its place.
    bool encode(QStringView text, QByteArray &out, qsizetype *firstBad = nullptr) const;

private:
    QString m_name;
    std::array<char16_t, 256> m_toUnicode{};
    std::vector<qint16> m_fromUnicode; // by UTF-16 unit: the byte, or -1
};

} // namespace lexaloom
