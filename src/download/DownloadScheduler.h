#pragma once

class Dialogs;
class DownloadEntry;
class DownloadHost;
class ListView;
class ParallelMethod;
class SingleConnectionMethod;
class Runtime;
struct DownloadOptions;
struct DownloadRunState;

// Works the download list off, driven by the window's two timers: the download tick
// starts transfers, one Waiting entry per free slot, after the pause since the last
// transfer ended; the supervisor tick notices the end of a run, restarts work when asked
// to, stops a run with too many failures or web pages, and keeps the busy flag and the
// status counts up to date.
class DownloadScheduler {
  public:
    DownloadScheduler(Runtime& runtime, Dialogs& dialogs, ListView& list, DownloadRunState& state,
                      SingleConnectionMethod& single, ParallelMethod& parallel, DownloadHost& host);

    // The download timer's tick.
    void DownloadTick();
    // The supervisor timer's tick.
    void SupervisorTick();
    // Stops everything: the automatic starts, the download timer, every transfer; the
    // entries that were downloading fail.
    void StopDownload();
    // True while downloads may be running: list operations that move rows or files
    // wait until it is false.
    bool DownloadActive() const;
    // The slot records in existence the way the window has always counted them: the
    // permanent one and one per transfer.
    int CountDownloaderSlots() const;

  private:
    // The first Waiting entry that must be downloaded, its name cleaned and, when
    // `makeFolder`, its folder made; entries found on disk under "跳过" are settled on
    // the way. Invalid when none.
    DownloadEntry PickNextEntry(const DownloadOptions& options, bool makeFolder);
    void StartOnSingleConnection(const DownloadOptions& options);
    void StartOnFreeSlots(const DownloadOptions& options);
    void PlayCue(const DownloadOptions& options, int number);

    Runtime& runtime_;
    Dialogs& dialogs_;
    ListView& list_;
    DownloadRunState& state_;
    SingleConnectionMethod& single_;
    ParallelMethod& parallel_;
    DownloadHost& host_;
};
