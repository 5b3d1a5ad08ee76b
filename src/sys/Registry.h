#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "platform/registry/RegistryBackend.h"

// Root-key handle of a root-key name ("hkey_current_user " gives 0x80000001); 0 for an
// unknown name.
quint32 RootKeyFromName(const QString& name);
// Splits a full key path ("HKEY_LOCAL_MACHINE\SOFTWARE\x") into its root handle, and
// leaves the subkey path in `keyPath`. 0, and the path left alone, when it does not
// begin with "HKEY_" (exact case) or ends with "\".
quint32 SplitRootKey(QString& keyPath);

// The registry addressed by full key paths, in a view: "64" the 64-bit half, any other
// non-empty text the program's own (32-bit) half, the empty text the machine's
// bitness. Keys are opened, never created, and closed before returning. Reads give
// "Error" and writes false when the key or value cannot be reached; nothing throws or
// shows a message.
class Registry {
  public:
    // `osBitness` gives "64" or "32"; it is asked once, when a view first needs it.
    explicit Registry(RegistryBackend& backend, std::function<QString()> osBitness);

    // A text value read into a 255-byte buffer, up to its first zero, trimmed.
    QString RegReadString(const QString& keyPath, const QString& valueName, const QString& view);
    // A number value read into a 4-byte buffer, as signed decimal text.
    QString RegReadNumber(const QString& keyPath, const QString& valueName, const QString& view);
    bool RegWriteNumber(const QString& keyPath, const QString& valueName, qint32 value,
                        const QString& view);
    // True when the key could be opened, whether or not the value existed.
    bool RegDeleteValue(const QString& keyPath, const QString& valueName, const QString& view);

    // Sets the embedded browser's rendering level for this program ("IE10", "IE9", "IE8",
    // "IE7"), writing only where the value differs; any other level removes the value.
    void SetBrowserEmulation(const QString& level, bool forceStandards);

  private:
    bool machine64();
    RegistryBackend::Key open(const QString& keyPath, const QString& view);

    RegistryBackend& backend_;
    std::function<QString()> osBitnessSource_;
    std::optional<QString> osBitness_;
};
