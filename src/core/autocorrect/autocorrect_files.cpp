#include "core/autocorrect/autocorrect_files.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <optional>

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

// Where a line ends: at the line end or the end of the text.
qsizetype lineEndFrom(QStringView text, qsizetype pos)
{
    while (pos < text.size() && !isLineEnd(text[pos]))
        ++pos;
    return pos;
}

// The markup of a list from a position on, read as an XML reader sees it: every block
// element is one pair (its abbreviated name and name, references kept as written, in
// either quote style and any attribute order); blank space, comments, processing
// instructions and the list's own opening and closing elements are nothing; anything
// else stops the reading at its line. The reader keeps its line count, so a problem
// names the line of the file.
class BlockReader final {
public:
    enum class Item { Pair, End, Unreadable, TwoPairsOnALine };

    BlockReader(QStringView text, qsizetype pos, qint64 line)
        : m_text(text)
        , m_pos(pos)
        , m_line(line)
    {
    }

    qsizetype position() const { return m_pos; }
    // The line of the last item read (of the problem after Unreadable).
    qint64 line() const { return m_itemLine; }
    QStringView lineText() const
    {
        qsizetype begin = m_itemStart;
        while (begin > 0 && !isLineEnd(m_text[begin - 1]))
            --begin;
        return m_text.sliced(begin, lineEndFrom(m_text, m_itemStart) - begin);
    }

    // The next pair into `entry` ("incorrect\ncorrect"). With `onePairPerLine` a second
    // block starting on the line of the previous one is refused.
    Item next(QString &entry, bool onePairPerLine)
    {
        for (;;) {
            skipSpace();
            m_itemStart = m_pos;
            m_itemLine = m_line;
            if (m_pos >= m_text.size())
                return Item::End;
            const QStringView rest = m_text.sliced(m_pos);
            if (rest.startsWith(u"<!--")) {
                if (!skipPast(u"-->", 4))
                    return Item::Unreadable;
            } else if (rest.startsWith(u"<?")) {
                if (!skipPast(u"?>", 2))
                    return Item::Unreadable;
            } else if (rest.startsWith(closingTag, Qt::CaseInsensitive) &&
                       nameEndsAt(m_pos + closingTag.size())) {
                if (!skipPast(u">", closingTag.size()))
                    return Item::Unreadable;
            } else if (rest.startsWith(openingTag, Qt::CaseInsensitive) && nameEndsAt(m_pos + openingTag.size())) {
                if (!skipElement(openingTag.size()))
                    return Item::Unreadable;
            } else if (rest.startsWith(blockTag, Qt::CaseInsensitive) && nameEndsAt(m_pos + blockTag.size())) {
                if (onePairPerLine && m_line == m_lastBlockLine)
                    return Item::TwoPairsOnALine;
                m_lastBlockLine = m_line;
                return readBlock(entry) ? Item::Pair : Item::Unreadable;
            } else {
                return Item::Unreadable;
            }
        }
    }

private:
    static bool isSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

    // Moves one character on, counting LF, CR LF and CR as one line end each.
    void advance()
    {
        const QChar c = m_text[m_pos++];
        if (c == u'\n' || (c == u'\r' && (m_pos >= m_text.size() || m_text[m_pos] != u'\n')))
            ++m_line;
    }

    void skipSpace()
    {
        while (m_pos < m_text.size() && isSpace(m_text[m_pos]))
            advance();
    }

    // An element name ends at `at` (the text ends, or a space, "/" or ">" follows).
    bool nameEndsAt(qsizetype at) const
    {
        return at >= m_text.size() || isSpace(m_text[at]) || m_text[at] == u'/' || m_text[at] == u'>';
    }

    // Past the first `end` after the first `skip` characters; false when there is none.
    bool skipPast(QStringView end, qsizetype skip)
    {
        const qsizetype at = m_text.indexOf(end, m_pos + skip);
        if (at < 0)
            return false;
        while (m_pos < at + end.size())
            advance();
        return true;
    }

