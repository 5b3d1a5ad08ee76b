// The URL cache on disk: what one instance enters another one reads, the index stays
// small through long runs of deletions, and a broken or tampered index neither stops
// the reading nor names a file outside the folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/cache/UrlCache.h"

namespace {

QString store(UrlCache& cache, const QString& address, const QByteArray& bytes) {
    const QString path = cache.newFilePath(address);
    QFile file(path);
    if (!file.open(QIODevice::NewOnly) || file.write(bytes) != bytes.size()) {
        return {};
    }
    file.close();
    return cache.add(address, path) ? path : QString();
}

QStringList addresses(UrlCache& cache) {
    QStringList result;
    const auto entries = cache.entries();
    for (const UrlCache::Entry& entry : entries.value()) {
        result.append(entry.address);
    }
    return result;
}

}  // namespace

TEST(UrlCache, WhatOneInstanceEntersAnotherReadsAndALaterEntryReplacesAnEarlierOne) {
    QTemporaryDir dir;
    UrlCache browser(dir.path() + "/cache");
    UrlCache viewer(dir.path() + "/cache/");
    // The documents in their folder, the index beside it.
    EXPECT_EQ(browser.folder(), dir.path() + "/cache/UrlCache/");
    EXPECT_EQ(browser.indexFile(), dir.path() + "/cache/UrlCache.index");
    const QString report = "https://h.example/a/report.pdf?x=1";
    const QString first = store(browser, report, "one");
    ASSERT_FALSE(first.isEmpty());
    EXPECT_TRUE(first.startsWith(browser.folder()) && first.endsWith(".pdf"));
    const QString page = store(browser, "https://h.example/b", "two");
    EXPECT_EQ(viewer.localFile(report), first);

    const QString second = store(browser, report, "three");
    EXPECT_NE(second, first);
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_EQ(addresses(viewer), QStringList({"https://h.example/b", report}));
    EXPECT_EQ(viewer.localFile(report), second);

    EXPECT_EQ(viewer.remove({"https://h.example/b", "https://h.example/b", "https://none"}), 1);
    EXPECT_EQ(viewer.remove({"https://h.example/b"}), 0);
    EXPECT_EQ(browser.localFile("https://h.example/b"), QString());
    EXPECT_TRUE(QFile::exists(page));  // the file is the caller's to delete

    // Neither a line break in an address nor a file outside the folder gets in.
    EXPECT_FALSE(browser.add("https://h.example/\nx", browser.newFilePath("x")));
    EXPECT_FALSE(browser.add("https://h.example/c", dir.path() + "/elsewhere.pdf"));
    UrlCache fresh(dir.path() + "/cache");
    EXPECT_EQ(addresses(fresh), QStringList({report}));
}

TEST(UrlCache, DeletingManyEntriesLeavesASmallIndex) {
    QTemporaryDir dir;
    UrlCache cache(dir.path());
    for (int i = 0; i < 400; ++i) {
        ASSERT_FALSE(
            store(cache, QStringLiteral("https://h.example/%1.pdf").arg(i), "x").isEmpty());
    }
    // One by one, and many at once.
    for (int i = 0; i < 190; ++i) {
        ASSERT_EQ(cache.remove({QStringLiteral("https://h.example/%1.pdf").arg(i)}), 1);
    }
    QStringList many;
    for (int i = 190; i < 390; ++i) {
        many.append(QStringLiteral("https://h.example/%1.pdf").arg(i));
    }
    EXPECT_EQ(cache.remove(many), 200);
    EXPECT_EQ(addresses(cache).size(), 10);
    UrlCache fresh(dir.path());
    EXPECT_EQ(addresses(fresh), addresses(cache));
    QFile index(cache.indexFile());
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    EXPECT_LT(index.readAll().count('\n'), 100);
}

TEST(UrlCache, BrokenLinesAreSkippedAndNamesThatLeaveTheFolderNameNoFile) {
    QTemporaryDir dir;
    UrlCache cache(dir.path());
    QFile index(cache.indexFile());
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write(
        "+\t1\tgood.pdf\thttps://a/good.pdf\n"
        "garbage\n"
        "+\t2\tx.pdf\thttps://a/bad-flag\n"
        "+\t1\tno-address\n"
        "+\t0\tcookie.txt\tCookie:user@a/\n"
        "+\t1\t../outside.pdf\thttps://a/up\n"
        "+\t1\t/etc/passwd\thttps://a/absolute\n"
        "-\thttps://a/never-entered\n"
        "+\t1\ttab.pdf\thttps://a/x\ty\n"
        "+\t1\tcut");
    index.close();
    const auto entries = cache.entries();
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 5);
    EXPECT_EQ(entries->at(0).localFile, cache.folder() + "good.pdf");
    EXPECT_TRUE(entries->at(0).normal);
    EXPECT_EQ(entries->at(1).address, "Cookie:user@a/");
    EXPECT_FALSE(entries->at(1).normal);
    EXPECT_EQ(entries->at(2).address, "https://a/up");
    EXPECT_EQ(entries->at(2).localFile, QString());
    EXPECT_EQ(cache.localFile("https://a/absolute"), QString());
    EXPECT_EQ(entries->at(4).address, "https://a/x\ty");

    // An index that cannot be read is an error, not an empty cache.
    ASSERT_TRUE(index.remove());
    ASSERT_TRUE(QDir().mkdir(cache.indexFile()));
    EXPECT_FALSE(cache.entries());
    EXPECT_FALSE(cache.add("https://a/new.pdf", cache.newFilePath("https://a/new.pdf")));
}
