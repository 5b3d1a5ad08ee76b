// The batch search against the fake engine on 127.0.0.1 with no delay: 100 result pages
// searched, paged and extracted, against a plain QNetworkAccessManager loop that fetches
// the same 100 pages and parses each once with gumbo. Prints the ratio, and the CPU time
// a batch of one page uses while it waits out its 10-second delays.
#include <gumbo.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "app/HeadlessSession.h"
#include "search/fWebSearch.h"
#include "support/FakeSearchEngine.h"

namespace {

constexpr int kPages = 100;
constexpr int kRounds = 3;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One group, pdf only.
void searchPdfOnly(fWebSearch& window, const QString& group) {
    window.savePathPreset = true;
    window.Text1->setText(group);
    for (CheckBox* type : {window.Check8, window.Check9, window.Check10, window.Check11}) {
        type->setValue(false);
    }
}

// The engine's 100 pages of one search. Gives the seconds taken.
double runBatch(FakeSearchEngine& engine, int round) {
    QTextStream messages(stderr);
    HeadlessSession session(engine.base(), messages);
    fWebSearch& window = *session.loadWindow<fWebSearch>();
    searchPdfOnly(window, QStringLiteral("round%1").arg(round));
    QElapsedTimer timer;
    timer.start();
    window.Command1->click();
    return timer.nsecsElapsed() / 1e9;
}

// The same pages fetched one after another and parsed once each.
double runPlainLoop(const QStringList& urls) {
    QNetworkAccessManager network;
    QElapsedTimer timer;
    timer.start();
    for (const QString& url : urls) {
        QNetworkReply* reply = network.get(QNetworkRequest(QUrl(url)));
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        const QByteArray page = reply->readAll();
        GumboOutput* output =
            gumbo_parse_with_options(&kGumboDefaultOptions, page.constData(), size_t(page.size()));
        gumbo_destroy_output(&kGumboDefaultOptions, output);
        reply->deleteLater();
    }
    return timer.nsecsElapsed() / 1e9;
}

QStringList searchPages(const FakeSearchEngine& engine, qsizetype from) {
    QStringList urls;
    const QStringList requests = engine.requests();
    for (qsizetype i = from; i < requests.size(); ++i) {
        if (requests.at(i).startsWith(QStringLiteral("/search?"))) {
            urls.append(engine.base() + requests.at(i));
        }
    }
    return urls;
}

void compareWithPlainLoop() {
    FakeSearchEngine engine;
    engine.setDefaultResultCount(kPages * 10);
    engine.setResultsPerPage(10);
    double batch = 1e9;
    double plain = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const qsizetype before = engine.requests().size();
        batch = std::min(batch, runBatch(engine, round));
        const QStringList urls = searchPages(engine, before);
        if (urls.size() != kPages) {
            std::fprintf(stderr, "the batch searched %lld pages, not %d\n",
                         static_cast<long long>(urls.size()), kPages);
        }
        plain = std::min(plain, runPlainLoop(urls));
    }
    std::printf(
        "batch of %d result pages, delay 0: %.3f s; plain fetch and parse: %.3f s; "
        "ratio %.2f\n",
        kPages, batch, plain, batch / plain);
}

// One group, one type, one page with D = 10: the batch waits after the page and after the
// group, about 20 s in all, and does almost nothing else.
void measureDelay() {
    FakeSearchEngine engine;
    engine.setDefaultResultCount(10);
    engine.setResultsPerPage(10);
    QTextStream messages(stderr);
    HeadlessSession session(engine.base(), messages);
    fWebSearch& window = *session.loadWindow<fWebSearch>();
    searchPdfOnly(window, QStringLiteral("delay"));
    window.Combo1->setListIndex(10);
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    window.Command1->click();
    const double took = timer.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf(
        "batch of one page with a 10-second delay: %.2f s, %.3f s of CPU (%.2f%% of a core)\n",
        took, cpu, 100 * cpu / took);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    compareWithPlainLoop();
    measureDelay();
    return 0;
}
