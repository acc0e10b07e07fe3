#include "core/dictionary_tools/wordlist_duplicates.h"

#include <QFileInfo>

#include <algorithm>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/memory_budget.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

// One derived word: its text in the shared buffer and the entry that gave it. The
// tag part and the entry number are read from the entry when compared, so millions
// of forms cost no string each.
struct Record {
    quint64 offset;
    quint32 length;
    quint32 entry; // 0-based
};

class RecordSink final : public DerivationSink {
public:
    RecordSink(QString &buffer, std::vector<Record> &records)
        : m_buffer(buffer)
        , m_records(records)
    {
    }
    void setEntry(quint32 entry) { m_entry = entry; }
    bool accept(const DerivedWord &form) override
    {
        m_records.push_back({static_cast<quint64>(m_buffer.size()), static_cast<quint32>(form.word.size()), m_entry});
        m_buffer.append(form.word);
        return true;
    }

private:
    QString &m_buffer;
    std::vector<Record> &m_records;
    quint32 m_entry = 0;
};

QStringView tagPartOf(QStringView entry)
{
    const qsizetype lineEnd = entry.indexOf(u'\n');
    return lineEnd < 0 ? QStringView() : entry.sliced(lineEnd + 1);
}

QStringView wordPartOf(QStringView entry)
{
    const qsizetype lineEnd = entry.indexOf(u'\n');
    return lineEnd < 0 ? entry : entry.first(lineEnd);
}

// Code-unit comparison of texts made of several pieces, as if they were joined.
int comparePieces(std::initializer_list<QStringView> a, std::initializer_list<QStringView> b)
{
    auto pa = a.begin(), pb = b.begin();
    qsizetype ia = 0, ib = 0;
    while (true) {
        while (pa != a.end() && ia == pa->size()) {
            ++pa;
            ia = 0;
        }
        while (pb != b.end() && ib == pb->size()) {
            ++pb;
            ib = 0;
        }
        if (pa == a.end() || pb == b.end())
            return (pa == a.end() ? 0 : 1) - (pb == b.end() ? 0 : 1);
        const char16_t ca = (*pa)[ia].unicode(), cb = (*pb)[ib].unicode();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++ia;
        ++ib;
    }
}

// What the records and their text take, with room for the next doubling of either
// buffer (the old one stays until its copy is made) and for the rows.
qint64 heldBytes(const QString &words, const std::vector<Record> &records)
{
    return 3 * (qint64(records.size()) * qint64(sizeof(Record)) + qint64(words.size()) * qint64(sizeof(QChar)));
}

} // namespace

qint64 WordlistDuplicatesMemoryBudget()
{
    return MemoryBudget();
}

