#include <gtest/gtest.h>

#include "app/SettingsKeys.h"
#include "app/fSeleFileSavePath.h"
#include "search/SearchAddress.h"
#include "search/fWebSearch.h"
#include "support/FakeBrowser.h"
#include "support/FakeSearchEngine.h"
#include "support/TestApp.h"

namespace {

const QString kBase = QStringLiteral("http://engine.example");
constexpr int kPerPage = 10;
// The engine's generated results keep five of every ten through the extraction rules.
constexpr int kKeptPerPage = 5;

// The search window on virtual time, with a scripted browser that serves the result
// pages a batch asks for.
class SearchBatchTest : public ::testing::Test {
  protected:
    SearchBatchTest() {
        app.services.searchBase = kBase;
        app.settings.SettingsWrite(Settings::kAskPathAtExtraction.section,
                                   Settings::kAskPathAtExtraction.key, QStringLiteral("0"));
        window = app.forms.load<fWebSearch>(fWebSearch::kName);
        browser().addPage(kBase + QLatin1Char('/'), QStringLiteral("<html>home</html>"));
    }

    FakeBrowser& browser() { return *app.browsers.browsers().constLast(); }

    QString address(const QString& group, int type) {
        return BuildSearchAddress(kBase, group, kFileTypes[size_t(type)], window->searchOptions());
    }

    // Serves `pages` result pages for a group and type, linked by their next links; each
    // page completes after `delayMs`. `unserved` pages at the end are linked but never
    // complete. Gives the address of every page.
    QStringList serve(const QString& group, int type, int pages, int delayMs = 0, int unserved = 0,
                      bool lastShows100 = false) {
        QStringList urls{address(group, type)};
        for (int page = 2; page <= pages + unserved; ++page) {
            urls.append(kBase +
                        QStringLiteral("/page/%1/%2/%3").arg(++serial_).arg(type).arg(page));
        }
        const QString typeName = kFileTypes[size_t(type)].type;
        const QList<FakeResult> results = FakeSearchEngine::generatedResults(
            group + QString::number(serial_), typeName, kPerPage * (pages + unserved));
        for (int page = 1; page <= pages; ++page) {
            FakeSearchEngine::Page markup;
            markup.results = results.mid((page - 1) * kPerPage, kPerPage);
            markup.first = (page - 1) * kPerPage + 1;
            markup.total = int(results.size());
            markup.perPage = kPerPage;
            markup.nextUrl = page < urls.size() ? urls.at(page) : QString();
            markup.shows100 = lastShows100 && page == pages;
            browser().addPage(urls.at(page - 1),
                              QString::fromUtf8(FakeSearchEngine::resultPageHtml(kBase, markup)),
                              delayMs);
        }
        return urls;
    }

    // The engine's addresses the browser was sent to or clicked, about:blank left out.
    QStringList visited() const {
        QStringList urls;
        for (const QString& url : app.browsers.browsers().constLast()->navigations()) {
            if (url != QStringLiteral("about:blank")) {
                urls.append(url);
            }
        }
        urls.append(app.browsers.browsers().constLast()->clickedLinks());
        return urls;
    }

    void setTypes(std::initializer_list<bool> checked) {
        CheckBox* const boxes[] = {window->Check3, window->Check8, window->Check9, window->Check10,
                                   window->Check11};
        int i = 0;
        for (bool on : checked) {
            boxes[i++]->setValue(on);
        }
    }

    void expectIdle() {
        EXPECT_EQ(window->Command1->caption(), fWebSearch::kBatchStart);
        EXPECT_EQ(window->Command4->caption(), fWebSearch::kAddAllStart);
        EXPECT_TRUE(window->Command1->enabled());
        EXPECT_FALSE(window->Command1->backColor().isValid());
        EXPECT_TRUE(window->runState.batchStop);
        EXPECT_TRUE(window->runState.addAllStop);
    }

