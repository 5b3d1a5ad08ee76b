#include "net/HeadlessBrowserFactory.h"

#include "net/HeadlessBrowser.h"

Browser* HeadlessBrowserFactory::create(QObject* owner, const QString& name) {
    return new HeadlessBrowser(runtime_, requests_, owner, name, cache_);
}
