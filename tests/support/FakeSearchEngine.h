#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

// One organic result of the fake engine: the link text (HTML allowed) and the
// document it leads to, an absolute address or a path on the engine ("/files/...").
// Without `redirect` the result links straight to its target, as some real results do.
struct FakeResult {
    QString titleHtml;
    QString target;
    bool redirect = true;
};

// The search engine of the tests and of `orvellin-fake-engine`: a cpp-httplib server on
// 127.0.0.1 at a free port that answers "/search?" in the engine's result-page markup
// (result blocks "dd algo algo-sr", redirect links through "/r/.../RU=<target>/RK=",
// a "compPagination" block with a "next" link), serves the documents its results point
// to, and offers pages that tests need: slow ones, ones that never complete, cookies,
// an echo of what a request carried, documents that arrive slowly under
// "/files/trickle/" (kTrickleLength bytes announced, kTrickleStep every kTrickleStepMs), and
// web pages posing as PDFs under kPosingPath, as sites answer with a login page. Replies
// are uncompressed (with TCP_NODELAY) unless compression is asked for. Configuration may change
// while it serves. Destroy it after its clients: stopping waits for their kept-alive connections
// (at most two seconds).
class FakeSearchEngine {
  public:
    static constexpr qint64 kTrickleLength = 1 << 20;
    static constexpr int kTrickleStep = 8 * 1024;
    static constexpr int kTrickleStepMs = 100;
    // Documents under this path are a web page sent as application/pdf, whatever their
    // names say. Every tenth generated pdf result links there.
    static inline const QString kPosingPath = QStringLiteral("/files/posing/");

    // Listens on 127.0.0.1:port; 0 takes a free port.
    explicit FakeSearchEngine(int port = 0);
    ~FakeSearchEngine();
    FakeSearchEngine(const FakeSearchEngine&) = delete;
    FakeSearchEngine& operator=(const FakeSearchEngine&) = delete;

    int port() const { return port_; }
    bool listening() const { return port_ > 0; }
    // "http://127.0.0.1:<port>", the search address to give the program.
    QString base() const;
    // A result-page address of the engine for a query and type ("" for none).
    QString searchUrl(const QString& query, const QString& type = QString()) const;

    // Results: `count` generated ones for every query and type unless set otherwise.
    void setDefaultResultCount(int count);
    void setResults(const QString& query, const QString& type, const QList<FakeResult>& results);
    void setResultsPerPage(int count);
    // Answer every search request after the first `requests` ones with the verification
    // page; 0 never does.
    void setVerificationAfter(int requests);
    // Every search page waits this long before it answers.
    void setSearchDelay(int ms);
    // Never answer search pages (until released or stopped).
    void setSearchNeverCompletes(bool never);
    // The last result page shows page number 100 and still has a next link.
    void setLastPageShows100(bool shows100);
    // Filler (markup and style, as real pages carry) added to every result page.
    void setPagePadding(int bytes);
    void setCompression(bool on);
    // An extra page at `path`, answered after `delayMs`.
    void addPage(const QString& path, const QByteArray& body,
                 const QByteArray& contentType = QByteArrayLiteral("text/html; charset=utf-8"),
                 int delayMs = 0);
    // Ends every request that is being held ("/never", never-completing searches).
    void releaseHeld();

    int searchRequests() const;
    // Paths with query of every request so far, in order.
    QStringList requests() const;

    // The generated results for a query and type, as the engine serves them by default.
    static QList<FakeResult> generatedResults(const QString& query, const QString& type, int count);
    // The result page markup for `results` (one page), as served at `pageUrl`.
    struct Page {
        QList<FakeResult> results;
        int first = 1;  // number of the first result, from 1
        int total = 0;  // results of the query in all
        int perPage = 10;
        QString nextUrl;  // empty on the last page
        bool shows100 = false;
        int padding = 0;
    };
    static QByteArray resultPageHtml(const QString& base, const Page& page);
    static QByteArray verificationPageHtml();
    static inline const QString kVerificationText =
        QStringLiteral("您的访问过于频繁，为确认本次访问为正常用户行为，需要您协助验证");

  private:
    void route();
    void search(const httplib::Request& request, httplib::Response& response);
    void document(const httplib::Request& request, httplib::Response& response);
    void trickle(const httplib::Request& request, httplib::Response& response);
    // Waits until released or stopped, at most two minutes; false when stopped.
    bool hold();
    void log(const httplib::Request& request);

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable released_;
    int heldGeneration_ = 0;
    bool stopping_ = false;
    int defaultCount_ = 30;
    int perPage_ = 10;
    int verificationAfter_ = 0;
    int searchDelayMs_ = 0;
    bool searchNever_ = false;
    bool shows100_ = false;
    int padding_ = 0;
    bool compression_ = false;
    int searchRequests_ = 0;
    QStringList requests_;
    QHash<QString, QList<FakeResult>> results_;
    struct Extra {
        QByteArray body;
        QByteArray contentType;
        int delayMs;
    };
    QHash<QString, Extra> pages_;
};
