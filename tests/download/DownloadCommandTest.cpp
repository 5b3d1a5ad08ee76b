// `orvellin download`: its options and list reading, and the program itself against the
// file server.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>

#include "DownloadTestSupport.h"
#include "download/DownloadCommand.h"
#include "platform/runtime/QtRuntime.h"
#include "support/FaultFileServer.h"
#include "support/LoginSite.h"
#include "support/WaitFor.h"

namespace {

using DownloadCommand::Retry;

TEST(DownloadCommandOptions, OptionsReachTheirValuesAndBadOnesAreRefused) {
    QString error;
    const auto options = DownloadCommand::Parse({"--list",
                                                 "l.txt",
                                                 "--folder",
                                                 "f",
                                                 "--method",
                                                 "1",
                                                 "--proxy",
                                                 "proxy.example:3128",
                                                 "--slots",
                                                 "6",
                                                 "--pause",
                                                 "600",
                                                 "--max-size",
                                                 "0",
                                                 "--same-name",
                                                 "skip",
                                                 "--retry",
                                                 "both",
                                                 "--retry-rounds",
                                                 "0",
                                                 "--stop-after-failures",
                                                 "--tsv",
                                                 "t.tsv"},
                                                error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->method, 1);
    EXPECT_EQ(options->proxyHost, "proxy.example");
    EXPECT_EQ(options->proxyPort, "3128");
    EXPECT_EQ(options->slots, 6);
    EXPECT_EQ(options->pauseSeconds, 600);
    EXPECT_EQ(options->maxSizeMB, 0);
    EXPECT_EQ(options->sameName, DuplicatePolicy::Skip);
    EXPECT_EQ(options->retry, Retry::Both);
    EXPECT_EQ(options->retryRounds, 0);
    EXPECT_TRUE(options->stopAfterFailures);

    const auto defaults = DownloadCommand::Parse({"--list", "l.txt"}, error);
    ASSERT_TRUE(defaults);
    EXPECT_FALSE(defaults->slots || defaults->pauseSeconds || defaults->maxSizeMB ||
                 defaults->sameName);
    EXPECT_EQ(defaults->retry, Retry::None);
    EXPECT_EQ(defaults->retryRounds, 3);

    const QStringList bad[] = {
        {},
        {"--list", "l", "--slots", "7"},
        {"--list", "l", "--method", "3"},
        {"--list", "l", "--proxy", "host-without-port"},
        {"--list", "l", "--account", "a"},
        {"--list", "l", "--login-url", "http://x/login", "--account", "a"},
        {"--list", "l", "--login-url", "http://x/l", "--ip-login", "--account", "a"},
        {"--list", "l", "--pause", "-1"},
        {"--list", "l", "--same-name", "keep"},
        {"--list", "l", "--retry", "all"},
        {"--list", "l", "extra"}};
    for (const QStringList& args : bad) {
        EXPECT_FALSE(DownloadCommand::Parse(args, error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(DownloadCommandList, AddressLinesAndSearchResultLinesBothBecomeDocuments) {
    const QList<DownloadCommand::Document> documents = DownloadCommand::ReadDocuments(
        "http://a.example/x/Report.PDF?from=list\r\n"
        "\n"
        "  \n"
        "标题\thttp://b.example/y\tdoc\t成功\t/tmp/d/\thttp://engine/search?p=1\n"
        "http://c.example/noext\n");
    ASSERT_EQ(documents.size(), 3);
    EXPECT_EQ(documents[0].link, "http://a.example/x/Report.PDF?from=list");
    EXPECT_EQ(documents[0].type, "pdf");
    EXPECT_TRUE(documents[0].title.isEmpty());
    EXPECT_EQ(documents[1].title, "标题");
    EXPECT_EQ(documents[1].link, "http://b.example/y");
    EXPECT_EQ(documents[1].type, "doc");
    EXPECT_EQ(documents[1].folder, "/tmp/d/");
    EXPECT_EQ(documents[1].sourcePage, "http://engine/search?p=1");
    EXPECT_EQ(documents[2].type, "");
}

class DownloadCommandRun : public ::testing::Test {
  protected:
    int run(const QStringList& args) {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(ORVELLIN_PROGRAM, QStringList{"download"} + args);
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
        }
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    // The per-user folders point into the test's own folder, so that a write shows.
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.filePath("user"));
        environment.insert("XDG_CONFIG_HOME", home.filePath("user/config"));
        environment.insert("XDG_DATA_HOME", home.filePath("user/data"));
        environment.insert("XDG_CACHE_HOME", home.filePath("user/cache"));
        return environment;
    }
    // What the run over `lines` leaves: one Done for each good document, every state in
    // the TSV, the files only in the folder.
    void checkRun(const QStringList& lines, const QString& folder, const QString& tsv,
                  const QStringList& expected);
    QString list(const QStringList& lines) {
        const QString path = home.filePath("list.txt");
        EXPECT_TRUE(WriteFile(path, lines.join('\n').toUtf8()));
        return path;
    }

    FaultFileServer server;
    QTemporaryDir home;
    QString out;
    QString err;
};

TEST_F(DownloadCommandRun, EveryLineEndsInAStateAndNothingIsWrittenOutsideTheFolder) {
    const QString folder = home.filePath("files");
    const QString tsv = home.filePath("r.tsv");
    const QStringList lines{server.url("/known.pdf"),
                            server.url("/login.pdf"),
                            server.url("/404.pdf"),
                            "ftp://127.0.0.1/x.pdf",
                            "http://127.0.0.1:9/a \"quoted\" name/../../x.pdf",
                            "http://127.0.0.1:9/" + QString(8192, 'z') + ".pdf"};
    EXPECT_EQ(run({"--list", list(lines), "--folder", folder, "--slots", "6", "--tsv", tsv}), 1)
        << err.toStdString();
    checkRun(lines, folder, tsv, {"Done", "Done", "Failed", "Failed", "Failed", "Failed"});
    // The same list over one connection: it keeps the error page that came with a
    // length, as a web page.
    QDir(folder).removeRecursively();
    EXPECT_EQ(run({"--list", list(lines), "--folder", folder, "--method", "1", "--tsv", tsv}), 1)
        << err.toStdString();
    checkRun(lines, folder, tsv, {"Done", "Done", "Done", "Failed", "Failed", "Failed"});
    EXPECT_EQ(ReadFile(folder + "/404.htm"), FaultFileServer::errorPage());
}

void DownloadCommandRun::checkRun(const QStringList& lines, const QString& folder,
                                  const QString& tsv, const QStringList& expected) {
    const QStringList rows = QString::fromUtf8(ReadFile(tsv)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), lines.size());
    QStringList states;
    for (const QString& row : rows) {
        const QStringList fields = row.split('\t');
        ASSERT_EQ(fields.size(), 8);
        EXPECT_EQ(fields[5], folder + "/");
        states.append(fields[6]);
    }
    EXPECT_EQ(states, expected);
    EXPECT_EQ(ReadFile(folder + "/known.pdf"), FaultFileServer::document());
    EXPECT_EQ(ReadFile(folder + "/login.htm"), FaultFileServer::loginPage());
    const auto done = expected.count("Done");
    const auto failed = expected.count("Failed");
    EXPECT_EQ(out.count("完成\t"), done);
    EXPECT_EQ(out.count("失败\t"), failed);
    EXPECT_TRUE(out.contains(
        QStringLiteral("总数:6 正在下载:0 等待:0 已完成:%1 失败:%2").arg(done).arg(failed)))
        << out.toStdString();
    // Only the folder and the list: no settings, no cue files.
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"files", "list.txt", "r.tsv"}));
}

