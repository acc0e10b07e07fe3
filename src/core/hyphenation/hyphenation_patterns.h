#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace lexaloom {

class Ui;
struct MainSettings;

namespace hyphenationTexts {
inline const QString mustStartWithUtf8 = QStringLiteral("Hyphenation rules must start with \"UTF-8\".");
inline const QString mustEndWithLf = QStringLiteral("Rules must end with an #LF$ (RETURN)");
inline const QString noRules = QStringLiteral("No Rules to parse.");
inline const QString optimisingStatus = QStringLiteral("Optimising Hyphenation decode cache...");
inline const QString okStatus = QStringLiteral("OK.");
// %1 the line number.
inline const QString patternTooLong = QStringLiteral("Pattern too long in line %1 (over 255 characters).");
inline const QString wordTooLong = QStringLiteral("Words longer than 1,000 characters are not hyphenated.");
} // namespace hyphenationTexts

// Real patterns are a few letters long and real words under a hundred; these bounds keep
// a hostile file or word from exhausting memory and time (the trie costs about 55 bytes
// per pattern character, and each start position walks it at most a pattern deep).
constexpr qsizetype maxPatternLength = 255; // characters of a pattern line
constexpr qsizetype maxHyphenatedWordLength = 1000;

// One pattern line in the spaced form: every letter followed by a slot, the values
// written into the slots. "ab1e" has the key "a b e" and the values "a b1e".
struct SpacedPattern {
    QString key;
    QString values;
};

// A pattern as the matcher uses it: the lower-cased letters and one slot value per
// gap, slot 0 before the first letter and slot k after letter k.
struct HyphenationPattern {
    std::u16string letters;
    std::vector<std::int8_t> gapValues; // 0 none, 1..9 a digit, forcedBreak
    bool leadingValue = false;          // its key begins with the extra space
    bool hasValues = false;
    bool startsWithDot = false; // the key begins with "."
    bool endsWithDot = false;   // the key ends with "."

    static constexpr std::int8_t forcedBreak = 10;
};

// Value characters are "1".."9" and "-", with "=" read as "-"; "0" is a letter.
SpacedPattern ParsePatternLine(QStringView line);
HyphenationPattern CompilePattern(QStringView line);

// The parsed patterns of the hyphenation text, rebuilt only when the text changed.
// Patterns are indexed by a trie over their letters, so a word costs one walk per
// start position instead of one search per pattern.
class HyphenationPatternCache final {
public:
    QString sourceText;
    int leftHyphenMin = 1;
    int rightHyphenMin = 1;
    int compoundLeftHyphenMin = 1;  // kept, not used by the hyphenation
    int compoundRightHyphenMin = 1; // kept, not used by the hyphenation

    void clear();
    // Appends one pattern line, in line order.
    void addPattern(QStringView line);

    qsizetype patternCount() const { return qsizetype(m_patterns.size()); }
    const HyphenationPattern &pattern(qsizetype i) const { return m_patterns[size_t(i)]; }

    // What applying the patterns to a text found.
    struct Hits {
        bool startMatched = false; // a pattern whose key begins with "." matched
        bool endMatched = false;   // one whose key ends with "."
        bool anyValue = false;     // a pattern with a value matched
    };
    // Applies every occurrence of every pattern in `text` (lower-cased, between its
    // boundary dots), overlapping ones included, to `gapValues` (one per character of
    // `text`: the gap after it): a forced break always, a digit where it is higher and
    // the gap is not forced. Linear in the text: each start walks the trie at most one
    // pattern deep, and the result does not depend on the order of the matches.
    Hits applyPatterns(std::u16string_view text, std::vector<std::int8_t> &gapValues) const;

private:
    struct Node {
        std::vector<int> patterns; // the patterns whose letters end here
    };
    int child(int node, char16_t c) const;

    std::vector<HyphenationPattern> m_patterns;
    std::vector<Node> m_nodes{Node{}};
    std::unordered_map<std::uint64_t, int> m_edges;
};

// BuildPatternCache: reuses the cache when `text` (line ends normalised) is what it
// was built from; otherwise checks the text (the three warnings) and parses it.
// False after a warning: no hyphenation then.
bool BuildPatternCache(HyphenationPatternCache &cache, const QString &text, Ui &ui, const MainSettings &settings);
// The same without progress or messages: the warning text, or empty when built.
QString BuildPatternCacheQuietly(HyphenationPatternCache &cache, const QString &text);

// One word through the patterns.
struct HyphenatedWord {
    QString word;           // the word with "-" at its breaks
    QString rule;           // the values between the letters, "." before/after when a boundary pattern matched
    bool noMatches = false; // no pattern with a value matched the word
    bool tooLong = false;   // longer than maxHyphenatedWordLength: left as it is
};

// Reused buffers for HyphenateWord; one per run.
struct HyphenationScratch {
    std::u16string text;
    std::vector<std::int8_t> gapValues;
};

HyphenatedWord HyphenateWord(const HyphenationPatternCache &cache, QStringView word, HyphenationScratch &scratch);
HyphenatedWord HyphenateWord(const HyphenationPatternCache &cache, QStringView word);

} // namespace lexaloom
