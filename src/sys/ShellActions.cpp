#include "sys/ShellActions.h"

#include <QLocale>
#include <QUrl>

#include "platform/desktop/Shell.h"
#include "platform/dialogs/Dialogs.h"
#include "sys/FileSystem.h"
#include "sys/SystemInfo.h"

namespace {

QString percentEncoded(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

}  // namespace

void OpenWithShell(const QString& path, Shell& shell, Dialogs& dialogs) {
    if (!FileExists(path)) {
        dialogs.error(QStringLiteral("文件不存在！"));
        return;
    }
    shell.openFile(LocalFilePath(path));
}

bool ShowInFolder(const QString& path, Shell& shell) {
    return FileExists(path) && shell.showInFolder(LocalFilePath(path));
}

void OpenWebPage(const QString& address, Shell& shell) {
    shell.openUrl(address);
}

QString BrowseForFolder(Dialogs& dialogs, const QString& initialPath, const QString& title,
                        const QString& homeFolder) {
    QString start = initialPath.trimmed();
    if (start.isEmpty()) {
        start = homeFolder;
    } else {
        // The folder above the given one: /a/b/ and /a/b both start at /a/.
        const qsizetype slash = start.left(start.size() - 1).lastIndexOf(QLatin1Char('/'));
        if (slash >= 0) {
            start = start.left(slash + 1);
        }
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

bool SendFeedbackMail(Shell& shell, const QString& makerSite, const QString& programName,
                      const QDate& today) {
    const QString host = QUrl::fromUserInput(makerSite.trimmed()).host();
    if (makerSite.trimmed().isEmpty() || host.isEmpty()) {
        return false;
    }
    const QString subject = QStringLiteral("我要对[") + programName + QStringLiteral("]提建议");
    // A form to fill in: each label is followed by room for the answer.
    QString body = QStringLiteral("软件名称：") + programName +
                   QStringLiteral(
                       " 姓名：          "
                       " Email：           "
                       " 联系地址：           "
                       " 邮编：              "
                       " 电话：                    "
                       " 日期：");
    body += QLocale(QLocale::Chinese, QLocale::China).toString(today, QLocale::ShortFormat);
    // "?" starts the parameters; subject and body are percent-encoded so that the
    // Chinese texts and the blanks arrive as written.
    return shell.openUrl(QStringLiteral("mailto:feedback@") + host + QStringLiteral("?subject=") +
                         percentEncoded(subject) + QStringLiteral("&body=") + percentEncoded(body));
}

QString MakerPage(const QString& makerSite, const QString& path) {
    QString site = makerSite.trimmed();
    while (site.endsWith(u'/')) {
        site.chop(1);
    }
    return site.isEmpty() ? QString() : site + path;
}

QString ProgramPage(const QString& makerSite) {
    return MakerPage(makerSite, u'/' + ExecutableName() + u'/');
}
