#include "core/thesaurus/thesaurus_tools.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <numeric>

#include "core/shell/atomic_write.h"
#include "core/shell/block_writer.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/list_document.h"
#include "core/shell/long_task.h"
#include "core/shell/memory_budget.h"
#include "core/shell/settings.h"
#include "core/shell/shared_texts.h"
#include "core/shell/text_codec.h"
#include "core/shell/text_folding.h"
#include "core/thesaurus/thesaurus_document.h"
#include "core/thesaurus/thesaurus_files.h"

namespace lexaloom {

namespace {

const QString okText = QStringLiteral("OK.");
const QString escTail = QStringLiteral(" <ESC> to abort.");
const QString escTailCapital = QStringLiteral(" <ESC> To abort.");

// Every tool refuses an empty thesaurus the same way.
bool refuseEmpty(const ThesaurusDocument &doc, Ui &ui)
{
    if (!doc.entries.isEmpty())
        return false;
    ui.showMessage(LongTask::warningTitle(), thesaurusTexts::noSynonyms, MessageIcon::Warning);
    ui.setStatusText(LongTask::abortedText());
    return true;
}

QString buildEntry(QStringView headWord, const QStringList &meanings)
{
    QString entry = headWord.toString() + QLatin1Char('|') + QString::number(meanings.size());
    for (const QString &line : meanings)
        entry += QLatin1Char('\n') + line;
    return entry;
}

QString megabytes(qint64 bytes)
{
    return QString::number(static_cast<double>(bytes) / (1024.0 * 1024.0), 'f', 1);
}

// The case-blind order of the tools that sort whole entries; equal keys keep their order.
std::vector<qint64> caseBlindOrder(const std::vector<QString> &texts)
{
    std::vector<QString> keys;
    keys.reserve(texts.size());
    for (const QString &t : texts)
        keys.push_back(t.toCaseFolded());
    std::vector<qint64> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qint64 a, qint64 b) {
        return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
    });
    return order;
}

// Every entry of `texts` in `order`, as a fresh store without ticks.
EntryStore storeOf(const std::vector<QString> &texts, const std::vector<qint64> &order)
{
    EntryStore store;
    qint64 characters = 0;
    for (const QString &t : texts)
        characters += t.size();
    store.reserve(static_cast<qint64>(order.size()), characters);
    for (const qint64 i : order)
        store.append(texts[static_cast<size_t>(i)]);
    return store;
}

// Polls once and reports whether the user confirmed an abort; `progress` writes the
// tick's status.
template <typename Progress> bool pollAborted(LongTask &task, Progress &&progress)
{
    const LongTask::PollResult poll = task.poll();
    if (poll.ticked)
        progress();
    if (poll.abortRequested) {
        task.cancel();
        return true;
    }
    return false;
}

} // namespace

QStringList MeaningLinesOf(QStringView entry)
{
    const qsizetype lf = entry.indexOf(u'\n');
    if (lf < 0)
        return {};
    return entry.sliced(lf + 1).toString().split(QLatin1Char('\n'));
}

// ---- Extract synonyms -----------------------------------------------------------

