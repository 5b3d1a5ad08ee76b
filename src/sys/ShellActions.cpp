#include "sys/ShellActions.h"

#include "platform/desktop/Shell.h"
#include "platform/dialogs/Dialogs.h"
#include "sys/FileSystem.h"

void OpenWithShell(const QString& path, Shell& shell, Dialogs& dialogs) {
    if (!FileExists(path)) {
        dialogs.error(QStringLiteral("文件不存在！"));
        return;
    }
    shell.openFile(path.trimmed());
}

bool ShowInFolder(const QString& path, Shell& shell) {
    const QString file = path.trimmed();
    return FileExists(file) && shell.showInFolder(file);
}

void OpenWebPage(const QString& address, Shell& shell) {
    shell.openUrl(address);
}

QString BrowseForFolder(Dialogs& dialogs, const QString& initialPath, const QString& title,
                        const QString& homeFolder) {
    QString start = initialPath.trimmed();
    if (start.isEmpty()) {
        start = homeFolder;
    }
    // D:/a/b/ and D:/a/b both start at D:/a/.
    const qsizetype slash = start.left(start.size() - 1).lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) {
        start = start.left(slash + 1);
    }
    if (!FolderExists(start)) {
        start = homeFolder;
    }
    QString chosen = dialogs.pickFolder(title, start);
    if (chosen.isEmpty()) {
        chosen = initialPath;
    }
    if (!chosen.endsWith(QLatin1Char('/'))) {
        chosen += QLatin1Char('/');
    }
    return chosen;
}
