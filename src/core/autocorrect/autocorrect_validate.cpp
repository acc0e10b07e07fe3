#include "core/autocorrect/autocorrect_validate.h"

#include <QHash>

#include "core/autocorrect/autocorrect_editing.h"
#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"
#include "core/shell/atomic_write.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"

namespace lexaloom {

namespace {

QStringView partBeforeNewline(QStringView entry)
{
    const qsizetype newline = entry.indexOf(u'\n');
    return newline < 0 ? entry : entry.first(newline);
}

bool isShortcode(QStringView incorrect)
{
    return incorrect.startsWith(u':') && incorrect.endsWith(u':');
}

QString lineNumber(qint64 index)
{
    return acValidateTexts::lineReference + QString::number(index + 1);
}

} // namespace

AcValidateSession::AcValidateSession(const DictionaryDocument &dictionary, const AffixTable &table,
                                     const AutocorrectList &list, const MainSettings &settings, Ui &ui,
                                     AcValidateHost &host)
    : m_dictionary(dictionary)
    , m_table(table)
    , m_list(list)
    , m_settings(settings)
    , m_ui(ui)
    , m_host(host)
{
    m_display.report = introductionText();
}

QString AcValidateSession::introductionText()
{
    return QStringLiteral("Autocorrect Validate V2.1 - 2023-04-08\n"
                          "============================\n"
                          "\n"
                          "This tool will analyse the Autocorrect list finding issues, such as entries\n"
                          "replacing with words that do not exist in the dictionary and entries that\n"
                          "replace with incorrect entries: ('color', 'colour'), ('colour', 'color').\n"
                          "\n\n");
}

bool AcValidateSession::prepare(const DictionaryDocument &dictionary, AffixTable &table, const AutocorrectList &list,
                                const MainSettings &settings, Ui &ui)
{
    if (list.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), autocorrectTexts::noWords, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return false;
    }
    if (dictionary.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), acValidateTexts::noDictionary, MessageIcon::Warning);
        return true;
    }
    LongTask task(ui, settings);
    BuildAffixTable(table, dictionary.affText, &task);
    return true;
}

QString AcValidateSession::issuesText() const
{
    return acValidateTexts::issuesCaption + FormatCount(m_display.issueCount, m_settings.thousandsSeparator);
}

void AcValidateSession::append(const QString &line)
{
    m_display.report += line;
    m_display.report += QLatin1Char('\n');
    m_host.refresh(m_display);
}

void AcValidateSession::gather(const QString &line)
{
    m_buffer += line;
    m_buffer += QLatin1Char('\n');
}

void AcValidateSession::endStep()
{
    m_buffer += QLatin1Char('\n');
    m_display.report += m_buffer;
    m_buffer.clear();
    m_host.refresh(m_display);
}

void AcValidateSession::addIssue()
{
    ++m_display.issueCount;
}

void AcValidateSession::clear()
{
    m_display.report = introductionText();
    m_host.refresh(m_display);
}

void AcValidateSession::abortRun()
{
    m_buffer.clear();
    m_display.mark = AcValidateMark::Aborted;
    m_display.busy = false;
    append(LongTask::abortedText());
}

AcValidateOutcome AcValidateSession::process()
{
    m_display.busy = true;
    m_display.mark = AcValidateMark::None;
    m_display.issueCount = 0;
    m_buffer.clear();
    m_host.refresh(m_display);

    Forms forms = Forms::NoDictionary;
    AcValidatePairs pairs;
    const bool completed = extractDictionary(forms) == StepEnd::Done && extractList(pairs) == StepEnd::Done &&
                           compareWithDictionary(pairs, forms) == StepEnd::Done &&
                           compareWithIncorrects(pairs) == StepEnd::Done;
    // The forms are only needed during the run; a real dictionary's take hundreds of megabytes.
    m_words.clear();
    if (!completed) {
        abortRun();
        return AcValidateOutcome::Aborted;
    }
    m_display.mark = AcValidateMark::Done;
    m_display.busy = false;
    m_host.refresh(m_display);
    return m_display.issueCount > 0 ? AcValidateOutcome::IssuesFound : AcValidateOutcome::NoIssues;
}

AcValidateSession::StepEnd AcValidateSession::extractDictionary(Forms &forms)
{
    using namespace acValidateTexts;
    append(step1);
    m_words.clear();
    m_derivedCount = 0;
    const EntryStore &entries = m_dictionary.entries;
    if (entries.isEmpty()) {
        append(skipping);
        return StepEnd::Done;
    }
    LongTask task(m_host.taskUi(), m_settings);
    const qint64 n = entries.size();
    task.begin(escapeHint, n);
    DerivedWordSetSink sink(m_words);
    WordDeriver deriver(m_table);
    for (qint64 i = 0; i < n; ++i) {
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            task.showValue(i);
            m_host.refresh(m_display);
        }
        if (poll.abortRequested) {
            task.cancel(QString());
            return StepEnd::Aborted;
        }
        // Comment lines of the .dic are not words.
        const QStringView part = partBeforeNewline(entries.view(i));
        if (!IsCommentEntry(part))
            m_derivedCount += deriver.DeriveWord(part, sink);
        // A set that ran out of references is a partial word list, as after the guard.
        if (m_words.full() || task.checkDecodeVolume(m_derivedCount, DecodeVolumeText::Ram)) {
            // The forms so far are not the dictionary: step 3 would report words it has.
            forms = Forms::Stopped;
            append(guardStopped);
            task.finish(QString());
            gather(totalWordlist + task.formatCount(m_derivedCount));
            gather(QString());
            gather(QString());
            endStep();
            return StepEnd::Done;
        }
    }
    task.finish(QString());
    forms = Forms::Complete;
    gather(done);
    gather(totalWordlist + task.formatCount(m_derivedCount));
    gather(QString());
    gather(QString());
    endStep();
    return StepEnd::Done;
}

