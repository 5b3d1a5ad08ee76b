#pragma once

#include "platform/controls/Control.h"
#include "platform/runtime/Runtime.h"

// A timer control on the runtime: ticks every interval while enabled. A tick whose
// handler is still running (because it yields) is skipped, never re-entered.
class Timer : public Control {
    Q_OBJECT
  public:
    Timer(QObject* owner, const QString& name, Runtime& runtime, int intervalMs = 0);
    ~Timer() override;

    int interval() const { return interval_; }
    void setInterval(int ms);
    bool isEnabled() const { return on_; }
    void setOn(bool on);
    void start() { setOn(true); }
    void stop() { setOn(false); }

    Handler onTick;

  private:
    void restart();
    void tick();

    Runtime& runtime_;
    int interval_;
    bool on_ = false;
    bool ticking_ = false;
    Runtime::TimerId id_ = 0;
};
