#include "support/NetworkPump.h"

#include <QTest>

#include "platform/runtime/VirtualRuntime.h"

bool pumpUntil(VirtualRuntime& runtime, const std::function<bool()>& done, double virtualSeconds) {
    const double end = runtime.now() + virtualSeconds;
    while (!done()) {
        if (runtime.now() >= end) {
            return false;
        }
        QTest::qWait(1);
        runtime.advance(0.001);
    }
    return true;
}
