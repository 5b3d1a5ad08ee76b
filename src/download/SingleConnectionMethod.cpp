#include "download/SingleConnectionMethod.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>

#include "download/DownloadEntry.h"
#include "download/DownloadHost.h"
#include "download/DownloadList.h"
#include "download/DownloadRunState.h"
#include "download/EntryFilePath.h"
#include "download/EntryNaming.h"
#include "download/EntryTypeCorrection.h"
#include "download/NumberedNames.h"
#include "download/ResponseHeaders.h"
#include "download/TransferEnding.h"
#include "net/PartFile.h"
#include "net/RequestFactory.h"
#include "platform/controls/ListView.h"
#include "platform/runtime/Runtime.h"
#include "sys/FileSystem.h"

namespace {

constexpr qint64 kMegabyte = 1024 * 1024;
// What the reply may hold ahead of the loop: memory stays flat whatever the size.
constexpr qint64 kReadBufferBytes = 256 * 1024;
const QString kUnknownSize = QStringLiteral("未知");
const QString kFailedText = QStringLiteral("下载失败");
const QString kCancelledText = QStringLiteral("下载取消");
const QString kTooLarge = QStringLiteral("大文件，跳过");
const QString kCannotReplace = QStringLiteral("无法替换");
const QString kWaitAgain = QStringLiteral("等待重新下载");

// The texts of the transfer's states, by the codes the window has always shown.
QString stateText(int code) {
    static const char16_t* const kTexts[] = {
        u"0 无状态可报告。",
        u"1 正在查询所指定的主机的 IP 地址...",
        u"2 已成功地找到所指定的主机的 IP 地址。",
        u"3 正在与主机连接...",
        u"4 已与主机连接成功。",
        u"5 正在向主机发送请求...",
        u"6 发送请求已成功。",
        u"7 正在接收主机的响应...",
        u"8 已成功地接收到主机的响应。",
        u"9 正在解除与主机的连接...",
        u"10 已成功地与主机解除了连接。",
        u"11 与主机通讯时出现了错误:",
        u"12 该请求已经完成，并且所有数据均已接收到。",
    };
    return QString::fromUtf16(kTexts[code]);
}

// The announced length: a whole number of 0 or more, else unknown (0).
qint64 announcedLength(const QString& headerValue) {
    bool number = false;
    const qint64 length = headerValue.trimmed().toLongLong(&number);
    return number && length >= 0 ? length : 0;
}

// The value of a header line of the header text (the first of that name), or empty.
QString headerValue(const QString& headerText, const QString& name) {
    const QString key = name.toLower() + u':';
    for (const QString& raw : headerText.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.left(key.size()).toLower() == key) {
            return line.mid(key.size()).trimmed();
        }
    }
    return {};
}

}  // namespace

SingleConnectionMethod::SingleConnectionMethod(Runtime& runtime, Dialogs& dialogs,
                                               RequestFactory& requests, ListView& list,
                                               DownloadRunState& state, DownloadHost& host)
    : runtime_(runtime),
      dialogs_(dialogs),
      requests_(requests),
      list_(list),
      state_(state),
      host_(host),
      network_(requests.newManager()) {}

SingleConnectionMethod::~SingleConnectionMethod() {
    DropReply();
}

void SingleConnectionMethod::DropReply() {
    RequestFactory::abandon(reply_, network_.get());
}

void SingleConnectionMethod::Cancel() {
    DropReply();
}

bool SingleConnectionMethod::Cancelled() const {
    return !state_.downloadBusy || host_.closing() || runtime_.quitRequested();
}

void SingleConnectionMethod::ShowState(int code) {
    if (code == 11 && reply_) {
        host_.showTransferState(stateText(code) + QString::number(reply_->error()) + u':' +
                                reply_->errorString());
    } else {
        host_.showTransferState(stateText(code));
    }
}

// "System default" is a direct connection: like every other request of the program, the
// transfer does not read http_proxy from the environment.
void SingleConnectionMethod::ApplyProxy(const DownloadOptions& options) {
    if (options.proxyEnabled) {
        network_->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, options.proxyHost,
                                         quint16(options.proxyPort.trimmed().toUInt())));
    } else {
        network_->setProxy(QNetworkProxy::NoProxy);
    }
}

void SingleConnectionMethod::Inet下载当前文件(quint64 entryId) {
    DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    if (!entry.isValid()) {
        return;
    }
    if (executing_ || state_.downloadBusy) {
        entry.setState(EntryState::Waiting);
        entry.setSizeText(kWaitAgain);
        return;
    }
    state_.downloadBusy = true;
    Inet下载文件(entryId);
    state_.downloadBusy = false;
}

