// Type detection of a folder of downloads against the cheapest thing it could do:
// reading the first 10 KB of every file with plain reads. Both run in the same
// command on the same files; the ratio is printed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

#include "download/FileTypeDetection.h"

namespace {

constexpr int kFiles = 10'000;

// Downloads of the kinds the program meets: documents, web pages, archives, audio
// and files it cannot judge, from 1 KB to 48 KB.
struct Folder {
    QTemporaryDir temp;
    QStringList paths;
    std::vector<QByteArray> native;

    Folder() {
        QRandomGenerator random(7);
        const QByteArray heads[] = {
            "%PDF-1.4\n",
            "<!DOCTYPE html><html><head><title>page</title></head><body>",
            QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8),
            QByteArray("PK\x03\x04\x14\x00\x06\x00\x08\x00", 10),
            "ID3\x03",
            "",
        };
        for (int i = 0; i < kFiles; ++i) {
            QByteArray bytes(1024 + random.bounded(47 * 1024), '\0');
            for (char& c : bytes) {
                c = char(random.bounded(256));
            }
            const QByteArray& head = heads[i % std::size(heads)];
            bytes.replace(0, head.size(), head);
            const QString path = temp.filePath(QString::number(i));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                std::exit(1);
            }
            paths << path;
            native.push_back(QFile::encodeName(path));
        }
    }
};

Folder& Files() {
    static Folder folder;
    return folder;
}

void DetectTypes(benchmark::State& state) {
    const QStringList& paths = Files().paths;
    for (auto _ : state) {
        int known = 0;
        for (const QString& path : paths) {
            known += 打开文件判断文件类型(path).isEmpty() ? 0 : 1;
        }
        benchmark::DoNotOptimize(known);
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(DetectTypes)->Unit(benchmark::kMillisecond);

// The baseline: open, read the first 10 KB, close.
void PlainReadFirst10KB(benchmark::State& state) {
    const std::vector<QByteArray>& paths = Files().native;
    char buffer[10 * 1024];
    for (auto _ : state) {
        qint64 total = 0;
        for (const QByteArray& path : paths) {
            const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
            total += ::read(fd, buffer, sizeof buffer);
            ::close(fd);
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(PlainReadFirst10KB)->Unit(benchmark::kMillisecond);

// Prints the runs as usual and keeps their times for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.iterations > 0) {
                seconds[run.benchmark_name()] = run.real_accumulated_time / double(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Files();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double detect = reporter.seconds["DetectTypes"];
    const double plain = reporter.seconds["PlainReadFirst10KB"];
    if (detect > 0 && plain > 0) {
        std::printf("detection of %d files / plain reads of their first 10 KB: %.2f\n", kFiles,
                    detect / plain);
    }
    return 0;
}
