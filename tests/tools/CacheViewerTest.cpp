// The browser cache viewer on the program's fakes: its two listings, the deletion rules,
// the clearing from the menus and at the exit, and that nothing outside the cache
// folders it lists is ever deleted or changed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/fCover.h"
#include "download/fFileDownload.h"
#include "platform/cache/UrlCache.h"
#include "search/fWebSearch.h"
#include "support/TestApp.h"
#include "tools/Form_Copy_Move.h"
#include "tools/ToolTestFiles.h"
#include "tools/fIEcache.h"

namespace {

QStringList column(const ListView& list, int column) {
    QStringList texts;
    for (int position = 1; position <= list.count(); ++position) {
        texts.append(list.at(position)->columnText(column));
    }
    return texts;
}

class CacheViewer : public ::testing::Test {
  protected:
    fIEcache* open() {
        auto* viewer = app.forms.load<fIEcache>(fIEcache::kName);
        viewer->show();
        return viewer;
    }
    // A document as the browsers keep it.
    QString cached(const QString& address, const QByteArray& bytes = "doc") {
        const QString path = writeFile(cache().newFilePath(address), bytes);
        EXPECT_TRUE(cache().add(address, path));
        return path;
    }
    UrlCache& cache() {
        if (!cache_) {
            cache_ = std::make_unique<UrlCache>(app.services.paths.cacheFolder);
        }
        return *cache_;
    }
    // The current user is alice, whose home and cache lie under the profiles root
    // beside bob's; carol has no cache.
    void useProfiles() {
        AppPaths& paths = app.services.paths;
        paths.profilesRoot = app.temp.filePath("profiles/");
        paths.homeFolder = paths.profilesRoot + "alice/";
        paths.cacheFolder = paths.homeFolder + ".cache/Orvellin/";
        QDir().mkpath(paths.profilesRoot + "carol");
    }
    QString bobsCache() const {
        return app.services.paths.profilesRoot + "bob/.cache/Orvellin/UrlCache/";
    }

    TestApp app;

  private:
    std::unique_ptr<UrlCache> cache_;
};

}  // namespace

TEST_F(CacheViewer, TheIndexListingShowsTheNormalEntriesWithTheirFiles) {
    const QString report = "https://h.example/a/report.pdf?x=1";
    const QString page = "https://h.example/b";
    const QString reportFile = cached(report, "12345");
    QFile::remove(cached(page));
    QFile index(cache().indexFile());
    ASSERT_TRUE(index.open(QIODevice::Append));
    index.write("+\t0\tc.txt\tCookie:user@h.example/\n");
    index.close();

    auto* viewer = open();
    EXPECT_EQ(viewer->caption(), "IE浏览器Cookie 缓存和历史列表-Orvellin");
    EXPECT_EQ(viewer->Label1->caption(), "000");
    EXPECT_EQ(viewer->ListView1->count(), 0);
    viewer->Command1->click();
    EXPECT_EQ(column(*viewer->ListView1, fIEcache::Url), QStringList({report, page}));
    EXPECT_EQ(column(*viewer->ListView1, fIEcache::Type), QStringList({"pdf", ""}));
    EXPECT_EQ(column(*viewer->ListView1, fIEcache::Size), QStringList({"5", ""}));
    EXPECT_EQ(column(*viewer->ListView1, fIEcache::FilePath), QStringList({reportFile, ""}));
    EXPECT_EQ(viewer->Label1->caption(), "共有2 个文件");
    EXPECT_EQ(viewer->listTag(), fIEcache::kMyCache);

    ASSERT_TRUE(index.remove());
    ASSERT_TRUE(QDir().mkdir(cache().indexFile()));
    viewer->Command1->click();
    EXPECT_EQ(viewer->Label1->caption(), "出错!!!共有0 个文件");
}

TEST_F(CacheViewer, DeletingRowsTakesTheirEntriesAndFilesButNeverCookies) {
    const QString first = cached("https://h.example/1.pdf");
    const QString cookie = cached("https://h.example/COOKIE/c.txt");
    const QString second = cached("https://h.example/2.doc");
    QFile::remove(cached("https://h.example/gone.xls"));
    const QString last = cached("https://h.example/3.ppt");
    auto* viewer = open();
    viewer->Command1->click();
    ListView& list = *viewer->ListView1;
    for (const int position : {1, 2, 5}) {
        list.setSelected(list.at(position), true);
    }
    viewer->Command2->click();
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(cookie));
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_FALSE(QFile::exists(last));
    // Listed again: the unselected rows and the cookie remain.
    EXPECT_EQ(column(list, 0),
              QStringList({"https://h.example/COOKIE/c.txt", "https://h.example/2.doc",
                           "https://h.example/gone.xls"}));

    // A file that vanished since the listing still takes its entry with it.
    QFile::remove(second);
    viewer->Command3->click();
    EXPECT_EQ(column(list, 0), QStringList({"https://h.example/COOKIE/c.txt"}));
    EXPECT_TRUE(QFile::exists(cookie));
}

