// The web login of the download window: which forms it fills and submits, its settings
// and the panel, waits that end with the window, and the whole loop against a site on
// 127.0.0.1 whose documents answer with the login page until the session exists.
#include <gtest/gtest.h>

#include <QDir>
#include <QTextStream>

#include "DownloadTestSupport.h"
#include "app/AppServices.h"
#include "app/Config.h"
#include "download/DownloadList.h"
#include "download/fFileDownload.h"
#include "net/HeadlessBrowserFactory.h"
#include "net/RequestFactory.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/desktop/HeadlessDesktop.h"
#include "platform/runtime/QtRuntime.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/window/Forms.h"
#include "support/FakeBrowser.h"
#include "support/LoginSite.h"
#include "support/RecordingSoundPlayer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestApp.h"

namespace {

const QString kLoginPage = QStringLiteral("http://site.test/login");
const QString kNoAddress = QStringLiteral("必须先设置登录网址！");
const QString kNoAccount = QStringLiteral("帐号登录,必须先设置登录帐号和登录密码！");

class Login : public ::testing::Test {
  protected:
    Login() { window = app.forms.load<fFileDownload>(fFileDownload::kName); }

    FakeBrowser& browser() { return *static_cast<FakeBrowser*>(window->Web1); }
    void settings(const QString& address, const QString& account, const QString& password) {
        window->Text1->setText(address);
        window->Text2->setText(account);
        window->Text3->setText(password);
    }
    // The value an input of the page shown holds now.
    QString valueOf(const QString& name) {
        for (const HtmlElement& input : browser().document()->elementsByTagName(u"INPUT")) {
            if (input.name() == name) {
                return input.value();
            }
        }
        return QStringLiteral("<none>");
    }

