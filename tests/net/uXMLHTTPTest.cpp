#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <mutex>

#include "net/RequestFactory.h"
#include "net/uXMLHTTP.h"
#include "platform/runtime/QtRuntime.h"
#include "support/LocalHttpServer.h"

// Real sockets and real time against a server on 127.0.0.1. The tests wait for what
// happens, bounded, and never assert how long it took.

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct HttpFixture : testing::Test {
    HttpFixture() {
        http.OnDateArrived = [this] { events.append(QStringLiteral("arrived")); };
        http.OnDateErr = [this](const QString& text) {
            events.append(QStringLiteral("error:") + text);
        };
        http.OnReadyStateChange = [this] { ++readyStateChanges; };
    }

    // Runs the event loop until the request has raised its event (or 20 s passed).
    bool waitForEvent() {
        return waitFor([this] { return !events.isEmpty(); });
    }
    bool waitFor(const std::function<bool()>& done) {
        const double start = runtime.now();
        while (!done()) {
            if (runtime.now() - start > 20) {
                return false;
            }
            runtime.waitStep();
        }
        return true;
    }
    void request(const QString& path, const QString& savePath = {},
                 const QString& method = QStringLiteral("GET")) {
        http.Open_(method, server.url(path), savePath);
        http.Send_();
    }
    // Runs the loop a while, then checks that no further event came.
    void expectQuietFor(int steps) {
        const QStringList before = events;
        for (int i = 0; i < steps; ++i) {
            runtime.waitStep();
        }
        EXPECT_EQ(events, before);
    }

    LocalHttpServer server;
    QtRuntime runtime;
    RequestFactory requests;
    uXMLHTTP http{nullptr, QStringLiteral("uXMLHTTP1"), runtime, requests};
    QStringList events;
    int readyStateChanges = 0;
    QTemporaryDir temp;
};

}  // namespace

TEST_F(HttpFixture, A200AnswerArrivesOnceWithItsStatusHeadersAndBody) {
    std::mutex lock;
    std::string method;
    server.server().Get("/v", [&](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard<std::mutex> guard(lock);
        method = req.method;
        res.set_header("X-Marker", "seen");
        res.set_content("3.5.13", "application/octet-stream");
    });
    server.start();

    request(QStringLiteral("/v"), {}, QStringLiteral("get"));
    ASSERT_TRUE(waitForEvent());
    expectQuietFor(5);  // no second event
    EXPECT_EQ(events, QStringList{QStringLiteral("arrived")});
    EXPECT_EQ(method, "GET");
    EXPECT_TRUE(http.DownOK());
    EXPECT_EQ(http.ReadyState(), 4);
    EXPECT_EQ(http.Status(), 200);
    EXPECT_EQ(http.StatusText(), "OK");
    EXPECT_EQ(http.ResponseBody(), "3.5.13");
    EXPECT_EQ(http.ResponseText(), "3.5.13");
    EXPECT_EQ(http.GetResponseHeader(QStringLiteral("x-marker")), "seen");
    EXPECT_EQ(http.GetResponseHeader(QStringLiteral("X-Missing")), "");
    EXPECT_TRUE(http.GetAllResponseHeaders().contains(QStringLiteral("X-Marker: seen\r\n")));
    EXPECT_GE(readyStateChanges, 1);
    EXPECT_FALSE(http.tmrReader->isEnabled());

    // A new request on the same component starts over.
    request(QStringLiteral("/v"));
    EXPECT_FALSE(http.DownOK());
    events.clear();
    ASSERT_TRUE(waitForEvent());
    EXPECT_EQ(events, QStringList{QStringLiteral("arrived")});
}

