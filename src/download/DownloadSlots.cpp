#include "download/DownloadSlots.h"

#include <QPointer>

#include "net/Downloader.h"
#include "platform/runtime/Runtime.h"

DownloadSlots::DownloadSlots(QObject* owner, Runtime& runtime, RequestFactory& requests,
                             SlotEvents& events, Dispatch dispatch, QNetworkAccessManager* network)
    : owner_(owner),
      runtime_(runtime),
      requests_(requests),
      events_(events),
      dispatch_(std::move(dispatch)),
      network_(network) {}

DownloadSlots::~DownloadSlots() {
    releaseAll();
}

bool DownloadSlots::inUse(int slot) const {
    return valid(slot) && records_[size_t(slot)].downloader != nullptr;
}

int DownloadSlots::inUseCount(int last) const {
    int count = 0;
    for (int slot = 1; slot <= last && slot <= kSlots; ++slot) {
        count += inUse(slot) ? 1 : 0;
    }
    return count;
}

quint64 DownloadSlots::entryOf(int slot) const {
    return inUse(slot) ? records_[size_t(slot)].entryId : 0;
}

template <class Event>
void DownloadSlots::post(int slot, quint64 serial, Event event) {
    runtime_.post([this, alive = std::weak_ptr<const bool>(alive_), slot, serial, event] {
        if (!alive.expired() && records_[size_t(slot)].serial == serial && inUse(slot)) {
            dispatch_(event);
        }
    });
}

Downloader& DownloadSlots::occupy(int slot, quint64 entryId) {
    release(slot);
    Record& record = records_[size_t(slot)];
    const quint64 serial = ++record.serial;
    record.entryId = entryId;
    record.downloader =
        new Downloader(owner_, QStringLiteral("Downloader1"), runtime_, requests_, network_);
    Downloader& downloader = *record.downloader;
    downloader.DownloadProgress = [this, slot, serial](qint64 cur, qint64 max, const QString&) {
        post(slot, serial, [this, slot, cur, max] { events_.SlotProgress(slot, cur, max); });
    };
    downloader.DownloadComplete = [this, slot, serial](qint64 cur, qint64 max, const QString&) {
        post(slot, serial, [this, slot, cur, max] { events_.SlotComplete(slot, cur, max); });
    };
    downloader.DownloadError = [this, slot, serial](const QString&, const QString&) {
        post(slot, serial, [this, slot] { events_.SlotError(slot); });
    };
    return downloader;
}

void DownloadSlots::release(int slot) {
    if (!inUse(slot)) {
        return;
    }
    Record& record = records_[size_t(slot)];
    Downloader* downloader = record.downloader;
    record.downloader = nullptr;
    record.entryId = 0;
    ++record.serial;
    downloader->DownloadProgress = [](qint64, qint64, const QString&) {};
    downloader->DownloadComplete = [](qint64, qint64, const QString&) {};
    downloader->DownloadError = [](const QString&, const QString&) {};
    downloader->CancelAsyncRead();
    // Its destruction stops the watchdog; the owner deletes it first at the window's end.
    runtime_.post([doomed = QPointer<Downloader>(downloader)] { delete doomed.data(); });
}

void DownloadSlots::releaseAll() {
    for (int slot = 1; slot <= kSlots; ++slot) {
        release(slot);
    }
}
