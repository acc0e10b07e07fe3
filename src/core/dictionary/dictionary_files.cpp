#include "core/dictionary/dictionary_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include "core/dictionary/dic_line_reader.h"
#include "core/dictionary/dictionary_charset.h"
#include "core/dictionary/dictionary_document.h"
#include "core/shell/atomic_write.h"
#include "core/shell/block_writer.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

// Write in blocks of this size: big enough to stream at disk speed, small enough that
// a million-line dictionary is never held twice as bytes.
constexpr qsizetype blockBytes = 1 << 20;

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

// Sizing the store up front keeps a million entries from being copied while the arrays
// grow; what is reserved but not used is never touched, so costs no memory.
bool reserveForLines(QFile &file, EntryStore &entries, QString &error)
{
    QByteArray block(blockBytes, Qt::Uninitialized);
    qint64 lines = 1;
    for (;;) {
        const qint64 n = file.read(block.data(), block.size());
        if (n < 0) {
            error = file.errorString();
            return false;
        }
        if (n == 0)
            break;
        const char *begin = block.constData();
        lines += std::count_if(begin, begin + n, [](char c) { return c == '\n' || c == '\r'; });
    }
    if (!file.seek(0)) {
        error = file.errorString();
        return false;
    }
    entries.reserve(lines, file.size());
    return true;
}

// The .dic's entries straight into the entry store, through the one .dic reader.
// False when the user stopped the load; `error` is set when reading failed.
bool readEntries(Ui &ui, const MainSettings &settings, QFile &file, const DictionaryCharset *charset, LongTask &task,
                 EntryStore &entries, QString &error, const DictionaryLoadProgress &progress)
{
    if (!reserveForLines(file, entries, error))
        return false;
    DicStreamReader reader(file, DicQuestionsFor(ui, settings), charset);
    QStringView entry;
    for (;;) {
        switch (reader.next(entry)) {
        case DicStreamReader::Status::Entry:
            break;
        case DicStreamReader::Status::End:
            return true;
        case DicStreamReader::Status::Stopped:
            task.cancel();
            return false;
        case DicStreamReader::Status::Failed:
            error = reader.errorString();
            return false;
        }
        entries.append(entry);
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            if (progress.tick)
                progress.tick(entries.size());
            task.showProgress(dictionaryTexts::loadingStatus + task.elapsedText(), reader.position());
        }
        if (poll.abortRequested) {
            task.cancel();
            return false;
        }
    }
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

} // namespace

DicFileReader::DicFileReader(const QString &dicPath, const DictionaryFileResult &aff, DicReadQuestions questions)
    : m_charset(DictionaryCharset::forName(aff.charset))
    , m_reader(std::make_unique<DicLineReader>(dicPath, std::move(questions), m_charset ? &*m_charset : nullptr))
{
}

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
    const qsizetype offset = FirstInvalidUtf8Offset(bytes);
    if (offset < 0)
        return 0;
    qint64 line = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && !(i + 1 < bytes.size() && bytes[i + 1] == '\n')))
            ++line;
    }
    return line;
}

DicReadQuestions DicQuestionsFor(Ui &ui, const MainSettings &settings)
{
    DicReadQuestions questions;
    questions.spaceSeparator = [&ui] {
        return ui.askYesNo(LongTask::warningTitle(), dictionaryTexts::spaceSeparatorQuestion, MessageIcon::Warning);
    };
    questions.invalidUtf8 = [&ui, &settings](qint64 line) {
        return askInvalidUtf8(ui, settings, QStringLiteral(".DIC"), line);
    };
    return questions;
}

