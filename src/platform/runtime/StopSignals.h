#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

// SIGINT and SIGTERM as events of the program's event loop, for the terminal commands:
// the signal handler only writes the signal's number into a pipe, and the loop calls
// `onStop` with it. A second signal of the same kind ends the program at once. One
// instance at a time.
class StopSignals {
  public:
    explicit StopSignals(std::function<void(int signal)> onStop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The number of the last signal caught; 0 when none was.
    int caught() const { return caught_; }

  private:
    std::function<void(int)> onStop_;
    std::unique_ptr<QSocketNotifier> notifier_;
    int caught_ = 0;
};
