#pragma once

#include <QDBusConnection>

#include "platform/desktop/DefaultApplications.h"
#include "platform/desktop/Shell.h"

// The desktop's default handlers through QDesktopServices. Showing a file selected asks
// the file manager over D-Bus (org.freedesktop.FileManager1) and opens the file's
// folder when no file manager answers. The text editor is the desktop's default
// application for text/plain, started with the file as one argument.
class DesktopShell final : public Shell {
  public:
    // `bus` is where the file manager is asked: the session bus, or a test's bus;
    // `applications` where the text editor is looked up.
    explicit DesktopShell(
        const QDBusConnection& bus = QDBusConnection::sessionBus(),
        DefaultApplications applications = DefaultApplications(XdgDirectories::fromEnvironment()));

    bool openFile(const QString& path) override;
    bool showInFolder(const QString& path) override;
    bool openFolder(const QString& path) override;
    bool openUrl(const QString& url) override;
    bool openInTextEditor(const QString& path) override;

  private:
    QDBusConnection bus_;
    DefaultApplications applications_;
};
