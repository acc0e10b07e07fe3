#include "core/dictionary_tools/duplicates_session.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <utility>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/flag_strings.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/list_selection.h"
#include "core/shell/long_task.h"
#include "core/shell/manual_url.h"
#include "core/shell/settings.h"
#include "core/shell/shared_texts.h"
#include "core/shell/text_codec.h"

namespace lexaloom {

namespace {

const QString noDuplicates = QStringLiteral("No duplicate words found.");
const QString abortHint = sharedTexts::escToAbort;
const QString removedClass = QStringLiteral("999999");

// One non-empty entry as the scan sorts it.
struct Record {
    QString key; // word "\n" flags "\n" tags "\n" line
    QStringView word;
    QStringView flags;
    QStringView tags;
    qint64 line = 0;
    int repeatedCount = 0;
};

bool isMergeClass(const QString &code)
{
    return code == flagClass::allSuffixes || code == flagClass::allPrefixes || code == flagClass::suffixesAndPrefixes;
}

// With AF aliases an entry's flags are one alias number, a flag set already: its
// digits are never repeated flags.
bool hasRepeatedFlags(const AffixTable &table, QStringView flags)
{
    return table.aliasCount == 0 && HasRepeatedFlags(table.flagMode, flags);
}

// Whether the word of an entry with these flags is a word on its own: NEEDAFFIX,
// ONLYINCOMPOUND and FORBIDDENWORD make it none, so a bare twin is no redundant copy.
bool primaryStandsAlone(const AffixTable &table, QStringView flags)
{
    FlagList own;
    const FlagList *list = &own;
    if (table.aliasCount > 0) {
        bool isNumber = false;
        const int n = flags.toInt(&isNumber);
        if (isNumber && n >= 1 && size_t(n) <= table.aliasFlags.size())
            list = &table.aliasFlags[size_t(n - 1)];
        else
            table.resolveFlags(QStringView(), own);
    } else {
        table.resolveFlags(flags, own);
    }
    return !list->hasNeedAffix && !list->hasOnlyInCompound && !list->hasForbiddenWord;
}

// The flags the .aff gives a meaning for the whole entry beyond its affixes: compounding
// (COMPOUNDFLAG and its kin, the flags of COMPOUNDRULE) and the marks of the form
// itself. Merged into another entry's flags they would act on that entry's forms too
// (a flag merge of legging/CcZbCh and legging/ZaCh lets "leggings" end compounds).
QSet<QString> entryWideFlags(const AffixTable &table)
{
    static const char *const directives[] = {
        "COMPOUNDFLAG",       "COMPOUNDBEGIN",      "COMPOUNDMIDDLE", "COMPOUNDLAST", "COMPOUNDEND", "ONLYINCOMPOUND",
        "COMPOUNDPERMITFLAG", "COMPOUNDFORBIDFLAG", "COMPOUNDROOT",   "NEEDAFFIX",    "PSEUDOROOT",  "FORBIDDENWORD",
        "CIRCUMFIX",          "NOSUGGEST",          "SUBSTANDARD",    "WARN",         "FORCEUCASE",  "LEMMA_PRESENT"};
    QSet<QString> flags;
    const QStringList lines = table.normalizedText.split(u'\n');
    for (const QString &line : lines) {
        const QStringList fields = line.simplified().split(u' ', Qt::SkipEmptyParts);
        if (fields.size() < 2)
            continue;
        if (fields[0] == QLatin1String("COMPOUNDRULE")) {
            // The first line holds the number of rules.
            bool isCount = false;
            fields[1].toInt(&isCount);
            if (isCount)
                continue;
            // One flag a character, or the flags in parentheses in the long and numeric modes.
            const QString &rule = fields[1];
            if (table.flagMode == FlagMode::Single) {
                for (const QChar c : rule) {
                    if (c != u'*' && c != u'?' && c != u'(' && c != u')')
                        flags.insert(QString(c));
                }
            } else {
                for (qsizetype open = rule.indexOf(u'('); open >= 0; open = rule.indexOf(u'(', open + 1)) {
                    const qsizetype close = rule.indexOf(u')', open);
                    if (close < 0)
                        break;
                    flags.insert(rule.mid(open + 1, close - open - 1));
                }
            }
            continue;
        }
        for (const char *directive : directives) {
            if (fields[0] == QLatin1String(directive)) {
                flags.insert(fields[1]);
                break;
            }
        }
    }
    return flags;
}

QString entryText(QStringView word, const QString &flags, QStringView tags)
{
    QString text = word.toString();
    if (!flags.isEmpty())
        text += u'/' + flags;
    if (!tags.isEmpty())
        text += u'\n' + tags.toString();
    return text;
}

} // namespace

DuplicatesSession::DuplicatesSession(DictionaryDocument &dictionary, AffixTable &table, const MainSettings &settings,
                                     DuplicateOptions &options, Ui &ui, DuplicatesHost *host, bool alreadyRecorded)
    : m_dictionary(dictionary)
    , m_table(table)
    , m_settings(settings)
    , m_options(options)
    , m_ui(ui)
    , m_host(host)
    , m_undoRecorded(alreadyRecorded)
    , m_log(introductionText())
{
}

QString DuplicatesSession::windowTitle()
{
    return QStringLiteral("Show/Merge/Delete duplicates .DIC");
}

QString DuplicatesSession::introductionText()
{
    return QStringLiteral("Show/Merge/Delete duplicates in .dic V2.6 - 2023-05-06\n"
                          "=========================================\n"
                          "This option will remove duplicates by\n"
                          "merging flags and deleting repeated words.\n"
                          "\n");
}

QString DuplicatesSession::manualAnchor()
{
    return manualAnchors::showDuplicates;
}

bool DuplicatesSession::prepare(const DictionaryDocument &dictionary, AffixTable &table, Ui &ui)
{
    if (dictionary.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), BulkTextsOf(DocumentKind::Dictionary).noEntries, MessageIcon::Warning);
        return false;
    }
    BuildAffixTable(table, dictionary.affText);
    return true;
}

