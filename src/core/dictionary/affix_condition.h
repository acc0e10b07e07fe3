#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>
#include <vector>

namespace lexaloom {

// One compiled regular expression (PCRE2, UTF mode, dot matches everything).
// An expression that does not compile never matches, and so does a match that
// exceeds the backtracking limits: a catastrophic condition costs a bounded time
// per word instead of hanging the program.
class PcreCondition final {
public:
    explicit PcreCondition(const QString &pattern);

    bool isValid() const { return m_code != nullptr; }
    bool matches(QStringView subject) const;

    static constexpr quint32 matchLimit = 20000;
    static constexpr quint32 depthLimit = 2000;

private:
    struct Compiled;
    std::shared_ptr<Compiled> m_code;
};

// Matcher for the conditions Hunspell itself understands: literals, "." and
// bracket sets (where "-" is a member like any other). It gives exactly PCRE2's answers for condition +
// "$" and "^" + condition; anything it cannot mirror exactly is left to PCRE2.
class FastCondition final {
public:
    static std::optional<FastCondition> parse(QStringView condition);

    bool matchesSuffix(QStringView word) const { return isValidUtf16(word) && matchesSuffixOfValid(word); }
    bool matchesPrefix(QStringView word) const { return isValidUtf16(word) && matchesPrefixOfValid(word); }

    // The same for a word already known to be valid UTF-16 (PCRE2 refuses
    // anything else), so a word checked once can be tested against many rules.
    bool matchesSuffixOfValid(QStringView word) const
    {
        if (matchesEndingAt(word, word.size()))
            return true;
        // "$" also matches before a final line feed.
        return !word.isEmpty() && word.back() == u'\n' && matchesEndingAt(word, word.size() - 1);
    }
    bool matchesPrefixOfValid(QStringView word) const;

    // Whether the last (first) element can match c; true for an empty condition.
    bool edgeAccepts(bool last, char32_t c) const;
    // The characters the last (first) element names, for indexing rules by them.
    void edgeChars(bool last, std::vector<char32_t> &out) const;
    // The characters element `depth` (0 the edge element, 1 the next one in)
    // can match, counted from the end (from the start); false when it matches
    // any character but a few (".", a negated set) or the condition is shorter.
    bool elementChars(bool last, size_t depth, std::vector<char32_t> &out) const;

    static bool isValidUtf16(QStringView word)
    {
        const char16_t *s = reinterpret_cast<const char16_t *>(word.utf16());
        const qsizetype n = word.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t u = s[i];
            if (u < 0xD800 || u > 0xDFFF)
                continue;
            if (u > 0xDBFF || i + 1 >= n || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF)
                return false;
            ++i;
        }
        return true;
    }

private:
    // One element per condition character, four bytes each, so that a huge
    // condition costs little more than its text: a code point below
    // anyElement is a literal, anyElement is ".", and an element with setBit
    // is bracket set number (element & setIndexMask), negated with negatedBit.
    static constexpr quint32 anyElement = 0x110000;
    static constexpr quint32 setBit = 0x80000000u;
    static constexpr quint32 negatedBit = 0x40000000u;
    static constexpr quint32 setIndexMask = 0x3FFFFFFFu;

    struct Set {
        quint32 start = 0;
        quint32 size = 0;
        quint64 ascii[2] = {0, 0}; // the set's characters below 128, as bits
        // When every other character lies in [base, base + 256), those too as
        // bits, so that sets of one script need no search.
        bool windowed = false;
        char32_t base = 0;
        quint64 window[4] = {0, 0, 0, 0};
    };

    bool test(quint32 element, char32_t c) const
    {
        if (element < anyElement)
            return c == element;
        if (element == anyElement)
            return true;
        const Set &set = m_sets[element & setIndexMask];
        bool found = false;
        if (c < 128) {
            found = (set.ascii[c >> 6] >> (c & 63)) & 1;
        } else if (set.windowed) {
            const char32_t k = c - set.base;
            found = k < 256 && ((set.window[k >> 6] >> (k & 63)) & 1);
        } else {
            const char32_t *chars = m_setChars.data() + set.start;
            for (quint32 k = 0; k < set.size; ++k) {
                if (chars[k] == c) {
                    found = true;
                    break;
                }
            }
        }
        return found != bool(element & negatedBit);
    }

    bool matchesEndingAt(QStringView word, qsizetype end) const
    {
        const char16_t *s = reinterpret_cast<const char16_t *>(word.utf16());
        qsizetype pos = end;
        for (auto it = m_elements.rbegin(); it != m_elements.rend(); ++it) {
            if (pos <= 0)
                return false;
            char32_t c = s[pos - 1];
            --pos;
            if (c >= 0xDC00 && c <= 0xDFFF && pos > 0) { // valid words pair every low surrogate
                c = QChar::surrogateToUcs4(s[pos - 1], char16_t(c));
                --pos;
            }
            if (!test(*it, c))
                return false;
        }
        return true;
    }

    std::vector<quint32> m_elements;
    std::vector<Set> m_sets;
    std::vector<char32_t> m_setChars;
};

// A distinct condition of the .aff, with its fast matcher when one exists and
// its regular expressions compiled on first use (once per table build).
class AffixCondition final {
public:
    explicit AffixCondition(QString text);

    const QString &text() const { return m_text; }
    bool hasFastMatcher() const { return m_fast.has_value(); }
    const FastCondition *fastMatcher() const { return m_fast ? &*m_fast : nullptr; }

    // condition + "$" matches the word / "^" + condition matches the word.
    bool matchesSuffix(QStringView word) const
    {
        return m_fast ? m_fast->matchesSuffix(word) : pcreMatchesSuffix(word);
    }
    bool matchesPrefix(QStringView word) const
    {
        return m_fast ? m_fast->matchesPrefix(word) : pcreMatchesPrefix(word);
    }

    // Always through PCRE2; the reference the fast matcher is tested against.
    bool pcreMatchesSuffix(QStringView word) const;
    bool pcreMatchesPrefix(QStringView word) const;

private:
    QString m_text;
    std::optional<FastCondition> m_fast;
    mutable std::optional<PcreCondition> m_suffixRegex;
    mutable std::optional<PcreCondition> m_prefixRegex;
};

// The distinct conditions of one table build, each stored once and shared by
// every rule that names it (the addresses stay put as the cache grows and when
// the table is copied).
class ConditionCache final {
public:
    int intern(const QString &condition);
    // -1 when the condition is not in the cache.
    int find(const QString &condition) const { return m_index.value(condition, -1); }
    const AffixCondition &at(int index) const { return *m_conditions[size_t(index)]; }
    int size() const { return int(m_conditions.size()); }
    void clear();

private:
    QHash<QString, int> m_index;
    std::vector<std::shared_ptr<const AffixCondition>> m_conditions;
};

} // namespace lexaloom