bool SingleConnectionMethod::Inet下载文件(quint64 entryId) {
    executing_ = true;
    lastGrowth_ = runtime_.now();
    const DownloadOptions options = host_.options();
    ApplyProxy(options);
    state_.downloadBusy = true;
    host_.showStatusText(QStringLiteral("正在下载:") + DownloadEntry::byId(list_, entryId).name());
    const QString headers = StartAndWaitForHeaders(DownloadEntry::byId(list_, entryId), options);
    // The entry is found again after every wait: it may have been removed meanwhile.
    if (DownloadEntry::byId(list_, entryId).isValid()) {
        Transfer(entryId, headers, options);
    }
    Ending(entryId, options);
    executing_ = false;
    const DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    return entry.isValid() && entry.state() == EntryState::Done;
}

void SingleConnectionMethod::Transfer(quint64 entryId, const QString& headers,
                                      const DownloadOptions& options) {
    DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    if (headers.isEmpty()) {
        entry.setState(EntryState::Failed);
        if (Cancelled()) {
            entry.setSizeText(kCancelledText);
        }
        return;
    }
    const qint64 length = announcedLength(headerValue(headers, QStringLiteral("Content-Length")));
    if (double(length) / kMegabyte > double(options.maxFileSizeMB)) {
        DropReply();
        entry.setState(EntryState::Done);
        entry.setProgressText(kTooLarge);
        return;
    }
    const QString extension =
        ExtensionFromResponseHeaders(headerValue(headers, QStringLiteral("Content-Type")),
                                     从网络文件Header获取ContentDisposition(headers));
    const QString target = PrepareTarget(entry, extension, options);
    if (target.isEmpty()) {
        DropReply();
        return;
    }
    const bool complete = length > 0 || StatusLineOk(headers)
                              ? Stream(entryId, target, length, options) == Outcome::Done
                              : (InetFetchWhole(entryId, target, options), true);
    entry = DownloadEntry::byId(list_, entryId);
    if (complete && entry.isValid()) {
        CorrectEntryType(entry);
    }
}

QString SingleConnectionMethod::PrepareTarget(DownloadEntry& entry, const QString& extension,
                                              const DownloadOptions& options) {
    CleanEntryName(entry);
    if (!PrepareEntryFolder(entry, dialogs_)) {
        return {};
    }
    const bool typeChanged = !extension.isEmpty() && extension != entry.type();
    if (!extension.isEmpty()) {
        entry.setType(extension);
    }
    // A new type names another file: under "跳过" it may exist already.
    if (typeChanged && options.duplicatePolicy == DuplicatePolicy::Skip &&
        !确定是需要下载(entry, DuplicatePolicy::Skip)) {
        return {};
    }
    QString target = EntryFilePath(entry);
    if (options.duplicatePolicy == DuplicatePolicy::Rename) {
        QString name;
        target = 重命名保存路径(entry.folder(), entry.name(), entry.type(), options.duplicatePolicy,
                                name);
        entry.setName(name);
    }
    // The complete body is renamed over the target: it must be a file in a folder that
    // takes new files. Nothing is deleted before the replacement is whole.
    const QFileInfo existing(target);
    if (existing.exists() &&
        (existing.isDir() || !QFileInfo(existing.absolutePath()).isWritable())) {
        const QString size = QString::number(existing.size());
        entry.setState(EntryState::Failed);
        entry.setSizeText(size);
        entry.setReceivedText(size);
        entry.setProgressText(kCannotReplace);
        return {};
    }
    return target;
}

QString SingleConnectionMethod::StartAndWaitForHeaders(const DownloadEntry& entry,
                                                       const DownloadOptions&) {
    const QString address = 选择url(entry.addresses()).trimmed();
    const QString referrer = entry.referrer().isEmpty() ? SiteRoot(address) : entry.referrer();
    DropReply();
    reply_ =
        requests_.send(RequestFactory::request(QUrl(address), referrer), "GET", {}, network_.get());
    if (!reply_) {
        return {};
    }
    reply_->setReadBufferSize(kReadBufferBytes);
    QObject::connect(reply_, &QNetworkReply::metaDataChanged, network_.get(),
                     [this] { ShowState(7); });
    QObject::connect(reply_, &QNetworkReply::finished, network_.get(), [this] {
        ShowState(reply_ && reply_->error() != QNetworkReply::NoError ? 11 : 12);
    });
    ShowState(3);
    runtime_.yield();
    const double start = runtime_.now();
    const auto headersArrived = [this] {
        const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const int code = status.toInt();
        // A redirect that is being followed is not the answer yet.
        return status.isValid() && (code < 300 || code >= 400 || reply_->isFinished());
    };
    while (reply_ && !headersArrived() && !reply_->isFinished()) {
        if (Cancelled() || runtime_.now() - start >= kHeaderWaitSeconds) {
            DropReply();
            return {};
        }
        runtime_.waitStep();
    }
    if (!reply_ || !headersArrived()) {
        return {};
    }
    const bool http2 = reply_->attribute(QNetworkRequest::Http2WasUsedAttribute).toBool();
    return ResponseHeaderText(
        http2 ? QStringLiteral("2") : QStringLiteral("1.1"),
        reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
        reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString(),
        reply_->rawHeaderPairs());
}

