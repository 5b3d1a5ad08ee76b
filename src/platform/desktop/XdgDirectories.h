#pragma once

#include <QString>
#include <QStringList>

// The folders of the freedesktop lookups (the XDG base directories) and the current
// desktops' names.
struct XdgDirectories {
    QString configHome;
    QStringList configDirs;
    QString dataHome;
    QStringList dataDirs;
    // XDG_CURRENT_DESKTOP in lower case, most specific first.
    QStringList desktops;

    // As the environment sets them, with the defaults of the base directory rules.
    static XdgDirectories fromEnvironment();
};
