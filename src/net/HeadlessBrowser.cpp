#include "net/HeadlessBrowser.h"

#include <QFile>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "net/RequestFactory.h"
#include "platform/browser/FormSubmission.h"
#include "platform/browser/HtmlBounds.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/browser/PageText.h"
#include "platform/cache/UrlCache.h"
#include "platform/runtime/Runtime.h"

namespace {

const QString kBlank = QStringLiteral("about:blank");
// Pages are asked for as the desktop browser asks for them.
const QByteArray kUserAgent = QByteArrayLiteral(
    "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/102.0.0.0 Safari/537.36");

bool isHttp(const QUrl& url) {
    return Browser::isLoadable(url) && url.toString() != kBlank;
}

QNetworkRequest requestFor(const QUrl& url, const QString& referrer) {
    QNetworkRequest request =
        RequestFactory::request(url, referrer == kBlank ? QString() : referrer);
    request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
    return request;
}

// Links and submit controls act on the clicked element or an ancestor; an onclick
// handler on the way would run first, and it cannot run here.
HtmlElement activator(const HtmlElement& clicked, bool& scripted) {
    scripted = false;
    for (HtmlElement element = clicked; element; element = element.parent()) {
        scripted = scripted || element.hasAttribute(u"onclick");
        const QString tag = element.tagName();
        if (((tag == u"A" || tag == u"AREA") && element.hasAttribute(u"href")) ||
            FormSubmission::isSubmitter(element)) {
            return element;
        }
    }
    return {};
}

}  // namespace

HeadlessBrowser::HeadlessBrowser(Runtime& runtime, RequestFactory& requests, QObject* owner,
                                 const QString& name, UrlCache* cache)
    : Browser(owner), runtime_(runtime), requests_(requests), cache_(cache) {
    setObjectName(name);
}

HeadlessBrowser::~HeadlessBrowser() {
    abortReply();
    for (const auto& frame : std::as_const(frames_)) {
        if (frame) {
            frame->disconnect(this);
            frame->abort();
            frame->deleteLater();
        }
    }
}

void HeadlessBrowser::navigate(const QString& url) {
    const QUrl target(url.trimmed());
    if (!isLoadable(target)) {
        return;  // stays where it is
    }
    if (target.toString() == kBlank) {
        Q_EMIT beforeNavigate(kBlank);
        loadBlank(kNewEntry);
        return;
    }
    load(Request{target, "GET", {}, {}}, kNewEntry);
}

void HeadlessBrowser::reload() {
    if (historyIndex_ < 0) {
        return;
    }
    const QUrl url = history_.at(historyIndex_);
    if (url.toString() == kBlank) {
        loadBlank(historyIndex_);
    } else {
        load(Request{url, "GET", {}, {}}, historyIndex_);
    }
}

bool HeadlessBrowser::back() {
    if (historyIndex_ <= 0) {
        return false;
    }
    const QUrl url = history_.at(historyIndex_ - 1);
    if (url.toString() == kBlank) {
        Q_EMIT beforeNavigate(kBlank);
        loadBlank(historyIndex_ - 1);
    } else {
        load(Request{url, "GET", {}, {}}, historyIndex_ - 1);
    }
    return true;
}

bool HeadlessBrowser::forward() {
    if (historyIndex_ + 1 >= history_.size()) {
        return false;
    }
    const QUrl url = history_.at(historyIndex_ + 1);
    if (url.toString() == kBlank) {
        Q_EMIT beforeNavigate(kBlank);
        loadBlank(historyIndex_ + 1);
    } else {
        load(Request{url, "GET", {}, {}}, historyIndex_ + 1);
    }
    return true;
}

void HeadlessBrowser::loadBlank(int historyTarget) {
    abortReply();
    const quint64 serial = ++serial_;
    busy_ = true;
    // Completes at once, from the event loop like every other completion.
    runtime_.post([this, serial, historyTarget, guard = QPointer<HeadlessBrowser>(this)] {
        if (guard && serial == serial_) {
            commit(HtmlDocument::blank(), kBlank, historyTarget);
        }
    });
}

