#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <vector>

#include "core/dictionary/affix_table.h"

namespace lexaloom {

enum class DerivedType { Primary, Suffix, Prefix, Both };

// "Primary", "Suffix", "Prefix" or "Both".
QString derivedTypeText(DerivedType type);

// One form handed to a sink. The views live only for the duration of the call
// to DerivationSink::accept; a sink that keeps a form copies what it needs.
struct DerivedWord {
    DerivedType type = DerivedType::Primary;
    QStringView word; // the form, without continuation flags
    QStringView root; // the entry's word
    QStringView base; // the word the rule was applied to
    QStringView flag; // empty for the primary form
    int position = 0; // headerOffset of the group; 0 for the primary form
    int ruleNumber = 0;
    QStringView strip; // as written ("0" when nothing is stripped)
    QStringView affix; // rewritten: "0" -> "", "0/XY" -> "/XY"
    QStringView condition;
    // The flag path of the editor: the top-level flag and, once a continuation
    // flag has been looked up in this call, that flag.
    QStringView topFlag;
    QStringView nestedFlag;
    bool hasNestedFlag = false;
    // What a spell checker makes of the form on its own: an affix on its path
    // carries ONLYINCOMPOUND, or the entry's own flags name ONLYINCOMPOUND,
    // FORBIDDENWORD or NEEDAFFIX (the last leaves out the primary form only).
    bool pathOnlyInCompound = false;
    bool entryOnlyInCompound = false;
    bool entryForbidden = false;
    bool entryNeedsAffix = false;
    // A path a spell checker never takes without compounding: two prefixes (a
    // prefix on a form its own or another prefix's continuation made), or a
    // suffix from a prefix's continuation on a form that already has a suffix.
    bool pathNotAlone = false;

    bool acceptedAlone() const
    {
        return !pathOnlyInCompound && !pathNotAlone && !entryOnlyInCompound && !entryForbidden &&
               !(entryNeedsAffix && type == DerivedType::Primary);
    }
};

// ruleNumber ": " strip " " affix " " condition; with a width, the number is
// "0000" + number cut to its last `width` characters.
QString ruleText(const DerivedWord &form, int width = 0);
// The flag path as the editor stores it: top flag, then a tab and the nested flag.
QString flagPathText(const DerivedWord &form);

class Utf8Writer;

// Where the forms of DeriveWord go. accept() returns whether the form counts
// towards countedForms.
class DerivationSink {
public:
    virtual ~DerivationSink() = default;

    // Called at the start of every top-level call.
    virtual void begin() {}
    virtual bool accept(const DerivedWord &form) = 0;
    // For a sink that reads nothing but the form's text (wordsOnly()): the engine
    // hands over the text alone and skips filling in a DerivedWord.
    virtual bool acceptWord(QStringView word)
    {
        DerivedWord form;
        form.word = word;
        return accept(form);
    }
    // Polled before each flag and each rule when pollsEvents() is true; a true
    // answer ends the call at once.
    virtual bool stopRequested() { return false; }

    bool pollsEvents() const { return m_pollsEvents; }
    // A sink that only counts: the engine skips building the text of forms
    // that nothing else needs.
    bool countsOnly() const { return m_countsOnly; }
    // Crunch: only suffix forms reach the sink, nothing is counted, and the first
    // top-level suffix form ends the call.
    bool firstSuffixOnly() const { return m_firstSuffixOnly; }
    bool wordsOnly() const { return m_wordsOnly; }
    // A words-only sink that writes every form it is given as a line of this writer,
    // and counts it: the engine may then write forms there itself, as bytes.
    virtual Utf8Writer *lineWriter() { return nullptr; }

protected:
    bool m_pollsEvents = false;
    bool m_countsOnly = false;
    bool m_wordsOnly = false;
    bool m_firstSuffixOnly = false;
};

struct DerivationFacts {
    bool entryHasKeepCase = false;
    bool entryHasNeedAffix = false;
    bool entryHasForbiddenWord = false;
    bool noSuggestSeen = false;
    bool circumfixInForce = false;
};

// What a top-level call leaves behind for the word editor.
struct DerivationState {
    QString missingFlags;
    QString missingContinuationFlags; // in numeric mode each flag is preceded by ","
    DerivationFacts facts;
    QString flagPath; // top flag, then a tab and the last continuation flag
    int countedForms = 0;
    bool stopped = false;            // the sink asked to stop
    bool prefixPhaseBounded = false; // the call hit a bound of the prefix phase (see derive_word.h)

    // missingContinuationFlags without leading and trailing commas, as the label shows it.
    QString missingContinuationLabel() const;
    // Back to a fresh state; the strings keep their buffers, so a run over a whole
    // dictionary does not allocate per entry.
    void reset()
    {
        // resize(0) keeps a string's buffer, but on an empty (null) one it would
        // allocate one for nothing.
        for (QString *text : {&missingFlags, &missingContinuationFlags, &flagPath}) {
            if (text->isEmpty())
                continue;
            // A report shared with the table is let go rather than copied.
            if (text->isDetached())
                text->resize(0);
            else
                *text = QString();
        }
        facts = DerivationFacts();
        countedForms = 0;
        stopped = false;
        prefixPhaseBounded = false;
    }
};

// The derivation engine. Keep one per run of a tool: it reuses its buffers from
// entry to entry. The table must outlive it and stay unchanged while it is used.
class WordDeriver final {
public:
    explicit WordDeriver(const AffixTable &table);

