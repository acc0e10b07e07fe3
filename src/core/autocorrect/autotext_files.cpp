#include "core/autocorrect/autotext_files.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <sys/stat.h>

#include "core/autocorrect/autocorrect_list.h"
#include "core/shell/atomic_write.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/memory_budget.h"
#include "core/shell/text_codec.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

const QLatin1String entryTag("<block-list:block ");

QString decodeText(QByteArrayView bytes)
{
    return DecodeLossless(WithoutUtf8Bom(bytes));
}

// Opened read-only: reading a catalogue never creates or changes a file.
bool readFile(const QString &path, QByteArray &bytes, QString &error)
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

// What a content file's content costs while it is made: its bytes, their text and the
// lines built from it, two bytes a character.
qint64 readingCost(qint64 fileSize)
{
    return 7 * fileSize;
}

// The content files of one load. Many entries may name one file (through the same
// package, links or hard links): each file is read once and its content shared, so a
// small catalogue cannot make the reader hold one copy per entry.
class ContentFiles final {
public:
    enum class Read { Content, Missing, NotRegular, OverBudget };

    explicit ContentFiles(qint64 budget)
        : m_budget(budget)
    {
    }

    Read read(const QString &path, QString &content, qint64 &size)
    {
        struct stat status {};
        if (::stat(QFile::encodeName(path).constData(), &status) != 0)
            return Read::Missing;
        // A FIFO or a device would block the reader or never end.
        if (!S_ISREG(status.st_mode))
            return Read::NotRegular;
        size = qint64(status.st_size);
        const Key key{quint64(status.st_dev), quint64(status.st_ino)};
        if (const auto known = m_read.constFind(key); known != m_read.cend()) {
            content = *known;
            return Read::Content;
        }
        if (m_held + readingCost(size) > m_budget)
            return Read::OverBudget;
        QByteArray bytes;
        QString error;
        // An unreadable content file leaves the entry without content.
        if (!readFile(path, bytes, error))
            return Read::Missing;
        size = bytes.size();
        content = AutoTextContent(decodeText(bytes));
        m_held += qint64(content.size()) * qint64(sizeof(QChar));
        m_read.insert(key, content);
        return Read::Content;
    }

private:
    struct Key {
        quint64 device;
        quint64 inode;
        bool operator==(const Key &) const = default;
    };
    friend size_t qHash(const Key &key, size_t seed) { return qHashMulti(seed, key.device, key.inode); }

    QHash<Key, QString> m_read;
    qint64 m_budget;
    qint64 m_held = 0;
};

} // namespace

QString AutoTextAttribute(QStringView element, QStringView attribute)
{
    const qsizetype at = element.indexOf(attribute);
    if (at < 0)
        return {};
    const qsizetype start = at + attribute.size();
    if (start >= element.size())
        return {};
    const QChar quote = element[start];
    if (quote != u'"' && quote != u'\'')
        return {};
    const qsizetype end = element.indexOf(quote, start + 1);
    return element.sliced(start + 1, (end < 0 ? element.size() : end) - start - 1).toString();
}

QString AutoTextContentPath(const QString &cataloguePath, const QString &packageName)
{
    const qsizetype slash = std::max(cataloguePath.lastIndexOf(u'/'), cataloguePath.lastIndexOf(u'\\'));
    const QString folder = cataloguePath.first(slash + 1);
    const QChar separator = slash >= 0 ? cataloguePath[slash] : QChar(u'/');
    const QString package = folder + packageName + separator;
    const QString named = package + packageName + QLatin1String(".xml");
    return FileSize(named) > 0 ? named : package + QLatin1String("content.xml");
}

QString AutoTextContent(QStringView xml)
{
    // One pass over the text, without the whole-text replacements (inserting a line feed
    // after every ">" moves the rest of the text each time: quadratic on a file of ">").
    // Line ends play no part: each ">" ends a line, and only a line ending with a
    // paragraph or span end tag counts; it holds no other ">", so no other end tag.
    const QLatin1String paragraphEnd("</text:p>");
    const QLatin1String spanEnd("</text:span>");
    QString lines;
    QString joined; // a line that had line ends inside it, without them
    for (qsizetype start = 0; start < xml.size();) {
        const qsizetype close = xml.indexOf(u'>', start);
        if (close < 0)
            break;
        QStringView line = xml.sliced(start, close + 1 - start);
        start = close + 1;
        if (line.contains(u'\n') || line.contains(u'\r')) {
            joined.clear();
            for (const QChar c : line) {
                if (c != u'\n' && c != u'\r')
                    joined += c;
            }
            line = joined;
        }
        if (line.endsWith(paragraphEnd))
            lines += line.chopped(paragraphEnd.size());
        else if (line.endsWith(spanEnd))
            lines += line.chopped(spanEnd.size());
        else
            continue;
        lines += u'\n';
    }
    // Each "\n\n" becomes "\n", left to right: a run of k line feeds keeps (k + 1) / 2.
    QString content;
    content.reserve(lines.size());
    qsizetype run = 0;
    for (const QChar c : lines) {
        if (c == u'\n') {
            ++run;
            continue;
        }
        if (run > 0)
            content.append(QString((run + 1) / 2, u'\n'));
        run = 0;
        content += c;
    }
    if (run > 0)
        content.append(QString((run + 1) / 2, u'\n'));
    return content;
}

