#include "core/shell/update_check.h"

#include "scripted_ui.h"
#include "gtest_qt_printers.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// A self-signed certificate for 127.0.0.1, made for the run by the openssl tool.
struct TestCertificate {
    QTemporaryDir dir;
    QString cert() const { return dir.filePath(QStringLiteral("cert.pem")); }
    QString key() const { return dir.filePath(QStringLiteral("key.pem")); }

    bool make()
    {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                       key(), "-out", cert(), "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                       "subjectAltName=IP:127.0.0.1"});
        return openssl.waitForFinished(20000) && openssl.exitCode() == 0 && QFile::exists(cert());
    }
};

// An HTTPS server on the loopback, in a thread of the test: each path answers with
// the raw bytes given (anything else is a 404); `stall` makes it accept connections
// and then say nothing at all.
class LoopbackHttpsServer {
public:
    LoopbackHttpsServer(const TestCertificate &certificate, std::map<std::string, std::string> routes,
                        bool stall = false)
        : m_routes(std::move(routes))
        , m_stall(stall)
    {
        m_ctx = SSL_CTX_new(TLS_server_method());
        SSL_CTX_use_certificate_file(m_ctx, certificate.cert().toLocal8Bit().constData(), SSL_FILETYPE_PEM);
        SSL_CTX_use_PrivateKey_file(m_ctx, certificate.key().toLocal8Bit().constData(), SSL_FILETYPE_PEM);
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
        listen(m_listener, 8);
        socklen_t length = sizeof address;
        getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }

    ~LoopbackHttpsServer()
    {
        m_stop = true;
        m_thread.join();
        close(m_listener);
        SSL_CTX_free(m_ctx);
    }

    QString baseUrl() const { return QStringLiteral("https://127.0.0.1:%1").arg(m_port); }

    std::string requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    void serve()
    {
        while (!m_stop) {
            pollfd p{m_listener, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            const int connection = accept(m_listener, nullptr, nullptr);
            if (connection < 0)
                continue;
            if (m_stall) {
                while (!m_stop)
                    usleep(20000);
            } else {
                answer(connection);
            }
            close(connection);
        }
    }

    void answer(int connection)
    {
        SSL *ssl = SSL_new(m_ctx);
        SSL_set_fd(ssl, connection);
        if (SSL_accept(ssl) == 1) {
            std::string request;
            char buffer[2048];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const int n = SSL_read(ssl, buffer, sizeof buffer);
                if (n <= 0)
                    break;
                request.append(buffer, size_t(n));
            }
            {
                std::lock_guard lock(m_mutex);
                m_requests += request;
            }
            const size_t start = request.find(' ') + 1;
            const std::string path = request.substr(start, request.find(' ', start) - start);
            const auto route = m_routes.find(path);
            const std::string response = route != m_routes.end()
                                             ? route->second
                                             : "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nNot found";
            SSL_write(ssl, response.data(), int(response.size()));
            SSL_shutdown(ssl);
        }
        SSL_free(ssl);
    }

    std::map<std::string, std::string> m_routes;
    bool m_stall = false;
    SSL_CTX *m_ctx = nullptr;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::string m_requests;
};

std::string ok200(const std::string &body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

class UpdateCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!certificate.dir.isValid() || !certificate.make())
            GTEST_SKIP() << "the openssl tool could not make a test certificate";
    }

    CurlHttpClient client(const LoopbackHttpsServer &server, int timeoutMs = 5000) const
    {
        return CurlHttpClient({server.baseUrl(), certificate.cert(), timeoutMs});
    }

    // Runs a check and records the update window's offer, if one opened.
    UpdateCheckOutcome check(HttpClient &http, bool automatic)
    {
        offers.clear();
        ui.clearRecords();
        return CheckForUpdates(automatic, http, ui, [this](const UpdateOffer &o) { offers.push_back(o); });
    }

    void expectFailure(const char *label)
    {
        SCOPED_TRACE(label);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].text, QStringLiteral("An error has occurred while checking for updates"));
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(ui.statuses.last(), QStringLiteral("An error has occurred."));
        EXPECT_EQ(ui.progressValue(), 0);
        EXPECT_TRUE(offers.empty());
    }

    TestCertificate certificate;
    ScriptedUi ui;
    std::vector<UpdateOffer> offers;
};