QString DuplicatesSession::className(const QString &classCode)
{
    return FlagClassName(classCode);
}

DuplicateFlagIndicators DuplicatesSession::flagIndicators() const
{
    DuplicateFlagIndicators flags;
    flags.keepCase = m_table.hasKeepCase;
    flags.needAffix = m_table.hasNeedAffix;
    flags.forbiddenWord = m_table.hasForbiddenWord;
    flags.complexPrefixes = m_table.complexPrefixes;
    flags.circumfix = m_table.hasCircumfix;
    switch (m_table.flagMode) {
    case FlagMode::Single:
        flags.flagType = QStringLiteral("FLAG chr");
        break;
    case FlagMode::Long:
        flags.flagType = QStringLiteral("FLAG long");
        break;
    case FlagMode::Numeric:
        flags.flagType = QStringLiteral("FLAG num");
        break;
    }
    return flags;
}

DuplicateOptions DuplicatesSession::shownOptions() const
{
    DuplicateOptions shown = m_options;
    if (shown.twofold) {
        shown.sameTypeOnly = false;
        shown.specialOnlyPrimary = false;
    }
    return shown;
}

void DuplicatesSession::setOptions(const DuplicateOptions &options)
{
    m_options = options;
}

void DuplicatesSession::addLog(const QString &text)
{
    m_log += text;
    m_log += u'\n';
    refreshHost();
}

void DuplicatesSession::refreshHost()
{
    if (m_host)
        m_host->refresh();
}

void DuplicatesSession::showElapsed()
{
    // From the button press, across the scans and passes of one run.
    m_display.elapsed = FormatElapsed(QStringLiteral(" \u231A"), m_ui.clock().monotonicMs() - m_runStartMs);
    refreshHost();
}

void DuplicatesSession::clearLog()
{
    m_log = introductionText();
    refreshHost();
}