ToolResult<bool> ExtractSynonyms(const ThesaurusDocument &doc, const MainSettings &settings, Ui &ui, bool book)
{
    using namespace thesaurusToolTexts;
    if (refuseEmpty(doc, ui))
        return {false, ToolOutcome::Empty};
    ui.setStatusText(extractStatus);
    const QString path =
        AskSavePath(ui, book ? extractTitle + extractBookSuffix : extractTitle, txtFilter, QStringLiteral(".txt"));
    if (path.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return {false, ToolOutcome::Aborted};
    }
    AtomicFileWriter file(path);
    const auto failed = [&] {
        ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, file.errorString()), MessageIcon::Error);
        ui.setStatusText(LongTask::abortedText());
        return ToolResult<bool>{false, ToolOutcome::Failed};
    };
    if (!file.open())
        return failed();
    BlockWriter writer(file);
    writer.append(utf8ByteOrderMark);

    const qint64 count = doc.entries.size();
    LongTask task(ui, settings);
    task.begin(extractStatus, count);
    const QString colonLf = QStringLiteral(":\n");
    QString line;
    for (qint64 i = 0; i < count; ++i) {
        const bool aborted = pollAborted(task, [&] {
            task.showProgress(extractStatus + QStringLiteral(" Found:") + task.formatCount(i) + QStringLiteral(" (") +
                                  megabytes(writer.written()) + QStringLiteral(" MB)") + task.elapsedText(),
                              i);
        });
        if (aborted) {
            // The lines written so far are kept, as a finished file.
            if (writer.flush())
                file.commit();
            return {false, ToolOutcome::Aborted};
        }
        const QStringView entry = doc.entries.view(i);
        writer.append(HeadWordOf(entry));
        writer.append(colonLf);
        const QStringList meanings = MeaningLinesOf(entry);
        for (qsizetype k = 0; k < meanings.size(); ++k) {
            if (book) {
                line = meanings[k];
                line.remove(QStringLiteral("-|"));
                line.replace(QLatin1Char('|'), QStringLiteral(", "));
                line += k + 1 == meanings.size() ? QLatin1Char('.') : QLatin1Char(';');
                writer.append(line);
            } else {
                writer.append(meanings[k]);
            }
            writer.appendLineEnd();
        }
        writer.appendLineEnd();
    }
    if (!writer.flush() || !file.commit()) {
        task.cancel();
        return failed();
    }
    task.finish(QStringLiteral("OK. (") + megabytes(FileSize(path)) + QStringLiteral(" MB)") + task.elapsedText());
    return {true};
}

// ---- Clean up symbols -----------------------------------------------------------

QString CleanUpMeaningLine(QString line, const CleanUpOptions &options)
{
    if (options.removeDashBars)
        line.remove(QStringLiteral("-|"));
    if (options.barsToSpaces)
        line.replace(QLatin1Char('|'), QLatin1Char(' '));
    if (options.removeBrackets && line.count(QLatin1Char('(')) == line.count(QLatin1Char(')'))) {
        for (;;) {
            const qsizetype open = line.indexOf(QLatin1Char('('));
            const qsizetype close = line.indexOf(QLatin1Char(')'));
            if (open < 0 || close < 0 || open > close)
                break;
            line.remove(open, close - open + 1);
        }
    }
    return line;
}

CleanUpResult CleanUpSymbols(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui, CleanUpOptions &remembered,
                             const AskCleanUpOptions &askOptions)
{
    CleanUpResult result;
    if (refuseEmpty(doc, ui)) {
        result.outcome = ToolOutcome::Empty;
        return result;
    }
    const std::optional<CleanUpOptions> chosen = askOptions(remembered);
    if (!chosen) {
        ui.setStatusText(okText);
        return result;
    }
    remembered = *chosen;
    const CleanUpOptions options = *chosen;
    TakeUndoSnapshot(doc, true);

    const qint64 total = doc.entries.size();
    LongTask task(ui, settings);
    const QString extracting = QStringLiteral("Clean up. 1/3: Extracting...");
    task.begin(extracting + QStringLiteral("0") + escTail, total);
    // The copy the rewriting works on; the document changes only at the very end.
    std::vector<QString> copies;
    copies.reserve(static_cast<size_t>(total));
    for (qint64 i = 0; i < total; ++i) {
        if (pollAborted(task, [&] { task.showProgress(extracting + task.formatCount(i) + escTail, i); })) {
            result.outcome = ToolOutcome::Aborted;
            return result;
        }
        copies.push_back(doc.entries.at(i));
    }

    const QString comparing = QStringLiteral("Remove symbols. 2/3: Comparing...");
    task.showProgress(comparing + escTail, 0);
    std::vector<std::pair<qint64, QString>> rewritten;
    for (qint64 i = 0; i < total; ++i) {
        const auto progress = [&] {
            task.showProgress(comparing + QString::number(i) + QLatin1Char('/') + QString::number(total) + escTail, i);
        };
        if (pollAborted(task, progress)) {
            result.outcome = ToolOutcome::Aborted;
            return result;
        }
        const QString &entry = copies[static_cast<size_t>(i)];
        const QStringView header = HeaderOf(entry);
        QStringList meanings = MeaningLinesOf(entry);
        for (qsizetype k = 0; k < meanings.size(); ++k) {
            meanings[k] = CleanUpMeaningLine(meanings[k], options);
            if (meanings[k].isEmpty()) {
                task.cancel(QStringLiteral("Null meaning at Line:") + task.formatCount(i + 1) +
                            QStringLiteral(" Meaning:") + QString::number(k + 1) + QStringLiteral("! Aborted."));
                doc.selectedIndex = i;
                result.nullEntry = i;
                result.outcome = ToolOutcome::Refused;
                return result;
            }
        }
        QString cleaned = header.toString();
        for (const QString &line : meanings)
            cleaned += QLatin1Char('\n') + line;
        if (cleaned != entry)
            rewritten.emplace_back(i, std::move(cleaned));
    }

    const QString populating = QStringLiteral("Remove symbols. 3/3: Populating...");
    task.showProgress(populating + QStringLiteral("0/") + QString::number(total), 0);
    if (options.any()) {
        doc.entries.replaceMany(rewritten);
        doc.changed = true;
        result.changed = true;
    }
    task.finish(okText);
    return result;
}

