#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/AppPaths.h"
#include "support/ScriptedDialogs.h"
#include "sys/FileSystem.h"

namespace {

const QString kBadFolderName = QStringLiteral("文件夹名称有误！不能创建文件夹！");

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

}  // namespace

TEST(FileExists, NamesAFileByPathOrFileAddressButNeverAFolder) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.txt"));
    touch(file);
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(QStringLiteral("  ") + file + QStringLiteral("  ")));
    EXPECT_TRUE(FileExists(QStringLiteral("file://") + file));
    EXPECT_TRUE(FileExists(QStringLiteral("FILE://") + file));
    EXPECT_TRUE(FileExists(QString(file).replace(QLatin1Char('/'), QLatin1Char('\\'))));
    EXPECT_FALSE(FileExists(QStringLiteral("file:") + file));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(QStringLiteral("file://") + dir.path()));
    EXPECT_FALSE(FileExists(QStringLiteral("   ")));
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_FALSE(FileExists(QStringLiteral("file:///")));
    EXPECT_FALSE(FileExists(file + QStringLiteral(".missing")));
    EXPECT_EQ(LocalFilePath(QStringLiteral(" file:///tmp/a b.txt ")),
              QStringLiteral("/tmp/a b.txt"));
}

TEST(FolderExists, NamesAFolderButNeverAFile) {
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("a.txt")));
    EXPECT_TRUE(FolderExists(dir.path()));
    EXPECT_TRUE(FolderExists(dir.path() + QStringLiteral("/ ")));
    EXPECT_FALSE(FolderExists(dir.filePath(QStringLiteral("a.txt"))));
    EXPECT_FALSE(FolderExists(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(FolderExists(QStringLiteral("  ")));
}

TEST(CreateFolderPath, CreatesEveryLevelFromCleanedPartsAndGivesTheDeepest) {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    const QString root = dir.path();
    EXPECT_EQ(CreateFolderPath(root + QStringLiteral("/down/a?b/"), dialogs),
              root + QStringLiteral("/down/ab"));
    EXPECT_TRUE(QFileInfo(root + QStringLiteral("/down/ab")).isDir());
    // Existing levels are fine; a part loses the dots at its ends (not before a blank).
    EXPECT_EQ(CreateFolderPath(root + QStringLiteral("/down/..报告.. /.c."), dialogs),
              root + QStringLiteral("/down/报告.. /c"));
    // An empty part ends the walk.
    EXPECT_EQ(CreateFolderPath(root + QStringLiteral("/x//y"), dialogs),
              root + QStringLiteral("/x"));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/x/y")));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/y")));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST(CreateFolderPath, APartThatCleansToNothingShowsTheMessageAndStopsThere) {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    const QString root = dir.path();
    QDir(root).mkdir(QStringLiteral("down"));
    dialogs.expectMessage(kBadFolderName, MessageIcon::Error);
    EXPECT_EQ(CreateFolderPath(root + QStringLiteral("/down/?*?/more"), dialogs),
              root + QStringLiteral("/down"));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/down/more")));
    // ".." is no way out of the folder.
    dialogs.expectMessage(kBadFolderName, MessageIcon::Error);
    EXPECT_EQ(CreateFolderPath(root + QStringLiteral("/down/../escaped"), dialogs),
              root + QStringLiteral("/down"));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/escaped")));
    // A network-style path without a server name: the message, and nothing.
    dialogs.expectMessage(kBadFolderName, MessageIcon::Error);
    EXPECT_EQ(CreateFolderPath(QStringLiteral("///share/x"), dialogs), QString());
    EXPECT_EQ(dialogs.shown().size(), 3);
}

