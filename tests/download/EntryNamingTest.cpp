#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "DownloadTestSupport.h"
#include "download/EntryFilePath.h"
#include "download/EntryNaming.h"
#include "download/NumberedNames.h"
#include "support/ScriptedDialogs.h"

namespace {

const QString kBadFolder = QStringLiteral("文件夹名称有误！不能创建文件夹！");
const QByteArray kPlaceholder("\x01\x00", 2);

struct EntryNaming : testing::Test, DownloadListFixture {
    ScriptedDialogs dialogs;

    // What the scheduler does for an entry it starts on a parallel slot, up to the
    // reservation of its target. False when the entry was settled or failed instead.
    bool start(DownloadEntry& entry, DuplicatePolicy policy) {
        CleanEntryName(entry);
        if (!PrepareEntryFolder(entry, dialogs) || !确定是需要下载(entry, policy)) {
            return false;
        }
        QString newName;
        const QString path =
            重命名保存路径(entry.folder(), entry.name(), entry.type(), policy, newName);
        entry.setName(newName);
        entry.setState(EntryState::Downloading);
        ReserveTarget(entry, path);
        return true;
    }

    // The names of the files in a folder (the temporary one when none is given), sorted.
    QStringList filesOnDisk(const QString& folder = {}) const {
        QStringList names = QDir(folder.isEmpty() ? temp.path() : folder)
                                .entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.sort();
        return names;
    }
};

}  // namespace

TEST_F(EntryNaming, AnEmptyCleanedNameFallsBackToTheAddressThenToUnnamed) {
    DownloadEntry plain = add("http://h.cn/a.pdf", "a/b:c*?", "pdf");
    CleanEntryName(plain);
    EXPECT_EQ(plain.name(), "abc");

    DownloadEntry dots = add("http://h.cn/dl/报告.final.pdf|http://mirror.cn/x.pdf", "....", "pdf");
    CleanEntryName(dots);
    EXPECT_EQ(dots.name(), "报告.final");

    DownloadEntry query = add("http://h.cn/get?id=7", "", "pdf");
    CleanEntryName(query);
    EXPECT_EQ(query.name(), "getid=7");

    for (const QString& address :
         {QStringLiteral("http://h.cn/"), QStringLiteral("http://h.cn/...pdf")}) {
        DownloadEntry none = add(address, "...", "pdf");
        CleanEntryName(none);
        EXPECT_EQ(none.name(), "未命名") << address.toStdString();
    }
}

TEST_F(EntryNaming, FolderIsMadeCleanedAndEndsInASlash) {
    DownloadEntry entry = add("http://h.cn/a.pdf", "a", "pdf", dir() + "new/a?b/c");
    EXPECT_TRUE(PrepareEntryFolder(entry, dialogs));
    EXPECT_EQ(entry.folder(), dir() + "new/ab/c/");
    EXPECT_TRUE(QFileInfo(dir() + "new/ab/c").isDir());
}

TEST_F(EntryNaming, AFolderThatCannotBeMadeFailsTheEntryAndNothingIsWrittenElsewhere) {
    // A part that cleans to nothing: CreateFolderPath stops at the folder above.
    const QString asked = dir() + "down/.../";
    DownloadEntry bad = add("http://h.cn/a.pdf", "a", "pdf", asked);
    dialogs.expectMessage(kBadFolder, MessageIcon::Error);
    EXPECT_FALSE(start(bad, DuplicatePolicy::Rename));
    EXPECT_EQ(bad.state(), EntryState::Failed);
    EXPECT_EQ(bad.sizeText(), "下载失败");
    EXPECT_EQ(bad.folder(), asked);
    EXPECT_TRUE(filesOnDisk(dir() + "down").isEmpty());
    EXPECT_TRUE(bad.ownedFile().isEmpty());

    // A folder that may not be written to.
    ASSERT_TRUE(QDir().mkdir(dir() + "locked"));
    QFile::setPermissions(dir() + "locked", QFile::ReadOwner | QFile::ExeOwner);
    {
        FilePermissionsHonoured honoured;
        DownloadEntry locked = add("http://h.cn/b.pdf", "b", "pdf", dir() + "locked/inner");
        EXPECT_FALSE(start(locked, DuplicatePolicy::Rename));
        EXPECT_EQ(locked.state(), EntryState::Failed);
        EXPECT_FALSE(QFileInfo::exists(dir() + "locked/inner"));
    }
    EXPECT_TRUE(filesOnDisk().isEmpty());
}