// ---- Combine --------------------------------------------------------------------

bool CombineSimple(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui, qint64 memoryBudget)
{
    if (refuseEmpty(doc, ui))
        return false;
    TakeUndoSnapshot(doc, true);
    const qint64 total = doc.entries.size();
    LongTask task(ui, settings);
    const QString extracting = QStringLiteral("Combine. 1/3: Extracting...");
    task.begin(extracting + escTail, total);
    std::vector<QString> texts;
    texts.reserve(static_cast<size_t>(total));
    qint64 newEntries = 0;
    qint64 characters = 0;
    qint64 newCharacters = 0;
    for (qint64 i = 0; i < total; ++i) {
        const auto progress = [&] {
            task.showProgress(
                extracting + QString::number(i) + QLatin1Char('/') + QString::number(total) + escTailCapital, i);
        };
        if (pollAborted(task, progress))
            return false;
        const QStringView entry = doc.entries.view(i);
        if (entry.count(u'|') > 1 || entry.contains(u"-|") || entry.contains(u'(') || entry.contains(u')')) {
            task.cancel();
            ui.showMessage(LongTask::warningTitle(), thesaurusToolTexts::combineRefusal, MessageIcon::Warning);
            ui.setStatusText(LongTask::abortedText());
            return false;
        }
        texts.push_back(entry.toString());
        const qint64 meanings = entry.count(u'\n');
        newEntries += meanings;
        // Each new entry is about as long as the one it comes from.
        newCharacters += meanings * (entry.size() + 10);
        characters += entry.size();
    }
    // The new entries grow with the square of the meanings of an entry: a small file
    // can ask for more than the machine has. Their texts, the sort keys and the new
    // list each hold every character once.
    const qint64 entriesAfter = total + newEntries;
    const qint64 needed = 3 * qint64(sizeof(QChar)) * (characters + newCharacters) + 100 * entriesAfter;
    if (needed > MemoryBudgetOr(memoryBudget)) {
        task.cancel();
        ui.showMessage(fileTexts::errorTitle,
                       thesaurusToolTexts::combineTooLarge.arg(task.formatCount(newEntries),
                                                               megabytes(needed)),
                       MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return false;
    }
    std::sort(texts.begin(), texts.end());
    texts.reserve(texts.size() + static_cast<size_t>(newEntries));

    task.showProgress(QStringLiteral("Combine. 2/3: Combining...") + escTail, 0);
    for (qint64 i = 0; i < total; ++i) {
        if (pollAborted(task, [&] { task.showProgress(QStringLiteral("Combine. 2/3: Combining...") + escTail, i); }))
            return false;
        const QString entry = texts[static_cast<size_t>(i)]; // shared, not copied: texts grows
        const QStringView word = HeadWordOf(entry);
        const QStringList meanings = MeaningLinesOf(entry);
        const QString count = QString::number(meanings.size());
        for (qsizetype k = 0; k < meanings.size(); ++k) {
            // Built in place: a list copy per new entry costs more than the entry.
            QString combined;
            combined.reserve(entry.size() + meanings[k].size() + count.size() + 2);
            combined += meanings[k];
            combined += QLatin1Char('|');
            combined += count;
            for (qsizetype j = 0; j < meanings.size(); ++j) {
                combined += QLatin1Char('\n');
                combined += j == k ? word : QStringView(meanings[j]);
            }
            texts.push_back(std::move(combined));
        }
    }
    const qint64 added = static_cast<qint64>(texts.size()) - total;
    const std::vector<qint64> order = caseBlindOrder(texts);
    task.showProgress(QStringLiteral("Combine. 3/3: Populating... 0/") + QString::number(texts.size()), 0);
    doc.entries = storeOf(texts, order);
    doc.selectedIndex = -1;
    doc.changed = true;
    task.finish(QStringLiteral("New synonyms:") + QString::number(added));
    return true;
}

// ---- Sort and deduplicate meanings ----------------------------------------------

QStringList SortedMeanings(QStringList meanings)
{
    meanings.removeAll(QString());
    // Exact ties are broken by code unit so that equal lines always meet, even when a
    // line differing only in case sorts between them.
    std::stable_sort(meanings.begin(), meanings.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return meanings;
}

QStringList DeduplicatedMeanings(const QStringList &meanings)
{
    // Equal lines sit side by side in the sorted copy; each pair blanks the first
    // remaining one in stored order, so the last of them stays. Counting does the same.
    QHash<QString, qsizetype> remaining;
    for (const QString &line : meanings)
        ++remaining[line];
    QStringList kept;
    kept.reserve(meanings.size());
    for (const QString &line : meanings) {
        qsizetype &left = remaining[line];
        if (--left == 0 && !line.isEmpty())
            kept.append(line);
    }
    return kept;
}

bool SortOrDeduplicateMeanings(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui, bool sort)
{
    if (refuseEmpty(doc, ui))
        return false;
    const QString name = sort ? QStringLiteral("Sort meanings...") : QStringLiteral("Unduplicate meanings...");
    ui.setStatusText(name + escTail);
    if (sort &&
        !ui.askYesNo(LongTask::warningTitle(), thesaurusToolTexts::sortMeaningsQuestion, MessageIcon::Warning)) {
        ui.setStatusText(LongTask::abortedText());
        return false;
    }
    TakeUndoSnapshot(doc, true);
    const qint64 total = doc.entries.size();
    LongTask task(ui, settings);
    task.begin(name + escTail, total);
    qint64 changedEntries = 0;
    for (qint64 i = 0; i < total; ++i) {
        if (pollAborted(task, [&] { task.showProgress(name + QString::number(i) + escTailCapital, i); }))
            return changedEntries > 0;
        const QStringView entry = doc.entries.view(i);
        const QStringList meanings = MeaningLinesOf(entry);
        if (meanings.size() < 2)
            continue;
        // The count follows the lines kept, so the header always matches them.
        const QString rebuilt =
            buildEntry(HeadWordOf(entry), sort ? SortedMeanings(meanings) : DeduplicatedMeanings(meanings));
        if (rebuilt != entry) {
            doc.entries.replace(i, rebuilt);
            doc.changed = true;
            ++changedEntries;
        }
    }
    task.finish(sort ? okText : QStringLiteral("Unduplicated synonyms meanings:") + QString::number(changedEntries));
    return changedEntries > 0;
}

// ---- Sort on numbers ------------------------------------------------------------

QString NumberSortKey(QStringView entry)
{
    const QString count = QStringLiteral("0000000000") + QString::number(MeaningCountOf(HeaderOf(entry)));
    return count.right(10) + FoldAccents(HeadWordOf(entry).toString());
}

bool SortOnNumbers(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui)
{
    if (refuseEmpty(doc, ui))
        return false;
    const QString starting = QStringLiteral("Sorting Thesaurus on number...");
    ui.setStatusText(starting);
    TakeUndoSnapshot(doc, true);
    doc.selectedIndex = -1;
    doc.changed = true;
    const qint64 total = doc.entries.size();
    LongTask task(ui, settings);
    task.begin(starting, total);
    const QString folding = QStringLiteral("Removing accents... <ESC> to abort. Found:");
    std::vector<QString> keys;
    keys.reserve(static_cast<size_t>(total));
    for (qint64 i = 0; i < total; ++i) {
        if (pollAborted(task, [&] { task.showProgress(folding + QString::number(i), i); }))
            return true;
        keys.push_back(NumberSortKey(doc.entries.view(i)));
    }
    task.showProgress(QStringLiteral("Sorting on number... <ESC> to abort. Found:") + QString::number(total), total);
    std::vector<qint64> order(static_cast<size_t>(total));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qint64 a, qint64 b) {
        return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
    });
    // Written into a new list that replaces the old one only when complete: an abort
    // half-way through writing back in place would leave some entries twice.
    const QString populating = QStringLiteral("Populating with accents... <ESC> to abort. Found:");
    EntryStore sorted;
    qint64 characters = 0;
    for (qint64 i = 0; i < total; ++i)
        characters += doc.entries.view(i).size();
    sorted.reserve(total, characters);
    for (qint64 i = 0; i < total; ++i) {
        if (pollAborted(task, [&] { task.showProgress(populating + QString::number(i), i); }))
            return true;
        sorted.append(doc.entries.view(order[static_cast<size_t>(i)]));
    }
    doc.entries = std::move(sorted); // the ticks are cleared
    task.finish(okText + task.elapsedText());
    return true;
}

