#pragma once

#include <QSet>

class ListRow;
class QTextStream;
class Runtime;
class fFileDownload;

// The download window's run on the terminal, as the batch modes show it: the downloads
// started as the start button starts them and waited out, one line per entry that ends
// ("完成" or "失败", the file name, the percentage and the address), a progress line
// rewritten in place while standard error is a terminal, and at the end the entry counts
// with the time from the first request to the last end and the CPU time used.
class DownloadRun {
  public:
    DownloadRun(fFileDownload& window, Runtime& runtime, QTextStream& out, QTextStream& err);

    // Starts the downloads and returns when the download timer is off and no transfer runs
    // any more.
    void runUntilIdle();
    // The entry counts and the times.
    void summary();
    // Every entry is Done.
    bool allDone() const;

  private:
    void tick();
    void rowChanged(ListRow* row);

    fFileDownload& window_;
    Runtime& runtime_;
    QTextStream& out_;
    QTextStream& err_;
    const bool terminal_;
    QSet<quint64> reported_;
    bool started_ = false;
    double firstStart_ = 0;
    double lastEnd_ = 0;
    double shown_;
};
