#include "support/FakeBrowserFactory.h"

#include "support/FakeBrowser.h"

Browser* FakeBrowserFactory::create(QObject* owner, const QString& name) {
    auto* browser = new FakeBrowser(runtime_, owner, name);
    made_.append(browser);
    return browser;
}

QList<FakeBrowser*> FakeBrowserFactory::browsers() const {
    QList<FakeBrowser*> alive;
    for (const auto& browser : made_) {
        if (browser) {
            alive.append(browser);
        }
    }
    return alive;
}
