#include "platform/runtime/VirtualRuntime.h"

#include <algorithm>
#include <limits>

namespace {
constexpr qint64 kMaxIdleStepNs = 10'000'000;  // 10 ms
constexpr qint64 kNoTimer = std::numeric_limits<qint64>::max();
}  // namespace

VirtualRuntime::VirtualRuntime(QDateTime wallStart) : wallStart_(std::move(wallStart)) {}

QDateTime VirtualRuntime::wallClock() const {
    return wallStart_.addMSecs(nowNs_ / 1'000'000);
}

void VirtualRuntime::yield() {
    runPending();
}

void VirtualRuntime::waitStep() {
    if (runPending()) {
        return;
    }
    const qint64 due = nextDueNs();
    nowNs_ = std::min(due, nowNs_ + kMaxIdleStepNs);
    runPending();
}

void VirtualRuntime::post(std::function<void()> call) {
    posted_.push_back(std::move(call));
}

Runtime::TimerId VirtualRuntime::addTimer(int ms, bool singleShot, std::function<void()> call) {
    const qint64 intervalNs = qint64(std::max(ms, singleShot ? 0 : 1)) * 1'000'000;
    const TimerId id = nextId_++;
    timers_[id] = Timer{intervalNs, nowNs_ + intervalNs, singleShot, std::move(call)};
    return id;
}

Runtime::TimerId VirtualRuntime::startTimer(int intervalMs, std::function<void()> tick) {
    return addTimer(intervalMs, false, std::move(tick));
}

Runtime::TimerId VirtualRuntime::callAfter(int ms, std::function<void()> call) {
    return addTimer(ms, true, std::move(call));
}

void VirtualRuntime::stopTimer(TimerId id) {
    timers_.erase(id);
}

qint64 VirtualRuntime::nextDueNs() const {
    qint64 due = kNoTimer;
    for (const auto& [id, timer] : timers_) {
        due = std::min(due, timer.dueNs);
    }
    return due;
}

bool VirtualRuntime::fireNextDue() {
    // The earliest due timer; ties go to the older timer (lower id, map order).
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.dueNs <= nowNs_ &&
            (next == timers_.end() || it->second.dueNs < next->second.dueNs)) {
            next = it;
        }
    }
    if (next == timers_.end()) {
        return false;
    }
    // Reschedule (or drop) before the call, so that a nested wait inside it cannot
    // fire the same tick twice.
    const std::function<void()> call = next->second.call;
    if (next->second.singleShot) {
        timers_.erase(next);
    } else {
        Timer& timer = next->second;
        timer.dueNs += timer.intervalNs;
        if (timer.dueNs <= nowNs_) {
            timer.dueNs = nowNs_ + timer.intervalNs;  // overdue ticks collapse, as in Qt
        }
    }
    call();
    return true;
}

bool VirtualRuntime::runPending() {
    bool ran = false;
    // Only the calls posted before this yield run now; later ones wait for the next.
    for (auto pending = posted_.size(); pending > 0 && !posted_.empty(); --pending) {
        auto call = std::move(posted_.front());
        posted_.pop_front();
        call();
        ran = true;
    }
    while (fireNextDue()) {
        ran = true;
    }
    return ran;
}

void VirtualRuntime::advance(double seconds) {
    const qint64 target = nowNs_ + qint64(seconds * 1e9 + 0.5);
    runPending();
    for (qint64 due = nextDueNs(); due <= target; due = nextDueNs()) {
        nowNs_ = std::max(nowNs_, due);
        runPending();
    }
    nowNs_ = std::max(nowNs_, target);
    runPending();
}

bool VirtualRuntime::waitUntil(const std::function<bool()>& done, double seconds) {
    const double start = now();
    while (!done()) {
        if (now() - start >= seconds) {
            return false;
        }
        waitStep();
    }
    return true;
}
