#include "download/EntryNaming.h"

#include <QFile>
#include <QFileInfo>

#include "download/DownloadEntry.h"
#include "download/DownloadList.h"
#include "download/EntryFilePath.h"
#include "download/NumberedNames.h"
#include "sys/CleanFileName.h"
#include "sys/FileSystem.h"
#include "sys/ListHelpers.h"

namespace {

const QString kUnnamed = QStringLiteral("未命名");
const QString kFailedText = QStringLiteral("下载失败");
const QString kSkippedText = QStringLiteral("已存在，跳过");

// The number of parts of a folder path, trailing "/" left out.
qsizetype FolderDepth(QString folder) {
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder.count(QLatin1Char('/'));
}

}  // namespace

void CleanEntryName(DownloadEntry& entry) {
    QString name = CleanFileName(entry.name());
    if (name.isEmpty()) {
        name = CleanFileName(FileNameOf(选择url(entry.addresses()), true));
    }
    entry.setName(name.isEmpty() ? kUnnamed : name);
}

bool PrepareEntryFolder(DownloadEntry& entry, Dialogs& dialogs) {
    const QString asked = entry.folder();
    const QString made = CreateFolderPath(asked, dialogs);
    // CreateFolderPath stops early at a part it cannot use and hands back the folder
    // above it; saving there would put the file where the user did not ask.
    if (made.isEmpty() || FolderDepth(made) != FolderDepth(asked)) {
        entry.setState(EntryState::Failed);
        entry.setSizeText(kFailedText);
        return false;
    }
    entry.setFolder(WithTrailingSlash(made));
    return true;
}

bool 确定是需要下载(DownloadEntry& entry, DuplicatePolicy policy) {
    entry.setFolder(WithTrailingSlash(entry.folder()));
    const QString path = EntryFilePath(entry);
    if (policy != DuplicatePolicy::Skip || !FileExists(path)) {
        return true;
    }
    const QString length = QString::number(QFileInfo(path).size());
    entry.setState(EntryState::Done);
    entry.setSizeText(length);
    entry.setReceivedText(length);
    entry.setProgressText(kSkippedText);
    return false;
}

bool ReserveTarget(DownloadEntry& entry, const QString& path) {
    QFile file(path);
    // NewOnly creates the file only when nothing exists there, in one step.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return false;
    }
    const bool written = file.write("\x01\x00", 2) == 2 && file.flush();
    file.close();
    if (!written) {
        file.remove();
        return false;
    }
    entry.setOwnedFile(path);
    return true;
}

DownloadEntry AddFoundDocument(ListView& list, const QString& link, const QString& title,
                               const QString& type, const QString& folder,
                               const QString& sourcePage, bool nameByFileName) {
    const QString name =
        nameByFileName ? FileNameOf(link, true) : RemoveLineBreaks(title).trimmed();
    DownloadEntry entry = AddEntry(list, link, name, type, folder, sourcePage);
    if (entry.isValid()) {
        CleanEntryName(entry);
    }
    return entry;
}