// ---- Fix invalid spaces ---------------------------------------------------------

QString RepairThesaurusSpaces(QString entry)
{
    // One pass reaches what repeating the replacements reaches: a run of spaces goes
    // when "|", a line end or the end of the text is beside it, and becomes one space
    // otherwise (a leading run included).
    if (!entry.contains(QLatin1Char(' ')))
        return entry;
    QString out;
    out.reserve(entry.size());
    const qsizetype n = entry.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = entry.at(i);
        if (c != QLatin1Char(' ')) {
            out += c;
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < n && entry.at(end) == QLatin1Char(' '))
            ++end;
        const auto clings = [](QChar x) { return x == QLatin1Char('|') || x == QLatin1Char('\n'); };
        const bool dropped = (i > 0 && clings(entry.at(i - 1))) || end == n || clings(entry.at(end));
        if (!dropped)
            out += QLatin1Char(' ');
        i = end;
    }
    return out;
}

ToolResult<bool> FixThesaurusSpaces(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui)
{
    if (refuseEmpty(doc, ui))
        return {false, ToolOutcome::Empty};
    const QString starting = QStringLiteral("Fix Invalid Spaces...") + escTail;
    ui.setStatusText(starting);
    TakeUndoSnapshot(doc, true);
    const qint64 total = doc.entries.size();
    LongTask task(ui, settings);
    task.begin(starting, total);

    const QString pass1 = QStringLiteral("Processing Wordlist 1/2...");
    std::vector<std::pair<qint64, QString>> toFix;
    for (qint64 i = 0; i < total; ++i) {
        if (pollAborted(task, [&] { task.showProgress(pass1 + QString::number(i) + escTailCapital, i); }))
            return {false, ToolOutcome::Aborted};
        const QStringView stored = doc.entries.view(i);
        // Only spaces are repaired: an entry without one is checked as it stands.
        QString repaired = stored.contains(u' ') ? RepairThesaurusSpaces(stored.toString()) : stored.toString();
        const int n = MeaningCountOf(HeaderOf(stored));
        const QStringList lines = repaired.split(QLatin1Char('\n'));
        for (int k = 0; k <= n; ++k) {
            const QString line = k < lines.size() ? lines[k] : QString();
            const bool nullLine = line.isEmpty() || line == QStringLiteral("|") || line == QStringLiteral("-|") ||
                                  (k == 0 && line.startsWith(QLatin1Char('|')));
            if (nullLine) {
                task.cancel(sharedTexts::nullWord + task.formatCount(i + 1) + QLatin1Char(' ') +
                            (k == 0 ? QStringLiteral("Synonym") : QStringLiteral("Meaning:") + QString::number(k)) +
                            QStringLiteral(" Aborted."));
                return {false, ToolOutcome::Refused};
            }
        }
        if (repaired != stored)
            toFix.emplace_back(i, std::move(repaired));
    }
    if (toFix.empty()) {
        task.cancel(okText);
        ui.showMessage(LongTask::warningTitle(), thesaurusToolTexts::noSpacesToFix, MessageIcon::Warning);
        ui.setStatusText(okText);
        return {false};
    }

    const QString pass2 = QStringLiteral("Fixing spaces 2/2...");
    task.begin(pass2 + QStringLiteral("0") + escTailCapital, static_cast<qint64>(toFix.size()));
    qint64 fixed = 0;
    for (const auto &[i, repaired] : toFix) {
        if (pollAborted(task, [&] { task.showProgress(pass2 + QString::number(fixed) + escTailCapital, fixed); }))
            return {fixed > 0, ToolOutcome::Aborted};
        doc.entries.replace(i, repaired);
        doc.changed = true;
        ++fixed;
    }
    task.finish(QStringLiteral("Fixed words:") + task.formatCount(fixed));
    return {true};
}

