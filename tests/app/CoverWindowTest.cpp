#include <gtest/gtest.h>

#include "app/fCover.h"
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

TEST(CoverWindow, SearchIsAnnouncedAndTheCoverStays) {
    TestApp app;
    auto* cover = app.forms.load<fCover>(fCover::kName);
    app.dialogs.expectMessage("文档搜索功能尚未开放，敬请期待。");
    cover->Command1->click();
    EXPECT_TRUE(cover->visible());
    EXPECT_FALSE(app.runtime.quitRequested());
}
