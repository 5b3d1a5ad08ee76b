// The scheduler and the parallel-slot method on virtual time: the download window with
// its real scheduler, slots and downloaders, over the fake network.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "DownloadTestSupport.h"
#include "download/DownloadList.h"
#include "download/DownloadListOperations.h"
#include "download/fFileDownload.h"
#include "support/FakeNetwork.h"
#include "support/TestApp.h"
#include "sys/SoundCue.h"

namespace {

const QString kServer = QStringLiteral("http://files.test/");
const QByteArray kPdf = QByteArrayLiteral("%PDF-1.4\n1 0 obj\n%%EOF\n");
const QByteArray kLoginPage = QByteArrayLiteral(
    "<html><head><title>Login</title></head><body><form>"
    "<input name=user></form></body></html>");

class Scheduler : public ::testing::Test {
  protected:
    Scheduler() {
        window = app.forms.load<fFileDownload>(fFileDownload::kName);
        folder = app.temp.path() + QStringLiteral("/files/");
        QDir().mkpath(folder);
    }

    // A waiting entry named `name`.pdf for kServer + `path`.
    DownloadEntry add(const QString& path, const QString& name = QStringLiteral("报告")) {
        return AddEntry(*window->ListView3, kServer + path, name, QStringLiteral("pdf"), folder,
                        QString());
    }
    void serve(const QString& path, const FakeResponse& response) {
        app.network->serve(kServer + path, response);
    }
    DownloadEntry entry(int position) {
        return DownloadEntry(*window->ListView3, window->ListView3->at(position));
    }
    // Starts the download timer and runs until the list is finished and no slot is in use.
    bool runToEnd(double seconds = 60) {
        window->Command4->click();
        return app.runtime.waitUntil(
            [this] {
                return 检测是否下载列表完毕(*window->ListView3) &&
                       window->parallel.slots().inUseCount() == 0;
            },
            seconds);
    }
    void setSlots(int count) { window->Combo1->setListIndex(count - 1); }
    QStringList filesInFolder() const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    TestApp app{TestApp::Network::Fake};
    fFileDownload* window = nullptr;
    QString folder;
};

// A response whose body arrives after `ms`, so transfers started together overlap.
FakeResponse slowly(const QByteArray& body, int ms) {
    return {.length = body.size(), .chunks = {{ms, body}}};
}

TEST_F(Scheduler, EntriesOfOneNameStartedInOneTickGetNumberedNamesOrFindTheNameTaken) {
    struct Case {
        OptionButton* fFileDownload::*rule;
        QStringList files;
        QStringList progress;
    };
    const Case cases[] = {
        {&fFileDownload::Option3,
         {"报告.pdf", "报告[001].pdf", "报告[002].pdf"},
         {"100%", "100%", "100%"}},
        {&fFileDownload::Option1, {"报告.pdf"}, {"100%", "已存在，跳过", "已存在，跳过"}},
    };
    for (const Case& c : cases) {
        window->ListView3->clear();
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        (window->*c.rule)->setValue(true);
        setSlots(3);
        for (const QString path : {"a.pdf", "b.pdf", "c.pdf"}) {
            serve(path, slowly(kPdf, 2000));
            add(path);
        }
        ASSERT_TRUE(runToEnd());
        EXPECT_EQ(filesInFolder(), c.files);
        for (int position = 1; position <= 3; ++position) {
            EXPECT_EQ(entry(position).state(), EntryState::Done);
            EXPECT_EQ(entry(position).progressText(), c.progress[position - 1]);
        }
        for (const QString& file : c.files) {
            EXPECT_EQ(ReadFile(folder + file), kPdf) << file.toStdString();
        }
    }
}

TEST_F(Scheduler, APauseHoldsTheStartsUntilItPassedAndThenFillsTheFreeSlotsTogether) {
    setSlots(3);
    window->Combo2->setListIndex(10);
    for (int i = 1; i <= 6; ++i) {
        const QString path = QStringLiteral("%1.pdf").arg(i);
        serve(path, slowly(kPdf, 500));
        add(path, QString::number(i));
    }
    ASSERT_TRUE(runToEnd(120));
    const QList<FakeRequest>& requests = app.network->requests();
    ASSERT_EQ(requests.size(), 6);
    // The pause counts from the window's load, then from the end of the last transfer.
    EXPECT_GT(requests[0].time, 10);
    EXPECT_EQ(requests[1].time, requests[0].time);
    EXPECT_EQ(requests[2].time, requests[0].time);
    EXPECT_GT(requests[3].time, requests[0].time + 0.5 + 10);
    EXPECT_EQ(requests[4].time, requests[3].time);
    EXPECT_EQ(requests[5].time, requests[3].time);
}

TEST_F(Scheduler, AFileOverTheSizeLimitIsSkippedWithItsPlaceholderAndNotFailedByItsEnd) {
    app.config.maxFileSizeMB = 10;
    const QByteArray start(64 * 1024, 'x');
    // Announced 30 MB; and a body without a length that grows past the limit.
    serve("huge.pdf", {.length = 30 << 20, .chunks = {{0, start}}, .endAtMs = -1});
    serve("growing.pdf", {.chunks = {{0, start}, {100, QByteArray(11 << 20, 'y')}}, .endAtMs = -1});
    add("huge.pdf", QStringLiteral("huge"));
    add("growing.pdf", QStringLiteral("growing"));
    setSlots(2);
    ASSERT_TRUE(runToEnd());
    app.runtime.advance(5);
    for (int position = 1; position <= 2; ++position) {
        EXPECT_EQ(entry(position).state(), EntryState::Done);
        EXPECT_EQ(entry(position).progressText(), QStringLiteral("大文件，跳过"));
    }
    EXPECT_EQ(ReadFile(folder + "huge.pdf"), QByteArray("\x01\x00", 2));
    EXPECT_EQ(filesInFolder(), QStringList({"growing.pdf", "huge.pdf"}));
    EXPECT_EQ(app.network->running(), 0);
}

TEST_F(Scheduler, StopDownloadFailsTheRunningEntryAndEndsItsTransferForGood) {
    app.network->hang(kServer + "slow.pdf");
    add("slow.pdf");
    window->Check3->setValue(true);
    window->Check4->setValue(true);
    window->Command4->click();
    ASSERT_TRUE(app.runtime.waitUntil([&] { return app.network->running() == 1; }, 5));
    window->Command31->click();
    EXPECT_EQ(entry(1).state(), EntryState::Failed);
    EXPECT_FALSE(window->Check3->value());
    EXPECT_FALSE(window->Check4->value());
    EXPECT_FALSE(window->DownloadActive());
    app.runtime.advance(400);
    EXPECT_EQ(entry(1).state(), EntryState::Failed);
    EXPECT_EQ(app.network->running(), 0);
    EXPECT_EQ(filesInFolder(), QStringList({"报告.pdf"}));
}

TEST_F(Scheduler, AWebPageServedForAPdfEndsDoneAsHtmWithItsCue) {
    window->Check6->setValue(true);
    serve("login.pdf", {.length = kLoginPage.size(),
                        .headers = {{"Content-Type", "text/html"}},
                        .chunks = {{0, kLoginPage}}});
    serve("gone.pdf", {.status = 404,
                       .chunks = {{0, "<html>gone</html>"}},
                       .error = QNetworkReply::ContentNotFoundError});
    add("login.pdf", QStringLiteral("login"));
    add("gone.pdf", QStringLiteral("gone"));
    setSlots(2);
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(entry(1).state(), EntryState::Done);
    EXPECT_EQ(entry(1).type(), QStringLiteral("htm"));
    EXPECT_EQ(ReadFile(folder + "login.htm"), kLoginPage);
    EXPECT_EQ(entry(2).state(), EntryState::Failed);
    EXPECT_EQ(ReadFile(folder + "gone.pdf"), QByteArray("\x01\x00", 2));
    const QString cues = app.services.paths.dataFolder;
    ASSERT_TRUE(app.runtime.waitUntil([&] { return app.sound.played.size() >= 3; }, 5));
    EXPECT_TRUE(app.sound.played.contains(cues + "101.wav"));
    EXPECT_TRUE(app.sound.played.contains(cues + "103.wav"));
    EXPECT_EQ(app.sound.played.constLast(), cues + "102.wav");
}

TEST_F(Scheduler, TheSupervisorKeepsCountsStartsRequeuesAndStopsAsItsBoxesSay) {
    // A list already finished: a running timer is switched off with the run's cue.
    window->Check6->setValue(true);
    add("done.pdf").setState(EntryState::Done);
    window->Timer_Down->start();
    app.runtime.advance(1.5);
    EXPECT_FALSE(window->Timer_Down->isEnabled());
    EXPECT_EQ(app.sound.played, QStringList({app.services.paths.dataFolder + "102.wav"}));
    EXPECT_EQ(window->StatusBar1->panelText(4),
              QStringLiteral("总数:1 正在下载:0 等待:0 已完成:1 失败:0"));

    // Five web-page entries stop a run even while they wait.
    window->Check5->setValue(true);
    for (int i = 1; i <= 5; ++i) {
        AddEntry(*window->ListView3, kServer + QString::number(i), QStringLiteral("p"),
                 QStringLiteral("htm"), folder, QString());
    }
    window->Combo2->setListIndex(600);
    window->Timer_Down->start();
    app.runtime.advance(1.5);
    EXPECT_FALSE(window->Timer_Down->isEnabled());

    // Automatic start of an entry not yet downloaded.
    window->Check5->setValue(false);
    window->ListView3->clear();
    window->Combo2->setListIndex(0);
    add("broken.pdf");
    window->Check4->setValue(true);
    app.runtime.advance(1.5);
    EXPECT_TRUE(window->Timer_Down->isEnabled());
    window->Command31->click();

    // Automatic re-download of a failing entry after every end of the run.
    entry(1).setState(EntryState::Waiting);
    window->Check3->setValue(true);
    app.runtime.advance(30);
    EXPECT_GE(app.network->requests().size(), 6);
}

TEST_F(Scheduler, AnEntryRemovedDuringItsTransferStillFreesTheSlotForTheNext) {
    serve("a.pdf", slowly(kPdf, 3000));
    serve("b.pdf", FakeResponse::whole(kPdf));
    add("a.pdf", QStringLiteral("a"));
    add("b.pdf", QStringLiteral("b"));
    setSlots(1);
    window->Command4->click();
    ASSERT_TRUE(app.runtime.waitUntil([&] { return app.network->running() == 1; }, 5));
    window->ListView3->removeAt(1);
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(entry(1).name(), QStringLiteral("b"));
    EXPECT_EQ(entry(1).state(), EntryState::Done);
}

TEST_F(Scheduler, ClosingTheWindowOrEndingTheProgramDuringTransfersLeavesNothingRunning) {
    for (const bool endProgram : {false, true}) {
        TestApp other{TestApp::Network::Fake};
        auto* w = other.forms.load<fFileDownload>(fFileDownload::kName);
        // One transfer in flight, one between its two attempts.
        other.network->hang(kServer + "slow.pdf");
        other.network->serve(
            kServer + "retry.pdf",
            {.error = QNetworkReply::ConnectionRefusedError, .headersAtMs = 500, .endAtMs = 500});
        other.network->hang(kServer + "retry.pdf");
        AddEntry(*w->ListView3, kServer + "slow.pdf", "a", "pdf", folder, {});
        AddEntry(*w->ListView3, kServer + "retry.pdf", "b", "pdf", folder, {});
        w->Combo1->setListIndex(1);
        w->Command4->click();
        ASSERT_TRUE(other.runtime.waitUntil([&] { return other.network->running() == 2; }, 5));
        other.runtime.advance(0.5);
        if (endProgram) {
            other.forms.endProgram();
        } else {
            other.dialogs.expectQuestion(
                QStringLiteral("正在下载文件或者下载没有完成，要强制关闭窗口吗？"),
                MessageAnswer::Yes);
            EXPECT_TRUE(w->close());
            other.runtime.advance(400);
            EXPECT_EQ(other.network->running(), 0);
        }
    }
}

TEST_F(Scheduler, ALongListOfBadAddressesAndAFolderThatTakesNoFilesEndInDefinedStates) {
    const QString locked = app.temp.path() + QStringLiteral("/locked/");
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const FilePermissionsHonoured honoured;
    ListView& list = *window->ListView3;
    AddEntry(list, kServer + "a.pdf", "a", "pdf", locked, {});
    AddEntry(list, "ftp://files.test/b.pdf", "b", "pdf", folder, {});
    AddEntry(list, kServer + "quote\"d name\n" + QString(8192, u'z'), "", "pdf", folder, {});
    serve("a.pdf", FakeResponse::whole(kPdf));
    for (int i = 0; i < 100000; ++i) {
        AddEntry(list, kServer + QStringLiteral("many/%1.pdf").arg(i), "m", "pdf", folder, {});
    }
    setSlots(6);
    window->Command4->click();
    app.runtime.advance(3.5);
    window->Command31->click();
    int waiting = 0;
    for (int position = 1; position <= list.count(); ++position) {
        waiting += entry(position).state() == EntryState::Waiting ? 1 : 0;
    }
    for (int position = 1; position <= 3; ++position) {
        EXPECT_EQ(entry(position).state(), EntryState::Failed) << position;
    }
    EXPECT_GT(waiting, 100000 - 30);
    EXPECT_TRUE(QDir(locked).entryList(QDir::Files | QDir::Hidden).isEmpty());
    for (const QString& name : filesInFolder()) {
        EXPECT_LE(name.toUtf8().size(), 255) << name.toStdString();
    }
}

TEST(DownloadListOperations, RequeueDeletesOnlyTheEntrysOwnFileAndRotatesItsAddresses) {
    DownloadListFixture list;
    DownloadEntry own = list.add(QStringLiteral("http://a/1|http://b/1"), "own", "htm");
    DownloadEntry users = list.add(QStringLiteral("http://a/2|http://b/2"), "users", "pdf");
    list.add(QStringLiteral("http://b/2|http://a/2"), "other", "pdf");
    ASSERT_TRUE(WriteFile(list.dir() + "own.htm", "page"));
    own.setOwnedFile(list.dir() + "own.htm");
    ASSERT_TRUE(WriteFile(list.dir() + "users.pdf", "mine"));
    own.setState(EntryState::Done);
    users.setState(EntryState::Failed);

    RequeueEntry(own, false);
    RequeueEntry(users, false);

    EXPECT_FALSE(QFile::exists(list.dir() + "own.htm"));
    EXPECT_EQ(ReadFile(list.dir() + "users.pdf"), "mine");
    EXPECT_EQ(own.type(), QStringLiteral("xxx"));
    EXPECT_EQ(users.type(), QStringLiteral("pdf"));
    EXPECT_EQ(own.addresses(), QStringLiteral("http://b/1|http://a/1"));
    // The rotated text is another entry's key: the addresses stay.
    EXPECT_EQ(users.addresses(), QStringLiteral("http://a/2|http://b/2"));
    EXPECT_EQ(own.state(), EntryState::Waiting);
}

}  // namespace
