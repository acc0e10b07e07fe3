#include "core/dictionary_tools/sort_aff_tags.h"

#include <QStringList>

#include <algorithm>
#include <vector>

#include "core/dictionary/dictionary_document.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/text_folding.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

struct LineRecord {
    QStringView line; // as read
    QString collapsed;
    QString key;
};

bool isAffixLine(const QString &collapsed)
{
    return collapsed.startsWith(QLatin1String("SFX ")) || collapsed.startsWith(QLatin1String("PFX "));
}

// Nothing but spaces and line ends (a file of blank lines is as empty as no file).
bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

} // namespace

std::optional<QString> SortAffTagsText(const QString &affText, const MainSettings &settings, Ui &ui)
{
    using namespace sortAffTagsTexts;
    if (isBlank(affText)) {
        ui.showMessage(LongTask::warningTitle(), affEmpty, MessageIcon::Warning);
        return std::nullopt;
    }
    ui.setStatusText(starting);
    ui.setProgressValue(0);
    QString text = NormaliseLineEnds(affText);
    if (!text.endsWith(u'\n'))
        text += u'\n';
    const qint64 lines = text.count(u'\n');
    LongTask task(ui, settings);
    task.begin(starting, 3 * lines);
    const auto progressText = [&](const QString &pass, int number, qint64 index) {
        return pass + QString::number(number) + u'/' + QStringLiteral("3") + current + task.formatCount(index) + u'/' +
               task.formatCount(lines) + task.elapsedText() + FormatPercent(index, 3 * lines);
    };

    std::vector<LineRecord> records;
    records.reserve(static_cast<size_t>(lines));
    bool anyAffixLine = false;
    qsizetype start = 0;
    const bool completed = task.forEach(
        lines, [&](qint64 i) { task.showProgress(progressText(pass1, 1, i), i); },
        [&](qint64) {
            const qsizetype end = text.indexOf(u'\n', start);
            LineRecord r{QStringView(text).mid(start, end - start), CollapseSpaces(text.mid(start, end - start)), {}};
            start = end + 1;
            if (isAffixLine(r.collapsed)) {
                anyAffixLine = true;
                const QStringList fields = r.collapsed.split(u' ');
                r.key = fields.value(3) + u' ' + fields.value(4);
            }
            records.push_back(std::move(r));
        },
        {.pollAfterItem = true});
    if (!completed) {
        task.cancel();
        return std::nullopt;
    }
    if (!anyAffixLine) {
        task.cancel();
        ui.showMessage(LongTask::warningTitle(), noTags, MessageIcon::Warning);
        return std::nullopt;
    }

    const size_t count = records.size();
    for (size_t i = 0; i < count;) {
        const LineRecord &r = records[i];
        if (isAffixLine(r.collapsed)) {
            // A header's fourth field is its rule count; a rule line's is no number.
            bool isNumber = false;
            const qint64 rules = r.collapsed.section(u' ', 3, 3).toLongLong(&isNumber);
            const size_t c = isNumber && rules > 0 ? std::min<size_t>(static_cast<size_t>(rules), count - i - 1) : 0;
            std::stable_sort(records.begin() + static_cast<qsizetype>(i) + 1,
                             records.begin() + static_cast<qsizetype>(i + 1 + c),
                             [](const LineRecord &a, const LineRecord &b) { return a.key < b.key; });
            i += 1 + c;
        } else {
            ++i;
        }
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(progressText(pass2, 2, static_cast<qint64>(i)), lines + static_cast<qint64>(i));
        if (poll.abortRequested) {
            task.cancel();
            return std::nullopt;
        }
    }

    QString sorted;
    sorted.reserve(text.size());
    for (size_t i = 0; i < count; ++i) {
        sorted += records[i].line;
        sorted += u'\n';
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(progressText(pass3, 3, static_cast<qint64>(i)), 2 * lines + static_cast<qint64>(i));
        if (poll.abortRequested) {
            task.cancel();
            return std::nullopt;
        }
    }
    task.finish(QStringLiteral("OK.") + task.elapsedText());
    return sorted;
}

bool SortAffTags(DictionaryDocument &doc, const MainSettings &settings, Ui &ui)
{
    using namespace sortAffTagsTexts;
    if (isBlank(doc.affText)) {
        ui.showMessage(LongTask::warningTitle(), affEmpty, MessageIcon::Warning);
        return false;
    }
    if (!ui.askYesNo(LongTask::warningTitle(), question, MessageIcon::Warning))
        return false;
    std::optional<QString> sorted = SortAffTagsText(doc.affText, settings, ui);
    if (!sorted)
        return false;
    doc.affText = std::move(*sorted);
    doc.changed = true;
    return true;
}

} // namespace lexaloom
