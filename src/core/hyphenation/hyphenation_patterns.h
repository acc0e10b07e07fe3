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
} // namespace hyphenationTexts

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

    // Every place a pattern's letters stand in `text` (lower-cased), as (pattern, start)
    // pairs grouped by pattern in cache order, starts ascending within a pattern.
    void findOccurrences(std::u16string_view text, std::vector<std::pair<int, int>> &out) const;

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
};

// Reused buffers for HyphenateWord; one per run.
struct HyphenationScratch {
    std::u16string text;
    std::vector<std::int8_t> gapValues;
    std::vector<std::pair<int, int>> occurrences;
};

HyphenatedWord HyphenateWord(const HyphenationPatternCache &cache, QStringView word, HyphenationScratch &scratch);
HyphenatedWord HyphenateWord(const HyphenationPatternCache &cache, QStringView word);

} // namespace lexaloom