// ---- Show/Merge duplicates ------------------------------------------------------

std::optional<std::vector<DuplicateRow>> FindThesaurusDuplicates(const ThesaurusDocument &doc,
                                                                 const std::function<bool(qint64)> &goOn)
{
    const qint64 total = doc.entries.size();
    // The entry text and then its index as text decide the order, so equal entries
    // come in the order of their index written out.
    std::vector<QString> keys;
    keys.reserve(static_cast<size_t>(total));
    for (qint64 i = 0; i < total; ++i) {
        if (goOn && !goOn(i))
            return std::nullopt;
        keys.push_back(doc.entries.view(i).toString() + QChar(u'\x01') + QString::number(i));
    }
    std::vector<qint64> order(static_cast<size_t>(total));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&keys](qint64 a, qint64 b) { return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)]; });

    std::vector<DuplicateRow> rows;
    size_t runStart = 0;
    for (size_t k = 1; k <= order.size(); ++k) {
        if (k < order.size() && HeadWordOf(doc.entries.view(order[k])) == HeadWordOf(doc.entries.view(order[runStart])))
            continue;
        if (k - runStart > 1) {
            for (size_t r = runStart; r < k; ++r)
                rows.push_back({order[r], HeaderOf(doc.entries.view(order[r])).toString()});
        }
        runStart = k;
    }
    return rows;
}

