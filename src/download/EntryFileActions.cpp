#include "download/EntryFileActions.h"

#include <QFileInfo>

#include "download/DownloadEntry.h"
#include "download/EntryFilePath.h"
#include "platform/desktop/Shell.h"
#include "platform/dialogs/Dialogs.h"
#include "sys/FileSystem.h"
#include "sys/ShellActions.h"

namespace {

const QString kNoSuchFile = QStringLiteral("该文件不存在！");
constexpr qint64 kLargestTextFile = 2048 * 1024;

}  // namespace

void OpenEntryFile(const DownloadEntry& entry, Shell& shell, Dialogs& dialogs) {
    const QString path = EntryFilePath(entry);
    if (!FileExists(path)) {
        dialogs.error(kNoSuchFile);
        return;
    }
    OpenWithShell(path, shell, dialogs);
}

void OpenEntryFolder(const DownloadEntry& entry, Shell& shell, Dialogs& dialogs) {
    if (!FolderExists(entry.folder())) {
        dialogs.error(QStringLiteral("文件夹不存在！"));
    } else if (!FileExists(EntryFilePath(entry))) {
        shell.openFolder(LocalFilePath(entry.folder()));
    } else if (!ShowInFolder(EntryFilePath(entry), shell)) {
        dialogs.error(QStringLiteral("打开失败！"));
    }
}

void OpenEntryInTextEditor(const DownloadEntry& entry, Shell& shell, Dialogs& dialogs) {
    const QString path = LocalFilePath(EntryFilePath(entry));
    if (!FileExists(path)) {
        dialogs.error(kNoSuchFile);
    } else if (QFileInfo(path).size() > kLargestTextFile) {
        dialogs.error(QStringLiteral("该文件太大，超过了2M，不便于用记事本打开！"));
    } else if (!shell.openInTextEditor(path)) {
        dialogs.error(
            QStringLiteral("没有找到可以打开文本文件的程序：请在桌面的默认应用程序设置中"
                           "为纯文本文件（text/plain）选择一个文本编辑器。"));
    }
}
