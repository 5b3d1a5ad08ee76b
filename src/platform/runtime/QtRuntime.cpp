#include "platform/runtime/QtRuntime.h"

#include <QCoreApplication>
#include <QTimerEvent>

QtRuntime::QtRuntime() {
    clock_.start();
    // The wake timer bounds a blocking waitStep() to 10 ms; its tick does nothing.
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, this, [] {});
}

double QtRuntime::now() const {
    return static_cast<double>(clock_.nsecsElapsed()) / 1e9;
}

QDateTime QtRuntime::wallClock() const {
    return QDateTime::currentDateTime();
}

void QtRuntime::yield() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtRuntime::waitStep() {
    ++waitDepth_;
    wake_.start(10);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    --waitDepth_;
    // A nested wait stopped the shared wake timer: re-arm it for the outer one.
    if (waitDepth_ == 0) {
        wake_.stop();
    } else {
        wake_.start(10);
    }
}

void QtRuntime::post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

Runtime::TimerId QtRuntime::addTimer(int ms, bool singleShot, std::function<void()> call) {
    const int id = QObject::startTimer(ms, ms < 20 ? Qt::PreciseTimer : Qt::CoarseTimer);
    if (id == 0) {
        return 0;
    }
    timers_.insert(TimerId(id), Entry{std::move(call), singleShot});
    return TimerId(id);
}

Runtime::TimerId QtRuntime::startTimer(int intervalMs, std::function<void()> tick) {
    return addTimer(intervalMs, false, std::move(tick));
}

Runtime::TimerId QtRuntime::callAfter(int ms, std::function<void()> call) {
    return addTimer(ms, true, std::move(call));
}

void QtRuntime::stopTimer(TimerId id) {
    if (timers_.remove(id)) {
        killTimer(int(id));
    }
}

void QtRuntime::timerEvent(QTimerEvent* event) {
    const auto it = timers_.constFind(TimerId(event->timerId()));
    if (it == timers_.constEnd()) {
        return;
    }
    // Copy: the tick may stop this timer or start others.
    const Entry entry = it.value();
    if (entry.singleShot) {
        stopTimer(TimerId(event->timerId()));
    }
    entry.call();
}

int QtRuntime::run() {
    if (quitRequested()) {
        return 0;
    }
    return QCoreApplication::exec();
}

void QtRuntime::endEventLoop() {
    // exit() outside exec() does nothing; run() checks the stop before it starts.
    post([] { QCoreApplication::exit(0); });
}
