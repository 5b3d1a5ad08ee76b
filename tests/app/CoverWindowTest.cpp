#include <gtest/gtest.h>

#include "app/fCover.h"
#include "download/fFileDownload.h"
#include "support/TestApp.h"

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
}

TEST(CoverWindow, ExitEndsTheProgram) {
    TestApp app;
    auto* cover = app.forms.load<fCover>(fCover::kName);
    cover->Command3->click();
    EXPECT_TRUE(app.runtime.quitRequested());
    EXPECT_FALSE(cover->visible());
}

TEST(CoverWindow, ClosingTheWindowEndsTheProgramToo) {
    TestApp app;
    app.forms.load<fCover>(fCover::kName)->close();
    EXPECT_TRUE(app.runtime.quitRequested());
}

TEST(CoverWindow, SearchLeadsToTheDownloadWindowWhoseCloseShowsTheCoverAgain) {
    TestApp app;
    auto* cover = app.forms.load<fCover>(fCover::kName);
    cover->Command1->click();
    EXPECT_FALSE(cover->visible());
    auto* download = app.forms.find<fFileDownload>(fFileDownload::kName);
    ASSERT_NE(download, nullptr);
    EXPECT_TRUE(download->visible());
    EXPECT_TRUE(download->close());
    EXPECT_TRUE(cover->visible());
    EXPECT_FALSE(app.runtime.quitRequested());
}
