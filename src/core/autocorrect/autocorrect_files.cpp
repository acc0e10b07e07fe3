#include "core/autocorrect/autocorrect_files.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#include "core/autocorrect/autocorrect_list.h"
#include "core/shell/atomic_write.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

const QLatin1String blockTag("<block-list:block");
const QLatin1String closingTag("</block-list:block-list");
// Encode and write in pieces of about this many characters.
constexpr qsizetype writeChunk = 1 << 19;

bool isSpaceOrTab(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// "<block-list:block" at `at` opens a block element, not the block-list one: the
// name ends there.
bool isBlockElementAt(QStringView text, qsizetype at)
{
    const qsizetype end = at + blockTag.size();
    if (end >= text.size())
        return end == text.size();
    const QChar next = text[end];
    return next.isSpace() || next == u'/' || next == u'>';
}

qsizetype countBlockTags(QStringView line)
{
    // A case-blind search of every position is slow on long lists; only a "<" can start the tag.
    qsizetype count = 0;
    for (qsizetype at = line.indexOf(u'<'); at >= 0; at = line.indexOf(u'<', at + 1)) {
        if (line.sliced(at).startsWith(blockTag, Qt::CaseInsensitive))
            ++count;
    }
    return count;
}

// The line reader's split at the double quote: field `n` (from 1) is the text after
// the (n-1)-th quote up to the n-th quote or the end of the line.
QStringView quoteField(QStringView line, int n)
{
    qsizetype start = 0;
    for (int i = 1; i < n; ++i) {
        const qsizetype quote = line.indexOf(u'"', start);
        if (quote < 0)
            return {};
        start = quote + 1;
    }
    const qsizetype quote = line.indexOf(u'"', start);
    return line.sliced(start, (quote < 0 ? line.size() : quote) - start);
}

// The next line of `text` from `pos` (LF, CR LF and CR end a line); false at the end.
bool nextLine(QStringView text, qsizetype &pos, QStringView &line)
{
    if (pos >= text.size())
        return false;
    qsizetype end = pos;
    while (end < text.size() && !isLineEnd(text[end]))
        ++end;
    line = text.sliced(pos, end - pos);
    pos =
        end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? end + 2 : end + 1;
    return true;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c)
{
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A character XML 1.0 lets a document hold.
bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// Length of the reference "&...;" at `at`, or 0 when the "&" starts none that a
// document without a DTD may hold: a character reference to an XML character or one
// of the five predefined entities. Anything else ("&nbsp;", "&#0;") would make the
// file unreadable to an XML reader, so its "&" is escaped.
qsizetype referenceLength(QStringView text, qsizetype at)
{
    const QStringView rest = text.sliced(at);
    for (const char *entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
        if (rest.startsWith(QLatin1String(entity)))
            return static_cast<qsizetype>(qstrlen(entity));
    }
    if (!rest.startsWith(u"&#"))
        return 0;
    const bool hex = rest.size() > 2 && rest[2] == u'x';
    qsizetype i = hex ? 3 : 2;
    char32_t value = 0;
    for (; i < rest.size() && (hex ? isHexDigit(rest[i]) : isDigit(rest[i])); ++i) {
        const char16_t c = rest[i].unicode();
        const char32_t digit = isDigit(rest[i]) ? c - u'0' : (c | 0x20) - u'a' + 10;
        value = std::min<char32_t>(value * (hex ? 16 : 10) + digit, 0x110000); // no overflow on long runs
    }
    const bool digits = i > (hex ? 3 : 2);
    return digits && i < rest.size() && rest[i] == u';' && isXmlChar(value) ? i + 1 : 0;
}

void appendEscaped(QString &out, QStringView text)
{
    const qsizetype size = text.size();
    qsizetype plain = 0; // start of the text not yet copied
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        const char *reference = nullptr;
        if (c == u'&') {
            const qsizetype length = referenceLength(text, i);
            if (length > 0) {
                i += length - 1;
                continue;
            }
            reference = "&amp;";
        } else if (c == u'"') {
            reference = "&quot;";
        } else if (c == u'<') {
            reference = "&lt;";
        } else {
            continue;
        }
        out.append(text.sliced(plain, i - plain));
        out.append(QLatin1String(reference));
        plain = i + 1;
    }
    out.append(text.sliced(plain));
}

AutocorrectFileResult failed(Ui &ui, const QString &title, const QString &message, AutocorrectFileResult result)
{
    ui.showMessage(title, message, MessageIcon::Warning);
    ui.setStatusText(LongTask::abortedText());
    result.outcome = FileOutcome::Failed;
    return result;
}

} // namespace

