#include "core/hyphenation/hyphenation_files.h"

#include <QDir>
#include <QFile>

#include "core/dictionary/dictionary_document.h"
#include "core/hyphenation/hyphenate.h"
#include "core/hyphenation/hyphenation_document.h"
#include "core/shell/atomic_write.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/text_codec.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

// Real pattern files are not all UTF-8: bytes that are not survive editing and saving.
QString decodeFileText(QByteArrayView bytes)
{
    return DecodeLossless(bytes);
}

QByteArray encodeFileText(const QString &text)
{
    return EncodeLossless(text);
}

HyphenationFileResult failed(Ui &ui, HyphenationFileResult result, const QString &message)
{
    ui.showMessage(fileTexts::errorTitle, message, MessageIcon::Warning);
    ui.setStatusText(LongTask::abortedText());
    result.outcome = FileOutcome::Failed;
    return result;
}

QString sizeText(qint64 bytes)
{
    return FormatFileSize(QStringLiteral("dic:"), bytes, true);
}

} // namespace

HyphenationFileResult ReadHyphenationFile(Ui &ui, const MainSettings &settings, const QString &path, QString &text)
{
    HyphenationFileResult result;
    result.path = path;
    // A save of this file that was cut off is finished (or left alone) first.
    if (!ReadAfterRecovery(ui, RecoverInterruptedSave(ui, path), result))
        return result;
    if (!CheckFileExists(ui, path, hyphenationTexts::dicNotFound)) {
        ui.setStatusText(fileTexts::fileNotFound);
        result.outcome = FileOutcome::Failed;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(ui, result, fileTexts::cannotRead.arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(ui, result, fileTexts::cannotRead.arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArrayView body = WithoutUtf8Bom(bytes);
    qsizetype lineEnd = 0;
    while (lineEnd < body.size() && body[lineEnd] != '\n' && body[lineEnd] != '\r')
        ++lineEnd;
    const QString firstLine = decodeFileText(body.first(lineEnd));
    if (firstLine.toUpper() != QStringLiteral("UTF-8") &&
        !ui.askYesNo(LongTask::warningTitle(), hyphenationTexts::notUtf8Question.arg(firstLine),
                     MessageIcon::Warning)) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    LongTask task(ui, settings);
    task.begin(hyphenationTexts::loadingStatus, 0);
    ui.setStatusText(hyphenationTexts::loadingStatus + task.elapsedText());
    text = NormaliseLineEnds(decodeFileText(body));
    result.bytes = bytes.size();
    result.outcome = FileOutcome::Done;
    task.finish(hyphenationTexts::okPrefix + sizeText(result.bytes) + task.elapsedText());
    return result;
}

HyphenationFileResult WriteHyphenationFile(Ui &ui, const MainSettings &settings, const QString &text,
                                           const QString &path, FileOps &fileOps)
{
    HyphenationFileResult result;
    result.path = path;
    LongTask task(ui, settings);
    task.begin(hyphenationTexts::savingStatus, 0);
    // The old file is replaced only once all of the new bytes are on disk.
    AtomicFileWriter file(path, fileOps);
    const bool written = file.open() && file.write(utf8ByteOrderMark) &&
                         file.write(encodeFileText(NormaliseLineEnds(text))) && file.commit();
    if (!written) {
        task.cancel();
        return failed(ui, result, fileTexts::cannotWrite.arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    result.bytes = file.written();
    result.outcome = FileOutcome::Done;
    task.finish(hyphenationTexts::okPrefix + sizeText(result.bytes) + task.elapsedText());
    return result;
}

HyphenationFileResult LoadHyphenation(HyphenationDocument &document, const MainSettings &settings, Ui &ui,
                                      const QString &path)
{
    ui.setStatusText(hyphenationTexts::loadingStatus);
    ui.setProgressValue(0);
    HyphenationFileResult result;
    if (document.changed &&
        !ui.askYesNo(LongTask::warningTitle(), hyphenationTexts::changedQuestion, MessageIcon::Information)) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    const QString target =
        path.isEmpty() ? AskOpenPath(ui, hyphenationTexts::openTitle, hyphenationTexts::openFilter) : path;
    if (target.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    QString text;
    result = ReadHyphenationFile(ui, settings, target, text);
    if (!result.done())
        return result;
    document.text = std::move(text);
    document.changed = false;
    document.path = target;
    return result;
}

HyphenationFileResult SaveHyphenation(HyphenationDocument &document, const MainSettings &settings, Ui &ui,
                                      bool useCurrentName, bool askForName, FileOps &fileOps)
{
    ui.setStatusText(hyphenationTexts::savingStatus);
    ui.setProgressValue(0);
    HyphenationFileResult result;
    if (document.text.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), hyphenationTexts::dicEmpty, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    QString target = useCurrentName ? document.path : QString();
    if (target.isEmpty() || askForName)
        target =
            AskSavePath(ui, hyphenationTexts::saveTitle, hyphenationTexts::saveFilter, hyphenationTexts::fileExtension);
    if (target.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    result = WriteHyphenationFile(ui, settings, document.text, target, fileOps);
    if (!result.done())
        return result;
    document.changed = false;
    document.path = target;
    return result;
}

HyphenationSlot::HyphenationSlot(HyphenationDocument &document, DictionaryDocument &listed,
                                 const MainSettings &settings)
    : DocumentSlot(DocumentKind::Hyphenation)
    , m_document(document)
    , m_listed(listed)
    , m_settings(settings)
{
}

const QString &HyphenationSlot::path() const
{
    return m_document.path;
}

bool HyphenationSlot::isChanged() const
{
    return m_document.changed;
}

qint64 HyphenationSlot::entryCount() const
{
    return m_listed.entries.size();
}

bool HyphenationSlot::isEmpty() const
{
    return m_document.isEmpty();
}

DocumentSlot::PagedListSource HyphenationSlot::pagedListSource()
{
    // The dictionary's own scroll position is its tab's: this view keeps its own.
    return {&m_listed.entries, &m_document.selectedIndex};
}

DocumentLoadResult HyphenationSlot::load(Ui &ui, const QString &path, const FileProgress &)
{
    return AsLoadResult(LoadHyphenation(m_document, m_settings, ui, path));
}

FileResult HyphenationSlot::save(Ui &ui, bool useCurrentName, bool askForName, const FileProgress &)
{
    return SaveHyphenation(m_document, m_settings, ui, useCurrentName, askForName);
}

} // namespace lexaloom
