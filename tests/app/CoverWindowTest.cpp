#include <gtest/gtest.h>

#include <mutex>

#include "app/fCover.h"
#include "download/fFileDownload.h"
#include "net/uXMLHTTP.h"
#include "search/fWebSearch.h"
#include "support/LocalHttpServer.h"
#include "support/NetworkPump.h"
#include "support/TestApp.h"
#include "sys/SystemInfo.h"

namespace {

const QString kNetworkMessage = QStringLiteral("请保持网络畅通！");

// The maker's site: the version file under the executable's folder, with a reply the
// test chooses.
class MakerSite {
  public:
    MakerSite() {
        server_.server().Get(R"(/([^/]+)/newver\.txt)",
                             [this](const httplib::Request& req, httplib::Response& res) {
                                 std::lock_guard<std::mutex> guard(lock_);
                                 folders_.push_back(req.matches[1]);
                                 res.status = status_;
                                 res.set_content(reply_, "application/octet-stream");
                             });
        server_.start();
    }
    void answer(const std::string& reply, int status = 200) {
        std::lock_guard<std::mutex> guard(lock_);
        reply_ = reply;
        status_ = status;
    }
    std::vector<std::string> folders() {
        std::lock_guard<std::mutex> guard(lock_);
        return folders_;
    }
    QString url() const { return server_.url(); }

  private:
    LocalHttpServer server_;
    std::mutex lock_;
    std::string reply_;
    int status_ = 200;
    std::vector<std::string> folders_;
};

// Starts the program against the site, running version 3.5.12, and lets the version
// request run to its end.
fCover* startAndCheckVersion(TestApp& app, const QString& site) {
    app.services.makerSite = site;
    auto* cover = app.forms.load<fCover>(fCover::kName);
    cover->runningVersion = {3, 5, 12};
    app.runtime.advance(0.1);
    EXPECT_TRUE(pumpUntil(app.runtime, [cover] { return cover->uXMLHTTP2->DownOK(); }));
    return cover;
}

QString downloadPage(const QString& site) {
    return site + u'/' + ExecutableName() + u'/';
}

}  // namespace

TEST(CoverWindow, LoadShowsTheVersionWithAnAsciiColonAndTheNotice) {
    TestApp app;
    app.forms.load(fCover::kName);
    auto* cover = app.forms.find<fCover>(fCover::kName);
    ASSERT_NE(cover, nullptr);
    EXPECT_EQ(cover->caption(), "Orvellin");
    EXPECT_TRUE(cover->visible());
    EXPECT_TRUE(cover->Label2->caption().startsWith("版本:"));
    EXPECT_TRUE(cover->Label2->caption().count('.') == 2);
    EXPECT_EQ(cover->Label4->caption(),
              "(该软件仅用于爱学习的人们辅助少量下载；请不要恶意下载和大量下载！)");
    EXPECT_EQ(cover->Command1->caption(), "搜索文档下载");
    EXPECT_EQ(cover->Command3->caption(), "退出软件");
    EXPECT_FALSE(cover->Label3->visible());
    EXPECT_TRUE(cover->Label3->handCursor());
}

TEST(CoverWindow, LoadKeepsTheMachineFactsAndTheSizeLimitForTheRun) {
    TestApp app;
    app.settings.SettingsWrite(QStringLiteral("设置"), QStringLiteral("文件最大值"),
                               QStringLiteral("7.5"));
    auto* cover = app.forms.load<fCover>(fCover::kName);
    EXPECT_EQ(app.config.system.bitness, GetOsBitness());
    EXPECT_EQ(app.config.system.osText,
              GetOsDescription() + QStringLiteral("[") + GetOsBitness() + QStringLiteral("位]"));
    EXPECT_EQ(app.config.maxFileSizeMB, 8);
    EXPECT_TRUE(cover->Timer1->isEnabled());

    TestApp defaults;
    defaults.forms.load(fCover::kName);
    EXPECT_EQ(defaults.config.maxFileSizeMB, 10);
}

