#include "platform/controls/Timer.h"

Timer::Timer(QObject* owner, const QString& name, Runtime& runtime, int intervalMs)
    : Control(owner, name), runtime_(runtime), interval_(intervalMs) {}

Timer::~Timer() {
    if (id_) {
        runtime_.stopTimer(id_);
    }
}

void Timer::setInterval(int ms) {
    if (interval_ != ms) {
        interval_ = ms;
        restart();
    }
}

void Timer::setOn(bool on) {
    if (on_ != on) {
        on_ = on;
        restart();
        notify();
    }
}

void Timer::restart() {
    if (id_) {
        runtime_.stopTimer(id_);
        id_ = 0;
    }
    if (on_ && interval_ > 0) {
        id_ = runtime_.startTimer(interval_, [this] { tick(); });
    }
}

void Timer::tick() {
    if (ticking_ || !on_) {
        return;
    }
    ticking_ = true;
    raise(onTick);
    ticking_ = false;
}
