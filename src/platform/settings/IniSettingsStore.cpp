#include "platform/settings/IniSettingsStore.h"

IniSettingsStore::IniSettingsStore(const QString& filePath)
    : settings_(filePath, QSettings::IniFormat) {}

QString IniSettingsStore::path(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

QString IniSettingsStore::SettingsRead(const QString& section, const QString& key,
                                       const QString& defaultValue) const {
    const QVariant value = settings_.value(path(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void IniSettingsStore::SettingsWrite(const QString& section, const QString& key,
                                     const QString& value) {
    settings_.setValue(path(section, key), value);
    settings_.sync();
}
