#include "platform/qt/DesktopShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool DesktopShell::openFile(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopShell::showInFolder(const QString& path) {
    return openFolder(QFileInfo(path).absolutePath());
}

bool DesktopShell::openFolder(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopShell::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

bool DesktopShell::openInTextEditor(const QString& path) {
    return openFile(path);
}
