#pragma once

#include <QPointer>
#include <QString>
#include <memory>

class DownloadEntry;
class DownloadHost;
class Dialogs;
class ListView;
class PartFile;
class QNetworkAccessManager;
class QNetworkReply;
class RequestFactory;
class Runtime;
struct DownloadOptions;
struct DownloadRunState;

// Download method 1: one entry at a time over a network manager of its own, so that its
// proxy routes nothing else. It looks at the response's headers before anything is
// written (size limit, the real type, the status line), streams the body in chunks
// into a hidden temporary file that replaces the target only when complete, watches
// for a stall and for the user's stop, and fetches the whole body again when the
// headers promise nothing. The transfer runs to its end inside the call, letting
// events run while it waits.
class SingleConnectionMethod {
  public:
    static constexpr int kHeaderWaitSeconds = 30;
    static constexpr int kStallSeconds = 120;
    static constexpr qint64 kChunkBytes = 2048;

    SingleConnectionMethod(Runtime& runtime, Dialogs& dialogs, RequestFactory& requests,
                           ListView& list, DownloadRunState& state, DownloadHost& host);
    ~SingleConnectionMethod();

    // Whether a transfer is running.
    bool executing() const { return executing_; }
    // Ends the running request; the transfer notices at its next check.
    void Cancel();
    // Runs the entry's transfer unless one is running or the run is busy; the entry
    // then waits again ("等待重新下载").
    void Inet下载当前文件(quint64 entryId);

  private:
    enum class Outcome { Done, Failed, Ended };

    bool Inet下载文件(quint64 entryId);
    // What the headers decide, and the body; the entry is settled at the end.
    void Transfer(quint64 entryId, const QString& headers, const DownloadOptions& options);
    // The entry's name, folder, type and target path; empty when the entry was settled
    // instead (a folder that cannot be made, a name taken under "跳过", a target that
    // cannot be replaced).
    QString PrepareTarget(DownloadEntry& entry, const QString& extension,
                          const DownloadOptions& options);
    // Sends the request and waits for its headers; the header text, empty when none
    // came in time.
    QString StartAndWaitForHeaders(const DownloadEntry& entry, const DownloadOptions& options);
    // Streams the body into the target; `length` is the announced length (0 unknown).
    Outcome Stream(quint64 entryId, const QString& target, qint64 length,
                   const DownloadOptions& options);
    // Fetches the whole body once more into the target.
    bool InetFetchWhole(quint64 entryId, const QString& target, const DownloadOptions& options);
    // Reads what the reply holds into the part file; the bytes read.
    qint64 ReadChunk(PartFile& part);
    // Why the loop must stop now: the user's stop, the window's end or the program's.
    bool Cancelled() const;
    void Ending(quint64 entryId, const DownloadOptions& options);
    void ApplyProxy(const DownloadOptions& options);
    void ShowState(int code);
    void DropReply();

    Runtime& runtime_;
    Dialogs& dialogs_;
    RequestFactory& requests_;
    ListView& list_;
    DownloadRunState& state_;
    DownloadHost& host_;
    std::unique_ptr<QNetworkAccessManager> network_;
    QPointer<QNetworkReply> reply_;
    bool executing_ = false;
    // When the file last grew (or the transfer began), on the runtime's clock.
    double lastGrowth_ = 0;
};
