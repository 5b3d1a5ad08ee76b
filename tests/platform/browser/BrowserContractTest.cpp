// The browser contract, run against both browsers on pages served from 127.0.0.1:
// the headless one and the desktop's WebEngine one (offscreen).
#include <gtest/gtest.h>

#include <QFile>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrlQuery>

#include "net/HeadlessBrowserFactory.h"
#include "net/RequestFactory.h"
#include "platform/browser/Browser.h"
#include "platform/browser/CookieJar.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/cache/UrlCache.h"
#include "platform/qt/FormBinder.h"
#include "platform/qt/WebEngineBrowser.h"
#include "platform/qt/WebEngineBrowserFactory.h"
#include "platform/runtime/QtRuntime.h"
#include "search/ResultPageRules.h"
#include "search/fWebSearch.h"
#include "support/FakeSearchEngine.h"
#include "support/TestApp.h"
#include "support/WaitFor.h"
#include "sys/ListHelpers.h"

namespace {

class Contract : public ::testing::TestWithParam<QString> {
  protected:
    Contract() {
        window = std::make_unique<fWebSearch>(app.forms, services);
        browser = window->WebBrowser1;
        connect();
    }

    void connect() {
        QObject::connect(browser, &Browser::documentComplete, &owner,
                         [this](bool topLevel, const QString&) {
                             topLevelCompletions += topLevel ? 1 : 0;
                             if (topLevel) {
                                 pageLoading = false;
                             }
                         });
    }

    bool load(const QString& url) {
        const int before = topLevelCompletions;
        browser->navigate(url);
        return waitFor(runtime, [&] { return topLevelCompletions > before && !browser->busy(); });
    }
    // Waits for a completion that a click or history move started.
    bool settled(int before) {
        return waitFor(runtime, [&] { return topLevelCompletions > before && !browser->busy(); });
    }
    // Lets events run for a while, to see that nothing more happens.
    void idle(double seconds) {
        waitFor(
            runtime, [] { return false; }, seconds);
    }
    QString text(const QString& id) const {
        const auto doc = browser->document();
        return doc ? doc->elementById(id).innerText() : QStringLiteral("<no document>");
    }
    QString page(const QString& path) const { return engine.base() + path; }