const std::string sameBuild = "3.0\n204\n2024-01-17\n(beta)\nn/a\nn/a\nn/a\n";

} // namespace

// The same build: a message only when asked by hand; the request carries our agent.
TEST_F(UpdateCheckTest, SameBuildIsUpToDate)
{
    LoopbackHttpsServer server(certificate, {{"/lexaloom_version.txt", ok200(sameBuild)}});
    CurlHttpClient http = client(server);
    EXPECT_EQ(check(http, false), UpdateCheckOutcome::UpToDate);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("No update available.\n\nYour version is up to date."));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(ui.statuses, (QStringList{"Checking for updates...", "No update available."}));
    EXPECT_EQ(ui.progressMaximum, 3);
    EXPECT_EQ(ui.progressValues, (QList<qint64>{0, 1, 2, 3, 0}));

    EXPECT_EQ(check(http, true), UpdateCheckOutcome::UpToDate);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ui.statuses.last(), QStringLiteral("No update available."));
    EXPECT_NE(server.requests().find("GET /lexaloom_version.txt HTTP/1.1\r\n"), std::string::npos);
    EXPECT_NE(server.requests().find("User-Agent: Mozilla/5.0 Gecko/41.0 Firefox/41.0\r\n"), std::string::npos);
}

// A site that lags behind says so in both modes.
TEST_F(UpdateCheckTest, OlderSiteBuildIsReportedEvenWhenAutomatic)
{
    LoopbackHttpsServer server(certificate, {{"/lexaloom_version.txt", ok200("\xEF\xBB\xBF"
                                                                             "3.0\r\n203\r\n2023-12-01\r\nRC\r\n")}});
    CurlHttpClient http = client(server);
    EXPECT_EQ(check(http, true), UpdateCheckOutcome::SiteOutdated);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Version build data on website is outdated"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Your Version:\nV3.0 (beta)\nBuild: 204\nReleased: 2024-01-17\n\n"
                                                  "Site Version:\nV3.0 RC\nBuild: 203\nReleased: 2023-12-01\n"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(ui.statuses.last(), QStringLiteral("Aborted."));
    EXPECT_TRUE(offers.empty());
}

// A newer build opens the update window with the notes and the download links.
TEST_F(UpdateCheckTest, NewerBuildOffersTheUpdate)
{
    LoopbackHttpsServer server(
        certificate, {{"/lexaloom_version.txt", ok200("4.0\n230\n2024-09-02\nstable\nn/a\nlexaloom 4.zip\n\n")},
                      {"/lexaloom_history.txt", ok200("a\n###END###\nb\n\nc\n")}});
    CurlHttpClient http = client(server);
    EXPECT_EQ(check(http, true), UpdateCheckOutcome::UpdateAvailable);
    EXPECT_TRUE(ui.messages.isEmpty());
    ASSERT_EQ(offers.size(), 1u);
    const UpdateOffer &o = offers[0];
    EXPECT_EQ(o.yourVersion, QStringLiteral("V3.0 (beta)\nBuild: 204\nReleased: 2024-01-17"));
    EXPECT_EQ(o.newestVersion, QStringLiteral("V4.0 stable\nBuild: 230\nReleased: 2024-09-02"));
    EXPECT_TRUE(o.newerMajor);
    EXPECT_EQ(o.releaseNotes, QStringLiteral("a\nb\n"));
    EXPECT_EQ(o.downloadUrls[0], QString());
    EXPECT_EQ(o.downloadUrls[1], QStringLiteral("https://www.lexaloom.org/lxm_files/lexaloom%204.zip"));
    EXPECT_EQ(o.downloadUrls[2], QString());
    EXPECT_EQ(o.downloadsPageUrl, QStringLiteral("https://www.lexaloom.org/#downloads"));
    EXPECT_EQ(ui.statuses.last(), QStringLiteral("OK."));
    EXPECT_EQ(ui.progressMaximum, 3);
    EXPECT_EQ(ui.progressValue(), 0);
}

