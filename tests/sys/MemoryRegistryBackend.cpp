#include "MemoryRegistryBackend.h"

QString MemoryRegistryBackend::path(quint32 root, const QString& subKey, bool view64) {
    return QStringLiteral("%1|%2|").arg(root).arg(view64 ? 64 : 32) + subKey.toLower();
}

void MemoryRegistryBackend::addKey(quint32 root, const QString& subKey, bool view64) {
    keys_[path(root, subKey, view64)];
}

void MemoryRegistryBackend::setValue(quint32 root, const QString& subKey, bool view64,
                                     const QString& name, const RegistryValue& value) {
    keys_[path(root, subKey, view64)].insert(name.toLower(), value);
}

std::optional<RegistryValue> MemoryRegistryBackend::value(quint32 root, const QString& subKey,
                                                          bool view64, const QString& name) const {
    const auto values = keys_.constFind(path(root, subKey, view64));
    if (values == keys_.constEnd() || !values->contains(name.toLower())) {
        return std::nullopt;
    }
    return values->value(name.toLower());
}

RegistryBackend::Key MemoryRegistryBackend::openKey(quint32 root, const QString& subKey,
                                                    quint32 access) {
    const bool view64 = (access & kView64) != 0;
    openedViews.append(view64);
    accessMasks.append(access);
    const QString key = path(root, subKey, view64);
    if (!keys_.contains(key)) {
        return 0;
    }
    open_.insert(next_, key);
    return next_++;
}

std::optional<RegistryValue> MemoryRegistryBackend::queryValue(Key key, const QString& name) const {
    const auto values = keys_.constFind(open_.value(key));
    if (values == keys_.constEnd() || !values->contains(name.toLower())) {
        return std::nullopt;
    }
    return values->value(name.toLower());
}

bool MemoryRegistryBackend::setDWord(Key key, const QString& name, quint32 value) {
    const QString path = open_.value(key);
    if (path.isEmpty()) {
        return false;
    }
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i) {
        data[i] = char((value >> (8 * i)) & 0xFF);
    }
    keys_[path].insert(name.toLower(), RegistryValue{RegistryValue::kDWord, data});
    changes.append(Change{Change::Op::Write, path.contains(QLatin1String("|64|")), name, value});
    return true;
}

bool MemoryRegistryBackend::deleteValue(Key key, const QString& name) {
    const QString path = open_.value(key);
    changes.append(Change{Change::Op::Delete, path.contains(QLatin1String("|64|")), name, 0});
    return keys_[path].remove(name.toLower()) > 0;
}

void MemoryRegistryBackend::closeKey(Key key) {
    open_.remove(key);
}
