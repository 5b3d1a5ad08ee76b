#include <gtest/gtest.h>

#include <QObject>

#include "download/DownloadList.h"

namespace {

struct ListFixture {
    QObject owner;
    ListView list{&owner, QStringLiteral("ListView3")};

    DownloadEntry add(const QString& key, const QString& size = {}, const QString& progress = {}) {
        DownloadEntry entry =
            AddEntry(list, key, key, QStringLiteral("pdf"), QStringLiteral("/d/"), QString());
        entry.setSizeText(size);
        entry.setProgressText(progress);
        return entry;
    }
    QStringList column(int column) const {
        QStringList texts;
        for (int i = 1; i <= list.count(); ++i) {
            texts << list.at(i)->columnText(column);
        }
        return texts;
    }
};

}  // namespace

TEST(DownloadAddresses, SwapMovesTheLastOfTwoOrThreeAlternativesToTheFront) {
    EXPECT_EQ(对调url("a|b"), "b|a");
    EXPECT_EQ(对调url("a|b|c"), "c|a|b");
    EXPECT_EQ(对调url("http://x/a.pdf"), "http://x/a.pdf");
    EXPECT_EQ(对调url("a|b|c|d"), "a|b|c|d");
    EXPECT_EQ(对调url(""), "");
}

TEST(DownloadAddresses, TheCurrentAddressIsTheFirstAlternative) {
    EXPECT_EQ(选择url("http://x/a|http://y/b"), "http://x/a");
    EXPECT_EQ(选择url("http://x/a"), "http://x/a");
    EXPECT_EQ(选择url(""), "");
}

TEST(DownloadList, AddEntryAppendsAWaitingEntryAndIgnoresAKnownAddress) {
    ListFixture f;
    DownloadEntry first = AddEntry(f.list, "http://x/a.pdf", "报告", "pdf", "/d/", "http://r/");
    ASSERT_TRUE(first.isValid());
    EXPECT_EQ(first.state(), EntryState::Waiting);
    EXPECT_EQ(first.name(), "报告");
    EXPECT_EQ(first.type(), "pdf");
    EXPECT_EQ(first.folder(), "/d/");
    EXPECT_EQ(first.referrer(), "http://r/");
    EXPECT_TRUE(first.sizeText().isEmpty());
    EXPECT_TRUE(first.receivedText().isEmpty());
    EXPECT_TRUE(first.progressText().isEmpty());
    EXPECT_TRUE(first.ownedFile().isEmpty());

    DownloadEntry again = AddEntry(f.list, "http://x/a.pdf", "别的", "doc", "/e/", "");
    EXPECT_FALSE(again.isValid());
    EXPECT_EQ(f.list.count(), 1);
    EXPECT_EQ(first.name(), "报告");
}

TEST(DownloadList, EntryFilePathJoinsFolderNameAndType) {
    ListFixture f;
    DownloadEntry entry = AddEntry(f.list, "k", "报告", "pdf", "/d/", "");
    EXPECT_EQ(EntryFilePath(entry), "/d/报告.pdf");
    entry.setType("");
    EXPECT_EQ(EntryFilePath(entry), "/d/报告");
}

TEST(DownloadList, IsFinishedWhenNothingWaitsOrDownloads) {
    ListFixture f;
    EXPECT_TRUE(检测是否下载列表完毕(f.list));
    DownloadEntry a = f.add("a");
    DownloadEntry b = f.add("b");
    a.setState(EntryState::Done);
    EXPECT_FALSE(检测是否下载列表完毕(f.list));
    b.setState(EntryState::Downloading);
    EXPECT_FALSE(检测是否下载列表完毕(f.list));
    b.setState(EntryState::Failed);
    EXPECT_TRUE(检测是否下载列表完毕(f.list));
}

TEST(DownloadListSort, SizesSortByValueAndReadAsPlainNumbersAfterwards) {
    ListFixture f;
    f.add("a", "12000");
    f.add("b", "下载失败");
    f.add("c", "900");
    f.add("d", "");
    f.add("e", "0075");
    SortDownloadList(f.list, DownloadEntry::Size, ListView::SortOrder::Ascending);
    EXPECT_EQ(f.column(DownloadEntry::Size), QStringList({"", "75", "900", "12000", "下载失败"}));
    SortDownloadList(f.list, DownloadEntry::Size, ListView::SortOrder::Descending);
    EXPECT_EQ(f.column(DownloadEntry::Size), QStringList({"下载失败", "12000", "900", "75", ""}));
}

TEST(DownloadListSort, PercentagesSortByValueAndKeepTheirSign) {
    ListFixture f;
    f.add("a", "", "100%");
    f.add("b", "", "5%");
    f.add("c", "", "大文件，跳过");
    f.add("d", "", "40%");
    SortDownloadList(f.list, DownloadEntry::Progress, ListView::SortOrder::Ascending);
    EXPECT_EQ(f.column(DownloadEntry::Progress),
              QStringList({"5%", "40%", "100%", "大文件，跳过"}));
}

TEST(DownloadListSort, SizesPastTwelveDigitsStillSortAfterShorterOnes) {
    ListFixture f;
    f.add("a", "1234567890123");
    f.add("b", "999999999999");
    SortDownloadList(f.list, DownloadEntry::Size, ListView::SortOrder::Ascending);
    EXPECT_EQ(f.column(DownloadEntry::Size), QStringList({"999999999999", "1234567890123"}));
}

TEST(DownloadListSort, EntriesKeepTheirIdsAndLaterAdditionsAppendUnsorted) {
    ListFixture f;
    const quint64 big = f.add("big", "500").id();
    f.add("small", "20");
    SortDownloadList(f.list, DownloadEntry::Size, ListView::SortOrder::Ascending);
    EXPECT_EQ(DownloadEntry::byId(f.list, big).sizeText(), "500");
    EXPECT_EQ(f.list.positionOf(DownloadEntry::byId(f.list, big).row()), 2);
    f.add("tiny", "1");
    EXPECT_EQ(f.column(DownloadEntry::Size), QStringList({"20", "500", "1"}));
    EXPECT_TRUE(f.list.visible());
}
