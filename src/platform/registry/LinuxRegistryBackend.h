#pragma once

#include "platform/registry/RegistryBackend.h"

// Linux has no registry: no key can be opened, so every read and write fails quietly.
class LinuxRegistryBackend final : public RegistryBackend {
  public:
    Key openKey(quint32, const QString&, quint32) override { return 0; }
    std::optional<RegistryValue> queryValue(Key, const QString&) const override { return {}; }
    bool setDWord(Key, const QString&, quint32) override { return false; }
    bool deleteValue(Key, const QString&) override { return false; }
    void closeKey(Key) override {}
};
