#include "platform/runtime/StopSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int signal) {
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &number, 1);
}

}  // namespace

StopSignals::StopSignals(std::function<void(int)> onStop) : onStop_(std::move(onStop)) {
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    // The default action comes back after the first signal: a second one ends at once.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    notifier_ = std::make_unique<QSocketNotifier>(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char number = 0;
        while (::read(stopPipe[0], &number, 1) == 1) {
            caught_ = number;
        }
        onStop_(caught_);
    });
}

StopSignals::~StopSignals() {
    if (!notifier_) {
        return;
    }
    notifier_.reset();
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    ::close(stopPipe[0]);
    ::close(stopPipe[1]);
    stopPipe[0] = stopPipe[1] = -1;
}
