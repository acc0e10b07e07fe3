#pragma once

#include <QList>
#include <QString>

#include "core/hyphenation/hyphenation_patterns.h"

namespace lexaloom {

// One row of the Hyphenation tab's result list.
struct HyphenationRow {
    QString word;           // the derived form, hyphenated once the patterns ran
    QString code;           // the flag that produced the form; empty for the word itself
    QString rule;           // the pattern values
    bool noMatches = false; // the rule column reads "No matches" (in red)
    int colour = 0;         // 0xRRGGBB of the form's type, as in the word editor

    bool operator==(const HyphenationRow &) const = default;
};

// A hyphenation pattern file, edited as text. Its tab's word list shows the
// dictionary's entries; only the focus within that list is its own.
struct HyphenationDocument {
    // What Clear leaves: the encoding line alone.
    static QString emptyText() { return QStringLiteral("UTF-8\n"); }

    // Empty until a file is loaded or the pane is edited, so a fresh program has
    // nothing to save.
    QString text;
    bool changed = false;
    QString path;
    qint64 selectedIndex = -1;
    // The word last passed to Hyphenate, for Update; survives loads.
    QString lastTestedWord;
    // Parsed from `text` at the next test when the text changed since.
    HyphenationPatternCache patternCache;
    // The result list of the last test.
    QList<HyphenationRow> results;

    bool isEmpty() const { return text.isEmpty(); }
};

} // namespace lexaloom
