#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <functional>
#include <vector>

#include "platform/runtime/Runtime.h"
#include "support/FakeResponse.h"

// A reply of the fake network that plays a FakeResponse on the runtime's clock, with
// the signals of a real one in their order: metaDataChanged, then readyRead and
// downloadProgress for every chunk, errorOccurred and finished at the end. As in Qt
// 6.4, abort() raises errorOccurred (OperationCanceledError) and finished at once, and
// a reply without Content-Length reports its received count as the total when it ends.
class FakeReply final : public QNetworkReply {
  public:
    FakeReply(QNetworkAccessManager::Operation operation, const QNetworkRequest& request,
              const FakeResponse& response, Runtime& runtime, QObject* parent);
    ~FakeReply() override;

    void abort() override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

  protected:
    qint64 readData(char* data, qint64 maxSize) override;

  private:
    void at(int ms, std::function<void()> step);
    void sendHeaders();
    void sendChunk(const QByteArray& bytes);
    void finish(NetworkError error);
    void cancelSteps();

    Runtime& runtime_;
    FakeResponse response_;
    std::vector<Runtime::TimerId> steps_;
    QByteArray buffer_;
    qint64 received_ = 0;
};
