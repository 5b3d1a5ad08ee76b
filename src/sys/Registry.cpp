#include "sys/Registry.h"

#include <QStringList>
#include <QtEndian>
#include <array>
#include <cstring>

#include "platform/text/Gbk.h"
#include "sys/SystemInfo.h"

namespace {

const QString kError = QStringLiteral("Error");
// Query, set and create-subkey, enumerate, notify, create-link and read-control rights.
constexpr quint32 kAccess = 0x2003F;
constexpr qsizetype kStringBuffer = 255;
constexpr qsizetype kNumberBuffer = 4;

struct RootKey {
    const char* name;
    quint32 handle;
};
constexpr std::array<RootKey, 7> kRootKeys{{
    {"HKEY_CLASSES_ROOT", 0x80000000},
    {"HKEY_CURRENT_USER", 0x80000001},
    {"HKEY_LOCAL_MACHINE", 0x80000002},
    {"HKEY_USERS", 0x80000003},
    {"HKEY_PERFORMANCE_DATA", 0x80000004},
    {"HKEY_CURRENT_CONFIG", 0x80000005},
    {"HKEY_DYN_DATA", 0x80000006},
}};

const QString kEmulationKey = QStringLiteral(
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet "
    "Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION");

bool isText(quint32 type) {
    return type == RegistryValue::kString || type == RegistryValue::kExpandString ||
           type == RegistryValue::kMultiString;
}

// Closes the key when the read or write is done.
class OpenKey {
  public:
    OpenKey(RegistryBackend& backend, RegistryBackend::Key key) : backend_(backend), key_(key) {}
    ~OpenKey() {
        if (key_) {
            backend_.closeKey(key_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    explicit operator bool() const { return key_ != 0; }
    RegistryBackend::Key key() const { return key_; }

  private:
    RegistryBackend& backend_;
    RegistryBackend::Key key_;
};

}  // namespace

quint32 RootKeyFromName(const QString& name) {
    const QString wanted = name.trimmed().toUpper();
    for (const RootKey& root : kRootKeys) {
        if (wanted == QLatin1String(root.name)) {
            return root.handle;
        }
    }
    return 0;
}

quint32 SplitRootKey(QString& keyPath) {
    if (!keyPath.startsWith(QLatin1String("HKEY_")) || keyPath.endsWith(u'\\')) {
        return 0;
    }
    const qsizetype slash = keyPath.indexOf(u'\\');
    if (slash < 0) {
        const quint32 root = RootKeyFromName(keyPath);
        keyPath.clear();
        return root;
    }
    const quint32 root = RootKeyFromName(keyPath.left(slash));
    keyPath = keyPath.mid(slash + 1);
    return root;
}

Registry::Registry(RegistryBackend& backend, std::function<QString()> osBitness)
    : backend_(backend), osBitnessSource_(std::move(osBitness)) {}

bool Registry::machine64() {
    if (!osBitness_) {
        osBitness_ = osBitnessSource_ ? osBitnessSource_() : QString();
    }
    return *osBitness_ == QLatin1String("64");
}

RegistryBackend::Key Registry::open(const QString& keyPath, const QString& view) {
    QString subKey = keyPath;
    const quint32 root = SplitRootKey(subKey);
    if (root == 0) {
        return 0;
    }
    const bool view64 = view.isEmpty() ? machine64() : view == QLatin1String("64");
    return backend_.openKey(root, subKey, kAccess | (view64 ? RegistryBackend::kView64 : 0));
}

QString Registry::RegReadString(const QString& keyPath, const QString& valueName,
                                const QString& view) {
    const OpenKey key(backend_, open(keyPath, view));
    if (!key) {
        return kError;
    }
    const auto value = backend_.queryValue(key.key(), valueName);
    if (!value || value->data.size() > kStringBuffer) {
        return kError;
    }
    const qsizetype zero = value->data.indexOf('\0');
    return Gbk::decode(zero < 0 ? value->data : value->data.left(zero)).trimmed();
}

QString Registry::RegReadNumber(const QString& keyPath, const QString& valueName,
                                const QString& view) {
    const OpenKey key(backend_, open(keyPath, view));
    if (!key) {
        return kError;
    }
    const auto value = backend_.queryValue(key.key(), valueName);
    // A text never reads as a number, however short.
    if (!value || value->data.size() > kNumberBuffer || isText(value->type)) {
        return kError;
    }
    std::array<char, kNumberBuffer> buffer{};
    std::memcpy(buffer.data(), value->data.constData(), size_t(value->data.size()));
    return QString::number(qFromLittleEndian<qint32>(buffer.data()));
}

bool Registry::RegWriteNumber(const QString& keyPath, const QString& valueName, qint32 value,
                              const QString& view) {
    const OpenKey key(backend_, open(keyPath, view));
    return key && backend_.setDWord(key.key(), valueName, quint32(value));
}

bool Registry::RegDeleteValue(const QString& keyPath, const QString& valueName,
                              const QString& view) {
    const OpenKey key(backend_, open(keyPath, view));
    if (!key) {
        return false;
    }
    backend_.deleteValue(key.key(), valueName);
    return true;
}

void Registry::SetBrowserEmulation(const QString& level, bool forceStandards) {
    const QString valueName = ExecutableName() + QStringLiteral(".exe");
    const QString name = level.toUpper();
    qint32 wanted = 0;
    if (name == QLatin1String("IE10")) {
        wanted = forceStandards ? 10001 : 10000;
    } else if (name == QLatin1String("IE9")) {
        wanted = forceStandards ? 9999 : 9000;
    } else if (name == QLatin1String("IE8")) {
        wanted = forceStandards ? 8888 : 8000;
    } else if (name == QLatin1String("IE7")) {
        wanted = 7000;
    } else {
        RegDeleteValue(kEmulationKey, valueName, QStringLiteral("32"));
        if (machine64()) {
            RegDeleteValue(kEmulationKey, valueName, QStringLiteral("64"));
        }
        return;
    }
    QStringList views{QStringLiteral("32")};
    if (machine64()) {
        views.append(QStringLiteral("64"));
    }
    QStringList current;
    for (const QString& view : views) {
        current.append(RegReadNumber(kEmulationKey, valueName, view));
    }
    for (qsizetype i = 0; i < views.size(); ++i) {
        if (current[i] != QString::number(wanted)) {
            RegWriteNumber(kEmulationKey, valueName, wanted, views[i]);
        }
    }
}
