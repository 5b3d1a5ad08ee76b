#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>

#include "platform/runtime/Runtime.h"

// The runtime of the real program: Qt's event loop, Qt timers and a monotonic clock.
// Timers are plain QObject timers of this object, so stopping one inside its own
// tick is safe and frees nothing later.
class QtRuntime final : public QObject, public Runtime {
  public:
    QtRuntime();

    double now() const override;
    QDateTime wallClock() const override;
    void yield() override;
    void waitStep() override;
    void post(std::function<void()> call) override;
    TimerId startTimer(int intervalMs, std::function<void()> tick) override;
    TimerId callAfter(int ms, std::function<void()> call) override;
    void stopTimer(TimerId id) override;

    // Runs the event loop until the program ends; returns the exit code.
    int run();

  protected:
    void endEventLoop() override;
    void timerEvent(QTimerEvent* event) override;

  private:
    struct Entry {
        std::function<void()> call;
        bool singleShot = false;
    };
    TimerId addTimer(int ms, bool singleShot, std::function<void()> call);

    QElapsedTimer clock_;
    QTimer wake_;
    int waitDepth_ = 0;
    QHash<TimerId, Entry> timers_;
};
