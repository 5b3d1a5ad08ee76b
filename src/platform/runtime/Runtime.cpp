#include "platform/runtime/Runtime.h"

void Runtime::requestQuit() {
    if (quitRequested_) {
        return;
    }
    quitRequested_ = true;
    // Copy: a hook may add hooks or destroy their owners.
    const auto hooks = quitHooks_;
    for (const auto& hook : hooks) {
        hook();
    }
    endEventLoop();
}

void Runtime::addQuitHook(std::function<void()> hook) {
    quitHooks_.push_back(std::move(hook));
}
