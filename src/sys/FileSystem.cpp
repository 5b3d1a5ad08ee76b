#include "sys/FileSystem.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <algorithm>
#include <optional>

#include "platform/dialogs/Dialogs.h"
#include "sys/CleanFileName.h"

namespace {

const QString kBadFolderName = QStringLiteral("文件夹名称有误！不能创建文件夹！");
constexpr qsizetype kMaxExtensionLength = 6;
constexpr qsizetype kMaxCounterDigits = 9;

bool isDigits(const QString& text, qsizetype maxDigits) {
    if (text.isEmpty() || text.size() > maxDigits) {
        return false;
    }
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
    }
    return true;
}

// Splits a name at its last "." by the extension rule.
QString splitExtension(const QString& name, QString& base) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || name.size() - dot - 1 > kMaxExtensionLength) {
        base = name.trimmed();
        return {};
    }
    base = name.left(dot).trimmed();
    return name.mid(dot + 1).trimmed();
}

struct Entry {
    QString name;
    bool folder = false;
};

using FolderId = QPair<quint64, quint64>;  // device and inode

// The entries of one folder that the walks report, sorted by name; nothing when the
// folder cannot be opened or was walked before (reached again through a symbolic link,
// which is how link loops end). Names whose bytes are not valid UTF-8 cannot be named
// again through a text path (they would decode to U+FFFD and might then name another
// file), so they are left out, like entries whose type cannot be read (a dangling
// link). Only folders and regular files count: a FIFO or a device opened as a file
// would block or harm the caller.
std::optional<QList<Entry>> listFolder(const QString& folder, QSet<FolderId>& walked) {
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        return std::nullopt;
    }
    struct stat self {};
    if (fstat(dirfd(dir), &self) != 0 ||
        walked.contains({quint64(self.st_dev), quint64(self.st_ino)})) {
        closedir(dir);
        return std::nullopt;
    }
    walked.insert({quint64(self.st_dev), quint64(self.st_ino)});

    QList<Entry> entries;
    while (const dirent* item = readdir(dir)) {
        const QByteArray raw(item->d_name);
        if (raw == "." || raw == "..") {
            continue;
        }
        const QString name = QFile::decodeName(raw);
        if (QFile::encodeName(name) != raw || name.toLower() == QStringLiteral("pagefile.sys")) {
            continue;
        }
        struct stat info {};
        if (fstatat(dirfd(dir), raw.constData(), &info, 0) != 0) {
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            entries.append({name, true});
        } else if (S_ISREG(info.st_mode)) {
            entries.append({name, false});
        }
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int order = a.name.compare(b.name, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return entries;
}

// Lists the folder, then walks its subfolders depth-first in the order found.
void walk(QString& folder, QStringList& result, bool recursive, bool wantFolders) {
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    QSet<FolderId> walked;
    QStringList pending{folder};
    while (!pending.isEmpty()) {
        const QString current = pending.takeLast();
        const auto entries = listFolder(current, walked);
        if (!entries) {
            continue;
        }
        QStringList subfolders;
        for (const Entry& entry : *entries) {
            const QString full = current + entry.name;
            if (entry.folder) {
                subfolders.append(full + QLatin1Char('/'));
                if (wantFolders) {
                    result.append(full);
                }
            } else if (!wantFolders) {
                result.append(full);
            }
        }
        if (recursive) {
            // The last one pushed is walked first: push in reverse to keep the found order.
            for (auto it = subfolders.crbegin(); it != subfolders.crend(); ++it) {
                pending.append(*it);
            }
        }
    }
}

}  // namespace

QString LocalFilePath(const QString& path) {
    QString local = path.trimmed();
    if (local.left(8).toLower() == QStringLiteral("file:///")) {
        local = local.mid(7);  // keep the slash of the absolute path
    }
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return local;
}

bool FileExists(const QString& path) {
    const QString local = LocalFilePath(path);
    return !local.isEmpty() && QFileInfo(local).isFile();
}

bool FolderExists(const QString& path) {
    const QString local = path.trimmed();
    return !local.isEmpty() && QFileInfo(local).isDir();
}

