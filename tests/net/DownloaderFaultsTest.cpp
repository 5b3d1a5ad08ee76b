// The downloader component on real sockets against the fault server: for every way a
// transfer goes wrong, the event it ends with and what the target holds afterwards.
// The tests wait for events, bounded, and never assert how long they took.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "net/Downloader.h"
#include "net/RequestFactory.h"
#include "platform/runtime/QtRuntime.h"
#include "support/FaultFileServer.h"
#include "support/WaitFor.h"

namespace {

const QByteArray kPlaceholder("\x01\x00", 2);
constexpr qint64 kHostLimit = 10 * 1024 * 1024;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST(DownloaderFaults, EveryCaseEndsInOneEventWithAWholeBodyOrTheTargetAsItWas) {
    const FaultFileServer server;  // after its clients: it waits for their connections
    QtRuntime runtime;
    RequestFactory requests;
    const QByteArray& document = FaultFileServer::document();
    const QByteArray failed = "error 无法下载";
    struct Case {
        QString path;
        QByteArray event;  // "complete" when its counts agree with each other
        QByteArray target;
        QByteArray before = kPlaceholder;
    };
    const Case cases[] = {
        {"/known.pdf", "complete", document},
        {"/chunked.pdf", "complete", document},
        {"/empty.pdf", failed, kPlaceholder},
        // The host cuts a transfer off at the first progress that announces too much.
        {"/huge.pdf", "progress to 31457280", kPlaceholder},
        {"/reset.pdf", failed, kPlaceholder},
        {"/short.pdf", failed, kPlaceholder},
        {"/redirect/301/3", "complete", document},
        {"/redirect/302/3", "complete", document},
        {"/redirect/303/3", "complete", document},
        {"/redirect/307/3", "complete", document},
        {"/redirect/308/3", "complete", document},
        {"/loop", failed, kPlaceholder},
        {"/to-file", failed, kPlaceholder},
        {"/to-ftp", failed, kPlaceholder},
        {"/404.pdf", failed, kPlaceholder},
        {"/500.pdf", failed, kPlaceholder},
        {"/login.pdf", "complete", FaultFileServer::loginPage()},
        {"/gzip.pdf", "complete", document},
        {"/trickle.pdf", "complete", QByteArray(FaultFileServer::kTrickleLength, 'x')},
        {"/文档/报告.pdf", "complete", document},
        {"/big-headers.pdf", "complete", document},
        // A file the user chose to overwrite outlives a transfer that fails.
        {"/500.pdf", failed, "the user's own file", "the user's own file"},
    };
    for (const Case& c : cases) {
        const std::string what = c.path.toStdString();
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("a.pdf"));
        QFile before(target);
        ASSERT_TRUE(before.open(QIODevice::WriteOnly));
        before.write(c.before);
        before.close();
        QByteArray event;
        {
            Downloader downloader(nullptr, QStringLiteral("Downloader1"), runtime, requests);
            downloader.DownloadProgress = [&](qint64, qint64 max, const QString&) {
                if (max > kHostLimit) {
                    event = "progress to " + QByteArray::number(max);
                }
            };
            downloader.DownloadComplete = [&](qint64 cur, qint64 max, const QString& file) {
                event = cur == max && file == target ? "complete" : "complete, miscounted";
            };
            downloader.DownloadError = [&](const QString&, const QString& missCode) {
                event = "error " + missCode.toUtf8();
            };
            downloader.BeginDownload(server.url(c.path), target, {});
            EXPECT_TRUE(waitFor(runtime, [&] { return !event.isEmpty(); })) << what;
        }
        EXPECT_EQ(event, c.event) << what;
        EXPECT_EQ(readFile(target), c.target) << what;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.pdf"})
            << what;
    }
}
