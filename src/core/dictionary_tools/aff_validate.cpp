#include "core/dictionary_tools/aff_validate.h"

#include "core/dictionary/affix_table.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/shared_texts.h"
#include "core/shell/text_folding.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace lexaloom {

namespace {

// Header counts are whatever the file says; a sum of them stops at the limits
// of the type instead of overflowing.
qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

constexpr qint64 validateTickMs = 900;
constexpr int stepCount = 6;

const QString setUtf8 = QStringLiteral("SET UTF-8");

// Trims spaces only: tabs are part of a line's text for these checks.
QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return (begin == 0 && end == text.size()) ? text : text.mid(begin, end - begin);
}

// The n-th (1-based) field of text split at single spaces; empty when missing.
QString spaceField(const QString &text, int n)
{
    return text.split(QLatin1Char(' ')).value(n - 1);
}

QString stepTitle(int step)
{
    switch (step) {
    case 1:
        return QStringLiteral(" - Searching For \"SET UTF-8\"");
    case 2:
        return QStringLiteral(" - Searching and validating reserved flags");
    case 3:
        return QStringLiteral(" - Listing flags in .AFF");
    case 4:
        return QStringLiteral(" - Searching for duplicate flags");
    case 5:
        return QStringLiteral(" - Counting number of rules per flag");
    default:
        return QStringLiteral(" - Searching for repeated/invalid rules in flags");
    }
}

QString processingPrefix()
{
    return QStringLiteral("Processing:");
}

// Prefix and suffix halves of steps 3, 5 and 6 differ only in these texts.
struct Half {
    QString kind;
    QString analysing;
    QString showing;
    QString noneFound;
};

const Half prefixHalf{QStringLiteral("PFX"), QStringLiteral("Analysing Prefixes..."),
                      QStringLiteral("Showing Prefixes..."), QStringLiteral("No Prefixes found!\n")};
const Half suffixHalf{QStringLiteral("SFX"), QStringLiteral("Analysing Suffixes..."),
                      QStringLiteral("Showing Suffixes..."), QStringLiteral("No Suffixes found!\n")};

QString noErrorsFound()
{
    return QStringLiteral("No errors found!");
}

class ValidateRun final {
public:
    ValidateRun(AffPanel &panel, const AffixTable &table, const MainSettings &settings, AffValidateDisplay &display,
                AffValidateHost &host)
        : m_panel(panel)
        , m_display(display)
        , m_host(host)
        , m_task(host.sideUi(AffStatusSide::Report), settings, validateTickMs)
        , m_headers(ParseAffHeaderSummary(table.headerSummary))
        , m_prefixCount(qsizetype(table.prefixGroupCount))
        , m_suffixCount(qsizetype(table.suffixGroupCount))
    {
        for (const auto &flag : table.groupFlags)
            m_groupFlags.append(flag);
    }

    AffValidateOutcome run()
    {
        m_panel.resetColours();
        m_host.refresh(m_display);
        m_task.begin(AffValidateDisplay::abortHint(), 0);
        m_value = m_maximum = 0;
        const bool completed = stepSetUtf8() && stepReservedFlags() && stepListFlags() && stepDuplicateFlags() &&
                               stepRuleCounts() && stepRules();
        if (!completed) {
            m_task.cancel(QString());
            setStatusLabel(processingPrefix() + LongTask::abortedText());
            return AffValidateOutcome::Aborted;
        }
        report(QString());
        report(m_errors ? QStringLiteral("Errors found in validation!")
                        : QStringLiteral("No errors found in validation!"));
        report(QStringLiteral("Done!"));
        report(QString());
        report(QStringLiteral("\n"));
        showProgress();
        m_task.finish(QString());
        setStatusLabel(processingPrefix() + QString::number(stepCount) + QLatin1Char('/') + QString::number(stepCount) +
                       QStringLiteral(" Done!"));
        return m_errors ? AffValidateOutcome::ErrorsFound : AffValidateOutcome::NoErrors;
    }

private:
    // Polls once per unit of work; true when the user confirmed the abort.
    bool aborted()
    {
        const LongTask::PollResult poll = m_task.poll();
        if (poll.ticked)
            showProgress();
        return poll.abortRequested;
    }

