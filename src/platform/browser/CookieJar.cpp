#include "platform/browser/CookieJar.h"

#include <QNetworkCookie>

bool CookieJar::holds(const QNetworkCookie& cookie) const {
    for (const QNetworkCookie& held : allCookies()) {
        if (held.hasSameIdentifier(cookie) && held.value() == cookie.value()) {
            return true;
        }
    }
    return false;
}

bool CookieJar::insertCookie(const QNetworkCookie& cookie) {
    const bool known = holds(cookie);
    const bool inserted = QNetworkCookieJar::insertCookie(cookie);
    if (inserted && !known) {
        Q_EMIT cookieAdded(cookie);
    }
    return inserted;
}