    // Expands one entry (word[/flags], the part of a .dic entry before "\n").
    // Returns countedForms; 0 for an empty word or when the sink stopped the call.
    // With a firstSuffixOnly sink: 1 once a top-level suffix form was handed over,
    // else 0.
    int DeriveWord(QStringView entry, DerivationSink &sink, bool aliasesExpanded = false);

    const DerivationState &state() const { return m_state; }

    // Upper bound of derived words the prefix phase visits in one call.
    static constexpr qsizetype maxPrefixVisits = 1 << 20;
    // Upper bounds of the derived words kept for the prefix phase (and of their
    // UTF-16 units): suffix groups of thousands of rules with continuation classes
    // of thousands more would otherwise let one entry take any amount of memory.
    // Reaching either ends the call like maxPrefixVisits.
    static constexpr qsizetype maxDerivedWords = 1 << 20;
    static constexpr qsizetype maxDerivedUnits = qsizetype(1) << 25;

private:
    enum class Flow { Continue, Stop, CrunchDone, EndStep, Bounded };

    struct ListItem {
        qsizetype start = 0;
        qsizetype length = 0;
        bool noCross = false;
        bool onlyInCompound = false; // an affix on the word's path carries ONLYINCOMPOUND
        bool isRoot = false;         // the word is the root's text
    };

    Flow flagLoop(QStringView word, const FlagList &flags, bool twofold);
    Flow flagTurn(QStringView word, bool valid, const FlagToken &token, const FlagInfo &info, bool twofold);
    void setCurrentFlag(QStringView flag, bool twofold);
    // `valid`: the word is well-formed UTF-16 (worked out once per flag loop).
    Flow suffixRules(QStringView word, bool valid, QStringView flag, int groupNumber, bool noCross, bool twofold);
    Flow applySuffix(QStringView word, QStringView flag, const AffixGroup &group, int index, bool noCross,
                     bool twofold);
    Flow prefixRulesInLoop(QStringView word, bool valid, QStringView flag, int groupNumber, bool twofold);
    Flow twofoldStep(QStringView word, const FlagList &flags);
    Flow prefixPhase();
    void scanEntryFlags(const FlagList &flags);
    void noteSpecial(quint8 special);
    void addMissingContinuation(QStringView flag);
    void writeMissingReports();
    bool appendDerived(QStringView word, bool noCross, bool onlyInCompound);
    bool poll() { return m_polls && pollSink(); }
    bool pollSink();
    void handOver(DerivedWord &form);
    void handOverBare(QStringView word);
    void prepareRootBytes(QStringView root);
    // A top-level suffix form of the root, written as bytes and counted.
    void writeRootForm(qsizetype rootSize, const AffixGroup &group, const AffixRule &rule);

    const AffixTable &m_table;
    DerivationSink *m_sink = nullptr;
    DerivationState m_state;
    bool m_crunch = false;
    bool m_polls = false;
    bool m_countsOnly = false;
    bool m_wordsOnly = false;
    bool m_keepDerived = true; // false when no prefix phase can follow
    bool m_topCircumfix = false;
    bool m_twofoldCircumfix = false;
    QStringView m_root;
    QStringView m_topFlag;
    QStringView m_nestedFlag;
    bool m_hasNested = false;
    bool m_basePath = false; // the base of a twofold step came through an ONLYINCOMPOUND affix
    bool m_inPrefixStep = false;  // in a twofold step of the prefix phase
    bool m_stepNotAlone = false;  // ... whose forms a spell checker never accepts alone
    const FlagList *m_entryList = nullptr;

    struct RecordedPrefix {
        QStringView flag;
        int group = 0;
    };
    std::vector<RecordedPrefix> m_recordedPrefixes;
    // The continuation flag lists with missing flags that this call met, in the
    // order met, each with how far its first walk got: a list's flags go into the
    // report once, not once per form it follows, and the reports are written
    // when the call ends, not flag by flag.
    struct MissingStep {
        const FlagList *list = nullptr;
        size_t end = 0;
    };
    std::vector<MissingStep> m_missingSteps;
    size_t m_topEnd = 0; // how many of the entry's flags the top-level walk got to
    std::vector<ListItem> m_derivedList;
    std::u16string m_pool; // the words of m_derivedList

    // Reused buffers, one per nesting level, so forms cost no allocation.
    std::u16string m_entry;
    FlagList m_entryFlags;
    std::u16string m_word;
    std::u16string m_topForm;
    std::u16string m_nestedForm;
    std::u16string m_bothForm;
    std::u16string m_prefixBase;
    std::u16string m_prefixForm;

    // The top-level suffix forms of a plain line writer go out as bytes: the root's
    // encoding up to the stripped part, then the rule's bytes from its group's
    // affixBytes. m_rootCuts[k] is where the first k units of the root end in
    // m_rootBytes (empty when every unit is one byte: k itself).
    Utf8Writer *m_lines = nullptr;
    bool m_rootBytesReady = false;
    std::string m_rootBytes; // m_rootByteCount bytes, then at least copyPadding more
    qsizetype m_rootByteCount = 0;
    std::vector<quint32> m_rootCuts;
};

// One call with a fresh engine; for callers that derive a single entry.
int DeriveWord(const AffixTable &table, QStringView entry, DerivationSink &sink, bool aliasesExpanded = false);

} // namespace lexaloom