    void setValue(qint64 value) { m_value = value; }
    void setMaximum(qint64 maximum)
    {
        m_maximum = maximum;
        m_task.setMaximum(maximum);
    }

    // The tick: the bar, the elapsed time and the percentage, then the window redraws.
    void showProgress()
    {
        m_task.showValue(m_value);
        m_display.reportElapsed = FormatElapsed(QStringLiteral("\u231A"), m_task.elapsedMs());
        if (m_maximum > 0)
            m_display.percent = FormatPercent(std::min(m_value, m_maximum), m_maximum);
        m_host.refresh(m_display);
    }

    void setStatusLabel(const QString &text)
    {
        m_display.statusLabel = text;
        m_host.refresh(m_display);
    }

    void addLine(const QString &text)
    {
        m_buffer += text;
        m_buffer += QLatin1Char('\n');
    }

    void report(const QString &text)
    {
        m_display.report += text;
        m_display.report += QLatin1Char('\n');
    }

    void reportBuffer()
    {
        report(m_buffer);
        m_buffer.clear();
    }

    void reportBufferWithBlankLine()
    {
        report(m_buffer + QLatin1Char('\n'));
        m_buffer.clear();
    }

    void beginStep(int step)
    {
        setStatusLabel(processingPrefix() + QString::number(step) + QLatin1Char('/') + QString::number(stepCount));
        m_buffer.clear();
        addLine(QString());
        addLine(QStringLiteral("Step ") + QString::number(step) + QLatin1Char('/') + QString::number(stepCount) +
                stepTitle(step));
        if (step == 2)
            addLine(QStringLiteral("Not coded yet!"));
        reportBuffer();
    }

    void colour(qsizetype lineNumber, quint32 colour)
    {
        // Header line numbers come from the last build and may lie beyond an edited panel.
        if (lineNumber < 1 || lineNumber > m_panel.count())
            return;
        // The window draws the rows from the records at its next refresh.
        m_panel.setColour(lineNumber - 1, colour);
    }

    QString lineText(qsizetype lineNumber) const { return m_panel.line(lineNumber - 1).text; }

    bool stepSetUtf8()
    {
        beginStep(1);
        const qsizetype n = m_panel.count();
        setMaximum(2 * n);
        // The panel's lines, not the text the window opened with: after an edit and
        // "Refresh" the run must judge what the user sees.
        const bool anywhere = std::any_of(m_panel.lines().cbegin(), m_panel.lines().cend(),
                                          [](const AffPanelLine &line) { return line.text.contains(setUtf8); });
        if (!anywhere) {
            addLine(QStringLiteral("Error: Not found in the .AFF"));
            m_errors = true;
        } else {
            qsizetype occurrences = 0;
            bool notFirst = false;
            for (qsizetype lineNumber = 1; lineNumber <= n; ++lineNumber) {
                if (aborted())
                    return false;
                setValue(lineNumber);
                const QString trimmed = trimSpaces(lineText(lineNumber));
                const bool remmed = trimmed.startsWith(QLatin1Char('#'));
                const qsizetype here = trimmed.count(setUtf8);
                if (!remmed)
                    occurrences += here;
                if (!notFirst && occurrences == 0 && !trimmed.isEmpty() && !remmed)
                    notFirst = true;
                if (here > 0)
                    addLine(QStringLiteral("\"SET UTF-8\" found at line:") + QString::number(lineNumber) +
                            (remmed ? QStringLiteral(" (remmed)") : QString()) +
                            (here > 1 ? QStringLiteral(" (multiple)") : QString()));
            }
            if (occurrences == 1 && !notFirst) {
                addLine(QStringLiteral("OK! Found one entry in the .AFF"));
                reportBufferWithBlankLine();
                return true;
            }
            if (occurrences == 0) {
                addLine(QStringLiteral("Error: Not found in the .AFF"));
                m_errors = true;
            } else if (occurrences >= 2) {
                for (qsizetype lineNumber = 1; lineNumber <= n; ++lineNumber) {
                    if (aborted())
                        return false;
                    setValue(n + lineNumber);
                    const QString trimmed = trimSpaces(lineText(lineNumber));
                    if (!trimmed.startsWith(QLatin1Char('#')) && trimmed.contains(setUtf8))
                        colour(lineNumber, AffLineColour::red);
                }
                addLine(QStringLiteral("Error: Found ") + QString::number(occurrences) +
                        QStringLiteral(" occurences in the .AFF"));
                m_errors = true;
            }
            if (notFirst) {
                addLine(QStringLiteral("Error: \"SET UTF-8\" is not the first command in the .AFF."));
                m_errors = true;
            }
        }
        reportBufferWithBlankLine();
        return true;
    }

