#include "core/dictionary_tools/master_wordlist.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringView>

#include <algorithm>
#include <numeric>
#include <optional>

#include "core/shell/atomic_write.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"
#include "core/shell/text_folding.h"

namespace lexaloom {

namespace {

constexpr int stepCount = 6;

// The whole file as text (a leading byte-order mark skipped, bytes that are not UTF-8
// kept), or nothing when it is missing or empty.
std::optional<QString> readWordlist(const QString &path)
{
    QFile file(path);
    if (FileSize(path) < 1 || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return DecodeLossless(WithoutUtf8Bom(bytes));
}

// Walks the lines of a text: they end at LF, CR LF or CR, and text after the last line
// end is one more line.
class LineWalker {
public:
    explicit LineWalker(QStringView text)
        : m_text(text)
    {
    }
    bool next(QStringView &line)
    {
        const qsizetype size = m_text.size();
        if (m_at >= size)
            return false;
        qsizetype end = m_at;
        while (end < size && m_text[end] != u'\n' && m_text[end] != u'\r')
            ++end;
        line = m_text.mid(m_at, end - m_at);
        m_at = end;
        if (m_at < size)
            m_at += m_text[m_at] == u'\r' && m_at + 1 < size && m_text[m_at + 1] == u'\n' ? 2 : 1;
        return true;
    }
    qsizetype position() const { return m_at; }

private:
    QStringView m_text;
    qsizetype m_at = 0;
};

} // namespace

QString MasterStepText(int step, const QString &text)
{
    return QStringLiteral("Processing:") + QString::number(step) + QStringLiteral("/") + QString::number(stepCount) +
           text;
}

MissingWords FindMissingWords(const QString &masterPath, const QStringList &otherPaths, Ui &ui,
                              const MainSettings &settings, MasterDisplay *display,
                              const std::function<void()> &refresh)
{
    MissingWords result;
    MasterDisplay ownDisplay;
    MasterDisplay &shown = display ? *display : ownDisplay;
    shown = MasterDisplay();
    shown.hint = masterTexts::abortHint;

    LongTask task(ui, settings);
    int step = 1;
    const auto elapsed = [&] { shown.elapsed = task.elapsedText(QString()); };
    const auto stop = [&](MasterOutcome outcome) {
        task.cancel(MasterStepText(step, masterTexts::abortedStep));
        shown.hint.clear();
        elapsed();
        result.outcome = outcome;
        result.words.clear();
        return result;
    };
    const auto missingFile = [&](const QString &path) {
        ui.showMessage(fileTexts::errorTitle, fileTexts::fileNotFound, MessageIcon::Warning);
        result.failedPath = path;
        return stop(MasterOutcome::Failed);
    };
    const auto showTotal = [&] {
        shown.total = masterTexts::totalPrefix + task.formatCount(result.totalWords) + masterTexts::allFiles;
    };
    const auto onTick = [&] {
        elapsed();
        if (refresh)
            refresh();
    };

    // The window holds ten rows, the Master one of them; a caller with a longer list
    // gets the window's refusal.
    if (1 + otherPaths.size() > MasterWordlistSession::maxRows) {
        ui.showMessage(fileTexts::errorTitle, masterTexts::tooManyFiles, MessageIcon::Warning);
        result.outcome = MasterOutcome::Refused;
        return result;
    }

    // Step 1. The Master list is read once: what the second reading would add to the
    // records is only its line count, which is what "Total words:" counts.
    task.begin(MasterStepText(1, masterTexts::loadingMaster), 2);
    const std::optional<QString> masterText = readWordlist(masterPath);
    if (!masterText)
        return missingFile(masterPath);
    task.setMaximum(2 * std::max<qint64>(1, masterText->size()));
    QSet<QStringView> master;
    {
        LineWalker lines(*masterText);
        QStringView line;
        while (lines.next(line)) {
            const LongTask::PollResult poll = task.poll();
            if (poll.abortRequested)
                return stop(MasterOutcome::Aborted);
            if (poll.ticked) {
                task.showValue(2 * lines.position());
                onTick();
            }
            master.insert(line);
            ++result.totalWords;
        }
    }
    showTotal();

    // Step 2, with step 4's rule applied on the way: each distinct line once, and none
    // that the Master holds.
    step = 2;
    std::vector<QString> texts;
    texts.reserve(size_t(otherPaths.size()));
    QSet<QStringView> seen;
    std::vector<QStringView> missing;
    for (qsizetype f = 0; f < otherPaths.size(); ++f) {
        task.showProgress(MasterStepText(2, masterTexts::loadingOthers.arg(QString::number(f + 1),
                                                                           QString::number(otherPaths.size()))),
                          0);
        std::optional<QString> text = readWordlist(otherPaths[f]);
        if (!text)
            return missingFile(otherPaths[f]);
        texts.push_back(std::move(*text));
        const QString &held = texts.back();
        task.setMaximum(std::max<qint64>(1, held.size()));
        LineWalker lines(held);
        QStringView line;
        while (lines.next(line)) {
            const LongTask::PollResult poll = task.poll();
            if (poll.abortRequested)
                return stop(MasterOutcome::Aborted);
            if (poll.ticked) {
                task.showValue(lines.position());
                showTotal();
                onTick();
            }
            ++result.totalWords;
            if (line.isEmpty() || master.contains(line) || seen.contains(line))
                continue;
            seen.insert(line);
            missing.push_back(line);
        }
    }
    showTotal();

    step = 3;
    task.showProgress(MasterStepText(3, masterTexts::sortingAscii), 0);
    step = 4;
    task.showProgress(MasterStepText(4, masterTexts::deleting1), 0);
    task.showProgress(MasterStepText(4, masterTexts::deleting2), 0);

    step = 5;
    task.showProgress(MasterStepText(5, masterTexts::sortingLatin), 0);
    std::vector<QString> keys;
    keys.reserve(missing.size());
    for (const QStringView line : missing)
        keys.push_back(FoldAccents(line.toString()));
    std::vector<qsizetype> order(missing.size());
    std::iota(order.begin(), order.end(), 0);
    // Equal folded keys are left in any order by the tool; the line decides here so
    // that every run gives the same file.
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = QStringView(keys[size_t(a)]).compare(keys[size_t(b)]);
        return byKey != 0 ? byKey < 0 : missing[size_t(a)] < missing[size_t(b)];
    });

