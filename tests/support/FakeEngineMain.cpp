// orvellin-fake-engine: the tests' search engine as a program, so that a person can run
// Orvellin against it without the internet:
//   orvellin-fake-engine --port 8080 &
//   ORVELLIN_SEARCH_BASE=http://127.0.0.1:8080 orvellin
#include <signal.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "support/FakeSearchEngine.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvellin-fake-engine"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A fake search engine on 127.0.0.1 for running Orvellin offline."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port to listen on (0: a free one)."),
                                  QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption results(QStringLiteral("results"),
                                     QStringLiteral("Results for every query and type."),
                                     QStringLiteral("N"), QStringLiteral("30"));
    const QCommandLineOption perPage(QStringLiteral("per-page"),
                                     QStringLiteral("Results on one page."), QStringLiteral("N"),
                                     QStringLiteral("10"));
    const QCommandLineOption verifyAfter(
        QStringLiteral("verify-after"),
        QStringLiteral("Show the verification page after N searches (0: never)."),
        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption delay(QStringLiteral("delay-ms"),
                                   QStringLiteral("Wait this long before every result page."),
                                   QStringLiteral("MS"), QStringLiteral("0"));
    parser.addOptions({port, results, perPage, verifyAfter, delay});
    parser.process(app);

    // Block the stop signals before the server's threads start, then wait for one.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    FakeSearchEngine engine(parser.value(port).toInt());
    if (!engine.listening()) {
        std::fprintf(stderr, "orvellin-fake-engine: cannot listen on 127.0.0.1:%s\n",
                     qPrintable(parser.value(port)));
        return 1;
    }
    engine.setDefaultResultCount(parser.value(results).toInt());
    engine.setResultsPerPage(parser.value(perPage).toInt());
    engine.setVerificationAfter(parser.value(verifyAfter).toInt());
    engine.setSearchDelay(parser.value(delay).toInt());
    std::printf("orvellin-fake-engine: listening on %s\n", qPrintable(engine.base()));
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop, &signal);
    return 0;
}
