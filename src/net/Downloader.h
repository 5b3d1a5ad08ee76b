#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class PartFile;
class QNetworkAccessManager;
class QNetworkReply;
class RequestFactory;
class Runtime;
class Timer;

// An invisible component that fetches one web address into one file in the background
// and reports it through three events. The body streams to a hidden temporary file
// beside the target, which replaces the target as a whole only when the body is
// complete: the target (the two placeholder bytes its host wrote, or a file the user
// chose to overwrite) stays as it was on any other end. A watchdog ends a transfer
// that receives nothing for 300 seconds; a first attempt that did not deliver a
// complete body is followed by one second attempt through the same code.
//
// Decisions of this port:
// - counts are 64-bit; the announced total is the last total the reply reported;
// - a reply without a total that finished without error completes with what it
//   received (no second request), unless it received nothing;
// - a status of 400 or more delivered nothing: second attempt, then "无法下载";
// - with no total, a body that grows past the unannounced limit is reported as a
//   progress whose total equals the bytes received, so the host's size limit applies;
// - the referrer is sent (without line breaks);
// - the transfer ends with its one final event: the watchdog stops with it, so a host
//   that keeps the component no longer hears "超时" after a completion;
// - a body the server compressed although it was asked not to is stored decoded.
//
// No event is raised inside BeginDownload: a request that cannot be sent fails from the
// event loop, as a failed reply would.
class Downloader final : public QObject {
  public:
    static constexpr int kStallSeconds = 300;

    // Sends through `network`, the request factory's shared manager when null.
    Downloader(QObject* owner, const QString& name, Runtime& runtime, RequestFactory& requests,
               QNetworkAccessManager* network = nullptr);
    // Termination: the watchdog stops and the transfer is abandoned without an event.
    ~Downloader() override;

    // Starts the one transfer of this component: "&amp;" (any case) becomes "&", the
    // address is trimmed, and the fetch bypasses any cache. Writes nothing at the target
    // until the body is complete.
    void BeginDownload(const QString& address, const QString& saveFile, const QString& referrer);
    // Ends the running read without an event; always false.
    bool CancelAsyncRead();
    // See the class comment; 0 (the default) for none.
    void setUnannouncedLimit(qint64 bytes);

    // Progress of the running transfer, only when a total is known.
    std::function<void(qint64 curBytes, qint64 maxBytes, const QString& saveFile)> DownloadProgress;
    // The target holds exactly the received body.
    std::function<void(qint64 curBytes, qint64 maxBytes, const QString& saveFile)> DownloadComplete;
    // The transfer failed: "超时" (nothing received for 300 s) or "无法下载".
    std::function<void(const QString& saveFile, const QString& missCode)> DownloadError;

  private:
    void startAttempt();
    void later(void (Downloader::*step)());
    void readHeaders();
    void readBody();
    void reportUnannouncedLimit();
    void readProgress(qint64 bytesReceived, qint64 bytesTotal);
    void readEnd();
    bool deliveredWholeBody(const QNetworkReply& reply) const;
    void attemptFailed();
    void watchdogTick();
    // Ends the transfer without an event: watchdog off, reply abandoned, part removed.
    void end();

    Runtime& runtime_;
    RequestFactory& requests_;
    QNetworkAccessManager* network_;
    Timer* watchdog_;
    QString saveFile_;
    QString address_;
    QString referrer_;
    int attempt_ = 0;
    bool ended_ = false;
    // The running attempt's counts; the total is 0 while none was announced.
    qint64 total_ = 0;
    qint64 received_ = 0;
    bool limitReported_ = false;
    qint64 unannouncedLimit_ = 0;
    // The watchdog counts every byte of both attempts, so that a second attempt that
    // starts again from 0 still shows progress.
    qint64 arrived_ = 0;
    qint64 lastSeen_ = 0;
    double lastChange_ = 0;
    QPointer<QNetworkReply> reply_;
    std::unique_ptr<PartFile> part_;
};