DictionaryFileResult ReadDictionaryAff(Ui &ui, const MainSettings &settings, const QString &dicPath, QString &affText)
{
    DictionaryFileResult result;
    result.path = dicPath;
    const QString affPath = AffPathFor(dicPath);
    // A save of this pair that was cut off is finished (or left alone) before either
    // file is looked at.
    if (!ReadAfterRecovery(ui, RecoverInterruptedPairSave(ui, dicPath, affPath), result))
        return result;
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
    const QByteArrayView affBody = WithoutUtf8Bom(affBytes);
    qsizetype invalidBytes = 0;
    QString text = DecodeLossless(affBody, &invalidBytes);
    // The SET line is ASCII, so the UTF-8 reading finds it in any charset.
    if (const std::optional<DictionaryCharset> charset = DictionaryCharset::forAff(text)) {
        const QString &name = charset->name();
        const int choice = ui.askChoice(LongTask::warningTitle(), dictionaryTexts::legacyCharsetOffer.arg(name),
                                        {dictionaryTexts::legacyOpenChoice.arg(name),
                                         dictionaryTexts::legacyConvertChoice, dictionaryTexts::legacyCancelChoice},
                                        MessageIcon::Question);
        if (choice != 0 && choice != 1) {
            ui.setStatusText(LongTask::abortedText());
            return result;
        }
        text = NormaliseLineEnds(charset->decode(affBody));
        result.charset = name;
        result.converted = choice == 1;
        affText = result.converted ? WithUtf8SetLine(text) : std::move(text);
        result.affBytes = affBytes.size();
        result.outcome = FileOutcome::Done;
        return result;
    }
    if (!AffDeclaresUtf8(text) &&
        !ui.askYesNo(LongTask::warningTitle(), dictionaryTexts::notUtf8Question, MessageIcon::Warning)) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    if (invalidBytes > 0 && !askInvalidUtf8(ui, settings, QStringLiteral(".AFF"), FirstInvalidUtf8Line(affBody))) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    affText = NormaliseLineEnds(std::move(text));
    result.affBytes = affBytes.size();
    result.outcome = FileOutcome::Done;
    return result;
}

DictionaryFileResult ReadDictionaryFiles(Ui &ui, const MainSettings &settings, const QString &dicPath,
                                         DictionaryDocument &out, const DictionaryLoadProgress &progress)
{
    out = DictionaryDocument();
    DictionaryFileResult result = ReadDictionaryAff(ui, settings, dicPath, out.affText);
    if (!result.done())
        return result;
    result.outcome = FileOutcome::Cancelled;

    QFile dic(dicPath);
    if (!dic.open(QIODevice::ReadOnly))
        return failed(ui, fileTexts::cannotRead.arg(QDir::toNativeSeparators(dicPath), dic.errorString()),
                      LongTask::abortedText(), result);
    result.dicBytes = dic.size();
    LongTask task(ui, settings);
    task.begin(dictionaryTexts::loadingStatus, result.dicBytes);
    if (progress.started)
        progress.started();
    QString error;
    const std::optional<DictionaryCharset> charset = DictionaryCharset::forName(result.charset);
    if (!readEntries(ui, settings, dic, charset ? &*charset : nullptr, task, out.entries, error, progress)) {
        if (error.isEmpty())
            return result; // stopped by the user; "Aborted." is shown
        task.cancel();
        return failed(ui, fileTexts::cannotRead.arg(QDir::toNativeSeparators(dicPath), error), LongTask::abortedText(),
                      result);
    }
    out.path = dicPath;
    out.selectedIndex = -1;
    // Converted on opening: the files on disk are still in the old charset.
    out.changed = result.converted;
    ClearDictionaryHistory(out);
    task.finish(dictionaryTexts::okPrefix + sizesText(result.affBytes, result.dicBytes) + task.elapsedText());
    result.outcome = FileOutcome::Done;
    return result;
}