    bool stepReservedFlags()
    {
        beginStep(2);
        return true;
    }

    QList<const AffHeaderEntry *> headersOf(const QString &kind) const
    {
        QList<const AffHeaderEntry *> result;
        for (const AffHeaderEntry &entry : m_headers)
            if (entry.kind == kind)
                result.append(&entry);
        return result;
    }

    bool hasHeaders(const Half &half) const { return (&half == &prefixHalf ? m_prefixCount : m_suffixCount) > 0; }
    qsizetype headerCount(const Half &half) const { return &half == &prefixHalf ? m_prefixCount : m_suffixCount; }

    bool stepListFlags()
    {
        beginStep(3);
        setMaximum(m_prefixCount + m_suffixCount);
        setValue(0);
        qint64 totals[2] = {0, 0};
        for (int h = 0; h < 2; ++h) {
            const Half &half = h == 0 ? prefixHalf : suffixHalf;
            addLine(half.showing);
            if (hasHeaders(half)) {
                const qsizetype count = headerCount(half);
                addLine(QStringLiteral("Found ") + QString::number(count) + QLatin1Char(' ') +
                        (count == 1 ? QStringLiteral("entry") : QStringLiteral("entries")) + QLatin1Char(':'));
                for (const AffHeaderEntry *entry : headersOf(half.kind)) {
                    if (aborted())
                        return false;
                    setValue(m_value + 1);
                    addLine(QStringLiteral("Flag \"") + entry->flag + QStringLiteral("\" count ") + entry->count +
                            QStringLiteral(" at line:") + QString::number(entry->line));
                    totals[h] = saturatingAdd(totals[h], entry->count.toLongLong());
                }
                addLine(QString());
            } else {
                addLine(half.noneFound);
            }
            reportBuffer();
        }
        addLine(QStringLiteral("Total of rules Prefixes (") + QString::number(totals[0]) +
                QStringLiteral(") + Suffixes (") + QString::number(totals[1]) + QStringLiteral(") found:") +
                QString::number(saturatingAdd(totals[0], totals[1])));
        addLine(QStringLiteral("Total of Prefixes (") + QString::number(m_prefixCount) +
                QStringLiteral(") + Suffixes (") + QString::number(m_suffixCount) + QStringLiteral(") found:") +
                QString::number(m_prefixCount + m_suffixCount));
        reportBufferWithBlankLine();
        return true;
    }

    bool stepDuplicateFlags()
    {
        beginStep(4);
        const qsizetype headers = m_groupFlags.size();
        setMaximum(headers);
        setValue(0);
        const QString noDuplicates = QStringLiteral("No duplicate flags found!");
        if (headers == 0) {
            addLine(QStringLiteral("No flags found!\n"));
            addLine(noDuplicates);
        } else if (headers == 1) {
            addLine(noDuplicates);
        } else {
            QStringList sorted = m_groupFlags;
            std::sort(sorted.begin(), sorted.end()); // QString's operator< compares code units
            bool anyRun = false;
            for (qsizetype i = 0; i < sorted.size();) {
                if (aborted())
                    return false;
                qsizetype end = i + 1;
                while (end < sorted.size() && sorted.at(end) == sorted.at(i))
                    ++end;
                setValue(end);
                if (end - i >= 2) {
                    anyRun = true;
                    addLine(QStringLiteral("Flag:") + sorted.at(i) + QLatin1Char('(') + QString::number(end - i) +
                            QLatin1Char(')'));
                    for (const AffHeaderEntry &entry : m_headers) {
                        if (entry.flag != sorted.at(i))
                            continue;
                        addLine(QStringLiteral("  Line:") + QString::number(entry.line));
                        colour(entry.line, AffLineColour::red);
                        m_errors = true;
                    }
                }
                i = end;
            }
            if (!anyRun)
                addLine(noDuplicates);
        }
        reportBufferWithBlankLine();
        return true;
    }

