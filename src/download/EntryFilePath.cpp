#include "download/EntryFilePath.h"

#include "download/DownloadEntry.h"

QString EntryFilePath(const DownloadEntry& entry) {
    const QString type = entry.type();
    QString path = entry.folder() + entry.name();
    if (!type.isEmpty()) {
        path += QLatin1Char('.') + type;
    }
    return path;
}