void DuplicatesSession::recordUndo()
{
    if (m_undoRecorded)
        return;
    PushDictionaryUndo(m_dictionary);
    m_undoRecorded = true;
}

bool DuplicatesSession::scan()
{
    if (m_dictionary.entries.size() == 1) {
        m_ui.showMessage(LongTask::warningTitle(), noDuplicates, MessageIcon::Warning);
        return true;
    }
    LongTask task(m_ui, m_settings);
    m_runStartMs = m_ui.clock().monotonicMs();
    m_display.busy = true;
    m_display.abortHint = abortHint;
    const bool done = runScan(task);
    m_display.busy = false;
    m_display.abortHint.clear();
    refreshHost();
    return done;
}

QString DuplicatesSession::classOf(QStringView flags) const
{
    // Alias numbers are of their own class whatever their flags.
    if (m_table.aliasCount == 0 && !m_entryWideFlags.isEmpty()) {
        FlagSplitter splitter(m_table.flagMode, flags);
        QStringView f;
        while (!flags.isEmpty() && splitter.next(f)) {
            if (m_entryWideFlags.contains(f.toString()))
                return flagClass::special;
        }
    }
    return FlagClass(m_table, flags);
}

bool DuplicatesSession::runScan(LongTask &task)
{
    m_entryWideFlags = entryWideFlags(m_table);
    m_rows.clear();
    m_groups.clear();
    m_members.clear();
    m_memberCount = 0;
    m_repeatedFlagEntries = 0;
    const FlagMode mode = m_table.flagMode;
    const EntryStore &entries = m_dictionary.entries;
    const qint64 n = entries.size();
    task.begin(abortHint, 2 * n);
    const auto aborted = [&] {
        task.cancel();
        addLog(QStringLiteral("Aborted!"));
        addLog(QString());
        return false;
    };

    addLog(QStringLiteral("Step 1/3: Scanning the .dic..."));
    addLog(QString());
    std::vector<Record> records;
    records.reserve(size_t(n));
    const bool scanned = task.forEach(
        n,
        [&](qint64 i) {
            task.showValue(i);
            showElapsed();
        },
        [&](qint64 i) {
            const QStringView entry = entries.view(i);
            // Comment lines are no words: their text after "/" holds no flags to merge or repair.
            if (entry.isEmpty() || IsCommentEntry(entry))
                return;
            const EntryParts parts = SplitEntry(entry);
            Record r;
            r.word = parts.word;
            r.flags = parts.flags;
            r.tags = parts.tags;
            r.line = i + 1;
            r.key.reserve(entry.size() + 24);
            r.key += parts.word;
            r.key += u'\n';
            r.key += parts.flags;
            r.key += u'\n';
            r.key += parts.tags;
            r.key += u'\n';
            r.key += QString::number(r.line);
            if (hasRepeatedFlags(m_table, parts.flags)) {
                r.repeatedCount =
                    FlagCount(mode, parts.flags) - FlagCount(mode, WithoutRepeatedFlags(mode, parts.flags));
                ++m_repeatedFlagEntries;
            }
            records.push_back(std::move(r));
        },
        {.abortBeforeTick = true});
    if (!scanned)
        return aborted();

    addLog(QStringLiteral("Step 2/3: Sorting the processed array..."));
    addLog(QString());
    std::sort(records.begin(), records.end(), [](const Record &a, const Record &b) { return a.key < b.key; });

    addLog(QStringLiteral("Step 3/3: Scanning for duplicates..."));
    addLog(QString());
    const auto addRow = [&](const Record &r) {
        DicDuplicateRow row;
        row.line = r.line;
        row.word = r.word.toString();
        row.flags = r.flags.toString();
        row.tags = r.tags.toString();
        row.classCode = classOf(r.flags);
        row.repeatedCount = r.repeatedCount;
        m_rows.push_back(std::move(row));
    };
    const auto addMember = [&](const Record &r) {
        addRow(r);
        m_members.push_back(Member{qint64(m_rows.size()) - 1, m_rows.back().classCode});
    };
    bool inGroup = false;
    int open = 0;
    const qint64 m = qint64(records.size());
    const bool grouped = task.forEach(
        m,
        [&](qint64 k) {
            task.showValue(n + k);
            showElapsed();
        },
        [&](qint64 k) {
            const Record &r = records[size_t(k)];
            const bool samePrevious = k > 0 && records[size_t(k - 1)].word == r.word;
            const bool sameNext = k + 1 < m && records[size_t(k + 1)].word == r.word;
            if (r.repeatedCount > 0 && !samePrevious && !sameNext)
                addRow(r);
            if (k + 1 < m && !r.word.isEmpty() && sameNext) {
                if (!inGroup) {
                    addMember(r);
                    ++open;
                }
                addMember(records[size_t(k + 1)]);
                ++open;
                inGroup = true;
            } else {
                inGroup = false;
                if (open > 0) {
                    m_groups.push_back(open);
                    open = 0;
                }
            }
        },
        {.abortBeforeTick = true});
    if (!grouped)
        return aborted();
    if (open > 0)
        m_groups.push_back(open);
    m_memberCount = qint64(m_members.size());

    addLog(QStringLiteral("# Repeated Words:") + task.formatCount(m_memberCount));
    addLog(QStringLiteral("# Repeated FlagsW:") + task.formatCount(m_repeatedFlagEntries));
    addLog(QString());
    addLog(QStringLiteral("\U0001F6C8:"));
    addLog(QStringLiteral("If there are words with postags and postag merge is off,"));
    addLog(QStringLiteral("those words won't be merged."));
    addLog(QStringLiteral("Duplicate flags removal will still work."));
    addLog(QString());
    addLog(QString());
    task.finish(QString());
    showElapsed();
    return true;
}

