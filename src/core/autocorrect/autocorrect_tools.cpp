#include "core/autocorrect/autocorrect_tools.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "core/autocorrect/autocorrect_editing.h"
#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/shell/atomic_write.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/list_document.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

using namespace autocorrectToolTexts;

void warn(Ui &ui, const QString &text)
{
    ui.showMessage(LongTask::warningTitle(), text, MessageIcon::Warning);
}

// The refusal of an empty list, with the tool's own wording.
bool refuseEmpty(const AutocorrectList &list, Ui &ui, const QString &text)
{
    if (!list.entries.isEmpty())
        return false;
    warn(ui, text);
    ui.setStatusText(LongTask::abortedText());
    return true;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Characters an XML attribute keeps as they are: controls are out (a line feed would
// also split the pair), as are surrogate code points and the two non-characters.
bool isStorableCharacter(char32_t value)
{
    return (value >= 0x20 && value <= 0xD7FF) || (value >= 0xE000 && value <= 0xFFFD) ||
           (value >= 0x10000 && value <= 0x10FFFF);
}

// What stands between the "&" and the ";" of a reference: "#", letters, digits.
bool isReferenceCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'#' || (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

bool writeUtf8File(Ui &ui, const QString &path, const QByteArray &bytes)
{
    AtomicFileWriter writer(path);
    if (writer.open() && writer.write(bytes) && writer.commit())
        return true;
    ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, writer.errorString()), MessageIcon::Error);
    return false;
}

QByteArray withByteOrderMark()
{
    return QByteArray(utf8ByteOrderMark.data(), utf8ByteOrderMark.size());
}

} // namespace

std::optional<QString> ConvertHexReferences(QStringView text)
{
    static const QString opening = QStringLiteral("&#x");
    qsizetype at = text.indexOf(opening);
    if (at < 0)
        return text.toString();
    QString result;
    result.reserve(text.size());
    qsizetype done = 0;
    // True while the text so far ends in a bare "&" and name or number characters: a
    // character put there could finish a reference that was not one ("&amp" + ";").
    bool openAmpersand = false;
    const auto copy = [&](QStringView part) {
        for (const QChar c : part) {
            if (c == u'&')
                openAmpersand = true;
            else if (!isReferenceCharacter(c))
                openAmpersand = false;
        }
        result += part;
    };
    while (at >= 0) {
        copy(text.mid(done, at - done));
        qsizetype end = at + opening.size();
        char32_t value = 0;
        int digits = 0;
        for (; end < text.size() && hexDigit(text[end]) >= 0 && digits <= 6; ++end, ++digits)
            value = value * 16 + char32_t(hexDigit(text[end]));
        if (digits == 0 || digits > 6 || end >= text.size() || text[end] != u';' || !isStorableCharacter(value))
            return std::nullopt;
        // A character that would read as something else once written stays a reference:
        // "&#x26;amp;" is the text "&amp;", never "&".
        const bool keepReference =
            value == u'&' ||
            (openAmpersand && (value == u';' || (value < 0x80 && isReferenceCharacter(QChar(char16_t(value))))));
        if (keepReference) {
            copy(text.sliced(at, end + 1 - at));
        } else {
            const char32_t character[1] = {value};
            result += QString::fromUcs4(character, 1);
            openAmpersand = false;
        }
        done = end + 1;
        // The characters just produced are not looked at again.
        at = text.indexOf(opening, done);
    }
    copy(text.mid(done));
    return result;
}

QString RepairPairSpaces(QStringView text)
{
    QString result = text.toString();
    for (;;) {
        const QString before = result;
        result.replace(QStringLiteral("  "), QStringLiteral(" "));
        result.replace(QStringLiteral(" \n"), QStringLiteral("\n"));
        result.replace(QStringLiteral("\n "), QStringLiteral("\n"));
        if (result.startsWith(QLatin1Char(' ')))
            result.remove(0, 1);
        if (result.endsWith(QLatin1Char(' ')))
            result.chop(1);
        if (result == before)
            return result;
    }
}

