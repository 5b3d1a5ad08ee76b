#include <gtest/gtest.h>

#include "MemoryRegistryBackend.h"
#include "platform/registry/LinuxRegistryBackend.h"
#include "sys/Registry.h"
#include "sys/SystemInfo.h"

namespace {

constexpr quint32 kMachine = 0x80000002;
constexpr quint32 kUser = 0x80000001;
const QString kVersionKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
const QString kVersionPath = QStringLiteral("HKEY_LOCAL_MACHINE\\") + kVersionKey;
const QString kEmulationKey = QStringLiteral(
    "SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION");

RegistryValue text(const QByteArray& bytes) {
    return RegistryValue{RegistryValue::kString, bytes};
}

RegistryValue dword(quint32 value) {
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i) {
        data[i] = char((value >> (8 * i)) & 0xFF);
    }
    return RegistryValue{RegistryValue::kDWord, data};
}

QString emulationValueName() {
    return ExecutableName() + QStringLiteral(".exe");
}

struct RegistryFixture : testing::Test {
    Registry registryOn(const QString& bitness) {
        return Registry(backend, [this, bitness] {
            ++bitnessAsked;
            return bitness;
        });
    }
    QList<MemoryRegistryBackend::Change> changes() const { return backend.changes; }

    MemoryRegistryBackend backend;
    int bitnessAsked = 0;
};

}  // namespace

TEST(RegistryKeyPath, RootNamesAndSplitsFollowTheirExactRules) {
    EXPECT_EQ(RootKeyFromName(QStringLiteral(" hkey_local_machine ")), kMachine);
    EXPECT_EQ(RootKeyFromName(QStringLiteral("HKEY_CLASSES_ROOT")), 0x80000000);
    EXPECT_EQ(RootKeyFromName(QStringLiteral("HKEY_DYN_DATA")), 0x80000006);
    EXPECT_EQ(RootKeyFromName(QStringLiteral("HKEY_NOWHERE")), 0u);

    QString path = QStringLiteral("HKEY_CURRENT_USER");
    EXPECT_EQ(SplitRootKey(path), kUser);
    EXPECT_EQ(path, "");

    path = kVersionPath;
    EXPECT_EQ(SplitRootKey(path), kMachine);
    EXPECT_EQ(path, kVersionKey);

    for (const QString& refused :
         {QStringLiteral("hkey_current_user\\Software"),
          QStringLiteral("HKEY_CURRENT_USER\\Software\\"), QStringLiteral("Software\\x")}) {
        path = refused;
        EXPECT_EQ(SplitRootKey(path), 0u) << refused.toStdString();
        EXPECT_EQ(path, refused);
    }
}

TEST_F(RegistryFixture, TextReadsStopAtTheFirstZeroAndFailBeyondTheBuffer) {
    backend.addKey(kMachine, kVersionKey, false);
    const auto set = [&](const char* name, const RegistryValue& value) {
        backend.setValue(kMachine, kVersionKey, false, QString::fromLatin1(name), value);
    };
    set("ProductName", text(QByteArray("  Debian 12 \0left over", 22)));
    set("Long", text(QByteArray(300, 'x') + '\0'));
    set("Fits", text(QByteArray(254, 'y') + '\0'));
    set("Chinese", text(QByteArray("\xB0\xE6\xB1\xBE\0", 5)));
    Registry registry = registryOn(QStringLiteral("32"));
    const QString view = QStringLiteral("32");

    EXPECT_EQ(registry.RegReadString(kVersionPath, QStringLiteral("productname"), view),
              "Debian 12");
    EXPECT_EQ(registry.RegReadString(kVersionPath, QStringLiteral("Long"), view), "Error");
    EXPECT_EQ(registry.RegReadString(kVersionPath, QStringLiteral("Fits"), view),
              QString(254, u'y'));
    EXPECT_EQ(registry.RegReadString(kVersionPath, QStringLiteral("Chinese"), view), "版本");
    EXPECT_EQ(registry.RegReadString(kVersionPath, QStringLiteral("Missing"), view), "Error");
    EXPECT_EQ(registry.RegReadString(kVersionPath + QStringLiteral("\\Nope"),
                                     QStringLiteral("ProductName"), view),
              "Error");
    EXPECT_EQ(registry.RegReadString(QStringLiteral("HKEY_NOWHERE\\") + kVersionKey,
                                     QStringLiteral("ProductName"), view),
              "Error");
    EXPECT_EQ(backend.openKeys(), 0);  // every opened key was closed
}

