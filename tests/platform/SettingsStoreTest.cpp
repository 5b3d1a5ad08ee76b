#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include "platform/settings/IniSettingsStore.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestChild.h"

namespace {

const QString kSection = QStringLiteral("设置");

// Texts the program stores: folder paths with both separators, the multi-line keyword
// box, proxy fields with blanks around them, and signs that INI files treat specially.
const QStringList kAwkwardValues{
    QStringLiteral("c:\\12345\\"),
    QStringLiteral("/home/用户/下载/"),
    QStringLiteral("机器 学习\r\n深度learning\r\n\r\n"),
    QStringLiteral("  127.0.0.1  "),
    QStringLiteral("a,b;c=d#e\"f'g"),
    QStringLiteral("@Variant(\\0\\0\\0\\x7f)"),
    QStringLiteral("true"),
    QStringLiteral("0x10"),
    QStringLiteral(""),
    QStringLiteral("[section]\nkey=value"),
    QStringLiteral("📄 报告"),
};

}  // namespace

TEST(SettingsStore, GivesTheDefaultUntilAKeyIsWrittenAndTheLastValueAfter) {
    QTemporaryDir dir;
    MemorySettingsStore memory;
    IniSettingsStore ini(dir.filePath(QStringLiteral("Orvellin.ini")));
    for (SettingsStore* store :
         {static_cast<SettingsStore*>(&memory), static_cast<SettingsStore*>(&ini)}) {
        EXPECT_EQ(store->SettingsRead(kSection, QStringLiteral("下载方式"), QStringLiteral("2")),
                  QStringLiteral("2"));
        store->SettingsWrite(kSection, QStringLiteral("下载方式"), QStringLiteral("1"));
        store->SettingsWrite(kSection, QStringLiteral("下载方式"), QStringLiteral("2 "));
        EXPECT_EQ(store->SettingsRead(kSection, QStringLiteral("下载方式"), QStringLiteral("x")),
                  QStringLiteral("2 "));
        // An empty text is a value like any other, not a missing key.
        store->SettingsWrite(kSection, QStringLiteral("代理服务器网址"), QString());
        EXPECT_EQ(store->SettingsRead(kSection, QStringLiteral("代理服务器网址"),
                                      QStringLiteral("default")),
                  QString());
        // Sections keep their keys apart.
        EXPECT_EQ(store->SettingsRead(QStringLiteral("下载"), QStringLiteral("下载方式"),
                                      QStringLiteral("none")),
                  QStringLiteral("none"));
    }
}

TEST(SettingsStore, IniFileKeepsEveryTextExactlyAcrossRuns) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Orvellin/Orvellin.ini"));
    {
        IniSettingsStore store(file);
        for (int i = 0; i < kAwkwardValues.size(); ++i) {
            store.SettingsWrite(kSection, QStringLiteral("键%1").arg(i), kAwkwardValues[i]);
        }
        store.SettingsWrite(QStringLiteral("fFileDownload"), QStringLiteral("分辨率"),
                            QStringLiteral("1920*1080"));
    }
    // Written at once, without waiting for the store to be destroyed.
    ASSERT_TRUE(QFile::exists(file));
    IniSettingsStore reopened(file);
    for (int i = 0; i < kAwkwardValues.size(); ++i) {
        EXPECT_EQ(
            reopened.SettingsRead(kSection, QStringLiteral("键%1").arg(i), QStringLiteral("?")),
            kAwkwardValues[i])
            << i;
    }
    EXPECT_EQ(
        reopened.SettingsRead(QStringLiteral("fFileDownload"), QStringLiteral("分辨率"), QString()),
        QStringLiteral("1920*1080"));
}

TEST(SettingsStore, EveryWriteReachesTheFileBeforeTheNextRead) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Orvellin.ini"));
    IniSettingsStore writer(file);
    writer.SettingsWrite(kSection, QStringLiteral("文件最大值"), QStringLiteral("10"));
    // Another process (here: another store on the same file) sees the value at once.
    QSettings other(file, QSettings::IniFormat);
    EXPECT_EQ(other.value(kSection + QStringLiteral("/文件最大值")).toString(),
              QStringLiteral("10"));
}

TEST(SettingsStore, UnwritableFileFailsSilentlyAndKeepsTheRun) {
    QTemporaryDir dir;
    // The store's path is a folder: nothing can be written there.
    IniSettingsStore store(dir.path());
    store.SettingsWrite(kSection, QStringLiteral("下载方式"), QStringLiteral("1"));
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}

namespace {

// Checks that the file holds one complete state of the writer: for its latest step,
// every key holds exactly the payload of the last step that wrote it. Gives that step.
int checkWholeState(const QString& file) {
    if (!QFile::exists(file)) {
        return 0;  // killed before the first write
    }
    QSettings settings(file, QSettings::IniFormat);
    EXPECT_EQ(settings.status(), QSettings::NoError);
    settings.beginGroup(QStringLiteral("设置"));
    int latest = 0;
    for (int key = 0; key < 10; ++key) {
        const QString value = settings.value(QStringLiteral("k%1").arg(key)).toString();
        latest = std::max(latest, value.section(QLatin1Char(':'), 0, 0).toInt());
    }
    EXPECT_GT(latest, 0) << "a settings file without any value";
    for (int key = 0; key < 10; ++key) {
        int step = latest;
        while (step > 0 && step % 10 != key) {
            --step;
        }
        const QVariant value = settings.value(QStringLiteral("k%1").arg(key));
        if (step == 0) {
            EXPECT_FALSE(value.isValid()) << "key " << key << " at step " << latest;
        } else {
            EXPECT_EQ(value.toString(), TestChild::settingsPayload(step))
                << "key " << key << " at step " << latest;
        }
    }
    return latest;
}

}  // namespace

TEST(SettingsStore, AWriterKilledInTheMiddleOfWritesLeavesAWholeFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Orvellin.ini"));
    int latest = 0;
    for (int round = 0; round < 12; ++round) {
        // Each writer goes on from the step the file holds, so that every state of the
        // file is one whole state of a single sequence of writes.
        QProcess child;
        child.start(TestChild::program(),
                    {QStringLiteral("write-settings"), file, QString::number(latest + 1)});
        ASSERT_TRUE(child.waitForStarted());
        // Kill after a varying number of completed writes; the child keeps writing
        // meanwhile, so the kill lands somewhere inside a write or between two.
        const int writesBeforeKill = 1 + round * 7;
        int done = 0;
        while (done < writesBeforeKill && child.waitForReadyRead(10000)) {
            while (child.canReadLine()) {
                done = child.readLine().trimmed().toInt();
            }
        }
        child.kill();
        child.waitForFinished();
        const int previous = latest;
        latest = checkWholeState(file);
        EXPECT_GE(latest, std::max(previous, done)) << "round " << round;
    }
    // The store stays usable after writers died holding its lock.
    IniSettingsStore store(file);
    store.SettingsWrite(kSection, QStringLiteral("after"), QStringLiteral("yes"));
    EXPECT_EQ(IniSettingsStore(file).SettingsRead(kSection, QStringLiteral("after"), QString()),
              QStringLiteral("yes"));
}