AcValidateSession::StepEnd AcValidateSession::extractList(AcValidatePairs &pairs)
{
    using namespace acValidateTexts;
    append(step2);
    LongTask task(m_host.taskUi(), m_settings);
    const qint64 n = m_list.entries.size();
    task.begin(escapeHint, n);
    pairs.incorrects.reserve(n);
    pairs.corrections.reserve(n);
    const bool completed = task.forEach(
        n, [&](qint64 i) { task.showValue(i); },
        [&](qint64 i) {
            const PairTexts pair = SplitPair(m_list.entries.view(i));
            pairs.corrections.append(isShortcode(pair.incorrect) ? QString() : pair.correct);
            pairs.incorrects.append(pair.incorrect);
        });
    if (!completed) {
        task.cancel(QString());
        return StepEnd::Aborted;
    }
    task.finish(QString());
    gather(done);
    gather(totalList + task.formatCount(n));
    gather(QString());
    gather(QString());
    endStep();
    return StepEnd::Done;
}

AcValidateSession::StepEnd AcValidateSession::compareWithDictionary(const AcValidatePairs &pairs, Forms forms)
{
    using namespace acValidateTexts;
    append(step3);
    if (forms == Forms::NoDictionary) {
        append(skipping);
        return StepEnd::Done;
    }
    if (forms == Forms::Stopped) {
        append(extractionAborted);
        gather(QString());
        gather(QString());
        endStep();
        return StepEnd::Done;
    }
    LongTask task(m_host.taskUi(), m_settings);
    const qint64 n = pairs.corrections.size();
    task.begin(escapeHint, n);
    const bool completed = task.forEach(
        n,
        [&](qint64 j) {
            task.showValue(j);
            m_host.refresh(m_display);
        },
        [&](qint64 j) {
            const QString &correction = pairs.corrections[j];
            // The list stores "abra&#xE7;o" for "abraço": the word is what the reference
            // names; the report shows the text as stored.
            if (!correction.isEmpty() &&
                !m_words.contains(correction.contains(u'&') ? DecodeAutocorrectText(correction) : correction)) {
                gather(notFound + correction + lineNumber(j));
                addIssue();
            }
        });
    if (!completed) {
        task.cancel(QString());
        return StepEnd::Aborted;
    }
    task.finish(QString());
    gather(done);
    gather(QString());
    gather(QString());
    endStep();
    return StepEnd::Done;
}

AcValidateSession::StepEnd AcValidateSession::compareWithIncorrects(const AcValidatePairs &pairs)
{
    using namespace acValidateTexts;
    append(step4);
    LongTask task(m_host.taskUi(), m_settings);
    const qint64 n = pairs.incorrects.size();
    task.begin(escapeHint, 2 * n);
    // How many entries list each incorrect text: entry i is reported once for each of
    // them, as a comparison of every pair of entries would.
    QHash<QString, qint64> incorrectCounts;
    incorrectCounts.reserve(n);
    const bool counted = task.forEach(
        n, [&](qint64 j) { task.showValue(j); }, [&](qint64 j) { ++incorrectCounts[pairs.incorrects[j]]; });
    if (!counted) {
        task.cancel(QString());
        return StepEnd::Aborted;
    }
    const bool matched = task.forEach(
        n,
        [&](qint64 i) {
            task.showValue(n + i);
            m_host.refresh(m_display);
        },
        [&](qint64 i) {
            const qint64 matches = incorrectCounts.value(pairs.corrections[i]);
            if (matches == 0)
                return;
            const QString line =
                incorrectEntry + pairs.corrections[i] + QStringLiteral("','") + pairs.incorrects[i] + lineNumber(i);
            for (qint64 k = 0; k < matches; ++k) {
                gather(line);
                addIssue();
            }
        });
    if (!matched) {
        task.cancel(QString());
        return StepEnd::Aborted;
    }
    task.finish(QString());
    gather(done);
    gather(QString());
    gather(QString());
    endStep();
    return StepEnd::Done;
}

bool AcValidateSession::exportReport()
{
    using namespace acValidateTexts;
    const QString path = AskSavePath(m_ui, exportTitle, exportFilter, QStringLiteral(".txt"));
    if (path.isEmpty())
        return false;
    QByteArray bytes(utf8ByteOrderMark.data(), utf8ByteOrderMark.size());
    bytes += EncodeLossless(NormaliseLineEnds(m_display.report));
    AtomicFileWriter writer(path);
    if (!writer.open() || !writer.write(bytes) || !writer.commit()) {
        m_ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, writer.errorString()),
                         MessageIcon::Error);
        return false;
    }
    return true;
}

} // namespace lexaloom
