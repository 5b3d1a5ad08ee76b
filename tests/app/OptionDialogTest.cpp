#include <gtest/gtest.h>

#include "app/fOption.h"
#include "download/fFileDownload.h"
#include "support/TestApp.h"

namespace {

const QString kSettings = QStringLiteral("设置");

QString stored(TestApp& app, const QString& key) {
    return app.settings.SettingsRead(kSettings, key, QStringLiteral("<none>"));
}

fOption* openOptions(TestApp& app) {
    auto* options = app.forms.load<fOption>(fOption::kName);
    options->show();
    return options;
}

}  // namespace

TEST(OptionDialog, ShowsStoredValuesWhenNoWindowLoadedThemAndConfirmingKeepsThem) {
    TestApp app;
    app.config.maxFileSizeMB = 10;  // the start window's value
    app.settings.SettingsWrite(kSettings, "下载方式", "1");
    app.settings.SettingsWrite(kSettings, "代理服务器网址", "proxy.example.com");
    app.settings.SettingsWrite(kSettings, "代理服务器端口", "3128");
    app.settings.SettingsWrite(kSettings, "代理服务器有效", "1");
    app.settings.SettingsWrite(kSettings, "提取网页信息时提示下载保存路径", "0");
    app.settings.SettingsWrite(kSettings, "文件最大值", "7.5");

    auto* options = openOptions(app);
    EXPECT_EQ(options->caption(), "设置-Orvellin");
    EXPECT_TRUE(options->Option1->value());
    EXPECT_FALSE(options->Option2->value());
    EXPECT_TRUE(options->Check1->value());
    EXPECT_EQ(options->Text6->text(), "proxy.example.com");
    EXPECT_EQ(options->Text8->text(), "3128");
    EXPECT_FALSE(options->Check2->value());
    EXPECT_EQ(options->Text1->text(), "8");

    options->Command1->click();
    EXPECT_FALSE(app.forms.IsFormLoaded(fOption::kName));
    EXPECT_EQ(stored(app, "下载方式"), "1");
    EXPECT_EQ(stored(app, "代理服务器网址"), "proxy.example.com");
    EXPECT_EQ(stored(app, "代理服务器端口"), "3128");
    EXPECT_EQ(stored(app, "代理服务器有效"), "1");
    EXPECT_EQ(stored(app, "提取网页信息时提示下载保存路径"), "0");
    EXPECT_EQ(stored(app, "文件最大值"), "8");
    EXPECT_TRUE(app.dialogs.shown().isEmpty());
}

TEST(OptionDialog, ShowsTheValuesInMemoryOnceLoaded) {
    TestApp app;
    app.settings.SettingsWrite(kSettings, "代理服务器网址", "stored.example.com");
    app.config.downloadValuesLoaded = true;
    app.config.askPathLoaded = true;
    app.config.downloadMethod = 2;
    app.config.proxyHost = "memory.example.com";
    app.config.AskPathAtExtraction = 1;
    app.config.maxFileSizeMB = 25;
    auto* options = openOptions(app);
    EXPECT_TRUE(options->Option2->value());
    EXPECT_EQ(options->Text6->text(), "memory.example.com");
    EXPECT_TRUE(options->Check2->value());
    EXPECT_EQ(options->Text1->text(), "25");
}

TEST(OptionDialog, ConfirmingUpdatesMemoryAndStoreAndTrimsTheProxy) {
    TestApp app;
    auto* options = openOptions(app);
    options->Option1->click();
    options->Check1->setValue(true);
    options->Text6->setText("  10.0.0.1 ");
    options->Text8->setText(" 8080 ");
    options->Check2->setValue(false);
    options->Text1->setText("3.5");
    options->Command1->click();
    EXPECT_EQ(app.config.downloadMethod, 1);
    EXPECT_EQ(app.config.proxyEnabled, 1);
    EXPECT_EQ(app.config.proxyHost, "10.0.0.1");
    EXPECT_EQ(app.config.proxyPort, "8080");
    EXPECT_EQ(app.config.AskPathAtExtraction, 0);
    EXPECT_EQ(app.config.maxFileSizeMB, 4);
    EXPECT_EQ(stored(app, "代理服务器网址"), "10.0.0.1");
    EXPECT_EQ(stored(app, "文件最大值"), "4");

    // Any number is stored rounded, half to even; one that rounds to 0 too.
    for (const auto& [text, rounded] :
         {std::pair{"2.5", "2"}, {"0.4", "0"}, {"0", "0"}, {"-3", "-3"}}) {
        options = openOptions(app);
        options->Text1->setText(text);
        options->Command1->click();
        EXPECT_EQ(stored(app, "文件最大值"), rounded) << text;
    }
}