qint64 SingleConnectionMethod::ReadChunk(PartFile& part) {
    const QByteArray chunk = reply_->read(kChunkBytes);
    if (!chunk.isEmpty() && !part.write(chunk)) {
        return -1;
    }
    return chunk.size();
}

SingleConnectionMethod::Outcome SingleConnectionMethod::Stream(quint64 entryId,
                                                               const QString& target, qint64 length,
                                                               const DownloadOptions& options) {
    DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    entry.setSizeText(length > 0 ? QString::number(length) : kUnknownSize);
    entry.setReceivedText(QStringLiteral("0"));
    runtime_.yield();
    const bool targetExisted = QFileInfo::exists(target);
    PartFile part(LocalFilePath(target), reply_ ? reply_->rawHeader("Content-Encoding") : "");
    qint64 received = 0;
    const auto end = [&](EntryState state, const QString& sizeText) {
        DropReply();
        entry = DownloadEntry::byId(list_, entryId);
        entry.setState(state);
        entry.setSizeText(sizeText);
        return Outcome::Ended;
    };
    for (;;) {
        if (Cancelled()) {
            return end(EntryState::Failed, kCancelledText);
        }
        if (runtime_.now() - lastGrowth_ > kStallSeconds) {
            return end(EntryState::Failed, kFailedText);
        }
        if (!reply_) {
            return end(EntryState::Failed, kFailedText);
        }
        const qint64 read = ReadChunk(part);
        if (read < 0) {
            return end(EntryState::Failed, kFailedText);
        }
        if (read == 0) {
            if (!reply_->isFinished()) {
                runtime_.waitStep();
                continue;
            }
            // The body ends only when the reply has finished and nothing is left of it.
            if (reply_->error() != QNetworkReply::NoError || (length > 0 && received < length)) {
                return end(EntryState::Failed, kFailedText);
            }
            break;
        }
        received += read;
        lastGrowth_ = runtime_.now();
        entry = DownloadEntry::byId(list_, entryId);
        entry.setReceivedText(QString::number(received));
        if (length > 0) {
            entry.setProgressText(QString::number(received * 100 / length) + u'%');
            if (received >= length) {
                break;
            }
        } else if (double(received) / kMegabyte > double(options.maxFileSizeMB)) {
            DropReply();
            // The bytes so far stay only where they replace nothing.
            if (!targetExisted) {
                part.commit();
            }
            entry = DownloadEntry::byId(list_, entryId);
            entry.setState(EntryState::Done);
            entry.setProgressText(kTooLarge);
            return Outcome::Ended;
        }
        runtime_.yield();
    }
    DropReply();
    entry = DownloadEntry::byId(list_, entryId);
    if (!part.commit()) {
        entry.setState(EntryState::Failed);
        entry.setSizeText(kFailedText);
        return Outcome::Ended;
    }
    entry.setOwnedFile(target);
    entry.setState(EntryState::Done);
    if (entry.sizeText() == kUnknownSize) {
        entry.setSizeText(entry.receivedText());
        entry.setProgressText(QStringLiteral("100%"));
    }
    return Outcome::Done;
}

bool SingleConnectionMethod::InetFetchWhole(quint64 entryId, const QString& target,
                                            const DownloadOptions& options) {
    DropReply();
    runtime_.yield();
    DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    const QString headers = StartAndWaitForHeaders(entry, options);
    entry = DownloadEntry::byId(list_, entryId);
    if (headers.isEmpty()) {
        entry.setState(EntryState::Failed);
        return false;
    }
    const qint64 length = announcedLength(headerValue(headers, QStringLiteral("Content-Length")));
    if (Stream(entryId, target, length, options) != Outcome::Done) {
        return false;
    }
    entry = DownloadEntry::byId(list_, entryId);
    entry.setSizeText(QString::number(QFileInfo(target).size()));
    entry.setProgressText(QStringLiteral("100%"));
    return true;
}

void SingleConnectionMethod::Ending(quint64 entryId, const DownloadOptions& options) {
    DropReply();
    DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    host_.showStatusText(QStringLiteral("完成下载:") + entry.name());
    state_.lastTransferEnd = runtime_.now();
    // A program that ends hears no cue and logs in nowhere.
    if (!runtime_.quitRequested()) {
        AnnounceTransferEnd(host_, entry, options, true);
    }
}
