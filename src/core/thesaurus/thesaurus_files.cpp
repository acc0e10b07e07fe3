#include "core/thesaurus/thesaurus_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "core/shell/block_writer.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"
#include "core/shell/ui.h"
#include "core/thesaurus/thesaurus_document.h"

namespace lexaloom {

namespace {

constexpr QByteArrayView utf8Bom = utf8ByteOrderMark;

QString sizesText(qint64 idxBytes, qint64 datBytes)
{
    return FormatFileSize(QStringLiteral("idx:"), idxBytes, true) + QLatin1Char('+') +
           FormatFileSize(QStringLiteral("dat:"), datBytes, true);
}

ThesaurusFileResult failed(Ui &ui, const QString &message, ThesaurusFileResult result)
{
    ui.showMessage(fileTexts::errorTitle, message, MessageIcon::Warning);
    ui.setStatusText(LongTask::abortedText());
    result.outcome = FileOutcome::Failed;
    return result;
}

// The lines of a decoded file; a line ends at LF, CR or CR LF.
class LineCursor final {
public:
    explicit LineCursor(QStringView text)
        : m_text(text)
    {
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    qsizetype position() const { return m_pos; }

    struct Line {
        qsizetype begin = 0;
        qsizetype end = 0;
        bool lfOnly = true;   // ended by a single LF (or by the end of the text)
        bool pastEnd = false; // read after the end of the text
    };

    // Past the end a read yields an empty line.
    Line next()
    {
        Line line{m_pos, m_pos, true};
        const qsizetype size = m_text.size();
        if (m_pos >= size) {
            line.pastEnd = true;
            return line;
        }
        const char16_t *data = m_text.utf16();
        qsizetype i = m_pos;
        while (i < size && data[i] != u'\n' && data[i] != u'\r')
            ++i;
        line.end = i;
        if (i < size && data[i] == u'\r') {
            line.lfOnly = false;
            i += i + 1 < size && data[i + 1] == u'\n' ? 2 : 1;
        } else if (i < size) {
            ++i;
        }
        m_pos = i;
        return line;
    }

    QStringView text(const Line &line) const { return m_text.sliced(line.begin, line.end - line.begin); }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// One index line before sorting: where its head word sits in the shared buffer.
struct IndexLine {
    qsizetype headBegin = 0;
    qsizetype headLength = -1; // -1: the header has no "|", the line is only the offset
    qint64 offset = 0;
};

} // namespace

QString TooManyMeaningsOnLoadText()
{
    return QStringLiteral("Found synonym with more than ") + QString::number(maxMeanings) +
           QStringLiteral(" meanings.");
}

QString IndexPathFor(const QString &datPath)
{
    // Only a ".dat" is replaced: cutting four characters off any other name would reach
    // into its folder ("o/out" gave "o.idx", another file).
    const QLatin1String dat(".dat");
    const qsizetype slash = std::max(datPath.lastIndexOf(u'/'), datPath.lastIndexOf(u'\\'));
    const bool hasDat = datPath.endsWith(dat, Qt::CaseInsensitive) && datPath.size() - dat.size() > slash;
    return (hasDat ? datPath.chopped(dat.size()) : datPath) + QLatin1String(".idx");
}

QStringView HeaderOf(QStringView entry)
{
    const qsizetype lf = entry.indexOf(u'\n');
    return lf < 0 ? entry : entry.first(lf);
}

QStringView HeadWordOf(QStringView entry)
{
    const QStringView header = HeaderOf(entry);
    const qsizetype bar = header.indexOf(u'|');
    return bar < 0 ? header : header.first(bar);
}

int MeaningCountOf(QStringView header)
{
    const qsizetype bar = header.indexOf(u'|');
    if (bar < 0)
        return 0;
    QStringView field = header.sliced(bar + 1);
    const qsizetype nextBar = field.indexOf(u'|');
    if (nextBar >= 0)
        field = field.first(nextBar);
    // Read as the thesaurus library reads it (atoi): white space first, a sign, then the
    // leading digits; a negative count is no meaning. Far beyond the limit is as good as
    // the limit plus one.
    qsizetype start = 0;
    while (start < field.size() && (field[start] == u' ' || (field[start] >= u'\t' && field[start] <= u'\r')))
        ++start;
    bool negative = false;
    if (start < field.size() && (field[start] == u'+' || field[start] == u'-'))
        negative = field[start++] == u'-';
    field = field.sliced(start);
    qint64 n = 0;
    for (const QChar c : field) {
        if (c < u'0' || c > u'9')
            break;
        n = std::min<qint64>(n * 10 + (c.unicode() - u'0'), qint64(maxMeanings) * 1000);
    }
    return negative ? 0 : static_cast<int>(n);
}

ThesaurusFileResult ReadThesaurusFile(Ui &ui, const MainSettings &settings, const QString &datPath,
                                      ThesaurusDocument &out, const TickCallback &onTick)
{
    ThesaurusFileResult result;
    result.path = datPath;
    out = ThesaurusDocument();
    // A save of this pair that was cut off is finished (or left alone) before either
    // file is looked at.
    if (!ReadAfterRecovery(ui, RecoverInterruptedPairSave(ui, datPath, IndexPathFor(datPath)), result))
        return result;
    if (!CheckFileExists(ui, datPath, fileTexts::fileNotFound)) {
        ui.setStatusText(fileTexts::fileNotFound);
        result.outcome = FileOutcome::Failed;
        return result;
    }
    QFile file(datPath);
    if (!file.open(QIODevice::ReadOnly))
        return failed(ui, fileTexts::cannotRead.arg(QDir::toNativeSeparators(datPath), file.errorString()), result);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(ui, fileTexts::cannotRead.arg(QDir::toNativeSeparators(datPath), file.errorString()), result);
    file.close();
    result.datBytes = bytes.size();
    const QString text = DecodeLossless(WithoutUtf8Bom(bytes));
    bytes = QByteArray();

    LineCursor lines(text);
    const QString encodingLine = lines.text(lines.next()).toString();
    if (encodingLine.toLower() != QLatin1String("utf-8") &&
        !ui.askYesNo(LongTask::warningTitle(), thesaurusTexts::notUtf8Question.arg(encodingLine),
                     MessageIcon::Warning)) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    // A missing index counts as size 0; it is only looked at, never created.
    result.idxBytes = std::max<qint64>(0, FileSize(IndexPathFor(datPath)));

    out.encodingLine = encodingLine;
    LongTask task(ui, settings);
    task.begin(thesaurusTexts::loadingStatus, result.datBytes);
    // One entry per header line at most: this bounds the reservation without a count pass.
    out.entries.reserve(std::count(text.cbegin(), text.cend(), QChar(u'\n')) + 1, text.size());
    QString joined;
    std::array<LineCursor::Line, maxMeanings> meanings;
    while (!lines.atEnd()) {
        const LineCursor::Line header = lines.next();
        const int n = MeaningCountOf(lines.text(header));
        if (n > maxMeanings) {
            task.cancel();
            ui.showMessage(LongTask::warningTitle(), TooManyMeaningsOnLoadText(), MessageIcon::Warning);
            ui.setStatusText(LongTask::abortedText());
            return result;
        }
        // Lines ended by a single LF make the entry a slice of the text as it stands.
        bool contiguous = true;
        LineCursor::Line previous = header;
        for (int k = 0; k < n; ++k) {
            const LineCursor::Line meaning = lines.next();
            meanings[static_cast<size_t>(k)] = meaning;
            if (meaning.pastEnd || !previous.lfOnly || meaning.begin != previous.end + 1)
                contiguous = false;
            previous = meaning;
        }
        if (contiguous) {
            out.entries.append(QStringView(text).sliced(header.begin, previous.end - header.begin));
        } else {
            joined = lines.text(header).toString();
            for (int k = 0; k < n; ++k) {
                joined += u'\n';
                joined += lines.text(meanings[static_cast<size_t>(k)]);
            }
            out.entries.append(joined);
        }

        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            // UTF-16 units and bytes differ; the share of the text is close enough for a bar.
            const qint64 position = text.isEmpty() ? 0 : result.datBytes * lines.position() / text.size();
            task.showProgress(thesaurusTexts::loadingStatus + task.elapsedText(), position);
            if (onTick)
                onTick(out.entries.size());
        }
        if (poll.abortRequested) {
            task.cancel();
            return result;
        }
    }
    out.path = datPath;
    out.selectedIndex = -1;
    out.changed = false;
    out.clearHistory();
    task.finish(thesaurusTexts::okPrefix + sizesText(result.idxBytes, result.datBytes) + task.elapsedText());
    result.outcome = FileOutcome::Done;
    return result;
}

ThesaurusFileResult WriteThesaurusFiles(Ui &ui, const MainSettings &settings, const ThesaurusDocument &document,
                                        const QString &datPath, const TickCallback &onTick, FileOps &fileOps)
{
    ThesaurusFileResult result;
    result.path = datPath;
    const QString idxPath = IndexPathFor(datPath);
    // Both files go to temporary files first and replace the old pair only when both
    // are complete and on the disk: an abort, a full disk or a crash leaves a whole pair.
    AtomicPairWriter files(datPath, idxPath, fileOps);
    const qint64 count = document.entries.size();
    LongTask task(ui, settings);
    const auto cannotWrite = [&] {
        if (task.isRunning())
            task.cancel();
        return failed(ui, fileTexts::cannotWrite.arg(QDir::toNativeSeparators(files.failedPath()), files.errorString()),
                      result);
    };
    task.begin(thesaurusTexts::savingStatus, count);
    if (!files.open())
        return cannotWrite();
    const QString encodingLine =
        document.encodingLine.isEmpty() ? thesaurusTexts::defaultEncoding : document.encodingLine;
    BlockWriter datWriter(files.first());
    datWriter.append(utf8Bom);
    datWriter.append(QStringView(encodingLine));
    datWriter.appendLineEnd();

    QByteArray heads; // every head word with its "|", in list order
    std::vector<IndexLine> index;
    index.reserve(static_cast<size_t>(count));
    for (qint64 i = 0; i < count && !datWriter.failed(); ++i) {
        const QStringView entry = document.entries.view(i);
        const QStringView header = HeaderOf(entry);
        IndexLine line;
        line.offset = datWriter.written();
        if (const qsizetype bar = header.indexOf(u'|'); bar >= 0) {
            line.headBegin = heads.size();
            heads += EncodeLossless(header.first(bar + 1));
            line.headLength = heads.size() - line.headBegin;
        }
        index.push_back(line);

        // The header's count decides how many meaning lines are written.
        const int n = MeaningCountOf(header);
        if (entry.count(u'\n') == n) {
            datWriter.append(entry);
            datWriter.appendLineEnd();
        } else {
            datWriter.append(header);
            datWriter.appendLineEnd();
            qsizetype at = header.size();
            for (int k = 0; k < n; ++k) {
                if (at < entry.size()) {
                    const qsizetype begin = at + 1;
                    qsizetype end = entry.indexOf(u'\n', begin);
                    if (end < 0)
                        end = entry.size();
                    datWriter.append(entry.sliced(begin, end - begin));
                    at = end;
                }
                datWriter.appendLineEnd();
            }
        }

        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            task.showProgress(thesaurusTexts::savingStatus + task.elapsedText(), i);
            if (onTick)
                onTick(count);
        }
        if (poll.abortRequested) {
            task.cancel();
            files.discard();
            return result;
        }
    }
    datWriter.flush();
    result.datBytes = datWriter.written();

