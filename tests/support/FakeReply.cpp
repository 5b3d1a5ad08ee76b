#include "support/FakeReply.h"

#include <algorithm>
#include <cstring>

FakeReply::FakeReply(QNetworkAccessManager::Operation operation, const QNetworkRequest& request,
                     const FakeResponse& response, Runtime& runtime, QObject* parent)
    : QNetworkReply(parent), runtime_(runtime), response_(response) {
    setOperation(operation);
    setRequest(request);
    setUrl(request.url());
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    int last = 0;
    if (response_.headersAtMs >= 0) {
        at(response_.headersAtMs, [this] { sendHeaders(); });
        last = response_.headersAtMs;
        for (const FakeChunk& chunk : response_.chunks) {
            const int when = std::max(chunk.atMs, response_.headersAtMs);
            at(when, [this, bytes = chunk.bytes] { sendChunk(bytes); });
            last = std::max(last, when);
        }
    }
    if (response_.endAtMs >= 0) {
        at(std::max(last, response_.endAtMs), [this] { finish(response_.error); });
    }
}

FakeReply::~FakeReply() {
    cancelSteps();
}

void FakeReply::at(int ms, std::function<void()> step) {
    steps_.push_back(runtime_.callAfter(ms, std::move(step)));
}

void FakeReply::cancelSteps() {
    for (const Runtime::TimerId id : steps_) {
        runtime_.stopTimer(id);
    }
    steps_.clear();
}

void FakeReply::sendHeaders() {
    setAttribute(QNetworkRequest::HttpStatusCodeAttribute, response_.status);
    for (const auto& [name, value] : response_.headers) {
        setRawHeader(name, value);
    }
    if (response_.length >= 0) {
        setHeader(QNetworkRequest::ContentLengthHeader, response_.length);
    }
    Q_EMIT metaDataChanged();
}

void FakeReply::sendChunk(const QByteArray& bytes) {
    buffer_ += bytes;
    received_ += bytes.size();
    Q_EMIT readyRead();
    Q_EMIT downloadProgress(received_, response_.length);
}

void FakeReply::finish(NetworkError error) {
    cancelSteps();
    if (error != NoError) {
        setError(error, QStringLiteral("fake error %1").arg(int(error)));
        Q_EMIT errorOccurred(error);
    }
    setFinished(true);
    Q_EMIT downloadProgress(received_, response_.length >= 0 ? response_.length : received_);
    Q_EMIT finished();
}

void FakeReply::abort() {
    if (!isFinished()) {
        finish(OperationCanceledError);
    }
}

qint64 FakeReply::bytesAvailable() const {
    return buffer_.size() + QNetworkReply::bytesAvailable();
}

qint64 FakeReply::readData(char* data, qint64 maxSize) {
    const qint64 count = std::min<qint64>(maxSize, buffer_.size());
    std::memcpy(data, buffer_.constData(), size_t(count));
    buffer_.remove(0, count);
    return count;
}
