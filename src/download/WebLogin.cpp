#include "download/WebLogin.h"

#include <cmath>

#include "download/WebLoginHost.h"
#include "platform/browser/Browser.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/Runtime.h"

namespace {

const QString kNoAddress = QStringLiteral("必须先设置登录网址！");
const QString kNoAccount = QStringLiteral("帐号登录,必须先设置登录帐号和登录密码！");

bool isAccountField(const QString& name) {
    return name == u"userid" || name == u"user" || name == u"username" || name == u"useruid";
}

bool isPasswordField(const QString& name) {
    return name == u"pass" || name == u"password" || name == u"passwd";
}

}  // namespace

WebLogin::WebLogin(Runtime& runtime, Dialogs& dialogs, Browser* browser, WebLoginHost& host)
    : runtime_(runtime), dialogs_(dialogs), browser_(browser), host_(host) {}

bool WebLogin::Ending() const {
    return host_.closing() || runtime_.quitRequested();
}

void WebLogin::DocumentComplete(bool topLevel) {
    if (topLevel) {
        pageBusy_ = false;
    }
}

void WebLogin::WaitForPage(int limitSeconds) {
    const double start = std::floor(runtime_.now());
    while (browser_ && (browser_->busy() || pageBusy_) && !Ending() &&
           runtime_.now() - start <= limitSeconds) {
        runtime_.waitStep();
    }
}

void WebLogin::Pause(int seconds) {
    const double start = runtime_.now();
    while (!Ending() && runtime_.now() - start < seconds) {
        runtime_.waitStep();
    }
}

void WebLogin::OpenLoginPage() {
    const QString address = host_.loginSettings().address.trimmed();
    if (address.isEmpty() || !browser_) {
        return;
    }
    host_.setBrowseEnabled(false);
    pageBusy_ = true;
    browser_->navigate(address);
    WaitForPage(kPageSeconds);
    host_.setBrowseEnabled(true);
}

bool WebLogin::CheckLoginSettings(bool interactive) {
    const WebLoginHost::LoginSettings settings = host_.loginSettings();
    QString missing;
    if (settings.address.trimmed().isEmpty()) {
        missing = kNoAddress;
    } else if (settings.byAccount &&
               (settings.account.trimmed().isEmpty() || settings.password.trimmed().isEmpty())) {
        missing = kNoAccount;
    }
    if (missing.isEmpty()) {
        return true;
    }
    if (interactive) {
        dialogs_.error(missing);
    }
    host_.clearAutoLogin();
    return false;
}

void WebLogin::RunWebLogin(bool interactive) {
    if (!CheckLoginSettings(interactive) || running_) {
        return;
    }
    running_ = true;
    host_.setTestLoginEnabled(false);
    OpenLoginPage();
    const WebLoginHost::LoginSettings settings = host_.loginSettings();
    if (!Ending() && browser_ && browser_->document()) {
        if (settings.byAccount) {
            FillAccountForm(settings.account.trimmed(), settings.password.trimmed());
        } else {
            ClickAddressLogin();
        }
    }
    Pause(kPauseSeconds);
    host_.setTestLoginEnabled(true);
    running_ = false;
}

void WebLogin::FillAccountForm(const QString& account, const QString& password) {
    const std::shared_ptr<const HtmlDocument> document = browser_->document();
    int filled = 0;
    for (const HtmlElement& input : document->elementsByTagName(u"INPUT")) {
        const QString name = input.name().toLower();
        if (isAccountField(name)) {
            ++filled;
            browser_->setInputValue(input, account);
        }
        if (isPasswordField(name)) {
            ++filled;
            browser_->setInputValue(input, password);
        }
        if (input.type().toLower() == u"submit" && filled >= 2) {
            pageBusy_ = true;
            browser_->click(input);
            WaitForPage(kPageSeconds);
            return;
        }
    }
}

void WebLogin::ClickAddressLogin() {
    const std::shared_ptr<const HtmlDocument> document = browser_->document();
    const HtmlElement button = document->elementById(u"submitip");
    if (button) {
        pageBusy_ = true;
        browser_->click(button);
        WaitForPage(kPageSeconds);
    }
}
