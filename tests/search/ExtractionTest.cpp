#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/browser/HtmlDocument.h"
#include "search/ResultPageRules.h"
#include "search/fWebSearch.h"
#include "support/FakeBrowser.h"
#include "support/FakeSearchEngine.h"
#include "support/TestApp.h"

namespace {

const QString kPage = QStringLiteral("http://engine.example/search?p=a");

class Extraction : public ::testing::Test {
  protected:
    fWebSearch& window() { return *window_; }
    FakeBrowser& browser() { return *app.browsers.browsers().constLast(); }

    // Shows `html` in the window's browser at `url`.
    void show(const QString& html, const QString& url = kPage) {
        browser().addPage(url, html);
        browser().navigate(url);
        app.runtime.yield();
        ASSERT_FALSE(browser().busy());
    }

    QString resultPage(const QList<FakeResult>& results) {
        FakeSearchEngine::Page page;
        page.results = results;
        page.total = int(results.size());
        return QString::fromUtf8(
            FakeSearchEngine::resultPageHtml(QStringLiteral("http://engine.example"), page));
    }

    TestApp app;
    std::unique_ptr<fWebSearch> window_ = std::make_unique<fWebSearch>(app.forms, app.services);
};

TEST_F(Extraction, AcceptedResultsBecomeRowsWithTheirColumnsAndTheCountShows) {
    EXPECT_EQ(window().Label1->caption(), "0");
    show(resultPage({{"<b>机器</b> 学习 报告 - example.com", "http://files.cn/机器.pdf"},
                     {"Data ... sheet", "http://files.cn/data.XLS"},
                     {"资料_百度文库", "http://files.cn/x.pdf"}}));
    window().ExtractResultPage(QStringLiteral("/home/u/12345/"));
    ListView& list = *window().ListView1;
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(1)->key(), "http://files.cn/机器.pdf");
    EXPECT_EQ(list.at(1)->text(), "机器学习报告");
    EXPECT_EQ(list.at(1)->subItem(1), "pdf");
    EXPECT_EQ(list.at(1)->subItem(2), "");
    EXPECT_EQ(list.at(1)->subItem(3), "/home/u/12345/");
    EXPECT_EQ(list.at(1)->tag(), kPage);
    EXPECT_EQ(list.at(2)->text(), "Datasheet");
    EXPECT_EQ(list.at(2)->subItem(1), "xls");
    EXPECT_EQ(window().Label1->caption(), "2");
    EXPECT_EQ(list.columns().size(), 4);
    EXPECT_EQ(list.columns().at(2).caption, "分析状态");
}

TEST_F(Extraction, TheOptionsChangeWhatIsKept) {
    window().Check1->setValue(false);
    window().Check2->setValue(false);
    window().Check12->setValue(false);
    show(resultPage({{"Annual report - abc.de", "http://files.cn/r.docx"}}));
    window().ExtractResultPage({});
    ASSERT_EQ(window().ListView1->count(), 1);
    EXPECT_EQ(window().ListView1->at(1)->text(), "Annual report - abc.de");
    EXPECT_EQ(window().ListView1->at(1)->subItem(1), "");
}

TEST_F(Extraction, KnownLinksAreRefusedAndLinksDifferingInCaseAreNot) {
    show(resultPage({{"One", "http://files.cn/a.pdf"}, {"Two", "http://files.cn/A.pdf"}}));
    window().ExtractResultPage({});
    window().ExtractResultPage(QStringLiteral("/other/"));
    ASSERT_EQ(window().ListView1->count(), 2);
    EXPECT_EQ(window().ListView1->at(1)->subItem(3), "");
    EXPECT_EQ(window().Label1->caption(), "2");
}

TEST_F(Extraction, TheVerificationPageRaisesTheFlagAndStillSetsTheCount) {
    show(resultPage({{"One", "http://files.cn/a.pdf"}}));
    window().ExtractResultPage({});
    show(QString::fromUtf8(FakeSearchEngine::verificationPageHtml()),
         QStringLiteral("http://engine.example/verify"));
    window().Label1->setCaption(QStringLiteral("stale"));
    window().ExtractResultPage({});
    EXPECT_TRUE(window().runState.verificationDemanded);
    EXPECT_EQ(window().ListView1->count(), 1);
    EXPECT_EQ(window().Label1->caption(), "1");
}

