#include "core/dictionary/affix_condition.h"

#include <algorithm>
#include <string>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace lexaloom {

namespace {

inline int codePointAt(QStringView word, qsizetype pos, char32_t &c)
{
    const char16_t high = word[pos].unicode();
    if (QChar::isHighSurrogate(high)) {
        if (pos + 1 >= word.size() || !QChar::isLowSurrogate(word[pos + 1].unicode()))
            return 0;
        c = QChar::surrogateToUcs4(high, word[pos + 1].unicode());
        return 2;
    }
    if (QChar::isLowSurrogate(high))
        return 0;
    c = high;
    return 1;
}

// The condition as PCRE2 must see it: a "-" inside a bracket expression is a
// literal character in the .aff format ("[aeiouhy-àùø]" lists y, "-" and à), so
// it is escaped there instead of being read as a range.
QString withLiteralHyphens(const QString &condition)
{
    if (!condition.contains(u'-'))
        return condition;
    QString out;
    out.reserve(condition.size() + 8);
    bool inSet = false;
    const qsizetype n = condition.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = condition[i];
        if (c == u'\\' && i + 1 < n) {
            out += c;
            out += condition[++i];
            continue;
        }
        if (!inSet) {
            out += c;
            if (c == u'[') {
                inSet = true;
                // A "]" right after "[" or "[^" is a member, not the end.
                if (i + 1 < n && condition[i + 1] == u'^')
                    out += condition[++i];
                if (i + 1 < n && condition[i + 1] == u']')
                    out += condition[++i];
            }
            continue;
        }
        if (c == u'[' && i + 1 < n && condition[i + 1] == u':') {
            // A POSIX class such as [:alpha:] is copied whole.
            const qsizetype close = condition.indexOf(QLatin1String(":]"), i + 2);
            if (close >= 0) {
                out += QStringView(condition).mid(i, close + 2 - i);
                i = close + 1;
                continue;
            }
        }
        if (c == u']')
            inSet = false;
        else if (c == u'-')
            out += u'\\';
        out += c;
    }
    return out;
}

} // namespace

struct PcreCondition::Compiled {
    pcre2_code_16 *code = nullptr;
    pcre2_match_data_16 *data = nullptr;
    pcre2_match_context_16 *context = nullptr;

    ~Compiled()
    {
        pcre2_match_context_free_16(context);
        pcre2_match_data_free_16(data);
        pcre2_code_free_16(code);
    }
};

PcreCondition::PcreCondition(const QString &pattern)
{
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code_16 *code = pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(pattern.utf16()), PCRE2_SIZE(pattern.size()),
                                           PCRE2_UTF | PCRE2_DOTALL, &error, &offset, nullptr);
    if (!code)
        return;
    // JIT where the platform has it; the limits apply to it as well.
    pcre2_jit_compile_16(code, PCRE2_JIT_COMPLETE);
    auto compiled = std::make_shared<Compiled>();
    compiled->code = code;
    compiled->data = pcre2_match_data_create_from_pattern_16(code, nullptr);
    compiled->context = pcre2_match_context_create_16(nullptr);
    if (!compiled->data || !compiled->context)
        return;
    pcre2_set_match_limit_16(compiled->context, matchLimit);
    pcre2_set_depth_limit_16(compiled->context, depthLimit);
    m_code = std::move(compiled);
}

bool PcreCondition::matches(QStringView subject) const
{
    if (!m_code)
        return false;
    // A null view has no data pointer; PCRE2 wants a valid one even for length 0.
    static const char16_t empty[1] = {0};
    const auto *data =
        subject.isEmpty() ? reinterpret_cast<PCRE2_SPTR16>(empty) : reinterpret_cast<PCRE2_SPTR16>(subject.utf16());
    const int rc = pcre2_match_16(m_code->code, data, PCRE2_SIZE(subject.size()), 0, 0, m_code->data, m_code->context);
    // Negative codes are "no match", limits exceeded and invalid UTF alike.
    return rc >= 0;
}