TEST_F(CacheViewer, TheFolderListingShowsEveryProfilesCacheAndDeletesAllButTextFiles) {
    useProfiles();
    const QString own = cache().folder();
    writeFile(own + "x.pdf", "123");
    writeFile(own + "sub/deep/y.htm");
    const QString cookies = writeFile(own + "sub/keep/cookies.txt");
    writeFile(cache().indexFile());  // beside the folder, so never listed
    writeFile(bobsCache() + "z.doc", "12345678901");

    auto* viewer = open();
    viewer->Command7->click();
    EXPECT_EQ(column(*viewer->ListView2, 0), QStringList({"alice", "bob"}));
    EXPECT_EQ(column(*viewer->ListView2, 1), QStringList({own, bobsCache()}));
    EXPECT_EQ(column(*viewer->ListView3, 0),
              QStringList({own + "sub", own + "sub/deep", own + "sub/keep"}));
    const ListView& list = *viewer->ListView1;
    EXPECT_EQ(column(list, 0), QStringList({"用户:alice", "用户:alice", "用户:alice", "用户:bob"}));
    EXPECT_EQ(column(list, fIEcache::Type), QStringList({"pdf", "htm", "txt", "doc"}));
    EXPECT_EQ(column(list, fIEcache::Size), QStringList({"3", "1", "1", "11"}));
    EXPECT_EQ(column(list, fIEcache::FilePath),
              QStringList({own + "x.pdf", own + "sub/deep/y.htm", cookies, bobsCache() + "z.doc"}));
    EXPECT_EQ(viewer->Label1->caption(), "共有4 个文件");
    EXPECT_EQ(viewer->listTag(), fIEcache::kAllCaches);

    viewer->Command3->click();
    EXPECT_EQ(column(list, fIEcache::FilePath), QStringList({cookies}));
    EXPECT_FALSE(QFileInfo::exists(own + "sub/deep"));
    EXPECT_TRUE(QFileInfo::exists(own + "sub/keep"));
    EXPECT_TRUE(QFileInfo(bobsCache()).isDir());
    EXPECT_TRUE(QFileInfo::exists(cache().indexFile()));
}

TEST_F(CacheViewer, ACacheOutsideTheHomeFolderIsTheOnlyOneListed) {
    // TestApp's cache folder lies beside its home folder, not in it.
    useProfiles();
    app.services.paths.cacheFolder = app.temp.filePath("elsewhere/Orvellin/");
    writeFile(bobsCache() + "z.doc");
    auto* viewer = open();
    viewer->Command7->click();
    EXPECT_EQ(viewer->ListView2->count(), 0);
    EXPECT_EQ(viewer->Label1->caption(), "共有0 个文件");
    viewer->close();

    writeFile(cache().folder() + "a.pdf");
    viewer = open();
    viewer->Command7->click();
    EXPECT_EQ(column(*viewer->ListView2, 0), QStringList({"alice"}));
    EXPECT_EQ(column(*viewer->ListView1, fIEcache::FilePath),
              QStringList({cache().folder() + "a.pdf"}));
}

