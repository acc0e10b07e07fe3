#include "core/dictionary_tools/bulk_import.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <numeric>
#include <vector>

#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/dictionary/dictionary_document.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"
#include "core/shell/text_folding.h"
#include "core/shell/ui.h"
#include "core/thesaurus/thesaurus_document.h"
#include "core/thesaurus/thesaurus_editing.h"

namespace lexaloom {

namespace {

const QString rowSeparator = QStringLiteral(" - ");

QStringView languageOf(QStringView row)
{
    const qsizetype at = row.indexOf(rowSeparator);
    return at < 0 ? row : row.first(at);
}

QStringView descriptionOf(QStringView row)
{
    const qsizetype at = row.indexOf(rowSeparator);
    return at < 0 ? QStringView() : row.sliced(at + rowSeparator.size());
}

QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

bool isNothingToProcess(const QString &text)
{
    return text.isEmpty() || text == QLatin1String(" ") || text == QLatin1String("\n");
}

// The lines of "Process regexp" back on one line: every line break a "|", none at the end.
QString joinWithBars(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("|"));
    text.replace(u'\n', u'|');
    if (text.endsWith(u'|'))
        text.chop(1);
    return text;
}

constexpr char32_t lastCodePoint = 0x10FFFF;

// Reduces "&#digits;" at the end of `out` while one is there; a converted ";" may close
// an earlier reference, so the check repeats.
void reduceTail(QString &out)
{
    while (out.endsWith(u';')) {
        const qsizetype semicolon = out.size() - 1;
        qsizetype digits = semicolon;
        while (digits > 0 && out[digits - 1].isDigit() && out[digits - 1].unicode() < 0x80)
            --digits;
        if (digits == semicolon || digits < 2 || out[digits - 1] != u'#' || out[digits - 2] != u'&')
            return;
        char32_t value = 0;
        for (qsizetype i = digits; i < semicolon && value <= lastCodePoint; ++i)
            value = value * 10 + static_cast<char32_t>(out[i].unicode() - u'0');
        const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
        if (value == 0 || value > lastCodePoint || surrogate)
            return;
        out.truncate(digits - 2);
        const char32_t units[] = {value};
        out.append(QString::fromUcs4(units, 1));
    }
}

} // namespace

const QStringList &MultiwordPosTable()
{
    static const QStringList table{
        QStringLiteral("Other - "),
        QStringLiteral("Portuguese - Proper Name - Singular - Neutral (NPCS000)"),
        QStringLiteral("Portuguese - Proper Name - Singular - Male (NPMS000)"),
        QStringLiteral("Portuguese - Proper Name - Singular - Female (NPFS000)"),
        QStringLiteral("Portuguese - Proper Name - Plural - Neutral (NPCP000)"),
        QStringLiteral("Portuguese - Proper Name - Plural - Male (NPMP000)"),
        QStringLiteral("Portuguese - Proper Name - Plural - Female (NPFP000)"),
        QStringLiteral("Portuguese - -"),
        QStringLiteral("Portuguese - Geography - Singular - Neutral (NPCSG00)"),
        QStringLiteral("Portuguese - Geography - Singular - Male (NPMSG00)"),
        QStringLiteral("Portuguese - Geography - Singular - Female (NPFSG00)"),
        QStringLiteral("Portuguese - Geography - Plural - Neutral (NPCPG00)"),
        QStringLiteral("Portuguese - Geography - Plural - Male (NPMPG00)"),
        QStringLiteral("Portuguese - Geography - Plural - Female (NPFPG00)"),
        QStringLiteral("Portuguese - -"),
        QStringLiteral("Portuguese - Organisation - Singular - Neutral (NPCSO00)"),
        QStringLiteral("Portuguese - Organisation - Singular - Male (NPMSO00)"),
        QStringLiteral("Portuguese - Organisation - Singular - Female (NPFSO00)"),
        QStringLiteral("Portuguese - Organisation - Plural - Neutral (NPCPO00)"),
        QStringLiteral("Portuguese - Organisation - Plural - Male (NPMPO00)"),
        QStringLiteral("Portuguese - Organisation - Plural - Female (NPFPO00)"),
        QStringLiteral("Portuguese - -"),
        QStringLiteral("Portuguese - Noun - Singular - Neutral (NCCS000)"),
        QStringLiteral("Portuguese - Noun - Singular - Male (NCMS000)"),
        QStringLiteral("Portuguese - Noun - Singular - Female (NCFS000)"),
        QStringLiteral("Portuguese - Noun - Plural - Neutral (NCCP000)"),
        QStringLiteral("Portuguese - Noun - Plural - Male (NCMP000)"),
        QStringLiteral("Portuguese - Noun - Plural - Female (NCFP000)"),
        QStringLiteral("English - Proper Name/Geography/Organisation - Singular - Neutral (NNP)"),
        QStringLiteral("English - Proper Name/Geography/Organisation - Plural - Neutral (NNPS)"),
        QStringLiteral("English - -"),
        QStringLiteral("English - Noun - Singular - Neutral (NN)"),
        QStringLiteral("English - Noun - Plural - Neutral (NNS)"),
        QStringLiteral("English - -"),
        QStringLiteral("English - Noun - Uncountable - Neutral (NN:U)"),
    };
    return table;
}

