// The downloader component on virtual time with a scripted network: what each kind of
// answer ends in (the event raised and what the target holds), the watchdog, the
// request it sends, and the ends that must stay silent.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "net/Downloader.h"
#include "net/RequestFactory.h"
#include "platform/runtime/VirtualRuntime.h"
#include "support/FakeNetwork.h"

namespace {

const QString kUrl = QStringLiteral("http://files.test/a.pdf");
const QByteArray kPlaceholder("\x01\x00", 2);

// One component fetching kUrl into a target that holds the host's placeholder.
struct Rig {
    Rig() {
        QFile placeholder(target);
        EXPECT_TRUE(placeholder.open(QIODevice::WriteOnly));
        placeholder.write(kPlaceholder);
        placeholder.close();
        downloader->DownloadProgress = [this](qint64 cur, qint64 max, const QString& file) {
            record(QStringLiteral("progress %1/%2").arg(cur).arg(max), file);
        };
        downloader->DownloadComplete = [this](qint64 cur, qint64 max, const QString& file) {
            record(QStringLiteral("complete %1/%2").arg(cur).arg(max), file);
        };
        downloader->DownloadError = [this](const QString& file, const QString& missCode) {
            record(QStringLiteral("error ") + missCode, file);
        };
    }

    void record(const QString& event, const QString& file) {
        events.append(event + (file == target ? QString() : QStringLiteral(" (other file)")));
        if (onEvent) {
            onEvent();
        }
    }
    void begin(const QString& address = kUrl) {
        downloader->BeginDownload(address, target, QStringLiteral("http://files.test/list"));
    }
    QByteArray targetBytes() const {
        QFile file(target);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // The folder's files besides the target (a running transfer's hidden part).
    QStringList others() const {
        QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeOne(QStringLiteral("a.pdf"));
        return files;
    }

    VirtualRuntime runtime;
    FakeNetwork* network = new FakeNetwork(runtime);
    RequestFactory requests{std::unique_ptr<QNetworkAccessManager>(network)};
    QTemporaryDir dir;
    QString target = dir.filePath(QStringLiteral("a.pdf"));
    std::unique_ptr<Downloader> downloader =
        std::make_unique<Downloader>(nullptr, QStringLiteral("Downloader1"), runtime, requests);
    QStringList events;
    std::function<void()> onEvent;
};

FakeResponse refused() {
    return {.error = QNetworkReply::ConnectionRefusedError, .headersAtMs = -1};
}

}  // namespace

TEST(Downloader, OnlyAWholeBodyReplacesTheTargetAndAFailedFirstAttemptIsTriedOnceMore) {
    const QByteArray body("%PDF-1");
    const QStringList whole{"progress 6/6", "complete 6/6"};
    struct Case {
        const char* what;
        QList<FakeResponse> answers;  // the first attempt's, then the second's
        QStringList events;
        QByteArray target;
        int requests;
        qint64 unannouncedLimit = 0;
    };
    const Case cases[] = {
        {"announced", {FakeResponse::whole(body)}, whole, body, 1},
        {"unannounced, in pieces",
         {{.chunks = {{0, "ab"}, {100, "cd"}}}},
         {"complete 4/4"},
         "abcd",
         1},
        {"an error status, then the file",
         {{.status = 404, .chunks = {{0, "<html>"}}}, FakeResponse::whole(body)},
         whole,
         body,
         2},
        {"nothing, twice", {{.length = 0}}, {"error 无法下载"}, kPlaceholder, 2},
        {"shorter than announced, twice",
         {{.length = 10, .chunks = {{0, "abc"}}}},
         {"progress 3/10", "progress 3/10", "error 无法下载"},
         kPlaceholder,
         2},
        {"a dropped connection, then refused",
         {{.chunks = {{0, "abc"}}, .error = QNetworkReply::RemoteHostClosedError}, refused()},
         {"error 无法下载"},
         kPlaceholder,
         2},
        {"unannounced, past the limit",
         {{.chunks = {{0, "ab"}, {100, "cd"}, {200, "ef"}}}},
         {"progress 4/4", "complete 6/6"},
         "abcdef",
         1,
         3},
        {"announced, the limit is the host's", {FakeResponse::whole(body)}, whole, body, 1, 3},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.downloader->setUnannouncedLimit(c.unannouncedLimit);
        for (const FakeResponse& answer : c.answers) {
            rig.network->serve(kUrl, answer);
        }
        rig.begin();
        rig.runtime.advance(1000);
        EXPECT_EQ(rig.events, c.events) << c.what;
        EXPECT_EQ(rig.targetBytes(), c.target) << c.what;
        EXPECT_EQ(rig.network->requests().size(), c.requests) << c.what;
        EXPECT_EQ(rig.others(), QStringList()) << c.what;
    }
}

TEST(Downloader, TheWatchdogEndsOnlyATransferThatReceivesNothingFor300Seconds) {
    struct Case {
        const char* what;
        QList<FakeResponse> answers;
        QStringList events;
        double endsAt;  // seconds
    };
    QList<FakeChunk> slowBytes;  // a byte every 200 s
    for (int ms = 0; ms <= 1'800'000; ms += 200'000) {
        slowBytes.append({ms, "x"});
    }
    const Case cases[] = {
        {"never answers", {{.headersAtMs = -1, .endAtMs = -1}}, {"error 超时"}, 300},
        {"stalls after a start",
         {{.length = 9, .chunks = {{0, "abc"}}, .endAtMs = -1}},
         {"progress 3/9", "error 超时"},
         301},
        {"slow, always growing", {{.chunks = slowBytes}}, {"complete 10/10"}, 1800},
        {"fails late, then slow: the second attempt's bytes count",
         {{.error = QNetworkReply::RemoteHostClosedError, .headersAtMs = -1, .endAtMs = 250'000},
          {.chunks = {{20'000, "a"}, {220'000, "b"}, {420'000, "c"}}}},
         {"complete 3/3"},
         670},
    };
    for (const Case& c : cases) {
        Rig rig;
        double endedAt = -1;
        rig.onEvent = [&] { endedAt = rig.runtime.now(); };
        for (const FakeResponse& answer : c.answers) {
            rig.network->serve(kUrl, answer);
        }
        rig.begin();
        rig.runtime.advance(5000);
        EXPECT_EQ(rig.events, c.events) << c.what;
        EXPECT_GE(endedAt, c.endsAt) << c.what;
        EXPECT_LT(endedAt, c.endsAt + 2) << c.what;
        EXPECT_EQ(rig.network->running(), 0) << c.what;
        EXPECT_EQ(rig.others(), QStringList()) << c.what;
    }
}

TEST(Downloader, TheTargetKeepsItsPlaceholderUntilTheBodyIsWhole) {
    Rig rig;
    rig.network->serve(kUrl, {.length = 6, .chunks = {{0, "abc"}, {60'000, "def"}}});
    rig.begin();
    rig.runtime.advance(30);
    EXPECT_EQ(rig.targetBytes(), kPlaceholder);
    for (const QString& name : rig.others()) {
        EXPECT_TRUE(name.startsWith(u'.')) << name.toStdString();
    }
    rig.runtime.advance(60);
    EXPECT_EQ(rig.targetBytes(), "abcdef");
    EXPECT_EQ(rig.others(), QStringList());
}

TEST(Downloader, AsksAFreshCopyOfTheAddressWithPlainAmpersandsAndNothingButTheWeb) {
    Rig rig;
    rig.begin(QStringLiteral("  http://files.test/a.pdf?x=1&AMP;y=2&amp;z=3\n"));
    rig.runtime.advance(1);
    ASSERT_EQ(rig.network->requests().size(), 2);  // refused twice
    const QNetworkRequest& request = rig.network->requests().first().request;
    EXPECT_EQ(request.url(), QUrl("http://files.test/a.pdf?x=1&y=2&z=3"));
    EXPECT_EQ(request.attribute(QNetworkRequest::CacheLoadControlAttribute),
              QNetworkRequest::AlwaysNetwork);
    EXPECT_EQ(request.rawHeader("Referer"), "http://files.test/list");

    Rig other;
    other.begin(QStringLiteral("file:///etc/passwd"));
    EXPECT_EQ(other.events, QStringList());  // nothing inside BeginDownload
    other.runtime.advance(1);
    EXPECT_EQ(other.events, QStringList{"error 无法下载"});
    EXPECT_EQ(other.network->requests().size(), 0);
    EXPECT_EQ(other.targetBytes(), kPlaceholder);
}

TEST(Downloader, ACancelOrTheEndOfTheComponentRaisesNothingAndLeavesTheTargetAlone) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> stop;
        bool inProgressEvent;
    };
    const Case cases[] = {
        {"cancelled", [](Rig& rig) { EXPECT_FALSE(rig.downloader->CancelAsyncRead()); }, false},
        {"destroyed", [](Rig& rig) { rig.downloader.reset(); }, false},
        {"cancelled inside its progress event", [](Rig& rig) { rig.downloader->CancelAsyncRead(); },
         true},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.network->serve(kUrl, {.length = 6, .chunks = {{0, "abc"}, {60'000, "def"}}});
        if (c.inProgressEvent) {
            rig.onEvent = [&] { c.stop(rig); };
        }
        rig.begin();
        rig.runtime.advance(30);
        if (!c.inProgressEvent) {
            c.stop(rig);
        }
        rig.runtime.advance(1000);
        EXPECT_EQ(rig.events, QStringList{"progress 3/6"}) << c.what;
        EXPECT_EQ(rig.network->running(), 0) << c.what;
        EXPECT_EQ(rig.targetBytes(), kPlaceholder) << c.what;
        EXPECT_EQ(rig.others(), QStringList()) << c.what;
    }
}

TEST(Downloader, ACancelBetweenTheTwoAttemptsSendsNoSecondRequest) {
    Rig rig;
    rig.network->serve(
        kUrl,
        {.error = QNetworkReply::RemoteHostClosedError, .headersAtMs = -1, .endAtMs = 10'000});
    rig.network->serve(kUrl, FakeResponse::whole("abc"));
    rig.begin();
    // Due with the failure, after it: before the second attempt that the failure posts.
    rig.runtime.callAfter(10'000, [&] { rig.downloader->CancelAsyncRead(); });
    rig.runtime.advance(1000);
    EXPECT_EQ(rig.events, QStringList());
    EXPECT_EQ(rig.network->requests().size(), 1);
}