    TestApp app;
    fWebSearch* window = nullptr;
    int serial_ = 0;
};

TEST_F(SearchBatchTest, EveryGroupAndTypeIsSearchedPagedAndReportedAndTheHomePageEndsTheRun) {
    window->Text1->setText(QStringLiteral("a\r\n\r\n  b  "));
    int pagesServed = 0;
    for (const QString& group : {QStringLiteral("a"), QStringLiteral("b")}) {
        for (int type = 0; type < 5; ++type) {
            pagesServed += int(serve(group, type, 2).size());
        }
    }
    bool redWhileRunning = false;
    app.runtime.callAfter(1, [&] {
        redWhileRunning = window->Command1->backColor() == Color::fromRgb(0xFF0000) &&
                          window->Command1->caption() == fWebSearch::kBatchStop;
    });
    window->Command1->click();

    EXPECT_TRUE(redWhileRunning);
    EXPECT_EQ(window->Text2->text(),
              "a(pdf) a(doc) a(ppt) a(xls) a(txt) \r\nb(pdf) b(doc) b(ppt) b(xls) b(txt) \r\n");
    // Ten searches with their second pages, and the home page at load and at the end.
    const QStringList urls = visited();
    EXPECT_EQ(urls.size(), pagesServed + 2);
    EXPECT_TRUE(urls.contains(address(QStringLiteral("b"), 4)));
    EXPECT_EQ(browser().navigations().constLast(), kBase + QLatin1Char('/'));
    // The engine's "论文" results link the same file for every query, one per page: the
    // list refuses them the second time.
    const int kept = 10 * 2 * kKeptPerPage - 5 * 2;
    EXPECT_EQ(window->ListView1->count(), kept);
    EXPECT_EQ(window->Label1->caption(), QString::number(kept));
    expectIdle();
}

TEST_F(SearchBatchTest, WithoutTypesEachGroupGivesAnEmptyLineAndItsDelay) {
    setTypes({false, false, false, false, false});
    window->Text1->setText(QStringLiteral("a\r\nb"));
    window->Combo1->setListIndex(3);
    const double start = app.runtime.now();
    window->Command1->click();
    EXPECT_EQ(window->Text2->text(), "\r\n\r\n");
    EXPECT_GE(app.runtime.now() - start, 6.0);
    EXPECT_LT(app.runtime.now() - start, 7.0);
    EXPECT_EQ(visited(), QStringList(2, kBase + QLatin1Char('/')));
}

TEST_F(SearchBatchTest, APageThatNeverCompletesHoldsEachWaitForTheTimeOutAndEndsThatTypesPaging) {
    setTypes({true, true, false, false, false});
    window->Text1->setText(QStringLiteral("a"));
    // pdf: the first page never completes; doc: its second page never completes.
    const QStringList doc = serve(QStringLiteral("a"), 1, 1, 0, 1);
    double docStart = -1;
    QObject::connect(&browser(), &Browser::beforeNavigate, [&](const QString& url) {
        if (url == doc.first()) {
            docStart = app.runtime.now();
        }
    });
    const double start = app.runtime.now();
    window->Command1->click();

    EXPECT_EQ(window->Text2->text(), "a(pdf) a(doc) \r\n");
    ASSERT_GE(docStart, 0);
    EXPECT_NEAR(docStart - start, 10.0, 0.1);
    EXPECT_NEAR(app.runtime.now() - docStart, 10.0, 0.1);
    EXPECT_EQ(browser().clickedLinks(), QStringList{doc.at(1)});
    EXPECT_EQ(window->ListView1->count(), kKeptPerPage);
    expectIdle();
}

TEST_F(SearchBatchTest, StopDuringADelayEndsTheBatchAndTheButtonWaitsForTheRunToEnd) {
    window->Text1->setText(QStringLiteral("a\r\nb"));
    window->Combo1->setListIndex(30);
    serve(QStringLiteral("a"), 0, 1);
    bool disabledAfterStop = false;
    app.runtime.callAfter(5000, [&] {
        window->Command1->click();
        disabledAfterStop =
            !window->Command1->enabled() && window->Command1->caption() == fWebSearch::kBatchStop;
    });
    window->Command1->click();
    EXPECT_TRUE(disabledAfterStop);
    EXPECT_LT(app.runtime.now(), 5.1);
    EXPECT_EQ(window->Text2->text(), "a(pdf) ");
    EXPECT_FALSE(visited().contains(address(QStringLiteral("a"), 1)));
    expectIdle();
}

TEST_F(SearchBatchTest, StoppingTheAddAllRunInsideABatchEndsOnlyThatTypesPaging) {
    setTypes({true, true, false, false, false});
    window->Text1->setText(QStringLiteral("a"));
    const QStringList pdf = serve(QStringLiteral("a"), 0, 8, 1000);
    const QStringList doc = serve(QStringLiteral("a"), 1, 2, 1000);
    app.runtime.callAfter(3500, [&] { window->Command4->click(); });
    window->Command1->click();

    EXPECT_EQ(window->Text2->text(), "a(pdf) a(doc) \r\n");
    EXPECT_FALSE(visited().contains(pdf.constLast()));
    EXPECT_TRUE(visited().contains(doc.at(1)));
    expectIdle();
}

TEST_F(SearchBatchTest, TheVerificationPageEndsEverythingAndStaysOnScreen) {
    window->Text1->setText(QStringLiteral("a\r\nb"));
    serve(QStringLiteral("a"), 0, 1);
    const QString check = address(QStringLiteral("a"), 1);
    browser().addPage(check, QString::fromUtf8(FakeSearchEngine::verificationPageHtml()));
    window->Command1->click();

    EXPECT_TRUE(window->runState.verificationDemanded);
    EXPECT_EQ(window->Text2->text(), "a(pdf) a(doc) ");
    EXPECT_EQ(browser().navigations().constLast(), check);
    EXPECT_EQ(browser().locationUrl(), check);
    EXPECT_EQ(window->ListView1->count(), kKeptPerPage);
    expectIdle();

    // The next add-all run outside a batch clears the flag again.
    window->Command4->click();
    EXPECT_TRUE(window->runState.verificationDemanded);
    browser().navigate(address(QStringLiteral("a"), 0));
    app.runtime.waitUntil([&] { return !browser().busy(); }, 1);
    window->Command4->click();
    EXPECT_FALSE(window->runState.verificationDemanded);
}

TEST_F(SearchBatchTest, APageWhosePaginationShowsPage100IsExtractedAndNotLeft) {
    setTypes({true, false, false, false, false});
    window->Text1->setText(QStringLiteral("a"));
    serve(QStringLiteral("a"), 0, 2, 0, 1, true);
    window->Command1->click();
    EXPECT_EQ(browser().clickedLinks().size(), 1);
    EXPECT_EQ(window->ListView1->count(), 2 * kKeptPerPage);
}

TEST_F(SearchBatchTest, ANextLinkThatLoadsNothingEndsThePaging) {
    setTypes({true, false, false, false, false});
    window->Text1->setText(QStringLiteral("a"));
    const QStringList pages = serve(QStringLiteral("a"), 0, 1, 0, 1);
    const QString first = pages.first();
    FakeSearchEngine::Page markup;
    markup.results = FakeSearchEngine::generatedResults(QStringLiteral("a"), "pdf", kPerPage);
    markup.total = kPerPage;
    markup.nextUrl = pages.at(1);
    QString html = QString::fromUtf8(FakeSearchEngine::resultPageHtml(kBase, markup));
    html.replace(QStringLiteral("href=\"%1\"").arg(pages.at(1).toHtmlEscaped()), QString());
    browser().addPage(first, html);
    window->Command1->click();
    EXPECT_TRUE(browser().clickedLinks().isEmpty());
    EXPECT_EQ(window->Text2->text(), "a(pdf) \r\n");
    expectIdle();
}

TEST_F(SearchBatchTest, ABatchIsRefusedWhileAnAddAllRunIsActive) {
    const QStringList pages = serve(QStringLiteral("a"), 0, 3, 2000);
    browser().navigate(pages.first());
    app.runtime.waitUntil([&] { return !browser().busy(); }, 5);
    app.dialogs.expectMessage(QStringLiteral("正在提取网页信息，请停止以后使用该功能！"),
                              MessageIcon::Error);
    bool refusedQuietly = false;
    app.runtime.callAfter(1000, [&] {
        window->Command1->click();
        refusedQuietly = window->Command1->caption() == fWebSearch::kBatchStart &&
                         !window->Command1->backColor().isValid() &&
                         window->Text2->text().isEmpty();
    });
    window->Command4->click();
    EXPECT_TRUE(refusedQuietly);
    EXPECT_EQ(window->ListView1->count(), 3 * kKeptPerPage);
    expectIdle();
}

TEST_F(SearchBatchTest, ACancelledSavePathDialogLeavesTheStoredFolderForTheEntries) {
    app.settings.SettingsWrite(Settings::kAskPathAtExtraction.section,
                               Settings::kAskPathAtExtraction.key, QStringLiteral("1"));
    app.settings.SettingsWrite(Settings::kSaveFolder.section, Settings::kSaveFolder.key,
                               QStringLiteral("/stored/"));
    window->close();
    window = app.forms.load<fWebSearch>(fWebSearch::kName);
    browser().addPage(kBase + QLatin1Char('/'), QStringLiteral("<html>home</html>"));
    setTypes({true, false, false, false, false});
    window->Text1->setText(QStringLiteral("a"));
    serve(QStringLiteral("a"), 0, 1);
    app.dialogs.expectModal(fSeleFileSavePath::kName, [](Window& dialog) {
        dialog.control<Button>(QStringLiteral("Command3"))->click();
    });
    window->Command1->click();
    ASSERT_EQ(window->ListView1->count(), kKeptPerPage);
    EXPECT_EQ(window->ListView1->at(1)->subItem(3), "/stored/");
}

TEST_F(SearchBatchTest, KeywordBoxesOfAnyShapeRunWithoutHarm) {
    setTypes({true, false, false, false, false});
    QStringList lines;
    for (int i = 0; i < 10000; ++i) {
        lines.append(i % 3 == 0 ? QStringLiteral("   ") : QString());
    }
    lines.append(QString(5000, QChar(u'字')));
    lines.append(QStringLiteral("\t\x01\x7f  Ünï 中文 𠀀 عربى"));
    window->Text1->setText(lines.join(QStringLiteral("\r\n")));
    window->Command1->click();
    EXPECT_EQ(window->Text2->text().count(QStringLiteral("\r\n")), 2);
    EXPECT_EQ(window->ListView1->count(), 0);
    expectIdle();
}

}  // namespace
