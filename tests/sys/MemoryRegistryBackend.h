#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include "platform/registry/RegistryBackend.h"

// A registry in memory with its two halves (views), recording every change made to it.
class MemoryRegistryBackend final : public RegistryBackend {
  public:
    struct Change {
        enum class Op { Write, Delete } op;
        bool view64;
        QString valueName;
        quint32 value = 0;
    };

    void addKey(quint32 root, const QString& subKey, bool view64);
    void setValue(quint32 root, const QString& subKey, bool view64, const QString& name,
                  const RegistryValue& value);
    std::optional<RegistryValue> value(quint32 root, const QString& subKey, bool view64,
                                       const QString& name) const;

    Key openKey(quint32 root, const QString& subKey, quint32 access) override;
    std::optional<RegistryValue> queryValue(Key key, const QString& name) const override;
    bool setDWord(Key key, const QString& name, quint32 value) override;
    bool deleteValue(Key key, const QString& name) override;
    void closeKey(Key key) override;

    QList<Change> changes;
    QList<bool> openedViews;  // view64 of every opened key, in order
    QList<quint32> accessMasks;
    int openKeys() const { return int(open_.size()); }

  private:
    static QString path(quint32 root, const QString& subKey, bool view64);
    QHash<QString, QHash<QString, RegistryValue>> keys_;  // values by lower-case name
    QHash<Key, QString> open_;
    Key next_ = 1;
};
