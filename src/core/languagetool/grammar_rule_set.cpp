#include "core/languagetool/grammar_rule_set.h"

#include <QFile>
#include <QStringList>

#include "core/languagetool/text_export.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

const QString elapsedPrefix = QStringLiteral(" \u231A");
const QString okPrefix = QStringLiteral("OK. ");

bool containsKey(QStringView line, QLatin1String key)
{
    return line.contains(key, Qt::CaseInsensitive);
}

// The file's lines after a byte-order mark; LF, CR and CR LF end a line, and a last
// line without an end still counts.
QStringList splitLines(const QByteArray &bytes, LongTask &task, qint64 startMs, Ui &ui, bool *aborted)
{
    QStringList lines;
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype pos = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < size) {
        const LongTask::PollResult poll = task.poll();
        if (poll.abortRequested) {
            *aborted = true;
            return {};
        }
        if (poll.ticked) {
            task.showProgress(grammarTexts::loadingStatus +
                                  FormatElapsed(elapsedPrefix, ui.clock().monotonicMs() - startMs) +
                                  FormatPercent(pos, size),
                              pos);
        }
        qsizetype end = pos;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        lines.append(DecodeLossless(QByteArrayView(data + pos, end - pos)));
        if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
            ++end;
        pos = end + 1;
    }
    return lines;
}

} // namespace

QString GrammarAttribute(QStringView line, QStringView key)
{
    const qsizetype at = line.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    const qsizetype quotePos = at + key.size();
    if (quotePos >= line.size())
        return {};
    const QChar quote = line[quotePos];
    if (quote != u'"' && quote != u'\'')
        return {};
    const qsizetype close = line.indexOf(quote, quotePos + 1);
    // An attribute continued on the next line: its first part is all this line holds.
    const qsizetype end = close < 0 ? line.size() : close;
    return line.mid(quotePos + 1, end - quotePos - 1).toString();
}

bool BuildGrammarOutline(GrammarRuleSet &set, const QStringList &lines, const std::function<bool(qsizetype)> &stop)
{
    set.chunks.clear();
    set.categoryChunks.clear();
    set.categoryRuleCounts.clear();
    set.ruleTotal = 0;
    QString gathered;
    qint32 ruleCount = 0;
    const auto closeCategory = [&] {
        if (set.categoryChunks.isEmpty())
            return;
        set.categoryRuleCounts.last() = ruleCount;
        set.ruleTotal += ruleCount;
        ruleCount = 0;
    };
    const auto finish = [&] {
        closeCategory();
        if (!set.chunks.isEmpty())
            set.chunks.last().xmlCode = gathered;
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (stop && stop(i)) {
            finish();
            return false;
        }
        const QString &line = lines[i];
        QString kind;
        if (containsKey(line, QLatin1String("<rulegroup ")))
            kind = QStringLiteral("rulegroup");
        if (containsKey(line, QLatin1String("<rule ")))
            kind = QStringLiteral("rule");
        const bool countsRule = !kind.isEmpty();
        // Real files also write <category name="..."> without an id, or with the id
        // after the name: any category tag with attributes starts a category.
        const bool category = containsKey(line, QLatin1String("<category "));
        if (category)
            kind = QStringLiteral("category");
        if (!kind.isEmpty()) {
            if (!set.chunks.isEmpty()) {
                set.chunks.last().xmlCode = gathered;
                gathered.clear();
            }
            if (countsRule)
                ++ruleCount;
            GrammarChunk chunk;
            chunk.lineNumber = qint32(i + 1);
            chunk.kind = kind;
            chunk.id = GrammarAttribute(line, u"id=");
            chunk.name = GrammarAttribute(line, u"name=");
            chunk.type = GrammarAttribute(line, u"type=");
            chunk.tags = GrammarAttribute(line, u"tags=");
            chunk.defaultValue = GrammarAttribute(line, u"default=");
            set.chunks.append(chunk);
            if (category) {
                closeCategory();
                set.categoryChunks.append(qint32(set.chunks.size() - 1));
                set.categoryRuleCounts.append(0);
            }
        }
        gathered += line;
        gathered += QLatin1Char('\n');
    }
    finish();
    return true;
}