// Release notes the site does not have leave their place to a note; the window opens.
TEST_F(UpdateCheckTest, MissingReleaseNotesStillOpenTheWindow)
{
    LoopbackHttpsServer server(certificate, {{"/lexaloom_version.txt", ok200("3.1\n205\n2024-03-01\nbeta\n")}});
    CurlHttpClient http = client(server);
    EXPECT_EQ(check(http, false), UpdateCheckOutcome::UpdateAvailable);
    ASSERT_EQ(offers.size(), 1u);
    EXPECT_EQ(offers[0].releaseNotes, QStringLiteral("Unable to load release notes."));
    EXPECT_FALSE(offers[0].newerMajor);
}

// Every way the site can fail ends in the same message, in both modes.
TEST_F(UpdateCheckTest, FailuresOfTheSiteEndInTheErrorMessage)
{
    {
        LoopbackHttpsServer server(certificate, {});
        CurlHttpClient http = client(server);
        for (bool automatic : {false, true}) {
            EXPECT_EQ(check(http, automatic), UpdateCheckOutcome::Failed);
            expectFailure("404");
        }
    }
    const std::pair<const char *, std::string> garbage[] = {
        {"html page", ok200("<html><body>Moved</body></html>\n")},
        {"binary", ok200(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16))},
        {"empty", ok200("")},
        {"not http", "garbage garbage garbage\r\n\r\n"},
        {"server error", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 6\r\n\r\n3.0\n9\n"},
    };
    for (const auto &[label, response] : garbage) {
        LoopbackHttpsServer server(certificate, {{"/lexaloom_version.txt", response}});
        CurlHttpClient http = client(server);
        EXPECT_EQ(check(http, true), UpdateCheckOutcome::Failed) << label;
        expectFailure(label);
    }

    // Down: the port of a server that has just stopped.
    QString downUrl;
    {
        LoopbackHttpsServer server(certificate, {});
        downUrl = server.baseUrl();
    }
    CurlHttpClient down({downUrl, certificate.cert(), 2000});
    EXPECT_EQ(check(down, false), UpdateCheckOutcome::Failed);
    expectFailure("down");

    // A certificate nobody vouches for is refused: verification cannot be switched off.
    LoopbackHttpsServer untrusted(certificate, {{"/lexaloom_version.txt", ok200(sameBuild)}});
    CurlHttpClient noCa({untrusted.baseUrl(), QString(), 2000});
    EXPECT_EQ(check(noCa, false), UpdateCheckOutcome::Failed);
    expectFailure("untrusted");
}

// A server that accepts and then says nothing is given up after the timeout (a
// client without one would wait until ctest's time limit).
TEST_F(UpdateCheckTest, ASilentServerTimesOut)
{
    LoopbackHttpsServer server(certificate, {}, true);
    CurlHttpClient http = client(server, 700);
    EXPECT_EQ(check(http, true), UpdateCheckOutcome::Failed);
    expectFailure("silent");
}

// The two texts of the site, read as the window shows them.
TEST(UpdateFilesTest, VersionFileAndReleaseNotes)
{
    const struct {
        const char *body;
        bool ok;
        const char *build;
    } versions[] = {
        {"3.0\n204\n2024-01-17\n", true, "204"},
        {"3.0\r\n 205 \r\n", true, "205"},
        {"3.0\n", false, ""},
        {"3.0\n20x\n", false, ""},
        {"3.0\n+9\n", false, ""},
        {"3.0\n\xff\xfe\n", false, ""},
    };
    for (const auto &c : versions) {
        SiteVersion v;
        EXPECT_EQ(ParseVersionFile(QByteArray(c.body), v), c.ok) << c.body;
        if (c.ok)
            EXPECT_EQ(v.build, QString::fromUtf8(c.build));
    }

    const struct {
        const char *body;
        const char *shown;
    } notes[] = {
        {"a\n###END###\nb\n\nc\n", "a\nb\n"},
        {"one\r\ntwo", "one\ntwo\n"},
        {"\nhidden\n", ""},
        {"\xEF\xBB\xBFV3.1\n- faster\n###END###\n", "V3.1\n- faster\n"},
    };
    for (const auto &c : notes)
        EXPECT_EQ(ReleaseNotesText(QByteArray(c.body)), QString::fromUtf8(c.shown)) << c.body;
}
