#pragma once

#include <QString>

class Browser;
class Dialogs;
class Runtime;
class WebLoginHost;

// The download window's web login: the login page is opened in the panel's browser, its
// form filled with the account and password (or its address-login button clicked) and
// submitted, so that the site's session cookies, which every download shares, let the
// downloads that follow through. The login never checks whether the site accepted it;
// the next download shows the outcome. Its waits let events run, and end at once when
// the window closes or the program ends.
class WebLogin {
  public:
    static constexpr int kPageSeconds = 10;
    static constexpr int kPauseSeconds = 5;

    // `browser` may be null when the platform has none: the login then does nothing.
    WebLogin(Runtime& runtime, Dialogs& dialogs, Browser* browser, WebLoginHost& host);

    // Opens the login address in the browser and waits for the page.
    void OpenLoginPage();
    // One login; `interactive` shows the messages of missing settings.
    void RunWebLogin(bool interactive);
    // The settings a login needs; false, with the automatic login unticked (and a message
    // when `interactive`), when they are missing.
    bool CheckLoginSettings(bool interactive);
    // Waits until the browser is neither busy nor loading a page the login started, for
    // at most `limitSeconds` (counted from the whole second the wait began).
    void WaitForPage(int limitSeconds);

    // The browser completed a document: the page the login started has arrived.
    void DocumentComplete(bool topLevel);
    bool pageBusy() const { return pageBusy_; }
    bool running() const { return running_; }

  private:
    void FillAccountForm(const QString& account, const QString& password);
    void ClickAddressLogin();
    // Lets events run for `seconds`.
    void Pause(int seconds);
    bool Ending() const;

    Runtime& runtime_;
    Dialogs& dialogs_;
    Browser* browser_;
    WebLoginHost& host_;
    bool pageBusy_ = false;
    bool running_ = false;
};