QString CategoryRowText(const GrammarRuleSet &set, qsizetype category)
{
    const GrammarChunk &chunk = set.chunks[set.categoryChunks[category]];
    const QString &label = chunk.id.isEmpty() ? chunk.name : chunk.id;
    return label + QStringLiteral(" (") + QString::number(set.categoryRuleCounts[category]) + QLatin1Char(')');
}

QString CategoryColumnTitle(const GrammarRuleSet &set, const QString &thousandsSeparator)
{
    if (set.categoryChunks.isEmpty())
        return grammarTexts::categoryColumn;
    return grammarTexts::categoryColumn + QLatin1Char('(') +
           FormatCount(set.categoryChunks.size(), thousandsSeparator) + QStringLiteral("), \u2211 Rules (") +
           FormatCount(set.ruleTotal, thousandsSeparator) + QLatin1Char(')');
}

std::optional<quint32> ChunkCellColour(const GrammarChunk &chunk, int column)
{
    if (column == 0)
        return grammarColours::lineShade;
    if (column == 6 && chunk.defaultValue == QLatin1String("off"))
        return grammarColours::switchedOff;
    if (chunk.kind == QLatin1String("rulegroup"))
        return grammarColours::rulegroup;
    if (chunk.isCategory())
        return grammarColours::category;
    return std::nullopt;
}

QString RulesStructureCategoryBlock(const GrammarRuleSet &set, bool withLineNumbers)
{
    if (set.categoryChunks.isEmpty())
        return {};
    QString block;
    for (qsizetype c = 0; c < set.categoryChunks.size(); ++c) {
        if (withLineNumbers)
            block += QStringLiteral("Line: ") + QString::number(set.chunks[set.categoryChunks[c]].lineNumber) + u'\n';
        block += QStringLiteral("ID Category:") + CategoryRowText(set, c) + QStringLiteral("\n\n");
    }
    return block + QStringLiteral("\n\n\n");
}

QString RulesStructureRecord(const GrammarRuleSet &set, qsizetype index, bool withLineNumbers)
{
    const GrammarChunk &chunk = set.chunks[index];
    QString record;
    if (chunk.isCategory() && index > 0)
        record += QStringLiteral("\n\n\n");
    if (withLineNumbers)
        record += QStringLiteral("Line: ") + QString::number(chunk.lineNumber) + u'\n';
    record += chunk.kind + QStringLiteral(", ID:") + chunk.id + QStringLiteral(", Name:\"") + chunk.name +
              QStringLiteral("\", ") + chunk.type + QStringLiteral(", ") + chunk.tags + QStringLiteral(", ");
    if (!chunk.defaultValue.isEmpty())
        record += QStringLiteral("default:") + chunk.defaultValue;
    return record + QStringLiteral("\n\n");
}

GrammarLoadResult LoadGrammarRules(GrammarRuleSet &set, const MainSettings &settings, Ui &ui, const QString &fileName,
                                   const std::function<void()> &onTick)
{
    using namespace grammarTexts;
    GrammarLoadResult result;
    ui.setStatusText(loadingStatus);
    ui.setProgressValue(0);
    const qint64 startMs = ui.clock().monotonicMs();
    QString path = fileName;
    if (path.isEmpty()) {
        path = AskOpenPath(ui, openTitle, fileFilter);
        if (path.isEmpty()) {
            ui.setStatusText(LongTask::abortedText());
            return result;
        }
    }
    if (!CheckFileExists(ui, path, notFound)) {
        ui.setStatusText(fileTexts::fileNotFound);
        result.outcome = FileOutcome::Failed;
        return result;
    }
    set.clear();
    result.replaced = true;

    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ui.showMessage(fileTexts::errorTitle, fileTexts::cannotRead.arg(path, file.errorString()), MessageIcon::Error);
        ui.setStatusText(LongTask::abortedText());
        result.outcome = FileOutcome::Failed;
        return result;
    }
    file.close();

    LongTask task(ui, settings);
    task.begin(loadingStatus, bytes.size());
    bool aborted = false;
    QStringList lines = splitLines(bytes, task, startMs, ui, &aborted);
    if (aborted) {
        task.cancel();
        return result;
    }
    // The first line, normally the XML declaration, is set aside: numbering starts after it.
    if (!lines.isEmpty())
        lines.removeFirst();

    const auto elapsed = [&] { return FormatElapsed(elapsedPrefix, ui.clock().monotonicMs() - startMs); };
    ui.setStatusText(processingStatus + elapsed());
    task.setMaximum(lines.size());
    task.showValue(0);
    const qsizetype lineCount = lines.size();
    const bool complete = BuildGrammarOutline(set, lines, [&](qsizetype i) {
        const LongTask::PollResult poll = task.poll();
        if (poll.abortRequested)
            return true;
        if (poll.ticked) {
            if (onTick)
                onTick();
            task.showProgress(processingStatus + elapsed() + FormatPercent(i + 1, lineCount), i + 1);
        }
        return false;
    });
    if (!complete) {
        task.cancel();
        return result;
    }
    set.path = path;
    result.outcome = FileOutcome::Done;
    result.path = path;
    task.finish(okPrefix + FormatFileSize(QStringLiteral("xml:"), bytes.size(), true) + elapsed());
    return result;
}