TEST(CreateFolderPath, LongPartsAreCutToNamesLinuxAcceptsAndOverlongPathsFailQuietly) {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    const QString root = dir.path();
    // 300 Chinese characters: 76 of them fit in 230 UTF-8 bytes.
    const QString long名 = QStringLiteral("长").repeated(300);
    EXPECT_EQ(CreateFolderPath(root + QLatin1Char('/') + long名, dialogs),
              root + QLatin1Char('/') + QStringLiteral("长").repeated(76));
    // A path of 4,000 characters (12,000 bytes) goes beyond what Linux accepts.
    const QString tooLong =
        root + (QLatin1Char('/') + QStringLiteral("深").repeated(50)).repeated(80);
    EXPECT_EQ(CreateFolderPath(tooLong, dialogs), QString());
    EXPECT_FALSE(FolderExists(tooLong));
    EXPECT_FALSE(FileExists(tooLong));
    EXPECT_EQ(GetShortPath(tooLong), QString());
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST(PathTexts, FileNamesAndExtensionsFollowTheExtensionRule) {
    EXPECT_EQ(FileNameOf(QStringLiteral("a/b/c.tar.gz"), true), QStringLiteral("c.tar"));
    EXPECT_EQ(FileNameOf(QStringLiteral("a\\b\\ c.txt "), false), QStringLiteral("c.txt"));
    EXPECT_EQ(FileNameOf(QStringLiteral("a/b/noext"), true), QStringLiteral("noext"));
    EXPECT_EQ(FileNameOf(QStringLiteral("a/b/"), false), QString());
    EXPECT_EQ(FileNameOf(QStringLiteral("x.abcdefghij"), true), QStringLiteral("x"));

    QString base;
    EXPECT_EQ(SplitFileName(QStringLiteral("/a/b.docx"), base), QStringLiteral("docx"));
    EXPECT_EQ(base, QStringLiteral("b"));
    EXPECT_EQ(SplitFileName(QStringLiteral("/a/archive.torrent7"), base), QString());
    EXPECT_EQ(base, QStringLiteral("archive.torrent7"));
    EXPECT_EQ(SplitFileName(QStringLiteral("x.abcdef"), base), QStringLiteral("abcdef"));
    EXPECT_EQ(SplitFileName(QStringLiteral("x.abcdefg"), base), QString());
    EXPECT_EQ(base, QStringLiteral("x.abcdefg"));
    EXPECT_EQ(SplitFileName(QStringLiteral(" /a/ 报告 . pdf "), base), QStringLiteral("pdf"));
    EXPECT_EQ(base, QStringLiteral("报告"));

    QString extension;
    EXPECT_EQ(SplitFullPath(QStringLiteral("/a/b.docx"), extension, base), QStringLiteral("/a/"));
    EXPECT_EQ(extension, QStringLiteral("docx"));
    EXPECT_EQ(base, QStringLiteral("b"));
    // A name that is all extension keeps it as its base.
    EXPECT_EQ(SplitFullPath(QStringLiteral("/home/.bashrc"), extension, base),
              QStringLiteral("/home/"));
    EXPECT_EQ(base, QStringLiteral(".bashrc"));
    EXPECT_EQ(extension, QString());
    EXPECT_EQ(SplitFullPath(QStringLiteral("name.txt"), extension, base), QString());
    EXPECT_EQ(base, QStringLiteral("name"));
}

TEST(PathTexts, NumberSuffixNeedsDigitsInTheLastBracketsAtTheEnd) {
    QString base;
    EXPECT_EQ(SplitNumberSuffix(QStringLiteral("report[3]"), base), QStringLiteral("3"));
    EXPECT_EQ(base, QStringLiteral("report"));
    EXPECT_EQ(SplitNumberSuffix(QStringLiteral("a[1][ 12 ]"), base), QStringLiteral("12"));
    EXPECT_EQ(base, QStringLiteral("a[1]"));
    for (const QString& name :
         {QStringLiteral("report[a]"), QStringLiteral("[3]"), QStringLiteral("a[1]b"),
          QStringLiteral("a[]"), QStringLiteral("a]"), QStringLiteral("a[-1]"),
          QStringLiteral("a[99999999999999999999]"), QString()}) {
        EXPECT_EQ(SplitNumberSuffix(name, base), QString()) << name.toStdString();
        EXPECT_EQ(base, name);
    }
}

TEST(PathTexts, SiteRootAndHostNames) {
    EXPECT_EQ(SiteRoot(QStringLiteral("x://a.b/c/d")), QStringLiteral("x://a.b"));
    EXPECT_EQ(SiteRoot(QStringLiteral("https://a.b")), QStringLiteral("https://a.b"));
    EXPECT_EQ(SiteRoot(QStringLiteral("abc.de/x")), QStringLiteral("abc.de"));
    EXPECT_EQ(SiteRoot(QStringLiteral("abc/x")), QStringLiteral("abc"));
    EXPECT_EQ(SiteRoot(QStringLiteral("ab/x")), QStringLiteral("ab/x"));
    EXPECT_EQ(SiteRoot(QString()), QString());

    for (const char* host : {"files.abc.de", "abc.de:8080", "ABC.De", "a.b.c.d.info", "1.2.3.45"}) {
        EXPECT_TRUE(IsHostName(QString::fromUtf8(host))) << host;
    }
    for (const char* text : {"my-site.de", "localhost", "a.b.c.d.e.f", "abc.de:", "abc.de:80x",
                             ":80", "", "abc.d", "abc.local1", "bücher.de", "a b.de"}) {
        EXPECT_FALSE(IsHostName(QString::fromUtf8(text))) << text;
    }
}

TEST(PathTexts, ShortPathIsThePathItselfAndTheCacheFolderHasNoTrailingSlash) {
    QTemporaryDir dir;
    EXPECT_EQ(GetShortPath(dir.path()), dir.path());
    EXPECT_EQ(GetShortPath(dir.filePath(QStringLiteral("missing.wav"))), QString());
    EXPECT_EQ(GetShortPath(QString()), QString());
    EXPECT_EQ(GetInternetCacheFolder(AppPaths::under(QStringLiteral("/r")).cacheFolder),
              QStringLiteral("/r/cache/Orvellin"));
    EXPECT_EQ(GetInternetCacheFolder(QString()), QString());
}
