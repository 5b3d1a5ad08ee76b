#include "sys/SystemInfo.h"

#include <sys/utsname.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include "Version.h"
#include "platform/dialogs/Dialogs.h"
#include "sys/FileSystem.h"

namespace {

struct KernelName {
    QString name;
    QString release;
    QString machine;
};

KernelName unameOfSystem() {
    struct utsname names {};
    if (uname(&names) != 0) {
        return {};
    }
    return {QString::fromLocal8Bit(names.sysname), QString::fromLocal8Bit(names.release),
            QString::fromLocal8Bit(names.machine)};
}

// One value of an os-release file: quotes removed, backslash escapes resolved.
QString unquoted(const QString& raw) {
    const QString value = raw.trimmed();
    if (value.size() < 2 || (value.front() != u'"' && value.front() != u'\'') ||
        value.back() != value.front()) {
        return value;
    }
    const QString inner = value.mid(1, value.size() - 2);
    if (value.front() == u'\'') {
        return inner;
    }
    QString result;
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == u'\\' && i + 1 < inner.size()) {
            ++i;
        }
        result += inner[i];
    }
    return result;
}

QHash<QString, QString> osReleaseFields(const QString& text) {
    QHash<QString, QString> fields;
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        const qsizetype equals = trimmed.indexOf(u'=');
        if (trimmed.startsWith(u'#') || equals <= 0) {
            continue;
        }
        fields.insert(trimmed.left(equals).trimmed(), unquoted(trimmed.mid(equals + 1)));
    }
    return fields;
}

QString firstNonEmpty(std::initializer_list<QString> texts) {
    for (const QString& text : texts) {
        if (!text.isEmpty()) {
            return text;
        }
    }
    return {};
}

// The number at the start of a text, as a version part is read ("10" of "10 ", 0 of "x").
quint64 leadingNumber(const QString& text) {
    quint64 value = 0;
    for (const QChar c : text.trimmed()) {
        if (c < u'0' || c > u'9' || value > 1'000'000'000'000ULL) {
            break;
        }
        value = value * 10 + quint64(c.unicode() - u'0');
    }
    return value;
}

QString editionText(quint32 number) {
    static const QHash<quint32, QString> editions{
        {0, QStringLiteral("An unknown product")},
        {1, QStringLiteral("Ultimate Edition")},
        {2, QStringLiteral("Home Basic Edition")},
        {3, QStringLiteral("Home Premium Edition")},
        {4, QStringLiteral("Enterprise Edition")},
        {5, QStringLiteral("Home Basic Edition (N)")},
        {6, QStringLiteral("Business Edition")},
        {7, QStringLiteral("Server Standard Edition (full installation)")},
        {8, QStringLiteral("Server Datacenter Edition (full installation)")},
        {9, QStringLiteral("Small Business Server")},
        {10, QStringLiteral("Server Enterprise Edition (full installation)")},
        {11, QStringLiteral("Starter Edition")},
        {12, QStringLiteral("Server Datacenter Edition (core installation)")},
        {13, QStringLiteral("Server Standard Edition (core installation)")},
        {14, QStringLiteral("Server Enterprise Edition (core installation)")},
        {15, QStringLiteral("Server Enterprise Edition for Itanium-based Systems")},
        {16, QStringLiteral("Business Edition (N)")},
        {17, QStringLiteral("Web Server Edition")},
        {18, QStringLiteral("Cluster Server Edition")},
        {19, QStringLiteral("Home Server Edition")},
        {20, QStringLiteral("Storage Server Express Edition")},
        {21, QStringLiteral("Storage Server Standard Edition")},
        {22, QStringLiteral("Storage Server Workgroup Edition")},
        {23, QStringLiteral("Storage Server Enterprise Edition")},
        {24, QStringLiteral("Server for Small Business Edition")},
        {25, QStringLiteral("Small Business Server Premium Edition")},
        {26, QStringLiteral("Home Premium Edition (N)")},
        {27, QStringLiteral("Enterprise Edition (N)")},
        {28, QStringLiteral("Ultimate Edition (N)")},
        {0xABCDABCD, QStringLiteral("Not activated product")},
    };
    return editions.value(number);
}

QString suiteName(quint32 suiteMask, std::initializer_list<std::pair<quint32, const char*>> names,
                  const char* otherwise) {
    for (const auto& [mask, name] : names) {
        if (suiteMask == mask) {
            return QString::fromLatin1(name);
        }
    }
    return QString::fromLatin1(otherwise);
}

