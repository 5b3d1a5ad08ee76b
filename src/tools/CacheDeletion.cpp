#include "tools/CacheDeletion.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#include "platform/cache/UrlCache.h"

namespace {

const QString kUserRow = QStringLiteral("用户:");

// The entry's own type, never that of a link's target.
bool hasType(const QString& path, mode_t type) {
    struct stat info {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0 &&
           (info.st_mode & S_IFMT) == type;
}

}  // namespace

CacheDeletion::CacheDeletion(UrlCache& cache, const QStringList& cacheFolders) : cache_(cache) {
    for (const QString& folder : cacheFolders) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (!canonical.isEmpty()) {
            folders_.append(canonical.endsWith(QLatin1Char('/')) ? canonical
                                                                 : canonical + QLatin1Char('/'));
        }
    }
}

void CacheDeletion::DeleteRow(const QString& text, const QString& type, const QString& filePath) {
    if (text.startsWith(kUserRow)) {
        if (type.toLower() != QStringLiteral("txt") && !filePath.isEmpty()) {
            强制删除(filePath);
        }
        return;
    }
    if (text.isEmpty() || text.contains(QStringLiteral("Cookie"), Qt::CaseInsensitive)) {
        return;
    }
    entries_.append(text);
    if (!filePath.isEmpty()) {
        强制删除(filePath);
    }
}

void CacheDeletion::DeleteEntries() {
    cache_.remove(entries_);
    entries_.clear();
}

void CacheDeletion::强制删除(const QString& path) const {
    if (!hasType(path, S_IFREG)) {
        return;  // gone, a folder, or a link
    }
    const QString holder = holderInside(path);
    if (!holder.isEmpty()) {
        removeForcibly(holder, QFileInfo(path).fileName(), &unlink);
    }
}

void CacheDeletion::删除空文件夹(const QStringList& folders) const {
    for (qsizetype i = folders.size() - 1; i >= 0; --i) {
        const QString folder = folders.at(i);
        if (folder.isEmpty() || !hasType(folder, S_IFDIR)) {
            continue;
        }
        const QString holder = holderInside(folder);
        if (!holder.isEmpty()) {
            removeForcibly(holder, QFileInfo(folder).fileName(), &rmdir);
        }
    }
}

QString CacheDeletion::holderInside(const QString& path) const {
    const QString parent = QFileInfo(path).absolutePath();
    const auto known = holders_.constFind(parent);
    if (known != holders_.constEnd()) {
        return *known;
    }
    QString holder = QFileInfo(parent).canonicalFilePath();
    if (!holder.isEmpty() && !holder.endsWith(QLatin1Char('/'))) {
        holder += QLatin1Char('/');
    }
    const bool inside = !holder.isEmpty() && std::any_of(folders_.cbegin(), folders_.cend(),
                                                         [&holder](const QString& folder) {
                                                             return holder.startsWith(folder);
                                                         });
    return *holders_.insert(parent, inside ? holder : QString());
}

void CacheDeletion::removeForcibly(const QString& holder, const QString& name,
                                   int (*remove)(const char*)) {
    const QByteArray path = QFile::encodeName(holder + name);
    if (name.isEmpty() || remove(path.constData()) == 0 || (errno != EACCES && errno != EPERM)) {
        return;
    }
    struct stat info {};
    const QByteArray folder = QFile::encodeName(holder);
    if (stat(folder.constData(), &info) == 0 &&
        chmod(folder.constData(), (info.st_mode & 07777) | S_IRWXU) == 0) {
        remove(path.constData());
    }
}