TEST_F(DownloadCommandRun, ALoginBeforeTheRunLetsTheMembersDocumentThrough) {
    const LoginSite site;
    const QString folder = home.filePath("files");
    const QString address = site.url("/docs/members.pdf");
    // The password comes from the environment, never from the command line.
    qputenv("ORVELLIN_PASSWORD", LoginSite::kPassword);
    const int code = run({"--list", list({address}), "--folder", folder, "--login-url",
                          site.url("/login"), "--account", LoginSite::kAccount});
    qunsetenv("ORVELLIN_PASSWORD");
    EXPECT_EQ(code, 0) << err.toStdString();
    EXPECT_EQ(site.logins(), 1);
    EXPECT_EQ(ReadFile(folder + "/members.pdf"), LoginSite::document());
}

TEST_F(DownloadCommandRun, BadOptionsEndWithTheirCodeBeforeAnythingIsFetched) {
    EXPECT_EQ(run({"--list", home.filePath("missing.txt")}), 2);
    EXPECT_TRUE(err.contains("cannot read the list"));
    EXPECT_EQ(
        run({"--list", list({server.url("/known.pdf")}), "--tsv", home.filePath("no/such/r.tsv")}),
        2);
    EXPECT_TRUE(err.contains("cannot write"));
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_TRUE(out.startsWith("Usage: orvellin download --list FILE [options]\n"));
}

TEST_F(DownloadCommandRun, ATerminationStopsTheTransfersAndStillWritesTheList) {
    const QString folder = home.filePath("files");
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(ORVELLIN_PROGRAM,
                  QStringList{"download", "--list", list({server.url("/huge.pdf")}), "--folder",
                              folder, "--max-size", "100", "--tsv", home.filePath("r.tsv")});
    ASSERT_TRUE(process.waitForStarted());
    QtRuntime runtime;
    ASSERT_TRUE(waitFor(runtime, [&] { return QFile::exists(folder + "/huge.pdf"); }));
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 128 + SIGTERM);
    const QStringList fields = QString::fromUtf8(ReadFile(home.filePath("r.tsv"))).split('\t');
    ASSERT_EQ(fields.size(), 8);
    EXPECT_EQ(fields[6], "Failed");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"huge.pdf"}));
}

}  // namespace
