// The list menu's operations on the download list: which entries each item of the
// re-download, removal and deletion families treats, and what it does to them.
#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>

#include "DownloadTestSupport.h"
#include "download/DownloadList.h"
#include "download/DownloadListOperations.h"
#include "download/DownloadListTools.h"

namespace {

struct Sample {
    const char* key;
    EntryState state;
    const char* type;
    bool selected = false;
    const char* size = "1000";
};

// The entries of `samples`, named after their keys, each with its file on disk that
// the program did not make.
struct SampleList : DownloadListFixture {
    explicit SampleList(std::initializer_list<Sample> samples) {
        for (const Sample& sample : samples) {
            const QString key = QString::fromUtf8(sample.key);
            DownloadEntry entry = add(key, key, QString::fromUtf8(sample.type));
            entry.setState(sample.state);
            entry.setSizeText(QString::fromUtf8(sample.size));
            entry.setReceivedText(QString::fromUtf8(sample.size));
            entry.setProgressText(QStringLiteral("100%"));
            list.setSelected(entry.row(), sample.selected);
            EXPECT_TRUE(WriteFile(EntryFilePath(entry), "content"));
        }
    }
    DownloadEntry entry(int position) { return DownloadEntry(list, list.at(position)); }
    // The entries whose columns were emptied, as "key:type:state".
    QString treated() {
        QStringList result;
        for (int position = 1; position <= list.count(); ++position) {
            const DownloadEntry e = entry(position);
            if (e.sizeText().isEmpty()) {
                result << e.name() + u':' + e.type() + u':' + QString::number(int(e.state()));
            }
        }
        return result.join(u' ');
    }
    QStringList keys() {
        QStringList result;
        for (int position = 1; position <= list.count(); ++position) {
            result << list.at(position)->key();
        }
        return result;
    }
};

constexpr EntryState W = EntryState::Waiting;
constexpr EntryState D = EntryState::Downloading;
constexpr EntryState Ok = EntryState::Done;
constexpr EntryState F = EntryState::Failed;

}  // namespace

TEST(ListMenuOperations, RedownloadItemsRequeueTheirEntries) {
    const std::initializer_list<Sample> samples = {
        {"a", Ok, "pdf"},       {"b", F, "pdf"},       {"c", W, "pdf"},  {"d", D, "pdf"},
        {"e", Ok, "HTM"},       {"f", Ok, "xml"},      {"g", F, "html"}, {"h", W, "htm"},
        {"i", Ok, "pdf", true}, {"j", W, "pdf", true}, {"k", F, "XML"},  {"l", D, "htm", true},
    };
    const std::pair<RequeueChoice, const char*> cases[] = {
        {RequeueChoice::Selected, "i:pdf:1"},
        {RequeueChoice::Failed, "b:pdf:1 g:xxx:1 k:XML:1"},
        {RequeueChoice::WebPages, "e:xxx:1 f:xxx:1 g:xxx:1 k:xxx:1"},
        {RequeueChoice::FailedOrWebPages, "b:pdf:1 e:xxx:1 g:xxx:1 k:XML:1"},
    };
    for (const auto& [choice, expected] : cases) {
        SampleList f(samples);
        RequeueEntries(f.list, choice);
        EXPECT_EQ(f.treated(), expected) << int(choice);
        // None of the files was the program's own: they all stay.
        EXPECT_TRUE(QFile::exists(f.dir() + "b.pdf"));
        EXPECT_TRUE(f.list.visible());
    }
}

TEST(ListMenuOperations, TheSizeRedownloadTakesWholeFilesBelowTheLimit) {
    SampleList f({{"whole", Ok, "pdf", false, "4000"},
                  {"commas", F, "pdf", false, "4,000"},
                  {"partial", Ok, "pdf", false, "4000"},
                  {"failed", F, "pdf", false, "下载失败"},
                  {"waiting", W, "pdf", false, "4000"},
                  {"limit", Ok, "pdf", false, "5000"}});
    f.entry(2).setReceivedText("4000");
    f.entry(3).setReceivedText("3000");
    RequeueSmallFiles(f.list, 5000);
    EXPECT_EQ(f.treated(), "whole:pdf:1 commas:pdf:1");
}

TEST(ListMenuOperations, RemovalItemsRemoveNeighbouringMatchesAndKeepTheFiles) {
    const std::initializer_list<Sample> samples = {
        {"a", Ok, "pdf"}, {"b", Ok, "pdf"}, {"c", W, "pdf"},       {"d", Ok, "pdf", true},
        {"e", F, "pdf"},  {"f", D, "pdf"},  {"g", F, "pdf", true},
    };
    const std::pair<RemovalChoice, QStringList> cases[] = {
        {RemovalChoice::Selected, {"a", "b", "c", "e", "f"}},
        {RemovalChoice::Done, {"c", "e", "f", "g"}},
        {RemovalChoice::NotDone, {"a", "b", "d"}},
        {RemovalChoice::Failed, {"a", "b", "c", "d", "f"}},
    };
    for (const auto& [choice, expected] : cases) {
        SampleList f(samples);
        RemoveEntries(f.list, choice);
        EXPECT_EQ(f.keys(), expected) << int(choice);
        EXPECT_TRUE(QFile::exists(f.dir() + "a.pdf") && QFile::exists(f.dir() + "g.pdf"));
    }
}

