#include "support/FakeNetwork.h"

#include <algorithm>

#include "support/FakeReply.h"

std::unique_ptr<QNetworkAccessManager> FakeNetwork::owned(Runtime& runtime, FakeNetwork*& made) {
    auto network = std::make_unique<FakeNetwork>(runtime);
    made = network.get();
    return network;
}

FakeNetwork::FakeNetwork(Runtime& runtime) : runtime_(runtime) {}

void FakeNetwork::serve(const QString& url, const FakeResponse& response) {
    answers_[QUrl(url)].append(response);
}

void FakeNetwork::hang(const QString& url) {
    serve(url, {.headersAtMs = -1, .endAtMs = -1});
}

int FakeNetwork::running() const {
    const QList<FakeReply*> replies = findChildren<FakeReply*>();
    return int(std::count_if(replies.begin(), replies.end(),
                             [](const FakeReply* reply) { return !reply->isFinished(); }));
}

FakeResponse FakeNetwork::next(const QUrl& url) {
    QList<FakeResponse>& queue = answers_[url];
    if (queue.isEmpty()) {
        return {.error = QNetworkReply::ConnectionRefusedError, .headersAtMs = -1};
    }
    return queue.size() > 1 ? queue.takeFirst() : queue.first();
}

std::unique_ptr<QNetworkAccessManager> FakeNetwork::sibling() {
    auto network = std::make_unique<FakeNetwork>(runtime_);
    network->answering_ = this;
    return network;
}

QNetworkReply* FakeNetwork::createRequest(Operation operation, const QNetworkRequest& request,
                                          QIODevice* outgoingData) {
    if (answering_) {
        return answering_->createRequest(operation, request, outgoingData);
    }
    requests_.append({request, runtime_.now()});
    return new FakeReply(operation, request, next(request.url()), runtime_, this);
}
