#include "core/autocorrect/autotext_files.h"

#include <QDir>
#include <QFile>

#include "core/autocorrect/autocorrect_list.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
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
    QString flat = NormaliseLineEnds(xml.toString());
    flat.remove(u'\n');
    flat.replace(u'>', QLatin1String(">\n"));
    const QLatin1String paragraphEnd("</text:p>");
    const QLatin1String spanEnd("</text:span>");
    QString content;
    for (QStringView line : QStringView(flat).split(u'\n')) {
        if (!line.endsWith(paragraphEnd) && !line.endsWith(spanEnd))
            continue;
        QString text = line.toString();
        text.remove(paragraphEnd);
        text.remove(spanEnd);
        content += text;
        content += u'\n';
    }
    content.replace(QLatin1String("\n\n"), QLatin1String("\n"));
    return content;
}

AutoTextFileResult ReadAutoTextFile(Ui &ui, const MainSettings &settings, const QString &path, AutoTextList &out)
{
    AutoTextFileResult result;
    result.path = path;
    out = AutoTextList();
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
    const bool completed = task.forEach(
        starts.size(), [&](qint64 i) { task.showProgress(autoTextTexts::loadingStatus + task.elapsedText(), i + 1); },
        [&](qint64 i) {
            const qsizetype end = i + 1 < starts.size() ? starts[i + 1] : view.size();
            const QStringView element = view.sliced(starts[i], end - starts[i]);
            AutoTextEntry entry;
            entry.abbreviatedName = AutoTextAttribute(element, u"abbreviated-name=");
            entry.packageName = AutoTextAttribute(element, u"package-name=");
            entry.name = AutoTextAttribute(element, u"block-list:name=");
            QByteArray content;
            // A missing or unreadable content file leaves the entry without content.
            if (readFile(AutoTextContentPath(path, entry.packageName), content, error)) {
                result.contentBytes += content.size();
                entry.content = AutoTextContent(decodeText(content));
            }
            out.entries.append(std::move(entry));
        },
        {.pollAfterItem = true});
    if (!completed) {
        task.cancel();
        return result;
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