    TestApp app;
    fFileDownload* window = nullptr;
};

TEST_F(Login, TheAccountFormIsFilledAndSubmittedOnlyWhenBothFieldsCameBeforeTheSubmit) {
    struct Case {
        const char* page;
        QStringList clicked;
    };
    const Case cases[] = {
        {"<input name=UserName><input name=PassWord><input type=Submit name=go>", {"input[go]"}},
        {"<input type=submit name=go><input name=user><input name=passwd>", {}},
        {"<input name=password><input type=submit name=go>", {}},
    };
    settings(kLoginPage, QStringLiteral(" 读者 "), QStringLiteral("pw"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        browser().addPage(kLoginPage, QStringLiteral("<html><body><form>%1</form></body></html>")
                                          .arg(QString::fromUtf8(c.page)));
        const int before = int(browser().clickedElements().size());
        window->Command5->click();
        EXPECT_EQ(browser().clickedElements().mid(before), c.clicked);
        EXPECT_TRUE(window->Command5->enabled());
    }
    EXPECT_EQ(valueOf(QStringLiteral("password")), QStringLiteral("pw"));
}

TEST_F(Login, AnAddressLoginClicksSubmitipWhenThePageHasOne) {
    window->Option5->setValue(true);
    settings(kLoginPage, {}, {});
    browser().addPage(kLoginPage, QStringLiteral("<html><body>no button</body></html>"));
    window->Command5->click();
    EXPECT_TRUE(browser().clickedElements().isEmpty());
    browser().addPage(kLoginPage,
                      QStringLiteral("<html><body><input type=submit id=submitip></body></html>"));
    window->Command5->click();
    EXPECT_EQ(browser().clickedElements(), QStringList({"input#submitip"}));
}

TEST_F(Login, MissingSettingsUntickTheAutomaticLoginWithAMessageOnlyWhenAsked) {
    window->Check2->setValue(true);
    window->RunWebLogin(false);
    EXPECT_FALSE(window->Check2->value());
    EXPECT_TRUE(app.dialogs.shown().isEmpty());

    app.dialogs.expectMessage(kNoAddress, MessageIcon::Error);
    window->Command5->click();
    settings(kLoginPage, QStringLiteral("reader"), QString());
    app.dialogs.expectMessage(kNoAccount, MessageIcon::Error);
    window->Check2->click();
    EXPECT_FALSE(window->Check2->value());
    EXPECT_TRUE(browser().navigations().filter(kLoginPage).isEmpty());
}

TEST_F(Login, ASecondLoginWhileOneRunsDoesNothingAndAPopUpOpensInThePanel) {
    settings(kLoginPage, QStringLiteral("reader"), QStringLiteral("pw"));
    browser().addPage(kLoginPage, QStringLiteral("<html><body>page</body></html>"));
    int logins = 0;
    app.runtime.callAfter(2000, [&] {
        const int navigations = int(browser().navigations().size());
        window->RunWebLogin(false);
        logins = int(browser().navigations().size()) - navigations;
    });
    window->Command5->click();
    EXPECT_EQ(logins, 0);

    bool handled = false;
    Q_EMIT browser().newWindow(QStringLiteral(" http://site.test/popup "), &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(browser().navigations().constLast(), QStringLiteral("http://site.test/popup"));
}

TEST_F(Login, TheLoginsWaitsEndAtOnceWhenTheWindowClosesOrTheProgramEnds) {
    for (const bool endProgram : {false, true}) {
        for (const double at : {3.0, 12.0}) {  // inside the page wait, inside the pause
            SCOPED_TRACE(at);
            TestApp fresh;
            auto* w = fresh.forms.load<fFileDownload>(fFileDownload::kName);
            auto& web = *static_cast<FakeBrowser*>(w->Web1);
            w->Text1->setText(kLoginPage);
            w->Text2->setText(QStringLiteral("reader"));
            w->Text3->setText(QStringLiteral("pw"));
            web.addPage(kLoginPage, QStringLiteral("<html><body>slow</body></html>"),
                        at < 10 ? 60000 : 0);
            fresh.runtime.callAfter(int(at * 1000), [&] {
                if (endProgram) {
                    fresh.forms.endProgram();
                } else {
                    EXPECT_TRUE(w->close());
                }
            });
            const double start = fresh.runtime.now();
            w->Command5->click();
            EXPECT_LT(fresh.runtime.now() - start, at + 1);
        }
    }
}

// The program's parts on real sockets with the headless browser, and a player that
// records what it is asked to play.
struct LiveWindow {
    LiveWindow() {
        forms.registerWindow(fFileDownload::kName, [this](Forms& owner) {
            return std::make_unique<fFileDownload>(owner, services);
        });
        window = forms.load<fFileDownload>(fFileDownload::kName);
    }
    DownloadEntry entry() { return DownloadEntry(*window->ListView3, window->ListView3->at(1)); }

    LoginSite site;
    QtRuntime runtime;
    RequestFactory requests;
    HeadlessBrowserFactory browsers{runtime, requests};
    ScriptedDialogs dialogs;
    Forms forms{runtime, dialogs};
    MemorySettingsStore settings;
    Config config;
    HeadlessDesktop desktop;
    RecordingSoundPlayer sound;
    QTemporaryDir temp;
    AppServices services{runtime,   dialogs,  forms,    settings,
                         config,    desktop,  desktop,  desktop,
                         sound,     browsers, requests, AppPaths::under(temp.path()),
                         QString(), QString()};
    fFileDownload* window = nullptr;
};

class LoginLoop : public ::testing::TestWithParam<int> {};

TEST_P(LoginLoop, ALoginPageInsteadOfThePdfLogsInAndTheDocumentIsFetchedAgain) {
    LiveWindow live;
    fFileDownload& w = *live.window;
    live.config.downloadMethod = int16_t(GetParam());
    w.Text1->setText(live.site.url("/login"));
    w.Text2->setText(QString::fromLatin1(LoginSite::kAccount));
    w.Text3->setText(QString::fromLatin1(LoginSite::kPassword));
    w.Check6->setValue(true);
    w.Check2->setValue(true);
    w.Check3->setValue(true);
    w.Combo4->setListIndex(1);  // re-download the web pages
    const QString folder = live.temp.path() + QStringLiteral("/files/");
    AddEntry(*w.ListView3, live.site.url("/docs/members.pdf"), "members", "pdf", folder, {});
    w.Command4->click();
    const double start = live.runtime.now();
    while (live.runtime.now() - start < 60 &&
           !(live.entry().state() == EntryState::Done && live.entry().type() == u"pdf")) {
        live.runtime.waitStep();
    }
    EXPECT_EQ(live.site.logins(), 1);
    EXPECT_TRUE(live.sound.played.contains(live.services.paths.dataFolder + "101.wav"));
    EXPECT_EQ(live.entry().state(), EntryState::Done);
    EXPECT_EQ(ReadFile(folder + "members.pdf"), LoginSite::document());
    w.Check3->setValue(false);
    live.forms.endProgram();
}

// The session cookie reaches both methods through the one cookie jar.
INSTANTIATE_TEST_SUITE_P(ByMethod, LoginLoop, ::testing::Values(2, 1),
                         [](const auto& info) { return "Method" + std::to_string(info.param); });

}  // namespace