TEST_F(EntryNaming, SkipSettlesAnExistingFileAsDoneWithItsLength) {
    ASSERT_TRUE(WriteFile(dir() + "报告.pdf", QByteArray(1234, 'x')));
    DownloadEntry entry = add("http://h.cn/a.pdf", "报告", "pdf", temp.path());
    EXPECT_FALSE(确定是需要下载(entry, DuplicatePolicy::Skip));
    EXPECT_EQ(entry.state(), EntryState::Done);
    EXPECT_EQ(entry.sizeText(), "1234");
    EXPECT_EQ(entry.receivedText(), "1234");
    EXPECT_EQ(entry.progressText(), "已存在，跳过");

    // Other policies, or no file, start the entry and leave it as it was.
    DownloadEntry other = add("http://h.cn/b.pdf", "报告", "pdf");
    EXPECT_TRUE(确定是需要下载(other, DuplicatePolicy::Rename));
    EXPECT_TRUE(确定是需要下载(other, DuplicatePolicy::Overwrite));
    EXPECT_EQ(other.state(), EntryState::Waiting);
    DownloadEntry missing = add("http://h.cn/c.pdf", "别的", "pdf");
    EXPECT_TRUE(确定是需要下载(missing, DuplicatePolicy::Skip));
    EXPECT_EQ(missing.progressText(), "");
}

TEST_F(EntryNaming, ThreeEntriesOfOneNameStartedInTurnGetPlainThen001Then002) {
    QList<DownloadEntry> entries;
    for (int i = 0; i < 3; ++i) {
        entries << add(QStringLiteral("http://h%1.cn/r.pdf").arg(i), "年度报告", "pdf");
        ASSERT_TRUE(start(entries.last(), DuplicatePolicy::Rename));
    }
    EXPECT_EQ(entries[0].name(), "年度报告");
    EXPECT_EQ(entries[1].name(), "年度报告[001]");
    EXPECT_EQ(entries[2].name(), "年度报告[002]");
    for (const DownloadEntry& entry : entries) {
        EXPECT_EQ(entry.ownedFile(), EntryFilePath(entry));
        EXPECT_EQ(ReadFile(EntryFilePath(entry)), kPlaceholder);
    }
}

TEST_F(EntryNaming, WithSkipTheFirstPlaceholderSettlesTheNextEntriesOfThatName) {
    QList<DownloadEntry> entries;
    for (int i = 0; i < 3; ++i) {
        entries << add(QStringLiteral("http://h%1.cn/r.pdf").arg(i), "r", "pdf");
    }
    EXPECT_TRUE(start(entries[0], DuplicatePolicy::Skip));
    EXPECT_FALSE(start(entries[1], DuplicatePolicy::Skip));
    EXPECT_FALSE(start(entries[2], DuplicatePolicy::Skip));
    EXPECT_EQ(entries[2].progressText(), "已存在，跳过");
    EXPECT_EQ(entries[2].sizeText(), "2");
    EXPECT_EQ(filesOnDisk(), QStringList({"r.pdf"}));
}

TEST_F(EntryNaming, OverwriteNeverTouchesTheExistingFileBeforeItsReplacement) {
    ASSERT_TRUE(WriteFile(dir() + "keep.pdf", "the user's file"));
    DownloadEntry entry = add("http://h.cn/keep.pdf", "keep", "pdf");
    EXPECT_TRUE(start(entry, DuplicatePolicy::Overwrite));
    EXPECT_EQ(entry.name(), "keep");
    EXPECT_EQ(ReadFile(dir() + "keep.pdf"), "the user's file");
    EXPECT_TRUE(entry.ownedFile().isEmpty());
}

