#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>

#include "platform/controls/ListView.h"
#include "platform/runtime/QtRuntime.h"
#include "platform/text/Gbk.h"
#include "search/SearchCommand.h"
#include "support/FakeSearchEngine.h"
#include "support/WaitFor.h"

namespace {

using SearchCommand::Options;

std::optional<Options> parse(const QStringList& args, QString* error = nullptr,
                             const QString& environmentBase = QString()) {
    QString reason;
    auto options = SearchCommand::Parse(args, environmentBase, reason);
    if (error) {
        *error = reason;
    }
    return options;
}

TEST(SearchCommandOptions, UnsetOptionsKeepTheWindowsStartValues) {
    const auto options = parse({"--keyword", "机器学习"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->keywords, "机器学习");
    EXPECT_EQ(options->types, (std::array<bool, 5>{true, true, true, true, true}));
    EXPECT_EQ(options->delaySeconds, 0);
    EXPECT_EQ(options->timeoutSeconds, 10);
    EXPECT_FALSE(options->phrase || options->titleOnly || options->simplifiedChinese ||
                 options->keepUnknown || options->keepBlanks || options->keepSource);
    EXPECT_EQ(options->searchBase, "https://search.yahoo.com");
    EXPECT_TRUE(options->saveFolder.isEmpty());
}

TEST(SearchCommandOptions, EveryOptionReachesItsControl) {
    QTemporaryDir temp;
    const QString file = temp.filePath("groups.txt");
    QFile groups(file);
    ASSERT_TRUE(groups.open(QIODevice::WriteOnly));
    groups.write(
        "\xEF\xBB\xBF"
        "a\r\n\r\nb c\nd\n");
    groups.close();
    const auto options = parse({"--keywords",
                                file,
                                "--keyword",
                                "e",
                                "--types",
                                "XLS, pdf",
                                "--delay",
                                "120",
                                "--timeout",
                                "10",
                                "--phrase",
                                "--title-only",
                                "--simplified-chinese",
                                "--keep-unknown",
                                "--keep-blanks",
                                "--keep-source",
                                "--search-base",
                                "http://127.0.0.1:9/",
                                "--export",
                                "x.txt",
                                "--tsv",
                                "x.tsv"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->keywords, "a\r\n\r\nb c\r\nd\r\n\r\ne");
    EXPECT_EQ(options->types, (std::array<bool, 5>{true, false, false, true, false}));
    EXPECT_EQ(options->delaySeconds, 120);
    EXPECT_TRUE(options->phrase && options->titleOnly && options->simplifiedChinese &&
                options->keepUnknown && options->keepBlanks && options->keepSource);
    EXPECT_EQ(options->searchBase, "http://127.0.0.1:9");
    EXPECT_EQ(options->exportFile, "x.txt");
    EXPECT_EQ(options->tsvFile, "x.tsv");
}

TEST(SearchCommandOptions, TheSearchBaseComesFromTheOptionThenTheEnvironment) {
    EXPECT_EQ(parse({"--keyword", "a"}, nullptr, "http://127.0.0.1:7/")->searchBase,
              "http://127.0.0.1:7");
    EXPECT_EQ(parse({"--keyword", "a", "--search-base", "https://e.example"}, nullptr,
                    "http://127.0.0.1:7")
                  ->searchBase,
              "https://e.example");
    QString error;
    EXPECT_FALSE(parse({"--keyword", "a"}, &error, "127.0.0.1:7"));
    EXPECT_FALSE(error.isEmpty());
}

TEST(SearchCommandOptions, BadOptionsAreRefusedWithAReason) {
    const QList<QStringList> bad = {
        {},
        {"--keyword", "  ", "--keyword", ""},
        {"--keywords", "/no/such/file"},
        {"--keyword", "a", "--delay", "121"},
        {"--keyword", "a", "--delay", "-1"},
        {"--keyword", "a", "--delay", "5s"},
        {"--keyword", "a", "--timeout", "9"},
        {"--keyword", "a", "--timeout", "121"},
        {"--keyword", "a", "--types", "pdf,docx"},
        {"--keyword", "a", "--types", ","},
        {"--keyword", "a", "--search-base", "ftp://x"},
        {"--keyword", "a", "--frobnicate"},
        {"--keyword", "a", "stray"},
    };
    for (const QStringList& args : bad) {
        QString error;
        EXPECT_FALSE(parse(args, &error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty()) << args.join(' ').toStdString();
    }
}

TEST(SearchCommandOutput, TsvFieldsKeepToOneLineEach) {
    ListView list(nullptr, "ListView1");
    for (int column = 0; column < 4; ++column) {
        list.addColumn(QString::number(column));
    }
    ListRow* row = list.add("http://f.cn/a.pdf", "报告\tA\r\nB");
    list.setSubItem(row, 1, "pdf");
    list.setSubItem(row, 3, "/s/\n");
    list.setTag(row, "http://e/search?p=a b");
    list.add("http://f.cn/b.pdf", "二");
    EXPECT_EQ(SearchCommand::TsvText(list),
              "报告 A  B\thttp://f.cn/a.pdf\tpdf\t\t/s/ \thttp://e/search?p=a b\n"
              "二\thttp://f.cn/b.pdf\t\t\t\t\n");
}

// The program itself against the fake engine on 127.0.0.1.
class SearchCommandRun : public ::testing::Test {
  protected:
    SearchCommandRun() {
        engine.setDefaultResultCount(20);
        engine.setResultsPerPage(10);
    }

    int run(const QStringList& args) {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(ORVELLIN_PROGRAM,
                      QStringList{"search", "--search-base", engine.base()} + args);
        process.waitForFinished(60000);
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // The home and per-user folders point into the test's own folder, so that a write shows.
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.filePath("user"));
        environment.insert("XDG_CONFIG_HOME", home.filePath("user/config"));
        environment.insert("XDG_DATA_HOME", home.filePath("user/data"));
        environment.insert("XDG_CACHE_HOME", home.filePath("user/cache"));
        environment.remove("ORVELLIN_SEARCH_BASE");
        return environment;
    }

    QByteArray read(const QString& name) {
        QFile file(home.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    FakeSearchEngine engine;
    QTemporaryDir home;
    QString out;
    QString err;
};

TEST_F(SearchCommandRun, PrintsProgressWritesTheResultsAndTouchesNoSettings) {
    const QString folder = home.filePath("saved/deep");
    EXPECT_EQ(run({"--keyword", "甲", "--keyword", " ", "--keyword", "乙", "--types", "pdf,txt",
                   "--save-folder", folder, "--tsv", home.filePath("r.tsv"), "--export",
                   home.filePath("r.txt")}),
              0)
        << err.toStdString();
    // Ten kept results per group and type; 乙's "论文" documents are 甲's.
    EXPECT_EQ(out, "甲(pdf)\n甲(txt)\n乙(pdf)\n乙(txt)\n结果：36\n");
    const QByteArray tsv = read("r.tsv");
    EXPECT_FALSE(tsv.contains('\r'));
    const QStringList lines = QString::fromUtf8(tsv).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 36);
    const QStringList first = lines.first().split('\t');
    ASSERT_EQ(first.size(), 6);
    EXPECT_EQ(first.at(0), "甲研究报告1");
    EXPECT_EQ(first.at(1), engine.base() + "/files/pdf/甲-1.pdf");
    EXPECT_EQ(first.at(2), "pdf");
    EXPECT_EQ(first.at(4), folder + "/");
    EXPECT_TRUE(first.at(5).startsWith(engine.base() + "/search?"));
    EXPECT_TRUE(QDir(folder).exists());
    // The export holds the same entries in the same order, in GBK with CR LF.
    QString exported;
    for (const QString& line : lines) {
        const QStringList fields = line.split('\t');
        exported += fields.at(0) + "-【" + fields.at(2) + "】" + fields.at(3) + "\r\n";
    }
    EXPECT_EQ(read("r.txt"), Gbk::encode(exported));
    // No settings, no SaveList.dat, no cache: nothing of the user's.
    EXPECT_FALSE(QDir(home.filePath("user")).exists());
}

TEST_F(SearchCommandRun, TheVerificationPageEndsTheRunWithItsOwnExitCode) {
    engine.setVerificationAfter(3);
    EXPECT_EQ(run({"--keyword", "甲", "--keyword", "乙", "--types", "pdf,doc"}), 3);
    // 甲's pdf pages and the first doc page; the fourth search meets the check.
    EXPECT_EQ(out, "甲(pdf)\n甲(doc)\n结果：15\n");
    EXPECT_TRUE(err.contains("human check"));
}

TEST_F(SearchCommandRun, BadOptionsAndUnwritableFilesEndWithTheirCodes) {
    EXPECT_EQ(run({"--delay", "3"}), 2);
    EXPECT_TRUE(err.contains("no keyword group"));
    EXPECT_TRUE(err.contains("--keywords <FILE>"));
    QFile blocker(home.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_EQ(run({"--keyword", "甲", "--save-folder", home.filePath("file/sub")}), 2);
    EXPECT_EQ(run({"--keyword", "甲", "--types", "pdf", "--tsv", home.filePath("no/such/r.tsv")}),
              1);
    EXPECT_TRUE(out.endsWith("结果：10\n"));
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_TRUE(out.startsWith("Usage: orvellin search [options]\n"));
    EXPECT_TRUE(out.contains("--simplified-chinese"));
}

TEST_F(SearchCommandRun, DownloadFetchesEveryResultAndAFailedOneYieldsToTheCheck) {
    engine.setDefaultResultCount(10);
    engine.setResults(
        "乙", "pdf",
        {{"<b>乙</b> 报告", "/files/pdf/乙.pdf"}, {"<b>乙</b> 缺失", "/missing/乙.pdf"}});
    struct Case {
        QStringList keywords;
        bool check;  // the search after the first meets the verification page
        int code;
    };
    // 甲's documents all arrive, one of 乙's is missing, and then 丙 meets the check.
    const Case cases[] = {{{"甲"}, false, 0}, {{"乙"}, false, 1}, {{"乙", "丙"}, true, 3}};
    for (const Case& c : cases) {
        const QString folder = home.filePath(QStringLiteral("docs/%1").arg(c.code));
        engine.setVerificationAfter(c.check ? engine.searchRequests() + 1 : 0);
        QStringList args{"--types", "pdf", "--download", folder, "--tsv", home.filePath("r.tsv")};
        for (const QString& keyword : c.keywords) {
            args << "--keyword" << keyword;
        }
        EXPECT_EQ(run(args), c.code) << err.toStdString();

        const QStringList lines = QString::fromUtf8(read("r.tsv")).split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        int arrived = 0;
        for (const QString& line : lines) {
            const QStringList fields = line.split('\t');
            EXPECT_EQ(fields.at(3), "成功");
            if (!fields.at(1).contains("/missing/")) {
                const bool posing = fields.at(1).contains(FakeSearchEngine::kPosingPath);
                const QString name = fields.at(0) + (posing ? ".htm" : ".pdf");
                EXPECT_TRUE(QFile::exists(folder + '/' + name)) << name.toStdString();
                ++arrived;
            }
        }
        EXPECT_EQ(out.count("\n完成\t"), arrived);
        EXPECT_EQ(out.count("\n失败\t"), lines.size() - arrived);
    }
    EXPECT_FALSE(QDir(home.filePath("user")).exists());
}

TEST_F(SearchCommandRun, ATerminationStopsTheBatchAndStillWritesTheResults) {
    // Every search page hangs, so the run is in its first page wait when the signal comes.
    engine.setSearchNeverCompletes(true);
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(ORVELLIN_PROGRAM,
                  QStringList{"search", "--search-base", engine.base(), "--keyword", "甲",
                              "--types", "pdf,doc", "--tsv", home.filePath("r.tsv")});
    ASSERT_TRUE(process.waitForStarted());
    QtRuntime runtime;
    ASSERT_TRUE(waitFor(runtime, [&] { return engine.searchRequests() > 0; }));
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(30000));
    engine.releaseHeld();
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 128 + SIGTERM);
    // The stop came during pdf: doc is never searched.
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), "甲(pdf)\n结果：0\n");
    EXPECT_TRUE(QFile::exists(home.filePath("r.tsv")));
}

}  // namespace
