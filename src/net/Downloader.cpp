#include "net/Downloader.h"

#include <QNetworkReply>
#include <algorithm>

#include "net/PartFile.h"
#include "net/RequestFactory.h"
#include "platform/controls/Timer.h"
#include "platform/runtime/Runtime.h"
#include "sys/FileSystem.h"

namespace {

constexpr int kWatchdogMs = 1000;
constexpr int kFirstStatusThatFails = 400;
// What a reply may hold before the network thread stops reading from the socket: without
// a bound the body piles up in memory whenever the disk is slower than the network.
constexpr qint64 kReadBufferBytes = 128 * 1024;

QString preparedAddress(const QString& address) {
    return QString(address)
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"), Qt::CaseInsensitive)
        .trimmed();
}

}  // namespace

Downloader::Downloader(QObject* owner, const QString& name, Runtime& runtime,
                       RequestFactory& requests, QNetworkAccessManager* network)
    : QObject(owner),
      runtime_(runtime),
      requests_(requests),
      network_(network),
      watchdog_(new Timer(this, QStringLiteral("watchdog"), runtime, kWatchdogMs)) {
    setObjectName(name);
    watchdog_->onTick = [this] { watchdogTick(); };
}

Downloader::~Downloader() {
    end();
}

void Downloader::BeginDownload(const QString& address, const QString& saveFile,
                               const QString& referrer) {
    if (attempt_ > 0 || ended_) {
        return;  // one transfer per component
    }
    saveFile_ = saveFile;
    address_ = preparedAddress(address);
    referrer_ = referrer;
    lastChange_ = runtime_.now();
    watchdog_->start();
    startAttempt();
}

bool Downloader::CancelAsyncRead() {
    end();
    return false;
}

void Downloader::setUnannouncedLimit(qint64 bytes) {
    unannouncedLimit_ = bytes;
}

void Downloader::startAttempt() {
    ++attempt_;
    total_ = 0;
    received_ = 0;
    limitReported_ = false;
    QNetworkRequest request = RequestFactory::request(QUrl(address_), referrer_);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    reply_ = requests_.send(request, "GET", {}, network_);
    if (!reply_) {
        later(&Downloader::attemptFailed);  // not a web address
        return;
    }
    reply_->setReadBufferSize(kReadBufferBytes);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &Downloader::readHeaders);
    connect(reply_, &QNetworkReply::readyRead, this, &Downloader::readBody);
    connect(reply_, &QNetworkReply::downloadProgress, this, &Downloader::readProgress);
    connect(reply_, &QNetworkReply::finished, this, &Downloader::readEnd);
}

// Runs `step` from the event loop unless the transfer has ended (or the component gone)
// by then.
void Downloader::later(void (Downloader::*step)()) {
    runtime_.post([self = QPointer<Downloader>(this), step] {
        if (self && !self->ended_) {
            (self.data()->*step)();
        }
    });
}

void Downloader::readHeaders() {
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    total_ = length.isValid() ? std::max<qint64>(0, length.toLongLong()) : 0;
}

void Downloader::readBody() {
    if (!reply_) {
        return;
    }
    const QByteArray piece = reply_->readAll();
    if (piece.isEmpty()) {
        return;
    }
    received_ += piece.size();
    arrived_ += piece.size();
    if (!part_) {
        part_ = std::make_unique<PartFile>(LocalFilePath(saveFile_),
                                           reply_->rawHeader("Content-Encoding"));
    }
    if (!part_->write(piece)) {
        // The folder cannot take it: the rest is not worth fetching.
        RequestFactory::abandon(reply_, this);
        attemptFailed();
        return;
    }
    reportUnannouncedLimit();
}

// Without a total the host's size limit would never apply: past the limit, the body is
// reported once as a progress whose total is its present size.
void Downloader::reportUnannouncedLimit() {
    if (total_ == 0 && unannouncedLimit_ > 0 && received_ > unannouncedLimit_ && !limitReported_) {
        limitReported_ = true;
        if (DownloadProgress) {
            DownloadProgress(received_, received_, saveFile_);
        }
    }
}

void Downloader::readProgress(qint64, qint64 bytesTotal) {
    // Qt reports once more when the reply has finished, without Content-Length with the
    // received count as the total: that announces nothing, and the end follows at once.
    if (!reply_ || reply_->isFinished()) {
        return;
    }
    readBody();
    if (!reply_) {
        return;
    }
    if (bytesTotal > 0) {
        total_ = bytesTotal;
    }
    if (total_ > 0 && DownloadProgress) {
        DownloadProgress(received_, total_, saveFile_);
    }
}

void Downloader::readEnd() {
    readBody();
    if (!reply_) {
        return;
    }
    const bool whole = deliveredWholeBody(*reply_);
    RequestFactory::abandon(reply_, this);
    if (!whole || !part_->commit()) {
        attemptFailed();
        return;
    }
    const qint64 received = received_;
    const qint64 total = total_ > 0 ? total_ : received_;
    end();
    if (DownloadComplete) {
        DownloadComplete(received, total, saveFile_);
    }
}

// Only a body that is certainly whole may replace the target: a network error, an
// error status or a body shorter than announced (a dropped connection) is not.
bool Downloader::deliveredWholeBody(const QNetworkReply& reply) const {
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply.error() == QNetworkReply::NoError && status < kFirstStatusThatFails &&
           received_ > 0 && (total_ <= 0 || received_ == total_);
}

void Downloader::attemptFailed() {
    part_.reset();
    if (attempt_ == 1) {
        later(&Downloader::startAttempt);  // never inside the first reply's own signal
        return;
    }
    end();
    if (DownloadError) {
        DownloadError(saveFile_, QStringLiteral("无法下载"));
    }
}

void Downloader::watchdogTick() {
    if (arrived_ != lastSeen_) {
        lastSeen_ = arrived_;
        lastChange_ = runtime_.now();
        return;
    }
    if (runtime_.now() - lastChange_ < kStallSeconds) {
        return;
    }
    end();
    if (DownloadError) {
        DownloadError(saveFile_, QStringLiteral("超时"));
    }
}

void Downloader::end() {
    ended_ = true;
    watchdog_->stop();
    RequestFactory::abandon(reply_, this);
    part_.reset();
}
