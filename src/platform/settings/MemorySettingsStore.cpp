#include "platform/settings/MemorySettingsStore.h"

namespace {
QString path(const QString& section, const QString& key) {
    return section + QChar(0) + key;
}
}  // namespace

QString MemorySettingsStore::SettingsRead(const QString& section, const QString& key,
                                          const QString& defaultValue) const {
    return values_.value(path(section, key), defaultValue);
}

void MemorySettingsStore::SettingsWrite(const QString& section, const QString& key,
                                        const QString& value) {
    values_.insert(path(section, key), value);
    ++writes_;
}
