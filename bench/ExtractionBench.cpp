// The whole extraction of a 300 KB result page with 100 results through the headless
// browser (bytes to document, document access, rules, list inserts) against gumbo
// alone parsing the same page. Prints the ratio; the goal is at most 2.
#include <benchmark/benchmark.h>
#include <gumbo.h>

#include <QCoreApplication>
#include <QHash>
#include <cstdio>

#include "net/HeadlessBrowser.h"
#include "net/HeadlessBrowserFactory.h"
#include "search/fWebSearch.h"
#include "support/FakeSearchEngine.h"
#include "support/TestApp.h"

namespace {

const QString kBase = QStringLiteral("http://127.0.0.1:8080");

const QByteArray& resultPage() {
    static const QByteArray page = [] {
        FakeSearchEngine::Page markup;
        markup.results = FakeSearchEngine::generatedResults(QStringLiteral("机器学习"),
                                                            QStringLiteral("pdf"), 100);
        markup.total = 1000;
        markup.perPage = 100;
        markup.nextUrl = kBase + QStringLiteral("/search?p=x&b=101");
        const int bare = int(FakeSearchEngine::resultPageHtml(kBase, markup).size());
        markup.padding = 300 * 1024 - bare;
        return FakeSearchEngine::resultPageHtml(kBase, markup);
    }();
    return page;
}

void GumboAloneParses(benchmark::State& state) {
    const QByteArray& page = resultPage();
    for (auto _ : state) {
        GumboOutput* output =
            gumbo_parse_with_options(&kGumboDefaultOptions, page.constData(), size_t(page.size()));
        benchmark::DoNotOptimize(output);
        gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * page.size());
}
BENCHMARK(GumboAloneParses)->Unit(benchmark::kMillisecond);

void HeadlessBrowserExtracts(benchmark::State& state) {
    const QByteArray& page = resultPage();
    TestApp app;
    HeadlessBrowserFactory factory(app.runtime, app.requests);
    AppServices services{app.runtime,  app.dialogs,        app.forms,  app.settings, app.config,
                         app.shell,    app.clipboard,      app.screen, app.sound,    factory,
                         app.requests, app.services.paths, kBase,      QString()};
    fWebSearch window(app.forms, services);
    auto* browser = static_cast<HeadlessBrowser*>(window.WebBrowser1);
    const QUrl url(kBase + QStringLiteral("/search?p=x"));
    for (auto _ : state) {
        state.PauseTiming();
        window.ListView1->clear();
        state.ResumeTiming();
        browser->showContent(page, url, QByteArrayLiteral("text/html; charset=utf-8"));
        window.ExtractResultPage(QString());
    }
    if (window.ListView1->count() != 50) {
        state.SkipWithError("the page did not give its 50 entries");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * page.size());
}
BENCHMARK(HeadlessBrowserExtracts)->Unit(benchmark::kMillisecond);

// Keeps the mean time of every run to print the ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                seconds[QString::fromStdString(run.benchmark_name())] =
                    run.real_accumulated_time / double(run.iterations);
            }
        }
    }
    QHash<QString, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("result page: %lld bytes\n", static_cast<long long>(resultPage().size()));
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double gumbo = reporter.seconds.value(QStringLiteral("GumboAloneParses"));
    const double whole = reporter.seconds.value(QStringLiteral("HeadlessBrowserExtracts"));
    if (gumbo > 0 && whole > 0) {
        std::printf("extraction through HeadlessBrowser / gumbo alone: %.2f (goal: at most 2)\n",
                    whole / gumbo);
    }
    return 0;
}