ThesaurusDuplicatesSession::ThesaurusDuplicatesSession(ThesaurusDocument &doc, const MainSettings &settings, Ui &ui,
                                                       ThesaurusDuplicatesHost &host)
    : m_doc(doc)
    , m_settings(settings)
    , m_ui(ui)
    , m_host(host)
{
}

ToolResult<bool> ThesaurusDuplicatesSession::start()
{
    using namespace thesaurusToolTexts;
    if (refuseEmpty(m_doc, m_ui))
        return {false, ToolOutcome::Empty};
    if (m_doc.entries.size() == 1) {
        m_ui.showMessage(LongTask::warningTitle(), noDuplicates, MessageIcon::Warning);
        m_ui.setStatusText(okText);
        return {false};
    }
    TakeUndoSnapshot(m_doc, true);
    LongTask task(m_ui, m_settings);
    task.begin(QStringLiteral("Show duplicates. 1/2: Extracting...") + escTail, m_doc.entries.size());
    const std::optional<std::vector<DuplicateRow>> found = FindThesaurusDuplicates(m_doc, [&task](qint64 i) {
        if (pollAborted(task, [&] { task.showValue(i); }))
            return false;
        return true;
    });
    if (!found)
        return {false, ToolOutcome::Aborted};
    // Sorting and walking the keys take a fraction of what building them takes.
    task.finish(QStringLiteral("Show duplicates. 2/2: Comparing...") + escTail);
    m_rows = *found;
    if (m_rows.empty()) {
        m_ui.setStatusText(okText);
        m_ui.showMessage(LongTask::warningTitle(), noDuplicates, MessageIcon::Warning);
        return {false};
    }
    m_ui.setStatusText(okText);
    return {true};
}