    // Readers find a head word by binary search with strcmp over the index lines, so
    // they go in byte order of the head words, whatever the order of the list.
    const auto headWord = [&heads](const IndexLine &line) {
        return line.headLength < 0 ? QByteArrayView()
                                   : QByteArrayView(heads).sliced(line.headBegin, line.headLength - 1);
    };
    std::stable_sort(index.begin(), index.end(),
                     [&headWord](const IndexLine &a, const IndexLine &b) { return headWord(a) < headWord(b); });
    // The index has no byte-order mark: its readers take the first line whole as the
    // encoding's name.
    BlockWriter idxWriter(files.second());
    idxWriter.append(QStringView(encodingLine));
    idxWriter.appendLineEnd();
    idxWriter.append(QByteArray::number(count));
    idxWriter.appendLineEnd();
    for (const IndexLine &line : index) {
        if (line.headLength >= 0)
            idxWriter.append(QByteArrayView(heads).sliced(line.headBegin, line.headLength));
        idxWriter.append(QByteArray::number(line.offset));
        idxWriter.appendLineEnd();
    }
    idxWriter.flush();
    result.idxBytes = idxWriter.written();
    // The first failed write, if any, makes the commit fail with its reason.
    if (!files.commit())
        return cannotWrite();
    task.finish(thesaurusTexts::okPrefix + sizesText(result.idxBytes, result.datBytes) + task.elapsedText());
    result.outcome = FileOutcome::Done;
    return result;
}

ThesaurusFileResult LoadThesaurus(ThesaurusDocument &document, const MainSettings &settings, Ui &ui,
                                  const QString &path, const TickCallback &onTick)
{
    // Until the whole file is read the open thesaurus (entries, path, undo) is not touched.
    const ListLoadTexts texts{thesaurusTexts::loadingStatus, thesaurusTexts::changedQuestion, MessageIcon::Warning,
                              thesaurusTexts::openTitle, thesaurusTexts::fileFilter};
    return LoadIntoNewDocument(document, ui, texts, path, [&](const QString &datPath, ThesaurusDocument &loaded) {
        return ReadThesaurusFile(ui, settings, datPath, loaded, onTick);
    });
}

ThesaurusFileResult SaveThesaurus(ThesaurusDocument &document, const MainSettings &settings, Ui &ui,
                                  bool useCurrentName, bool askForName, const TickCallback &onTick)
{
    ui.setStatusText(thesaurusTexts::savingStatus);
    ui.setProgressValue(0);
    ThesaurusFileResult result;
    if (document.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), thesaurusTexts::noSynonyms, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    QString target = useCurrentName ? document.path : QString();
    if (target.isEmpty() || askForName)
        target = AskSavePath(ui, thesaurusTexts::saveTitle, thesaurusTexts::fileFilter, thesaurusTexts::fileExtension);
    if (target.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    result = WriteThesaurusFiles(ui, settings, document, target, onTick);
    if (!result.done())
        return result;
    if (document.encodingLine.isEmpty())
        document.encodingLine = thesaurusTexts::defaultEncoding;
    document.changed = false;
    document.path = target;
    return result;
}

ThesaurusSlot::ThesaurusSlot(ThesaurusDocument &document, const MainSettings &settings)
    : ListDocumentSlot(DocumentKind::Thesaurus, document)
    , m_thesaurus(document)
    , m_settings(settings)
{
}

DocumentLoadResult ThesaurusSlot::load(Ui &ui, const QString &path, const FileProgress &progress)
{
    return AsLoadResult(LoadThesaurus(m_thesaurus, m_settings, ui, path, progress.tick));
}

FileResult ThesaurusSlot::save(Ui &ui, bool useCurrentName, bool askForName, const FileProgress &progress)
{
    return SaveThesaurus(m_thesaurus, m_settings, ui, useCurrentName, askForName, progress.tick);
}

} // namespace lexaloom
