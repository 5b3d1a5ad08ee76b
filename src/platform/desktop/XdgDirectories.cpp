#include "platform/desktop/XdgDirectories.h"

#include <QDir>

namespace {

QString variable(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

QStringList folders(const char* name, const QString& fallback) {
    return variable(name, fallback).split(u':', Qt::SkipEmptyParts);
}

}  // namespace

XdgDirectories XdgDirectories::fromEnvironment() {
    const QString home = QDir::homePath();
    XdgDirectories directories;
    directories.configHome = variable("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    directories.configDirs = folders("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    directories.dataHome = variable("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    directories.dataDirs = folders("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    directories.desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(u':', Qt::SkipEmptyParts);
    return directories;
}