ToolResult<qint64> ConvertHexSymbols(AutocorrectList &list, const MainSettings &settings, Ui &ui)
{
    ui.setStatusText(hexStarting);
    if (refuseEmpty(list, ui, noAutocorrects))
        return {0, ToolOutcome::Empty};
    LongTask task(ui, settings);
    const qint64 n = list.entries.size();
    task.begin(hexStarting, n);
    const auto passText = [&](const QString &pass, qint64 i) {
        return pass + QString::number(i) + toAbort + task.elapsedText();
    };

    // Pass 1 converts copies, so a refusal or an abort leaves the list as it was.
    std::vector<std::pair<qint64, QString>> converted;
    qint64 refusedAt = -1;
    const bool completed = task.forEach(
        n, [&](qint64 i) { task.showProgress(passText(hexPass1, i), i); },
        [&](qint64 i) {
            const QStringView pair = list.entries.view(i);
            const std::optional<QString> result = ConvertHexReferences(pair);
            if (!result) {
                refusedAt = i;
                return false;
            }
            if (*result != pair)
                converted.emplace_back(i, *result);
            return true;
        });
    if (!completed) {
        task.cancel();
        return {0, ToolOutcome::Aborted};
    }
    if (refusedAt >= 0) {
        task.cancel(nullWord + task.formatCount(refusedAt + 1) + abortedTail);
        return {0, ToolOutcome::Refused};
    }
    if (converted.empty()) {
        task.finish(ok + task.elapsedText());
        warn(ui, noHexSymbols);
        return {0};
    }

    // Characters above U+FFFF are stored as surrogate pairs, so nothing is lost and
    // there is no need to ask before converting emoji.
    TakeUndoSnapshot(list, true);
    list.changed = true;
    task.setMaximum(qint64(converted.size()));
    qint64 count = 0;
    const bool replaced = task.forEach(
        qint64(converted.size()), [&](qint64) { task.showProgress(passText(hexPass2, count), count); },
        [&](qint64 k) {
            const auto &[index, text] = converted[size_t(k)];
            list.entries.replace(index, text);
            ++count;
        });
    if (!replaced) {
        task.cancel();
        return {count, ToolOutcome::Aborted};
    }
    task.finish(hexConverted + task.formatCount(count) + task.elapsedText());
    return {count};
}

bool ExtractAutocorrects(const AutocorrectList &list, const MainSettings &settings, Ui &ui)
{
    ui.setStatusText(extractStarting);
    if (refuseEmpty(list, ui, autocorrectTexts::noWords))
        return false;
    const QString path = AskSavePath(ui, extractTitle, txtFilter, QStringLiteral(".txt"));
    if (path.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return false;
    }
    LongTask task(ui, settings);
    const qint64 n = list.entries.size();
    task.begin(extractStarting, n);
    QByteArray bytes = withByteOrderMark();
    const bool completed = task.forEach(
        n,
        [&](qint64 i) {
            task.showProgress(extractRunning + task.formatCount(i) + QLatin1Char(' ') +
                                  FormatFileSize(QString(), bytes.size(), true) + task.elapsedText(),
                              i);
        },
        [&](qint64 i) {
            const PairTexts pair = SplitPair(list.entries.view(i));
            bytes += EncodeLossless(pair.incorrect);
            bytes += EncodeLossless(arrow);
            bytes += EncodeLossless(pair.correct);
            bytes += '\n';
        });
    if (!completed) {
        // Nothing is written: a half list in place of the old file helps no one.
        task.cancel();
        return false;
    }
    if (!writeUtf8File(ui, path, bytes)) {
        task.cancel();
        return false;
    }
    task.finish(QStringLiteral("OK. ") + FormatFileSize(QString(), FileSize(path), true) + task.elapsedText());
    return true;
}

ToolResult<qint64> FixAutocorrectSpaces(AutocorrectList &list, const MainSettings &settings, Ui &ui)
{
    ui.setStatusText(spacesStarting);
    if (refuseEmpty(list, ui, noAutocorrects))
        return {0, ToolOutcome::Empty};
    LongTask task(ui, settings);
    const qint64 n = list.entries.size();
    task.begin(spacesStarting, n);

    std::vector<std::pair<qint64, QString>> repaired;
    qint64 refusedAt = -1;
    const bool completed = task.forEach(
        n, [&](qint64 i) { task.showProgress(spacesPass1 + QString::number(i) + toAbort, i); },
        [&](qint64 i) {
            const QStringView pair = list.entries.view(i);
            QString result = RepairPairSpaces(pair);
            const PairTexts halves = SplitPair(result);
            if (halves.incorrect.isEmpty() || halves.correct.isEmpty()) {
                refusedAt = i;
                return false;
            }
            if (result != pair)
                repaired.emplace_back(i, std::move(result));
            return true;
        });
    if (!completed) {
        task.cancel();
        return {0, ToolOutcome::Aborted};
    }
    if (refusedAt >= 0) {
        task.cancel(nullWord + QString::number(refusedAt + 1) + abortedTail);
        return {0, ToolOutcome::Refused};
    }
    if (repaired.empty()) {
        task.finish(ok);
        warn(ui, noSpacesToFix);
        return {0};
    }

    TakeUndoSnapshot(list, true);
    list.changed = true;
    task.showProgress(spacesPass2 + QStringLiteral("0") + toAbort, 0);
    task.setMaximum(qint64(repaired.size()));
    qint64 count = 0;
    const bool replaced = task.forEach(
        qint64(repaired.size()),
        [&](qint64) { task.showProgress(spacesPass2 + QString::number(count) + toAbort, count); },
        [&](qint64 k) {
            const auto &[index, text] = repaired[size_t(k)];
            list.entries.replace(index, text);
            ++count;
        });
    if (!replaced) {
        task.cancel();
        return {count, ToolOutcome::Aborted};
    }
    task.finish(fixedWords + task.formatCount(count));
    return {count};
}

