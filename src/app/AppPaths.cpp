#include "app/AppPaths.h"

#include <QDir>
#include <QStandardPaths>

#include "app/SettingsKeys.h"

namespace {
QString withSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}
}  // namespace

AppPaths AppPaths::forCurrentUser() {
    const QString app = Settings::kAppTitle;
    AppPaths paths;
    paths.configFile =
        withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)) + app +
        QStringLiteral("/") + app + QStringLiteral(".ini");
    paths.dataFolder = withSlash(
        withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) + app);
    paths.cacheFolder = withSlash(
        withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)) + app);
    paths.homeFolder = withSlash(QDir::homePath());
    paths.profilesRoot = QStringLiteral("/home/");
    return paths;
}

AppPaths AppPaths::under(const QString& root) {
    const QString base = withSlash(root);
    AppPaths paths;
    paths.configFile = base + QStringLiteral("config/Orvellin/Orvellin.ini");
    paths.dataFolder = base + QStringLiteral("data/Orvellin/");
    paths.cacheFolder = base + QStringLiteral("cache/Orvellin/");
    paths.homeFolder = base + QStringLiteral("home/");
    paths.profilesRoot = base + QStringLiteral("profiles/");
    return paths;
}
