#include "core/shell/update_check.h"

#include <QUrl>

#include <curl/curl.h>

#include <memory>

#include "core/shell/app_identity.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

const QString warningTitle = QStringLiteral("Warning!");

struct Download {
    QByteArray body;
    bool tooLarge = false;
};

size_t collect(char *data, size_t size, size_t count, void *target)
{
    auto *download = static_cast<Download *>(target);
    const size_t bytes = size * count;
    if (download->body.size() + qsizetype(bytes) > CurlHttpClient::maxBodyBytes) {
        download->tooLarge = true;
        return 0; // makes curl stop with a write error
    }
    download->body.append(data, qsizetype(bytes));
    return bytes;
}

bool curlReady()
{
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

QStringList textLines(const QByteArray &body)
{
    QString text = QString::fromUtf8(body);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.split(QLatin1Char('\n'));
}

QString yourVersionText()
{
    return QStringLiteral("V") + identity::version + QStringLiteral(" (beta)") + QStringLiteral("\nBuild: ") +
           identity::build + QStringLiteral("\nReleased: ") + identity::buildDate;
}

QString siteVersionText(const SiteVersion &site)
{
    return QStringLiteral("V") + site.version + QLatin1Char(' ') + site.qualifier + QStringLiteral("\nBuild: ") +
           site.build + QStringLiteral("\nReleased: ") + site.date;
}

void resetProgress(Ui &ui)
{
    ui.setProgressValue(0);
}

} // namespace

CurlHttpClient::CurlHttpClient() = default;

CurlHttpClient::CurlHttpClient(Options options)
    : m_options(std::move(options))
{
}

HttpReply CurlHttpClient::get(const QString &path)
{
    HttpReply reply;
    if (!curlReady()) {
        reply.error = QStringLiteral("libcurl could not be initialised");
        return reply;
    }
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        reply.error = QStringLiteral("libcurl could not be initialised");
        return reply;
    }
    const QByteArray url = (m_options.baseUrl + path).toUtf8();
    const QByteArray agent = userAgent().toUtf8();
    const QByteArray caFile = m_options.caFile.toLocal8Bit();
    Download download;
    char errorText[CURL_ERROR_SIZE] = {};
    CURL *c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "https");
#else
    curl_easy_setopt(c, CURLOPT_PROTOCOLS, long(CURLPROTO_HTTPS));
#endif
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(m_options.timeoutMs));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(m_options.timeoutMs));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &download);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    const CURLcode result = curl_easy_perform(c);
    if (result != CURLE_OK) {
        reply.error = download.tooLarge ? QStringLiteral("answer too large")
                                        : QString::fromUtf8(errorText[0] ? errorText : curl_easy_strerror(result));
        return reply;
    }
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &reply.status);
    reply.reached = true;
    reply.body = std::move(download.body);
    return reply;
}

bool ParseVersionFile(const QByteArray &body, SiteVersion &out)
{
    // Binary garbage would otherwise be read as an absurd site version.
    if (body.contains('\0') || QString::fromUtf8(body).contains(QChar::ReplacementCharacter))
        return false;
    QStringList lines = textLines(body);
    while (lines.size() < 7)
        lines.append(QString());
    bool numeric = false;
    lines[1].trimmed().toLongLong(&numeric);
    if (!numeric || lines[1].trimmed().startsWith(QLatin1Char('+')))
        return false;
    out.version = lines[0].trimmed();
    out.build = lines[1].trimmed();
    out.date = lines[2].trimmed();
    out.qualifier = lines[3].trimmed();
    for (int k = 0; k < 3; ++k)
        out.files[k] = lines[4 + k].trimmed();
    return true;
}

QString ReleaseNotesText(const QByteArray &body)
{
    QString text;
    const QStringList lines = textLines(body);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // A final line feed is the end of the file, not an empty line.
        if (lines[i].isEmpty())
            break;
        if (lines[i] != QLatin1String("###END###"))
            text += lines[i] + QLatin1Char('\n');
    }
    return text;
}

QString siteUrl(const QString &path)
{
    return QUrl(updateSite + path).toString(QUrl::FullyEncoded);
}

QString AboutVersionText()
{
    return identity::version + QStringLiteral(" build ") + identity::build + QStringLiteral(" (beta)");
}

UpdateCheckOutcome CheckForUpdates(bool automatic, HttpClient &client, Ui &ui,
                                   const std::function<void(const UpdateOffer &)> &showOffer)
{
    ui.setStatusText(updateTexts::checking);
    ui.setProgressRange(0, 3);
    ui.setProgressValue(0);

    const HttpReply reply = client.get(QStringLiteral("/lexaloom_version.txt"));
    SiteVersion site;
    // A 404 page or a garbled answer is no version file: the check failed.
    if (!reply.reached || reply.status != 200 || !ParseVersionFile(reply.body, site)) {
        ui.showMessage(warningTitle, updateTexts::failed, MessageIcon::Error);
        ui.setStatusText(updateTexts::failedStatus);
        resetProgress(ui);
        return UpdateCheckOutcome::Failed;
    }
    ui.setProgressValue(1);
    ui.setProgressValue(2);

    const qint64 localBuild = identity::build.toLongLong();
    const qint64 siteBuild = site.build.toLongLong();
    if (siteBuild == localBuild) {
        ui.setProgressValue(3);
        if (!automatic)
            ui.showMessage(warningTitle, updateTexts::upToDate, MessageIcon::Warning);
        ui.setStatusText(updateTexts::upToDateStatus);
        resetProgress(ui);
        return UpdateCheckOutcome::UpToDate;
    }
    if (siteBuild < localBuild) {
        ui.showMessage(updateTexts::outdatedTitle,
                       QStringLiteral("Your Version:\n") + yourVersionText() + QStringLiteral("\n\nSite Version:\n") +
                           siteVersionText(site) + QLatin1Char('\n'),
                       MessageIcon::Warning);
        ui.setStatusText(QStringLiteral("Aborted."));
        resetProgress(ui);
        return UpdateCheckOutcome::SiteOutdated;
    }

    UpdateOffer offer;
    offer.yourVersion = yourVersionText();
    offer.newestVersion = siteVersionText(site);
    offer.newerMajor = site.version.section(QLatin1Char('.'), 0, 0).toInt() >
                       identity::version.section(QLatin1Char('.'), 0, 0).toInt();
    const HttpReply notes = client.get(QStringLiteral("/lexaloom_history.txt"));
    offer.releaseNotes =
        notes.reached && notes.status == 200 ? ReleaseNotesText(notes.body) : updateTexts::notesUnavailable;
    for (int k = 0; k < 3; ++k) {
        const QString &file = site.files[k];
        if (!file.isEmpty() && file != QLatin1String("n/a"))
            offer.downloadUrls[k] = siteUrl(QStringLiteral("/lxm_files/") + file);
    }
    offer.downloadsPageUrl = siteUrl(QStringLiteral("/#downloads"));
    if (showOffer)
        showOffer(offer);
    ui.setStatusText(QStringLiteral("OK."));
    ui.setProgressRange(0, 3);
    ui.setProgressValue(0);
    return UpdateCheckOutcome::UpdateAvailable;
}

} // namespace lexaloom
