#include "download/DownloadScheduler.h"

#include <cmath>

#include "download/DownloadEntry.h"
#include "download/DownloadHost.h"
#include "download/DownloadList.h"
#include "download/DownloadListOperations.h"
#include "download/DownloadRunState.h"
#include "download/EntryNaming.h"
#include "download/NumberedNames.h"
#include "download/ParallelMethod.h"
#include "download/SingleConnectionMethod.h"
#include "platform/controls/ListView.h"
#include "platform/runtime/Runtime.h"
#include "sys/SoundCue.h"

namespace {

constexpr int kFailureLimit = 5;
// The automatic re-download's choice box.
enum AutoRequeueChoice { kFailed = 0, kWebPages = 1, kBoth = 2 };

}  // namespace

DownloadScheduler::DownloadScheduler(Runtime& runtime, Dialogs& dialogs, ListView& list,
                                     DownloadRunState& state, SingleConnectionMethod& single,
                                     ParallelMethod& parallel, DownloadHost& host)
    : runtime_(runtime),
      dialogs_(dialogs),
      list_(list),
      state_(state),
      single_(single),
      parallel_(parallel),
      host_(host) {}

bool DownloadScheduler::DownloadActive() const {
    return host_.downloadTimerOn() || single_.executing() || parallel_.slots().inUseCount() > 0;
}

int DownloadScheduler::CountDownloaderSlots() const {
    return 1 + parallel_.slots().inUseCount();
}

void DownloadScheduler::PlayCue(const DownloadOptions& options, int number) {
    if (options.soundNotice) {
        host_.playCue(number);
    }
}

DownloadEntry DownloadScheduler::PickNextEntry(const DownloadOptions& options, bool makeFolder) {
    for (int position = 1; position <= list_.count(); ++position) {
        DownloadEntry entry(list_, list_.at(position));
        if (entry.state() != EntryState::Waiting) {
            continue;
        }
        CleanEntryName(entry);
        if ((!makeFolder || PrepareEntryFolder(entry, dialogs_)) &&
            确定是需要下载(entry, options.duplicatePolicy)) {
            return entry;
        }
    }
    return DownloadEntry(list_, nullptr);
}

void DownloadScheduler::StartOnFreeSlots(const DownloadOptions& options) {
    for (int slot = 1; slot <= options.slotCount; ++slot) {
        if (parallel_.slots().inUse(slot)) {
            continue;
        }
        DownloadEntry entry = PickNextEntry(options, true);
        if (!entry.isValid()) {
            continue;
        }
        entry.setState(EntryState::Downloading);
        QString name;
        const QString target = 重命名保存路径(entry.folder(), entry.name(), entry.type(),
                                              options.duplicatePolicy, name);
        entry.setName(name);
        parallel_.多线程下载(slot, entry.id(), 选择url(entry.addresses()), target);
    }
}

// The single connection makes the folder itself, once the response's headers told the
// type; its transfer runs to its end inside this tick.
void DownloadScheduler::StartOnSingleConnection(const DownloadOptions& options) {
    if (state_.downloadBusy) {
        return;
    }
    DownloadEntry entry = PickNextEntry(options, false);
    if (!entry.isValid()) {
        return;
    }
    entry.setState(EntryState::Downloading);
    if (options.followEntry) {
        list_.ensureVisible(entry.row());
    }
    entry.setSizeText(QString());
    entry.setReceivedText(QString());
    entry.setProgressText(QString());
    single_.Inet下载当前文件(entry.id());
}

void DownloadScheduler::DownloadTick() {
    if (list_.count() == 0) {
        host_.setDownloadTimer(false);
        return;
    }
    const DownloadOptions options = host_.options();
    if (std::abs(runtime_.now() - state_.lastTransferEnd) <= options.pauseSeconds) {
        return;
    }
    if (options.method == 1) {
        StartOnSingleConnection(options);
    } else {
        StartOnFreeSlots(options);
    }
}

void DownloadScheduler::SupervisorTick() {
    const DownloadOptions options = host_.options();
    const bool finished = 检测是否下载列表完毕(list_);
    if (finished) {
        if (host_.downloadTimerOn()) {
            host_.setDownloadTimer(false);
            PlayCue(options, kCueRunEnded);
        }
    }
    host_.showRunState(finished || !host_.downloadTimerOn(), host_.downloadTimerOn());
    if (options.method == 1) {
        if (!single_.executing() && !host_.downloadTimerOn()) {
            state_.downloadBusy = false;
        }
    } else {
        if (parallel_.slots().inUseCount(options.slotCount) > 0) {
            state_.downloadBusy = true;
        }
        if (!host_.downloadTimerOn()) {
            state_.downloadBusy = false;
        }
    }
    host_.showStatusCounts(StatusCountsText(list_));
    if (options.autoStart && 统计未下载项数目(list_) >= 1) {
        host_.setDownloadTimer(true);
    }
    if (options.autoRequeue && !host_.downloadTimerOn()) {
        if (options.requeueChoice == kFailed || options.requeueChoice == kBoth) {
            RequeueEntries(list_, RequeueChoice::Failed);
        }
        if (options.requeueChoice == kWebPages || options.requeueChoice == kBoth) {
            RequeueEntries(list_, RequeueChoice::WebPages);
        }
        host_.setDownloadTimer(true);
    }
    if (options.failureStop && CountErrorOrPageEntries(list_) >= kFailureLimit &&
        host_.downloadTimerOn()) {
        host_.setDownloadTimer(false);
        PlayCue(options, kCueRunEnded);
    }
}

void DownloadScheduler::StopDownload() {
    host_.clearAutomatics();
    single_.Cancel();
    host_.setDownloadTimer(false);
    state_.downloadBusy = false;
    single_.Cancel();
    parallel_.slots().releaseAll();
    for (int position = 1; position <= list_.count(); ++position) {
        DownloadEntry entry(list_, list_.at(position));
        if (entry.state() == EntryState::Downloading) {
            entry.setState(EntryState::Failed);
        }
    }
    state_.downloadBusy = false;
}