std::optional<AutocorrectDuplicates> FindAutocorrectDuplicates(const AutocorrectList &list,
                                                               const MainSettings &settings, Ui &ui)
{
    ui.setStatusText(duplicatesStarting);
    if (refuseEmpty(list, ui, noAutocorrectsLower))
        return std::nullopt;
    LongTask task(ui, settings);
    const qint64 n = list.entries.size();
    task.begin(duplicatesStarting, n);
    AutocorrectDuplicates result;
    result.sorted.reserve(n, 0);
    const bool copied = task.forEach(
        n, [&](qint64 i) { task.showProgress(duplicatesExtracting + QString::number(i) + duplicatesToAbort, i); },
        [&](qint64 i) { result.sorted.append(list.entries.view(i)); });
    if (!copied) {
        task.cancel();
        return std::nullopt;
    }
    result.sorted.sort([](QStringView a, QStringView b) { return a < b; });

    task.showProgress(duplicatesComparing, 0);
    QString runWord;
    qint64 runLength = 0;
    const auto closeRun = [&] {
        if (runLength >= 2)
            result.rows.append(AutocorrectDuplicate{runWord, runLength});
    };
    const bool counted = task.forEach(
        n, [&](qint64 i) { task.showValue(i); },
        [&](qint64 i) {
            const QString incorrect = SplitPair(result.sorted.view(i)).incorrect;
            if (runLength > 0 && incorrect == runWord) {
                ++runLength;
                return;
            }
            closeRun();
            runWord = incorrect;
            runLength = 1;
        });
    if (!counted) {
        task.cancel();
        return std::nullopt;
    }
    closeRun();
    task.finish(ok + task.elapsedText());
    if (result.rows.isEmpty()) {
        warn(ui, noDuplicates);
        return std::nullopt;
    }
    return result;
}

bool DeleteAutocorrectDuplicates(AutocorrectList &list, const AutocorrectDuplicates &duplicates, bool exclusive,
                                 const MainSettings &settings, Ui &ui)
{
    if (!ui.askYesNo(LongTask::warningTitle(), exclusive ? xdeleteQuestion : deleteQuestion, MessageIcon::Warning))
        return false;
    const EntryStore &sorted = duplicates.sorted;
    const qint64 total = sorted.size();
    LongTask task(ui, settings);
    task.begin(removing + QStringLiteral("0/") + QString::number(total), total);
    std::vector<QString> incorrects;
    incorrects.reserve(size_t(total));
    for (qint64 i = 0; i < total; ++i)
        incorrects.push_back(SplitPair(sorted.view(i)).incorrect);
    std::vector<char> keep(size_t(total), 1);
    qint64 removed = 0;
    // The list is replaced only at the end, so an abort leaves it as it was.
    const bool marked = task.forEach(
        total,
        [&](qint64 i) {
            task.showProgress(removing + QString::number(removed) + QLatin1Char('/') + QString::number(total), i);
        },
        [&](qint64 i) {
            const bool sameAsNext = i + 1 < total && incorrects[size_t(i)] == incorrects[size_t(i + 1)];
            const bool sameAsPrevious = i > 0 && incorrects[size_t(i)] == incorrects[size_t(i - 1)];
            if (sameAsNext || (exclusive && sameAsPrevious)) {
                keep[size_t(i)] = 0;
                ++removed;
            }
        },
        {.pollAfterItem = true});
    if (!marked) {
        task.cancel();
        return false;
    }
    const qint64 survivors = total - removed;
    task.showProgress(populating + QStringLiteral("0/") + QString::number(survivors), 0);
    task.setMaximum(survivors);
    EntryStore result;
    result.reserve(survivors, 0);
    for (qint64 i = 0; i < total; ++i) {
        if (!keep[size_t(i)])
            continue;
        result.append(sorted.view(i));
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            task.showProgress(populating + QString::number(result.size()) + QLatin1Char('/') +
                                  QString::number(survivors),
                              result.size());
        }
        if (poll.abortRequested) {
            task.cancel();
            return false;
        }
    }
    TakeUndoSnapshot(list, true);
    list.entries = std::move(result);
    list.selectedIndex = -1;
    list.changed = true;
    task.finish(ok);
    return true;
}

bool ExportAutocorrectDuplicates(const QList<AutocorrectDuplicate> &rows, const MainSettings &settings, Ui &ui)
{
    const QString path = AskSavePath(ui, exportDuplicatesTitle, txtFilter, QStringLiteral(".txt"));
    if (path.isEmpty())
        return false;
    QByteArray bytes = withByteOrderMark();
    bytes += EncodeLossless(duplicatesFound + FormatCount(rows.size(), settings.thousandsSeparator) +
                            QStringLiteral("\n\n"));
    for (const AutocorrectDuplicate &row : rows)
        bytes += EncodeLossless(row.word + QLatin1Char(':') + QString::number(row.occurrences) + QLatin1Char('\n'));
    return writeUtf8File(ui, path, bytes);
}

} // namespace lexaloom