std::optional<FastCondition> FastCondition::parse(QStringView condition)
{
    FastCondition result;
    const qsizetype n = condition.size();
    qsizetype i = 0;
    auto next = [&](char32_t &c) {
        const int units = codePointAt(condition, i, c);
        i += units;
        return units > 0;
    };
    while (i < n) {
        char32_t c = 0;
        if (!next(c))
            return std::nullopt;
        if (c == u'.') {
            result.m_elements.push_back(anyElement);
            continue;
        }
        if (c != u'[') {
            // Anything with a meaning of its own in a regular expression goes to PCRE2.
            if (c < 0x80 && std::char_traits<char>::find("\\^$|()?*+{}]", 12, char(c)))
                return std::nullopt;
            result.m_elements.push_back(quint32(c));
            continue;
        }
        if (result.m_sets.size() > setIndexMask)
            return std::nullopt;
        quint32 element = setBit | quint32(result.m_sets.size());
        Set set;
        set.start = quint32(result.m_setChars.size());
        if (i < n && condition[i] == u'^') {
            element |= negatedBit;
            ++i;
        }
        const qsizetype first = i;
        bool closed = false;
        while (i < n) {
            const qsizetype at = i;
            char32_t m = 0;
            if (!next(m))
                return std::nullopt;
            if (m == u']') {
                if (at == first)
                    return std::nullopt; // "[]...]": a literal "]" in PCRE2
                closed = true;
                break;
            }
            if (m == u'\\' || m == u'[')
                return std::nullopt; // escapes and POSIX classes
            result.m_setChars.push_back(m);
        }
        if (!closed)
            return std::nullopt;
        set.size = quint32(result.m_setChars.size()) - set.start;
        char32_t low = 0x110000;
        char32_t high = 0;
        for (quint32 k = set.start; k < set.start + set.size; ++k) {
            const char32_t m = result.m_setChars[k];
            if (m < 128) {
                set.ascii[m >> 6] |= quint64(1) << (m & 63);
            } else {
                low = std::min(low, m);
                high = std::max(high, m);
            }
        }
        if (high >= low && high - low < 256) {
            set.windowed = true;
            set.base = low;
            for (quint32 k = set.start; k < set.start + set.size; ++k) {
                const char32_t m = result.m_setChars[k];
                if (m >= 128)
                    set.window[(m - low) >> 6] |= quint64(1) << ((m - low) & 63);
            }
        } else if (high < low) {
            set.windowed = true; // ASCII only: nothing else is a member
            set.base = 0x110000;
        }
        result.m_sets.push_back(set);
        result.m_elements.push_back(element);
    }
    result.m_elements.shrink_to_fit();
    result.m_setChars.shrink_to_fit();
    result.m_sets.shrink_to_fit();
    return result;
}

bool FastCondition::edgeAccepts(bool last, char32_t c) const
{
    if (m_elements.empty())
        return true;
    return test(last ? m_elements.back() : m_elements.front(), c);
}

void FastCondition::edgeChars(bool last, std::vector<char32_t> &out) const
{
    if (m_elements.empty())
        return;
    const quint32 e = last ? m_elements.back() : m_elements.front();
    if (e < anyElement) {
        out.push_back(e);
    } else if (e != anyElement) {
        const Set &set = m_sets[e & setIndexMask];
        out.insert(out.end(), m_setChars.begin() + set.start, m_setChars.begin() + set.start + set.size);
    }
}

bool FastCondition::elementChars(bool last, size_t depth, std::vector<char32_t> &out) const
{
    if (depth >= m_elements.size())
        return false;
    const quint32 e = last ? m_elements[m_elements.size() - 1 - depth] : m_elements[depth];
    if (e < anyElement) {
        out.push_back(e);
        return true;
    }
    if (e == anyElement || (e & negatedBit))
        return false;
    const Set &set = m_sets[e & setIndexMask];
    out.insert(out.end(), m_setChars.begin() + set.start, m_setChars.begin() + set.start + set.size);
    return true;
}

bool FastCondition::matchesPrefixOfValid(QStringView word) const
{
    const char16_t *s = reinterpret_cast<const char16_t *>(word.utf16());
    const qsizetype n = word.size();
    qsizetype pos = 0;
    for (const quint32 element : m_elements) {
        if (pos >= n)
            return false;
        char32_t c = s[pos++];
        if (c >= 0xD800 && c <= 0xDBFF && pos < n) // valid words pair every high surrogate
            c = QChar::surrogateToUcs4(char16_t(c), s[pos++]);
        if (!test(element, c))
            return false;
    }
    return true;
}

AffixCondition::AffixCondition(QString text)
    : m_text(std::move(text))
    , m_fast(FastCondition::parse(m_text))
{
}

bool AffixCondition::pcreMatchesSuffix(QStringView word) const
{
    if (!m_suffixRegex)
        m_suffixRegex.emplace(withLiteralHyphens(m_text) + u'$');
    return m_suffixRegex->matches(word);
}

bool AffixCondition::pcreMatchesPrefix(QStringView word) const
{
    if (!m_prefixRegex)
        m_prefixRegex.emplace(u'^' + withLiteralHyphens(m_text));
    return m_prefixRegex->matches(word);
}

int ConditionCache::intern(const QString &condition)
{
    const auto it = m_index.constFind(condition);
    if (it != m_index.constEnd())
        return it.value();
    const int index = int(m_conditions.size());
    m_conditions.push_back(std::make_shared<const AffixCondition>(condition));
    m_index.insert(condition, index);
    return index;
}

void ConditionCache::clear()
{
    m_index.clear();
    m_conditions.clear();
}

} // namespace lexaloom
