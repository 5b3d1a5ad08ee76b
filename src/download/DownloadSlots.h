#pragma once

#include <QString>
#include <array>
#include <functional>
#include <memory>

class Downloader;
class QNetworkAccessManager;
class QObject;
class RequestFactory;
class Runtime;

// What a slot's transfer reports, each call posted from the event loop with the slot.
class SlotEvents {
  public:
    virtual ~SlotEvents() = default;
    virtual void SlotProgress(int slot, qint64 curBytes, qint64 maxBytes) = 0;
    virtual void SlotComplete(int slot, qint64 curBytes, qint64 maxBytes) = 0;
    virtual void SlotError(int slot) = 0;
};

// The parallel slots 1 to 6, records that are reset rather than objects that come and
// go. A slot is in use while it holds a transfer. Releasing a slot frees it at once and
// raises its serial; its downloader is silenced, stopped and deleted later, never inside
// its own signal. Events reach the SlotEvents as posted calls that carry the serial of
// their transfer, so an event of a released transfer (aborting a reply raises its
// signals at once) never reaches the entry that the slot serves next.
class DownloadSlots {
  public:
    static constexpr int kSlots = 6;

    // Runs one event; the window counts it as its running code.
    using Dispatch = std::function<void(const std::function<void()>& event)>;

    // Transfers go through `network`, the request factory's shared manager when null.
    DownloadSlots(QObject* owner, Runtime& runtime, RequestFactory& requests, SlotEvents& events,
                  Dispatch dispatch, QNetworkAccessManager* network = nullptr);
    ~DownloadSlots();
    DownloadSlots(const DownloadSlots&) = delete;
    DownloadSlots& operator=(const DownloadSlots&) = delete;

    bool inUse(int slot) const;
    // The slots in use among 1 to `last`.
    int inUseCount(int last = kSlots) const;
    // The entry that the slot serves; 0 when free.
    quint64 entryOf(int slot) const;

    // Occupies a free slot for the entry with a new downloader, wired to the events.
    Downloader& occupy(int slot, quint64 entryId);
    void release(int slot);
    void releaseAll();

  private:
    struct Record {
        Downloader* downloader = nullptr;
        quint64 entryId = 0;
        quint64 serial = 0;
    };
    bool valid(int slot) const { return slot >= 1 && slot <= kSlots; }
    // Runs `event` later, unless the slot's transfer is no longer the one of `serial`.
    template <class Event>
    void post(int slot, quint64 serial, Event event);

    QObject* owner_;
    Runtime& runtime_;
    RequestFactory& requests_;
    SlotEvents& events_;
    Dispatch dispatch_;
    QNetworkAccessManager* network_;
    std::array<Record, kSlots + 1> records_{};  // index 0 is never used
    // Posted events outlive the slots only as calls that find this gone.
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};
