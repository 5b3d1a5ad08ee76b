#include "download/ParallelMethod.h"

#include <algorithm>

#include "download/DownloadEntry.h"
#include "download/DownloadHost.h"
#include "download/DownloadList.h"
#include "download/DownloadRunState.h"
#include "download/EntryNaming.h"
#include "download/EntryTypeCorrection.h"
#include "download/TransferEnding.h"
#include "net/Downloader.h"
#include "platform/controls/ListView.h"
#include "platform/runtime/Runtime.h"
#include "sys/SoundCue.h"

namespace {

const QString kFull = QStringLiteral("100%");
const QString kTooLarge = QStringLiteral("大文件，跳过");
constexpr qint64 kMegabyte = 1024 * 1024;

}  // namespace

ParallelMethod::ParallelMethod(QObject* owner, Runtime& runtime, RequestFactory& requests,
                               ListView& list, DownloadRunState& state, DownloadHost& host,
                               DownloadSlots::Dispatch dispatch, QNetworkAccessManager* network)
    : runtime_(runtime),
      list_(list),
      state_(state),
      host_(host),
      slots_(owner, runtime, requests, *this, std::move(dispatch), network) {}

void ParallelMethod::多线程下载(int slot, quint64 entryId, const QString& address,
                                const QString& target) {
    DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    if (!entry.isValid()) {
        return;
    }
    Downloader& downloader = slots_.occupy(slot, entryId);
    state_.downloadBusy = true;
    entry.setState(EntryState::Downloading);
    const DownloadOptions options = host_.options();
    if (options.followEntry) {
        list_.ensureVisible(entry.row());
    }
    entry.setSizeText(QString());
    entry.setReceivedText(QString());
    entry.setProgressText(QString());
    ReserveTarget(entry, target);
    // Without an announced size the received bytes meet the limit (a limit of 0 MB
    // leaves no file through).
    downloader.setUnannouncedLimit(std::max<qint64>(options.maxFileSizeMB * kMegabyte, 1));
    downloader.BeginDownload(address, target, entry.referrer());
}

bool ParallelMethod::UpdateColumns(quint64 entryId, qint64 curBytes, qint64 maxBytes) {
    DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    if (!entry.isValid() || maxBytes <= 0 || maxBytes < curBytes) {
        return false;
    }
    entry.setSizeText(QString::number(maxBytes));
    entry.setReceivedText(QString::number(curBytes));
    entry.setProgressText(QString::number(curBytes * 100 / maxBytes) + QLatin1Char('%'));
    return true;
}

void ParallelMethod::SlotProgress(int slot, qint64 curBytes, qint64 maxBytes) {
    const quint64 entryId = slots_.entryOf(slot);
    if (!UpdateColumns(entryId, curBytes, maxBytes)) {
        return;
    }
    if (double(maxBytes) / kMegabyte <= double(host_.options().maxFileSizeMB)) {
        return;
    }
    DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    entry.setState(EntryState::Done);
    entry.setProgressText(kTooLarge);
    state_.lastTransferEnd = runtime_.now();
    slots_.release(slot);
}

void ParallelMethod::SlotComplete(int slot, qint64 curBytes, qint64 maxBytes) {
    const quint64 entryId = slots_.entryOf(slot);
    UpdateColumns(entryId, curBytes, maxBytes);
    slots_.release(slot);
    DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    if (entry.isValid()) {
        const bool complete = entry.progressText() == kFull;
        entry.setState(complete ? EntryState::Done : EntryState::Failed);
        if (complete) {
            // The downloader put the whole body at the target path.
            entry.setOwnedFile(EntryFilePath(entry));
        }
        CorrectEntryType(entry);
        host_.showStatusText(QStringLiteral("完成下载:") + entry.name());
        AnnounceTransferEnd(host_, entry, host_.options(), false);
    }
    state_.lastTransferEnd = runtime_.now();
}

void ParallelMethod::SlotError(int slot) {
    const quint64 entryId = slots_.entryOf(slot);
    slots_.release(slot);
    DownloadEntry entry = DownloadEntry::byId(list_, entryId);
    if (entry.isValid()) {
        entry.setState(EntryState::Failed);
        if (host_.options().soundNotice) {
            host_.playCue(kCueFailed);
        }
    }
    state_.lastTransferEnd = runtime_.now();
}
