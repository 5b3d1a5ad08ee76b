#include "download/TransferEnding.h"

#include "download/DownloadEntry.h"
#include "download/DownloadHost.h"
#include "download/DownloadList.h"
#include "sys/SoundCue.h"

void AnnounceTransferEnd(DownloadHost& host, const DownloadEntry& entry,
                         const DownloadOptions& options, bool xmlIsWebPage) {
    if (!entry.isValid() || host.closing()) {
        return;
    }
    const bool webPage = IsWebPageType(entry.type(), xmlIsWebPage);
    if (options.soundNotice) {
        if (webPage) {
            host.playCue(kCueWebPage);
        }
        if (entry.state() == EntryState::Failed) {
            host.playCue(kCueFailed);
        }
    }
    if (options.autoLogin && webPage) {
        host.RunWebLogin(false);
    }
}