TEST_F(HttpFixture, AnEmptyAnswerArrivesWithoutWritingTheSaveFile) {
    server.server().Get("/empty",
                        [](const httplib::Request&, httplib::Response& res) { res.status = 200; });
    server.start();
    const QString target = temp.filePath(QStringLiteral("a.bin"));

    request(QStringLiteral("/empty"), target);
    ASSERT_TRUE(waitForEvent());
    EXPECT_EQ(events, QStringList{QStringLiteral("arrived")});
    EXPECT_TRUE(http.ResponseBody().isEmpty());
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(HttpFixture, OtherStatusesFailWithTheirDescriptionAndWriteNothing) {
    server.server().Get(R"(/status/(\d+))",
                        [](const httplib::Request& req, httplib::Response& res) {
                            res.status = std::stoi(req.matches[1]);
                            res.set_content("body of an error", "application/octet-stream");
                        });
    server.start();
    const QString target = temp.filePath(QStringLiteral("never.bin"));

    const QList<QPair<int, QString>> cases{
        {404, QStringLiteral("没有发现文件?查询或URl")},
        {418, QString()},
        {500, QStringLiteral("服务器产生内部错误")},
        {202, QStringLiteral("接受和处理?但处理未完成")},
    };
    for (const auto& [code, text] : cases) {
        events.clear();
        request(QStringLiteral("/status/%1").arg(code), target);
        ASSERT_TRUE(waitForEvent()) << code;
        EXPECT_EQ(events, QStringList{QStringLiteral("error:") + text}) << code;
        EXPECT_EQ(http.Status(), code);
        EXPECT_TRUE(http.DownOK());
    }
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(HttpFixture, ARefusedConnectionFailsWithTheEmptyText) {
    int closedPort = 0;
    {
        LocalHttpServer gone;
        gone.start();
        closedPort = gone.port();
    }
    http.Open_(QStringLiteral("GET"), QStringLiteral("http://127.0.0.1:%1/v").arg(closedPort));
    http.Send_();
    ASSERT_TRUE(waitForEvent());
    EXPECT_EQ(events, QStringList{QStringLiteral("error:")});
    EXPECT_TRUE(http.DownOK());
    EXPECT_EQ(http.Status(), 0);
}

TEST_F(HttpFixture, OnlyWebAddressesAreFetched) {
    const QString local = temp.filePath(QStringLiteral("secret.txt"));
    writeFile(local, "secret");
    http.Open_(QStringLiteral("GET"), QUrl::fromLocalFile(local).toString());
    http.Send_();
    ASSERT_TRUE(waitForEvent());
    EXPECT_EQ(events, QStringList{QStringLiteral("error:")});
    EXPECT_TRUE(http.ResponseBody().isEmpty());
}

TEST_F(HttpFixture, AbortEndsASilentServerWithoutAnyEvent) {
    server.hang("/silent");
    server.server().Get("/v", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("again", "application/octet-stream");
    });
    server.start();

    request(QStringLiteral("/silent"));
    ASSERT_TRUE(waitFor([&] { return server.hangingRequests() == 1; }));
    expectQuietFor(10);
    EXPECT_LT(http.ReadyState(), 4);
    EXPECT_TRUE(http.tmrReader->isEnabled());

    http.Abort_();
    EXPECT_FALSE(http.tmrReader->isEnabled());
    EXPECT_EQ(http.ReadyState(), 0);
    expectQuietFor(10);
    EXPECT_FALSE(http.DownOK());

    request(QStringLiteral("/v"));
    ASSERT_TRUE(waitForEvent());
    EXPECT_EQ(events, QStringList{QStringLiteral("arrived")});
    EXPECT_EQ(http.ResponseBody(), "again");
}

TEST_F(HttpFixture, TheSavePathReplacesAnExistingFileInEverySpelling) {
    server.server().Get("/file", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string("new\0bytes", 9), "application/octet-stream");
    });
    server.start();
    const QString target = temp.filePath(QStringLiteral("a.bin"));
    QString backslashed = target;
    backslashed.replace(u'/', u'\\');

    for (const QString& savePath : {target, QStringLiteral("  FILE:///") + target.mid(1) + u' ',
                                    QStringLiteral("file:///") + backslashed.mid(1)}) {
        writeFile(target, "old content");
        events.clear();
        request(QStringLiteral("/file"), savePath);
        ASSERT_TRUE(waitForEvent());
        EXPECT_EQ(events, QStringList{QStringLiteral("arrived")}) << savePath.toStdString();
        EXPECT_EQ(readFile(target), QByteArray("new\0bytes", 9)) << savePath.toStdString();
    }
}

