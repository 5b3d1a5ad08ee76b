#include "sys/FileSystem.h"

#include <QDir>
#include <QFileInfo>

#include "platform/dialogs/Dialogs.h"
#include "sys/CleanFileName.h"

namespace {

const QString kBadFolderName = QStringLiteral("文件夹名称有误！不能创建文件夹！");
constexpr qsizetype kMaxExtensionLength = 6;
constexpr qsizetype kMaxCounterDigits = 9;

QString localPath(const QString& path) {
    QString local = path.trimmed();
    if (local.left(8).toLower() == QStringLiteral("file:///")) {
        local = local.mid(7);  // keep the slash of the absolute path
    }
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return local;
}

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

}  // namespace

bool FileExists(const QString& path) {
    const QString local = localPath(path);
    return !local.isEmpty() && QFileInfo(local).isFile();
}

QString LocalPath(const QString& path) {
    return localPath(path);
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