    // An attribute "name = 'value'" or "name = \"value\"" at the position; the value as
    // written, on one line.
    bool readAttribute(QStringView &name, QStringView &value)
    {
        const qsizetype nameStart = m_pos;
        while (m_pos < m_text.size() && !isSpace(m_text[m_pos]) && m_text[m_pos] != u'=' && m_text[m_pos] != u'/' &&
               m_text[m_pos] != u'>' && m_text[m_pos] != u'"' && m_text[m_pos] != u'\'')
            ++m_pos;
        name = m_text.sliced(nameStart, m_pos - nameStart);
        skipSpace();
        if (name.isEmpty() || m_pos >= m_text.size() || m_text[m_pos] != u'=')
            return false;
        ++m_pos;
        skipSpace();
        if (m_pos >= m_text.size() || (m_text[m_pos] != u'"' && m_text[m_pos] != u'\''))
            return false;
        const QChar quote = m_text[m_pos++];
        const qsizetype valueStart = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != quote && !isLineEnd(m_text[m_pos]))
            ++m_pos;
        if (m_pos >= m_text.size() || m_text[m_pos] != quote)
            return false; // unclosed, or a value running over a line end, which no pair can hold
        value = m_text.sliced(valueStart, m_pos - valueStart);
        ++m_pos;
        return true;
    }

    // The rest of a start tag: attributes, then "/>" (true, empty) or ">" (true, with content).
    enum class TagEnd { Empty, Open, Broken };
    template <typename OnAttribute> TagEnd readAttributes(OnAttribute &&onAttribute)
    {
        for (;;) {
            skipSpace();
            if (m_pos >= m_text.size())
                return TagEnd::Broken;
            if (m_text.sliced(m_pos).startsWith(u"/>")) {
                m_pos += 2;
                return TagEnd::Empty;
            }
            if (m_text[m_pos] == u'>') {
                ++m_pos;
                return TagEnd::Open;
            }
            QStringView name;
            QStringView value;
            if (!readAttribute(name, value) || !onAttribute(name, value))
                return TagEnd::Broken;
        }
    }

    // The list's opening element, whatever its attributes.
    bool skipElement(qsizetype nameLength)
    {
        m_pos += nameLength;
        return readAttributes([](QStringView, QStringView) { return true; }) == TagEnd::Open;
    }

    bool readBlock(QString &entry)
    {
        m_pos += blockTag.size();
        std::optional<QStringView> incorrect;
        std::optional<QStringView> correct;
        const auto take = [&](QStringView name, QStringView value) {
            std::optional<QStringView> *half = nullptr;
            if (name == abbreviatedNameAttribute)
                half = &incorrect;
            else if (name == nameAttribute)
                half = &correct;
            else
                return name.startsWith(u"xmlns"); // a declaration changes no pair; anything else would be lost
            if (half->has_value())
                return false; // an XML reader refuses a repeated attribute
            *half = value;
            return true;
        };
        const TagEnd end = readAttributes(take);
        if (end == TagEnd::Broken)
            return false;
        if (end == TagEnd::Open) {
            // "<block-list:block ...></block-list:block>": an empty element written long.
            skipSpace();
            if (!m_text.sliced(m_pos).startsWith(blockEndTag, Qt::CaseInsensitive))
                return false;
            m_pos += blockEndTag.size();
            skipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != u'>')
                return false;
            ++m_pos;
        }
        entry.clear();
        entry.append(incorrect.value_or(QStringView()));
        entry.append(u'\n');
        entry.append(correct.value_or(QStringView()));
        return true;
    }

    static inline const QLatin1String openingTag{"<block-list:block-list"};
    static inline const QLatin1String blockEndTag{"</block-list:block"};
    static inline const QLatin1String abbreviatedNameAttribute{"block-list:abbreviated-name"};
    static inline const QLatin1String nameAttribute{"block-list:name"};

    QStringView m_text;
    qsizetype m_pos = 0;
    qint64 m_line = 1;
    qsizetype m_itemStart = 0;
    qint64 m_itemLine = 1;
    qint64 m_lastBlockLine = 0;
};

// How many lines end before `pos` (LF, CR LF and CR each end one).
qint64 lineEndsBefore(QStringView text, qsizetype pos)
{
    qint64 count = 0;
    for (qsizetype i = 0; i < pos; ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')))
            ++count;
    }
    return count;
}

