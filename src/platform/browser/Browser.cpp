#include "platform/browser/Browser.h"

#include <QUrl>

Browser::~Browser() = default;

bool Browser::isLoadable(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return (scheme == u"http" || scheme == u"https") ? url.isValid() && !url.host().isEmpty()
                                                     : url.toString() == u"about:blank";
}