QString ThesaurusDuplicatesSession::foundText() const
{
    return thesaurusToolTexts::foundLabel + QString::number(m_rows.size());
}

QString ThesaurusDuplicatesSession::previewText(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return thesaurusToolTexts::nothingToDisplay;
    return MeaningLinesOf(m_doc.entries.view(m_rows[static_cast<size_t>(row)].index)).join(QLatin1Char('\n'));
}

void ThesaurusDuplicatesSession::display(int row)
{
    if (row >= 0 && row < static_cast<int>(m_rows.size()))
        m_host.showEntry(m_rows[static_cast<size_t>(row)].index);
}

bool ThesaurusDuplicatesSession::exportRows()
{
    const QString path =
        AskSavePath(m_ui, thesaurusToolTexts::exportTitle, thesaurusToolTexts::txtFilter, QStringLiteral(".txt"));
    if (path.isEmpty())
        return false;
    AtomicFileWriter file(path);
    if (file.open()) {
        BlockWriter writer(file);
        writer.append(utf8ByteOrderMark);
        writer.append(QStringLiteral("DUPLICATES FOUND:") +
                      FormatCount(static_cast<qint64>(m_rows.size()), m_settings.thousandsSeparator) +
                      QStringLiteral("\n\n"));
        for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
            writer.append(m_rows[static_cast<size_t>(r)].header + QLatin1Char('\n') + previewText(r) +
                          QStringLiteral("\n\n"));
        }
        if (writer.flush() && file.commit())
            return true;
    }
    m_ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, file.errorString()), MessageIcon::Error);
    return false;
}