WordlistDuplicates FindWordlistDuplicates(const DictionaryDocument &doc, AffixTable &affixTable,
                                          const MainSettings &settings, Ui &ui, qint64 memoryBudget)
{
    using namespace wordlistDuplicatesTexts;
    WordlistDuplicates result;
    const EntryStore &entries = doc.entries;
    ui.setStatusText(extracting + toAbort);
    ui.setProgressValue(0);
    if (entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), dictionaryTexts::noWords, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    LongTask task(ui, settings);
    BuildAffixTable(affixTable, doc.affText, &task);
    WordDeriver deriver(affixTable);
    const qint64 count = entries.size();
    task.begin(extracting + toAbort, count);

    QString words;
    std::vector<Record> records;
    RecordSink sink(words, records);
    const qint64 limit = settings.decodeWarnLimit;
    const qint64 budget = memoryBudget > 0 ? memoryBudget : WordlistDuplicatesMemoryBudget();
    bool volumeAsked = false;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 derived = static_cast<qint64>(records.size());
        if (!volumeAsked && limit != 0 && derived >= limit) {
            volumeAsked = true;
            ui.setStatusText(extracting + task.formatCount(derived) + toAbort);
            if (task.checkDecodeVolume(derived, DecodeVolumeText::RamShort)) {
                task.cancel();
                return result;
            }
        }
        const QStringView word = wordPartOf(entries.view(i));
        if (!word.startsWith(u'/')) {
            sink.setEntry(static_cast<quint32>(i));
            deriver.DeriveWord(word, sink);
        }
        if (heldBytes(words, records) > budget) {
            task.cancel();
            ui.showMessage(fileTexts::errorTitle, outOfMemory, MessageIcon::Warning);
            return result;
        }
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            task.showProgress(
                extracting + task.formatCount(static_cast<qint64>(records.size())) + toAbort + task.elapsedText(), i);
        }
        if (poll.abortRequested) {
            task.cancel();
            return result;
        }
    }
    result.derivedCount = static_cast<qint64>(records.size());

    // Ordered as the texts word + "\n" + tags + "\n" + entry number would be.
    std::vector<QString> numbers; // entry numbers as text, made only when needed
    const auto wordOf = [&](const Record &r) {
        return QStringView(words).mid(static_cast<qsizetype>(r.offset), r.length);
    };
    const auto numberText = [](quint32 entry) { return QString::number(qint64(entry) + 1); };
    const QStringView newline = u"\n";
    const auto less = [&](const Record &a, const Record &b) {
        const QStringView wa = wordOf(a), wb = wordOf(b);
        const qsizetype common = std::min(wa.size(), wb.size());
        // The usual case: the words differ before either ends.
        if (const int c = wa.first(common).compare(wb.first(common)); c != 0)
            return c < 0;
        if (a.entry == b.entry && wa.size() == wb.size())
            return false;
        const QString na = numberText(a.entry), nb = numberText(b.entry);
        return comparePieces({wa, newline, tagPartOf(entries.view(a.entry)), newline, na},
                             {wb, newline, tagPartOf(entries.view(b.entry)), newline, nb}) < 0;
    };
    std::sort(records.begin(), records.end(), less);
    task.showProgress(comparing + toAbort, 0);
    task.setMaximum(result.derivedCount);

    const QString &separator = settings.thousandsSeparator;
    const auto sameKey = [&](const Record &a, const Record &b) {
        return wordOf(a) == wordOf(b) &&
               (a.entry == b.entry || tagPartOf(entries.view(a.entry)) == tagPartOf(entries.view(b.entry)));
    };
    const qsizetype n = static_cast<qsizetype>(records.size());
    for (qsizetype start = 0; start < n;) {
        qsizetype end = start + 1;
        while (end < n && sameKey(records[static_cast<size_t>(start)], records[static_cast<size_t>(end)]))
            ++end;
        if (end - start > 1) {
            WordlistDuplicate row{wordOf(records[static_cast<size_t>(start)]).toString(), end - start, {}};
            for (qsizetype k = start; k < end; ++k) {
                if (k > start)
                    row.lines += QStringLiteral(" + ");
                row.lines += FormatCount(qint64(records[static_cast<size_t>(k)].entry) + 1, separator);
            }
            result.rows.push_back(std::move(row));
        }
        for (; start < end; ++start) {
            const LongTask::PollResult poll = task.poll();
            if (poll.ticked) {
                task.showProgress(comparing + task.formatCount(start) + u'/' + task.formatCount(n) + toAbort +
                                      task.elapsedText(),
                                  start);
            }
            if (poll.abortRequested) {
                task.cancel();
                result.rows.clear();
                return result;
            }
        }
    }
    result.done = true;
    task.finish(QStringLiteral("OK.") + task.elapsedText());
    if (result.rows.empty())
        ui.showMessage(LongTask::warningTitle(), noDuplicates, MessageIcon::Warning);
    return result;
}

QString WordlistDuplicatesFoundText(const WordlistDuplicates &result, const QString &thousandsSeparator)
{
    return wordlistDuplicatesTexts::found + FormatCount(static_cast<qint64>(result.rows.size()), thousandsSeparator) +
           u'/' + FormatCount(result.derivedCount, thousandsSeparator);
}

QString WordlistDuplicatesReport(const WordlistDuplicates &result, const QString &thousandsSeparator)
{
    QString text = wordlistDuplicatesTexts::exportHeading +
                   FormatCount(static_cast<qint64>(result.rows.size()), thousandsSeparator) + QStringLiteral("\n\n");
    for (const WordlistDuplicate &row : result.rows) {
        text += row.word + QStringLiteral(" (") + FormatCount(row.occurrences, thousandsSeparator) +
                QStringLiteral("): ") + row.lines + u'\n';
    }
    return text;
}

bool ExportWordlistDuplicates(const WordlistDuplicates &result, const MainSettings &settings, Ui &ui)
{
    using namespace wordlistDuplicatesTexts;
    if (result.rows.empty())
        return false;
    const QString path = AskSavePath(ui, exportTitle, exportFilter, QStringLiteral(".txt"));
    if (path.isEmpty())
        return false;
    const QByteArray bytes =
        QByteArray("\xEF\xBB\xBF") + WordlistDuplicatesReport(result, settings.thousandsSeparator).toUtf8();
    if (!WriteFileAtomically(path, bytes)) {
        ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, QStringLiteral("Write failed.")),
                       MessageIcon::Error);
        return false;
    }
    return true;
}

} // namespace lexaloom