// A line as a message quotes it: trimmed, and cut short when long (a list written as
// one line is one line).
QString shownLine(QStringView line)
{
    constexpr qsizetype shown = 120;
    line = line.trimmed();
    return line.size() <= shown ? line.toString() : line.first(shown).toString() + QStringLiteral("\u2026");
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

// The character a reference of referenceLength() names.
char32_t referenceValue(QStringView reference)
{
    static const struct {
        const char *entity;
        char16_t character;
    } entities[] = {{"&amp;", u'&'}, {"&lt;", u'<'}, {"&gt;", u'>'}, {"&quot;", u'"'}, {"&apos;", u'\''}};
    for (const auto &e : entities) {
        if (reference == QLatin1String(e.entity))
            return e.character;
    }
    const bool hex = reference[2] == u'x';
    char32_t value = 0;
    for (const QChar c : reference.sliced(hex ? 3 : 2).chopped(1))
        value = value * (hex ? 16 : 10) + char32_t(isDigit(c) ? c.unicode() - u'0' : (c.unicode() | 0x20) - u'a' + 10);
    return value;
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

QString EscapeAutocorrectText(QStringView text)
{
    QString out;
    appendEscaped(out, text);
    return out;
}

QString DecodeAutocorrectText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\t' || c == u'\n' || c == u'\r') {
            out.append(u' '); // an attribute value's white space is read as spaces
            continue;
        }
        const qsizetype length = c == u'&' ? referenceLength(text, i) : 0;
        if (length == 0) {
            out.append(c);
            continue;
        }
        const char32_t value = referenceValue(text.sliced(i, length));
        if (QChar::requiresSurrogates(value)) {
            out.append(QChar(QChar::highSurrogate(value)));
            out.append(QChar(QChar::lowSurrogate(value)));
        } else {
            out.append(QChar(char16_t(value)));
        }
        i += length - 1;
    }
    return out;
}

std::optional<char32_t> FirstCharacterXmlForbids(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        char32_t value = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            value = QChar::surrogateToUcs4(c, text[++i]);
        if (!isXmlChar(value))
            return value;
    }
    return std::nullopt;
}

QString ForbiddenCharacterText(char32_t character)
{
    const QString code = QString::number(uint(character), 16).toUpper().rightJustified(4, u'0');
    return QStringLiteral("The character U+") + code + QStringLiteral(" can't be written to an autocorrect list.");
}

AutocorrectFileResult ReadAutocorrectFile(Ui &ui, const MainSettings &settings, const QString &path,
                                          AutocorrectList &out)
{
    AutocorrectFileResult result;
    result.path = path;
    out = AutocorrectList();
    // A save of this list that was cut off is finished (or left alone) first.
    if (!ReadAfterRecovery(ui, RecoverInterruptedSave(ui, path), result))
        return result;
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

    const QStringView view(text);
    const qsizetype firstLineEnd = lineEndFrom(view, 0);
    // The office suite's lists are one long line: compare only what can be the header.
    const bool wellFormed = firstLineEnd == autocorrectTexts::headerLine.size() &&
                            view.first(firstLineEnd).compare(autocorrectTexts::headerLine, Qt::CaseInsensitive) == 0;
    qsizetype pos = 0;
    qint64 line = 1;
    if (wellFormed) {
        pos = firstLineEnd;
        if (pos < view.size())
            pos += view.sliced(pos).startsWith(u"\r\n") ? 2 : 1;
        line = 2;
    } else {
        if (!ui.askYesNo(LongTask::warningTitle(), autocorrectTexts::importQuestion, MessageIcon::Warning)) {
            ui.setStatusText(LongTask::abortedText());
            return result;
        }
        // The first pair is the first block element itself, never the block-list
        // element that opens the list; what stands before it is not read.
        pos = -1;
        for (qsizetype at = view.indexOf(blockTag, 0, Qt::CaseInsensitive); at >= 0 && pos < 0;
             at = view.indexOf(blockTag, at + 1, Qt::CaseInsensitive)) {
            if (isBlockElementAt(view, at))
                pos = at;
        }
        if (pos < 0)
            return failed(ui, LongTask::warningTitle(), autocorrectTexts::importFailed, result);
        line = 1 + lineEndsBefore(view, pos);
    }

    LongTask task(ui, settings);
    task.begin(autocorrectTexts::loadingStatus, result.bytes);
    // Reserved by blocks, not lines: blank lines and comments take no room.
    out.entries.reserve(countBlockTags(view.sliced(pos)), view.size() - pos);
    BlockReader reader(view, pos, line);
    QString entry;
    for (;;) {
        const BlockReader::Item item = reader.next(entry, wellFormed);
        if (item == BlockReader::Item::End)
            break;
        if (item == BlockReader::Item::TwoPairsOnALine) {
            ui.showMessage(LongTask::warningTitle(), autocorrectTexts::onePairPerLine, MessageIcon::Warning);
            task.cancel();
            result.outcome = FileOutcome::Failed;
            return result;
        }
        if (item == BlockReader::Item::Unreadable) {
            ui.showMessage(LongTask::warningTitle(),
                           autocorrectTexts::unreadableLine.arg(QString::number(reader.line()), shownLine(reader.lineText())),
                           MessageIcon::Warning);
            task.cancel();
            result.outcome = FileOutcome::Failed;
            return result;
        }
        out.entries.append(entry);
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked) {
            task.showProgress(autocorrectTexts::loadingStatus + task.elapsedText(),
                              view.isEmpty() ? 0 : result.bytes * reader.position() / view.size());
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