TEST(OptionDialog, AMalformedProxyIsReportedButStoredAndTheDialogCloses) {
    TestApp app;
    auto* options = openOptions(app);
    options->Check1->setValue(true);
    options->Text6->setText("");
    options->Text8->setText("8080");
    app.dialogs.expectMessage("代理服务器网址或者端口格式不对！", MessageIcon::Error);
    options->Command1->click();
    EXPECT_FALSE(app.forms.IsFormLoaded(fOption::kName));
    EXPECT_EQ(stored(app, "代理服务器网址"), "");
    EXPECT_EQ(stored(app, "代理服务器有效"), "1");

    for (const QString port : {"80a", "", "70000"}) {
        options = openOptions(app);
        options->Text6->setText("proxy.example.com");
        options->Text8->setText(port);
        app.dialogs.expectMessage("代理服务器网址或者端口格式不对！", MessageIcon::Error);
        options->Command1->click();
        EXPECT_EQ(stored(app, "代理服务器端口"), port);
    }

    // Without the proxy ticked nothing is checked.
    options = openOptions(app);
    options->Check1->setValue(false);
    options->Text8->setText("80a");
    options->Command1->click();
    EXPECT_EQ(app.dialogs.shown().size(), 4);
}

TEST(OptionDialog, ASizeThatIsNotANumberOrBeyond32BitsStoresNothing) {
    TestApp app;
    for (const QString text : {"abc", "", "2147483648", "1e300", "nan"}) {
        auto* options = openOptions(app);
        options->Option1->click();
        options->Check1->setValue(true);
        options->Text1->setText(text);
        app.dialogs.expectMessage(
            "下载文件大小必须是不超过2147483647的数字（单位：MB），请重新输入！",
            MessageIcon::Error);
        options->Command1->click();
        EXPECT_TRUE(app.forms.IsFormLoaded(fOption::kName)) << text.toStdString();
        EXPECT_EQ(app.settings.writeCount(), 0) << text.toStdString();
        options->Command2->click();
    }
    EXPECT_EQ(app.config.downloadMethod, 2);
    EXPECT_EQ(app.config.proxyEnabled, 0);
}

TEST(OptionDialog, ChoosingAMethodShowsAtOnceInTheOpenDownloadWindow) {
    TestApp app;
    app.settings.SettingsWrite(kSettings, "下载方式", "1");
    auto* download = app.forms.load<fFileDownload>(fFileDownload::kName);
    EXPECT_FALSE(download->Combo1->enabled());

    auto* options = openOptions(app);
    options->Option2->click();
    options->Command1->click();
    EXPECT_EQ(download->Label7->caption(), "下载方式：2");
    EXPECT_TRUE(download->Combo1->enabled());
    EXPECT_EQ(download->Combo1->text(), "1");

    // Leaving method 2 starts the slot choice at one again, as the window's load does.
    download->Combo1->select(3);
    options = openOptions(app);
    options->Option1->click();
    options->Command1->click();
    EXPECT_EQ(download->Label7->caption(), "下载方式：1");
    EXPECT_FALSE(download->Combo1->enabled());
    EXPECT_EQ(download->Combo1->text(), "1");
}

TEST(OptionDialog, CloseButtonChangesNothing) {
    TestApp app;
    auto* options = openOptions(app);
    options->Option1->click();
    options->Text1->setText("99");
    options->Command2->click();
    EXPECT_FALSE(app.forms.IsFormLoaded(fOption::kName));
    EXPECT_EQ(app.settings.writeCount(), 0);
    EXPECT_EQ(app.config.downloadMethod, 2);
}
