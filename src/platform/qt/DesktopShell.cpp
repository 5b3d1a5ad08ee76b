#include "platform/qt/DesktopShell.h"

#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

// A file manager that has not answered by then is taken as absent.
constexpr int kFileManagerTimeoutMs = 5000;

QUrl fileUrl(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
}

}  // namespace

DesktopShell::DesktopShell(const QDBusConnection& bus, DefaultApplications applications)
    : bus_(bus), applications_(std::move(applications)) {}

bool DesktopShell::openFile(const QString& path) {
    return QDesktopServices::openUrl(fileUrl(path));
}

bool DesktopShell::showInFolder(const QString& path) {
    if (bus_.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"),
            QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
        call << QStringList{QString::fromLatin1(fileUrl(path).toEncoded())} << QString();
        const QDBusMessage reply = bus_.call(call, QDBus::Block, kFileManagerTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            return true;
        }
    }
    return openFolder(QFileInfo(path).absolutePath());
}

bool DesktopShell::openFolder(const QString& path) {
    return QDesktopServices::openUrl(fileUrl(path));
}

bool DesktopShell::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

bool DesktopShell::openInTextEditor(const QString& path) {
    const std::optional<DesktopEntry> editor = applications_.forType(QStringLiteral("text/plain"));
    if (!editor) {
        return false;
    }
    const QStringList command = editor->command(QFileInfo(path).absoluteFilePath());
    return QProcess::startDetached(command.first(), command.mid(1));
}