TEST_F(RegistryFixture, NumberReadsAreSigned32BitAndRefuseTexts) {
    backend.addKey(kMachine, kVersionKey, false);
    const auto set = [&](const char* name, const RegistryValue& value) {
        backend.setValue(kMachine, kVersionKey, false, QString::fromLatin1(name), value);
    };
    set("UBR", dword(1234));
    set("AllOnes", dword(0xFFFFFFFF));
    set("Text", text(QByteArray("12\0", 3)));
    set("Wide", RegistryValue{RegistryValue::kBinary, QByteArray(8, '\1')});
    Registry registry = registryOn(QStringLiteral("32"));
    const auto read = [&](const char* name) {
        return registry.RegReadNumber(kVersionPath, QString::fromLatin1(name),
                                      QStringLiteral("32"));
    };

    EXPECT_EQ(read("UBR"), "1234");
    EXPECT_EQ(read("AllOnes"), "-1");
    EXPECT_EQ(read("Text"), "Error");
    EXPECT_EQ(read("Wide"), "Error");
    EXPECT_EQ(read("Missing"), "Error");
}

TEST_F(RegistryFixture, WritesAndDeletesNeedAnExistingKey) {
    backend.addKey(kUser, QStringLiteral("Software\\Orvellin"), false);
    Registry registry = registryOn(QStringLiteral("32"));
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Orvellin");
    const QString view = QStringLiteral("32");

    EXPECT_TRUE(registry.RegWriteNumber(key, QStringLiteral("n"), -2, view));
    EXPECT_EQ(registry.RegReadNumber(key, QStringLiteral("n"), view), "-2");
    EXPECT_FALSE(
        registry.RegWriteNumber(key + QStringLiteral("\\Sub"), QStringLiteral("n"), 1, view));
    EXPECT_FALSE(
        registry.RegWriteNumber(QStringLiteral("HKEY_USERS"), QStringLiteral("n"), 1, view));

    EXPECT_TRUE(registry.RegDeleteValue(key, QStringLiteral("n"), view));
    EXPECT_EQ(registry.RegReadNumber(key, QStringLiteral("n"), view), "Error");
    EXPECT_TRUE(registry.RegDeleteValue(key, QStringLiteral("never there"), view));
    EXPECT_FALSE(registry.RegDeleteValue(key + QStringLiteral("\\Sub"), QStringLiteral("n"), view));
    EXPECT_EQ(backend.openKeys(), 0);
}

TEST_F(RegistryFixture, TheViewChoosesTheHalfAndTheEmptyViewAsksTheBitnessOnce) {
    backend.addKey(kMachine, kVersionKey, true);
    backend.setValue(kMachine, kVersionKey, true, QStringLiteral("UBR"), dword(64));
    Registry registry = registryOn(QStringLiteral("64"));

    EXPECT_EQ(registry.RegReadNumber(kVersionPath, QStringLiteral("UBR"), QStringLiteral("64")),
              "64");
    EXPECT_EQ(registry.RegReadNumber(kVersionPath, QStringLiteral("UBR"), QStringLiteral("32")),
              "Error");
    EXPECT_EQ(registry.RegReadNumber(kVersionPath, QStringLiteral("UBR"), QStringLiteral("x")),
              "Error");
    EXPECT_EQ(bitnessAsked, 0);
    EXPECT_EQ(registry.RegReadNumber(kVersionPath, QStringLiteral("UBR"), QString()), "64");
    EXPECT_EQ(registry.RegReadNumber(kVersionPath, QStringLiteral("UBR"), QString()), "64");
    EXPECT_EQ(bitnessAsked, 1);
    EXPECT_EQ(backend.accessMasks, (QList<quint32>{0x2013F, 0x2003F, 0x2003F, 0x2013F, 0x2013F}));
}

