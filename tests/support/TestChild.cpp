// The child process of tests that need one. Modes:
//   write-settings FILE FIRST   writes TestChild::settingsPayload(FIRST, FIRST + 1, …) into
//                         the INI store at FILE, printing each step once it is written
//                         (100000 steps at most)
//   config-file           writes "设置/下载方式" = "1" through the store at the user's
//                         configuration path and prints that path
//   list-as-nobody DIR    drops to the user nobody when run as root, then prints
//                         ListFiles and ListSubfolders of DIR (recursive), one per line
#include <unistd.h>

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "app/AppPaths.h"
#include "platform/settings/IniSettingsStore.h"
#include "support/TestChild.h"
#include "sys/FileSystem.h"

namespace {

void print(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

int writeSettings(const QString& file, int first) {
    IniSettingsStore store(file);
    for (int step = first; step < first + 100000; ++step) {
        store.SettingsWrite(QStringLiteral("设置"), QStringLiteral("k%1").arg(step % 10),
                            TestChild::settingsPayload(step));
        print(QString::number(step));
    }
    return 0;
}

int configFile() {
    const AppPaths paths = AppPaths::forCurrentUser();
    IniSettingsStore store(paths.configFile);
    store.SettingsWrite(QStringLiteral("设置"), QStringLiteral("下载方式"), QStringLiteral("1"));
    print(paths.configFile);
    return 0;
}

int listAsNobody(const QString& folder) {
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
        return 3;
    }
    QStringList files{QString()};
    QString start = folder;
    ListFiles(start, files, true);
    QStringList folders{QString()};
    start = folder;
    ListSubfolders(start, folders, true);
    for (const QString& line : files) {
        print(QStringLiteral("file ") + line);
    }
    for (const QString& line : folders) {
        print(QStringLiteral("folder ") + line);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString mode = args.value(1);
    if (mode == QStringLiteral("write-settings") && args.size() == 4) {
        return writeSettings(args[2], args[3].toInt());
    }
    if (mode == QStringLiteral("config-file")) {
        return configFile();
    }
    if (mode == QStringLiteral("list-as-nobody") && args.size() == 3) {
        return listAsNobody(args[2]);
    }
    std::fprintf(stderr,
                 "usage: orvellin_test_child write-settings FILE FIRST | config-file | "
                 "list-as-nobody DIR\n");
    return 2;
}
