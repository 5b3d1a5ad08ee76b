#include <gtest/gtest.h>

#include "platform/browser/HtmlDocument.h"
#include "search/ResultPageRules.h"

using ResultPageRules::DecodeRedirectTarget;

namespace {

TEST(DecodeRedirectTarget, DecodesAsciiEscapes) {
    EXPECT_EQ(DecodeRedirectTarget("a%3a%2f%2fb%2freport.pdf"), "a://b/report.pdf");
    EXPECT_EQ(DecodeRedirectTarget("plain"), "plain");
    EXPECT_EQ(DecodeRedirectTarget(""), "");
}

TEST(DecodeRedirectTarget, ReadsEscapedUtf8AsUtf8) {
    EXPECT_EQ(DecodeRedirectTarget("http%3a%2f%2fx.cn%2f%E6%9C%BA%E5%99%A8.pdf"),
              "http://x.cn/机器.pdf");
    // Plain characters between the escapes belong to the same text.
    EXPECT_EQ(DecodeRedirectTarget("%e4%b8%ad文-%F0%9F%98%80"), "中文-😀");
}

TEST(DecodeRedirectTarget, ReadsOtherBytesAsGbkPairs) {
    // 中 is D6 D0 in GBK, which is no valid UTF-8.
    EXPECT_EQ(DecodeRedirectTarget("x%2f%D6%D0.doc"), "x/中.doc");
    // A pair without a GBK character gives the replacement character and goes on.
    EXPECT_EQ(DecodeRedirectTarget("%FF%FFa"), QString(QChar(0xFFFD)) + "a");
}

TEST(DecodeRedirectTarget, StopsAtALeadEscapeWithoutATrailEscape) {
    EXPECT_EQ(DecodeRedirectTarget("abc%E4def"), "abc");
    EXPECT_EQ(DecodeRedirectTarget("abc%D6"), "abc");
}

TEST(DecodeRedirectTarget, FailsOnABrokenEscape) {
    EXPECT_EQ(DecodeRedirectTarget("a%zz"), std::nullopt);
    EXPECT_EQ(DecodeRedirectTarget("a%4"), std::nullopt);
    EXPECT_EQ(DecodeRedirectTarget("a%"), std::nullopt);
    EXPECT_EQ(DecodeRedirectTarget("%D6%Zx"), std::nullopt);
}

struct Walked {
    ResultPageRules::PageKind kind;
    QList<ResultPageRules::Entry> entries;
};

Walked walk(const QString& blocks, ResultPageRules::Options options = {}) {
    const auto doc = HtmlDocument::parse(("<html><body>" + blocks + "</body></html>").toUtf8(),
                                         QStringLiteral("http://engine.example/search?p=x"));
    Walked out;
    out.kind = ResultPageRules::Walk(
        doc.get(), [&] { return options; },
        [&](const ResultPageRules::Entry& entry) { out.entries.append(entry); });
    return out;
}

QString block(const QString& title, const QString& target, const QString& cls = "dd algo algo-sr") {
    return QStringLiteral(
               "<div class=\"%1\"><h3><a href=\"http://r.example/_ylt=1/RU=%2/RK=2/RS=x-\">"
               "%3</a></h3><a href=\"/other\">Cached</a></div>")
        .arg(cls, target, title);
}

TEST(ResultPage, ResultBlocksAreDivsWhoseClassStartsWithTheEnginesPrefix) {
    const auto walked = walk(block("A", "http%3a%2f%2fa.cn%2fa.pdf") +
                             block("B", "http%3a%2f%2fa.cn%2fb.pdf", "  DD Algo x  ") +
                             block("C", "http%3a%2f%2fa.cn%2fc.pdf", "dd algo ") +
                             block("D", "http%3a%2f%2fa.cn%2fd.pdf", "dd algorithm") +
                             block("E", "http%3a%2f%2fa.cn%2fe.pdf", "x dd algo y"));
    ASSERT_EQ(walked.entries.size(), 2);
    EXPECT_EQ(walked.entries.at(0).title, "A");
    EXPECT_EQ(walked.entries.at(0).link, "http://a.cn/a.pdf");
    EXPECT_EQ(walked.entries.at(0).type, "pdf");
    EXPECT_EQ(walked.entries.at(1).title, "B");
}

TEST(ResultPage, OnlyTheFirstLinkThroughTheRedirectGivesAnEntry) {
    const auto walked = walk(
        "<div class=\"dd algo a\"><a href=\"http://site.cn/direct.pdf\">direct</a></div>"
        "<div class=\"dd algo b\"><a href=\"http://r.example/RU=http%3a%2f%2fa.cn%2fx.pdf/RS=1\">"
        "no end</a></div>"
        "<div class=\"dd algo c\"><a href=\"http://r.example/ru=http%3a%2f%2fa.cn%2fy.PDF/rk=2\">"
        "any case</a></div>"
        "<div class=\"dd algo d\">no link</div>"
        "<div class=\"dd algo e\"><a "
        "href=\"http://r.example/RU=a%zz.pdf/RK=1\">undecodable</a></div>");
    ASSERT_EQ(walked.entries.size(), 2);
    EXPECT_EQ(walked.entries.at(0).link, "http://a.cn/y.PDF");
    EXPECT_EQ(walked.entries.at(0).type, "pdf");
    EXPECT_EQ(walked.entries.at(1).link, "a%zz.pdf");
}

TEST(ResultPage, UnknownTypesAreDroppedOnlyWhenAskedTo) {
    const QString page = block("docx", "http%3a%2f%2fa.cn%2fx.docx") +
                         block("query", "http%3a%2f%2fa.cn%2fx.pdf%3fdl%3d1") +
                         block("txt", "http%3a%2f%2fa.cn%2fX.TXT");
    EXPECT_EQ(walk(page).entries.size(), 1);
    ResultPageRules::Options all;
    all.knownTypesOnly = false;
    const auto walked = walk(page, all);
    ASSERT_EQ(walked.entries.size(), 3);
    EXPECT_EQ(walked.entries.at(0).type, "");
    EXPECT_EQ(walked.entries.at(1).type, "");
    EXPECT_EQ(walked.entries.at(2).type, "txt");
}

QString titleAfter(const QString& title, bool removeBlanks, bool removeSourceSite) {
    ResultPageRules::Options options;
    options.removeBlanks = removeBlanks;
    options.removeSourceSite = removeSourceSite;
    const auto walked = walk(block(title, "http%3a%2f%2fa.cn%2fx.pdf"), options);
    return walked.entries.isEmpty() ? QStringLiteral("<rejected>") : walked.entries.at(0).title;
}

TEST(ResultPage, TitlesAreCleaned) {
    EXPECT_EQ(titleAfter("Annual report - abc.de", false, true), "Annual report");
    EXPECT_EQ(titleAfter("Annual report - abc.de", true, true), "Annualreport");
    EXPECT_EQ(titleAfter("Annual report - abc.de", false, false), "Annual report - abc.de");
    EXPECT_EQ(titleAfter("A-B testing", false, true), "A-B testing");
    EXPECT_EQ(titleAfter("-abc.de", false, true), "-abc.de");
    EXPECT_EQ(titleAfter("  Big <b>data</b>... report...  ", false, false), "Big data report");
    EXPECT_EQ(titleAfter("...", false, false), "<rejected>");
}

TEST(ResultPage, TitlesOfSharingSitesAreRefused) {
    for (const QString title :
         {"报告 _ 百度文库", "报告-百度知道", "报告 - docin.com豆丁网", "报告 DOCIN.COM豆丁网",
          "报告-豆丁网", "报告_360百科", "报告-道客巴巴", "报告 - 搜狗百科—全文"}) {
        EXPECT_EQ(titleAfter(title, false, true), "<rejected>") << title.toStdString();
    }
    // The tail after the last "-" is no host name, so it stays and the title is refused.
    EXPECT_EQ(titleAfter("报告-百度文库", false, true), "<rejected>");
    EXPECT_EQ(titleAfter("报告 -豆丁网 摘要", false, true), "报告 -豆丁网 摘要");
}

TEST(ResultPage, TheVerificationPageAddsNothing) {
    const auto walked =
        walk("<p>" + ResultPageRules::kVerificationText + "</p>" + block("A", "a.pdf"));
    EXPECT_EQ(walked.kind, ResultPageRules::PageKind::Verification);
    EXPECT_TRUE(walked.entries.isEmpty());
    EXPECT_EQ(ResultPageRules::Walk(
                  nullptr, [] { return ResultPageRules::Options{}; },
                  [](const ResultPageRules::Entry&) {}),
              ResultPageRules::PageKind::NoDocument);
}

}  // namespace
