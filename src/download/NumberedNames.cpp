#include "download/NumberedNames.h"

#include <QFileInfo>
#include <algorithm>

#include "sys/CleanFileName.h"

namespace {

constexpr qsizetype kMaxCounterDigits = 9;
constexpr qsizetype kUniqueBaseLength = 100;

// A counter in a name: one to nine ASCII digits. "[1e3]", "[-3]" and longer digit runs
// are plain text.
bool IsCounter(const QString& text) {
    if (text.isEmpty() || text.size() > kMaxCounterDigits) {
        return false;
    }
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
    }
    return true;
}

qsizetype Utf8Bytes(const QString& text) {
    return text.toUtf8().size();
}

// The base cut so that base + suffix fits in one file name.
QString FitBase(const QString& base, const QString& suffix) {
    return CutToUtf8Bytes(base, std::max<qsizetype>(0, kNameMaxBytes - Utf8Bytes(suffix)));
}

QString Counter(qint64 counter, int digits) {
    return QLatin1Char('[') + QString::number(counter).rightJustified(digits, QLatin1Char('0')) +
           QLatin1Char(']');
}

// The first `units` UTF-16 units, one fewer when a surrogate pair would be cut.
QString LeftWhole(const QString& text, qsizetype units) {
    if (text.size() > units && units > 0 && text.at(units - 1).isHighSurrogate()) {
        --units;
    }
    return text.left(units);
}

}  // namespace

QString WithTrailingSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool PathTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString 重命名保存路径(const QString& folder, const QString& name, const QString& type,
                       DuplicatePolicy policy, QString& newName) {
    const QString dir = WithTrailingSlash(folder);
    const QString extension = type.isEmpty() ? QString() : QLatin1Char('.') + type;
    const auto form = [&](const QString& base, qint64 counter) {
        const QString number = counter == 0 ? QString() : Counter(counter, 3);
        newName = FitBase(base, number + extension) + number;
        return dir + newName + extension;
    };

    QString candidate = form(name, 0);
    if (policy == DuplicatePolicy::Overwrite || !PathTaken(candidate)) {
        return candidate;
    }
    QString base = name;
    qint64 counter = 0;
    const qsizetype open = name.lastIndexOf(QLatin1Char('['));
    const qsizetype close = name.lastIndexOf(QLatin1Char(']'));
    if (open >= 0 && close > open) {
        const QString inner = name.mid(open + 1, close - open - 1).trimmed();
        if (IsCounter(inner)) {
            counter = inner.toLongLong();
            base = name.left(open);
        }
    }
    base.replace(QLatin1Char('['), QStringLiteral("『"));
    base.replace(QLatin1Char(']'), QStringLiteral("』"));
    candidate = form(base, counter);
    while (PathTaken(candidate)) {
        candidate = form(base, ++counter);
    }
    return candidate;
}

QString UniqueFilePath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString dir = path.left(slash + 1);
    const QString fileName = path.mid(slash + 1);
    if (Utf8Bytes(fileName) <= kNameMaxBytes && !PathTaken(path)) {
        return path;
    }
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1);
    const QString suffix = extension.isEmpty() ? QString() : QLatin1Char('.') + extension;
    QString base = LeftWhole(dot < 0 ? fileName : fileName.left(dot), kUniqueBaseLength);
    if (base.endsWith(QLatin1Char(']'))) {
        const qsizetype open = base.lastIndexOf(QLatin1Char('['));
        // A base that is only a counter keeps it: an empty base would hide the file.
        if (open > 0 && IsCounter(base.mid(open + 1, base.size() - open - 2))) {
            base = base.left(open);
        }
    }
    const auto form = [&](qint64 counter) {
        const QString number = counter == 0 ? QString() : Counter(counter, 4);
        return dir + FitBase(base, number + suffix) + number + suffix;
    };
    qint64 counter = 0;
    QString candidate = form(counter);
    while (PathTaken(candidate)) {
        candidate = form(++counter);
    }
    return candidate;
}
