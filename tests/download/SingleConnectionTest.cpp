// Download method 1 on virtual time over the fake network: what the response's headers
// decide before anything is written, the stream and its endings, the whole-body
// fallback, the user's stop, the stall, and windows that close inside the transfer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "DownloadTestSupport.h"
#include "download/DownloadList.h"
#include "download/fFileDownload.h"
#include "support/FakeNetwork.h"
#include "support/TestApp.h"

namespace {

const QString kAddress = QStringLiteral("http://files.test/docs/a.pdf");
const QByteArray kPdf = QByteArrayLiteral("%PDF-1.4\n1 0 obj\n<<>>\nendobj\n%%EOF\n");
const QByteArray kPage =
    QByteArrayLiteral("<html><head><title>t</title></head><body>x</body></html>");
const QString kClosing = QStringLiteral("正在下载文件或者下载没有完成，要强制关闭窗口吗？");

using Headers = QList<QPair<QByteArray, QByteArray>>;

class SingleConnection : public ::testing::Test {
  protected:
    SingleConnection() { open(app); }

    fFileDownload* open(TestApp& on) {
        window = on.forms.load<fFileDownload>(fFileDownload::kName);
        on.config.downloadMethod = 1;
        on.config.maxFileSizeMB = 10;
        folder = app.temp.path() + QStringLiteral("/files/");
        return window;
    }
    DownloadEntry entry() { return DownloadEntry(*window->ListView3, window->ListView3->at(1)); }
    DownloadEntry add(const QString& referrer = {}) {
        return AddEntry(*window->ListView3, kAddress, QStringLiteral("报告"), QStringLiteral("pdf"),
                        folder, referrer);
    }
    // Starts the download timer and runs until the transfer has ended.
    void run(double seconds = 60) {
        window->Command4->click();
        app.runtime.waitUntil(
            [this] {
                const EntryState state = entry().state();
                return !window->single.executing() &&
                       (state == EntryState::Done || state == EntryState::Failed);
            },
            seconds);
    }
    QStringList files() const {
        return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden |
                                      QDir::NoDotAndDotDot);
    }

    TestApp app{TestApp::Network::Fake};
    fFileDownload* window = nullptr;
    QString folder;
};