QString SplitBlockElements(const QString &text)
{
    const QStringView view(text);
    QString out;
    out.reserve(text.size() + text.size() / 40);
    qsizetype copied = 0;
    for (qsizetype at = view.indexOf(u'<'); at >= 0; at = view.indexOf(u'<', at + 1)) {
        const QStringView rest = view.sliced(at);
        const bool startsLine = (rest.startsWith(blockTag, Qt::CaseInsensitive) && isBlockElementAt(view, at)) ||
                                rest.startsWith(closingTag, Qt::CaseInsensitive);
        if (!startsLine)
            continue;
        qsizetype before = at;
        while (before > 0 && isSpaceOrTab(view[before - 1]))
            --before;
        if (before > 0 && !isLineEnd(view[before - 1])) {
            out.append(view.sliced(copied, at - copied));
            out.append(u'\n');
            copied = at;
        }
    }
    out.append(view.sliced(copied));
    return out;
}

QString EscapeAutocorrectText(QStringView text)
{
    QString out;
    appendEscaped(out, text);
    return out;
}

AutocorrectFileResult ReadAutocorrectFile(Ui &ui, const MainSettings &settings, const QString &path,
                                          AutocorrectList &out)
{
    AutocorrectFileResult result;
    result.path = path;
    out = AutocorrectList();
    if (!CheckFileExists(ui, path, autocorrectTexts::xmlNotFound)) {
        ui.setStatusText(fileTexts::fileNotFound);
        result.outcome = FileOutcome::Failed;
        return result;
    }
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        return failed(ui, fileTexts::errorTitle,
                      fileTexts::cannotRead.arg(QDir::toNativeSeparators(path), file.errorString()), result);
    file.close();
    result.bytes = bytes.size();
    // Bytes that are not UTF-8 come back unchanged on the next save.
    QString text = DecodeLossless(WithoutUtf8Bom(bytes));
    bytes = QByteArray();

    qsizetype pos = 0;
    QStringView line;
    nextLine(text, pos, line);
    // The office suite's lists are one long line: compare only what can be the header.
    const bool wellFormed = line.size() == autocorrectTexts::headerLine.size() &&
                            line.toString().toLower() == autocorrectTexts::headerLine.toLower();
    if (!wellFormed) {
        if (!ui.askYesNo(LongTask::warningTitle(), autocorrectTexts::importQuestion, MessageIcon::Warning)) {
            ui.setStatusText(LongTask::abortedText());
            return result;
        }
        // The office suite writes the whole list on one line; the first pair is the
        // first block element itself, never the block-list element that opens the list.
        text = SplitBlockElements(text);
        pos = 0;
        qsizetype start = 0;
        bool found = false;
        while (!found && nextLine(text, pos, line)) {
            const qsizetype at = line.indexOf(blockTag, 0, Qt::CaseInsensitive);
            found = at >= 0 && isBlockElementAt(line, at);
            if (!found)
                start = pos;
        }
        if (!found)
            return failed(ui, LongTask::warningTitle(), autocorrectTexts::importFailed, result);
        pos = start;
    }

    LongTask task(ui, settings);
    task.begin(autocorrectTexts::loadingStatus, result.bytes);
    const QStringView view(text);
    out.entries.reserve(std::count(text.cbegin(), text.cend(), u'\n') + 1, text.size() / 2);
    QString entry;
    while (nextLine(view, pos, line)) {
        if (countBlockTags(line) > 1) {
            ui.showMessage(LongTask::warningTitle(), autocorrectTexts::onePairPerLine, MessageIcon::Warning);
            task.cancel();
            result.outcome = FileOutcome::Failed;
            return result;
        }
        if (line != autocorrectTexts::closingLine) {
            entry.clear();
            entry.append(quoteField(line, 2));
            entry.append(u'\n');
            entry.append(quoteField(line, 4));
            out.entries.append(entry);
        }
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            task.showProgress(autocorrectTexts::loadingStatus + task.elapsedText(),
                              view.isEmpty() ? 0 : result.bytes * pos / view.size());
        }
        if (poll.abortRequested) {
            task.cancel();
            return result;
        }
    }
    out.path = path;
    out.selectedIndex = -1;
    out.changed = false;
    out.clearHistory();
    task.finish(autocorrectTexts::okPrefix + FormatFileSize(QStringLiteral("xml:"), result.bytes, true) +
                task.elapsedText());
    result.outcome = FileOutcome::Done;
    return result;
}

