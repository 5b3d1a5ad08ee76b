#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTemporaryDir>

#include "app/AppPaths.h"
#include "app/Config.h"
#include "app/ConfigReaders.h"
#include "app/SettingsKeys.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestChild.h"

using namespace ConfigReaders;

TEST(ConfigReaders, WholeNumbersAcceptDecimalTextOnly) {
    EXPECT_EQ(wholeNumber(QStringLiteral("2")), 2);
    EXPECT_EQ(wholeNumber(QStringLiteral(" 7 ")), 7);
    EXPECT_EQ(wholeNumber(QStringLiteral("0")), 0);
    EXPECT_EQ(wholeNumber(QStringLiteral("-3")), -3);
    EXPECT_EQ(wholeNumber(QStringLiteral("2147483647")), 2147483647);
    for (const char* text : {"", " ", "abc", "2.5", "1e3", "0x10", "3 4", "2147483648", "二"}) {
        EXPECT_EQ(wholeNumber(QString::fromUtf8(text)), std::nullopt) << text;
    }
}

TEST(ConfigReaders, LargestFileSizeRoundsHalfToEven) {
    EXPECT_EQ(roundedDecimal(QStringLiteral("7.5")), 8);
    EXPECT_EQ(roundedDecimal(QStringLiteral("6.5")), 6);
    EXPECT_EQ(roundedDecimal(QStringLiteral("2.5")), 2);
    EXPECT_EQ(roundedDecimal(QStringLiteral("0.5")), 0);
    EXPECT_EQ(roundedDecimal(QStringLiteral("-2.5")), -2);
    EXPECT_EQ(roundedDecimal(QStringLiteral("2.5000001")), 3);
    EXPECT_EQ(roundedDecimal(QStringLiteral(" 10 ")), 10);
    EXPECT_EQ(roundedDecimal(QStringLiteral("1e2")), 100);
    // The decimal sign is always ".", whatever the user's locale.
    EXPECT_EQ(roundedDecimal(QStringLiteral("7,5")), std::nullopt);
    for (const char* text : {"", "abc", "nan", "inf", "-inf", "3000000000", "10MB"}) {
        EXPECT_EQ(roundedDecimal(QString::fromUtf8(text)), std::nullopt) << text;
    }
}

TEST(ConfigReaders, FirstStartGivesEveryDefault) {
    const MemorySettingsStore empty;
    const QList<QPair<Settings::Key, QString>> defaults{
        {Settings::kMaxFileSize, QStringLiteral("10")},
        {Settings::kDownloadMethod, QStringLiteral("2")},
        {Settings::kProxyHost, QString()},
        {Settings::kProxyPort, QString()},
        {Settings::kProxyEnabled, QStringLiteral("0")},
        {Settings::kAskPathAtExtraction, QStringLiteral("1")},
        {Settings::kDuplicatePolicy, QStringLiteral("重命名")},
        {Settings::kSlotChoice, QStringLiteral("2")},
        {Settings::kSearchKeywords, QString()},
        {Settings::kSearchDelay, QStringLiteral("0")},
        {Settings::kSearchTimeout, QStringLiteral("0")},
        {Settings::kCopyMoveOption, QStringLiteral("4")},
    };
    for (const auto& [key, value] : defaults) {
        EXPECT_EQ(read(empty, key), value)
            << key.section.toStdString() << "/" << key.key.toStdString();
    }
    // The stored names are fixed: an old settings file must still be understood.
    const QList<QPair<Settings::Key, QString>> names{
        {Settings::kSaveFolder, QStringLiteral("设置/下载文件保存路径")},
        {Settings::kMaxFileSize, QStringLiteral("设置/文件最大值")},
        {Settings::kDownloadMethod, QStringLiteral("设置/下载方式")},
        {Settings::kProxyHost, QStringLiteral("设置/代理服务器网址")},
        {Settings::kProxyPort, QStringLiteral("设置/代理服务器端口")},
        {Settings::kProxyEnabled, QStringLiteral("设置/代理服务器有效")},
        {Settings::kAskPathAtExtraction, QStringLiteral("设置/提取网页信息时提示下载保存路径")},
        {Settings::kDuplicatePolicy, QStringLiteral("专利下载/重复文件名设置")},
        {Settings::kSlotChoice, QStringLiteral("下载/线程")},
        {Settings::kSearchKeywords, QStringLiteral("fWebSearch/Text1")},
        {Settings::kSearchDelay, QStringLiteral("fWebSearch/Combo1")},
        {Settings::kSearchTimeout, QStringLiteral("fWebSearch/Combo2")},
        {Settings::kCopyMoveFolder, QStringLiteral("Form_Copy_Move/目的文件夹")},
        {Settings::kCopyMoveOption, QStringLiteral("Form_Copy_Move/OpIndex")},
    };
    for (const auto& [key, name] : names) {
        EXPECT_EQ(key.section + QLatin1Char('/') + key.key, name);
    }

    Config config;
    loadDownloadValues(empty, config);
    loadAskPathAtExtraction(empty, config);
    EXPECT_EQ(config.downloadMethod, 2);
    EXPECT_EQ(config.slotChoiceIndex, 2);
    EXPECT_EQ(config.duplicatePolicy, QStringLiteral("重命名"));
    EXPECT_EQ(config.proxyHost, QString());
    EXPECT_EQ(config.proxyPort, QString());
    EXPECT_EQ(config.proxyEnabled, 0);
    EXPECT_EQ(config.maxFileSizeMB, 10);
    EXPECT_EQ(config.AskPathAtExtraction, 1);
    EXPECT_TRUE(config.downloadValuesLoaded);
    EXPECT_TRUE(config.askPathLoaded);
    EXPECT_EQ(AppPaths::under(QStringLiteral("/r")).defaultSaveFolder(),
              QStringLiteral("/r/home/12345/"));
}