TEST_F(SingleConnection, TheHeadersDecideSizeTypeAndPathAndTheBodyEndsAsTheTableSays) {
    struct Case {
        const char* what;
        QList<FakeResponse> responses;
        OptionButton* fFileDownload::*rule = &fFileDownload::Option3;
        QByteArray existing = {};  // a file 报告.<existingType> there before
        const char* existingType = "pdf";
        bool existingFolder = false;  // a folder of that name instead
        EntryState state = EntryState::Done;
        const char* type = "pdf";
        const char* size = "";
        const char* progress = "";
        QStringList files = {};
        QByteArray content = {};  // of the file named files[0]
        int requests = 1;
    };
    const FakeResponse cutShort{
        .length = 100, .chunks = {{0, "half"}}, .error = QNetworkReply::RemoteHostClosedError};
    const Case cases[] = {
        {.what = "no length",
         .responses = {{.chunks = {{0, kPdf}}}},
         .size = "35",
         .progress = "100%",
         .files = {"报告.pdf"},
         .content = kPdf},
        {.what = "charset",
         .responses = {{.headers = {{"Content-Type", "text/html; charset=gbk"}},
                        .chunks = {{0, kPage}}}},
         .type = "htm",
         .size = "56",
         .progress = "100%",
         .files = {"报告.htm"},
         .content = kPage},
        {.what = "disposition",
         .responses = {{.headers = {{"Content-Type", "application/octet-stream"},
                                    {"Content-Disposition", "attachment; filename=report.doc"}},
                        .chunks = {{0, "plain words"}}}},
         .type = "doc",
         .size = "11",
         .progress = "100%",
         .files = {"报告.doc"}},
        {.what = "no 200 OK and no length: fetched whole",
         .responses = {{.status = 203, .chunks = {{0, "first"}}}, FakeResponse::whole(kPdf)},
         .size = "35",
         .progress = "100%",
         .files = {"报告.pdf"},
         .content = kPdf,
         .requests = 2},
        {.what = "announced too large",
         .responses = {{.length = 20 << 20, .chunks = {{0, kPdf}}, .endAtMs = -1}},
         .progress = "大文件，跳过"},
        {.what = "grew too large",
         .responses = {{.chunks = {{0, kPdf}, {10, QByteArray(11 << 20, 'x')}}, .endAtMs = -1}},
         .size = "未知",
         .progress = "大文件，跳过",
         .files = {"报告.pdf"}},
        {.what = "short of its length",
         .responses = {cutShort},
         .state = EntryState::Failed,
         .size = "下载失败",
         .progress = "4%"},
        {.what = "refused", .responses = {}, .state = EntryState::Failed},
        {.what = "a negative length and a 64 KB type",
         .responses = {{.headers = {{"Content-Length", "-5"},
                                    {"Content-Type", QByteArray(64 * 1024, 'a')}},
                        .chunks = {{0, kPdf}}}},
         .size = "35",
         .progress = "100%",
         .files = {"报告.pdf"},
         .content = kPdf},
        {.what = "a length past any number",
         .responses = {{.headers = {{"Content-Length", "99999999999999999999999"}},
                        .chunks = {{0, kPdf}}}},
         .size = "35",
         .progress = "100%",
         .files = {"报告.pdf"},
         .content = kPdf},
        {.what = "a new type finds its name taken under skip",
         .responses = {{.headers = {{"Content-Type", "text/html"}}, .chunks = {{0, kPage}}}},
         .rule = &fFileDownload::Option1,
         .existing = "mine",
         .existingType = "html",
         .type = "html",
         .size = "4",
         .progress = "已存在，跳过",
         .files = {"报告.html"},
         .content = "mine"},
        {.what = "a folder where the file goes",
         .responses = {FakeResponse::whole(kPdf)},
         .rule = &fFileDownload::Option2,
         .existingFolder = true,
         .state = EntryState::Failed,
         .size = "<the folder's size>",
         .progress = "无法替换",
         .files = {"报告.pdf"}},
        {.what = "a failed overwrite keeps the old file",
         .responses = {cutShort},
         .rule = &fFileDownload::Option2,
         .existing = "old",
         .state = EntryState::Failed,
         .size = "下载失败",
         .progress = "4%",
         .files = {"报告.pdf"},
         .content = "old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestApp fresh{TestApp::Network::Fake};
        open(fresh);
        folder = fresh.temp.path() + QStringLiteral("/files/");
        QDir().mkpath(folder);
        (window->*c.rule)->setValue(true);
        if (!c.existing.isEmpty()) {
            ASSERT_TRUE(WriteFile(folder + "报告." + c.existingType, c.existing));
        }
        if (c.existingFolder) {
            ASSERT_TRUE(QDir().mkpath(folder + "报告." + c.existingType));
        }
        for (const FakeResponse& response : c.responses) {
            fresh.network->serve(kAddress, response);
        }
        add();
        window->Command4->click();
        fresh.runtime.waitUntil(
            [&] {
                const EntryState state = entry().state();
                return !window->single.executing() &&
                       (state == EntryState::Done || state == EntryState::Failed);
            },
            60);
        EXPECT_EQ(entry().state(), c.state);
        EXPECT_EQ(entry().type(), QString::fromUtf8(c.type));
        EXPECT_EQ(entry().sizeText(), c.existingFolder
                                          ? QString::number(QFileInfo(folder + "报告.pdf").size())
                                          : QString::fromUtf8(c.size));
        EXPECT_EQ(entry().progressText(), QString::fromUtf8(c.progress));
        EXPECT_EQ(files(), c.files);
        if (!c.content.isEmpty()) {
            EXPECT_EQ(ReadFile(folder + c.files.value(0)), c.content);
        }
        EXPECT_EQ(fresh.network->requests().size(), c.requests);
        fresh.forms.endProgram();
    }
}

TEST_F(SingleConnection, TheRefererIsTheResultPageOrElseTheSiteAndPanelThreeFollowsTheReply) {
    app.network->serve(kAddress, FakeResponse::whole(kPdf));
    add();
    run();
    AddEntry(*window->ListView3, kAddress + "?2", "b", "pdf", folder, "http://engine.test/p?q=1");
    app.network->serve(kAddress + "?2", FakeResponse::whole(kPdf));
    window->Command4->click();
    ASSERT_TRUE(app.runtime.waitUntil([&] { return app.network->requests().size() == 2; }, 10));
    EXPECT_EQ(app.network->requests()[0].request.rawHeader("Referer"), "http://files.test");
    EXPECT_EQ(app.network->requests()[1].request.rawHeader("Referer"), "http://engine.test/p?q=1");
    app.runtime.advance(2);
    EXPECT_EQ(window->StatusBar1->panelText(3),
              QStringLiteral("12 该请求已经完成，并且所有数据均已接收到。"));
}

TEST_F(SingleConnection, AStopOrAStallFailsTheTransferAndLeavesNoFile) {
    // Known length, one piece a second: stopped after the first pieces.
    QList<FakeChunk> pieces;
    for (int i = 0; i < 100; ++i) {
        pieces.append({i * 1000, QByteArray(100, 'x')});
    }
    app.network->serve(kAddress, {.length = 10000, .chunks = pieces});
    add();
    // The transfer runs inside the download tick: the stop comes from the event loop.
    app.runtime.callAfter(3500, [this] {
        EXPECT_EQ(entry().receivedText(), QStringLiteral("300"));
        window->Command31->click();
    });
    run();
    EXPECT_EQ(entry().state(), EntryState::Failed);
    EXPECT_EQ(entry().sizeText(), QStringLiteral("下载取消"));
    EXPECT_FALSE(window->single.executing());
    EXPECT_FALSE(window->runState.downloadBusy);
    EXPECT_EQ(files(), QStringList());

    // Headers and a first piece, then nothing for good.
    window->ListView3->clear();
    const QString stalling = kAddress + QStringLiteral("?stall");
    app.network->serve(stalling, {.length = 10000, .chunks = {{0, "x"}}, .endAtMs = -1});
    AddEntry(*window->ListView3, stalling, QStringLiteral("报告"), QStringLiteral("pdf"), folder,
             QString());
    run(200);
    EXPECT_EQ(entry().state(), EntryState::Failed);
    EXPECT_EQ(entry().sizeText(), QStringLiteral("下载失败"));
    EXPECT_EQ(files(), QStringList());
}

TEST_F(SingleConnection, AWindowThatClosesOrAProgramThatEndsInsideTheTransferEndsItQuietly) {
    struct Case {
        const char* where;
        QList<FakeResponse> responses;
    };
    const Case cases[] = {
        {"header wait", {{.headersAtMs = -1, .endAtMs = -1}}},
        {"stream", {{.length = 1000, .chunks = {{0, "x"}}, .endAtMs = -1}}},
        {"fallback", {{.status = 203, .chunks = {{0, "x"}}}, {.headersAtMs = -1, .endAtMs = -1}}},
    };
    for (const Case& c : cases) {
        for (const bool endProgram : {false, true}) {
            SCOPED_TRACE(std::string(c.where) +
                         (endProgram ? ", program ends" : ", window closes"));
            TestApp fresh{TestApp::Network::Fake};
            open(fresh);
            folder = fresh.temp.path() + QStringLiteral("/files/");
            window->Check6->setValue(true);
            for (const FakeResponse& response : c.responses) {
                fresh.network->serve(kAddress, response);
            }
            add();
            // Inside the transfer, which runs in the download tick, from the event loop.
            fresh.runtime.callAfter(1800, [&] {
                ASSERT_TRUE(window->single.executing());
                ASSERT_EQ(fresh.network->requests().size(), c.responses.size());
                if (endProgram) {
                    fresh.forms.endProgram();
                } else {
                    fresh.dialogs.expectQuestion(kClosing, MessageAnswer::Yes);
                    EXPECT_TRUE(window->close());
                }
            });
            window->Command4->click();
            fresh.runtime.advance(5);
            // The transfer's ending plays nothing (a finished run's cue may follow: the
            // virtual clock keeps ticking after the program's end).
            for (const QString& cue : {QStringLiteral("101.wav"), QStringLiteral("103.wav")}) {
                EXPECT_FALSE(fresh.sound.played.contains(fresh.services.paths.dataFolder + cue));
            }
            EXPECT_EQ(fresh.network->running(), 0);
        }
    }
}

}  // namespace
