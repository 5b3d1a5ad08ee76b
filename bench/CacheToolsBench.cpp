// The file tools on the event loop of the desktop program: the cache viewer lists and
// deletes a cache of 10,000 files (by its folders, and by its index), and the copy/move
// tool copies 1,000 files. Each is compared with the shell doing the same to the same
// files in the same run (`find -delete`, `cp -p`); the ratios are printed.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "platform/cache/UrlCache.h"
#include "platform/runtime/QtRuntime.h"
#include "program/Startup.h"
#include "support/TestApp.h"
#include "tools/Form_Copy_Move.h"
#include "tools/fIEcache.h"

namespace {

constexpr int kCacheFiles = 10'000;
constexpr int kCopyFiles = 1'000;
constexpr int kRounds = 3;
const QByteArray kContent(4096, 'd');

// The program's windows on the real event loop, with the user's folders in `root`.
struct Program {
    explicit Program(const QString& root) {
        services.paths = AppPaths::under(root);
        Startup::registerWindows(services);
    }

    TestApp fakes;
    QtRuntime runtime;
    Forms forms{runtime, fakes.dialogs};
    AppServices services{runtime,      fakes.dialogs,  forms,           fakes.settings,
                         fakes.config, fakes.shell,    fakes.clipboard, fakes.screen,
                         fakes.sound,  fakes.browsers, fakes.requests,  {},
                         QString(),    QString()};
};

void writeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(kContent) != kContent.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

// The files spread over 100 subfolders, as a browser cache keeps them.
QStringList makeFiles(const QString& folder, int count, bool spread) {
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const QString sub =
            spread ? QStringLiteral("%1/%2/").arg(folder).arg(i % 100) : folder + QLatin1Char('/');
        QDir().mkpath(sub);
        files.append(sub + QStringLiteral("file%1.pdf").arg(i));
        writeFile(files.constLast());
    }
    return files;
}

double seconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

double shell(const QString& program, const QStringList& arguments) {
    return seconds([&] {
        if (QProcess::execute(program, arguments) != 0) {
            std::fprintf(stderr, "%s failed\n", qPrintable(program));
        }
    });
}

void report(const char* what, double ours, const char* baseline, double theirs) {
    std::printf("%s: %.3f s; %s: %.3f s; ratio %.2f\n", what, ours, baseline, theirs,
                ours / theirs);
}

// A listing and "全部删除" of a cache that `fill` makes, against find -delete of the
// same files (and folders) made again.
void compareWithFind(const char* what, Button* fIEcache::*listing,
                     const std::function<void(UrlCache&)>& fill) {
    double ours = 1e9;
    double find = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        QTemporaryDir root;
        Program program(root.path());
        UrlCache cache(program.services.paths.cacheFolder);
        fill(cache);
        auto* viewer = program.forms.load<fIEcache>(fIEcache::kName);
        ours = std::min(ours, seconds([&] {
                            (viewer->*listing)->click();
                            viewer->Command3->click();
                        }));
        if (!QDir(cache.folder()).isEmpty()) {
            std::fprintf(stderr, "the viewer left files in the cache\n");
        }
        fill(cache);
        find = std::min(
            find, shell(QStringLiteral("find"), {cache.folder(), QStringLiteral("-mindepth"),
                                                 QStringLiteral("1"), QStringLiteral("-delete")}));
    }
    report(what, ours, "find -delete", find);
}

void spreadFiles(UrlCache& cache) {
    makeFiles(cache.folder() + QStringLiteral("docs"), kCacheFiles, true);
}

void indexedFiles(UrlCache& cache) {
    for (int i = 0; i < kCacheFiles; ++i) {
        const QString address = QStringLiteral("https://h.example/doc%1.pdf").arg(i);
        const QString path = cache.newFilePath(address);
        writeFile(path);
        cache.add(address, path);
    }
}

// Copying 1,000 files of 4 KB into an empty folder against cp -p of the same files.
void copyFiles() {
    double ours = 1e9;
    double cp = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        QTemporaryDir root;
        Program program(root.path());
        const QStringList files =
            makeFiles(root.filePath(QStringLiteral("source")), kCopyFiles, false);
        const QString ourFolder = root.filePath(QStringLiteral("ours/"));
        const QString theirFolder = root.filePath(QStringLiteral("theirs/"));
        QDir().mkpath(theirFolder);
        auto* tool = program.forms.load<Form_Copy_Move>(Form_Copy_Move::kName);
        tool->Files = files;
        tool->Combo1->setText(ourFolder);
        program.fakes.dialogs.expectMessage(QStringLiteral("复制文件完成！"));
        ours = std::min(ours, seconds([&] { tool->Command1->click(); }));
        if (QDir(ourFolder).entryList(QDir::Files).size() != kCopyFiles) {
            std::fprintf(stderr, "the tool did not copy every file\n");
        }
        cp = std::min(
            cp,
            shell(QStringLiteral("cp"),
                  QStringList{QStringLiteral("-p"), QStringLiteral("-t"), theirFolder} + files));
    }
    report("copying 1000 files of 4 KB", ours, "cp -p", cp);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    compareWithFind("cache of 10000 files in 100 folders, folder listing and delete all",
                    &fIEcache::Command7, spreadFiles);
    compareWithFind("cache of 10000 indexed files, index listing and delete all",
                    &fIEcache::Command1, indexedFiles);
    copyFiles();
    return 0;
}