QStringList MultiwordLanguages()
{
    QStringList languages;
    for (const QString &row : MultiwordPosTable()) {
        const QString language = languageOf(row).toString();
        if (!languages.contains(language))
            languages.append(language);
    }
    return languages;
}

QStringList MultiwordPosRows(qint32 languageIndex)
{
    const QStringList languages = MultiwordLanguages();
    QStringList rows;
    if (languageIndex < 0 || languageIndex >= languages.size())
        return rows;
    for (const QString &row : MultiwordPosTable()) {
        if (languageOf(row) == languages[languageIndex])
            rows.append(descriptionOf(row).toString());
    }
    return rows;
}

std::optional<QString> MultiwordSuffix(const MultiwordChoice &choice)
{
    if (choice.languageIndex == 0)
        return u'\t' + choice.specifyText;
    const QStringList rows = MultiwordPosRows(choice.languageIndex);
    if (choice.posIndex < 0 || choice.posIndex >= rows.size())
        return std::nullopt;
    const QString &row = rows[choice.posIndex];
    const qsizetype open = row.lastIndexOf(u'(');
    if (row == QLatin1String("-") || open < 0 || !row.endsWith(u')'))
        return std::nullopt;
    return u'\t' + row.mid(open + 1, row.size() - open - 2);
}

QString NormaliseImportText(const QString &text)
{
    QString result = NormaliseLineEnds(text);
    if (!result.endsWith(u'\n'))
        result.append(u'\n');
    result.replace(QLatin1String(" , "), QLatin1String(","));
    result.replace(QLatin1String(", "), QLatin1String(","));
    result.replace(QLatin1String(" ,"), QLatin1String(","));
    result.replace(QLatin1String("  "), QLatin1String(" "));
    return result;
}

QString ConvertCharacterReferences(QStringView line)
{
    if (!line.contains(QLatin1String("&#")))
        return line.toString();
    // One pass with the converted text as a stack: a reference can only end at a ";",
    // so each ";" reduces what ends there, and characters produced by a conversion join
    // the text they may complete. Every conversion shortens the line and references
    // never overlap, so the result is that of converting until none is left.
    QString out;
    out.reserve(line.size());
    for (const QChar c : line) {
        out.append(c);
        if (c == u';')
            reduceTail(out);
    }
    return out;
}

bool IsSimpleAlternation(QStringView text)
{
    if (text.contains(u':') || text.count(u'(') != text.count(u')'))
        return false;
    qsizetype open = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'(') {
            if (open >= 0)
                return false;
            open = i;
        } else if (text[i] == u')') {
            if (open < 0)
                return false;
            const QStringView group = text.sliced(open + 1, i - open - 1);
            if (group.isEmpty() || group.contains(u'|'))
                return false;
            open = -1;
        }
    }
    return open < 0;
}

BulkImportSession::BulkImportSession(BulkImportMode mode, const BulkImportTargets &targets,
                                     const MainSettings &settings, Ui &ui)
    : m_mode(mode)
    , m_targets(targets)
    , m_settings(settings)
    , m_ui(ui)
{
}

QString BulkImportSession::windowTitle(BulkImportMode mode)
{
    switch (mode) {
    case BulkImportMode::SortWordlist:
        return bulkImportTexts::sortTitle;
    case BulkImportMode::DeleteDuplicates:
        return bulkImportTexts::duplicatesTitle;
    case BulkImportMode::ConvertXmlTags:
        return bulkImportTexts::xmlTagsTitle;
    default:
        return bulkImportTexts::importTitle;
    }
}

bool BulkImportSession::isWordlistMode(BulkImportMode mode)
{
    return mode == BulkImportMode::SortWordlist || mode == BulkImportMode::DeleteDuplicates ||
           mode == BulkImportMode::ConvertXmlTags;
}

QString BulkImportSession::foundText() const
{
    return bulkImportTexts::found + FormatCount(m_found, m_settings.thousandsSeparator);
}

