#include "net/RequestFactory.h"

#include <QNetworkReply>
#include <QSslConfiguration>

#include "platform/browser/CookieJar.h"

namespace {

QByteArray withoutLineBreaks(QByteArray text) {
    text.replace('\r', QByteArray()).replace('\n', QByteArray());
    return text;
}

// A manager takes the jar as its child; the jar stays the factory's.
void shareJar(QNetworkAccessManager& network, CookieJar* jar) {
    QObject* owner = jar->parent();
    network.setCookieJar(jar);
    jar->setParent(owner);
}

}  // namespace

RequestFactory::RequestFactory() : RequestFactory(std::make_unique<QNetworkAccessManager>()) {}

RequestFactory::RequestFactory(std::unique_ptr<QNetworkAccessManager> network,
                               ManagerMaker makeManager)
    : network_(std::move(network)),
      jar_(new CookieJar(network_.get())),
      makeManager_(std::move(makeManager)) {
    shareJar(*network_, jar_);
}

RequestFactory::~RequestFactory() = default;

bool RequestFactory::isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https");
}

QNetworkRequest RequestFactory::request(const QUrl& url, const QString& referrer) {
    QNetworkRequest request(url);
    // Qt follows the hops itself: it refuses targets that are not http or https and a
    // step down from https to http. (Qt 6.4's user-verified policy loses the reply on
    // the second hop of a kept-alive connection: status 100 and no body.)
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    request.setSslConfiguration(tls);
    request.setRawHeader("Accept-Encoding", "identity");
    const QByteArray referer = withoutLineBreaks(referrer.toUtf8());
    if (!referer.isEmpty()) {
        request.setRawHeader("Referer", referer);
    }
    return request;
}

void RequestFactory::trustAuthorities(const QList<QSslCertificate>& authorities) {
    authorities_ += authorities;
}

QNetworkReply* RequestFactory::send(const QNetworkRequest& given, const QByteArray& method,
                                    const QByteArray& body, QNetworkAccessManager* network) {
    if (!isWebAddress(given.url())) {
        return nullptr;
    }
    QNetworkRequest request = given;
    if (!authorities_.isEmpty()) {
        QSslConfiguration tls = request.sslConfiguration();
        tls.addCaCertificates(authorities_);
        request.setSslConfiguration(tls);
    }
    QNetworkAccessManager& via = network ? *network : *network_;
    QNetworkReply* reply = nullptr;
    if (method == "GET") {
        reply = via.get(request);
    } else if (method == "HEAD") {
        reply = via.head(request);
    } else if (method == "POST") {
        reply = via.post(request, body);
    } else {
        reply = via.sendCustomRequest(request, method, body);
    }
    // Checked again on every hop, whatever the Qt version decides.
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply](const QUrl& to) {
        if (!isWebAddress(to)) {
            reply->abort();
        }
    });
    return reply;
}

void RequestFactory::abandon(QPointer<QNetworkReply>& reply, const QObject* listener) {
    if (!reply) {
        return;
    }
    QNetworkReply* ending = reply;
    reply = nullptr;
    ending->disconnect(listener);
    ending->abort();
    ending->deleteLater();
}

std::unique_ptr<QNetworkAccessManager> RequestFactory::newManager() const {
    std::unique_ptr<QNetworkAccessManager> network =
        makeManager_ ? makeManager_() : std::make_unique<QNetworkAccessManager>();
    shareJar(*network, jar_);
    return network;
}