void HeadlessBrowser::load(const Request& request, int historyTarget) {
    if (!isHttp(request.url)) {
        return;
    }
    if (historyTarget == kNewEntry || historyTarget != historyIndex_) {
        Q_EMIT beforeNavigate(request.url.toString());
    }
    abortReply();
    const quint64 serial = ++serial_;
    busy_ = true;
    pendingHistoryTarget_ = historyTarget;
    body_.clear();
    cut_ = false;
    QNetworkRequest networkRequest = requestFor(request.url, request.referrer);
    if (request.method == "POST") {
        networkRequest.setHeader(QNetworkRequest::ContentTypeHeader,
                                 QByteArrayLiteral("application/x-www-form-urlencoded"));
    }
    QNetworkReply* reply = requests_.send(networkRequest, request.method, request.body);
    reply_ = reply;
    Q_EMIT statusTextChange(request.url.toString());
    connect(reply, &QNetworkReply::readyRead, this, [this, serial] { received(serial); });
    connect(reply, &QNetworkReply::finished, this, [this, serial] { finished(serial); });
}

void HeadlessBrowser::received(quint64 serial) {
    if (serial != serial_ || !reply_ || cut_) {
        return;
    }
    const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QByteArray type = reply_->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    if (status.isValid() && !PageText::isHtml(type)) {
        // No page to parse (a document file, say): into the cache, or not read at all.
        if (!storeDocument(*reply_)) {
            cut_ = true;
            dropDocument();
            reply_->abort();
        }
        return;
    }
    body_ += reply_->read(HtmlBounds::kMaxBytes - body_.size() + 1);
    if (body_.size() > HtmlBounds::kMaxBytes) {
        cut_ = true;  // the parser would cut it there anyway
        reply_->abort();
    }
}

void HeadlessBrowser::finished(quint64 serial) {
    QNetworkReply* reply = reply_;
    if (serial != serial_ || !reply) {
        return;
    }
    reply_ = nullptr;
    reply->deleteLater();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QByteArray type = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    const QString url = reply->url().toString();
    const bool stored = status.isValid() && !PageText::isHtml(type);
    if (stored && !cut_ && reply->error() == QNetworkReply::NoError && storeDocument(*reply)) {
        enterDocument(url);
    }
    dropDocument();
    if (!cut_ && !stored) {
        body_ += reply->readAll();
    }
    // A redirect that was not followed (another scheme, too many) fails the load.
    const int code = status.toInt();
    const bool refused = (reply->error() == QNetworkReply::OperationCanceledError && !cut_) ||
                         (code >= 300 && code < 400);
    std::shared_ptr<HtmlDocument> document;
    if (status.isValid() && PageText::isHtml(type) && !refused) {
        // An HTTP error page is a page too; only a load without response has none.
        document = HtmlDocument::parse(PageText::toUtf8(body_, type), url);
    }
    body_.clear();
    commit(std::move(document), url, pendingHistoryTarget_);
}

void HeadlessBrowser::showContent(const QByteArray& body, const QUrl& url,
                                  const QByteArray& contentType) {
    abortReply();
    ++serial_;
    busy_ = true;
    std::shared_ptr<HtmlDocument> document;
    if (PageText::isHtml(contentType)) {
        document = HtmlDocument::parse(PageText::toUtf8(body, contentType), url.toString());
    }
    commit(std::move(document), url.toString(), kNewEntry);
}

void HeadlessBrowser::commit(std::shared_ptr<HtmlDocument> document, const QString& url,
                             int historyTarget) {
    document_ = std::move(document);
    location_ = url;
    if (historyTarget == kNewEntry) {
        history_ = history_.mid(0, historyIndex_ + 1);
        history_.append(QUrl(url));
        historyIndex_ = int(history_.size()) - 1;
    } else {
        historyIndex_ = historyTarget;
    }
    busy_ = false;
    const QString title = document_ ? document_->title() : QString();
    if (title != title_) {
        title_ = title;
        Q_EMIT titleChange(title);
    }
    Q_EMIT statusTextChange(QString());
    const quint64 serial = serial_;
    Q_EMIT documentComplete(true, url);
    if (serial == serial_) {
        loadFrames();
    }
}

