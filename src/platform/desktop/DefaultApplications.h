#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/XdgDirectories.h"

// The desktop's default applications for MIME types, as the freedesktop MIME
// applications rules find them: the defaults of the mimeapps.list files, most
// preferred file first (desktop-specific lists before the general ones, the user's
// before the system's), then the added associations, then the installed applications
// that declare the type; removed associations and applications that cannot start
// are passed over.
class DefaultApplications {
  public:
    explicit DefaultApplications(XdgDirectories directories);

    std::optional<DesktopEntry> forType(const QString& mimeType) const;

  private:
    QStringList mimeAppsLists() const;
    QStringList applicationFolders() const;
    // The first installed desktop file of that id, when it can start.
    std::optional<DesktopEntry> startable(const QString& id) const;
    std::optional<DesktopEntry> declaringType(const QString& mimeType,
                                              const QStringList& removed) const;

    XdgDirectories directories_;
};
