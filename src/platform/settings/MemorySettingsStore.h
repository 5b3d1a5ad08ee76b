#pragma once

#include <QHash>

#include "platform/settings/SettingsStore.h"

// Settings that live only for the run: the batch modes and tests.
class MemorySettingsStore final : public SettingsStore {
  public:
    QString SettingsRead(const QString& section, const QString& key,
                         const QString& defaultValue) const override;
    void SettingsWrite(const QString& section, const QString& key, const QString& value) override;
    int writeCount() const { return writes_; }

  private:
    QHash<QString, QString> values_;
    int writes_ = 0;
};
