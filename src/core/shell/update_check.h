#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace lexaloom {

class Ui;

// The project's web site: the one place its address is spelled.
inline const QString updateSite = QStringLiteral("https://www.lexaloom.org");

// One answer of the web site.
struct HttpReply {
    bool reached = false; // a complete HTTP answer arrived over a verified connection
    long status = 0;
    QByteArray body;
    QString error; // why the request failed, for the log of a failed check
};

// The HTTPS client of the update check.
class HttpClient {
public:
    virtual ~HttpClient() = default;
    virtual HttpReply get(const QString &path) = 0;
};

// libcurl over HTTPS only: the peer and host are always verified, redirects are not
// followed, answers are bounded in time and size.
class CurlHttpClient final : public HttpClient {
public:
    struct Options {
        QString baseUrl = updateSite;
        // Extra trusted certificates (PEM); the system store when empty.
        QString caFile;
        int timeoutMs = 15000;
    };
    CurlHttpClient();
    explicit CurlHttpClient(Options options);
    HttpReply get(const QString &path) override;

    static QString userAgent() { return QStringLiteral("Mozilla/5.0 Gecko/41.0 Firefox/41.0"); }
    // Larger answers are not a version file or release notes.
    static constexpr qsizetype maxBodyBytes = 1024 * 1024;

private:
    Options m_options;
};

// The seven lines of the version file.
struct SiteVersion {
    QString version;
    QString build;
    QString date;
    QString qualifier;
    std::array<QString, 3> files;
};

// Reads the version file; false when it is not one (no decimal build on line 2, or
// not text), which the check treats like a failed download.
bool ParseVersionFile(const QByteArray &body, SiteVersion &out);

// The release notes as shown: each line followed by "\n", up to the first empty line,
// without "###END###" lines.
QString ReleaseNotesText(const QByteArray &body);

// What the update window shows.
struct UpdateOffer {
    QString yourVersion;   // "V3.0 (beta)\nBuild: 204\nReleased: 2024-01-17"
    QString newestVersion; // "V" + version + " " + qualifier + "\nBuild: ...\nReleased: ..."
    bool newerMajor = false;
    QString releaseNotes;
    // Full addresses of the three downloads; empty for a disabled entry.
    std::array<QString, 3> downloadUrls;
    QString downloadsPageUrl;
};

enum class UpdateCheckOutcome { Failed, UpToDate, SiteOutdated, UpdateAvailable };

// Fetches the version file and compares builds; `showOffer` opens the update window
// when the site has a newer build. Automatic checks stay silent when up to date.
UpdateCheckOutcome CheckForUpdates(bool automatic, HttpClient &client, Ui &ui,
                                   const std::function<void(const UpdateOffer &)> &showOffer);

// The About window's texts and links.
QString AboutVersionText();
QString siteUrl(const QString &path);

// Texts of the check.
namespace updateTexts {
inline const QString checking = QStringLiteral("Checking for updates...");
inline const QString failed = QStringLiteral("An error has occurred while checking for updates");
inline const QString failedStatus = QStringLiteral("An error has occurred.");
inline const QString upToDate = QStringLiteral("No update available.\n\nYour version is up to date.");
inline const QString upToDateStatus = QStringLiteral("No update available.");
inline const QString outdatedTitle = QStringLiteral("Version build data on website is outdated");
inline const QString notesUnavailable = QStringLiteral("Unable to load release notes.");
inline const QString windowTitle = QStringLiteral("Update available for download!");
} // namespace updateTexts

} // namespace lexaloom