TEST(ConfigReaders, TextThatIsNotANumberKeepsTheValueHeld) {
    MemorySettingsStore store;
    Config config;
    store.SettingsWrite(Settings::kSectionSettings, QStringLiteral("文件最大值"),
                        QStringLiteral("很大"));
    store.SettingsWrite(Settings::kSectionSettings, QStringLiteral("下载方式"),
                        QStringLiteral("x"));
    store.SettingsWrite(Settings::kSectionSettings, QStringLiteral("代理服务器有效"),
                        QStringLiteral("70000"));  // beyond the 16-bit value
    store.SettingsWrite(Settings::kSectionDownload, QStringLiteral("线程"), QStringLiteral(""));
    // Nothing loaded yet in the run: the values stay 0.
    loadDownloadValues(store, config);
    EXPECT_EQ(config.maxFileSizeMB, 0);
    EXPECT_EQ(config.downloadMethod, 0);
    EXPECT_EQ(config.proxyEnabled, 0);
    EXPECT_EQ(config.slotChoiceIndex, 0);
    // Loaded before: the earlier values stay.
    config.maxFileSizeMB = 25;
    config.downloadMethod = 2;
    config.slotChoiceIndex = 4;
    loadDownloadValues(store, config);
    EXPECT_EQ(config.maxFileSizeMB, 25);
    EXPECT_EQ(config.downloadMethod, 2);
    EXPECT_EQ(config.slotChoiceIndex, 4);

    store.SettingsWrite(Settings::kSectionSettings, QStringLiteral("文件最大值"),
                        QStringLiteral("7.5"));
    loadMaxFileSize(store, config);
    EXPECT_EQ(config.maxFileSizeMB, 8);
}

TEST(ConfigReaders, SlotChoiceIsReadOnlyWhenTheMethodIsNotTheSingleConnection) {
    MemorySettingsStore store;
    store.SettingsWrite(Settings::kSectionDownload, QStringLiteral("线程"), QStringLiteral("0"));
    store.SettingsWrite(Settings::kSectionSettings, QStringLiteral("下载方式"),
                        QStringLiteral("2"));
    Config config;
    loadDownloadValues(store, config);
    EXPECT_EQ(config.slotChoiceIndex, 0);  // one slot

    store.SettingsWrite(Settings::kSectionDownload, QStringLiteral("线程"), QStringLiteral("5"));
    store.SettingsWrite(Settings::kSectionSettings, QStringLiteral("下载方式"),
                        QStringLiteral("1"));
    loadDownloadValues(store, config);
    EXPECT_EQ(config.downloadMethod, 1);
    EXPECT_EQ(config.slotChoiceIndex, 0);
}

namespace {

// Runs the test child's "config-file" mode with the given environment changes and gives
// the path it printed.
QString configFileOfChild(const QList<QPair<QString, QString>>& changes) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    for (const auto& [name, value] : changes) {
        env.insert(name, value);
    }
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(TestChild::program(), {QStringLiteral("config-file")});
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        return QStringLiteral("child failed: ") + QString::fromUtf8(child.readAllStandardError());
    }
    return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
}

}  // namespace

TEST(AppPaths, SettingsLiveInTheUsersConfigurationFolderAndHonourXdgConfigHome) {
    QTemporaryDir dir;
    const QString xdg = dir.filePath(QStringLiteral("xdg"));
    const QString file = xdg + QStringLiteral("/Orvellin/Orvellin.ini");
    EXPECT_EQ(configFileOfChild({{QStringLiteral("XDG_CONFIG_HOME"), xdg}}), file);
    QSettings written(file, QSettings::IniFormat);
    EXPECT_EQ(written.value(QStringLiteral("设置/下载方式")).toString(), QStringLiteral("1"));

    // Without XDG_CONFIG_HOME: ~/.config.
    const QString home = dir.filePath(QStringLiteral("home"));
    EXPECT_EQ(configFileOfChild({{QStringLiteral("HOME"), home}}),
              home + QStringLiteral("/.config/Orvellin/Orvellin.ini"));
}
