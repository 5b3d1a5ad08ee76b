#include "platform/qt/WebEngineBrowserFactory.h"

#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

#include "platform/browser/CookieJar.h"
#include "platform/qt/UrlCacheDownloads.h"
#include "platform/qt/WebEngineBrowser.h"

WebEngineBrowserFactory::WebEngineBrowserFactory(Runtime& runtime, CookieJar* jar,
                                                 const QString& dataFolder,
                                                 const QString& cacheFolder)
    : runtime_(runtime), profile_(new QWebEngineProfile(QStringLiteral("Orvellin"))) {
    profile_->setPersistentStoragePath(dataFolder + QStringLiteral("webengine"));
    profile_->setCachePath(cacheFolder + QStringLiteral("webengine"));
    profile_->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    new UrlCacheDownloads(*profile_, cacheFolder);
    if (jar) {
        QWebEngineCookieStore* store = profile_->cookieStore();
        // A cookie the jar already holds is not reported again, so the two stop echoing.
        QObject::connect(store, &QWebEngineCookieStore::cookieAdded, jar,
                         [jar](const QNetworkCookie& cookie) { jar->insertCookie(cookie); });
        QObject::connect(jar, &CookieJar::cookieAdded, store,
                         [store](const QNetworkCookie& cookie) { store->setCookie(cookie); });
        for (const QNetworkCookie& cookie : jar->cookies()) {
            store->setCookie(cookie);
        }
    }
}

WebEngineBrowserFactory::~WebEngineBrowserFactory() {
    for (const auto& browser : std::as_const(made_)) {
        if (browser) {
            browser->releaseView();
        }
    }
    delete profile_;
}

void WebEngineBrowserFactory::clearHttpCache() {
    profile_->clearHttpCache();
}

Browser* WebEngineBrowserFactory::create(QObject* owner, const QString& name) {
    auto* browser = new WebEngineBrowser(runtime_, *profile_, owner, name);
    made_.append(browser);
    return browser;
}
