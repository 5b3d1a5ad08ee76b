// The download list at 100,000 entries: adding them, the header sort by "文件大小"
// with its zero-fill, and the list menu's shuffle, each against a plain std::sort of
// the same size texts in the same run. The ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QHash>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>

#include "download/DownloadList.h"
#include "download/DownloadListTools.h"

namespace {

constexpr int kEntries = 100'000;

// Sizes as the transfers write them, with a few status texts among them.
QStringList sizeTexts() {
    std::mt19937 random(7);
    std::uniform_int_distribution<qint64> bytes(0, 3'000'000'000LL);
    std::uniform_int_distribution<int> status(0, 19);
    QStringList texts;
    texts.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        const int roll = status(random);
        texts << (roll == 0   ? QStringLiteral("下载失败")
                  : roll == 1 ? QString()
                              : QString::number(bytes(random)));
    }
    return texts;
}

QString address(int i) {
    return QStringLiteral("http://files.example/%1/report.pdf|http://mirror.example/%1.pdf").arg(i);
}

void fill(ListView& list, const QStringList& sizes) {
    for (int i = 0; i < kEntries; ++i) {
        AddEntry(list, address(i), QStringLiteral("年度报告%1").arg(i), QStringLiteral("pdf"),
                 QStringLiteral("/home/user/12345/"), QStringLiteral("http://search.example/"))
            .setSizeText(sizes[i]);
    }
}

void PlainStdSortOfSizeTexts(benchmark::State& state) {
    const QStringList sizes = sizeTexts();
    for (auto _ : state) {
        state.PauseTiming();
        QStringList copy = sizes;
        copy.detach();
        state.ResumeTiming();
        std::sort(copy.begin(), copy.end());
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(PlainStdSortOfSizeTexts)->Unit(benchmark::kMillisecond);

void SortBySize(benchmark::State& state) {
    const QStringList sizes = sizeTexts();
    QObject owner;
    std::unique_ptr<ListView> list;
    for (auto _ : state) {
        state.PauseTiming();
        list = std::make_unique<ListView>(&owner, QStringLiteral("ListView3"));
        fill(*list, sizes);
        state.ResumeTiming();
        SortDownloadList(*list, DownloadEntry::Size, ListView::SortOrder::Ascending);
        benchmark::DoNotOptimize(list->at(1));
    }
}
BENCHMARK(SortBySize)->Unit(benchmark::kMillisecond);

void AddEntries(benchmark::State& state) {
    const QStringList sizes = sizeTexts();
    QObject owner;
    std::unique_ptr<ListView> list;
    for (auto _ : state) {
        state.PauseTiming();
        list = std::make_unique<ListView>(&owner, QStringLiteral("ListView3"));
        state.ResumeTiming();
        fill(*list, sizes);
        benchmark::DoNotOptimize(list->count());
    }
}
BENCHMARK(AddEntries)->Unit(benchmark::kMillisecond);

void Shuffle(benchmark::State& state) {
    const QStringList sizes = sizeTexts();
    QObject owner;
    ListView list(&owner, QStringLiteral("ListView3"));
    fill(list, sizes);
    QRandomGenerator random(7);
    for (auto _ : state) {
        ShuffleList(list, random);
        benchmark::DoNotOptimize(list.at(1));
    }
}
BENCHMARK(Shuffle)->Unit(benchmark::kMillisecond);

// Prints the usual table and remembers each benchmark's CPU time per iteration (the
// machine is shared, so wall time says more about the neighbours than about the list).
class RatioReporter final : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            times[QString::fromStdString(run.benchmark_name())] = run.GetAdjustedCPUTime();
        }
    }
    QHash<QString, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double baseline = reporter.times.value(QStringLiteral("PlainStdSortOfSizeTexts"));
    if (baseline > 0) {
        for (const char* name : {"SortBySize", "AddEntries", "Shuffle"}) {
            const double time = reporter.times.value(QString::fromLatin1(name));
            if (time > 0) {
                std::printf("%s / PlainStdSortOfSizeTexts (CPU time) = %.2f\n", name,
                            time / baseline);
            }
        }
    }
    return 0;
}
