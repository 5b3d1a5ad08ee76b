#pragma once

#include <QString>

// The per-user store of text values, addressed by section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultValue` when the key was never written.
    virtual QString SettingsRead(const QString& section, const QString& key,
                                 const QString& defaultValue) const = 0;
    // Stores the text, creating section and key when needed.
    virtual void SettingsWrite(const QString& section, const QString& key,
                               const QString& value) = 0;
};
