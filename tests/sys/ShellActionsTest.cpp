#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include "support/RecordingShell.h"
#include "support/ScriptedDialogs.h"
#include "sys/ShellActions.h"

namespace {

using Op = RecordingShell::Op;

// File names a shell command line would split or run: each must arrive whole.
const QStringList kHostileNames{
    QStringLiteral("it's \"quoted\".pdf"),    QStringLiteral("a;rm -rf ~.txt"),
    QStringLiteral("$(touch pwned)`id`.doc"), QStringLiteral("two\nlines.txt"),
    QStringLiteral("-n --help.txt"),          QStringLiteral("%20 & | > #.txt"),
};

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

}  // namespace

TEST(ShellActions, OpenWithShellSaysWhenTheFileIsMissing) {
    RecordingShell shell;
    ScriptedDialogs dialogs;
    dialogs.expectMessage(QStringLiteral("文件不存在！"), MessageIcon::Error);
    OpenWithShell(QStringLiteral("/no/such/file.pdf"), shell, dialogs);
    EXPECT_TRUE(shell.calls().isEmpty());

    // A folder is not a file either.
    QTemporaryDir dir;
    dialogs.expectMessage(QStringLiteral("文件不存在！"), MessageIcon::Error);
    OpenWithShell(dir.path(), shell, dialogs);
    EXPECT_TRUE(shell.calls().isEmpty());
}

TEST(ShellActions, PathsAndAddressesReachTheHandlerAsOneArgument) {
    QTemporaryDir dir;
    RecordingShell shell;
    ScriptedDialogs dialogs;
    QList<RecordingShell::Call> expected;
    for (const QString& name : kHostileNames) {
        const QString path = dir.filePath(name);
        touch(path);
        OpenWithShell(path, shell, dialogs);
        EXPECT_TRUE(ShowInFolder(path, shell));
        expected.append({Op::OpenFile, path});
        expected.append({Op::ShowInFolder, path});
    }
    const QString address = QStringLiteral("https://maker.example/a?b=\"c\";$(d)&e=\nf");
    OpenWebPage(address, shell);
    expected.append({Op::OpenUrl, address});
    EXPECT_EQ(shell.calls(), expected);
    EXPECT_FALSE(QFile::exists(QDir::current().filePath(QStringLiteral("pwned"))));
}

TEST(ShellActions, FileAddressesOpenTheLocalFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("报告 1.pdf"));
    touch(path);
    RecordingShell shell;
    ScriptedDialogs dialogs;
    OpenWithShell(QStringLiteral(" file://") + path + QStringLiteral(" "), shell, dialogs);
    EXPECT_TRUE(ShowInFolder(QStringLiteral("file://") + path, shell));
    EXPECT_EQ(shell.calls(),
              (QList<RecordingShell::Call>{{Op::OpenFile, path}, {Op::ShowInFolder, path}}));
}

TEST(ShellActions, ShowInFolderIsFalseForMissingFilesAndWhenTheDesktopRefuses) {
    QTemporaryDir dir;
    RecordingShell shell;
    EXPECT_FALSE(ShowInFolder(dir.filePath(QStringLiteral("missing.pdf")), shell));
    EXPECT_FALSE(ShowInFolder(dir.path(), shell));
    EXPECT_TRUE(shell.calls().isEmpty());
    const QString path = dir.filePath(QStringLiteral("a.pdf"));
    touch(path);
    shell.result = false;
    EXPECT_FALSE(ShowInFolder(path, shell));
    EXPECT_EQ(shell.calls().size(), 1);
}

TEST(ShellActions, BrowseForFolderStartsAboveTheGivenFolderAndGivesItBackOnCancel) {
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home/"));
    QDir().mkpath(home);
    const QString downloads = dir.filePath(QStringLiteral("Downloads/"));
    QDir().mkpath(downloads);
    const QString title = QStringLiteral("请选择要浏览的文件夹:");
    ScriptedDialogs dialogs;
    const auto startOfLastPicker = [&dialogs] {
        return dialogs.shown().last().options.initialFolder;
    };

    // /x/Downloads/ and /x/Downloads both start at /x/; cancelling gives the initial path.
    dialogs.expectFolder(QString());
    EXPECT_EQ(BrowseForFolder(dialogs, downloads, title, home), downloads);
    EXPECT_EQ(startOfLastPicker(), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(dialogs.shown().last().text, title);
    dialogs.expectFolder(QString());
    EXPECT_EQ(BrowseForFolder(dialogs, downloads.chopped(1), title, home), downloads);
    EXPECT_EQ(startOfLastPicker(), dir.path() + QLatin1Char('/'));

    // No initial path: the home folder itself. A missing start folder: the home folder.
    dialogs.expectFolder(QString());
    BrowseForFolder(dialogs, QStringLiteral("  "), title, home);
    EXPECT_EQ(startOfLastPicker(), home);
    dialogs.expectFolder(QString());
    BrowseForFolder(dialogs, QStringLiteral("/no/such/place/x/"), title, home);
    EXPECT_EQ(startOfLastPicker(), home);

    // The chosen folder always ends in "/".
    dialogs.expectFolder(downloads.chopped(1));
    EXPECT_EQ(BrowseForFolder(dialogs, QString(), title, home), downloads);
    dialogs.expectFolder(downloads);
    EXPECT_EQ(BrowseForFolder(dialogs, QString(), title, home), downloads);
}

TEST(ShellActions, FeedbackMailIsAMailtoLinkWithEncodedSubjectAndBody) {
    const QString kProgram = QStringLiteral("Orvellin");
    RecordingShell shell;
    EXPECT_FALSE(SendFeedbackMail(shell, QString(), kProgram, QDate(2024, 5, 3)));
    EXPECT_FALSE(SendFeedbackMail(shell, QStringLiteral("  "), kProgram, QDate(2024, 5, 3)));
    EXPECT_TRUE(shell.calls().isEmpty());

    ASSERT_TRUE(SendFeedbackMail(shell, QStringLiteral("https://Maker.Example:8443/soft/"),
                                 kProgram, QDate(2024, 5, 3)));
    ASSERT_EQ(shell.calls().size(), 1);
    EXPECT_EQ(shell.calls()[0].first, Op::OpenUrl);
    const QString link = shell.calls()[0].second;
    ASSERT_TRUE(link.startsWith(QStringLiteral("mailto:feedback@maker.example?subject=")));
    EXPECT_FALSE(link.contains(QLatin1Char(' ')));
    EXPECT_EQ(link.count(QLatin1Char('?')), 1);
    EXPECT_EQ(link.count(QLatin1Char('&')), 1);

    const QUrl url(link, QUrl::StrictMode);
    ASSERT_TRUE(url.isValid());
    const QString query = url.query(QUrl::FullyEncoded);
    const QString subject = query.section(QLatin1Char('&'), 0, 0).mid(8);
    const QString body = query.section(QLatin1Char('&'), 1).mid(5);
    EXPECT_EQ(QUrl::fromPercentEncoding(subject.toLatin1()),
              QStringLiteral("我要对[Orvellin]提建议"));
    const auto blanks = [](int count) { return QString(count, QLatin1Char(' ')); };
    EXPECT_EQ(QUrl::fromPercentEncoding(body.toLatin1()),
              QStringLiteral("软件名称：Orvellin 姓名：") + blanks(11) + QStringLiteral("Email：") +
                  blanks(12) + QStringLiteral("联系地址：") + blanks(12) +
                  QStringLiteral("邮编：") + blanks(15) + QStringLiteral("电话：") + blanks(21) +
                  QStringLiteral("日期：2024/5/3"));
}
