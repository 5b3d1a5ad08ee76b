#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/TestChild.h"
#include "sys/FileSystem.h"

namespace {

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

void makeFolder(const QString& path) {
    ASSERT_TRUE(QDir().mkpath(path)) << path.toStdString();
}

// root/ b.txt A.txt a.txt pagefile.sys PAGEFILE.SYS RECYCLER/ sub/ Sub2/ (x.pdf) sub/deep/ (y.doc)
class FolderWalk : public testing::Test {
  protected:
    void SetUp() override {
        root = dir.path() + QStringLiteral("/root");
        makeFolder(root + QStringLiteral("/sub/deep"));
        makeFolder(root + QStringLiteral("/Sub2"));
        makeFolder(root + QStringLiteral("/RECYCLER"));
        for (const char* name : {"b.txt", "A.txt", "a.txt", "pagefile.sys", "PAGEFILE.SYS",
                                 "sub/z.doc", "sub/deep/y.doc", "Sub2/x.pdf", "RECYCLER/r.bin"}) {
            touch(root + QLatin1Char('/') + QString::fromUtf8(name));
        }
    }

    QTemporaryDir dir;
    QString root;
};

}  // namespace

TEST_F(FolderWalk, FilesComeInNameOrderFolderByFolderDepthFirstAfterEachFolder) {
    QStringList result{QString()};
    QString folder = root;
    ListFiles(folder, result, true);
    EXPECT_EQ(folder, root + QLatin1Char('/'));  // the caller sees the "/"
    const QString r = root + QLatin1Char('/');
    EXPECT_EQ(result,
              (QStringList{QString(), r + "A.txt", r + "a.txt", r + "b.txt", r + "RECYCLER/r.bin",
                           r + "sub/z.doc", r + "sub/deep/y.doc", r + "Sub2/x.pdf"}));

    // The walks append: the caller's list is never cleared.
    folder = root + QStringLiteral("/sub");
    ListFiles(folder, result, false);
    EXPECT_EQ(result.size(), 9);
    EXPECT_EQ(result.last(), r + "sub/z.doc");
}

TEST_F(FolderWalk, SubfoldersOfAbsoluteFoldersOnly) {
    QStringList result{QString()};
    QString folder = root + QLatin1Char('/');
    ListSubfolders(folder, result, true);
    const QString r = root + QLatin1Char('/');
    EXPECT_EQ(result,
              (QStringList{QString(), r + "RECYCLER", r + "sub", r + "Sub2", r + "sub/deep"}));

    result = {QString()};
    folder = root;
    ListSubfolders(folder, result, false);
    EXPECT_EQ(result.size(), 4);

    // A relative folder adds nothing to the subfolders and stays as it was, while the
    // files of a relative folder are listed from the current folder.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QString relative = QStringLiteral("root");
    result = {QString()};
    ListSubfolders(relative, result, true);
    EXPECT_EQ(relative, QStringLiteral("root"));
    EXPECT_EQ(result, QStringList{QString()});
    ListFiles(relative, result, false);
    EXPECT_EQ(result, (QStringList{QString(), "root/A.txt", "root/a.txt", "root/b.txt"}));
    QDir::setCurrent(previous);
}

TEST_F(FolderWalk, MissingEmptyAndNonFolderTextsAddNothing) {
    for (QString folder :
         {root + QStringLiteral("/missing"), root + QStringLiteral("/a.txt"), QString()}) {
        QStringList result{QString()};
        ListFiles(folder, result, true);
        ListSubfolders(folder, result, true);
        EXPECT_EQ(result, QStringList{QString()}) << folder.toStdString();
    }
}

