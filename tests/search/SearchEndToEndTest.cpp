#include <gtest/gtest.h>

#include <QSet>
#include <QUrl>

#include "app/HeadlessSession.h"
#include "platform/browser/Browser.h"
#include "platform/browser/HtmlDocument.h"
#include "search/fWebSearch.h"
#include "support/FakeSearchEngine.h"

namespace {

// The engine's documents of a query and type, as the list holds them.
QSet<QString> servedLinks(const FakeSearchEngine& engine, const QString& query, const QString& type,
                          int count) {
    QSet<QString> links;
    for (const FakeResult& result : FakeSearchEngine::generatedResults(query, type, count)) {
        links.insert(QUrl(engine.base()).resolved(QUrl(result.target)).toString());
    }
    return links;
}

// The search window with the real headless browser against the fake engine over
// 127.0.0.1: two groups, every type, three pages each; one page never answers and the
// second group meets the verification page.
TEST(SearchEndToEnd, TheBatchCollectsWhatTheEngineServedAndStopsAtTheCheck) {
    constexpr int kResults = 30;
    FakeSearchEngine engine;
    engine.setDefaultResultCount(kResults);
    engine.setResultsPerPage(10);
    QTextStream messages(stderr);
    HeadlessSession session(engine.base(), messages);
    fWebSearch& window = *session.loadWindow<fWebSearch>();
    window.savePathPreset = true;
    session.config().AskPathAtExtraction = 0;
    window.Text1->setText(QStringLiteral("alpha\r\nbeta"));

    // The first page of alpha's ppt search never answers; beta's second search meets
    // the verification page.
    QObject::connect(window.Text2, &Control::changed, [&] {
        const QString progress = window.Text2->text();
        if (progress.endsWith(QStringLiteral("alpha(doc) "))) {
            engine.setSearchNeverCompletes(true);
        } else if (progress.endsWith(QStringLiteral("alpha(ppt) "))) {
            engine.setSearchNeverCompletes(false);
            engine.releaseHeld();
        } else if (progress.endsWith(QStringLiteral("beta(pdf) "))) {
            engine.setVerificationAfter(engine.searchRequests());
        }
    });
    window.Command1->click();

    EXPECT_EQ(window.Text2->text(),
              "alpha(pdf) alpha(doc) alpha(ppt) alpha(xls) alpha(txt) \r\nbeta(pdf) beta(doc) ");
    EXPECT_TRUE(window.runState.verificationDemanded);
    const auto document = window.WebBrowser1->document();
    ASSERT_TRUE(document);
    EXPECT_TRUE(document->outerHtml().contains(FakeSearchEngine::kVerificationText));

    QHash<QString, int> perType;
    QSet<QString> served;
    for (const char* type : {"pdf", "doc", "xls", "txt"}) {
        served += servedLinks(engine, "alpha", type, kResults);
    }
    served += servedLinks(engine, "beta", "pdf", kResults);
    for (int position = 1; position <= window.ListView1->count(); ++position) {
        const ListRow* row = window.ListView1->at(position);
        EXPECT_TRUE(served.contains(row->key())) << row->key().toStdString();
        EXPECT_TRUE(row->tag().startsWith(engine.base() + "/search?"));
        ++perType[row->subItem(1)];
    }
    // Five of every ten results pass the rules; beta's "论文" documents are alpha's.
    EXPECT_EQ(perType.value("pdf"), 15 + 12);
    EXPECT_EQ(perType.value("doc"), 15);
    EXPECT_EQ(perType.value("ppt"), 0);
    EXPECT_EQ(perType.value("xls"), 15);
    EXPECT_EQ(perType.value("txt"), 15);
    EXPECT_EQ(window.Command1->caption(), fWebSearch::kBatchStart);
}

}  // namespace
