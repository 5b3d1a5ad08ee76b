#pragma once

#include <functional>

#include "platform/runtime/Runtime.h"

// Runs the event loop until `done` holds or `seconds` of runtime time have passed (a
// bound for tests on real servers, never a measurement). True when `done` held.
inline bool waitFor(Runtime& runtime, const std::function<bool()>& done, double seconds = 20) {
    const double start = runtime.now();
    while (!done()) {
        if (runtime.now() - start > seconds) {
            return false;
        }
        runtime.waitStep();
    }
    return true;
}
