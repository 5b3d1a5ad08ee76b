#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

// The one event loop of the program: clock, yields, timers and posted calls.
// Everything runs on the user-interface thread; long operations are loops that
// call yield() between steps and waitStep() in every wait cycle.
class Runtime {
  public:
    using TimerId = quint64;

    virtual ~Runtime() = default;

    // Seconds on a monotonic clock; only differences between two readings mean anything.
    virtual double now() const = 0;
    // Local date and time, for texts that show a date.
    virtual QDateTime wallClock() const = 0;

    // Runs the pending events and returns at once.
    virtual void yield() = 0;
    // Runs the pending events; when none were pending, blocks until the next event
    // or timer, at most 10 ms.
    virtual void waitStep() = 0;

    // Runs `call` later from the event loop.
    virtual void post(std::function<void()> call) = 0;
    // A repeating timer; `tick` runs every `intervalMs` until stopTimer().
    virtual TimerId startTimer(int intervalMs, std::function<void()> tick) = 0;
    // A one-shot call after `ms` milliseconds; stopTimer() cancels it.
    virtual TimerId callAfter(int ms, std::function<void()> call) = 0;
    virtual void stopTimer(TimerId id) = 0;

    // Ends the program: sets the stop that every loop checks, runs the quit hooks
    // (which reject open modal dialogs) and lets the event loop end once the
    // running loops have unwound.
    void requestQuit();
    bool quitRequested() const { return quitRequested_; }
    void addQuitHook(std::function<void()> hook);

  protected:
    virtual void endEventLoop() = 0;

  private:
    bool quitRequested_ = false;
    std::vector<std::function<void()>> quitHooks_;
};