QString windowsNtName(const OsVersionRecord& r) {
    const QString edition = editionText(r.productType);
    const bool server = r.productType == 3;
    switch (r.majorVersion) {
        case 3:
            return QStringLiteral("Windows NT 3.51");
        case 4:
            return QStringLiteral("Windows NT 4.0");
        case 5:
            switch (r.minorVersion) {
                case 0:
                    return suiteName(
                        r.suiteMask,
                        {{2, "Windows 2000 Advanced"}, {128, "Windows 2000 Data center"}},
                        "Windows 2000");
                case 1:
                    return suiteName(r.suiteMask,
                                     {{512, "Windows XP Home"}, {0, "Windows XP Professional"}},
                                     "Windows XP");
                case 2:
                    return suiteName(r.suiteMask,
                                     {{0, "Windows Server 2003 Standard"},
                                      {2, "Windows Server 2003 Enterprise"},
                                      {128, "Windows Server 2003 Data center"},
                                      {274, "Windows Server 2003 R2 Enterprise"},
                                      {1024, "Windows Server 2003 Web Edition"}},
                                     "Windows Server 2003");
                default:
                    return {};
            }
        case 6:
            switch (r.minorVersion) {
                case 0:
                    return (server ? QStringLiteral("Windows Server 2008 ")
                                   : QStringLiteral("Windows Vista ")) +
                           edition;
                case 1:
                    return (server ? QStringLiteral("Windows Server 2008 R2")
                                   : QStringLiteral("Windows 7 ")) +
                           edition;
                case 2:
                    return (server ? QStringLiteral("Windows Server 2012 ")
                                   : QStringLiteral("Windows 8 ")) +
                           edition;
                case 3:
                    return QStringLiteral("Windows 8.1 ") + edition;
                case 4:
                    return QStringLiteral("Windows 10 ") + edition;
                default:
                    return QStringLiteral("未知系统 ") + edition;
            }
        default:
            return {};
    }
}

QString versionTableName(const OsVersionRecord& r) {
    switch (r.platformId) {
        case 0:
            return QStringLiteral("DOS");
        case 1:
            switch (r.minorVersion) {
                case 0:
                    return QStringLiteral("Windows 95");
                case 10:
                    return QStringLiteral("Windows 98");
                case 90:
                    return QStringLiteral("Windows Millennium Edition");
                default:
                    return {};
            }
        case 2:
            return windowsNtName(r);
        default:
            return QStringLiteral("Unknown System Version!");
    }
}

}  // namespace

QString OsBitnessOfMachine(const QString& machine) {
    const QString m = machine.trimmed().toLower();
    return m.contains(QLatin1String("64")) || m == QLatin1String("s390x") ? QStringLiteral("64")
                                                                          : QStringLiteral("32");
}

QString GetOsBitness() {
    // The kernel's machine, not the build's: a 32-bit build on a 64-bit kernel sees x86_64.
    return OsBitnessOfMachine(unameOfSystem().machine);
}

QString OsDescriptionFrom(const QString& osRelease, const QString& kernelName,
                          const QString& kernelRelease) {
    const QHash<QString, QString> fields = osReleaseFields(osRelease);
    const QString name =
        firstNonEmpty({fields.value(QStringLiteral("NAME")), kernelName, QStringLiteral("Linux")});
    const QString release = firstNonEmpty(
        {fields.value(QStringLiteral("VERSION_ID")), fields.value(QStringLiteral("VERSION")),
         fields.value(QStringLiteral("BUILD_ID")), kernelRelease});
    return name + QStringLiteral(" 版本:") + release + QStringLiteral(" (内部版本:") +
           kernelRelease + QStringLiteral(")");
}

QString GetOsDescription() {
    QString osRelease;
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly)) {
            osRelease = QString::fromUtf8(file.read(64 * 1024));
            break;
        }
    }
    const KernelName kernel = unameOfSystem();
    return OsDescriptionFrom(osRelease, kernel.name, kernel.release);
}

QString ProductVersionText(quint32 mostSignificant, quint32 leastSignificant) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(mostSignificant >> 16)
        .arg(mostSignificant & 0xFFFF)
        .arg(leastSignificant >> 16)
        .arg(leastSignificant & 0xFFFF);
}

QString ReadProductVersion(const QString& path, Dialogs& dialogs) {
    const QString own = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QString file = QFileInfo(LocalFilePath(path)).canonicalFilePath();
    if (!own.isEmpty() && file == own) {
        return ProductVersionText(quint32(Version::kMajor) << 16 | quint32(Version::kMinor),
                                  quint32(Version::kRevision) << 16);
    }
    dialogs.message(QStringLiteral("No Version Info available!"), MessageIcon::None);
    return {};
}

QString GetSystemFolder() {
    return QStringLiteral("/usr/lib");
}

QString ExecutableName() {
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return name.isEmpty() ? QStringLiteral("orvellin") : name;
}

QString GetOsNameFromVersion(const OsVersionRecord& record) {
    const QString version = record.kernelLibraryVersion.trimmed();
    const QStringList parts = version.split(u'.');
    if (!version.isEmpty() && parts.size() >= 4) {
        const quint64 first = leadingNumber(parts[0]);
        if (first > 6) {
            return QStringLiteral("Windows ") + version;
        }
        if (first == 6 && leadingNumber(parts[1]) >= 3) {
            return QStringLiteral("Windows 8.1 [") + version + QStringLiteral("]");
        }
    }
    QString name = versionTableName(record);
    if ((record.majorVersion == 5 || record.majorVersion == 6) && record.servicePackMajor > 0) {
        name += QStringLiteral(" Service Pack ") + QString::number(record.servicePackMajor);
        if (record.servicePackMinor > 0) {
            name += u'.' + QString::number(record.servicePackMinor);
        }
    }
    return name + QStringLiteral(" [Version: %1.%2.%3]")
                      .arg(record.majorVersion)
                      .arg(record.minorVersion)
                      .arg(record.buildNumber);
}