TEST_F(FolderWalk, SymbolicLinkLoopsEndAndEachFolderIsWalkedOnce) {
    const QString r = root + QLatin1Char('/');
    ASSERT_TRUE(QFile::link(root, r + "sub/deep/up"));      // a loop back to the root
    ASSERT_TRUE(QFile::link(r + "sub", r + "sub/self"));    // a folder linking to itself
    ASSERT_TRUE(QFile::link(r + "gone", r + "dangling"));   // a link to nothing
    ASSERT_TRUE(QFile::link(r + "b.txt", r + "link.txt"));  // a link to a file
    QStringList files{QString()};
    QString folder = root;
    ListFiles(folder, files, true);
    EXPECT_EQ(files, (QStringList{QString(), r + "A.txt", r + "a.txt", r + "b.txt", r + "link.txt",
                                  r + "RECYCLER/r.bin", r + "sub/z.doc", r + "sub/deep/y.doc",
                                  r + "Sub2/x.pdf"}));
    QStringList folders{QString()};
    ListSubfolders(folder, folders, true);
    EXPECT_EQ(folders, (QStringList{QString(), r + "RECYCLER", r + "sub", r + "Sub2",
                                    r + "sub/deep", r + "sub/self", r + "sub/deep/up"}));
}

TEST_F(FolderWalk, NamesThatAreNotUtf8AndSpecialFilesAreLeftOut) {
    const QByteArray bad = QFile::encodeName(root) + "/bad\xff\xfe.txt";
    FILE* file = std::fopen(bad.constData(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    const QByteArray badFolder = QFile::encodeName(root) + "/sub/\xc3(";
    ASSERT_EQ(mkdir(badFolder.constData(), 0755), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(root + QStringLiteral("/pipe")).constData(), 0644), 0);
    // A file whose valid name is what the bad one would decode to must not be confused
    // with it.
    touch(root + QStringLiteral("/bad\uFFFD\uFFFD.txt"));

    QStringList files{QString()};
    QString folder = root;
    ListFiles(folder, files, false);
    EXPECT_EQ(files.size(), 5);
    EXPECT_TRUE(files.contains(root + QStringLiteral("/bad\uFFFD\uFFFD.txt")));
    EXPECT_FALSE(files.contains(root + QStringLiteral("/pipe")));
    QStringList folders{QString()};
    ListSubfolders(folder, folders, true);
    EXPECT_EQ(folders.size(), 5);
    unlink(bad.constData());
    rmdir(badFolder.constData());
}

TEST_F(FolderWalk, UnreadableFoldersAddNothingAndTheWalkGoesOn) {
    // Run as a user without rights: root reads every folder.
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(root + QStringLiteral("/sub")).constData(), 0), 0);
    QProcess child;
    child.start(TestChild::program(), {QStringLiteral("list-as-nobody"), root});
    ASSERT_TRUE(child.waitForFinished(30000));
    chmod(QFile::encodeName(root + QStringLiteral("/sub")).constData(), 0755);
    ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString r = root + QLatin1Char('/');
    EXPECT_EQ(lines, (QStringList{"file ", "file " + r + "A.txt", "file " + r + "a.txt",
                                  "file " + r + "b.txt", "file " + r + "RECYCLER/r.bin",
                                  "file " + r + "Sub2/x.pdf", "folder ", "folder " + r + "RECYCLER",
                                  "folder " + r + "sub", "folder " + r + "Sub2"}));
}

TEST(FolderWalkLongPaths, FilesAtFourThousandCharactersAreFound) {
    QTemporaryDir dir;
    // 19 levels of 200 characters: a file path of about 4,000 characters.
    QString deep = dir.path();
    for (int level = 0; level < 19; ++level) {
        deep += QLatin1Char('/') + QString(200, QLatin1Char('a' + level));
    }
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString file = deep + QStringLiteral("/f.txt");
    ASSERT_GT(file.size(), 3800);
    touch(file);
    QStringList files{QString()};
    QString folder = dir.path();
    ListFiles(folder, files, true);
    EXPECT_EQ(files, (QStringList{QString(), file}));
    QStringList folders{QString()};
    ListSubfolders(folder, folders, true);
    EXPECT_EQ(folders.size(), 20);
    // Beyond what the system accepts as a path: nothing, and no failure.
    QString tooLong = deep + QLatin1Char('/') + QString(200, QLatin1Char('z'));
    QStringList none{QString()};
    ListFiles(tooLong, none, true);
    tooLong = QString(5000, QLatin1Char('/'));
    ListSubfolders(tooLong, none, true);
    EXPECT_EQ(none.size(), 1);
}
