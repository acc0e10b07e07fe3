#include "dictionary/dictionary_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>

#include "dictionary/dictionary_document.h"
#include "shell/file_dialogs.h"
#include "shell/format.h"
#include "shell/long_task.h"
#include "shell/settings.h"
#include "shell/ui.h"

namespace lexaloom {

namespace {

constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF");
// Read and write in blocks of this size: big enough to stream at disk speed, small
// enough that a million-line dictionary is never held twice as bytes.
constexpr qsizetype blockBytes = 1 << 20;

QByteArrayView withoutBom(QByteArrayView bytes)
{
    return bytes.startsWith(utf8Bom) ? bytes.sliced(utf8Bom.size()) : bytes;
}

// Stateless: a sequence cut off at the end of a block is an error, not carried over;
// ConvertInitialBom: a U+FEFF at the start of a block is text, the file's own BOM is
// skipped before decoding.
QStringDecoder utf8Decoder()
{
    return QStringDecoder(QStringDecoder::Utf8,
                          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
}

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder = utf8Decoder();
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QString sizesText(qint64 affBytes, qint64 dicBytes)
{
    return FormatFileSize(QStringLiteral("aff:"), affBytes, true) + QLatin1Char('+') +
           FormatFileSize(QStringLiteral("dic:"), dicBytes, true);
}

DictionaryFileResult failed(Ui &ui, const QString &message, const QString &status, DictionaryFileResult result)
{
    ui.showMessage(fileTexts::errorTitle, message, MessageIcon::Warning);
    ui.setStatusText(status);
    result.outcome = FileOutcome::Failed;
    return result;
}

bool askInvalidUtf8(Ui &ui, const MainSettings &settings, const QString &fileLabel, qint64 line)
{
    return ui.askYesNo(
        LongTask::warningTitle(),
        dictionaryTexts::invalidUtf8Question.arg(fileLabel, FormatCount(line, settings.thousandsSeparator)),
        MessageIcon::Warning);
}

enum class SeparatorMode { Undecided, Tab, Space };

// Reads the .dic block by block: each block ends at a line end, is decoded once and
// split in place, and its lines go straight into the entry store.
class DicReader final {
public:
    DicReader(Ui &ui, const MainSettings &settings, QFile &file, LongTask &task, EntryStore &entries)
        : m_ui(ui)
        , m_settings(settings)
        , m_file(file)
        , m_task(task)
        , m_entries(entries)
    {
    }

    // False when the user stopped the load; `error` is set when reading failed.
    bool read(QString &error);

private:
    bool readLineEstimate(qint64 &lines, QString &error);
    bool takeBlock(QByteArrayView bytes, qint64 blockStart);

    Ui &m_ui;
    const MainSettings &m_settings;
    QFile &m_file;
    LongTask &m_task;
    EntryStore &m_entries;
    QStringDecoder m_decoder = utf8Decoder();
    QString m_text;
    SeparatorMode m_mode = SeparatorMode::Undecided;
    qint64 m_lines = 0; // lines of the file taken so far, the count line included
    bool m_invalidReported = false;
};

bool DicReader::readLineEstimate(qint64 &lines, QString &error)
{
    // Sizing the store up front keeps a million entries from being copied while the
    // arrays grow; what is reserved but not used is never touched, so costs no memory.
    QByteArray block(blockBytes, Qt::Uninitialized);
    lines = 1;
    for (;;) {
        const qint64 n = m_file.read(block.data(), block.size());
        if (n < 0) {
            error = m_file.errorString();
            return false;
        }
        if (n == 0)
            break;
        const char *begin = block.constData();
        lines += std::count_if(begin, begin + n, [](char c) { return c == '\n' || c == '\r'; });
    }
    if (!m_file.seek(0)) {
        error = m_file.errorString();
        return false;
    }
    return true;
}

bool DicReader::read(QString &error)
{
    qint64 lineEstimate = 0;
    if (!readLineEstimate(lineEstimate, error))
        return false;
    m_entries.reserve(lineEstimate, m_file.size());

    QByteArray pending;
    pending.reserve(blockBytes * 2);
    qint64 position = 0; // file offset of pending's first byte
    bool atStart = true;
    bool atEnd = false;
    while (!atEnd) {
        const qsizetype old = pending.size();
        pending.resize(old + blockBytes);
        const qint64 n = m_file.read(pending.data() + old, blockBytes);
        if (n < 0) {
            error = m_file.errorString();
            return false;
        }
        pending.resize(old + n);
        atEnd = n == 0;
        if (atStart && (pending.size() >= utf8Bom.size() || atEnd)) {
            atStart = false;
            if (QByteArrayView(pending).startsWith(utf8Bom)) {
                pending.remove(0, utf8Bom.size());
                position += utf8Bom.size();
            }
        } else if (atStart) {
            continue;
        }
        // A block ends after its last LF, or after its last CR when no LF follows it,
        // so no line and no CR LF pair is split between blocks.
        qsizetype cut = pending.size();
        if (!atEnd) {
            cut = pending.lastIndexOf('\n') + 1;
            if (cut == 0 && pending.size() >= 2) // a CR as the last byte may yet be followed by a LF
                cut = pending.lastIndexOf('\r', pending.size() - 2) + 1;
            if (cut == 0)
                continue; // one long line: read on
        }
        if (!takeBlock(QByteArrayView(pending).first(cut), position))
            return false;
        pending.remove(0, cut);
        position += cut;
    }
    return true;
}

bool DicReader::takeBlock(QByteArrayView bytes, qint64 blockStart)
{
    m_decoder.resetState();
    m_text.resize(m_decoder.requiredSpace(bytes.size()));
    const QChar *end = m_decoder.appendToBuffer(m_text.data(), bytes);
    m_text.truncate(end - m_text.constData());
    if (m_decoder.hasError() && !m_invalidReported) {
        m_invalidReported = true;
        if (!askInvalidUtf8(m_ui, m_settings, QStringLiteral(".DIC"), m_lines + FirstInvalidUtf8Line(bytes))) {
            m_task.cancel();
            return false;
        }
    }

    char16_t *text = reinterpret_cast<char16_t *>(m_text.data());
    const qsizetype size = m_text.size();
    qsizetype i = 0;
    while (i < size) {
        const qsizetype start = i;
        qsizetype tab = -1;
        qsizetype space = -1;
        bool tagCharacter = false;
        for (; i < size; ++i) {
            const char16_t c = text[i];
            if (c <= u'\r') {
                if (c == u'\n' || c == u'\r')
                    break;
                if (c == u'\t' && tab < 0)
                    tab = i;
            } else if (c == u' ') {
                if (space < 0)
                    space = i;
            } else if (c == u'[' || c == u']' || c == u',' || c == u':') {
                tagCharacter = true;
            }
        }
        const qsizetype end = i;
        if (i < size)
            i += text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n' ? 2 : 1;
        // The first line holds the word count, which every save writes anew.
        if (m_lines++ == 0)
            continue;

        if (tab >= 0) {
            m_mode = SeparatorMode::Tab;
            text[tab] = u'\n';
        } else {
            if (m_mode == SeparatorMode::Undecided && tagCharacter) {
                m_mode = m_ui.askYesNo(LongTask::warningTitle(), dictionaryTexts::spaceSeparatorQuestion,
                                       MessageIcon::Warning)
                             ? SeparatorMode::Space
                             : SeparatorMode::Tab;
            }
            if (m_mode == SeparatorMode::Space && space >= 0)
                text[space] = u'\n';
        }
        m_entries.append(QStringView(text + start, end - start));

        const LongTask::PollResult poll = m_task.poll();
        if (poll.ticked) {
            // Bytes and UTF-16 units differ; the share of the block is close enough for a bar.
            const qint64 position = blockStart + (size > 0 ? bytes.size() * i / size : 0);
            m_task.showProgress(dictionaryTexts::loadingStatus + m_task.elapsedText(), position);
        }
        if (poll.abortRequested) {
            m_task.cancel();
            return false;
        }
    }
    return true;
}

bool readWholeFile(const QString &path, QByteArray &bytes, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

// Streams encoded entries to a file in blocks, without a string per entry.
class BlockWriter final {
public:
    explicit BlockWriter(QIODevice &device)
        : m_device(device)
        , m_buffer(blockBytes, Qt::Uninitialized)
    {
    }

    void append(QByteArrayView bytes)
    {
        char *out = reserve(bytes.size());
        std::memcpy(out, bytes.data(), static_cast<size_t>(bytes.size()));
        m_used += bytes.size();
    }

    // The entry in UTF-8 with its "\n" written as tabs, then the line's LF.
    void appendEntry(QStringView entry)
    {
        char *out = reserve(m_encoder.requiredSpace(entry.size()) + 1);
        char *end = m_encoder.appendToBuffer(out, entry);
        std::replace(out, end, '\n', '\t');
        *end++ = '\n';
        m_used += end - out;
    }

    bool flush()
    {
        if (m_used > 0 && m_device.write(m_buffer.constData(), m_used) != m_used)
            m_failed = true;
        m_written += m_used;
        m_used = 0;
        return !m_failed;
    }

    bool failed() const { return m_failed; }
    qint64 written() const { return m_written + m_used; }

private:
    char *reserve(qsizetype bytes)
    {
        if (m_used + bytes > m_buffer.size()) {
            flush();
            if (bytes > m_buffer.size())
                m_buffer.resize(bytes);
        }
        return m_buffer.data() + m_used;
    }

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    qint64 m_written = 0;
    bool m_failed = false;
    // Stateless: half a surrogate pair at the end of one entry must not pair with the next.
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

} // namespace

QString AffPathFor(const QString &dicPath)
{
    return dicPath.chopped(std::min<qsizetype>(3, dicPath.size())) + QLatin1String("aff");
}

bool AffDeclaresUtf8(QStringView affText)
{
    QStringView last;
    qsizetype i = 0;
    const qsizetype size = affText.size();
    while (i < size) {
        qsizetype end = i;
        while (end < size && affText[end] != u'\n' && affText[end] != u'\r')
            ++end;
        last = affText.sliced(i, end - i);
        i = end < size && affText[end] == u'\r' && end + 1 < size && affText[end + 1] == u'\n' ? end + 2 : end + 1;
        if (last.size() >= 3 && last.first(3).toString().toUpper() == QLatin1String("SET"))
            break;
    }
    return last.toString().toUpper().mid(4) == QLatin1String("UTF-8");
}

qint64 FirstInvalidUtf8Line(QByteArrayView bytes)
{
    if (isValidUtf8(bytes))
        return 0;
    qint64 line = 1;
    qsizetype i = 0;
    const qsizetype size = bytes.size();
    while (i < size) {
        qsizetype end = i;
        while (end < size && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        if (!isValidUtf8(bytes.sliced(i, end - i)))
            return line;
        i = end < size && bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n' ? end + 2 : end + 1;
        ++line;
    }
    return line;
}

DictionaryFileResult ReadDictionaryFiles(Ui &ui, const MainSettings &settings, const QString &dicPath,
                                         DictionaryDocument &out)
{
    DictionaryFileResult result;
    result.path = dicPath;
    out = DictionaryDocument();
    const QString affPath = AffPathFor(dicPath);
    if (!CheckFileExists(ui, affPath, dictionaryTexts::affNotFound)) {
        ui.setStatusText(fileTexts::fileNotFound);
        result.outcome = FileOutcome::Failed;
        return result;
    }
    if (!CheckFileExists(ui, dicPath, dictionaryTexts::dicNotFound)) {
        ui.setStatusText(fileTexts::fileNotFound);
        result.outcome = FileOutcome::Failed;
        return result;
    }

    QByteArray affBytes;
    QString error;
    if (!readWholeFile(affPath, affBytes, error))
        return failed(ui, fileTexts::cannotRead.arg(QDir::toNativeSeparators(affPath), error), LongTask::abortedText(),
                      result);
    const QByteArrayView affBody = withoutBom(affBytes);
    QStringDecoder decoder = utf8Decoder();
    QString affText = decoder.decode(affBody);
    if (!AffDeclaresUtf8(affText) &&
        !ui.askYesNo(LongTask::warningTitle(), dictionaryTexts::notUtf8Question, MessageIcon::Warning)) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    if (decoder.hasError() && !askInvalidUtf8(ui, settings, QStringLiteral(".AFF"), FirstInvalidUtf8Line(affBody))) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    out.affText = NormaliseLineEnds(std::move(affText));
    result.affBytes = affBytes.size();
    affBytes = QByteArray();

    QFile dic(dicPath);
    if (!dic.open(QIODevice::ReadOnly))
        return failed(ui, fileTexts::cannotRead.arg(QDir::toNativeSeparators(dicPath), dic.errorString()),
                      LongTask::abortedText(), result);
    result.dicBytes = dic.size();
    LongTask task(ui, settings);
    task.begin(dictionaryTexts::loadingStatus, result.dicBytes);
    DicReader reader(ui, settings, dic, task, out.entries);
    if (!reader.read(error)) {
        if (error.isEmpty())
            return result; // stopped by the user; the reader has shown "Aborted."
        task.cancel();
        return failed(ui, fileTexts::cannotRead.arg(QDir::toNativeSeparators(dicPath), error), LongTask::abortedText(),
                      result);
    }
    out.path = dicPath;
    out.selectedIndex = -1;
    out.changed = false;
    ClearDictionaryHistory(out);
    task.finish(dictionaryTexts::okPrefix + sizesText(result.affBytes, result.dicBytes) + task.elapsedText());
    result.outcome = FileOutcome::Done;
    return result;
}

DictionaryFileResult WriteDictionaryFiles(Ui &ui, const MainSettings &settings, const DictionaryDocument &document,
                                          const QString &dicPath)
{
    DictionaryFileResult result;
    result.path = dicPath;
    const QString affPath = AffPathFor(dicPath);
    const auto cannotWrite = [&](const QString &path, const QString &reason) {
        return failed(ui, fileTexts::cannotWrite.arg(QDir::toNativeSeparators(path), reason), LongTask::abortedText(),
                      result);
    };

    // Both files go to temporary files first and replace the old pair only when both
    // are complete: an abort, a full disk or a crash leaves the old pair untouched.
    ui.setStatusText(dictionaryTexts::savingAffStatus);
    QSaveFile aff(affPath);
    if (!aff.open(QIODevice::WriteOnly))
        return cannotWrite(affPath, aff.errorString());
    const QByteArray affBytes = utf8Bom.toByteArray() + NormaliseLineEnds(document.affText).toUtf8();
    if (aff.write(affBytes) != affBytes.size())
        return cannotWrite(affPath, aff.errorString());
    result.affBytes = affBytes.size();

    LongTask task(ui, settings);
    task.begin(dictionaryTexts::savingStatus, document.entries.size());
    QSaveFile dic(dicPath);
    if (!dic.open(QIODevice::WriteOnly)) {
        task.cancel();
        return cannotWrite(dicPath, dic.errorString());
    }
    BlockWriter writer(dic);
    writer.append(utf8Bom);
    writer.append(QByteArray::number(document.entries.size()) + '\n');
    const qint64 count = document.entries.size();
    for (qint64 i = 0; i < count && !writer.failed(); ++i) {
        writer.appendEntry(document.entries.view(i));
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(dictionaryTexts::savingStatus + task.elapsedText(), i);
        if (poll.abortRequested) {
            task.cancel();
            return result; // the temporary files are dropped with their QSaveFiles
        }
    }
    if (!writer.flush()) {
        task.cancel();
        return cannotWrite(dicPath, dic.errorString());
    }
    result.dicBytes = writer.written();
    if (!aff.commit()) {
        task.cancel();
        return cannotWrite(affPath, aff.errorString());
    }
    if (!dic.commit()) {
        task.cancel();
        return cannotWrite(dicPath, dic.errorString());
    }
    task.finish(dictionaryTexts::okPrefix + sizesText(result.affBytes, result.dicBytes) + task.elapsedText());
    result.outcome = FileOutcome::Done;
    return result;
}

DictionaryFileResult LoadDictionary(DictionaryDocument &document, const MainSettings &settings, Ui &ui,
                                    const QString &path)
{
    ui.setStatusText(dictionaryTexts::loadingStatus);
    ui.setProgressValue(0);
    DictionaryFileResult result;
    if (document.changed &&
        !ui.askYesNo(LongTask::warningTitle(), dictionaryTexts::changedQuestion, MessageIcon::Information)) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    result.path = path.isEmpty() ? AskOpenPath(ui, dictionaryTexts::openTitle, dictionaryTexts::fileFilter) : path;
    if (result.path.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    // Read into a document of its own: until the load is complete, the open one
    // (entries, .aff text, path, undo) is not touched.
    DictionaryDocument loaded;
    result = ReadDictionaryFiles(ui, settings, result.path, loaded);
    if (!result.done())
        return result;
    document = std::move(loaded);
    return result;
}

DictionaryFileResult SaveDictionary(DictionaryDocument &document, const MainSettings &settings, Ui &ui,
                                    bool useCurrentName, bool askForName)
{
    ui.setStatusText(dictionaryTexts::savingStatus);
    ui.setProgressValue(0);
    DictionaryFileResult result;
    if (document.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), dictionaryTexts::noWords, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    if (document.affText.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), dictionaryTexts::affEmpty, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    QString target = useCurrentName ? document.path : QString();
    if (target.isEmpty() || askForName)
        target =
            AskSavePath(ui, dictionaryTexts::saveTitle, dictionaryTexts::fileFilter, dictionaryTexts::fileExtension);
    if (target.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    result = WriteDictionaryFiles(ui, settings, document, target);
    if (!result.done())
        return result;
    // Keep the status text "OK. ..." the writer has shown.
    document.changed = false;
    document.path = target;
    return result;
}

WordCounterView RefreshWordCounter(const DictionaryDocument &document, const QString &thousandsSeparator)
{
    WordCounterView view;
    const qint64 count = document.entries.size();
    if (document.selectedIndex < 0) {
        view.counter = dictionaryTexts::wordsCounter + FormatCount(count, thousandsSeparator);
    } else {
        view.counter = dictionaryTexts::wordCounter + FormatCount(document.selectedIndex + 1, thousandsSeparator) +
                       QLatin1Char('/') + FormatCount(count, thousandsSeparator) + QLatin1Char(']');
    }
    view.changed = document.changed;
    view.marker = document.changed ? dictionaryTexts::changedMarker : QString();
    return view;
}

DictionaryFileLabels ShowDictionaryFileLabels(const DictionaryDocument &document)
{
    if (document.path.isEmpty())
        return {dictionaryTexts::noFile, dictionaryTexts::noFile};
    const QFileInfo info(document.path);
    const QString folder = QDir::toNativeSeparators(info.path());
    const QString file = info.fileName();
    return {folder.isEmpty() ? dictionaryTexts::noFile : folder, file.isEmpty() ? dictionaryTexts::noFile : file};
}

void ClearDictionaryHistory(DictionaryDocument &document)
{
    document.undoSnapshot.reset();
    document.redoSnapshot.reset();
}

} // namespace lexaloom