AutoTextFileResult ReadAutoTextFile(Ui &ui, const MainSettings &settings, const QString &path, AutoTextList &out,
                                    qint64 memoryBudget)
{
    AutoTextFileResult result;
    result.path = path;
    out = AutoTextList();
    // The traces of a cut-off save are handled as for every other kind.
    if (!ReadAfterRecovery(ui, RecoverInterruptedSave(ui, path), result))
        return result;
    if (!CheckFileExists(ui, path, autocorrectTexts::xmlNotFound)) {
        ui.setStatusText(fileTexts::fileNotFound);
        result.outcome = FileOutcome::Failed;
        return result;
    }
    QByteArray bytes;
    QString error;
    if (!readFile(path, bytes, error)) {
        ui.showMessage(fileTexts::errorTitle, fileTexts::cannotRead.arg(QDir::toNativeSeparators(path), error),
                       MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        result.outcome = FileOutcome::Failed;
        return result;
    }
    result.catalogueBytes = bytes.size();
    QString text = NormaliseLineEnds(decodeText(bytes));
    text.remove(u'\n');

    QList<qsizetype> starts;
    for (qsizetype at = text.indexOf(entryTag); at >= 0; at = text.indexOf(entryTag, at + entryTag.size()))
        starts.append(at);
    if (starts.isEmpty()) {
        ui.showMessage(fileTexts::errorTitle, autoTextTexts::noEntries, MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        result.outcome = FileOutcome::Failed;
        return result;
    }

    LongTask task(ui, settings);
    task.begin(autoTextTexts::loadingStatus, starts.size());
    const QStringView view(text);
    ContentFiles contentFiles(MemoryBudgetOr(memoryBudget) - qint64(text.size()) * qint64(sizeof(QChar)));
    bool notRegularShown = false;
    for (qsizetype i = 0; i < starts.size(); ++i) {
        const qsizetype end = i + 1 < starts.size() ? starts[i + 1] : view.size();
        const QStringView element = view.sliced(starts[i], end - starts[i]);
        AutoTextEntry entry;
        entry.abbreviatedName = AutoTextAttribute(element, u"abbreviated-name=");
        entry.packageName = AutoTextAttribute(element, u"package-name=");
        entry.name = AutoTextAttribute(element, u"block-list:name=");
        qint64 size = 0;
        const QString contentPath = AutoTextContentPath(path, entry.packageName);
        switch (contentFiles.read(contentPath, entry.content, size)) {
        case ContentFiles::Read::Content:
            result.contentBytes += size;
            break;
        case ContentFiles::Read::Missing:
            break;
        case ContentFiles::Read::NotRegular:
            // Said once; the entries go on without content.
            if (!notRegularShown) {
                notRegularShown = true;
                ui.showMessage(fileTexts::errorTitle,
                               fileTexts::cannotRead.arg(QDir::toNativeSeparators(contentPath),
                                                         autoTextTexts::notRegularFile),
                               MessageIcon::Warning);
            }
            break;
        case ContentFiles::Read::OverBudget:
            task.cancel();
            ui.showMessage(fileTexts::errorTitle, autoTextTexts::outOfMemory, MessageIcon::Warning);
            result.outcome = FileOutcome::Failed;
            return result;
        }
        out.entries.append(std::move(entry));
        const LongTask::PollResult poll = task.poll();
        if (poll.ticked)
            task.showProgress(autoTextTexts::loadingStatus + task.elapsedText(), i + 1);
        if (poll.abortRequested) {
            task.cancel();
            return result;
        }
    }
    out.path = path;
    task.finish(autocorrectTexts::okPrefix +
                FormatFileSize(QStringLiteral("BlockList.xml:"), result.catalogueBytes, true) + QLatin1Char('+') +
                FormatFileSize(QStringLiteral("xmls:"), result.contentBytes, true) + task.elapsedText());
    result.outcome = FileOutcome::Done;
    return result;
}

AutoTextFileResult LoadAutoTextList(AutoTextList &list, const MainSettings &settings, Ui &ui, const QString &path)
{
    ui.setStatusText(autoTextTexts::loadingStatus);
    ui.setProgressValue(0);
    AutoTextFileResult result;
    result.path = path.isEmpty() ? AskOpenPath(ui, autoTextTexts::openTitle, autoTextTexts::fileFilter) : path;
    if (result.path.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    AutoTextList loaded;
    result = ReadAutoTextFile(ui, settings, result.path, loaded);
    if (result.done())
        list = std::move(loaded);
    return result;
}

AutoTextSlot::AutoTextSlot(AutoTextList &list, const MainSettings &settings)
    : DocumentSlot(DocumentKind::AutoText)
    , m_list(list)
    , m_settings(settings)
{
}

const QString &AutoTextSlot::path() const
{
    return m_list.path;
}

qint64 AutoTextSlot::entryCount() const
{
    return m_list.entries.size();
}

DocumentLoadResult AutoTextSlot::load(Ui &ui, const QString &path, const FileProgress &)
{
    return AsLoadResult(LoadAutoTextList(m_list, m_settings, ui, path));
}

} // namespace lexaloom
