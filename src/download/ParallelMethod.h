#pragma once

#include <QString>

#include "download/DownloadSlots.h"

class DownloadHost;
class ListView;
class QNetworkAccessManager;
class QObject;
class RequestFactory;
class Runtime;
struct DownloadRunState;

// Download method 2: up to six transfers at once, one per slot, each on its own
// downloader. Starts a transfer on a slot and turns the downloader's events into the
// entry's state, progress texts, the size limit, the type correction, sound cues and
// the web login. Entries are found by their id, so a sort, a shuffle or a removal in
// the meantime never lets a transfer write into another entry's row.
class ParallelMethod final : private SlotEvents {
  public:
    ParallelMethod(QObject* owner, Runtime& runtime, RequestFactory& requests, ListView& list,
                   DownloadRunState& state, DownloadHost& host, DownloadSlots::Dispatch dispatch,
                   QNetworkAccessManager* network = nullptr);

    DownloadSlots& slots() { return slots_; }
    const DownloadSlots& slots() const { return slots_; }

    // Starts the entry's transfer of `address` into `target` on a free slot; the target's
    // placeholder is written first, so that names given later see it taken.
    void 多线程下载(int slot, quint64 entryId, const QString& address, const QString& target);

  private:
    void SlotProgress(int slot, qint64 curBytes, qint64 maxBytes) override;
    void SlotComplete(int slot, qint64 curBytes, qint64 maxBytes) override;
    void SlotError(int slot) override;
    // Writes the sizes and the percentage when the counts make sense; false otherwise.
    bool UpdateColumns(quint64 entryId, qint64 curBytes, qint64 maxBytes);

    Runtime& runtime_;
    ListView& list_;
    DownloadRunState& state_;
    DownloadHost& host_;
    DownloadSlots slots_;
};