QString CreateFolderPath(const QString& path, Dialogs& dialogs) {
    const QStringList parts = path.split(QLatin1Char('/'));
    QString built;
    qsizetype next = 1;
    if (path.startsWith(QStringLiteral("//"))) {
        // A network-style path: "//server/…".
        if (parts.size() < 3 || parts[2].isEmpty()) {
            dialogs.error(kBadFolderName);
            return {};
        }
        built = QStringLiteral("//") + parts[2];
        next = 3;
    } else {
        built = parts.value(0);
    }
    for (qsizetype i = next; i < parts.size(); ++i) {
        if (parts[i].isEmpty()) {
            break;
        }
        const QString clean = CleanFileName(parts[i]);
        if (clean.isEmpty()) {
            dialogs.error(kBadFolderName);
            break;
        }
        built += QLatin1Char('/') + clean;
        if (!QFileInfo(built).isDir()) {
            QDir().mkdir(built);
        }
    }
    if (built.isEmpty()) {
        return {};
    }
    return QFileInfo(built).isDir() ? built : QString();
}

QString CreateFolderAsAsked(const QString& folder, Dialogs& dialogs) {
    const QString wanted = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString made = CreateFolderPath(wanted + QLatin1Char('/'), dialogs);
    if (made.isEmpty() ||
        QFileInfo(made).canonicalFilePath() != QFileInfo(wanted).canonicalFilePath()) {
        return {};
    }
    return made + QLatin1Char('/');
}

void ListSubfolders(QString& folder, QStringList& result, bool recursive) {
    if (!folder.startsWith(QLatin1Char('/'))) {
        return;
    }
    walk(folder, result, recursive, true);
}

void ListFiles(QString& folder, QStringList& result, bool recursive) {
    // An empty text would otherwise become "/" and walk the whole file system.
    if (folder.isEmpty()) {
        return;
    }
    walk(folder, result, recursive, false);
}

QString FileNameOf(const QString& path, bool withoutExtension) {
    QString name = path;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1).trimmed();
    if (withoutExtension) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0) {
            name = name.left(dot).trimmed();
        }
    }
    return name;
}

QString SplitFileName(const QString& path, QString& base) {
    QString name = path.trimmed();
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    return splitExtension(name, base);
}

QString SplitFullPath(const QString& path, QString& extension, QString& base) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(slash + 1);
    const QString rest = path.mid(slash + 1);
    extension = splitExtension(rest, base);
    if (base.isEmpty()) {
        base = rest;
        extension.clear();
    }
    return folder;
}

QString SplitNumberSuffix(const QString& name, QString& base) {
    base = name;
    if (!name.endsWith(QLatin1Char(']'))) {
        return {};
    }
    const qsizetype open = name.lastIndexOf(QLatin1Char('['));
    if (open <= 0) {
        return {};
    }
    const QString number = name.mid(open + 1, name.size() - open - 2).trimmed();
    if (!isDigits(number, kMaxCounterDigits)) {
        return {};
    }
    base = name.left(open);
    return QString::number(number.toInt());
}

QString SiteRoot(const QString& address) {
    const qsizetype scheme = address.indexOf(QStringLiteral("://"));
    if (scheme >= 0) {
        const qsizetype slash = address.indexOf(QLatin1Char('/'), scheme + 3);
        return slash < 0 ? address : address.left(slash);
    }
    const qsizetype slash = address.indexOf(QLatin1Char('/'));
    return slash >= 3 ? address.left(slash) : address;
}

bool IsHostName(const QString& text) {
    QString host = text;
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        host = text.left(colon);
        if (!isDigits(text.mid(colon + 1), 10)) {
            return false;
        }
    }
    if (host.isEmpty()) {
        return false;
    }
    static const QString allowed = QStringLiteral("abcdefghijklmnopqrstuvwxyz0987654321.");
    for (const QChar c : host) {
        if (!allowed.contains(c.toLower())) {
            return false;
        }
    }
    const QStringList labels = host.split(QLatin1Char('.'));
    const qsizetype last = labels.constLast().size();
    return labels.size() >= 2 && labels.size() <= 5 && last >= 2 && last <= 4;
}

QString GetShortPath(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path) ? path : QString();
}

QString GetInternetCacheFolder(const QString& cacheFolder) {
    QString folder = cacheFolder;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}

bool ReplaceFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        return true;
    }
    if (error) {
        *error = file.errorString();
    }
    return false;
}