    // Rule lines that follow header line `headerLine`: trimmed text begins with "KIND flag ".
    template <typename Visit> void walkRules(const AffHeaderEntry &entry, Visit visit) const
    {
        const QString rulePrefix = entry.kind + QLatin1Char(' ') + entry.flag + QLatin1Char(' ');
        for (qsizetype k = entry.line + 1; k >= 1 && k <= m_panel.count(); ++k) {
            const QString trimmed = trimSpaces(lineText(k));
            if (!trimmed.startsWith(rulePrefix))
                break;
            visit(k, trimmed);
        }
    }

    bool stepRuleCounts()
    {
        beginStep(5);
        setMaximum(m_prefixCount + m_suffixCount);
        setValue(0);
        for (int h = 0; h < 2; ++h) {
            const Half &half = h == 0 ? prefixHalf : suffixHalf;
            report(half.analysing);
            bool failed = false;
            if (!hasHeaders(half)) {
                addLine(half.noneFound);
            } else {
                for (const AffHeaderEntry *entry : headersOf(half.kind)) {
                    if (aborted())
                        return false;
                    setValue(m_value + 1);
                    qint64 found = 0;
                    walkRules(*entry, [&found](qsizetype, const QString &) { ++found; });
                    if (found == entry->count.toLongLong())
                        continue;
                    addLine(QStringLiteral("Flag \"") + entry->flag + QStringLiteral("\" expected ") + entry->count +
                            QStringLiteral(" found ") + QString::number(found) + QStringLiteral(" at line:") +
                            QString::number(entry->line));
                    colour(entry->line, AffLineColour::red);
                    failed = true;
                    m_errors = true;
                }
            }
            if (!failed)
                addLine(noErrorsFound());
            reportBufferWithBlankLine();
        }
        return true;
    }

    bool stepRules()
    {
        beginStep(6);
        setMaximum(2 * m_headers.size());
        setValue(0);
        for (int h = 0; h < 2; ++h) {
            const Half &half = h == 0 ? prefixHalf : suffixHalf;
            report(half.analysing);
            bool failed = false;
            if (!hasHeaders(half)) {
                addLine(half.noneFound);
            } else {
                for (const AffHeaderEntry *entry : headersOf(half.kind)) {
                    if (!checkRules(*entry, failed))
                        return false;
                }
            }
            if (!failed)
                addLine(noErrorsFound());
            reportBufferWithBlankLine();
        }
        return true;
    }