DuplicatesSession::PassOutcome DuplicatesSession::runPass(LongTask &task, QString &mergeLog, qint64 &merged)
{
    const FlagMode mode = m_table.flagMode;
    const bool ignoreTags = m_options.ignoreTags;
    const bool twofold = m_options.twofold;
    const bool sameTypeOnly = m_options.sameTypeOnly;
    EntryStore &entries = m_dictionary.entries;
    bool acted = false;
    size_t first = 0;
    const auto addBlock = [&](const DicDuplicateRow &a, const DicDuplicateRow &b) {
        ++merged;
        mergeLog += u'#' + QString::number(merged) + u'\n';
        mergeLog += QStringLiteral("Merged:\"") + b.word + QStringLiteral("\"\n");
        if (a.flags.isEmpty() && b.flags.isEmpty())
            mergeLog += QStringLiteral("Primary\n");
        else
            mergeLog +=
                QStringLiteral("Flags:\"") + a.flags + QStringLiteral("\"\u2192\"") + b.flags + QStringLiteral("\"\n");
        mergeLog += u'\n';
    };
    // The pass has a bar of its own: one step per group.
    task.begin(abortHint, qint64(m_groups.size()));
    qint64 group = 0;
    for (const int size : m_groups) {
        const LongTask::PollResult poll = task.poll();
        if (poll.abortRequested)
            return PassOutcome::Aborted;
        if (poll.ticked) {
            task.showValue(group);
            showElapsed();
        }
        ++group;
        const size_t begin = first;
        const size_t end = first + size_t(size);
        first = end;
        // A deletion starts the group's walk again from its first member; a merge ends
        // the group for this pass.
        bool restart = true;
        while (restart) {
            restart = false;
            for (size_t a = begin; a < end && !restart; ++a) {
                Member &memberA = m_members[a];
                if (memberA.classCode == removedClass)
                    continue;
                DicDuplicateRow &rowA = m_rows[size_t(memberA.row)];
                for (size_t b = begin; b < end; ++b) {
                    // Every rule wants B still there and the same tags (or tags ignored).
                    const Member &memberB = m_members[b];
                    if (a == b || memberB.classCode == removedClass)
                        continue;
                    const DicDuplicateRow &rowB = m_rows[size_t(memberB.row)];
                    if (!ignoreTags && rowA.tags != rowB.tags)
                        continue;
                    const bool remove =
                        (memberA.classCode == flagClass::primary && primaryStandsAlone(m_table, rowB.flags)) ||
                        (rowA.word == rowB.word && rowA.flags == rowB.flags);
                    if (remove) {
                        recordUndo();
                        addBlock(rowA, rowB);
                        emptyEntry(rowA.line - 1);
                        rowA.word.clear();
                        memberA.classCode = removedClass;
                        acted = true;
                        restart = true;
                        break;
                    }
                    if (twofold)
                        continue;
                    const bool classesFit =
                        sameTypeOnly
                            ? memberA.classCode == memberB.classCode && (memberA.classCode == flagClass::allSuffixes ||
                                                                         memberA.classCode == flagClass::allPrefixes)
                            : isMergeClass(memberA.classCode) && isMergeClass(memberB.classCode);
                    if (!classesFit)
                        continue;
                    recordUndo();
                    addBlock(rowA, rowB);
                    const QString tags = ignoreTags ? QString() : rowB.tags;
                    entries.replace(rowA.line - 1, entryText(rowB.word, FlagUnion(mode, rowA.flags, rowB.flags), tags));
                    emptyEntry(rowB.line - 1);
                    rowA.word.clear();
                    memberA.classCode = removedClass;
                    acted = true;
                    goto nextGroup;
                }
            }
        }
    nextGroup:;
    }
    return acted ? PassOutcome::Acted : PassOutcome::NoAction;
}

