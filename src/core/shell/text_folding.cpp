#include "core/shell/text_folding.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <utility>

namespace lexaloom {

namespace {

struct Fold {
    char16_t base;
    const char16_t *accented;
};

// The 74 accented forms, row by row.
constexpr Fold foldRows[] = {
    {u'a', u"áàäãâåāæă"}, {u'b', u"ḃ"},     {u'c', u"çčċćĉ"}, {u'd', u"ḋđď"}, {u'e', u"éèëêĕēėễ"}, {u'f', u"ḟ"},
    {u'g', u"ģğġ"},       {u'i', u"íìïîī"}, {u'j', u"ɉ"},     {u'l', u"ƚłľ"}, {u'm', u"ṁ"},        {u'n', u"ñńň"},
    {u'o', u"óòöõōøô"},   {u'p', u"ṗ"},     {u'r', u"ř"},     {u's', u"ṡšș"}, {u't', u"ṫŧťț"},     {u'u', u"úùüûū"},
    {u'w', u"ẃẁŵẅ"},      {u'y', u"ўýỳŷÿ"}, {u'z', u"ž"},
};

char16_t foldedLetter(char16_t c)
{
    if (c < 0xC0)
        return c;
    for (const Fold &row : foldRows) {
        for (const char16_t *p = row.accented; *p; ++p) {
            if (*p == c)
                return row.base;
        }
    }
    return c;
}

} // namespace

QString FoldAccents(const QString &text)
{
    QString result(text.size(), Qt::Uninitialized);
    FoldAccentsInto(text, reinterpret_cast<char16_t *>(result.data()));
    return result;
}

void FoldAccentsInto(QStringView text, char16_t *out)
{
    // Simple (one-to-one) case mapping, code point by code point, so the key
    // keeps the length of the text.
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            const char32_t lower = QChar::toLower(QChar::surrogateToUcs4(u, text[i + 1].unicode()));
            if (QChar::requiresSurrogates(lower)) {
                out[i] = QChar::highSurrogate(lower);
                out[i + 1] = QChar::lowSurrogate(lower);
            } else {
                out[i] = u;
                out[i + 1] = text[i + 1].unicode();
            }
            ++i;
            continue;
        }
        if (u < 0x80) { // the common case, without the table lookups
            out[i] = u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
            continue;
        }
        // U+0130's lower case is "i" plus a combining dot; its simple mapping is "i".
        const char32_t lower = u == 0x130 ? char32_t(u'i') : QChar::toLower(char32_t(u));
        out[i] = foldedLetter(lower <= 0xFFFF && !QChar::isSurrogate(lower) ? char16_t(lower) : u);
    }
}

QString CollapseSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    QString result;
    result.reserve(end - begin);
    bool lastWasSpace = false;
    for (qsizetype i = begin; i < end; ++i) {
        const QChar c = text[i];
        if (c == u' ') {
            if (lastWasSpace)
                continue;
            lastWasSpace = true;
        } else {
            lastWasSpace = false;
        }
        result.append(c);
    }
    return result;
}

} // namespace lexaloom
