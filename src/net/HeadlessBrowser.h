#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QUrl>
#include <memory>

#include "platform/browser/Browser.h"

class QFile;
class QNetworkReply;
class RequestFactory;
class Runtime;
class UrlCache;

// The browser without a display: QtNetwork fetches (redirects followed, http and
// https only), the shared document model parses, and nothing runs scripts. Clicks
// follow links and submit forms; a click on an element with an onclick handler does
// nothing, since the handler cannot run. Frames are fetched after the page itself and
// complete as frames. Cookies live in the network's cookie jar, the run's only one.
// A response that is no page (a document file) goes into the URL cache when the browser
// has one, and is not read at all when it has none.
class HeadlessBrowser final : public Browser {
    Q_OBJECT
  public:
    HeadlessBrowser(Runtime& runtime, RequestFactory& requests, QObject* owner, const QString& name,
                    UrlCache* cache = nullptr);
    ~HeadlessBrowser() override;

    void navigate(const QString& url) override;
    void reload() override;
    bool back() override;
    bool forward() override;
    void setSilent(bool silent) override { silent_ = silent; }
    bool silent() const override { return silent_; }
    bool busy() const override { return busy_; }
    void click(const HtmlElement& element) override;
    void setInputValue(const HtmlElement& element, const QString& value) override;
    std::shared_ptr<const HtmlDocument> document() const override { return document_; }
    QString locationUrl() const override { return location_; }

    // Shows `body` as the page at `url`, as if it had been fetched with that Content-Type
    // (the whole path from the bytes to document complete, without the network).
    void showContent(const QByteArray& body, const QUrl& url, const QByteArray& contentType);

  private:
    struct Request {
        QUrl url;
        QByteArray method = "GET";
        QByteArray body;
        QString referrer;
    };
    static constexpr int kNewEntry = -1;
    static constexpr int kMaxFrames = 16;

    void load(const Request& request, int historyTarget);
    void loadBlank(int historyTarget);
    void received(quint64 serial);
    void finished(quint64 serial);
    void commit(std::shared_ptr<HtmlDocument> document, const QString& url, int historyTarget);
    void abortReply();
    // Writes what the reply has brought of a document to its file in the URL cache;
    // false without a cache or when the file cannot be written.
    bool storeDocument(QNetworkReply& reply);
    // Enters the complete document in the cache's index.
    void enterDocument(const QString& address);
    // Deletes the file of a document that did not complete.
    void dropDocument();
    void loadFrames();
    void followLink(const HtmlElement& link);
    void openInNewWindow(const QString& url);

    Runtime& runtime_;
    RequestFactory& requests_;
    UrlCache* cache_;
    std::unique_ptr<QFile> cacheFile_;
    QPointer<QNetworkReply> reply_;
    QByteArray body_;
    bool cut_ = false;
    int pendingHistoryTarget_ = kNewEntry;
    quint64 serial_ = 0;
    std::shared_ptr<HtmlDocument> document_;
    QString location_;
    QString title_;
    QList<QUrl> history_;
    int historyIndex_ = -1;
    QList<QPointer<QNetworkReply>> frames_;
    bool busy_ = false;
    bool silent_ = false;
};
