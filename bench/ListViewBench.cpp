// The list model at the scale of a large download list: adding rows with key
// lookups, and removing many rows in one hidden walk.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QStringList>

#include "platform/controls/ListView.h"

namespace {

QStringList keys(int n) {
    QStringList out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        out << QStringLiteral("http://files.example/%1/report.pdf").arg(i);
    }
    return out;
}

void AddAndFindByKey(benchmark::State& state) {
    const QStringList k = keys(int(state.range(0)));
    for (auto _ : state) {
        QObject owner;
        ListView list(&owner, QStringLiteral("ListView3"));
        for (const QString& key : k) {
            list.add(key, key);
        }
        for (const QString& key : k) {
            benchmark::DoNotOptimize(list.findByKey(key));
        }
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(AddAndFindByKey)
    ->RangeMultiplier(10)
    ->Range(1'000, 100'000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// The removal walk of the list operations: every other row of n removed while hidden.
void RemoveHalfWhileHidden(benchmark::State& state) {
    const QStringList k = keys(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        QObject owner;
        ListView list(&owner, QStringLiteral("ListView3"));
        for (const QString& key : k) {
            list.add(key, key);
        }
        state.ResumeTiming();
        list.setVisible(false);
        bool odd = false;
        for (int i = 1; i <= list.count();) {
            if ((odd = !odd)) {
                list.removeAt(i);
            } else {
                ++i;
            }
        }
        list.setVisible(true);
        benchmark::DoNotOptimize(list.count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(RemoveHalfWhileHidden)
    ->RangeMultiplier(10)
    ->Range(1'000, 100'000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// The baseline: the same keys in a plain hash.
void PlainHashOfKeys(benchmark::State& state) {
    const QStringList k = keys(int(state.range(0)));
    for (auto _ : state) {
        QHash<QString, int> hash;
        for (int i = 0; i < k.size(); ++i) {
            hash.insert(k[i], i);
        }
        for (const QString& key : k) {
            benchmark::DoNotOptimize(hash.value(key));
        }
    }
}
BENCHMARK(PlainHashOfKeys)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
