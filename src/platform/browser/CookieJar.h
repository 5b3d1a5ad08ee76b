#pragma once

#include <QNetworkCookie>
#include <QNetworkCookieJar>

// The run's one cookie store, shared by the browsers and every download. It tells
// when it gains a cookie it did not hold in that form, so that the desktop browser's
// own store can follow it.
class CookieJar final : public QNetworkCookieJar {
    Q_OBJECT
  public:
    using QNetworkCookieJar::QNetworkCookieJar;

    // Every cookie a response sets, and every update, arrives here.
    bool insertCookie(const QNetworkCookie& cookie) override;
    // Every cookie held, for the desktop browser's store.
    QList<QNetworkCookie> cookies() const { return allCookies(); }

  Q_SIGNALS:
    void cookieAdded(const QNetworkCookie& cookie);

  private:
    bool holds(const QNetworkCookie& cookie) const;
};