void BulkImportSession::clearOutput()
{
    m_output.clear();
    m_found = 0;
}

BulkImportOutcome BulkImportSession::process()
{
    m_busy = true;
    BulkImportOutcome outcome = BulkImportOutcome::Refused;
    switch (m_mode) {
    case BulkImportMode::Dictionary:
    case BulkImportMode::Thesaurus:
    case BulkImportMode::Autocorrect:
    case BulkImportMode::Multiwords:
        outcome = importLines();
        break;
    case BulkImportMode::SortWordlist:
        outcome = sortLines();
        break;
    case BulkImportMode::DeleteDuplicates:
        outcome = deleteDuplicates();
        break;
    case BulkImportMode::ConvertXmlTags:
        outcome = convertXmlTags();
        break;
    }
    m_busy = false;
    return outcome;
}

BulkImportOutcome BulkImportSession::processRegexp()
{
    if (m_mode != BulkImportMode::SortWordlist)
        return BulkImportOutcome::Refused;
    if (!IsSimpleAlternation(input)) {
        m_ui.showMessage(LongTask::warningTitle(), bulkImportTexts::regexpTooComplex, MessageIcon::Warning);
        return BulkImportOutcome::Refused;
    }
    const QString original = input;
    input.replace(u'|', u'\n');
    m_busy = true;
    const BulkImportOutcome outcome = sortLines();
    m_busy = false;
    if (outcome == BulkImportOutcome::Refused) {
        input = original;
        return outcome;
    }
    input = joinWithBars(input);
    m_output = joinWithBars(m_output);
    return outcome;
}

BulkImportOutcome BulkImportSession::importLines()
{
    const QString text = NormaliseImportText(input);
    if (isNothingToProcess(text)) {
        m_ui.showMessage(LongTask::warningTitle(), bulkImportTexts::nothingToProcess, MessageIcon::Warning);
        return BulkImportOutcome::Refused;
    }
    QString suffix;
    if (m_mode == BulkImportMode::Multiwords) {
        const std::optional<QString> tag = MultiwordSuffix(multiwords);
        if (!tag) {
            m_ui.showMessage(LongTask::warningTitle(), bulkImportTexts::notValidPos, MessageIcon::Warning);
            return BulkImportOutcome::Refused;
        }
        suffix = *tag;
    }

    ListDocument *document = nullptr;
    if (m_mode == BulkImportMode::Dictionary)
        document = m_targets.dictionary;
    else if (m_mode == BulkImportMode::Thesaurus)
        document = m_targets.thesaurus;
    else if (m_mode == BulkImportMode::Autocorrect)
        document = m_targets.autocorrect;
    const bool logIndex = logIndexOn && m_mode != BulkImportMode::Multiwords;

    // A line that would become an entry the document's file cannot hold back refuses
    // the whole run before anything changes.
    if (const std::optional<QString> refusal = importRefusal(text)) {
        m_ui.showMessage(LongTask::warningTitle(), *refusal, MessageIcon::Warning);
        return BulkImportOutcome::Refused;
    }

    clearOutput();
    const qint64 lines = text.count(u'\n');
    LongTask task(m_ui, m_settings);
    const auto progress = [&](qint64 i) {
        return bulkImportTexts::processing + task.formatCount(i) + u'/' + task.formatCount(lines);
    };
    task.begin(progress(0), lines);
    bool snapshotTaken = false;
    QString entry;
    qsizetype start = 0;
    for (qint64 i = 1; i <= lines; ++i) {
        const qsizetype end = text.indexOf(u'\n', start);
        const QStringView line = trimSpaces(QStringView(text).sliced(start, end - start));
        start = end + 1;
        if (!line.isEmpty()) {
            if (document) {
                if (!snapshotTaken) {
                    TakeUndoSnapshot(*document);
                    snapshotTaken = true;
                }
                entry = line.toString();
                if (m_mode == BulkImportMode::Thesaurus) {
                    // "word,syn1,syn2" is the header "word|2" and one meaning per line.
                    const qsizetype comma = entry.indexOf(u',');
                    if (comma >= 0) {
                        const QString header = u'|' + QString::number(entry.count(u',')) + u'\n';
                        entry.replace(comma, 1, header);
                        entry.replace(u',', u'\n');
                    }
                } else if (m_mode == BulkImportMode::Autocorrect) {
                    entry.replace(u',', u'\n');
                }
                document->entries.append(entry);
                document->changed = true;
            }
            if (logIndex) {
                m_output += QString::number(logIndexStart + m_found);
                m_output += QLatin1String(") ");
            }
            m_output += line;
            m_output += suffix;
            m_output += u'\n';
            ++m_found;
        }
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            task.showProgress(progress(i), i);
            if (onTick)
                onTick();
        }
        if (poll.abortRequested) {
            // The run's additions go; the output written so far stays.
            if (snapshotTaken)
                UndoListChange(*document);
            task.cancel();
            return BulkImportOutcome::Aborted;
        }
    }
    task.finish(progress(lines) + bulkImportTexts::done);
    return BulkImportOutcome::Done;
}

