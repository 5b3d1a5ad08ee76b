#include "platform/qt/UrlCacheDownloads.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

UrlCacheDownloads::UrlCacheDownloads(QWebEngineProfile& profile, const QString& cacheFolder)
    : QObject(&profile), cache_(cacheFolder) {
    connect(&profile, &QWebEngineProfile::downloadRequested, this, &UrlCacheDownloads::requested);
}

void UrlCacheDownloads::requested(QWebEngineDownloadRequest* download) {
    const QString address = download->url().toString();
    const QString path = cache_.newFilePath(address);
    if (path.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo target(path);
    download->setDownloadDirectory(target.path());
    download->setDownloadFileName(target.fileName());
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this,
            [this, download, address] { finished(download, address); });
    download->accept();
}

void UrlCacheDownloads::finished(QWebEngineDownloadRequest* download, const QString& address) {
    if (!download->isFinished()) {
        return;
    }
    const QString path = QDir(download->downloadDirectory()).filePath(download->downloadFileName());
    if (download->state() != QWebEngineDownloadRequest::DownloadCompleted ||
        !cache_.add(address, path)) {
        QFile::remove(path);
    }
}