void HeadlessBrowser::abortReply() {
    dropDocument();
    if (QNetworkReply* reply = reply_) {
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    for (const auto& frame : std::as_const(frames_)) {
        if (frame) {
            frame->disconnect(this);
            frame->abort();
            frame->deleteLater();
        }
    }
    frames_.clear();
}

bool HeadlessBrowser::storeDocument(QNetworkReply& reply) {
    if (!cache_) {
        return false;
    }
    if (!cacheFile_) {
        cacheFile_ = std::make_unique<QFile>(cache_->newFilePath(reply.url().toString()));
        if (cacheFile_->fileName().isEmpty() ||
            !cacheFile_->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            return false;
        }
    }
    const QByteArray bytes = reply.readAll();
    return cacheFile_->isOpen() && cacheFile_->write(bytes) == bytes.size();
}

void HeadlessBrowser::enterDocument(const QString& address) {
    if (cacheFile_->flush() && cache_->add(address, cacheFile_->fileName())) {
        cacheFile_.reset();
    }
}

void HeadlessBrowser::dropDocument() {
    // A file this browser did not open (its name was taken meanwhile) is not its own.
    if (cacheFile_ && cacheFile_->isOpen()) {
        cacheFile_->remove();
    }
    cacheFile_.reset();
}

void HeadlessBrowser::loadFrames() {
    if (!document_) {
        return;
    }
    QList<HtmlElement> sources;
    for (const QString& tag : {QStringLiteral("iframe"), QStringLiteral("frame")}) {
        for (const HtmlElement element : document_->elementsByTagName(tag)) {
            sources.append(element);
        }
    }
    const quint64 serial = serial_;
    for (const HtmlElement& element : std::as_const(sources)) {
        const QUrl url = document_->baseUrl().resolved(QUrl(element.attribute(u"src").trimmed()));
        if (!isHttp(url) || frames_.size() >= kMaxFrames) {
            continue;
        }
        QNetworkReply* reply = requests_.send(requestFor(url, location_));
        frames_.append(reply);
        connect(reply, &QNetworkReply::finished, this, [this, reply, serial] {
            frames_.removeAll(reply);
            reply->deleteLater();
            if (serial == serial_) {
                Q_EMIT documentComplete(false, reply->url().toString());
            }
        });
    }
}

void HeadlessBrowser::click(const HtmlElement& element) {
    if (!document_ || element.document() != document_.get()) {
        return;  // an element of a page no longer shown
    }
    bool scripted = false;
    const HtmlElement target = activator(element, scripted);
    if (!target || scripted) {
        return;
    }
    if (FormSubmission::isSubmitter(target)) {
        if (const auto submission = FormSubmission::build(target)) {
            load(Request{submission->url, submission->method, submission->body, location_},
                 kNewEntry);
        }
        return;
    }
    followLink(target);
}

void HeadlessBrowser::followLink(const HtmlElement& link) {
    const QString href = link.href();
    const QUrl url(href);
    if (!isHttp(url)) {
        return;  // script links and other schemes go nowhere
    }
    QString frame = link.attribute(u"target").trimmed().toLower();
    if (frame.isEmpty()) {
        frame =
            document_->elementsByTagName(u"base").at(0).attribute(u"target").trimmed().toLower();
    }
    if (!frame.isEmpty() && frame != u"_self" && frame != u"_top" && frame != u"_parent") {
        openInNewWindow(href);
        return;
    }
    load(Request{url, "GET", {}, location_}, kNewEntry);
}

void HeadlessBrowser::openInNewWindow(const QString& url) {
    // There is no other window to open: the page comes into this browser, unless the
    // handler already navigated it.
    bool handled = false;
    const quint64 serial = serial_;
    Q_EMIT newWindow(url, &handled);
    if (serial == serial_) {
        navigate(url);
    }
}

void HeadlessBrowser::setInputValue(const HtmlElement& element, const QString& value) {
    if (document_ && element.document() == document_.get()) {
        document_->setValue(element, value);
    }
}