TEST(CoverWindow, WithoutAMakerSiteNothingIsAsked) {
    TestApp app;
    auto* cover = app.forms.load<fCover>(fCover::kName);
    app.runtime.advance(60);
    EXPECT_FALSE(cover->Timer1->isEnabled());
    EXPECT_EQ(cover->uXMLHTTP2->ReadyState(), 0);
    EXPECT_EQ(app.runtime.activeTimers(), 0);
    EXPECT_TRUE(app.shell.calls().isEmpty());
}

TEST(CoverWindow, ANewerPublishedVersionIsAnnouncedAndItsPageOpened) {
    MakerSite site;
    for (const std::string reply : {"3.5.13", " 3.5.13 \r\n",
                                    "\xEF\xBB\xBF"
                                    "3.5.13\r\n",
                                    "\n\t3.5.13\n\n"}) {
        site.answer(reply);
        TestApp app;
        fCover* cover = startAndCheckVersion(app, site.url());
        EXPECT_TRUE(cover->Label3->visible()) << reply;
        EXPECT_EQ(cover->Label3->caption(), "最新版本：V3.5.13可以下载升级。");
        EXPECT_EQ(
            app.shell.calls(),
            (QList<RecordingShell::Call>{{RecordingShell::Op::OpenUrl, downloadPage(site.url())}}));

        cover->Label3->click();
        EXPECT_EQ(app.shell.calls().size(), 2);
        EXPECT_EQ(app.shell.calls().last().second, downloadPage(site.url()));
    }
    EXPECT_EQ(site.folders().back(), ExecutableName().toStdString());
}

TEST(CoverWindow, OnlyThreeAsciiNumbersWithAGreaterWeightCount) {
    MakerSite site;
    const QList<std::pair<std::string, bool>> replies{
        {"3.5.12", false},
        {"3.4.99", false},
        {"3.6.0", true},
        {"3.5", false},
        {"3.5.12.1", false},
        {"v3.5.13", false},
        {"3.5.1a", false},
        {"+3.5.13", false},
        {"3. 5.13", false},
        {"3..13", false},
        {"\xEF\xBC\x93.5.13", false},  // a full-width digit
        {"", false},
        {"000000000000003.5.13", true},    // 20 characters
        {"0000000000000003.5.13", false},  // 21 characters
        {"1234567890123456.0.0", true},    // beyond 64 bits once weighed
        {std::string(1024 * 1024, '9'), false},
        {std::string("\x00\xFF\x01\x80.\x02.\x03", 8), false},
    };
    for (const auto& [reply, newer] : replies) {
        site.answer(reply);
        TestApp app;
        fCover* cover = startAndCheckVersion(app, site.url() + u'/');
        EXPECT_EQ(cover->Label3->visible(), newer) << reply.substr(0, 30);
        EXPECT_EQ(app.shell.calls().size(), newer ? 1 : 0) << reply.substr(0, 30);
    }
}

TEST(CoverWindow, AFailedRequestAsksForTheNetworkOnce) {
    MakerSite site;
    site.answer("3.5.13", 404);
    {
        TestApp app;
        app.dialogs.expectMessage(kNetworkMessage, MessageIcon::Error);
        fCover* cover = startAndCheckVersion(app, site.url());
        app.runtime.advance(60);
        EXPECT_FALSE(cover->Label3->visible());
        EXPECT_TRUE(cover->visible());
        EXPECT_FALSE(app.runtime.quitRequested());
    }

    int closedPort = 0;
    {
        LocalHttpServer gone;
        gone.start();
        closedPort = gone.port();
    }
    TestApp app;
    app.dialogs.expectMessage(kNetworkMessage, MessageIcon::Error);
    startAndCheckVersion(app, QStringLiteral("http://127.0.0.1:%1").arg(closedPort));
    app.runtime.advance(60);
    EXPECT_EQ(app.dialogs.messageTexts(), QStringList{kNetworkMessage});
}

