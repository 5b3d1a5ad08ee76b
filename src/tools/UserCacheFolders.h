#pragma once

#include <QList>
#include <QString>

// One row of the cache viewer's user list: a profile and its URL cache folder.
struct UserCacheFolder {
    QString user;    // the profile folder's name
    QString folder;  // ends in "/"
};

// The URL cache folders of the user profiles, in place of the described Windows table.
// Each profile is a folder under `profilesRoot`, and its cache lies at the same path
// below it as `ownCache` lies below `homeFolder`; the current user's own cache counts
// too when the home folder is not under the root. When `ownCache` is not below the home
// folder (XDG_CACHE_HOME elsewhere), or without `everyProfile`, only the current user's
// cache is listed. A cache folder that does not exist gives no row.
QList<UserCacheFolder> FindUserCacheFolders(const QString& ownCache, const QString& homeFolder,
                                            const QString& profilesRoot, bool everyProfile);
