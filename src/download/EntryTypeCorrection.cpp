#include "download/EntryTypeCorrection.h"

#include <QFile>
#include <QStringList>

#include "download/DownloadEntry.h"
#include "download/EntryFilePath.h"
#include "download/FileTypeDetection.h"
#include "download/NumberedNames.h"
#include "sys/FileSystem.h"

namespace {

bool IsOfficePackage(const QString& type) {
    static const QStringList packages = {QStringLiteral("docx"), QStringLiteral("xlsx"),
                                         QStringLiteral("pptx"), QStringLiteral("ppsx")};
    return packages.contains(type);
}

}  // namespace

bool CorrectEntryType(DownloadEntry& entry) {
    const QString current = entry.type().toLower();
    const QString from = EntryFilePath(entry);
    if (!FileExists(from)) {
        return false;
    }
    const QString detected = 打开文件判断文件类型(from);
    if (detected.isEmpty() || detected == current) {
        return false;
    }
    if (IsOfficePackage(current) &&
        (detected == QStringLiteral("docx") || detected == QStringLiteral("zip"))) {
        return false;
    }
    const QString suffix = QLatin1Char('.') + detected;
    const QString to = UniqueFilePath(entry.folder() + entry.name() + suffix);
    // QFile::rename never replaces an existing file.
    if (!QFile::rename(LocalFilePath(from), to) || !FileExists(to)) {
        return false;
    }
    const QString fileName = to.mid(to.lastIndexOf(QLatin1Char('/')) + 1);
    entry.setType(detected);
    entry.setName(fileName.left(fileName.size() - suffix.size()));
    if (entry.ownedFile() == from) {
        entry.setOwnedFile(to);
    }
    return true;
}
