// The cost of waiting: a 10-second waitStep() loop on the real runtime should use
// almost no processor time, and idle yields should be cheap.
#include <sys/resource.h>

#include <QCoreApplication>
#include <cstdio>

#include "platform/runtime/QtRuntime.h"

namespace {
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QtRuntime rt;
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;

    const double cpu0 = cpuSeconds();
    const double start = rt.now();
    long steps = 0;
    while (rt.now() - start < seconds) {
        rt.waitStep();
        ++steps;
    }
    const double wall = rt.now() - start;
    const double cpu = cpuSeconds() - cpu0;
    std::printf("waitStep loop: %.1f s wall, %.3f s cpu (%.2f%% of one core), %ld steps\n", wall,
                cpu, 100.0 * cpu / wall, steps);

    const double y0 = rt.now();
    for (int i = 0; i < 10'000; ++i) {
        rt.yield();
    }
    std::printf("10000 idle yields: %.2f ms\n", (rt.now() - y0) * 1000.0);
    return 0;
}
