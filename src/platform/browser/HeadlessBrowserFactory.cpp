#include "platform/browser/HeadlessBrowserFactory.h"

#include "platform/browser/HeadlessBrowser.h"

Browser* HeadlessBrowserFactory::create(QObject* owner, const QString& name) {
    return new HeadlessBrowser(runtime_, network_, owner, name);
}