DictionaryFileResult WriteDictionaryFiles(Ui &ui, const MainSettings &settings, const DictionaryDocument &document,
                                          const QString &dicPath, FileOps &fileOps)
{
    DictionaryFileResult result;
    result.path = dicPath;
    const QString affPath = AffPathFor(dicPath);
    // Both files go to temporary files first and replace the old pair only when both
    // are complete and on the disk: an abort, a full disk or a crash leaves a whole pair.
    AtomicPairWriter files(dicPath, affPath, fileOps);
    LongTask task(ui, settings);
    const auto cannotWrite = [&] {
        if (task.isRunning())
            task.cancel();
        return failed(ui, fileTexts::cannotWrite.arg(QDir::toNativeSeparators(files.failedPath()), files.errorString()),
                      LongTask::abortedText(), result);
    };

    // A .aff that declares a legacy charset is saved in it, without a byte-order
    // mark, as it was read; everything else in UTF-8 with one.
    const std::optional<DictionaryCharset> charset = DictionaryCharset::forAff(document.affText);
    const auto notInCharset = [&](const QString &file, qint64 line) {
        return failed(ui,
                      dictionaryTexts::notInCharset.arg(file, charset->name(),
                                                        FormatCount(line, settings.thousandsSeparator)),
                      LongTask::abortedText(), result);
    };
    QByteArray affBytes;
    const QString affText = NormaliseLineEnds(document.affText);
    if (charset) {
        qsizetype bad = 0;
        if (!charset->encode(affText, affBytes, &bad))
            return notInCharset(QStringLiteral(".AFF"), QStringView(affText).first(bad).count(u'\n') + 1);
        const qint64 count = document.entries.size();
        for (qint64 i = 0; i < count; ++i) {
            QByteArray line;
            if (!charset->encode(document.entries.view(i), line))
                return notInCharset(QStringLiteral(".DIC"), i + 2);
        }
    } else {
        affBytes = utf8ByteOrderMark.toByteArray() + EncodeLossless(affText);
    }

    ui.setStatusText(dictionaryTexts::savingAffStatus);
    if (!files.open())
        return cannotWrite();
    AtomicFileWriter &aff = files.second();
    AtomicFileWriter &dic = files.first();
    aff.write(affBytes);
    result.affBytes = affBytes.size();

    task.begin(dictionaryTexts::savingStatus, document.entries.size());
    BlockWriter writer(dic);
    if (!charset)
        writer.append(utf8ByteOrderMark);
    writer.append(QByteArray::number(document.entries.size()) + '\n');
    const qint64 count = document.entries.size();
    QByteArray line;
    for (qint64 i = 0; i < count && !writer.failed(); ++i) {
        if (charset) {
            line.resize(0);
            charset->encode(document.entries.view(i), line);
            line.replace('\n', '\t');
            line += '\n';
            writer.append(line);
        } else {
            writer.appendEntry(document.entries.view(i), '\t');
        }
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(dictionaryTexts::savingStatus + task.elapsedText(), i);
        if (poll.abortRequested) {
            task.cancel();
            files.discard();
            return result;
        }
    }
    writer.flush();
    result.dicBytes = writer.written();
    if (!files.commit())
        return cannotWrite();
    task.finish(dictionaryTexts::okPrefix + sizesText(result.affBytes, result.dicBytes) + task.elapsedText());
    result.outcome = FileOutcome::Done;
    return result;
}

DictionaryFileResult LoadDictionary(DictionaryDocument &document, const MainSettings &settings, Ui &ui,
                                    const QString &path, const DictionaryLoadProgress &progress)
{
    // Until the load is complete, the open dictionary (entries, .aff text, path, undo) is not touched.
    const ListLoadTexts texts{dictionaryTexts::loadingStatus, dictionaryTexts::changedQuestion, MessageIcon::Information,
                              dictionaryTexts::openTitle, dictionaryTexts::fileFilter};
    return LoadIntoNewDocument(document, ui, texts, path, [&](const QString &dicPath, DictionaryDocument &loaded) {
        return ReadDictionaryFiles(ui, settings, dicPath, loaded, progress);
    });
}

DictionarySlot::DictionarySlot(DictionaryDocument &document, const MainSettings &settings)
    : ListDocumentSlot(DocumentKind::Dictionary, document)
    , m_dictionary(document)
    , m_settings(settings)
{
}

DocumentLoadResult DictionarySlot::load(Ui &ui, const QString &path, const FileProgress &progress)
{
    return AsLoadResult(LoadDictionary(m_dictionary, m_settings, ui, path, progress));
}

FileResult DictionarySlot::save(Ui &ui, bool useCurrentName, bool askForName, const FileProgress &)
{
    return SaveDictionary(m_dictionary, m_settings, ui, useCurrentName, askForName);
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
