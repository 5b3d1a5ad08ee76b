#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A value as the registry stores it: its type number and its raw bytes.
struct RegistryValue {
    static constexpr quint32 kString = 1;
    static constexpr quint32 kExpandString = 2;
    static constexpr quint32 kBinary = 3;
    static constexpr quint32 kDWord = 4;
    static constexpr quint32 kMultiString = 7;

    quint32 type = kBinary;
    QByteArray data;
};

// The system's registry under the registry layer: existing keys are opened by root
// handle and subkey path, values are read whole, double-words written and values
// deleted. The access mask carries the view: with kView64 the 64-bit half.
class RegistryBackend {
  public:
    using Key = quint64;  // 0 stands for no key
    static constexpr quint32 kView64 = 0x100;

    virtual ~RegistryBackend() = default;
    // An existing key, or 0 when it cannot be opened.
    virtual Key openKey(quint32 root, const QString& subKey, quint32 access) = 0;
    // The value, or nothing when it is missing or cannot be read.
    virtual std::optional<RegistryValue> queryValue(Key key, const QString& name) const = 0;
    virtual bool setDWord(Key key, const QString& name, quint32 value) = 0;
    virtual bool deleteValue(Key key, const QString& name) = 0;
    virtual void closeKey(Key key) = 0;
};