bool DuplicatesSession::removeRepeatedFlags(LongTask &task)
{
    const FlagMode mode = m_table.flagMode;
    EntryStore &entries = m_dictionary.entries;
    addLog(QStringLiteral("\nRemoving duplicate flags from .dic..."));
    addLog(QString());
    const qint64 n = entries.size();
    task.begin(abortHint, n);
    std::vector<std::pair<qint64, QString>> rewrites;
    const bool completed = task.forEach(
        n,
        [&](qint64 i) {
            task.showValue(i);
            showElapsed();
        },
        [&](qint64 i) {
            const QStringView entry = entries.view(i);
            if (entry.isEmpty() || IsCommentEntry(entry))
                return;
            const EntryParts parts = SplitEntry(entry);
            if (!hasRepeatedFlags(m_table, parts.flags))
                return;
            recordUndo();
            const QString kept = WithoutRepeatedFlags(mode, parts.flags);
            m_exactFlagsRemoved += FlagCount(mode, parts.flags) - FlagCount(mode, kept);
            QString text = parts.word.toString() + u'/' + kept;
            if (!parts.tags.isEmpty())
                text += u'\n' + parts.tags.toString();
            rewrites.emplace_back(i, std::move(text));
        },
        {.abortBeforeTick = true});
    if (!completed) {
        // What was rewritten so far stays until "OK" or "Cancel".
        entries.replaceMany(rewrites);
        task.cancel();
        addLog(QStringLiteral("Aborted!"));
        addLog(QString());
        return false;
    }
    entries.replaceMany(rewrites);
    task.finish(QString());
    return true;
}

