// Every way a transfer goes wrong in the wild, through the real downloader, slots and
// scheduler on real sockets: each case ends in the state the table gives, an entry is
// Done only when its file holds exactly the complete body, and no temporary file stays.
#include <gtest/gtest.h>

#include <QDir>
#include <QTextStream>

#include "DownloadTestSupport.h"
#include "app/HeadlessSession.h"
#include "download/DownloadList.h"
#include "download/fFileDownload.h"
#include "support/FaultFileServer.h"

namespace {

const QByteArray kPlaceholder("\x01\x00", 2);

struct Case {
    const char* path;
    EntryState state;
    const char* progress;      // the percentage column at the end; null: whatever it was
    QByteArray body;           // what the file holds at the end
    const char* type = "pdf";  // null: whatever the content says
};

class FaultMatrix : public ::testing::Test {
  protected:
    FaultMatrix() {
        window = session.loadWindow<fFileDownload>();
        session.config().maxFileSizeMB = 10;
        window->Combo1->setListIndex(5);
    }

    // Adds an entry per case, each under a name of its own, and runs the list off.
    void run(const std::vector<Case>& cases) {
        int number = 0;
        for (const Case& c : cases) {
            AddEntry(*window->ListView3, server.url(QString::fromUtf8(c.path)),
                     QStringLiteral("case%1").arg(++number), QStringLiteral("pdf"), folder(),
                     QString());
        }
        window->Command4->click();
        const double start = session.runtime().now();
        while ((!检测是否下载列表完毕(*window->ListView3) ||
                window->parallel.slots().inUseCount() > 0) &&
               session.runtime().now() - start < 90) {
            session.runtime().waitStep();
        }
        for (int position = 1; position <= int(cases.size()); ++position) {
            check(cases[size_t(position - 1)],
                  DownloadEntry(*window->ListView3, window->ListView3->at(position)));
        }
        EXPECT_EQ(QDir(folder()).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden),
                  QStringList());
    }

    void check(const Case& c, const DownloadEntry& entry) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(entry.state(), c.state);
        if (c.progress) {
            EXPECT_EQ(entry.progressText(), QString::fromUtf8(c.progress));
        }
        if (c.type) {
            EXPECT_EQ(entry.type(), QString::fromUtf8(c.type));
        }
        EXPECT_EQ(ReadFile(EntryFilePath(entry)), c.body);
    }

    QString folder() const { return temp.path() + QStringLiteral("/files/"); }

    QString messages;
    QTextStream messageStream{&messages};
    // The server goes last: it waits for its clients' connections to close.
    FaultFileServer server;
    QTemporaryDir temp;
    HeadlessSession session{QString(), messageStream};
    fFileDownload* window = nullptr;
};

TEST_F(FaultMatrix, EveryFaultEndsInItsStateAndOnlyCompleteBodiesAreDone) {
    const QByteArray& pdf = FaultFileServer::document();
    run({
        {"/known.pdf", EntryState::Done, "100%", pdf},
        {"/chunked.pdf", EntryState::Done, "100%", pdf},
        {"/empty.pdf", EntryState::Failed, "", kPlaceholder},
        {"/huge.pdf", EntryState::Done, "大文件，跳过", kPlaceholder},
        {"/reset.pdf", EntryState::Failed, "", kPlaceholder},
        {"/short.pdf", EntryState::Failed, nullptr, kPlaceholder},
        {"/redirect/301/3", EntryState::Done, "100%", pdf},
        {"/redirect/302/3", EntryState::Done, "100%", pdf},
        {"/redirect/303/3", EntryState::Done, "100%", pdf},
        {"/redirect/307/3", EntryState::Done, "100%", pdf},
        {"/redirect/308/3", EntryState::Done, "100%", pdf},
        {"/loop", EntryState::Failed, "", kPlaceholder},
        {"/to-file", EntryState::Failed, "", kPlaceholder},
        {"/to-ftp", EntryState::Failed, "", kPlaceholder},
        {"/404.pdf", EntryState::Failed, "", kPlaceholder},
        {"/500.pdf", EntryState::Failed, "", kPlaceholder},
        {"/login.pdf", EntryState::Done, "100%", FaultFileServer::loginPage(), "htm"},
        {"/gzip.pdf", EntryState::Done, "100%", pdf},
        {"/trickle.pdf", EntryState::Done, "100%", QByteArray(FaultFileServer::kTrickleLength, 'x'),
         nullptr},
        {"/文档/报告.pdf", EntryState::Done, "100%", pdf},
    });
}

TEST_F(FaultMatrix, HugeHeadersEndInADefinedStateAndAFailedOverwriteKeepsTheOldFile) {
    window->Option2->setValue(true);
    QDir().mkpath(folder());
    ASSERT_TRUE(WriteFile(folder() + "case2.pdf", "the user's own"));
    AddEntry(*window->ListView3, server.url("/big-headers.pdf"), "case1", "pdf", folder(), {});
    AddEntry(*window->ListView3, server.url("/reset.pdf"), "case2", "pdf", folder(), {});
    window->Command4->click();
    const double start = session.runtime().now();
    while (
        (!检测是否下载列表完毕(*window->ListView3) || window->parallel.slots().inUseCount() > 0) &&
        session.runtime().now() - start < 60) {
        session.runtime().waitStep();
    }
    const DownloadEntry big(*window->ListView3, window->ListView3->at(1));
    EXPECT_TRUE(big.state() == EntryState::Done || big.state() == EntryState::Failed);
    if (big.state() == EntryState::Done) {
        EXPECT_EQ(ReadFile(EntryFilePath(big)), FaultFileServer::document());
    }
    const DownloadEntry reset(*window->ListView3, window->ListView3->at(2));
    EXPECT_EQ(reset.state(), EntryState::Failed);
    EXPECT_EQ(ReadFile(folder() + "case2.pdf"), "the user's own");
}

}  // namespace
