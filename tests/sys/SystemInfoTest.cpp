#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>

#include "Version.h"
#include "support/ScriptedDialogs.h"
#include "sys/SystemInfo.h"

TEST(SystemInfo, BitnessIsThatOfTheMachine) {
    for (const char* machine : {"x86_64", "aarch64", "ppc64le", "s390x", "riscv64"}) {
        EXPECT_EQ(OsBitnessOfMachine(QString::fromLatin1(machine)), "64") << machine;
    }
    for (const char* machine : {"i686", "i386", "armv7l", ""}) {
        EXPECT_EQ(OsBitnessOfMachine(QString::fromLatin1(machine)), "32") << machine;
    }
    if (sizeof(void*) == 8) {
        EXPECT_EQ(GetOsBitness(), "64");  // a 64-bit build runs only on a 64-bit kernel
    }
}

TEST(SystemInfo, DescriptionComesFromOsReleaseAndTheKernel) {
    const QString debian = QStringLiteral(
        "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
        "NAME=\"Debian GNU/Linux\"\n"
        "VERSION_ID=\"12\"\n"
        "VERSION=\"12 (bookworm)\"\n"
        "ID=debian\n");
    EXPECT_EQ(OsDescriptionFrom(debian, QStringLiteral("Linux"), QStringLiteral("6.1.0-18-amd64")),
              "Debian GNU/Linux 版本:12 (内部版本:6.1.0-18-amd64)");

    // Quotes and escapes, comments, and the fallbacks for missing fields.
    EXPECT_EQ(OsDescriptionFrom(QStringLiteral("# comment\nNAME='Arch Linux'\nBUILD_ID=rolling\n"),
                                QStringLiteral("Linux"), QStringLiteral("6.6.1")),
              "Arch Linux 版本:rolling (内部版本:6.6.1)");
    EXPECT_EQ(OsDescriptionFrom(QStringLiteral("NAME=\"My \\\"Own\\\" OS\"\nVERSION=\"1 beta\"\n"),
                                QStringLiteral("Linux"), QStringLiteral("5.10")),
              "My \"Own\" OS 版本:1 beta (内部版本:5.10)");
    EXPECT_EQ(OsDescriptionFrom(QString(), QStringLiteral("Linux"), QStringLiteral("6.1.0")),
              "Linux 版本:6.1.0 (内部版本:6.1.0)");

    const QString here = GetOsDescription();
    EXPECT_TRUE(here.contains(QStringLiteral(" 版本:"))) << here.toStdString();
    EXPECT_TRUE(here.endsWith(u')')) << here.toStdString();
}

TEST(SystemInfo, ProductVersionIsTheProgramsOwnAndUnsigned) {
    EXPECT_EQ(ProductVersionText(0x9C400001, 0x00020003), "40000.1.2.3");
    EXPECT_EQ(ProductVersionText(0xFFFFFFFF, 0), "65535.65535.0.0");

    ScriptedDialogs dialogs;
    EXPECT_EQ(ReadProductVersion(QCoreApplication::applicationFilePath(), dialogs),
              QStringLiteral("%1.%2.%3.0")
                  .arg(Version::kMajor)
                  .arg(Version::kMinor)
                  .arg(Version::kRevision));
    dialogs.expectMessage(QStringLiteral("No Version Info available!"), MessageIcon::None);
    EXPECT_EQ(ReadProductVersion(QStringLiteral("/etc/hostname"), dialogs), "");
}

TEST(SystemInfo, SystemFolderAndExecutableName) {
    EXPECT_FALSE(GetSystemFolder().endsWith(u'/'));
    EXPECT_TRUE(QFileInfo(GetSystemFolder()).isDir());
    EXPECT_EQ(ExecutableName(), "test_sysinfo");
}

TEST(WindowsVersionName, TheKernelLibraryVersionDecidesFirst) {
    OsVersionRecord record;
    record.kernelLibraryVersion = QStringLiteral("6.3.9600.17415");
    EXPECT_EQ(GetOsNameFromVersion(record), "Windows 8.1 [6.3.9600.17415]");
    record.kernelLibraryVersion = QStringLiteral("10.0.19041.1");
    EXPECT_EQ(GetOsNameFromVersion(record), "Windows 10.0.19041.1");

    // Too few parts, or 6.2 and older, go on to the version table.
    record = OsVersionRecord{QStringLiteral("10.0.19041"), 2, 6, 2, 9200, 0, 0, 0, 1};
    EXPECT_EQ(GetOsNameFromVersion(record), "Windows 8 Ultimate Edition [Version: 6.2.9200]");
    record.kernelLibraryVersion = QStringLiteral("6.2.9200.16384");
    EXPECT_EQ(GetOsNameFromVersion(record), "Windows 8 Ultimate Edition [Version: 6.2.9200]");
}

TEST(WindowsVersionName, TheVersionTableWithEditionsAndServicePacks) {
    struct Case {
        OsVersionRecord record;
        const char* name;
    };
    const QList<Case> cases{
        {{{}, 2, 6, 1, 7601, 1, 0, 0, 1},
         "Windows 7 Ultimate Edition Service Pack 1 [Version: 6.1.7601]"},
        {{{}, 2, 6, 1, 7600, 0, 0, 0, 3},
         "Windows Server 2008 R2Home Premium Edition [Version: 6.1.7600]"},
        {{{}, 2, 6, 0, 6002, 2, 1, 0, 2},
         "Windows Vista Home Basic Edition Service Pack 2.1 [Version: 6.0.6002]"},
        {{{}, 2, 6, 5, 1, 0, 0, 0, 1}, "未知系统 Ultimate Edition [Version: 6.5.1]"},
        {{{}, 2, 5, 1, 2600, 3, 0, 512, 1}, "Windows XP Home Service Pack 3 [Version: 5.1.2600]"},
        {{{}, 2, 5, 1, 2600, 0, 0, 768, 1}, "Windows XP [Version: 5.1.2600]"},
        {{{}, 2, 5, 2, 3790, 0, 0, 274, 3},
         "Windows Server 2003 R2 Enterprise [Version: 5.2.3790]"},
        {{{}, 2, 5, 0, 2195, 4, 0, 128, 3},
         "Windows 2000 Data center Service Pack 4 [Version: 5.0.2195]"},
        {{{}, 2, 4, 0, 1381, 6, 0, 0, 1}, "Windows NT 4.0 [Version: 4.0.1381]"},
        {{{}, 1, 4, 10, 2222, 0, 0, 0, 0}, "Windows 98 [Version: 4.10.2222]"},
        {{{}, 1, 4, 5, 1, 0, 0, 0, 0}, " [Version: 4.5.1]"},
        {{{}, 0, 5, 0, 0, 0, 0, 0, 0}, "DOS [Version: 5.0.0]"},
        {{{}, 3, 10, 0, 1, 0, 0, 0, 0}, "Unknown System Version! [Version: 10.0.1]"},
        {{{}, 2, 6, 4, 40000, 0, 0, 0, 0}, "Windows 10 An unknown product [Version: 6.4.40000]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetOsNameFromVersion(c.record), QString::fromUtf8(c.name));
    }
}
