#include "core/dictionary/derive_word.h"

#include <algorithm>
#include <cstring>

#include "core/dictionary/derive_sinks.h"
#include "core/shell/text_codec.h"

namespace lexaloom {

namespace {

inline QStringView view(const std::u16string &s)
{
    return QStringView(s.data(), qsizetype(s.size()));
}

inline void assignConcat(std::u16string &out, QStringView a, QStringView b)
{
    out.clear();
    out.append(reinterpret_cast<const char16_t *>(a.utf16()), size_t(a.size()));
    out.append(reinterpret_cast<const char16_t *>(b.utf16()), size_t(b.size()));
}

inline QStringView withoutLast(QStringView word, int n)
{
    return n >= word.size() ? QStringView() : word.first(word.size() - n);
}

inline QStringView withoutFirst(QStringView word, int n)
{
    return n >= word.size() ? QStringView() : word.sliced(n);
}

// Leading decimal digits of the text after the first "/" (up to the second).
int aliasNumber(QStringView entry, qsizetype firstSlash)
{
    qint64 n = 0;
    for (qsizetype i = firstSlash + 1; i < entry.size() && entry[i] >= u'0' && entry[i] <= u'9'; ++i) {
        n = n * 10 + (entry[i].unicode() - u'0');
        if (n > 1'000'000'000)
            return 0;
    }
    return int(n);
}

} // namespace

QString derivedTypeText(DerivedType type)
{
    switch (type) {
    case DerivedType::Primary:
        return QStringLiteral("Primary");
    case DerivedType::Suffix:
        return QStringLiteral("Suffix");
    case DerivedType::Prefix:
        return QStringLiteral("Prefix");
    case DerivedType::Both:
        return QStringLiteral("Both");
    }
    return {};
}

QString ruleText(const DerivedWord &form, int width)
{
    QString number = QString::number(form.ruleNumber);
    if (width > 0) {
        number = QStringLiteral("0000") + number;
        number = number.right(width);
    }
    QString text = number;
    text += QLatin1String(": ");
    text += form.strip;
    text += u' ';
    text += form.affix;
    text += u' ';
    text += form.condition;
    return text;
}

QString flagPathText(const DerivedWord &form)
{
    if (!form.hasNestedFlag)
        return form.topFlag.toString();
    QString path = form.topFlag.toString();
    path += u'\t';
    path += form.nestedFlag;
    return path;
}

QString DerivationState::missingContinuationLabel() const
{
    qsizetype begin = 0;
    qsizetype end = missingContinuationFlags.size();
    while (begin < end && missingContinuationFlags[begin] == u',')
        ++begin;
    while (end > begin && missingContinuationFlags[end - 1] == u',')
        --end;
    return missingContinuationFlags.mid(begin, end - begin);
}

WordDeriver::WordDeriver(const AffixTable &table)
    : m_table(table)
{
}

int DeriveWord(const AffixTable &table, QStringView entry, DerivationSink &sink, bool aliasesExpanded)
{
    WordDeriver deriver(table);
    return deriver.DeriveWord(entry, sink, aliasesExpanded);
}

bool WordDeriver::pollSink()
{
    if (!m_state.stopped && m_sink->stopRequested())
        m_state.stopped = true;
    return m_state.stopped;
}

void WordDeriver::handOver(DerivedWord &form)
{
    if (m_countsOnly) {
        ++m_state.countedForms;
        return;
    }
    form.root = m_root;
    form.topFlag = m_topFlag;
    form.nestedFlag = m_nestedFlag;
    form.hasNestedFlag = m_hasNested;
    form.entryOnlyInCompound = m_entryList->hasOnlyInCompound;
    form.entryForbidden = m_entryList->hasForbiddenWord;
    form.entryNeedsAffix = m_entryList->hasNeedAffix;
    if (m_sink->accept(form))
        ++m_state.countedForms;
}

void WordDeriver::handOverBare(QStringView word)
{
    // Counting, or a sink that reads the text alone: no DerivedWord to fill in.
    if (m_countsOnly || m_sink->acceptWord(word))
        ++m_state.countedForms;
}

inline void WordDeriver::writeRootForm(qsizetype rootSize, const AffixGroup &group, const AffixRule &rule)
{
    const qsizetype keep = rootSize > rule.stripLength ? rootSize - rule.stripLength : 0;
    const qsizetype cut = m_rootCuts.empty() ? keep : qsizetype(m_rootCuts[size_t(keep)]);
    m_lines->writePaddedLine(m_rootBytes.data(), cut, group.affixBytes.constData() + rule.affixByteOffset,
                             rule.affixByteCount);
    ++m_state.countedForms;
}

void WordDeriver::prepareRootBytes(QStringView root)
{
    // Each unit encodes on its own unless a high surrogate pairs with the next one,
    // so without high surrogates the bytes of root[0, k) + affix are those of
    // root[0, k) followed by those of the affix.
    for (const QChar c : root) {
        if (c.isHighSurrogate())
            return;
    }
    m_rootBytes.resize(size_t(losslessEncodedSpace(root.size()) + Utf8Writer::copyPadding));
    char *const begin = m_rootBytes.data();
    m_rootByteCount = EncodeLosslessInto(root, begin) - begin;
    m_rootCuts.clear();
    if (m_rootByteCount != root.size()) {
        m_rootCuts.reserve(size_t(root.size() + 1));
        m_rootCuts.push_back(0);
        char unit[4];
        quint32 at = 0;
        for (qsizetype k = 0; k < root.size(); ++k) {
            at += quint32(EncodeLosslessInto(root.sliced(k, 1), unit) - unit);
            m_rootCuts.push_back(at);
        }
    }
    m_rootBytesReady = true;
}

bool WordDeriver::appendDerived(QStringView word, bool noCross, bool onlyInCompound)
{
    if (qsizetype(m_derivedList.size()) >= maxDerivedWords ||
        qsizetype(m_pool.size()) + word.size() > maxDerivedUnits) {
        m_state.prefixPhaseBounded = true;
        return false;
    }
    ListItem item;
    item.start = qsizetype(m_pool.size());
    item.length = word.size();
    item.noCross = noCross;
    item.onlyInCompound = onlyInCompound;
    item.isRoot = word == m_root;
    m_pool.append(reinterpret_cast<const char16_t *>(word.utf16()), size_t(word.size()));
    m_derivedList.push_back(item);
    return true;
}

void WordDeriver::noteSpecial(quint8 special)
{
    switch (special) {
    case 1:
        m_state.facts.noSuggestSeen = true;
        break;
    case 2:
        m_state.facts.entryHasKeepCase = true;
        break;
    case 3:
        m_state.facts.entryHasForbiddenWord = true;
        break;
    case 4:
        m_state.facts.circumfixInForce = true;
        break;
    }
}

void WordDeriver::scanEntryFlags(const FlagList &flags)
{
    if (flags.hasKeepCase)
        m_state.facts.entryHasKeepCase = true;
    if (flags.hasNeedAffix)
        m_state.facts.entryHasNeedAffix = true;
}

void WordDeriver::addMissingContinuation(QStringView flag)
{
    const bool numeric = m_table.flagMode == FlagMode::Numeric;
    QString &missing = m_state.missingContinuationFlags;
    if (numeric) {
        if (!(missing.endsWith(flag) && missing.size() > flag.size() &&
              missing[missing.size() - flag.size() - 1] == u',')) {
            missing += u',';
            missing += flag;
        }
    } else if (!missing.endsWith(flag)) {
        missing += flag;
    }
}

void WordDeriver::writeMissingReports()
{
    const FlagList &entry = *m_entryList;
    if (entry.anyMissing) {
        if (m_topEnd >= entry.flags.size() && !entry.missingText.isEmpty())
            m_state.missingFlags = entry.missingText;
        else
            m_table.appendMissingFlags(entry, m_topEnd, m_state.missingFlags);
    }
    for (const MissingStep &step : m_missingSteps) {
        for (size_t k = 0; k < step.end && k < step.list->flags.size(); ++k) {
            const FlagToken &token = step.list->flags[k];
            if (m_table.info(token.id).missing)
                addMissingContinuation(token.text);
        }
    }
}

int WordDeriver::DeriveWord(QStringView entry, DerivationSink &sink, bool aliasesExpanded)
{
    m_state.reset();
    m_sink = &sink;
    m_crunch = sink.firstSuffixOnly();
    m_polls = sink.pollsEvents();
    m_countsOnly = sink.countsOnly() && !m_crunch;
    m_wordsOnly = sink.wordsOnly() && !m_crunch && !m_countsOnly;
    m_lines = m_wordsOnly ? sink.lineWriter() : nullptr;
    m_rootBytesReady = false;
    m_topCircumfix = false;
    m_twofoldCircumfix = false;
    m_inPrefixStep = false;
    m_topFlag = QStringView();
    m_nestedFlag = QStringView();
    m_hasNested = false;
    m_recordedPrefixes.clear();
    m_missingSteps.clear();
    m_topEnd = 0;
    m_derivedList.clear();
    m_pool.clear();
    sink.begin();

    // Alias expansion: "word/2" stands for the flags of the second AF line,
    // resolved when the table was built.
    const FlagList *flagList = nullptr;
    QStringView word;
    if (m_table.aliasCount > 0 && !aliasesExpanded) {
        const qsizetype slash = entry.indexOf(u'/');
        if (slash >= 0) {
            const int n = aliasNumber(entry, slash);
            if (n >= 1 && n <= m_table.aliasCount) {
                if (slash > 0 && entry[slash - 1] == u'\\') {
                    // The slash is escaped, so the word goes on into the alias text.
                    const QString &alias = m_table.aliases.value(n - 1);
                    m_entry.assign(reinterpret_cast<const char16_t *>(entry.utf16()), size_t(slash + 1));
                    m_entry.append(reinterpret_cast<const char16_t *>(alias.utf16()), size_t(alias.size()));
                    entry = view(m_entry);
                } else {
                    word = entry.first(slash);
                    flagList =
                        size_t(n - 1) < m_table.aliasFlags.size() ? &m_table.aliasFlags[size_t(n - 1)] : &m_entryFlags;
                    if (flagList == &m_entryFlags)
                        m_table.resolveFlags(QStringView(), m_entryFlags);
                }
            }
        }
    }

    if (!flagList) {
        // The first "/" not escaped by a backslash separates the word from its flags;
        // an escaped slash is a plain slash of the word.
        qsizetype separator = entry.indexOf(u'/');
        bool escaped = false;
        if (separator > 0 && entry[separator - 1] == u'\\') {
            escaped = true;
            const qsizetype first = separator;
            separator = -1;
            for (qsizetype i = first + 1; i < entry.size(); ++i) {
                if (entry[i] == u'/' && entry[i - 1] != u'\\') {
                    separator = i;
                    break;
                }
            }
        }
        word = separator < 0 ? entry : entry.first(separator);
        m_table.resolveFlags(separator < 0 ? QStringView() : entry.sliced(separator + 1), m_entryFlags);
        flagList = &m_entryFlags;
        if (escaped) {
            m_word.clear();
            for (qsizetype i = 0; i < word.size(); ++i) {
                if (word[i] == u'\\' && i + 1 < word.size() && word[i + 1] == u'/')
                    continue;
                m_word.push_back(word[i].unicode());
            }
            word = view(m_word);
        }
    }
    if (word.isEmpty())
        return 0;

    m_root = word;
    if (m_lines)
        prepareRootBytes(word);
    m_entryList = flagList;
    scanEntryFlags(*flagList);

    // The derived words are only kept for a prefix phase, which needs a prefix flag.
    m_keepDerived = flagList->anyPrefixY;

    if (m_rootBytesReady) {
        m_lines->writePaddedLine(m_rootBytes.data(), m_rootByteCount, nullptr, 0);
        ++m_state.countedForms;
    } else if (m_countsOnly || m_wordsOnly) {
        handOverBare(word);
    } else if (!m_crunch) {
        DerivedWord primary;
        primary.type = DerivedType::Primary;
        primary.word = word;
        primary.base = word;
        handOver(primary);
    }
    if (m_keepDerived)
        appendDerived(word, false, false);

    Flow flow = flagLoop(word, *flagList, false);
    if (flow == Flow::Continue)
        flow = prefixPhase();

    writeMissingReports();
    if (!m_topFlag.isEmpty())
        m_state.flagPath.append(m_topFlag);
    if (m_hasNested) {
        m_state.flagPath += u'\t';
        m_state.flagPath += m_nestedFlag;
    }
    if (flow == Flow::Stop)
        return 0;
    if (m_crunch)
        return flow == Flow::CrunchDone ? 1 : 0;
    return m_state.countedForms;
}

inline void WordDeriver::setCurrentFlag(QStringView flag, bool twofold)
{
    if (twofold) {
        m_nestedFlag = flag;
        m_hasNested = true;
    } else {
        m_topFlag = flag;
    }
}

WordDeriver::Flow WordDeriver::flagLoop(QStringView word, const FlagList &flags, bool twofold)
{
    const bool valid = FastCondition::isValidUtf16(word);
    // Missing flags of a step are recorded the first time its list is met in the call.
    size_t step = size_t(-1);
    if (twofold && flags.anyMissing &&
        std::none_of(m_missingSteps.begin(), m_missingSteps.end(),
                     [&flags](const MissingStep &s) { return s.list == &flags; })) {
        step = m_missingSteps.size();
        m_missingSteps.push_back({&flags, flags.flags.size()});
    }
    size_t end = flags.flags.size();
    Flow flow = Flow::Continue;
    if (m_polls) {
        // Polled before every flag, as the word editor counts on.
        for (size_t k = 0; k < flags.flags.size(); ++k) {
            if (poll()) {
                end = k;
                flow = Flow::Stop;
                break;
            }
            const FlagToken &token = flags.flags[k];
            const FlagInfo &info = m_table.info(token.id);
            if (info.special != 0) {
                noteSpecial(info.special);
                continue;
            }
            setCurrentFlag(token.text, twofold);
            if (!info.hasGroup)
                continue;
            flow = flagTurn(word, valid, token, info, twofold);
            if (flow != Flow::Continue) {
                end = k + 1;
                break;
            }
        }
    } else {
        // Only the flags that do something; the flag path ends as a walk over
        // all of them would leave it.
        for (const quint32 k : flags.active) {
            const FlagToken &token = flags.flags[k];
            const FlagInfo &info = m_table.info(token.id);
            if (info.special != 0) {
                noteSpecial(info.special);
                continue;
            }
            setCurrentFlag(token.text, twofold);
            flow = flagTurn(word, valid, token, info, twofold);
            if (flow != Flow::Continue) {
                end = k + 1;
                break;
            }
        }
        if (flow == Flow::Continue && flags.lastLookedUp >= 0)
            setCurrentFlag(flags.flags[size_t(flags.lastLookedUp)].text, twofold);
    }
    if (step != size_t(-1))
        m_missingSteps[step].end = end;
    if (!twofold)
        m_topEnd = end;
    return flow;
}

// One flag with a group: its suffix rules, then its prefix rules.
WordDeriver::Flow WordDeriver::flagTurn(QStringView word, bool valid, const FlagToken &token, const FlagInfo &info,
                                        bool twofold)
{
    const QStringView flag = token.text;
    const AffixGroupRefs &refs = info.groups;
    const int prefixGroup = refs.prefixY;
    int suffixGroup = refs.suffixY;
    bool noCross = false;
    if (suffixGroup == 0) {
        suffixGroup = refs.suffixN;
        noCross = suffixGroup != 0;
    }
    if (!twofold && prefixGroup != 0 && !m_topCircumfix && !m_twofoldCircumfix)
        m_recordedPrefixes.push_back({flag, prefixGroup});
    if (suffixGroup != 0) {
        const Flow flow = suffixRules(word, valid, flag, suffixGroup, noCross, twofold);
        if (flow != Flow::Continue)
            return flow;
    }
    if (prefixGroup != 0) {
        const Flow flow = prefixRulesInLoop(word, valid, flag, prefixGroup, twofold);
        if (flow != Flow::Continue)
            return flow;
    }
    return Flow::Continue;
}

WordDeriver::Flow WordDeriver::suffixRules(QStringView word, bool valid, QStringView flag, int groupNumber,
                                           bool noCross, bool twofold)
{
    const AffixGroup &group = m_table.group(groupNumber);
    if (group.parsedRules.empty())
        return Flow::Continue;
    if (group.anyContinuationHasCircumfix || group.anyContinuationHasNeedAffix) {
        // Every rule examined changes the circumfix state, so walk them all.
        for (size_t i = 0; i < group.parsedRules.size(); ++i) {
            if (poll())
                return Flow::Stop;
            const AffixRule &rule = group.parsedRules[i];
            if (twofold) {
                m_twofoldCircumfix = rule.continuationHasCircumfix;
            } else {
                m_topCircumfix = rule.continuationHasCircumfix;
                m_twofoldCircumfix = false;
            }
            if (rule.continuationHasCircumfix)
                m_state.facts.circumfixInForce = true;
            if (rule.continuationHasNeedAffix)
                m_state.facts.entryHasNeedAffix = true;
            if (!SuffixTestMatches(group.tests[i], word, valid))
                continue;
            const Flow flow = applySuffix(word, flag, group, int(i), noCross, twofold);
            if (flow != Flow::Continue)
                return flow;
        }
        return Flow::Continue;
    }
    // No rule of the group touches the circumfix state: only the candidates for
    // the word's last unit need a look, and the state is what a walk would leave.
    if (twofold) {
        m_twofoldCircumfix = false;
    } else {
        m_topCircumfix = false;
        m_twofoldCircumfix = false;
    }
    const int lastRule = int(group.parsedRules.size()) - 1;
    const bool rootBytes = m_rootBytesReady && !twofold && !m_keepDerived;
    for (const int i : group.candidates.forWord(word, true)) {
        if (poll())
            return Flow::Stop;
        if (!SuffixTestMatches(group.tests[size_t(i)], word, valid))
            continue;
        if (rootBytes && !group.parsedRules[size_t(i)].hasContinuation) {
            // What applySuffix would do: no circumfix is in force here, and a rule
            // without continuation flags cannot carry NEEDAFFIX, so the form shows.
            writeRootForm(word.size(), group, group.parsedRules[size_t(i)]);
            continue;
        }
        const Flow flow = applySuffix(word, flag, group, i, noCross, twofold);
        if (flow != Flow::Continue)
            return flow;
        // A twofold step of the last rule leaves its state; otherwise the walk
        // ends with that rule's own (clear) state.
        if (!twofold && i != lastRule)
            m_twofoldCircumfix = false;
    }
    return Flow::Continue;
}

WordDeriver::Flow WordDeriver::applySuffix(QStringView word, QStringView flag, const AffixGroup &group, int index,
                                           bool noCross, bool twofold)
{
    const AffixRule &rule = group.parsedRules[size_t(index)];
    const bool hidden = m_topCircumfix || (twofold && m_twofoldCircumfix) || rule.continuationHasNeedAffix;
    if (m_countsOnly && !m_keepDerived && !(rule.hasContinuation && !twofold)) {
        // Nothing will read this form: count it without writing it out.
        if (!hidden)
            ++m_state.countedForms;
        return Flow::Continue;
    }
    if (m_rootBytesReady && !twofold && !m_keepDerived && !rule.hasContinuation) {
        // A top-level form that nothing else reads: straight to the file as bytes.
        if (!hidden)
            writeRootForm(word.size(), group, rule);
        return Flow::Continue;
    }
    std::u16string &buffer = twofold ? m_nestedForm : m_topForm;
    assignConcat(buffer, withoutLast(word, rule.stripLength), rule.affixText);
    const QStringView form = view(buffer);
    if (!hidden && (m_countsOnly || m_wordsOnly)) {
        handOverBare(form);
        if (m_keepDerived &&
            !appendDerived(form, noCross, (twofold && m_basePath) || rule.continuationFlags.hasOnlyInCompound))
            return Flow::Bounded;
    } else if (!hidden) {
        DerivedWord derived;
        derived.type = DerivedType::Suffix;
        derived.word = form;
        derived.base = word;
        derived.flag = flag;
        derived.position = group.headerOffset;
        derived.ruleNumber = index + 1;
        derived.strip = rule.strip;
        derived.affix = rule.affix;
        derived.condition = rule.condition;
        derived.pathOnlyInCompound = (twofold && m_basePath) || rule.continuationFlags.hasOnlyInCompound;
        derived.pathNotAlone = twofold && m_inPrefixStep && m_stepNotAlone;
        if (m_crunch) {
            // Crunch wants the first suffix form only; a twofold step ends
            // there without ending the top-level call.
            derived.root = m_root;
            derived.topFlag = m_topFlag;
            derived.nestedFlag = m_nestedFlag;
            derived.hasNestedFlag = m_hasNested;
            m_sink->accept(derived);
            return twofold ? Flow::EndStep : Flow::CrunchDone;
        }
        handOver(derived);
        if (m_keepDerived && !appendDerived(form, noCross, derived.pathOnlyInCompound))
            return Flow::Bounded;
    }
    if (rule.hasContinuation && !twofold) {
        m_basePath = rule.continuationFlags.hasOnlyInCompound;
        const Flow flow = twofoldStep(form, rule.continuationFlags);
        if (flow != Flow::Continue)
            return flow;
    }
    return Flow::Continue;
}

WordDeriver::Flow WordDeriver::prefixRulesInLoop(QStringView word, bool valid, QStringView flag, int groupNumber,
                                                 bool twofold)
{
    const AffixGroup &group = m_table.group(groupNumber);
    if (group.parsedRules.empty())
        return Flow::Continue;
    if (!twofold) {
        // At the top level the rules are only walked for their continuation
        // flags; the group's summary gives the state that walk leaves.
        if (poll())
            return Flow::Stop;
        m_topCircumfix = group.lastContinuationHasCircumfix;
        m_twofoldCircumfix = false;
        if (group.anyContinuationHasCircumfix)
            m_state.facts.circumfixInForce = true;
        if (group.anyContinuationHasNeedAffix)
            m_state.facts.entryHasNeedAffix = true;
        return Flow::Continue;
    }
    const bool walkAll = group.anyContinuationHasCircumfix || group.anyContinuationHasNeedAffix;
    if (!walkAll) {
        m_twofoldCircumfix = false;
        if (m_topCircumfix)
            return poll() ? Flow::Stop : Flow::Continue; // no rule can pair with the top-level circumfix
    }
    const RuleCandidates::Range rules =
        walkAll ? RuleCandidates::Range(group.candidates.all, nullptr) : group.candidates.forWord(word, false);
    for (const int i : rules) {
        if (poll())
            return Flow::Stop;
        const AffixRule &rule = group.parsedRules[size_t(i)];
        if (walkAll) {
            m_twofoldCircumfix = rule.continuationHasCircumfix;
            if (rule.continuationHasCircumfix)
                m_state.facts.circumfixInForce = true;
            if (rule.continuationHasNeedAffix)
                m_state.facts.entryHasNeedAffix = true;
        }
        if (m_twofoldCircumfix != m_topCircumfix || !PrefixTestMatches(group.tests[size_t(i)], word, valid))
            continue;
        if (rule.continuationHasNeedAffix || m_crunch)
            continue;
        if (m_countsOnly) {
            ++m_state.countedForms;
            continue;
        }
        assignConcat(m_bothForm, rule.affixText, withoutFirst(word, rule.stripLength));
        if (m_wordsOnly) {
            handOverBare(view(m_bothForm));
            continue;
        }
        DerivedWord derived;
        derived.type = DerivedType::Both;
        derived.pathOnlyInCompound = m_basePath || rule.continuationFlags.hasOnlyInCompound;
        derived.pathNotAlone = m_inPrefixStep; // a prefix on a prefix form
        derived.word = view(m_bothForm);
        derived.base = word;
        derived.flag = flag;
        derived.position = group.headerOffset;
        derived.ruleNumber = i + 1;
        derived.strip = rule.strip;
        derived.affix = rule.affix;
        derived.condition = rule.condition;
        handOver(derived);
    }
    return Flow::Continue;
}

WordDeriver::Flow WordDeriver::twofoldStep(QStringView word, const FlagList &flags)
{
    if (word.isEmpty())
        return Flow::Continue;
    scanEntryFlags(flags);
    const Flow flow = flagLoop(word, flags, true);
    if (flow == Flow::Stop || flow == Flow::Bounded)
        return flow;
    return Flow::Continue; // EndStep ends only the step
}

// The prefix phase walks the derived words that the flag loop left: the root and
// its suffix forms (with those of their twofold steps). A word takes one prefix
// here, so the forms that the twofold steps of prefix rules make are not walked
// again: a prefix on them would be a second prefix, which a spell checker never
// takes from the entry's flags (and walking them would make the forms depend on
// the order of the entry's prefix flags). A total visit limit still guards
// against entries with very many derived words and prefixes.
WordDeriver::Flow WordDeriver::prefixPhase()
{
    if (m_recordedPrefixes.empty() || m_derivedList.empty())
        return Flow::Continue;
    // Nothing is appended from here on, so the words stay where they are in the pool.
    m_keepDerived = false;
    const size_t end = m_derivedList.size();
    qsizetype visits = 0;
    for (const RecordedPrefix &recorded : m_recordedPrefixes) {
        const AffixGroup &group = m_table.group(recorded.group);
        if (group.parsedRules.empty())
            continue;
        for (size_t k = 0; k < end; ++k) {
            if (++visits > maxPrefixVisits) {
                m_state.prefixPhaseBounded = true;
                return Flow::Continue;
            }
            const ListItem item = m_derivedList[k];
            if (item.noCross) {
                if (poll())
                    return Flow::Stop;
                continue;
            }
            const QStringView base(m_pool.data() + item.start, item.length);
            const bool isRoot = item.isRoot;
            const bool valid = FastCondition::isValidUtf16(base);
            for (const int i : group.candidates.forWord(base, false)) {
                if (poll())
                    return Flow::Stop;
                if (!PrefixTestMatches(group.tests[size_t(i)], base, valid))
                    continue;
                const AffixRule &rule = group.parsedRules[size_t(i)];
                const int number = i + 1;
                bool shown = !rule.continuationHasNeedAffix;
                if (shown && m_state.facts.circumfixInForce) {
                    shown = isRoot && !rule.hasContinuation && (rule.stripIsZero || rule.strip.size() == 1);
                }
                if (m_countsOnly && !rule.hasContinuation) {
                    if (shown)
                        ++m_state.countedForms;
                    continue;
                }
                assignConcat(m_prefixForm, rule.affixText, withoutFirst(base, rule.stripLength));
                const QStringView form = view(m_prefixForm);
                if (shown && (m_countsOnly || m_wordsOnly)) {
                    handOverBare(form);
                } else if (shown && !m_crunch) {
                    DerivedWord derived;
                    derived.type = DerivedType::Prefix;
                    derived.pathOnlyInCompound = item.onlyInCompound || rule.continuationFlags.hasOnlyInCompound;
                    derived.word = form;
                    derived.base = base;
                    derived.flag = recorded.flag;
                    derived.position = group.headerOffset;
                    derived.ruleNumber = number;
                    derived.strip = rule.strip;
                    derived.affix = rule.affix;
                    derived.condition = rule.condition;
                    handOver(derived);
                }
                if (rule.hasContinuation) {
                    m_basePath = item.onlyInCompound || rule.continuationFlags.hasOnlyInCompound;
                    // The continuation's suffixes go with this prefix on the root alone.
                    m_inPrefixStep = true;
                    m_stepNotAlone = !isRoot;
                    const Flow flow = twofoldStep(form, rule.continuationFlags);
                    m_inPrefixStep = false;
                    if (flow != Flow::Continue)
                        return flow;
                }
            }
        }
    }
    return Flow::Continue;
}

} // namespace lexaloom