    // The engine goes last: it waits for its clients' connections to close.
    FakeSearchEngine engine;
    QtRuntime runtime;
    RequestFactory requests;
    CookieJar* jar = &requests.cookieJar();
    QTemporaryDir dir;
    TestApp app;
    // What the browsers download: the desktop's keeps it in this cache by itself.
    UrlCache urlCache{dir.path() + "/cache/"};
    std::unique_ptr<BrowserFactory> factory = [this]() -> std::unique_ptr<BrowserFactory> {
        if (GetParam() == u"WebEngine") {
            return std::make_unique<WebEngineBrowserFactory>(runtime, jar, dir.path() + "/data/",
                                                             dir.path() + "/cache/");
        }
        return std::make_unique<HeadlessBrowserFactory>(runtime, requests, &urlCache);
    }();
    AppServices services{runtime,   app.dialogs,        app.forms,     app.settings, app.config,
                         app.shell, app.clipboard,      app.screen,    app.sound,    *factory,
                         requests,  app.services.paths, engine.base(), QString()};
    QObject owner;
    std::unique_ptr<fWebSearch> window;
    Browser* browser = nullptr;
    int topLevelCompletions = 0;
    bool pageLoading = false;
};

INSTANTIATE_TEST_SUITE_P(Browsers, Contract, ::testing::Values("Headless", "WebEngine"),
                         [](const auto& info) { return info.param.toStdString(); });

TEST_P(Contract, DocumentsOfferElementsInDocumentOrderAndTheirProperties) {
    browser->setSilent(true);  // the page's alert must not stop anything
    engine.addPage("/doc",
                   "<html><head><title>Doc</title><script>alert('hi')</script></head><body>"
                   "<div id=a class=\"dd algo x\"><div id=b><a id=l href=\"sub/x.pdf?q=1\">"
                   "Link <b>text</b></a></div></div><div id=c><input id=i type=text name=user "
                   "value=v></div></body></html>");
    ASSERT_TRUE(load(page("/doc")));
    const auto doc = browser->document();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(browser->locationUrl(), page("/doc"));
    EXPECT_EQ(doc->url(), page("/doc"));
    QStringList ids;
    for (const HtmlElement div : doc->elementsByTagName(u"div")) {
        ids << div.id();
    }
    EXPECT_EQ(ids, QStringList({"a", "b", "c"}));
    EXPECT_EQ(doc->elementById(u"a").elementsByTagName(u"A").at(0).id(), "l");
    const HtmlElement link = doc->elementById(u"l");
    EXPECT_EQ(link.innerText(), "Link text");
    EXPECT_EQ(link.innerHtml(), "Link <b>text</b>");
    EXPECT_EQ(link.href(), page("/sub/x.pdf?q=1"));
    EXPECT_EQ(doc->elementById(u"a").className(), "dd algo x");
    EXPECT_TRUE(doc->outerHtml().startsWith(u"<html><head><title>Doc</title>"));
    const HtmlElement input = doc->elementById(u"i");
    EXPECT_EQ(input.type(), "text");
    EXPECT_EQ(input.name(), "user");
    browser->setInputValue(input, QStringLiteral("新值"));
    EXPECT_EQ(browser->document()->elementById(u"i").value(), "新值");
}

TEST_P(Contract, AboutBlankCompletesAtOnceAlsoAfterAPageThatNeverCompletes) {
    browser->navigate(QStringLiteral("file:///etc/passwd"));
    EXPECT_FALSE(browser->busy());

    browser->navigate(page("/never"));
    EXPECT_TRUE(browser->busy());
    ASSERT_TRUE(waitFor(runtime, [&] { return engine.requests().contains("/never"); }));
    const int before = topLevelCompletions;
    browser->navigate(QStringLiteral("about:blank"));
    EXPECT_TRUE(browser->busy());
    ASSERT_TRUE(settled(before));
    EXPECT_EQ(browser->locationUrl(), "about:blank");
    ASSERT_NE(browser->document(), nullptr);
    EXPECT_EQ(browser->document()->elementsByTagName(u"body").count(), 1);

    engine.releaseHeld();
    idle(1.0);
    EXPECT_EQ(topLevelCompletions, before + 1);
    EXPECT_EQ(browser->locationUrl(), "about:blank");
}

TEST_P(Contract, ANextLinkClickIsBusyAtOnceAndANoscriptLinkDoesNotShiftIt) {
    engine.addPage("/p1",
                   "<html><body><div class=compPagination><noscript><a class=next href=/wrong>"
                   "Next</a></noscript><a class=next href=/p2>Next<ins></ins></a></div></body>"
                   "</html>");
    engine.addPage("/p2", "<html><body><p id=page>two</p></body></html>", "text/html", 200);
    ASSERT_TRUE(load(page("/p1")));
    HtmlElement next;
    for (const HtmlElement a : browser->document()->elementsByTagName(u"a")) {
        if (a.className().toLower() == u"next" && a.innerText().trimmed().toLower() == u"next") {
            next = a;
            break;
        }
    }
    ASSERT_FALSE(next.isNull());
    const int before = topLevelCompletions;
    browser->click(next);
    EXPECT_TRUE(browser->busy());
    ASSERT_TRUE(settled(before));
    EXPECT_EQ(browser->locationUrl(), page("/p2"));
    EXPECT_EQ(text("page"), "two");
}

TEST_P(Contract, OnlyTheLatestNavigationCompletes) {
    engine.addPage("/fast", "<html><body><p id=page>fast</p></body></html>");
    const int before = topLevelCompletions;
    browser->navigate(page("/slow?ms=1500"));
    browser->navigate(page("/fast"));
    ASSERT_TRUE(settled(before));
    EXPECT_EQ(text("page"), "fast");
    idle(2.0);
    EXPECT_EQ(topLevelCompletions, before + 1);
    EXPECT_EQ(text("page"), "fast");
    EXPECT_EQ(browser->locationUrl(), page("/fast"));
}

TEST_P(Contract, PagingFivePagesWithoutDelayExtractsEachPageOnce) {
    engine.setDefaultResultCount(50);
    ASSERT_TRUE(load(engine.searchUrl("paging", "pdf")));
    QList<int> firsts;
    for (int guard = 0; guard < 10; ++guard) {
        window->ExtractResultPage({});
        const auto doc = browser->document();
        // Each result block carries its number as the engine counts results.
        firsts << FindElementsByClass(doc.get(), "div", "dd algo", false)
                      .value(0)
                      .attribute(u"data-f99")
                      .mid(1)
                      .toInt();
        const QList<HtmlElement> pagination =
            FindElementsByClass(doc.get(), "div", "compPagination", true);
        HtmlElement next;
        for (const HtmlElement a : doc->elementsByTagName(u"a")) {
            if (a.className().toLower() == u"next" &&
                a.innerText().trimmed().toLower() == u"next") {
                next = a;
                break;
            }
        }
        if (pagination.isEmpty() || next.isNull()) {
            break;
        }
        // The driver's wait: while the browser is busy and the page still loading.
        pageLoading = true;
        browser->click(next);
        runtime.yield();
        ASSERT_TRUE(waitFor(runtime, [&] { return !(browser->busy() && pageLoading); }));
    }
    EXPECT_EQ(firsts, QList<int>({1, 11, 21, 31, 41}));

    // The same entries as the rules give on the engine's markup parsed directly.
    QStringList expected;
    const QList<FakeResult> results = FakeSearchEngine::generatedResults("paging", "pdf", 50);
    for (int first = 1; first <= 41; first += 10) {
        FakeSearchEngine::Page markup;
        markup.results = results.mid(first - 1, 10);
        markup.first = first;
        markup.total = 50;
        const auto direct = HtmlDocument::parse(
            FakeSearchEngine::resultPageHtml(engine.base(), markup), engine.base());
        ResultPageRules::Walk(
            direct.get(), [] { return ResultPageRules::Options{}; },
            [&](const ResultPageRules::Entry& entry) {
                expected << entry.link + u'|' + entry.title + u'|' + entry.type;
            });
    }
    QStringList extracted;
    for (int i = 1; i <= window->ListView1->count(); ++i) {
        const ListRow* row = window->ListView1->at(i);
        extracted << row->key() + u'|' + row->text() + u'|' + row->subItem(1);
    }
    EXPECT_EQ(extracted.size(), 25);
    EXPECT_EQ(extracted, expected);
}

TEST_P(Contract, LinkAndFormClicksLoadTheirTargets) {
    engine.addPage("/forms",
                   "<html><body><a id=link href=\"/echo?via=link\">go</a>"
                   "<form action=/echo method=get><input id=user name=user value=old>"
                   "<input type=hidden name=h value=1><input id=go type=submit name=s "
                   "value=Go></form>"
                   "<form action=/echo method=post><input id=pass name=pass value=x>"
                   "<input type=checkbox name=c checked><button id=post>Post</button></form>"
                   "</body></html>");
    ASSERT_TRUE(load(page("/forms")));
    int before = topLevelCompletions;
    browser->click(browser->document()->elementById(u"link"));
    ASSERT_TRUE(settled(before));
    EXPECT_EQ(text("query"), "via=link;");
    EXPECT_TRUE(text("referer").endsWith(u"/forms"));

    ASSERT_TRUE(load(page("/forms")));
    browser->setInputValue(browser->document()->elementById(u"user"), QStringLiteral("新 值"));
    before = topLevelCompletions;
    browser->click(browser->document()->elementById(u"go"));
    ASSERT_TRUE(settled(before));
    EXPECT_EQ(text("method"), "GET");
    EXPECT_EQ(text("query"), "h=1;s=Go;user=新 值;");

    ASSERT_TRUE(load(page("/forms")));
    browser->setInputValue(browser->document()->elementById(u"pass"), QStringLiteral("p&w"));
    before = topLevelCompletions;
    browser->click(browser->document()->elementById(u"post"));
    ASSERT_TRUE(settled(before));
    EXPECT_EQ(text("method"), "POST");
    EXPECT_EQ(text("form"), "c=on;pass=p&w;");
}

TEST_P(Contract, BackAndForwardMoveInTheHistory) {
    EXPECT_FALSE(browser->back());
    EXPECT_FALSE(browser->forward());
    engine.addPage("/a", "<html><body><p id=page>a</p></body></html>");
    engine.addPage("/b", "<html><body><p id=page>b</p></body></html>");
    ASSERT_TRUE(load(page("/a")));
    ASSERT_TRUE(load(page("/b")));
    int before = topLevelCompletions;
    ASSERT_TRUE(browser->back());
    EXPECT_TRUE(browser->busy());
    ASSERT_TRUE(settled(before));
    EXPECT_EQ(text("page"), "a");
    EXPECT_FALSE(browser->back());
    before = topLevelCompletions;
    ASSERT_TRUE(browser->forward());
    ASSERT_TRUE(settled(before));
    EXPECT_EQ(text("page"), "b");
    EXPECT_FALSE(browser->forward());
}

TEST_P(Contract, ANewWindowIsAskedForAndComesIntoTheSameBrowser) {
    engine.addPage("/opener",
                   "<html><body><a id=pop target=_blank href=/popup>pop</a></body></html>");
    engine.addPage("/popup", "<html><body><p id=page>popup</p></body></html>");
    QStringList asked;
    QObject::connect(browser, &Browser::newWindow, &owner, [&](const QString& url, bool* handled) {
        // As the windows do: keep it here and load it themselves.
        asked << url;
        *handled = true;
        browser->navigate(url);
    });
    ASSERT_TRUE(load(page("/opener")));
    const int before = topLevelCompletions;
    browser->click(browser->document()->elementById(u"pop"));
    ASSERT_TRUE(settled(before));
    EXPECT_EQ(asked, QStringList({page("/popup")}));
    EXPECT_EQ(text("page"), "popup");
    idle(0.5);
    EXPECT_EQ(topLevelCompletions, before + 1);
}

TEST_P(Contract, CookiesOfEitherSideReachTheOtherSidesNextRequest) {
    ASSERT_TRUE(load(page("/set-cookie?a=1&h=2&httponly=h")));
    ASSERT_TRUE(waitFor(runtime, [&] { return jar->cookies().size() == 2; }));
    QNetworkReply* reply = requests.send(RequestFactory::request(QUrl(page("/echo"))));
    ASSERT_TRUE(waitFor(runtime, [&] { return reply->isFinished(); }));
    const QString echoed = QString::fromUtf8(reply->readAll());
    reply->deleteLater();
    EXPECT_TRUE(echoed.contains(u"a=1")) << echoed.toStdString();
    EXPECT_TRUE(echoed.contains(u"h=2")) << echoed.toStdString();

    reply = requests.send(RequestFactory::request(QUrl(page("/set-cookie?d=4&httponly=d"))));
    ASSERT_TRUE(waitFor(runtime, [&] { return reply->isFinished(); }));
    reply->deleteLater();
    idle(0.2);
    ASSERT_TRUE(load(page("/echo")));
    EXPECT_TRUE(text("cookies").contains(u"d=4")) << text("cookies").toStdString();
}

TEST_P(Contract, DocumentsThatAreNoPagesAreKeptInTheUrlCache) {
    // Large enough to arrive in many pieces.
    const QByteArray body = "%PDF-1.4\n" + QByteArray(600'000, 'x');
    engine.addPage("/kept/report.pdf", body, "application/pdf");
    browser->navigate(page("/kept/report.pdf"));
    QString stored;
    ASSERT_TRUE(waitFor(runtime, [&] {
        stored = urlCache.localFile(page("/kept/report.pdf"));
        return !stored.isEmpty();
    }));
    EXPECT_TRUE(stored.startsWith(urlCache.folder()));
    EXPECT_TRUE(stored.endsWith(".pdf"));
    QFile file(stored);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), body);
    // Only the document went in: pages stay out of it.
    ASSERT_TRUE(load(page("/echo")));
    EXPECT_EQ(urlCache.entries()->size(), 1);
}

}  // namespace

namespace {

TEST(WebEngineView, FillsTheFormsPlaceholderOfItsName) {
    QtRuntime runtime;
    QTemporaryDir dir;
    TestApp app;
    WebEngineBrowserFactory factory(runtime, nullptr, dir.path() + "/data/",
                                    dir.path() + "/cache/");
    Window window(app.forms, QStringLiteral("fWebSearch"));
    auto* browser = static_cast<WebEngineBrowser*>(factory.create(&window, "WebBrowser1"));
    QWidget form;
    auto* placeholder = new QWidget(&form);
    placeholder->setObjectName(QStringLiteral("WebBrowser1"));
    new FormBinder(window, form);
    EXPECT_EQ(browser->view()->parentWidget(), placeholder);
    EXPECT_EQ(browser->parent(), &window);
}

}  // namespace