std::optional<QString> BulkImportSession::importRefusal(const QString &text) const
{
    if (m_mode != BulkImportMode::Thesaurus && m_mode != BulkImportMode::Autocorrect)
        return std::nullopt;
    qsizetype start = 0;
    for (qint64 i = 1; start < text.size(); ++i) {
        const qsizetype end = text.indexOf(u'\n', start);
        const QStringView line = trimSpaces(QStringView(text).sliced(start, end - start));
        start = end + 1;
        if (line.isEmpty())
            continue;
        QString problem;
        if (m_mode == BulkImportMode::Thesaurus)
            problem = ImportedSynonymProblem(line);
        else if (const std::optional<char32_t> forbidden = FirstCharacterXmlForbids(line))
            problem = ForbiddenCharacterText(*forbidden);
        if (!problem.isEmpty())
            return bulkImportTexts::lineRefused.arg(QString::number(i), problem);
    }
    return std::nullopt;
}

std::optional<QStringList> BulkImportSession::wordlistLines(qsizetype minimumLines)
{
    QString text = NormaliseLineEnds(input);
    if (!text.endsWith(u'\n'))
        text.append(u'\n');
    const qsizetype lines = text.count(u'\n');
    if (text == QLatin1String("\n") || lines < minimumLines) {
        m_ui.showMessage(LongTask::warningTitle(), bulkImportTexts::nothingToProcess, MessageIcon::Warning);
        m_ui.setStatusText(bulkImportTexts::processing + QStringLiteral("0/0"));
        return std::nullopt;
    }
    QStringList result = text.split(u'\n');
    result.removeLast();
    return result;
}

BulkImportOutcome BulkImportSession::sortLines()
{
    LongTask task(m_ui, m_settings);
    task.begin(bulkImportTexts::step1, 0);
    std::optional<QStringList> lines = wordlistLines(1);
    if (!lines) {
        task.cancel(bulkImportTexts::processing + QStringLiteral("0/0"));
        return BulkImportOutcome::Refused;
    }
    clearOutput();
    const qint64 count = lines->size();
    const auto counted = [&](const QString &step, qint64 i) {
        return step + QStringLiteral(" (") + task.formatCount(i) + u'/' + task.formatCount(count) + u')';
    };
    task.setMaximum(count);
    task.showProgress(bulkImportTexts::step2, 0);
    std::vector<QString> keys;
    keys.reserve(static_cast<size_t>(count));
    const bool completed = task.forEach(
        count, [&](qint64 i) { task.showProgress(counted(bulkImportTexts::step2, i + 1), i + 1); },
        [&](qint64 i) { keys.push_back(FoldAccents((*lines)[i])); }, {.pollAfterItem = true});
    if (!completed) {
        task.cancel();
        return BulkImportOutcome::Aborted;
    }
    task.showProgress(bulkImportTexts::step3Sort, 0);
    m_ui.processEvents();
    std::vector<qint64> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    // Stable, so that lines with the same folded text keep their input order.
    std::stable_sort(order.begin(), order.end(), [&keys](qint64 a, qint64 b) {
        return QStringView(keys[static_cast<size_t>(a)]) < QStringView(keys[static_cast<size_t>(b)]);
    });
    keys.clear();
    keys.shrink_to_fit();
    QStringList sorted;
    sorted.reserve(count);
    for (const qint64 i : order)
        sorted.append(std::move((*lines)[i]));

    if (writeLines(task, sorted, {}, [&](qint64 done) { return counted(bulkImportTexts::step4, done); }))
        return BulkImportOutcome::Aborted;
    task.finish(bulkImportTexts::processingDone);
    return BulkImportOutcome::Done;
}