GrammarExportResult ExportRulesStructure(const GrammarRuleSet &set, const MainSettings &settings, Ui &ui,
                                         bool withLineNumbers)
{
    using namespace grammarTexts;
    GrammarExportResult result;
    ui.setStatusText(exportingStatus);
    if (set.chunks.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), nothingToSave, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    QString path = ui.askSavePath(exportTitle, QString(), DialogFilter(exportFilter));
    if (!path.isEmpty()) {
        if (!path.right(4).toLower().endsWith(QLatin1String(".txt")))
            path += QStringLiteral(".txt");
        if (FileSize(path) > 0 &&
            !ui.askYesNo(LongTask::warningTitle(), fileTexts::overwriteQuestion, MessageIcon::Warning))
            path.clear();
    }
    if (path.isEmpty()) {
        // Nothing was written: the status must not go on promising an export.
        ui.setStatusText(LongTask::abortedText());
        return result;
    }

    LongTask task(ui, settings);
    task.begin(exportingStatus, set.chunks.size());
    TextExportFile out(path);
    if (!out.open(ui)) {
        task.cancel();
        result.outcome = FileOutcome::Failed;
        return result;
    }
    result.path = path;
    out.write(RulesStructureCategoryBlock(set, withLineNumbers));
    const qsizetype n = set.chunks.size();
    const bool completed = task.forEach(
        n, [&](qint64 i) { task.showProgress(exportingStatus + task.elapsedText() + FormatPercent(i, n), i); },
        [&](qint64 i) {
            out.write(RulesStructureRecord(set, i, withLineNumbers));
            return out.ok();
        },
        {.abortBeforeTick = true});
    if (!completed) {
        // The records written so far stay, as the file's reader expects of an abort.
        out.commit(ui);
        task.cancel();
        return result;
    }
    const qint64 size = out.size();
    if (!out.commit(ui)) {
        task.cancel();
        result.outcome = FileOutcome::Failed;
        result.path.clear();
        return result;
    }
    result.outcome = FileOutcome::Done;
    task.finish(okPrefix + FormatFileSize(QString(), size, true) + task.elapsedText());
    return result;
}

GrammarSlot::GrammarSlot(GrammarRuleSet &set, const MainSettings &settings)
    : DocumentSlot(DocumentKind::LanguageTool)
    , m_set(set)
    , m_settings(settings)
{
}

const QString &GrammarSlot::path() const
{
    return m_set.path;
}

qint64 GrammarSlot::entryCount() const
{
    return m_set.chunks.size();
}

DocumentLoadResult GrammarSlot::load(Ui &ui, const QString &path, const FileProgress &progress)
{
    std::function<void()> onTick;
    if (progress.tick)
        onTick = [this, &progress] { progress.tick(m_set.chunks.size()); };
    const GrammarLoadResult result = LoadGrammarRules(m_set, m_settings, ui, path, onTick);
    DocumentLoadResult load;
    static_cast<FileResult &>(load) = result;
    load.replaced = result.replaced;
    return load;
}

} // namespace lexaloom