TEST_F(CacheViewer, NothingOutsideTheCacheFoldersIsDeletedOrChanged) {
    const QString own = cache().folder();
    const QString outside = app.temp.filePath("outside/");
    const QString victim = writeFile(outside + "victim.pdf");
    ASSERT_TRUE(QFile::setPermissions(victim, QFile::ReadOwner));
    const QFile::Permissions victimMode = QFile::permissions(victim);
    const QString inFolder = writeFile(outside + "dir/victim.doc");
    QDir().mkpath(own);
    ASSERT_EQ(symlink(QFile::encodeName(victim).constData(),
                      QFile::encodeName(own + "link.pdf").constData()),
              0);
    ASSERT_EQ(symlink(QFile::encodeName(outside + "dir").constData(),
                      QFile::encodeName(own + "linked").constData()),
              0);
    // A tampered index: one entry names the link, one a path out of the folder.
    writeFile(cache().indexFile(),
              "+\t1\tlink.pdf\thttps://evil.example/link\n"
              "+\t1\t../../../outside/victim.pdf\thttps://evil.example/up\n");
    // Bad names, a read-only file and a read-only folder inside are no obstacle.
    const QString lineBreak = writeFile(own + "a\nb.pdf");
    ASSERT_TRUE(QFile::setPermissions(lineBreak, QFile::ReadOwner));
    const QString readOnly = writeFile(own + "ro/inner.pdf");
    ASSERT_TRUE(QFile::setPermissions(own + "ro", QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray notUtf8 = QFile::encodeName(own) + "bad\xff.pdf";
    const int fd = ::open(notUtf8.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);

    auto* viewer = open();
    for (Button* listing : {viewer->Command1, viewer->Command7}) {
        listing->click();
        viewer->Command3->click();
    }
    EXPECT_TRUE(QFile::exists(victim));
    EXPECT_EQ(QFile::permissions(victim), victimMode);
    EXPECT_TRUE(QFile::exists(inFolder));
    EXPECT_FALSE(QFile::exists(lineBreak));
    EXPECT_FALSE(QFile::exists(readOnly));
    EXPECT_FALSE(QFileInfo::exists(own + "ro"));
    // Qt's directory listing leaves out names that are not UTF-8: such a file stays.
    EXPECT_EQ(unlink(notUtf8.constData()), 0);
    // The links were skipped, not followed.
    EXPECT_TRUE(QFileInfo(own + "link.pdf").isSymLink());
    EXPECT_TRUE(QFileInfo(own + "linked").isSymLink());
}

TEST_F(CacheViewer, TheMenusClearEveryListedCacheAndTheExitOnlyTheCurrentUsers) {
    useProfiles();
    const auto fill = [this] {
        cached("https://h.example/a.pdf");
        writeFile(cache().folder() + "orphan.doc");
        return writeFile(bobsCache() + "z.doc");
    };
    const auto emptied = [this] {
        return cache().entries()->isEmpty() && QDir(cache().folder()).isEmpty();
    };
    auto* search = app.forms.load<fWebSearch>(fWebSearch::kName);
    app.dialogs.expectModal(fIEcache::kName, [](Window& window) {
        EXPECT_EQ(static_cast<fIEcache&>(window).ListView1->count(), 0);
        window.close();
    });
    search->menu查看IE浏览器缓存->click();

    QString bobs = fill();
    app.dialogs.expectMessage("IE缓存清空完毕！");
    search->menu清空IE浏览器缓存->click();
    EXPECT_TRUE(emptied());
    EXPECT_FALSE(QFile::exists(bobs));
    EXPECT_FALSE(app.forms.IsFormLoaded(fIEcache::kName));
    EXPECT_EQ(app.browsers.httpCacheClears(), 1);

    bobs = fill();
    auto* download = app.forms.load<fFileDownload>(fFileDownload::kName);
    app.dialogs.expectMessage("IE缓存清空完毕！");
    download->menu清空浏览器缓存->click();
    EXPECT_TRUE(emptied());
    EXPECT_FALSE(QFile::exists(bobs));

    bobs = fill();
    auto* cover = app.forms.load<fCover>(fCover::kName);
    cover->close();
    EXPECT_TRUE(emptied());
    EXPECT_TRUE(QFile::exists(bobs));
    EXPECT_EQ(app.browsers.httpCacheClears(), 3);
    EXPECT_EQ(app.dialogs.pending(), 0);
}

TEST_F(CacheViewer, SizesSortInNumericOrderAndShowWithoutZeros) {
    for (const int size : {100, 9, 10}) {
        writeFile(cache().folder() + QString::number(size), QByteArray(size, 'x'));
    }
    auto* viewer = open();
    viewer->Command7->click();
    viewer->ListView1->columnClick(fIEcache::Size + 1);
    EXPECT_EQ(column(*viewer->ListView1, fIEcache::Size), QStringList({"100", "10", "9"}));
    viewer->ListView1->columnClick(fIEcache::Size + 1);
    EXPECT_EQ(column(*viewer->ListView1, fIEcache::Size), QStringList({"9", "10", "100"}));
}

TEST_F(CacheViewer, CopyingHandsTheSelectedFilesToTheCopyTool) {
    const QString kept = cached("https://h.example/a.pdf");
    QFile::remove(cached("https://h.example/gone.pdf"));
    auto* viewer = open();
    viewer->Command1->click();
    viewer->ListView1->selectAll(true);
    app.dialogs.expectModal(Form_Copy_Move::kName, [&](Window& window) {
        auto& copy = static_cast<Form_Copy_Move&>(window);
        EXPECT_EQ(copy.caption(), "复制文件：1 个文件...");
        EXPECT_EQ(copy.Files, QStringList({kept}));
        EXPECT_FALSE(copy.MoveMode);
        window.close();
    });
    viewer->Command6->click();

    viewer->ListView1->selectAll(false);
    app.dialogs.expectModal(Form_Copy_Move::kName, [](Window& window) {
        EXPECT_EQ(window.caption(), "复制文件：0 个文件...");
        window.close();
    });
    viewer->Command6->click();
}

TEST_F(CacheViewer, ClosingDuringADeletionStopsItAtTheNextRow) {
    const QString first = cached("https://h.example/1.pdf");
    const QString second = cached("https://h.example/2.pdf");
    auto* viewer = open();
    viewer->Command1->click();
    app.runtime.post([viewer] { viewer->close(); });
    viewer->Command3->click();
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_FALSE(app.forms.IsFormLoaded(fIEcache::kName));
    app.runtime.yield();  // the window goes once its command has returned
}