    bool checkRules(const AffHeaderEntry &entry, bool &failed)
    {
        if (aborted())
            return false;
        setValue(m_value + 1);
        addLine(QStringLiteral("Flag \"") + entry.flag + QLatin1Char('"'));
        const qsizetype header = entry.line;
        // Collapsed rule text + "\n" + line number; sorting puts equal rules side by side.
        QStringList keys;
        bool stop = false;
        walkRules(entry, [&](qsizetype k, const QString &trimmed) {
            if (stop || (stop = aborted()))
                return;
            const QString collapsed = CollapseSpaces(trimmed);
            keys.append(collapsed + QLatin1Char('\n') + QString::number(k));
            const QString quoted = QStringLiteral(": \"") + trimmed + QLatin1Char('"');
            if (spaceField(trimmed, 5).isEmpty()) {
                addLine(QStringLiteral(" Not 5 fields at line ") + QString::number(k) + quoted +
                        QStringLiteral(" (in blue)"));
                colour(header, AffLineColour::red);
                colour(k, AffLineColour::blue);
                failed = m_errors = true;
            }
            const qsizetype hash = trimmed.indexOf(QLatin1Char('#'));
            if ((hash < 0 ? trimmed : trimmed.left(hash)).contains(QStringLiteral("  "))) {
                addLine(QStringLiteral(" Excessive spaces at line ") + QString::number(k) + quoted);
                colour(header, AffLineColour::red);
                colour(k, AffLineColour::red);
                failed = m_errors = true;
            }
            if (IsAffConditionFaulty(spaceField(collapsed, 5))) {
                addLine(QStringLiteral(" Mistmatch of brackets/^ at line ") + QString::number(k) +
                        QStringLiteral(": \"") + collapsed + QLatin1Char('"'));
                colour(header, AffLineColour::red);
                colour(k, AffLineColour::red);
                failed = m_errors = true;
            }
        });
        if (stop)
            return false;
        if (aborted())
            return false;
        setValue(m_value + 1);
        std::sort(keys.begin(), keys.end());
        for (qsizetype i = 0; i < keys.size();) {
            const QStringView rule = QStringView(keys.at(i)).left(keys.at(i).lastIndexOf(QLatin1Char('\n')));
            qsizetype end = i + 1;
            while (end < keys.size() &&
                   QStringView(keys.at(end)).left(keys.at(end).lastIndexOf(QLatin1Char('\n'))) == rule)
                ++end;
            if (end - i >= 2) {
                for (qsizetype j = i; j < end; ++j) {
                    const qsizetype k = keys.at(j).mid(keys.at(j).lastIndexOf(QLatin1Char('\n')) + 1).toLongLong();
                    addLine(QStringLiteral(" Found duplicate rule at line ") + QString::number(k) +
                            QStringLiteral(": \"") + lineText(k) + QLatin1Char('"'));
                    colour(k, AffLineColour::red);
                }
                failed = m_errors = true;
            }
            i = end;
        }
        return true;
    }

    AffPanel &m_panel;
    AffValidateDisplay &m_display;
    AffValidateHost &m_host;
    LongTask m_task;
    qint64 m_value = 0;
    qint64 m_maximum = 0;
    QList<AffHeaderEntry> m_headers;
    QStringList m_groupFlags;
    qsizetype m_prefixCount = 0;
    qsizetype m_suffixCount = 0;
    QString m_buffer;
    bool m_errors = false;
};

} // namespace

QList<AffHeaderEntry> ParseAffHeaderSummary(const QString &headerSummary)
{
    QList<AffHeaderEntry> entries;
    for (const QString &item : headerSummary.split(QChar(1), Qt::SkipEmptyParts)) {
        const QStringList fields = item.split(QLatin1Char(' '));
        AffHeaderEntry entry;
        entry.kind = fields.value(0);
        entry.crossProduct = fields.value(1);
        entry.flag = fields.value(2);
        entry.line = fields.value(3).toLongLong();
        entry.count = fields.value(4);
        entries.append(entry);
    }
    return entries;
}

bool IsAffConditionFaulty(const QString &condition)
{
    if (condition.isEmpty() || !(condition.contains(QLatin1Char('[')) || condition.contains(QLatin1Char(']')) ||
                                 condition.contains(QLatin1Char('^'))))
        return false;
    if (condition.contains(QStringLiteral("[]")) || condition.contains(QStringLiteral("[^]")))
        return true;
    if (condition.count(QLatin1Char('^')) != condition.count(QStringLiteral("[^")))
        return true;
    int depth = 0;
    for (const QChar c : condition) {
        if (c == QLatin1Char('[') && ++depth > 1)
            return true;
        if (c == QLatin1Char(']') && --depth < 0)
            return true;
    }
    return depth != 0;
}

QString AffValidateDisplay::abortHint()
{
    return sharedTexts::escToAbort;
}

const QString &AffValidateDisplay::elapsed(AffStatusSide side) const
{
    return side == AffStatusSide::Report ? reportElapsed : panelElapsed;
}

AffValidateOutcome ValidateAff(AffPanel &panel, const AffixTable &table, const MainSettings &settings,
                               AffValidateDisplay &display, AffValidateHost &host)
{
    return ValidateRun(panel, table, settings, display, host).run();
}

} // namespace lexaloom
