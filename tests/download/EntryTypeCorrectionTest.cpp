#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "DownloadTestSupport.h"
#include "download/EntryFilePath.h"
#include "download/EntryTypeCorrection.h"

namespace {

const QByteArray kLoginPage =
    "<html ><head><title>登录</title></head><body>" + QByteArray(5000, ' ') + "</body></html>";
const QByteArray kZipHeader("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10);
const QByteArray kOfficeHeader("PK\x03\x04\x14\x00\x06\x00\x08\x00", 10);

struct Correction : testing::Test, DownloadListFixture {
    // An entry whose file holds `bytes` and belongs to it.
    DownloadEntry saved(const QString& name, const QString& type, const QByteArray& bytes) {
        DownloadEntry entry = add("http://h.cn/" + name + type, name, type);
        EXPECT_TRUE(WriteFile(EntryFilePath(entry), bytes));
        entry.setOwnedFile(EntryFilePath(entry));
        return entry;
    }
};

}  // namespace

TEST_F(Correction, AWebPageSavedAsPdfBecomesHtmAndTheEntryFollows) {
    DownloadEntry entry = saved("paper", "pdf", kLoginPage);
    EXPECT_TRUE(CorrectEntryType(entry));
    EXPECT_EQ(entry.name(), "paper");
    EXPECT_EQ(entry.type(), "htm");
    EXPECT_EQ(entry.ownedFile(), dir() + "paper.htm");
    EXPECT_EQ(ReadFile(dir() + "paper.htm"), kLoginPage);
    EXPECT_FALSE(QFile::exists(dir() + "paper.pdf"));
    // A second look finds nothing more to do.
    EXPECT_FALSE(CorrectEntryType(entry));
}

TEST_F(Correction, ATakenNameIsNumberedAndNeverOverwritten) {
    ASSERT_TRUE(WriteFile(dir() + "paper.htm", "the user's page"));
    DownloadEntry entry = saved("paper", "pdf", kLoginPage);
    EXPECT_TRUE(CorrectEntryType(entry));
    EXPECT_EQ(entry.name(), "paper[0001]");
    EXPECT_EQ(EntryFilePath(entry), dir() + "paper[0001].htm");
    EXPECT_EQ(ReadFile(dir() + "paper.htm"), "the user's page");
    EXPECT_EQ(ReadFile(EntryFilePath(entry)), kLoginPage);

    // The name is kept exactly as on disk, trailing space included.
    DownloadEntry spaced = saved("note ", "pdf", kLoginPage);
    EXPECT_TRUE(CorrectEntryType(spaced));
    EXPECT_EQ(EntryFilePath(spaced), dir() + "note .htm");
    EXPECT_TRUE(QFile::exists(EntryFilePath(spaced)));
}

TEST_F(Correction, LeavesMatchingUnknownAndMissingFilesAlone) {
    DownloadEntry upper = saved("a", "PDF", "%PDF-1.4 ...");
    EXPECT_FALSE(CorrectEntryType(upper));
    EXPECT_EQ(upper.type(), "PDF");
    DownloadEntry gif = saved("b", "png", "GIF89a and the rest of an image");
    EXPECT_FALSE(CorrectEntryType(gif));
    EXPECT_EQ(EntryFilePath(gif), dir() + "b.png");
    DownloadEntry missing = add("http://h.cn/c", "c", "pdf");
    EXPECT_FALSE(CorrectEntryType(missing));
    // The placeholder type of a re-queued entry stays when nothing is detected.
    DownloadEntry unknown = saved("d", "xxx", "plain text");
    EXPECT_FALSE(CorrectEntryType(unknown));
    EXPECT_EQ(unknown.type(), "xxx");
}

TEST_F(Correction, APlaceholderTypeIsReplacedByTheDetectedOne) {
    DownloadEntry entry = saved("e", "xxx", "%PDF-1.5");
    EXPECT_TRUE(CorrectEntryType(entry));
    EXPECT_EQ(EntryFilePath(entry), dir() + "e.pdf");
}

TEST_F(Correction, OfficePackagesAreNeverRenamedToDocxOrZip) {
    for (const QString& type : QStringList{"docx", "xlsx", "pptx", "ppsx", "XLSX"}) {
        DownloadEntry zip = saved("z-" + type, type, kZipHeader + QByteArray(100, 'z'));
        EXPECT_FALSE(CorrectEntryType(zip)) << type.toStdString();
        DownloadEntry office = saved("o-" + type, type, kOfficeHeader + QByteArray(100, 'z'));
        EXPECT_FALSE(CorrectEntryType(office)) << type.toStdString();
        EXPECT_TRUE(QFile::exists(EntryFilePath(office)));
    }
    // Other judgements still apply to them, and other types still become zip.
    DownloadEntry page = saved("p", "xlsx", kLoginPage);
    EXPECT_TRUE(CorrectEntryType(page));
    EXPECT_EQ(page.type(), "htm");
    DownloadEntry archive = saved("q", "doc", kZipHeader + QByteArray(100, 'z'));
    EXPECT_TRUE(CorrectEntryType(archive));
    EXPECT_EQ(archive.type(), "zip");
}

TEST_F(Correction, OwnedFileMovesOnlyWhenItWasTheRenamedFile) {
    DownloadEntry users = saved("u", "pdf", kLoginPage);
    users.setOwnedFile({});  // a file that was there before, settled as existing
    EXPECT_TRUE(CorrectEntryType(users));
    EXPECT_TRUE(users.ownedFile().isEmpty());
}

TEST_F(Correction, ARenameThatFailsChangesNeitherFileNorEntry) {
    ASSERT_TRUE(QDir().mkdir(dir() + "ro"));
    DownloadEntry entry = add("http://h.cn/r.pdf", "r", "pdf", dir() + "ro/");
    ASSERT_TRUE(WriteFile(EntryFilePath(entry), kLoginPage));
    entry.setOwnedFile(EntryFilePath(entry));
    QFile::setPermissions(dir() + "ro", QFile::ReadOwner | QFile::ExeOwner);
    FilePermissionsHonoured honoured;
    EXPECT_FALSE(CorrectEntryType(entry));
    EXPECT_EQ(entry.name(), "r");
    EXPECT_EQ(entry.type(), "pdf");
    EXPECT_EQ(entry.ownedFile(), dir() + "ro/r.pdf");
    EXPECT_EQ(ReadFile(dir() + "ro/r.pdf"), kLoginPage);
    EXPECT_FALSE(QFile::exists(dir() + "ro/r.htm"));
}

TEST_F(Correction, RealFilesUnderAWrongNameAreRenamedWhenTheTableKnowsThem) {
    const QByteArray pdf = ReadFile(ORVELLIN_REAL_FILES "/doc.pdf");
    DownloadEntry report = saved("report", "doc", pdf);
    EXPECT_TRUE(CorrectEntryType(report));
    EXPECT_EQ(EntryFilePath(report), dir() + "report.pdf");
    // A real Word file from LibreOffice is not recognised, so it keeps a wrong name.
    DownloadEntry word = saved("word", "pdf", ReadFile(ORVELLIN_REAL_FILES "/doc.doc"));
    EXPECT_FALSE(CorrectEntryType(word));
    EXPECT_EQ(EntryFilePath(word), dir() + "word.pdf");
}
