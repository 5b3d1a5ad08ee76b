#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// An application's desktop entry (a .desktop file of the freedesktop desktop entry
// format): how the desktop starts it and which MIME types it opens.
class DesktopEntry {
  public:
    // The entry of a desktop file; nothing when the file is missing, describes no
    // application, is hidden (removed by the user) or has no command.
    static std::optional<DesktopEntry> load(const QString& path);

    QStringList mimeTypes() const { return mimeTypes_; }
    // Whether it can be started without a terminal, its TryExec program (when it names
    // one) being installed.
    bool startable() const;
    // The program and its arguments that open `file`: the Exec line split as the format
    // quotes it, its file field code replaced by `file` as one argument (added at the
    // end when the line has none), the other field codes expanded or dropped.
    QStringList command(const QString& file) const;

  private:
    QString path_;
    QString name_;
    QString icon_;
    QString exec_;
    QString tryExec_;
    bool terminal_ = false;
    QStringList mimeTypes_;
};
