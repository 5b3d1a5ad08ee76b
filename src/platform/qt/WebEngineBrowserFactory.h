#pragma once

#include <QList>
#include <QPointer>
#include <QString>

#include "platform/browser/BrowserFactory.h"

class CookieJar;
class QWebEngineProfile;
class Runtime;
class WebEngineBrowser;

// Makes the desktop's browsers. They share one profile in the per-user data folder,
// with its HTTP cache there but no cookies of its own on disk: the run's cookie jar is
// the only store, fed from the profile's cookies and feeding them back, so a login in
// a browser counts for the downloads and the other way round. What they download goes
// into the URL cache of the per-user cache folder.
class WebEngineBrowserFactory final : public BrowserFactory {
  public:
    WebEngineBrowserFactory(Runtime& runtime, CookieJar* jar, const QString& dataFolder,
                            const QString& cacheFolder);
    // Releases the views of the browsers still alive, then the profile.
    ~WebEngineBrowserFactory() override;

    Browser* create(QObject* owner, const QString& name) override;
    void clearHttpCache() override;

  private:
    Runtime& runtime_;
    QWebEngineProfile* profile_;
    QList<QPointer<WebEngineBrowser>> made_;
};
