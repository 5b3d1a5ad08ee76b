#pragma once

#include <deque>
#include <map>

#include "platform/runtime/Runtime.h"

// A runtime whose clock stands still until the test moves it with advance(), or an
// idle waitStep() moves it to the next due timer (at most 10 ms). yield() never moves
// time. Timers fire at their virtual time, in order of due time and creation.
class VirtualRuntime final : public Runtime {
  public:
    explicit VirtualRuntime(QDateTime wallStart = QDateTime(QDate(2026, 1, 5), QTime(9, 0)));

    double now() const override { return double(nowNs_) / 1e9; }
    QDateTime wallClock() const override;
    void yield() override;
    void waitStep() override;
    void post(std::function<void()> call) override;
    TimerId startTimer(int intervalMs, std::function<void()> tick) override;
    TimerId callAfter(int ms, std::function<void()> call) override;
    void stopTimer(TimerId id) override;

    // Moves time forward by `seconds`, running every timer and posted call that falls due.
    void advance(double seconds);
    // Calls waitStep() until `done` holds or `seconds` of virtual time have passed;
    // true when `done` held.
    bool waitUntil(const std::function<bool()>& done, double seconds);
    int activeTimers() const { return int(timers_.size()); }

  protected:
    void endEventLoop() override {}

  private:
    struct Timer {
        qint64 intervalNs = 0;
        qint64 dueNs = 0;
        bool singleShot = false;
        std::function<void()> call;
    };
    TimerId addTimer(int ms, bool singleShot, std::function<void()> call);
    bool runPending();
    bool fireNextDue();
    qint64 nextDueNs() const;

    QDateTime wallStart_;
    qint64 nowNs_ = 0;
    TimerId nextId_ = 1;
    std::map<TimerId, Timer> timers_;
    std::deque<std::function<void()>> posted_;
};
