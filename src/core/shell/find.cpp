#include "core/shell/find.h"

#include "core/shell/entry_store.h"
#include "core/shell/format.h"
#include "core/shell/goto.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"

#include <algorithm>

namespace lexaloom {

namespace {

constexpr QChar fieldSeparator = QLatin1Char('\n');
constexpr QChar shownSeparator = QChar(0x2192); // →

Qt::CaseSensitivity caseOf(const FindOptions &options)
{
    return options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

bool textMatches(QStringView text, QStringView needle, const FindOptions &options)
{
    if (options.leftMatch)
        return text.startsWith(needle, caseOf(options));
    return text.contains(needle, caseOf(options));
}

QStringView firstLine(QStringView entry)
{
    const qsizetype end = entry.indexOf(fieldSeparator);
    return end < 0 ? entry : entry.left(end);
}

bool primaryMatches(QStringView entry, EntryLayout layout, QStringView needle, const FindOptions &options)
{
    if (layout == EntryLayout::HeadAndMeanings)
        return textMatches(firstLine(entry), needle, options);
    // The arrow stands in for the separator one code unit for one, so unless the search
    // text holds either of them, the stored entry can be searched without building the
    // shown text: this loop runs over millions of entries.
    if (needle.contains(fieldSeparator) || needle.contains(shownSeparator))
        return textMatches(FindPrimaryText(entry, layout), needle, options);
    return textMatches(entry, needle, options);
}

bool extraMatches(QStringView entry, EntryLayout layout, QStringView needle, const FindOptions &options)
{
    const qsizetype firstBreak = entry.indexOf(fieldSeparator);
    if (firstBreak < 0)
        return false;
    QStringView rest = entry.mid(firstBreak + 1);
    if (layout != EntryLayout::HeadAndMeanings)
        return textMatches(rest, needle, options);

    // The head "word|n" announces n meaning lines; a head that promises more lines than
    // the entry has must not take the search past its end.
    const QStringView head = entry.left(firstBreak);
    const qsizetype bar = head.lastIndexOf(QLatin1Char('|'));
    qint64 meanings = bar < 0 ? 0 : head.mid(bar + 1).trimmed().toLongLong();
    while (meanings-- > 0) {
        const qsizetype end = rest.indexOf(fieldSeparator);
        if (textMatches(end < 0 ? rest : rest.left(end), needle, options))
            return true;
        if (end < 0)
            break;
        rest = rest.mid(end + 1);
    }
    return false;
}

QString warningTitle()
{
    return LongTask::warningTitle();
}

} // namespace

QString FindPrimaryText(QStringView entry, EntryLayout layout)
{
    if (layout == EntryLayout::HeadAndMeanings)
        return firstLine(entry).toString();
    QString text = entry.toString();
    text.replace(fieldSeparator, shownSeparator);
    return text;
}

qint64 FindPosition(QStringView text, QStringView needle, bool matchCase)
{
    return text.indexOf(needle, 0, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) + 1;
}

bool FindEntryMatches(QStringView entry, EntryLayout layout, QStringView needle, const FindOptions &options)
{
    if (primaryMatches(entry, layout, needle, options))
        return true;
    return options.matchExtra && extraMatches(entry, layout, needle, options);
}

QString FormatMatchPercent(qint64 primaryLength, qint64 searchLength)
{
    const qint64 longer = std::max(primaryLength, searchLength);
    if (longer <= 0)
        return QStringLiteral("0");
    const double p = static_cast<double>(std::min(primaryLength, searchLength)) * 100.0 / static_cast<double>(longer);
    QString text = QString::number(p, 'f', 2);
    if (text.endsWith(QLatin1String(".00")))
        text.chop(3);
    return text;
}

bool IsSuspiciousFindText(const QString &text, bool leftMatch)
{
    return text.contains(QLatin1String("  ")) || (leftMatch && text.startsWith(QLatin1Char(' ')));
}

FindSession::FindSession(FindTarget target, FindMemory &memory, const MainSettings &settings)
    : m_target(std::move(target))
    , m_memory(memory)
    , m_settings(settings)
{
}

bool FindSession::CheckCanOpen(const FindTarget &target, Ui &ui)
{
    if (target.entries && !target.entries->isEmpty())
        return true;
    ui.showMessage(warningTitle(), NoEntriesFoundText(target.noun), MessageIcon::Warning);
    return false;
}

FindOptions FindSession::options() const
{
    return {m_memory.leftMatch, m_memory.matchCase, m_memory.matchExtra};
}

qint64 FindSession::entryCount() const
{
    return m_target.entries->size();
}

QString FindSession::foundLabel() const
{
    const QString found = QStringLiteral("Found:");
    if (m_labelCountsRows)
        return found + FormatCount(static_cast<qint64>(m_rows.size()), m_settings.thousandsSeparator) +
               QLatin1Char('/') + FormatCount(entryCount(), m_settings.thousandsSeparator);
    if (m_searched)
        return found + QLatin1Char('0');
    return found + QStringLiteral("0/") + FormatCount(entryCount(), m_settings.thousandsSeparator);
}

bool FindSession::search(Ui &ui, const QString &text, const std::function<void()> &onRefresh)
{
    if (m_searching)
        return false;
    if (text.isEmpty()) {
        ui.showMessage(warningTitle(), QStringLiteral("Nothing to find."), MessageIcon::Warning);
        return false;
    }
    m_memory.searchText = text;
    m_rows.clear();
    m_searched = true;
    m_labelCountsRows = false;
    m_searching = true;

    const FindOptions options = this->options();
    const EntryStore &entries = *m_target.entries;
    const qint64 count = entries.size();
    LongTask task(ui, m_settings);
    task.begin(escToAbortText(), count);
    if (onRefresh)
        onRefresh();
    bool aborted = false;
    for (qint64 n = 1; n <= count && n <= entries.size(); ++n) {
        const LongTask::PollResult poll = task.poll();
        if (poll.abortRequested) {
            aborted = true;
            break;
        }
        if (poll.ticked) {
            task.showProgress(escToAbortText(), n);
            if (onRefresh)
                onRefresh();
        }
        const QStringView entry = entries.view(n - 1);
        if (!FindEntryMatches(entry, m_target.layout, text, options))
            continue;
        QString primary = FindPrimaryText(entry, m_target.layout);
        const qint64 length = primary.size();
        m_rows.push_back({std::move(primary), n, FormatMatchPercent(length, text.size()), false});
        m_labelCountsRows = true;
    }
    if (aborted)
        task.cancel(QString());
    else
        task.finish(QString());
    m_searching = false;
    if (onRefresh)
        onRefresh();
    if (m_rows.empty())
        ui.showMessage(warningTitle(), QLatin1Char('"') + text + QStringLiteral("\" not found."), MessageIcon::Warning);
    return true;
}

void FindSession::display(qsizetype row, const FindActions &actions) const
{
    if (row < 0 || row >= static_cast<qsizetype>(m_rows.size()) || !actions.showEntry)
        return;
    actions.showEntry(m_rows[static_cast<size_t>(row)].position - 1);
}

bool FindSession::checkRow(qsizetype row, Ui &ui) const
{
    if (!m_target.offersEditDelete)
        return false;
    if (m_rows.empty()) {
        ui.showMessage(warningTitle(), QStringLiteral("No items found."), MessageIcon::Warning);
        return false;
    }
    if (row < 0 || row >= static_cast<qsizetype>(m_rows.size())) {
        ui.showMessage(warningTitle(), QStringLiteral("No item selected."), MessageIcon::Warning);
        return false;
    }
    return true;
}

void FindSession::restoreSelection(qint64 saved)
{
    // After a deletion the focus that was on the last entry would point past the end.
    const qint64 count = entryCount();
    *m_target.selectedIndex = saved < count ? saved : count - 1;
}

void FindSession::edit(qsizetype row, Ui &ui, const FindActions &actions)
{
    if (!checkRow(row, ui) || !actions.editEntry)
        return;
    const qint64 index = m_rows[static_cast<size_t>(row)].position - 1;
    const qint64 saved = *m_target.selectedIndex;
    *m_target.selectedIndex = index;
    actions.editEntry(index);
    if (index < entryCount()) {
        FindResultRow &result = m_rows[static_cast<size_t>(row)];
        QString now = FindPrimaryText(m_target.entries->view(index), m_target.layout);
        if (now != result.text) {
            result.text = std::move(now);
            result.changed = true;
        }
    }
    restoreSelection(saved);
    if (actions.refreshList)
        actions.refreshList();
}

void FindSession::remove(qsizetype row, Ui &ui, const FindActions &actions)
{
    if (!checkRow(row, ui) || !actions.deleteEntry)
        return;
    const qint64 position = m_rows[static_cast<size_t>(row)].position;
    const qint64 saved = *m_target.selectedIndex;
    *m_target.selectedIndex = position - 1;
    if (actions.deleteEntry(position - 1)) {
        m_rows.erase(m_rows.begin() + row);
        for (FindResultRow &result : m_rows) {
            if (result.position > position)
                --result.position;
        }
        m_labelCountsRows = true;
    }
    restoreSelection(saved);
    if (actions.refreshList)
        actions.refreshList();
}

} // namespace lexaloom