TEST(CoverWindow, ATricklingServerIsGivenUpAfterThirtySeconds) {
    LocalHttpServer site;
    site.trickle(R"(/([^/]+)/newver\.txt)", '3');
    site.start();
    TestApp app;
    app.services.makerSite = site.url();
    auto* cover = app.forms.load<fCover>(fCover::kName);
    app.runtime.advance(0.1);
    ASSERT_TRUE(pumpUntil(app.runtime, [cover] { return cover->uXMLHTTP2->ReadyState() == 3; }));

    app.runtime.advance(29);
    EXPECT_TRUE(app.dialogs.shown().isEmpty());
    app.dialogs.expectMessage(kNetworkMessage, MessageIcon::Error);
    app.runtime.advance(1);
    EXPECT_EQ(app.dialogs.messageTexts(), QStringList{kNetworkMessage});
    EXPECT_FALSE(cover->uXMLHTTP2->tmrReader->isEnabled());
    EXPECT_EQ(app.runtime.activeTimers(), 0);
}

TEST(CoverWindow, ResizingKeepsThePictureInPlaceAndTheWidthFixed) {
    TestApp app;
    auto* cover = app.forms.load<fCover>(fCover::kName);
    cover->resizedByView(QRect(1500, 1500, 9000, 5400), QSize(8900, 5000));
    EXPECT_EQ(cover->Image1->geometry(), QRect(30, 30, 6300, 3000));
    EXPECT_EQ(cover->geometry(), QRect(1500, 1500, 6450, 5400));

    cover->stateChangedByView(WindowState::Minimized);
    cover->resizedByView(QRect(0, 0, 2000, 400), QSize(2000, 400));
    EXPECT_EQ(cover->geometry(), QRect(0, 0, 2000, 400));
}

TEST(CoverWindow, ExitEndsTheProgram) {
    TestApp app;
    auto* cover = app.forms.load<fCover>(fCover::kName);
    cover->Command3->click();
    EXPECT_TRUE(app.runtime.quitRequested());
    EXPECT_FALSE(cover->visible());
}

TEST(CoverWindow, ClosingTheWindowEndsTheProgramWithoutOtherWindowsUnload) {
    TestApp app;
    int otherUnloads = 0;
    struct Other final : Window {
        Other(Forms& forms, int& unloads) : Window(forms, QStringLiteral("fOther")), n(unloads) {}
        void Form_Unload() override { ++n; }
        int& n;
    };
    app.forms.registerWindow(QStringLiteral("fOther"), [&](Forms& forms) {
        return std::make_unique<Other>(forms, otherUnloads);
    });
    app.forms.load(QStringLiteral("fOther"))->show();
    app.forms.load<fCover>(fCover::kName)->close();
    EXPECT_TRUE(app.runtime.quitRequested());
    EXPECT_EQ(otherUnloads, 0);
    EXPECT_FALSE(app.forms.find(QStringLiteral("fOther"))->visible());
}

TEST(CoverWindow, SearchOpensTheSearchWindowWhoseCloseShowsTheCoverUnlessDownloadsAreOpen) {
    TestApp app;
    auto* cover = app.forms.load<fCover>(fCover::kName);
    cover->Command1->click();
    EXPECT_FALSE(cover->visible());
    auto* search = app.forms.find<fWebSearch>(fWebSearch::kName);
    ASSERT_NE(search, nullptr);
    EXPECT_TRUE(search->visible());
    EXPECT_TRUE(search->close());
    EXPECT_TRUE(cover->visible());

    cover->Command1->click();
    search = app.forms.find<fWebSearch>(fWebSearch::kName);
    ASSERT_NE(search, nullptr);
    search->menu打开下载窗口->click();
    auto* download = app.forms.find<fFileDownload>(fFileDownload::kName);
    ASSERT_NE(download, nullptr);
    EXPECT_TRUE(search->close());
    EXPECT_FALSE(cover->visible());
    EXPECT_TRUE(download->close());
    EXPECT_TRUE(cover->visible());
    EXPECT_FALSE(app.runtime.quitRequested());
}
