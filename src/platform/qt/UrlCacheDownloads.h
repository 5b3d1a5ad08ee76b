#pragma once

#include <QObject>

#include "platform/cache/UrlCache.h"

class QWebEngineDownloadRequest;
class QWebEngineProfile;

// Keeps what the desktop browser downloads in the URL cache: every download of the
// profile goes into the cache folder under a name of the cache's own and is entered in
// its index once complete; a download that fails leaves nothing behind.
class UrlCacheDownloads final : public QObject {
    Q_OBJECT
  public:
    // Lives as long as the profile. `cacheFolder` is the program's per-user cache folder.
    UrlCacheDownloads(QWebEngineProfile& profile, const QString& cacheFolder);

  private:
    void requested(QWebEngineDownloadRequest* download);
    void finished(QWebEngineDownloadRequest* download, const QString& address);

    UrlCache cache_;
};