bool DuplicatesSession::process()
{
    if (m_rows.empty()) {
        m_ui.showMessage(LongTask::warningTitle(), noDuplicates, MessageIcon::Warning);
        return true;
    }
    LongTask task(m_ui, m_settings);
    m_runStartMs = m_ui.clock().monotonicMs();
    m_display.busy = true;
    m_display.abortHint = abortHint;
    const auto done = [this](bool result) {
        m_display.busy = false;
        m_display.abortHint.clear();
        refreshHost();
        return result;
    };
    const qint64 rememberedFlagEntries = m_repeatedFlagEntries;
    qint64 merged = 0;
    addLog(QStringLiteral("\nProcessing the .dic..."));
    addLog(QString());
    task.begin(abortHint, 2 * m_dictionary.entries.size());
    showElapsed();

    QString mergeLog;
    bool passAborted = false;
    for (;;) {
        const PassOutcome outcome = runPass(task, mergeLog, merged);
        if (outcome == PassOutcome::Aborted) {
            task.cancel();
            passAborted = true;
            break;
        }
        if (outcome == PassOutcome::NoAction)
            break;
        if (!runScan(task))
            return done(false);
        if (m_groups.empty())
            break;
    }
    if (!passAborted) {
        if (!mergeLog.isEmpty())
            addLog(mergeLog);
        addLog(QStringLiteral("Number of merged/deleted words:") + task.formatCount(merged));
        addLog(QString());
        addLog(QString());
    }

    if (!runScan(task))
        return done(false);
    if (m_repeatedFlagEntries != 0) {
        const qint64 flagEntries = m_repeatedFlagEntries;
        if (!removeRepeatedFlags(task))
            return done(false);
        addLog(QStringLiteral("Number of merged/deleted FlagsW:") + task.formatCount(flagEntries) +
               QStringLiteral("\n\n"));
        if (!runScan(task))
            return done(false);
    }
    m_lastCounts = {merged, rememberedFlagEntries, m_exactFlagsRemoved};
    m_ui.showMessage(LongTask::warningTitle(),
                     QStringLiteral("Merged/deleted words:") + task.formatCount(merged) +
                         QStringLiteral(" \nDeleted repeated FlagsW:") + task.formatCount(rememberedFlagEntries) +
                         QStringLiteral("\nExact number repeated flags:") + task.formatCount(m_exactFlagsRemoved),
                     MessageIcon::Information);
    m_exactFlagsRemoved = 0;
    return done(!passAborted);
}

bool DuplicatesSession::exportList()
{
    if (m_rows.empty()) {
        m_ui.showMessage(LongTask::warningTitle(), noDuplicates, MessageIcon::Warning);
        return false;
    }
    const QString path = AskSavePath(m_ui, QStringLiteral("Export Duplicates to file"),
                                     sharedTexts::txtFilter, QStringLiteral(".txt"));
    if (path.isEmpty())
        return false;
    QString text = QStringLiteral("DUPLICATES FOUND:") +
                   FormatCount(qint64(m_rows.size()), m_settings.thousandsSeparator) + QStringLiteral("\n\n");
    for (const DicDuplicateRow &row : m_rows) {
        text += QString::number(row.line) + u':' + row.word + u':' + row.flags + u':' + row.tags + u':' +
                FlagClassName(row.classCode) + u'\n';
    }
    QByteArray bytes(utf8ByteOrderMark.data(), utf8ByteOrderMark.size());
    bytes += EncodeLossless(text);
    if (!WriteFileAtomically(path, bytes)) {
        m_ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, QStringLiteral("Write failed.")),
                         MessageIcon::Error);
        return false;
    }
    return true;
}

bool DuplicatesSession::remember()
{
    if (!m_host || m_host->rememberOptions(shownOptions()))
        return true;
    m_ui.showMessage(fileTexts::errorTitle, QStringLiteral("Can't write the settings files."), MessageIcon::Error);
    return false;
}

void DuplicatesSession::emptyEntry(qint64 index)
{
    m_dictionary.entries.replace(index, QString());
    m_emptied.push_back(index);
}

void DuplicatesSession::accept()
{
    // Only what this window emptied goes: blank lines of the file stay where they were.
    m_dictionary.entries.removeIndexes(m_emptied);
    m_emptied.clear();
    if (m_dictionary.selectedIndex >= m_dictionary.entries.size())
        m_dictionary.selectedIndex = -1;
    m_dictionary.changed = true;
}

void DuplicatesSession::cancel()
{
    if (!m_undoRecorded)
        return;
    UndoDictionary(m_dictionary);
    m_emptied.clear();
    // The state left behind holds the emptied entries that only "OK" removes: a Redo
    // must not bring it back as if it were a finished edit.
    m_dictionary.redoSnapshot.reset();
}

} // namespace lexaloom
