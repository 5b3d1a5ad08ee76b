#pragma once

#include <QString>
#include <QtGlobal>

class Dialogs;

// Facts about the machine and the program, in the program's own text formats.

// "64" on a 64-bit machine (also for a 32-bit build running there), else "32".
QString GetOsBitness();
// The same for a machine name as the kernel reports it ("x86_64", "aarch64", "i686").
QString OsBitnessOfMachine(const QString& machine);

// "<name> 版本:<release> (内部版本:<build>)" of the running system, for example
// "Debian GNU/Linux 版本:12 (内部版本:6.1.0-18-amd64)".
QString GetOsDescription();
// The same from the text of an os-release file and the kernel's name and release: the
// name is NAME, the release VERSION_ID (else VERSION, else BUILD_ID, else the kernel's
// release), the build the kernel's release.
QString OsDescriptionFrom(const QString& osRelease, const QString& kernelName,
                          const QString& kernelRelease);

// The product version of a file as four numbers joined by "."; only the program's own
// executable carries one. Any other file gives the empty text after the message
// "No Version Info available!".
QString ReadProductVersion(const QString& path, Dialogs& dialogs);
// A version record's two 32-bit parts as four unsigned 16-bit numbers ("10.0.19041.1").
QString ProductVersionText(quint32 mostSignificant, quint32 leastSignificant);

// The folder of the system's shared libraries, without a trailing "/".
QString GetSystemFolder();

// The program's executable name without extension.
QString ExecutableName();

// What a Windows version interface reports about the system.
struct OsVersionRecord {
    // Product version of the system's kernel library, empty when it has none.
    QString kernelLibraryVersion;
    quint32 platformId = 0;
    quint32 majorVersion = 0;
    quint32 minorVersion = 0;
    quint32 buildNumber = 0;
    quint32 servicePackMajor = 0;
    quint32 servicePackMinor = 0;
    quint32 suiteMask = 0;
    // 1 workstation, 2 domain controller, 3 server; also the key of the edition text.
    quint32 productType = 0;
};
// The name of a Windows version, as "Windows 10.0.19041.1" from the kernel library's
// version, or from the version table ("Windows 7 Ultimate Edition Service Pack 1
// [Version: 6.1.7601]").
QString GetOsNameFromVersion(const OsVersionRecord& record);