TEST_F(HttpFixture, ASaveThatFailsKeepsTheOldFileAndReportsAnError) {
    server.server().Get("/file", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("new", "application/octet-stream");
    });
    server.start();
    // The name leaves no room for the temporary file beside it, so the write fails
    // even for root.
    const QString target = temp.filePath(QString(250, u'a'));
    writeFile(target, "old content");

    request(QStringLiteral("/file"), target);
    ASSERT_TRUE(waitForEvent());
    EXPECT_EQ(events, QStringList{QStringLiteral("error:")});
    EXPECT_EQ(http.Status(), 200);
    EXPECT_TRUE(http.DownOK());
    EXPECT_EQ(readFile(target), "old content");

    // A folder that does not exist fails the same way.
    events.clear();
    request(QStringLiteral("/file"), temp.filePath(QStringLiteral("missing/a.bin")));
    ASSERT_TRUE(waitForEvent());
    EXPECT_EQ(events, QStringList{QStringLiteral("error:")});
}

TEST_F(HttpFixture, LargeAndBinaryAnswersArriveWhole) {
    QByteArray big(4 * 1024 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < big.size(); ++i) {
        big[i] = char(QRandomGenerator::global()->bounded(256));
    }
    server.server().Get("/big", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(big.constData(), size_t(big.size()), "application/octet-stream");
    });
    server.start();
    const QString target = temp.filePath(QStringLiteral("big.bin"));

    request(QStringLiteral("/big"), target);
    ASSERT_TRUE(waitForEvent());
    EXPECT_EQ(events, QStringList{QStringLiteral("arrived")});
    EXPECT_TRUE(http.ResponseBody() == big);
    EXPECT_TRUE(readFile(target) == big);
    EXPECT_FALSE(http.ResponseText().isEmpty());  // decoded, not refused
}

TEST_F(HttpFixture, ResponseTextFollowsTheByteOrderMarkThenTheCharset) {
    struct Case {
        std::string body;
        std::string contentType;
        QString text;
    };
    const QList<Case> cases{
        {"\xEF\xBB\xBF"
         "3.5.13\r\n",
         "text/plain", QStringLiteral("3.5.13\r\n")},
        {std::string("\xFF\xFE"
                     "3\0.\0"
                     "5\0",
                     8),
         "application/octet-stream", QStringLiteral("3.5")},
        {"\xB0\xE6\xB1\xBE", "text/plain; charset=GBK", QStringLiteral("版本")},
        {"\xE7\x89\x88\xE6\x9C\xAC", "text/plain", QStringLiteral("版本")},
        {"caf\xE9", "text/plain; charset=\"ISO-8859-1\"", QStringLiteral("café")},
    };
    std::mutex lock;
    Case current;
    server.server().Get("/text", [&](const httplib::Request&, httplib::Response& res) {
        std::lock_guard<std::mutex> guard(lock);
        res.set_content(current.body, current.contentType.c_str());
    });
    server.start();

    for (const Case& c : cases) {
        {
            std::lock_guard<std::mutex> guard(lock);
            current = c;
        }
        events.clear();
        request(QStringLiteral("/text"));
        ASSERT_TRUE(waitForEvent());
        EXPECT_EQ(http.ResponseText(), c.text) << c.contentType;
    }
}

TEST_F(HttpFixture, ATricklingServerNeitherBlocksTheLoopNorEndsTheRequest) {
    server.trickle("/trickle", 'x');
    server.start();

    int otherTicks = 0;
    const auto other = runtime.startTimer(5, [&] { ++otherTicks; });
    request(QStringLiteral("/trickle"));
    ASSERT_TRUE(waitFor([&] { return http.ResponseBody().size() >= 2; }));
    runtime.stopTimer(other);

    EXPECT_EQ(http.ReadyState(), 3);
    EXPECT_TRUE(events.isEmpty());
    EXPECT_GT(otherTicks, 10);  // the loop served other work while the bytes trickled in
    EXPECT_GT(readyStateChanges, 10);
    http.Abort_();
    expectQuietFor(5);
}
