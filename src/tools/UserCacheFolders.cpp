#include "tools/UserCacheFolders.h"

#include <QFileInfo>

#include "sys/FileSystem.h"

namespace {

QString withoutSlash(QString folder) {
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}

bool sameFolder(const QString& a, const QString& b) {
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

}  // namespace

QList<UserCacheFolder> FindUserCacheFolders(const QString& ownCache, const QString& homeFolder,
                                            const QString& profilesRoot, bool everyProfile) {
    const QString own = withoutSlash(ownCache);
    const QString home = withoutSlash(homeFolder);
    QList<UserCacheFolder> found;
    const auto addWhenPresent = [&found](const QString& profile, const QString& cache) {
        if (FolderExists(cache)) {
            found.append({FileNameOf(profile, false), cache + QLatin1Char('/')});
        }
    };
    if (own.isEmpty() || home.isEmpty() || !everyProfile ||
        !own.startsWith(home + QLatin1Char('/'))) {
        addWhenPresent(home, own);
        return found;
    }
    const QString below = own.mid(home.size());
    QString root = profilesRoot;
    QStringList profiles{QString()};
    ListSubfolders(root, profiles, false);
    bool ownListed = false;
    for (const QString& profile : std::as_const(profiles)) {
        if (!profile.isEmpty()) {
            ownListed = ownListed || sameFolder(profile, home);
            addWhenPresent(profile, profile + below);
        }
    }
    if (!ownListed) {
        addWhenPresent(home, own);
    }
    return found;
}
