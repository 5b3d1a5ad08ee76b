#pragma once

#include <QString>

// What the web login reads from the download window's login panel and shows there.
class WebLoginHost {
  public:
    // The panel's boxes as they stand: never stored beyond the run.
    struct LoginSettings {
        QString address;        // Text1
        QString account;        // Text2
        QString password;       // Text3
        bool byAccount = true;  // 帐号登录 rather than IP登录
    };

    virtual ~WebLoginHost() = default;

    virtual LoginSettings loginSettings() const = 0;
    // Unticks the automatic login.
    virtual void clearAutoLogin() = 0;
    virtual void setBrowseEnabled(bool enabled) = 0;
    virtual void setTestLoginEnabled(bool enabled) = 0;
    // The window is closing or closed: every wait of a login ends at once.
    virtual bool closing() const = 0;
};