    step = 6;
    task.showProgress(MasterStepText(6, masterTexts::counting), 0);
    task.setMaximum(std::max<qint64>(1, qint64(order.size())));
    result.words.reserve(qsizetype(order.size()));
    const bool completed = task.forEach(
        qint64(order.size()),
        [&](qint64) {
            task.showValue(result.words.size());
            onTick();
        },
        [&](qint64 k) { result.words.append(missing[size_t(order[size_t(k)])].toString()); },
        {.abortBeforeTick = true});
    if (!completed)
        return stop(MasterOutcome::Aborted);
    shown.missing = masterTexts::missingPrefix + task.formatCount(result.words.size());
    elapsed();
    shown.hint.clear();
    task.finish(MasterStepText(6, masterTexts::doneStep));
    if (result.words.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), masterTexts::noneMissing, MessageIcon::Warning);
        result.outcome = MasterOutcome::NoneMissing;
    } else {
        result.outcome = MasterOutcome::Done;
    }
    return result;
}

bool StartsWithCapital(const QString &word)
{
    if (word.isEmpty())
        return false;
    const char32_t c = word.at(0).isHighSurrogate() && word.size() > 1 ? QChar::surrogateToUcs4(word.at(0), word.at(1))
                                                                       : char32_t(word.at(0).unicode());
    return QChar::toUpper(c) == c && QChar::toLower(c) != c;
}

qint64 WriteMissingWords(const QString &path, const QStringList &words, bool capitalsOnly, Ui &ui,
                         const MainSettings &settings)
{
    AtomicFileWriter writer(path);
    LongTask task(ui, settings);
    task.begin(ui.statusText(), std::max<qint64>(1, words.size()));
    qint64 written = 0;
    bool ok = writer.open() && writer.write(utf8ByteOrderMark);
    // A failed write ends the loop before its next poll.
    const auto writeWord = [&](qint64 i) {
        const QString &word = words[i];
        if (capitalsOnly && !StartsWithCapital(word))
            return true;
        ok = writer.write(EncodeLossless(word)) && writer.write("\n");
        ++written;
        return ok;
    };
    if (ok && !task.forEach(words.size(), [&](qint64 i) { task.showValue(i); }, writeWord, {.abortBeforeTick = true})) {
        task.cancel();
        writer.discard();
        return -1;
    }
    if (!ok || !writer.commit()) {
        task.cancel();
        ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, writer.errorString()),
                       MessageIcon::Error);
        return -1;
    }
    task.finish(ui.statusText());
    return written;
}