TEST_F(EntryNaming, HiddenAndReadOnlyFilesCountAsTakenAndStayUntouched) {
    ASSERT_TRUE(WriteFile(dir() + ".notes.txt", "hidden"));
    ASSERT_TRUE(WriteFile(dir() + "ro.pdf", "read-only"));
    QFile::setPermissions(dir() + "ro.pdf", QFile::ReadOwner);
    FilePermissionsHonoured honoured;

    DownloadEntry hidden = add("http://h.cn/n.txt", ".notes", "txt");
    QString newName;
    EXPECT_EQ(重命名保存路径(dir(), ".notes", "txt", DuplicatePolicy::Rename, newName),
              dir() + ".notes[001].txt");
    EXPECT_EQ(UniqueFilePath(dir() + ".notes.txt"), dir() + ".notes[0001].txt");
    EXPECT_FALSE(确定是需要下载(hidden, DuplicatePolicy::Skip));

    DownloadEntry readOnly = add("http://h.cn/ro.pdf", "ro", "pdf");
    EXPECT_TRUE(start(readOnly, DuplicatePolicy::Rename));
    EXPECT_EQ(readOnly.name(), "ro[001]");
    EXPECT_EQ(UniqueFilePath(dir() + "ro.pdf"), dir() + "ro[0001].pdf");
    // Overwrite cannot reserve over it, and leaves it as it is.
    DownloadEntry over = add("http://h.cn/ro2.pdf", "ro", "pdf");
    EXPECT_TRUE(start(over, DuplicatePolicy::Overwrite));
    EXPECT_TRUE(over.ownedFile().isEmpty());
    EXPECT_EQ(ReadFile(dir() + ".notes.txt"), "hidden");
    EXPECT_EQ(ReadFile(dir() + "ro.pdf"), "read-only");
}

TEST_F(EntryNaming, LongDottedAndNonGbkNamesReachTheDiskWhole) {
    const QString chinese(100, QChar(u'档'));
    const QString nonGbk = QString::fromUtf16(u"报告\U0001F600한글ไทย");
    DownloadEntry longName = add("http://h.cn/1.pdf", chinese, "pdf");
    DownloadEntry dots = add("http://h.cn/dir/论文.pdf", "......", "pdf");
    DownloadEntry foreign = add("http://h.cn/3.pdf", nonGbk, "pdf");
    DownloadEntry foreignAgain = add("http://h.cn/4.pdf", nonGbk, "pdf");
    for (DownloadEntry* entry : {&longName, &dots, &foreign, &foreignAgain}) {
        ASSERT_TRUE(start(*entry, DuplicatePolicy::Rename));
        EXPECT_EQ(ReadFile(EntryFilePath(*entry)), kPlaceholder) << entry->name().toStdString();
        EXPECT_LE(QFileInfo(EntryFilePath(*entry)).fileName().toUtf8().size(), kNameMaxBytes);
    }
    // 100 Chinese characters are 200 GBK bytes but 300 UTF-8 bytes: cut to 76.
    EXPECT_EQ(longName.name(), chinese.left(76));
    EXPECT_EQ(dots.name(), "论文");
    EXPECT_EQ(foreign.name(), nonGbk);
    EXPECT_EQ(foreignAgain.name(), nonGbk + "[001]");
    QStringList expected = {chinese.left(76) + ".pdf", nonGbk + ".pdf", nonGbk + "[001].pdf",
                            "论文.pdf"};
    expected.sort();
    EXPECT_EQ(filesOnDisk(), expected);
}

TEST_F(EntryNaming, AFolderThatIsNotWritableGetsNoPlaceholderAndNoOwnedFile) {
    ASSERT_TRUE(QDir().mkdir(dir() + "ro"));
    QFile::setPermissions(dir() + "ro", QFile::ReadOwner | QFile::ExeOwner);
    FilePermissionsHonoured honoured;
    DownloadEntry entry = add("http://h.cn/a.pdf", "a", "pdf", dir() + "ro/");
    EXPECT_TRUE(start(entry, DuplicatePolicy::Rename));
    EXPECT_FALSE(ReserveTarget(entry, EntryFilePath(entry)));
    EXPECT_TRUE(entry.ownedFile().isEmpty());
    EXPECT_TRUE(filesOnDisk(dir() + "ro").isEmpty());
}
