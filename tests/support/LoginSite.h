#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <string>

#include "support/LocalHttpServer.h"

// A site on 127.0.0.1 that behaves as real download sites do: its documents answer with
// the login page until the browser has logged in. The login page holds a form (a hidden
// token, inputs "UserName" and "PassWord", a submit input); a POST with the right
// account, password and token sets an HttpOnly session cookie. "/ip" offers a login by
// address: a button "submitip" whose form sets the cookie without an account.
//
//   /login        the login form (GET) and its submission (POST)
//   /ip, /iplogin the address login
//   /docs/<name>  document() with the session cookie, else the login page (200, HTML)
class LoginSite {
  public:
    static constexpr const char* kAccount = "reader";
    static constexpr const char* kPassword = "s3cret";

    LoginSite();

    QString url(const QString& path) const { return http_.url(path); }
    static QByteArray document();
    static QByteArray loginPage();
    // Successful logins so far.
    int logins() const { return logins_; }

  private:
    bool hasSession(const httplib::Request& request) const;

    LocalHttpServer http_;
    std::atomic<int> logins_{0};
};
