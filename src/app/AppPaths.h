#pragma once

#include <QString>

// Where the program keeps its files for the current user. Folders end in "/".
struct AppPaths {
    QString configFile;   // the settings: <config>/Orvellin/Orvellin.ini
    QString dataFolder;   // SaveList.dat and the sound cues: <data>/Orvellin/
    QString cacheFolder;  // the browsers' URL cache and HTTP cache: <cache>/Orvellin/
    QString homeFolder;
    // The folder that holds the users' home folders, whose caches the cache viewer lists.
    QString profilesRoot;

    // The current user's folders; XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME apply.
    // The profiles are the folders under /home.
    static AppPaths forCurrentUser();
    // Everything below one folder (tests).
    static AppPaths under(const QString& root);

    // "c:\12345" of the described program: the home folder and "12345/".
    QString defaultSaveFolder() const { return homeFolder + QStringLiteral("12345/"); }
};