MasterWordlistSession::MasterWordlistSession(const MainSettings &settings, Ui &ui)
    : m_settings(settings)
    , m_ui(ui)
{
}

QString MasterWordlistSession::typeText(const Row &row)
{
    return row.master ? masterTexts::masterType : masterTexts::otherType;
}

QString MasterWordlistSession::sizeText(const Row &row)
{
    return FormatFileSize(QString(), row.size, false);
}

bool MasterWordlistSession::addFile(bool master)
{
    if (m_rows.size() >= size_t(maxRows)) {
        m_ui.showMessage(fileTexts::errorTitle, masterTexts::tooManyFiles, MessageIcon::Warning);
        return false;
    }
    if (master && std::any_of(m_rows.begin(), m_rows.end(), [](const Row &r) { return r.master; })) {
        m_ui.showMessage(fileTexts::errorTitle, masterTexts::oneMaster, MessageIcon::Warning);
        return false;
    }
    const QString type = master ? masterTexts::masterType : masterTexts::otherType;
    const QString path = AskOpenPath(m_ui, masterTexts::selectTitle.arg(type), masterTexts::textFilter);
    if (path.isEmpty())
        return false;
    if (!CheckFileExists(m_ui, path, fileTexts::fileNotFound))
        return false;
    m_rows.push_back({master, path, FileSize(path), false});
    return true;
}

void MasterWordlistSession::tickAll(bool ticked)
{
    for (Row &row : m_rows)
        row.ticked = ticked;
}

void MasterWordlistSession::setTicked(int row, bool ticked)
{
    if (row >= 0 && size_t(row) < m_rows.size())
        m_rows[size_t(row)].ticked = ticked;
}

bool MasterWordlistSession::deleteTicked(int selectedRow)
{
    const bool anyTicked = std::any_of(m_rows.begin(), m_rows.end(), [](const Row &r) { return r.ticked; });
    if (!anyTicked) {
        m_ui.showMessage(LongTask::warningTitle(), masterTexts::nothingToDelete, MessageIcon::Warning);
        return false;
    }
    bool tickedElsewhere = false;
    for (size_t i = 0; i < m_rows.size(); ++i)
        tickedElsewhere = tickedElsewhere || (m_rows[i].ticked && int(i) != selectedRow);
    if (tickedElsewhere && !m_ui.askYesNo(LongTask::warningTitle(), masterTexts::deleteQuestion, MessageIcon::Question))
        return false;
    std::erase_if(m_rows, [](const Row &r) { return r.ticked; });
    return true;
}

MasterOutcome MasterWordlistSession::process(Ui &panelUi, const std::function<void()> &refresh)
{
    if (m_rows.empty()) {
        m_ui.showMessage(LongTask::warningTitle(), masterTexts::nothingToProcess, MessageIcon::Warning);
        return MasterOutcome::Refused;
    }
    if (m_rows.size() == 1) {
        m_ui.showMessage(LongTask::warningTitle(), masterTexts::needTwo, MessageIcon::Warning);
        return MasterOutcome::Refused;
    }
    const auto masterRow = std::find_if(m_rows.begin(), m_rows.end(), [](const Row &r) { return r.master; });
    if (masterRow == m_rows.end()) {
        m_ui.showMessage(LongTask::warningTitle(), masterTexts::needMaster, MessageIcon::Warning);
        return MasterOutcome::Refused;
    }
    QStringList others;
    for (const Row &row : m_rows) {
        if (!row.master)
            others << row.path;
    }
    // On a failure or an abort the labels keep what they showed when the run stopped.
    m_result = FindMissingWords(masterRow->path, others, panelUi, m_settings, &m_display, refresh);
    return m_result.outcome;
}

bool MasterWordlistSession::save(bool capitalsOnly)
{
    if (m_result.words.isEmpty()) {
        m_ui.showMessage(LongTask::warningTitle(), masterTexts::nothingToSave, MessageIcon::Warning);
        return false;
    }
    const QString path = AskSavePath(m_ui, masterTexts::saveTitle, masterTexts::textFilter, QStringLiteral(".txt"));
    if (path.isEmpty())
        return false;
    const qint64 written = WriteMissingWords(path, m_result.words, capitalsOnly, m_ui, m_settings);
    if (written < 0)
        return false;
    if (capitalsOnly)
        m_ui.showMessage(LongTask::warningTitle(),
                         masterTexts::capitalsExtracted + FormatCount(written, m_settings.thousandsSeparator),
                         MessageIcon::Information);
    return true;
}

} // namespace lexaloom