TEST_F(RegistryFixture, BrowserEmulationWritesTheLevelInBothHalvesOnlyWhenItDiffers) {
    backend.addKey(kMachine, kEmulationKey, false);
    backend.addKey(kMachine, kEmulationKey, true);
    Registry registry = registryOn(QStringLiteral("64"));

    registry.SetBrowserEmulation(QStringLiteral("IE10"), true);
    ASSERT_EQ(changes().size(), 2);
    for (const bool view64 : {false, true}) {
        const auto stored = backend.value(kMachine, kEmulationKey, view64, emulationValueName());
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->data, dword(10001).data);
    }

    // The next start finds 10001 and writes nothing.
    backend.changes.clear();
    registry.SetBrowserEmulation(QStringLiteral("IE10"), true);
    EXPECT_TRUE(changes().isEmpty());

    // A value of another type or number is rewritten.
    backend.setValue(kMachine, kEmulationKey, false, emulationValueName(), text("10001"));
    backend.setValue(kMachine, kEmulationKey, true, emulationValueName(), dword(9000));
    registry.SetBrowserEmulation(QStringLiteral("ie10"), true);
    EXPECT_EQ(changes().size(), 2);
}

TEST_F(RegistryFixture, BrowserEmulationLevelsAndTheirForceValues) {
    backend.addKey(kMachine, kEmulationKey, false);
    Registry registry = registryOn(QStringLiteral("32"));
    const QList<std::tuple<const char*, bool, quint32>> cases{
        {"IE10", false, 10000}, {"IE9", true, 9999}, {"ie9", false, 9000}, {"IE8", true, 8888},
        {"IE8", false, 8000},   {"IE7", true, 7000}, {"IE7", false, 7000},
    };
    for (const auto& [level, force, expected] : cases) {
        backend.setValue(kMachine, kEmulationKey, false, emulationValueName(), dword(1));
        backend.changes.clear();
        registry.SetBrowserEmulation(QString::fromLatin1(level), force);
        ASSERT_EQ(changes().size(), 1) << level;
        EXPECT_EQ(changes()[0].op, MemoryRegistryBackend::Change::Op::Write);
        EXPECT_EQ(changes()[0].value, expected) << level << force;
        EXPECT_EQ(changes()[0].valueName, emulationValueName());
    }
}

TEST_F(RegistryFixture, AnUnknownLevelDeletesTheValueInsteadOfWriting) {
    backend.addKey(kMachine, kEmulationKey, false);
    backend.addKey(kMachine, kEmulationKey, true);
    backend.setValue(kMachine, kEmulationKey, false, emulationValueName(), dword(10001));
    backend.setValue(kMachine, kEmulationKey, true, emulationValueName(), dword(10001));
    Registry registry = registryOn(QStringLiteral("64"));

    registry.SetBrowserEmulation(QStringLiteral("IE11"), true);
    ASSERT_EQ(changes().size(), 2);
    for (const auto& change : changes()) {
        EXPECT_EQ(change.op, MemoryRegistryBackend::Change::Op::Delete);
    }
    EXPECT_FALSE(backend.value(kMachine, kEmulationKey, false, emulationValueName()));
    EXPECT_FALSE(backend.value(kMachine, kEmulationKey, true, emulationValueName()));
}

TEST_F(RegistryFixture, ThirtyTwoBitMachinesTouchOnlyTheThirtyTwoBitHalf) {
    backend.addKey(kMachine, kEmulationKey, false);
    backend.addKey(kMachine, kEmulationKey, true);
    Registry registry = registryOn(QStringLiteral("32"));

    registry.SetBrowserEmulation(QStringLiteral("IE10"), true);
    registry.SetBrowserEmulation(QStringLiteral("none"), true);
    EXPECT_FALSE(backend.openedViews.contains(true));
    EXPECT_EQ(changes().size(), 2);
    EXPECT_FALSE(backend.value(kMachine, kEmulationKey, true, emulationValueName()));
}

TEST_F(RegistryFixture, WithoutRightsNothingChangesAndNothingFails) {
    Registry registry = registryOn(QStringLiteral("64"));
    registry.SetBrowserEmulation(QStringLiteral("IE10"), true);
    EXPECT_TRUE(changes().isEmpty());
}

TEST(LinuxRegistry, HasNoKeys) {
    LinuxRegistryBackend backend;
    Registry registry(backend, [] { return QStringLiteral("64"); });
    EXPECT_EQ(registry.RegReadString(kVersionPath, QStringLiteral("ProductName"), QString()),
              "Error");
    EXPECT_EQ(registry.RegReadNumber(kVersionPath, QStringLiteral("UBR"), QStringLiteral("64")),
              "Error");
    EXPECT_FALSE(registry.RegWriteNumber(kVersionPath, QStringLiteral("UBR"), 1, QString()));
    EXPECT_FALSE(registry.RegDeleteValue(kVersionPath, QStringLiteral("UBR"), QString()));
    registry.SetBrowserEmulation(QStringLiteral("IE10"), true);
}
