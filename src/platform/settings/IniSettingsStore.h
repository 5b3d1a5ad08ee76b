#pragma once

#include <QSettings>

#include "platform/settings/SettingsStore.h"

// The settings in an INI file, one group per section. Every write reaches the disk at
// once and atomically (QSettings writes a temporary file and renames it).
class IniSettingsStore final : public SettingsStore {
  public:
    explicit IniSettingsStore(const QString& filePath);

    QString SettingsRead(const QString& section, const QString& key,
                         const QString& defaultValue) const override;
    void SettingsWrite(const QString& section, const QString& key, const QString& value) override;

    QString filePath() const { return settings_.fileName(); }

  private:
    static QString path(const QString& section, const QString& key);
    mutable QSettings settings_;
};
