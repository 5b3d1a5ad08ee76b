#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include "download/DownloadEntry.h"
#include "platform/controls/ListView.h"

// A download list of its own and a temporary folder to save into.
struct DownloadListFixture {
    QObject owner;
    ListView list{&owner, QStringLiteral("ListView3")};
    QTemporaryDir temp;

    // A waiting entry, saved into `folder` (the temporary folder with "/" when empty).
    DownloadEntry add(const QString& address, const QString& name, const QString& type,
                      const QString& folder = {});
    // The temporary folder, ending in "/".
    QString dir() const { return temp.path() + QLatin1Char('/'); }
};

// Writes a file (creating it or replacing its content); false when that fails.
bool WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// While it lives, the test process is held to file permissions even when it runs as
// root (as CI does): read-only folders and unreadable files then act as they do for a
// user. Does nothing for a process that is not root.
class FilePermissionsHonoured {
  public:
    FilePermissionsHonoured();
    ~FilePermissionsHonoured();
    FilePermissionsHonoured(const FilePermissionsHonoured&) = delete;
    FilePermissionsHonoured& operator=(const FilePermissionsHonoured&) = delete;

  private:
    quint32 saved_[2] = {0, 0};
    bool changed_ = false;
};