TEST_F(Extraction, BadPagesNeverCrashAndYieldNothing) {
    QString deep;
    for (int i = 0; i < 450'000; ++i) {
        deep += QStringLiteral("<div class=\"dd algo x\">");
    }
    const QStringList pages = {
        QString(),
        QStringLiteral("%PDF-1.4 \x01\x02 binary"),
        QStringLiteral("<div class=\"dd algo x\"><a href=\"http://r/RU=%E4%E4%zz%"),
        QStringLiteral("<div class=\"dd algo x\"><a href=\"http://r/RU=%%%%%%/RK=\">t</a></div>"),
        deep,
    };
    int n = 0;
    for (const QString& page : pages) {
        show(page, QStringLiteral("http://engine.example/bad%1").arg(n++));
        window().ExtractResultPage({});
    }
    // The broken escapes stay undecoded; that link is all that came through.
    window().Check2->setValue(false);
    window().ExtractResultPage({});
    EXPECT_LE(window().ListView1->count(), 1);
    EXPECT_FALSE(window().runState.verificationDemanded);
}

TEST_F(Extraction, AWindowWithoutBrowserOrPageOnlySetsTheCount) {
    window().Label1->setCaption(QStringLiteral("x"));
    window().ExtractResultPage({});
    EXPECT_EQ(window().Label1->caption(), "0");
}

// Today's engine markup differs from the described one; the rules stay as described.
// This records what they find on real pages and guards against crashes on them.
TEST(RealResultPages, TheRulesFindTheBlocksTheyDescribe) {
    const QDir folder(qEnvironmentVariable("ORVELLIN_FIXTURES") + QStringLiteral("/serp"));
    const QStringList files = folder.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        GTEST_SKIP() << "no saved result pages in " << folder.path().toStdString();
    }
    // Blocks, and entries with unknown types allowed, per page.
    const QHash<QString, QPair<int, int>> expected = {
        {"webis-de__archive-query-log__yahoo-trans-texas-corridor-1613259804.html", {10, 10}},
        {"webis-de__archive-query-log__yahoo-diver-lg-u8180-1620023310.html", {10, 9}},
        {"webis-de__archive-query-log__yahoo-civil-code-1658358754.html", {6, 0}},
        {"NikolaiT__GoogleScraper__snow_yahoo_de_ip.html", {0, 0}},
        {"Tydwdh__tpi__yahoo_results.html", {3, 3}},
        {"bisohns__search-engine-parser__yahoo-Hello-synopsis.html", {9, 9}},
        {"sanguinary-bus__web-search-mcp__yahoo.html", {2, 0}},
        {"webis-de__archive-query-log__yahoo-telekwiaciarnia-pl-1436841282.html", {10, 0}},
    };
    for (const QString& name : files) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const auto doc =
            HtmlDocument::parse(file.readAll(), QStringLiteral("https://search.example/"));
        int blocks = 0;
        for (const HtmlElement div : doc->elementsByTagName(u"div")) {
            blocks += div.className().trimmed().toLower().startsWith(u"dd algo ") ? 1 : 0;
        }
        int typed = 0;
        int all = 0;
        const auto count = [&](bool knownOnly, int& into) {
            ResultPageRules::Walk(
                doc.get(),
                [&] {
                    return ResultPageRules::Options{true, knownOnly, true};
                },
                [&](const ResultPageRules::Entry&) { ++into; });
        };
        count(true, typed);
        count(false, all);
        std::printf("%s: %d blocks, %d entries (%d of known type)\n", qPrintable(name), blocks, all,
                    typed);
        ::testing::Test::RecordProperty(
            name.toStdString(),
            QStringLiteral("%1/%2/%3").arg(blocks).arg(all).arg(typed).toStdString());
        if (expected.contains(name)) {
            EXPECT_EQ(blocks, expected.value(name).first) << name.toStdString();
            EXPECT_EQ(all, expected.value(name).second) << name.toStdString();
        }
    }
}

}  // namespace
