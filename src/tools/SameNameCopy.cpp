#include "tools/SameNameCopy.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <optional>

#include "sys/FileSystem.h"

namespace {

std::optional<struct stat> statOf(const QString& path) {
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0) {
        return std::nullopt;
    }
    return info;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool taken(const QString& path) {
    struct stat info {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0;
}

bool copyBytes(int in, int out) {
    for (;;) {
        const ssize_t sent = sendfile(out, in, nullptr, 1 << 30);
        if (sent == 0) {
            return true;
        }
        if (sent < 0 && errno != EINTR) {
            return false;
        }
    }
}

// Writes the copy to a hidden temporary file beside the target, with the source's
// permissions and modification time, and renames it over the target.
bool copyReplacing(const QString& source, const QString& target) {
    // Not blocking: a FIFO under the source's name must not hang the window.
    const int in = open(QFile::encodeName(source).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) {
        return false;
    }
    struct stat info {};
    QByteArray temporary = QFile::encodeName(target.left(target.lastIndexOf(QLatin1Char('/')) + 1) +
                                             QStringLiteral(".orvellin-copy-XXXXXX"));
    const int out =
        fstat(in, &info) == 0 && S_ISREG(info.st_mode) ? mkostemp(temporary.data(), O_CLOEXEC) : -1;
    if (out < 0) {
        close(in);
        return false;
    }
    const timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
    bool copied =
        copyBytes(in, out) && fchmod(out, info.st_mode & 0777) == 0 && futimens(out, times) == 0;
    copied = close(out) == 0 && copied;
    close(in);
    copied = copied && rename(temporary.constData(), QFile::encodeName(target).constData()) == 0;
    if (!copied) {
        unlink(temporary.constData());
    }
    return copied;
}

}  // namespace

QString CopyUnderRule(const QString& source, const QString& folder, const QString& name,
                      SameNameRule rule) {
    const QString target = folder + name;
    const auto copy = [&] { return copyReplacing(source, target) ? target : QString(); };
    if (!FileExists(target)) {
        return copy();
    }
    const auto from = statOf(source);
    const auto to = statOf(target);
    if (!from || !to || sameFile(*from, *to)) {
        return {};
    }
    const auto renamed = [&] {
        QString newName;
        QString baseName;
        return 复制相同文件自动重命名(source, folder, newName, baseName) ? folder + newName
                                                                         : QString();
    };
    const bool sameSize = from->st_size == to->st_size;
    switch (rule) {
        case SameNameRule::Overwrite:
            return copy();
        case SameNameRule::Rename:
            return renamed();
        case SameNameRule::OverwriteWhenSizeAndTimeEqual:
            return sameSize && from->st_mtim.tv_sec == to->st_mtim.tv_sec ? copy() : renamed();
        case SameNameRule::OverwriteWhenSizeEqual:
            return sameSize ? copy() : renamed();
        case SameNameRule::None:
        case SameNameRule::Skip:
            break;
    }
    return {};
}

bool 复制相同文件自动重命名(const QString& source, const QString& folder, QString& newName,
                            QString& baseName) {
    if (!FileExists(source)) {
        return false;
    }
    QString extension;
    QString named;
    SplitFullPath(source, extension, named);
    QString stem;
    SplitNumberSuffix(named, stem);
    const auto withExtension = [&extension](const QString& base) {
        return extension.isEmpty() ? base : base + QLatin1Char('.') + extension;
    };
    baseName = stem;
    newName = withExtension(stem);
    for (int n = 1; taken(folder + newName); ++n) {
        baseName = stem + QLatin1Char('[') +
                   QString::number(n).rightJustified(3, QLatin1Char('0')) + QLatin1Char(']');
        newName = withExtension(baseName);
    }
    return copyReplacing(source, folder + newName);
}

bool IsCompleteCopy(const QString& source, const QString& copy) {
    struct stat copied {};
    const auto original = statOf(source);
    return original && lstat(QFile::encodeName(copy).constData(), &copied) == 0 &&
           S_ISREG(copied.st_mode) && !sameFile(*original, copied) &&
           copied.st_size == original->st_size;
}
