#pragma once

#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QUrl>
#include <memory>

#include "support/FakeResponse.h"

class Runtime;

// A request the fake network received, and when (runtime seconds).
struct FakeRequest {
    QNetworkRequest request;
    double time = 0;
};

// A network on the runtime's clock for tests on virtual time: every request gets a
// scripted reply (FakeReply) instead of a socket. Give it to a RequestFactory
// (RequestFactory(std::unique_ptr<QNetworkAccessManager>)) or straight to a component
// that takes a manager:
//
//   auto owned = std::make_unique<FakeNetwork>(runtime);
//   FakeNetwork& network = *owned;
//   RequestFactory requests(std::move(owned));
//   network.serve("http://files.test/a.pdf", FakeResponse::whole("%PDF-1.4"));
//   network.hang("http://files.test/b.pdf");
//
// Nothing happens inside the request itself: every signal comes from the runtime, at the
// response's times after the request.
class FakeNetwork final : public QNetworkAccessManager {
  public:
    explicit FakeNetwork(Runtime& runtime);
    // A fake network for a RequestFactory to own; `made` points at it.
    static std::unique_ptr<QNetworkAccessManager> owned(Runtime& runtime, FakeNetwork*& made);
    // Another manager (one with a proxy of its own, say) whose requests this network
    // answers and records.
    std::unique_ptr<QNetworkAccessManager> sibling();

    // Answers requests for `url` with `response`. Several calls queue answers for the
    // requests that follow (a first and a second attempt); the last one stays for every
    // later request. An address without answers refuses the connection at once
    // (ConnectionRefusedError, no headers).
    void serve(const QString& url, const FakeResponse& response);
    // Requests for `url` are never answered (until aborted).
    void hang(const QString& url);

    // Every request so far, in order.
    const QList<FakeRequest>& requests() const { return requests_; }
    // Replies that have neither finished nor been aborted.
    int running() const;

  protected:
    QNetworkReply* createRequest(Operation operation, const QNetworkRequest& request,
                                 QIODevice* outgoingData) override;

  private:
    FakeResponse next(const QUrl& url);

    Runtime& runtime_;
    FakeNetwork* answering_ = nullptr;
    QHash<QUrl, QList<FakeResponse>> answers_;
    QList<FakeRequest> requests_;
};
