#include "platform/cache/UrlCache.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>
#include <QUrl>
#include <algorithm>

namespace {

const QString kFolderName = QStringLiteral("UrlCache");
const QString kIndexSuffix = QStringLiteral(".index");
constexpr qsizetype kMaxExtension = 6;
// Dead lines the log may carry before it is rewritten, beyond one per live entry.
constexpr qsizetype kSlackLines = 64;

bool exists(const QString& path) {
    struct stat info {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// A name that stays inside the folder: no separator, no way up.
bool isPlainName(const QString& name) {
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// The extension of the address's last path element, when it is short and plain.
QString extensionOf(const QString& address) {
    const QString name = QUrl(address).path().section(QLatin1Char('/'), -1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
    if (extension.isEmpty() || extension.size() > kMaxExtension) {
        return {};
    }
    for (const QChar c : extension) {
        if (c.unicode() > 127 || !c.isLetterOrNumber()) {
            return {};
        }
    }
    return QLatin1Char('.') + extension;
}

}  // namespace

UrlCache::UrlCache(const QString& cacheFolder) {
    QString base = cacheFolder;
    if (!base.endsWith(QLatin1Char('/'))) {
        base += QLatin1Char('/');
    }
    folder_ = base + kFolderName + QLatin1Char('/');
    index_ = base + kFolderName + kIndexSuffix;
}

QString UrlCache::newFilePath(const QString& address) const {
    if (!QDir().mkpath(folder_)) {
        return {};
    }
    const QString extension = extensionOf(address);
    for (;;) {
        const QString path = folder_ +
                             QString::number(QRandomGenerator::global()->generate64(), 16)
                                 .rightJustified(16, QLatin1Char('0')) +
                             extension;
        if (!exists(path)) {
            return path;
        }
    }
}

bool UrlCache::add(const QString& address, const QString& localFile) {
    const QString name = localFile.section(QLatin1Char('/'), -1);
    if (address.isEmpty() || address.contains(QLatin1Char('\n')) ||
        address.contains(QLatin1Char('\r')) || localFile != folder_ + name || !isPlainName(name) ||
        !refresh()) {
        return false;
    }
    if (!append("+\t1\t" + name.toUtf8() + '\t' + address.toUtf8() + '\n', 1)) {
        return false;
    }
    if (const auto earlier = orderOf_.constFind(address); earlier != orderOf_.constEnd()) {
        const Record& old = live_.at(*earlier);
        if (old.name != name && isPlainName(old.name)) {
            QFile::remove(folder_ + old.name);
        }
    }
    insert(Record{address, name, true});
    compactWhenSparse();
    return true;
}

std::optional<QList<UrlCache::Entry>> UrlCache::entries() {
    if (!refresh()) {
        return std::nullopt;
    }
    QList<Entry> result;
    result.reserve(qsizetype(live_.size()));
    for (const auto& [order, record] : live_) {
        result.append(Entry{record.address, pathOf(record), record.normal});
    }
    return result;
}

QString UrlCache::localFile(const QString& address) {
    if (!refresh()) {
        return {};
    }
    const auto order = orderOf_.constFind(address);
    return order == orderOf_.constEnd() ? QString() : pathOf(live_.at(*order));
}

int UrlCache::remove(const QStringList& addresses) {
    if (!refresh()) {
        return 0;
    }
    QByteArray lines;
    QSet<QString> entered;
    for (const QString& address : addresses) {
        if (orderOf_.contains(address) && !entered.contains(address)) {
            lines += "-\t" + address.toUtf8() + '\n';
            entered.insert(address);
        }
    }
    if (entered.isEmpty() || !append(lines, int(entered.size()))) {
        return 0;
    }
    for (const QString& address : std::as_const(entered)) {
        erase(address);
    }
    compactWhenSparse();
    return int(entered.size());
}

QString UrlCache::pathOf(const Record& record) const {
    return isPlainName(record.name) ? folder_ + record.name : QString();
}

// Reads the index again when it is not the one read last. False when it exists but
// cannot be read.
bool UrlCache::refresh() {
    const Stamp now = stampOf(index_);
    if (read_ && *read_ == now) {
        return true;
    }
    QByteArray log;
    if (now.size >= 0) {
        QFile file(index_);
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        log = file.readAll();
    }
    parse(log);
    read_ = now;
    return true;
}

void UrlCache::parse(const QByteArray& log) {
    live_.clear();
    orderOf_.clear();
    lines_ = 0;
    for (const QByteArray& line : log.split('\n')) {
        if (line.isEmpty()) {
            continue;
        }
        ++lines_;
        if (line.startsWith("-\t")) {
            erase(QString::fromUtf8(line.mid(2)));
            continue;
        }
        // "+", the normal-entry flag, the file name and the address, tab-separated.
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() < 4 || fields[0] != "+" || (fields[1] != "0" && fields[1] != "1")) {
            continue;
        }
        const qsizetype addressStart = fields[0].size() + fields[1].size() + fields[2].size() + 3;
        const QString address = QString::fromUtf8(line.mid(addressStart));
        if (!address.isEmpty()) {
            insert(Record{address, QString::fromUtf8(fields[2]), fields[1] == "1"});
        }
    }
}

void UrlCache::insert(Record record) {
    erase(record.address);
    const quint64 order = nextOrder_++;
    orderOf_.insert(record.address, order);
    live_.emplace(order, std::move(record));
}

void UrlCache::erase(const QString& address) {
    const auto order = orderOf_.constFind(address);
    if (order != orderOf_.constEnd()) {
        live_.erase(*order);
        orderOf_.erase(order);
    }
}

bool UrlCache::append(const QByteArray& lines, int count) {
    QDir().mkpath(QFileInfo(index_).path());
    QFile file(index_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(lines) != lines.size()) {
        return false;
    }
    file.close();
    lines_ += count;
    // Our own line need not be read back; anything else that came meanwhile must be.
    const Stamp before = read_.value_or(Stamp{});
    const Stamp now = stampOf(index_);
    const bool onlyOurs = now.device == before.device && now.inode == before.inode &&
                          now.size == std::max<qint64>(before.size, 0) + lines.size();
    read_ = onlyOurs ? std::optional<Stamp>(now) : std::nullopt;
    return true;
}

void UrlCache::compactWhenSparse() {
    if (lines_ <= 2 * qsizetype(live_.size()) + kSlackLines) {
        return;
    }
    QByteArray log;
    for (const auto& [order, record] : live_) {
        log += "+\t" + QByteArray(record.normal ? "1" : "0") + '\t' + record.name.toUtf8() + '\t' +
               record.address.toUtf8() + '\n';
    }
    QSaveFile file(index_);
    if (file.open(QIODevice::WriteOnly) && file.write(log) == log.size() && file.commit()) {
        lines_ = qsizetype(live_.size());
        read_ = stampOf(index_);
    }
}

UrlCache::Stamp UrlCache::stampOf(const QString& path) {
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0) {
        return {};
    }
    return Stamp{quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
                 qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}
