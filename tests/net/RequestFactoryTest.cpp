// The one policy of every request, on real sockets: the schemes and redirect hops that
// are followed, the headers every request carries, and certificates that are checked.
#include <gtest/gtest.h>

#include <QNetworkReply>

#include "net/RequestFactory.h"
#include "platform/browser/CookieJar.h"
#include "platform/runtime/QtRuntime.h"
#include "support/LocalHttpServer.h"
#include "support/WaitFor.h"

namespace {

class Requests : public ::testing::Test {
  protected:
    Requests() {
        // /hop/N redirects to /hop/N-1; /hop/0 is the page.
        server.server().Get(R"(/hop/(\d+))",
                            [](const httplib::Request& req, httplib::Response& res) {
                                const int left = std::stoi(req.matches[1]);
                                if (left == 0) {
                                    res.set_content("end", "text/plain");
                                } else {
                                    res.set_redirect("/hop/" + std::to_string(left - 1));
                                }
                            });
        server.server().Get("/to", [](const httplib::Request& req, httplib::Response& res) {
            res.set_redirect(req.get_param_value("u"));
        });
        server.server().Get("/headers", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(
                req.get_header_value("Accept-Encoding") + "|" + req.get_header_value("Referer"),
                "text/plain");
        });
        server.start();
    }

    // The finished reply's error and body.
    std::pair<QNetworkReply::NetworkError, QByteArray> fetch(const QString& url,
                                                             const QString& referrer = {}) {
        QNetworkReply* reply = requests.send(RequestFactory::request(QUrl(url), referrer));
        if (!reply) {
            return {QNetworkReply::ProtocolUnknownError, {}};
        }
        EXPECT_TRUE(waitFor(runtime, [&] { return reply->isFinished(); }));
        const auto result = std::make_pair(reply->error(), reply->readAll());
        delete reply;
        return result;
    }

    QtRuntime runtime;
    RequestFactory requests;
    LocalHttpServer server;
};

TEST_F(Requests, RedirectsAreFollowedTwentyHopsAndOverHttpOnly) {
    struct Case {
        QString path;
        QNetworkReply::NetworkError error;
    };
    const Case cases[] = {
        {"/hop/20", QNetworkReply::NoError},
        {"/hop/21", QNetworkReply::TooManyRedirectsError},
        {"/to?u=" + server.url("/hop/0"), QNetworkReply::NoError},
        {"/to?u=ftp%3A%2F%2F127.0.0.1%2Fx", QNetworkReply::ProtocolUnknownError},
        {"/to?u=file%3A%2F%2F%2Fetc%2Fpasswd", QNetworkReply::ProtocolUnknownError},
    };
    for (const Case& c : cases) {
        const auto [error, body] = fetch(server.url(c.path));
        EXPECT_EQ(error, c.error) << c.path.toStdString();
        EXPECT_EQ(body, c.error == QNetworkReply::NoError ? QByteArray("end") : QByteArray())
            << c.path.toStdString();
    }
    EXPECT_EQ(requests.send(RequestFactory::request(QUrl("ftp://127.0.0.1/x"))), nullptr);
    EXPECT_EQ(requests.send(RequestFactory::request(QUrl("file:///etc/passwd"))), nullptr);
}

TEST_F(Requests, BodiesAreAskedForUncompressedAndTheRefererCarriesNoLineBreaks) {
    const auto [error, body] = fetch(server.url("/headers"), "http://a.example/x\r\nX-Evil: 1");
    EXPECT_EQ(error, QNetworkReply::NoError);
    EXPECT_EQ(body, "identity|http://a.example/xX-Evil: 1");
}

TEST_F(Requests, AServerWhoseCertificateIsNotTrustedIsRefused) {
    httplib::SSLServer tls(ORVELLIN_TLS_DIR "/self-signed.crt",
                           ORVELLIN_TLS_DIR "/self-signed.key");
    ASSERT_TRUE(tls.is_valid());
    tls.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("secret", "text/plain");
    });
    const int port = tls.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { tls.listen_after_bind(); });
    const auto [error, body] = fetch(QStringLiteral("https://127.0.0.1:%1/").arg(port));
    tls.stop();
    thread.join();
    EXPECT_EQ(error, QNetworkReply::SslHandshakeFailedError);
    EXPECT_TRUE(body.isEmpty());
}

TEST_F(Requests, AManagerOfItsOwnSharesTheCookieJarAndLeavesItToTheFactory) {
    {
        const std::unique_ptr<QNetworkAccessManager> own = requests.newManager();
        EXPECT_EQ(own->cookieJar(), static_cast<QNetworkCookieJar*>(&requests.cookieJar()));
    }
    // The jar outlived the manager that used it.
    EXPECT_TRUE(requests.cookieJar().cookiesForUrl(QUrl("http://a.example/")).isEmpty());
}

}  // namespace
