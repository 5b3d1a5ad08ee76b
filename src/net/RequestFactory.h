#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslCertificate>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class CookieJar;
class QNetworkReply;

// Every request of the run is made here, so that all follow one policy: http and https
// only, at most 20 redirects with the scheme checked on every hop (and no step down
// from https to http), TLS certificates
// verified, bodies sent as they are (Accept-Encoding: identity, so that Content-Length
// and the progress totals stay true), a Referer without line breaks, and the run's one
// cookie jar, which the browsers share.
class RequestFactory {
  public:
    static constexpr int kMaxRedirects = 20;

    RequestFactory();
    using ManagerMaker = std::function<std::unique_ptr<QNetworkAccessManager>()>;

    // Sends through `network` instead of a manager of its own, and makes the managers
    // of newManager() with `makeManager` (tests give fake ones).
    explicit RequestFactory(std::unique_ptr<QNetworkAccessManager> network,
                            ManagerMaker makeManager = {});
    ~RequestFactory();
    RequestFactory(const RequestFactory&) = delete;
    RequestFactory& operator=(const RequestFactory&) = delete;

    // The run's cookie jar: a web login counts for every request that follows.
    CookieJar& cookieJar() const { return *jar_; }

    static bool isWebAddress(const QUrl& url);
    // A request for `url` sent with `referrer` (none when empty).
    static QNetworkRequest request(const QUrl& url, const QString& referrer = {});
    // Sends `request` with `method` (GET, HEAD, POST or another verb) through `network`,
    // the shared manager when null; nullptr, and nothing sent, when its address is not
    // http or https. A redirect to another scheme aborts the reply.
    QNetworkReply* send(const QNetworkRequest& request, const QByteArray& method = "GET",
                        const QByteArray& body = {}, QNetworkAccessManager* network = nullptr);
    // Ends `reply` without a word to `listener` (Qt raises an aborted reply's error and
    // finished signals at once) and deletes it later, never inside its own signal.
    // `reply` is null afterwards.
    static void abandon(QPointer<QNetworkReply>& reply, const QObject* listener);
    // A manager of its own (for a proxy that must not route the other requests) that
    // shares the cookie jar.
    std::unique_ptr<QNetworkAccessManager> newManager() const;
    // Trusts these certificate authorities besides the system's (a test's own).
    void trustAuthorities(const QList<QSslCertificate>& authorities);

  private:
    std::unique_ptr<QNetworkAccessManager> network_;
    CookieJar* jar_;
    QList<QSslCertificate> authorities_;
    ManagerMaker makeManager_;
};