BulkImportOutcome BulkImportSession::deleteDuplicates()
{
    LongTask task(m_ui, m_settings);
    task.begin(bulkImportTexts::step1, 0);
    const std::optional<QStringList> lines = wordlistLines(2);
    if (!lines) {
        task.cancel(bulkImportTexts::processing + QStringLiteral("0/0"));
        return BulkImportOutcome::Refused;
    }
    clearOutput();
    const qint64 count = lines->size();
    task.setMaximum(count);
    task.showProgress(bulkImportTexts::step2, 0);
    std::vector<qint64> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    task.showProgress(bulkImportTexts::step3Duplicates, 0);
    m_ui.processEvents();
    // By text, then by position: the first of every run of equal lines is the one kept.
    std::stable_sort(order.begin(), order.end(),
                     [&lines](qint64 a, qint64 b) { return QStringView((*lines)[a]) < QStringView((*lines)[b]); });
    std::vector<char> keep(static_cast<size_t>(count), 1);
    qint64 removed = 0;
    for (size_t i = 1; i < order.size(); ++i) {
        if ((*lines)[order[i]] == (*lines)[order[i - 1]]) {
            keep[static_cast<size_t>(order[i])] = 0;
            ++removed;
        }
    }
    if (writeLines(task, *lines, keep))
        return BulkImportOutcome::Aborted;
    task.finish(bulkImportTexts::processingDone);
    m_ui.showMessage(LongTask::warningTitle(), bulkImportTexts::duplicatesRemoved + task.formatCount(removed),
                     MessageIcon::Warning);
    return BulkImportOutcome::Done;
}

BulkImportOutcome BulkImportSession::convertXmlTags()
{
    LongTask task(m_ui, m_settings);
    task.begin(bulkImportTexts::step1, 0);
    std::optional<QStringList> lines = wordlistLines(1);
    if (!lines) {
        task.cancel(bulkImportTexts::processing + QStringLiteral("0/0"));
        return BulkImportOutcome::Refused;
    }
    clearOutput();
    const qint64 count = lines->size();
    task.setMaximum(count);
    task.showProgress(bulkImportTexts::step2, 0);
    task.showProgress(bulkImportTexts::step3XmlTags, 0);
    const bool completed = task.forEach(
        count, [&](qint64 i) { task.showValue(i + 1); },
        [&](qint64 i) {
            QString &line = (*lines)[i];
            if (line.contains(QLatin1String("&#")))
                line = ConvertCharacterReferences(line);
        },
        {.pollAfterItem = true});
    if (!completed) {
        task.cancel();
        return BulkImportOutcome::Aborted;
    }
    if (writeLines(task, *lines))
        return BulkImportOutcome::Aborted;
    task.finish(bulkImportTexts::processingDone);
    return BulkImportOutcome::Done;
}

bool BulkImportSession::writeLines(LongTask &task, const QStringList &lines, const std::vector<char> &keep,
                                   const std::function<QString(qint64)> &tickText)
{
    task.showProgress(bulkImportTexts::step4, 0);
    const qint64 count = lines.size();
    const bool completed = task.forEach(
        count,
        [&](qint64 i) {
            if (tickText)
                task.showProgress(tickText(i + 1), i + 1);
            else
                task.showValue(i + 1);
            if (onTick)
                onTick();
        },
        [&](qint64 i) {
            if (keep.empty() || keep[static_cast<size_t>(i)]) {
                m_output += lines[i];
                m_output += u'\n';
                ++m_found;
            }
        },
        {.pollAfterItem = true});
    if (!completed) {
        task.cancel();
        return true;
    }
    return false;
}

bool BulkImportSession::openFile()
{
    const QString path = AskOpenPath(m_ui, bulkImportTexts::openTitle, bulkImportTexts::fileFilter);
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        m_ui.showMessage(fileTexts::errorTitle, fileTexts::fileNotFound, MessageIcon::Error);
        return false;
    }
    const QByteArray bytes = file.readAll();
    QString text;
    // A UTF-16 byte-order mark names its encoding; everything else is UTF-8, bytes that
    // are not kept as they are.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                               QStringDecoder::Flag::Stateless);
        text = decoder(QByteArrayView(bytes).sliced(2));
    } else {
        text = DecodeLossless(WithoutUtf8Bom(bytes));
    }
    input = NormaliseLineEnds(std::move(text));
    return true;
}

bool BulkImportSession::saveAs()
{
    if (m_output.isEmpty()) {
        m_ui.showMessage(LongTask::warningTitle(), bulkImportTexts::nothingToSave, MessageIcon::Warning);
        return false;
    }
    const QString path =
        AskSavePath(m_ui, bulkImportTexts::saveTitle, bulkImportTexts::fileFilter, QStringLiteral(".txt"));
    if (path.isEmpty())
        return false;
    QByteArray bytes(utf8ByteOrderMark.data(), utf8ByteOrderMark.size());
    bytes += EncodeLossless(NormaliseLineEnds(m_output));
    if (!WriteFileAtomically(path, bytes)) {
        m_ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, QString()), MessageIcon::Error);
        return false;
    }
    return true;
}

} // namespace lexaloom