TEST(ListMenuOperations, DeletionItemsDeleteTheFilesAndLeaveDownloadingEntriesAlone) {
    const std::initializer_list<Sample> samples = {
        {"a", Ok, "htm"}, {"b", F, "XML"},        {"c", W, "html"},      {"d", Ok, "pdf"},
        {"e", F, "pdf"},  {"f", Ok, "pdf", true}, {"g", D, "pdf", true}, {"h", F, "pdf", true},
    };
    const std::pair<DeletionChoice, const char*> cases[] = {
        {DeletionChoice::WebPages, "a:htm:3 b:XML:4"},
        {DeletionChoice::Failed, "b:XML:4 e:pdf:4 h:pdf:4"},
        // A downloading entry is left alone: a second transfer would start for it.
        {DeletionChoice::Selected, "f:pdf:1 h:pdf:1"},
    };
    for (const auto& [choice, expected] : cases) {
        SampleList f(samples);
        DeleteEntryFiles(f.list, choice);
        EXPECT_EQ(f.treated(), expected) << int(choice);
        for (int position = 1; position <= f.list.count(); ++position) {
            const DownloadEntry entry = f.entry(position);
            EXPECT_EQ(QFile::exists(EntryFilePath(entry)), !entry.sizeText().isEmpty());
            EXPECT_EQ(entry.progressText().isEmpty(), entry.sizeText().isEmpty());
        }
    }

    SampleList sizes({{"small", Ok, "pdf", false, "4096"},
                      {"running", D, "pdf", false, "1024"},
                      {"limit", Ok, "pdf", false, "5120"},
                      {"failed", F, "pdf", false, "下载失败"}});
    DeleteSmallFiles(sizes.list, 5);
    EXPECT_EQ(sizes.treated(), "small:pdf:1");
    EXPECT_TRUE(QFile::exists(sizes.dir() + "running.pdf"));
}

TEST(ListMenuOperations, ShuffleMovesEveryEntryKeepingItsIdFileAndFields) {
    DownloadListFixture f;
    QHash<quint64, QString> owned;
    for (int i = 0; i < 40; ++i) {
        DownloadEntry entry = f.add(QString::number(i), QString::number(i), "pdf");
        entry.setOwnedFile(f.dir() + QString::number(i) + ".pdf");
        owned.insert(entry.id(), entry.ownedFile());
    }
    const QList<ListRow*> before = [&] {
        QList<ListRow*> rows;
        for (int position = 1; position <= f.list.count(); ++position) {
            rows << f.list.at(position);
        }
        return rows;
    }();
    QRandomGenerator random(7);
    ShuffleList(f.list, random);
    ASSERT_EQ(f.list.count(), 40);
    bool moved = false;
    for (int position = 1; position <= f.list.count(); ++position) {
        const DownloadEntry entry(f.list, f.list.at(position));
        EXPECT_EQ(entry.ownedFile(), owned.value(entry.id()));
        EXPECT_EQ(entry.name() + ".pdf", entry.ownedFile().section(u'/', -1));
        EXPECT_EQ(DownloadEntry::byId(f.list, entry.id()).row(), entry.row());
        moved = moved || entry.row() != before[position - 1];
    }
    EXPECT_TRUE(moved);
    EXPECT_TRUE(f.list.visible());
}

TEST(ListMenuOperations, ReplacingAddressesKeepsKeysUniqueFirstEntryFirst) {
    DownloadListFixture f;
    DownloadEntry taken = f.add("http://a/ABC.pdf", "taken", "pdf");
    taken.setReferrer("http://r/Abc/");
    DownloadEntry holder = f.add("http://a/xyz.pdf", "holder", "pdf");
    DownloadEntry both = f.add("http://b/abc.pdf|http://c/aBc.pdf", "both", "pdf");
    DownloadEntry first = f.add("http://d/abc", "first", "pdf");
    DownloadEntry second = f.add("http://d/ABC", "second", "pdf");

    EXPECT_EQ(ReplaceInAddresses(f.list, "abc", "xyz"), 2);
    EXPECT_EQ(taken.addresses(), "http://a/ABC.pdf");
    EXPECT_EQ(taken.referrer(), "http://r/xyz/");
    EXPECT_EQ(holder.addresses(), "http://a/xyz.pdf");
    EXPECT_EQ(both.addresses(), "http://b/xyz.pdf|http://c/xyz.pdf");
    EXPECT_EQ(first.addresses(), "http://d/xyz");
    EXPECT_EQ(second.addresses(), "http://d/ABC");
    // The index follows: a transfer finds its entry by id, a new hand-over by key.
    EXPECT_EQ(f.list.findByKey("http://d/xyz"), first.row());
    EXPECT_EQ(DownloadEntry::byId(f.list, both.id()).row(), both.row());
}
