// What the headless browser does beyond the contract that both browsers share (that
// suite is BrowserContractTest): frames, pages that are no pages, scripts it cannot
// run, charsets, redirects and its bounds.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "net/HeadlessBrowser.h"
#include "net/RequestFactory.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/runtime/QtRuntime.h"
#include "platform/text/Gbk.h"
#include "support/FakeSearchEngine.h"
#include "support/WaitFor.h"

namespace {

class Headless : public ::testing::Test {
  protected:
    // Navigates and waits for the top-level document.
    bool load(const QString& url) {
        int before = topLevel();
        browser.navigate(url);
        return waitFor(runtime, [&] { return topLevel() > before && !browser.busy(); });
    }
    int topLevel() const {
        int count = 0;
        for (const auto& args : completions) {
            count += args.at(0).toBool() ? 1 : 0;
        }
        return count;
    }
    QString text(const QString& id) const {
        const auto doc = browser.document();
        return doc ? doc->elementById(id).innerText() : QStringLiteral("<no document>");
    }

    // The engine goes last: its workers wait for the clients' connections to close.
    FakeSearchEngine engine;
    QtRuntime runtime;
    RequestFactory requests;
    QObject owner;
    HeadlessBrowser browser{runtime, requests, &owner, QStringLiteral("WebBrowser1")};
    QSignalSpy completions{&browser, &Browser::documentComplete};
};

TEST_F(Headless, FramesCompleteAsFramesAfterTheTopLevelDocument) {
    engine.addPage("/frame", "<html><body>frame</body></html>");
    engine.addPage("/framed", QStringLiteral("<html><body><iframe src=\"%1/frame\"></iframe>"
                                             "<iframe src=\"/slow?ms=100\"></iframe>"
                                             "<iframe src=\"javascript:alert(1)\"></iframe>"
                                             "</body></html>")
                                  .arg(engine.base())
                                  .toUtf8());
    ASSERT_TRUE(load(engine.base() + "/framed"));
    ASSERT_TRUE(waitFor(runtime, [&] { return completions.size() == 3; }));
    EXPECT_EQ(completions.at(0), QVariantList({true, engine.base() + "/framed"}));
    QStringList frames{completions.at(1).at(1).toString(), completions.at(2).at(1).toString()};
    frames.sort();
    EXPECT_EQ(frames, QStringList({engine.base() + "/frame", engine.base() + "/slow?ms=100"}));
    EXPECT_FALSE(completions.at(1).at(0).toBool());
    EXPECT_FALSE(completions.at(2).at(0).toBool());
    EXPECT_EQ(browser.locationUrl(), engine.base() + "/framed");
}

TEST_F(Headless, AClickOnAnElementWithAScriptHandlerDoesNothing) {
    engine.addPage(
        "/scripted",
        "<a id=a href=/echo onclick=\"go()\">a</a><a href=/echo><span id=b onclick=\"x()\">"
        "b</span></a><a id=c href=\"javascript:go()\">c</a><div id=d>d</div>");
    ASSERT_TRUE(load(engine.base() + "/scripted"));
    const auto doc = browser.document();
    for (const auto id : {u"a", u"b", u"c", u"d"}) {
        browser.click(doc->elementById(id));
        EXPECT_FALSE(browser.busy()) << QString::fromUtf16(id).toStdString();
    }
    runtime.yield();
    EXPECT_EQ(browser.document(), doc);
}

TEST_F(Headless, PagesThatAreNotHtmlAndFailedLoadsCompleteWithoutADocument) {
    ASSERT_TRUE(load(engine.base() + "/files/pdf/report.pdf"));
    EXPECT_EQ(browser.document(), nullptr);
    EXPECT_EQ(browser.locationUrl(), engine.base() + "/files/pdf/report.pdf");

    // An HTTP error page is still a page.
    ASSERT_TRUE(load(engine.base() + "/nothing-here"));
    ASSERT_NE(browser.document(), nullptr);
    EXPECT_TRUE(browser.document()->outerHtml().contains(u"not found"));

    const int closedPort = [] {
        FakeSearchEngine gone;
        return gone.port();
    }();
    ASSERT_TRUE(load(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort)));
    EXPECT_EQ(browser.document(), nullptr);
}

TEST_F(Headless, RedirectsAreFollowedOverHttpOnly) {
    ASSERT_TRUE(load(engine.base() + "/r/x/RU=" +
                     QString::fromLatin1(QUrl::toPercentEncoding(engine.base() + "/echo?from=r")) +
                     "/RK=2/"));
    EXPECT_EQ(browser.locationUrl(), engine.base() + "/echo?from=r");
    EXPECT_EQ(text("query"), "from=r;");

    ASSERT_TRUE(load(engine.base() + "/r/x/RU=file%3a%2f%2f%2fetc%2fpasswd/RK=2/"));
    EXPECT_EQ(browser.document(), nullptr);
}

TEST_F(Headless, PagesInOtherCharsetsAreDecoded) {
    engine.addPage("/gbk", Gbk::encode("<html><body><p id=t>中文页面</p></body></html>"),
                   "text/html; charset=GB2312");
    engine.addPage("/gbk-meta",
                   "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                   "charset=gbk\"></head><body><p id=t>" +
                       Gbk::encode("元数据") + "</p></body></html>",
                   "text/html");
    ASSERT_TRUE(load(engine.base() + "/gbk"));
    EXPECT_EQ(text("t"), "中文页面");
    ASSERT_TRUE(load(engine.base() + "/gbk-meta"));
    EXPECT_EQ(text("t"), "元数据");
}

TEST_F(Headless, CompressedRepliesAreReadToo) {
    engine.setCompression(true);
    ASSERT_TRUE(load(engine.searchUrl("压缩", "pdf")));
    EXPECT_EQ(browser.document()->elementsByTagName(u"h3").count(), 10);
}

TEST_F(Headless, PagesOverTheSizeLimitAreCut) {
    QByteArray big = "<html><body><p id=first>first</p>";
    while (big.size() < 9 * 1024 * 1024) {
        big += "<p>filler filler filler filler filler filler filler filler</p>";
    }
    big += "<p id=last>last</p></body></html>";
    engine.addPage("/big", big);
    ASSERT_TRUE(load(engine.base() + "/big"));
    EXPECT_EQ(text("first"), "first");
    EXPECT_TRUE(browser.document()->elementById(u"last").isNull());
}

}  // namespace