AutocorrectFileResult WriteAutocorrectFile(Ui &ui, const MainSettings &settings, const AutocorrectList &list,
                                           const QString &path, FileOps &fileOps)
{
    AutocorrectFileResult result;
    result.path = path;
    const qint64 count = list.entries.size();
    LongTask task(ui, settings);
    task.begin(autocorrectTexts::savingStatus, count);
    // The new list goes to a temporary file that replaces the target only once complete:
    // an abort, a full disk or a crash leaves the old list untouched.
    AtomicFileWriter file(path, fileOps);
    const auto cannotWrite = [&] {
        task.cancel();
        return failed(ui, fileTexts::errorTitle,
                      fileTexts::cannotWrite.arg(QDir::toNativeSeparators(path), file.errorString()), result);
    };
    if (!file.open())
        return cannotWrite();
    const auto flush = [&file](QString &text) {
        const bool ok = file.write(EncodeLossless(text));
        text.clear();
        return ok;
    };
    const QString indent(std::clamp(settings.autocorrectLeftSpaces, MainSettings::autocorrectLeftSpacesMin,
                                    MainSettings::autocorrectLeftSpacesMax),
                         u' ');
    const QLatin1String opening("<block-list:block block-list:abbreviated-name=\"");
    const QLatin1String middle("\" block-list:name=\"");
    const QLatin1String ending("\"/>\n");
    QString text;
    text.reserve(writeChunk + 1024);
    text.append(autocorrectTexts::headerLine);
    text.append(u'\n');
    bool ok = file.write(utf8ByteOrderMark);
    for (qint64 i = 0; i < count && ok; ++i) {
        const QStringView entry = list.entries.view(i);
        const qsizetype lf = entry.indexOf(u'\n');
        const QStringView incorrect = lf < 0 ? entry : entry.first(lf);
        QStringView correct = lf < 0 ? QStringView() : entry.sliced(lf + 1);
        if (const qsizetype second = correct.indexOf(u'\n'); second >= 0)
            correct = correct.first(second);
        text.append(indent);
        text.append(opening);
        appendEscaped(text, incorrect);
        text.append(middle);
        appendEscaped(text, correct);
        text.append(ending);
        if (text.size() >= writeChunk)
            ok = flush(text);
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(autocorrectTexts::savingStatus + task.elapsedText(), i);
        if (poll.abortRequested) {
            task.cancel();
            return result; // the writer removes its temporary file
        }
    }
    text.append(autocorrectTexts::closingLine);
    text.append(u'\n');
    if (!ok || !flush(text))
        return cannotWrite();
    result.bytes = file.written();
    if (!file.commit())
        return cannotWrite();
    task.finish(autocorrectTexts::okPrefix + FormatFileSize(QStringLiteral("xml:"), result.bytes, true) +
                task.elapsedText());
    result.outcome = FileOutcome::Done;
    return result;
}

AutocorrectFileResult LoadAutocorrectList(AutocorrectList &list, const MainSettings &settings, Ui &ui,
                                          const QString &path)
{
    ui.setStatusText(autocorrectTexts::loadingStatus);
    ui.setProgressValue(0);
    AutocorrectFileResult result;
    if (list.changed &&
        !ui.askYesNo(LongTask::warningTitle(), autocorrectTexts::changedQuestion, MessageIcon::Warning)) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    result.path = path.isEmpty() ? AskOpenPath(ui, autocorrectTexts::openTitle, autocorrectTexts::fileFilter) : path;
    if (result.path.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    AutocorrectList loaded;
    result = ReadAutocorrectFile(ui, settings, result.path, loaded);
    if (result.done())
        list = std::move(loaded);
    return result;
}

AutocorrectFileResult SaveAutocorrectList(AutocorrectList &list, const MainSettings &settings, Ui &ui,
                                          bool useCurrentName, bool askForName)
{
    ui.setStatusText(autocorrectTexts::savingStatus);
    ui.setProgressValue(0);
    AutocorrectFileResult result;
    if (list.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), autocorrectTexts::noWords, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    QString target = useCurrentName ? list.path : QString();
    if (target.isEmpty() || askForName)
        target =
            AskSavePath(ui, autocorrectTexts::saveTitle, autocorrectTexts::fileFilter, autocorrectTexts::fileExtension);
    if (target.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    result = WriteAutocorrectFile(ui, settings, list, target);
    if (result.done()) {
        list.changed = false;
        list.path = target;
    }
    return result;
}

QString AutocorrectCounterText(const AutocorrectList &list, const QString &thousandsSeparator)
{
    const qint64 count = list.entries.size();
    if (!list.hasSelection())
        return autocorrectTexts::autocorrectsCounter + FormatCount(count, thousandsSeparator);
    return autocorrectTexts::autocorrectCounter + FormatCount(list.selectedIndex + 1, thousandsSeparator) +
           QLatin1Char('/') + FormatCount(count, thousandsSeparator) + QLatin1Char(']');
}

AutocorrectSlot::AutocorrectSlot(AutocorrectList &list, const MainSettings &settings)
    : ListDocumentSlot(DocumentKind::Autocorrect, list)
    , m_list(list)
    , m_settings(settings)
{
}

DocumentLoadResult AutocorrectSlot::load(Ui &ui, const QString &path, const FileProgress &)
{
    return AsLoadResult(LoadAutocorrectList(m_list, m_settings, ui, path));
}

FileResult AutocorrectSlot::save(Ui &ui, bool useCurrentName, bool askForName, const FileProgress &)
{
    return SaveAutocorrectList(m_list, m_settings, ui, useCurrentName, askForName);
}

} // namespace lexaloom