ThesaurusDuplicatesSession::MergeOutcome ThesaurusDuplicatesSession::merge(Ui &taskUi)
{
    const qint64 rowCount = static_cast<qint64>(m_rows.size());
    LongTask task(taskUi, m_settings);
    const QString removing = QStringLiteral("Removing duplicates...");
    task.begin(removing + QStringLiteral("0/") + QString::number(rowCount), rowCount);

    // Work on copies: the document changes only when the whole merge went through.
    std::vector<DuplicateRow> rows = m_rows;
    std::vector<QString> texts;
    texts.reserve(static_cast<size_t>(m_doc.entries.size()));
    for (qint64 i = 0; i < m_doc.entries.size(); ++i)
        texts.push_back(m_doc.entries.at(i));
    std::vector<char> dropped(texts.size(), 0);

    std::vector<char> removed(rows.size(), 0);
    for (qint64 r = rowCount - 1; r >= 1; --r) {
        const auto progress = [&] {
            task.showProgress(removing + QString::number(rowCount - r) + QLatin1Char('/') + QString::number(rowCount),
                              rowCount - r);
        };
        if (pollAborted(task, progress))
            return MergeOutcome::Aborted;
        const DuplicateRow &row = rows[static_cast<size_t>(r)];
        const DuplicateRow &previous = rows[static_cast<size_t>(r - 1)];
        if (row.header == previous.header &&
            texts[static_cast<size_t>(row.index)] == texts[static_cast<size_t>(previous.index)]) {
            dropped[static_cast<size_t>(row.index)] = 1;
            removed[static_cast<size_t>(r)] = 1;
        }
    }
    std::vector<DuplicateRow> left;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (!removed[r])
            left.push_back(rows[r]);
    }
    rows = std::move(left);

    const qint64 leftCount = static_cast<qint64>(rows.size());
    const QString merging = QStringLiteral("Merging duplicates...");
    task.showProgress(merging + QStringLiteral("0/") + QString::number(leftCount), 0);
    std::vector<char> merged(rows.size(), 0);
    for (qint64 r = leftCount - 1; r >= 1; --r) {
        const auto progress = [&] {
            task.showProgress(merging + QString::number(leftCount - r) + QLatin1Char('/') + QString::number(leftCount),
                              leftCount - r);
        };
        if (pollAborted(task, progress))
            return MergeOutcome::Aborted;
        QString &later = texts[static_cast<size_t>(rows[static_cast<size_t>(r)].index)];
        QString &earlier = texts[static_cast<size_t>(rows[static_cast<size_t>(r - 1)].index)];
        const QStringView laterHeader = HeaderOf(later);
        const QStringView earlierHeader = HeaderOf(earlier);
        const qsizetype laterBar = laterHeader.indexOf(u'|');
        const qsizetype earlierBar = earlierHeader.indexOf(u'|');
        if (laterBar < 0 || earlierBar < 0 || laterHeader.first(laterBar) != earlierHeader.first(earlierBar))
            continue;
        QStringList lines = MeaningLinesOf(earlier);
        // A set of the lines already there: each line of the later entry is looked up
        // once instead of against every line.
        QSet<QString> present(lines.cbegin(), lines.cend());
        bool appended = false;
        for (const QString &line : MeaningLinesOf(later)) {
            if (present.contains(line))
                continue;
            present.insert(line);
            lines.append(line);
            appended = true;
        }
        if (appended && lines.size() > maxMeanings) {
            task.cancel();
            m_ui.showMessage(LongTask::warningTitle(), TooManyMeaningsOnLoadText(), MessageIcon::Warning);
            taskUi.setStatusText(LongTask::abortedText());
            m_ui.setStatusText(LongTask::abortedText());
            return MergeOutcome::TooManyMeanings;
        }
        if (appended)
            earlier = buildEntry(earlierHeader.first(earlierBar), lines);
        dropped[static_cast<size_t>(rows[static_cast<size_t>(r)].index)] = 1;
        merged[static_cast<size_t>(r)] = 1;
    }

    // The surviving entries in the case-blind order, which sorts the whole thesaurus.
    std::vector<QString> survivors;
    std::vector<qint64> newIndexOf(texts.size(), -1);
    std::vector<qint64> survivorSource;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (!dropped[i]) {
            survivorSource.push_back(static_cast<qint64>(i));
            survivors.push_back(std::move(texts[i]));
        }
    }
    const std::vector<qint64> order = caseBlindOrder(survivors);
    task.showProgress(QStringLiteral("Populating... 0/") + QString::number(survivors.size()), 0);
    for (size_t k = 0; k < order.size(); ++k)
        newIndexOf[static_cast<size_t>(survivorSource[static_cast<size_t>(order[k])])] = static_cast<qint64>(k);
    m_doc.entries = storeOf(survivors, order); // the ticks are cleared
    m_doc.selectedIndex = -1;
    m_doc.changed = true;

    // Each run is left as its first row, pointing at where its entry went.
    std::vector<DuplicateRow> remaining;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (merged[r])
            continue;
        DuplicateRow row = rows[r];
        row.index = newIndexOf[static_cast<size_t>(row.index)];
        row.header = HeaderOf(m_doc.entries.view(row.index)).toString();
        remaining.push_back(row);
    }
    m_rows = std::move(remaining);
    task.finish(okText);
    m_ui.setStatusText(okText);
    return MergeOutcome::Merged;
}

} // namespace lexaloom
