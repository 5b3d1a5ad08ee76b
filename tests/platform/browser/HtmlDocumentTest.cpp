#include <gtest/gtest.h>

#include "platform/browser/HtmlBounds.h"
#include "platform/browser/HtmlDocument.h"

namespace {

std::shared_ptr<HtmlDocument> parse(
    const QByteArray& html, const QString& url = QStringLiteral("http://a.example/dir/page.html")) {
    return HtmlDocument::parse(html, url);
}

QStringList ids(const HtmlElementList& list) {
    QStringList out;
    for (const HtmlElement element : list) {
        out << element.id();
    }
    return out;
}

TEST(HtmlDocument, ElementsOfATagComeInDocumentOrderForTheDocumentAndWithinAnElement) {
    const auto doc = parse(
        "<div id=a><div id=b><span id=s1></span><div id=c></div></div></div>"
        "<div id=d><span id=s2></span></div>");
    EXPECT_EQ(ids(doc->elementsByTagName(u"DIV")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(ids(doc->elementsByTagName(u"span")), QStringList({"s1", "s2"}));
    const HtmlElement b = doc->elementById(u"b");
    EXPECT_EQ(ids(b.elementsByTagName(u"div")), QStringList({"c"}));
    EXPECT_EQ(ids(doc->elementById(u"d").elementsByTagName(u"span")), QStringList({"s2"}));
    EXPECT_EQ(doc->elementsByTagName(u"div").count(), 4);
    EXPECT_EQ(doc->elementsByTagName(u"div").at(3).id(), "d");
    EXPECT_TRUE(doc->elementsByTagName(u"div").at(4).isNull());
    EXPECT_TRUE(doc->elementById(u"missing").isNull());
    EXPECT_EQ(doc->elementById(u"missing").className(), QString());
    EXPECT_EQ(doc->documentElement().tagName(), "HTML");
}

TEST(HtmlDocument, ElementsAnswerTheReadingOperations) {
    const auto doc = parse(
        "<html><head><title> The  page </title><base href=\"http://b.example/base/\"></head>"
        "<body><a id=l class=\" Next \" href=\"next.html?x=1\" target=_blank>Go <b>on</b>\n"
        "  now<br>line</a><a id=abs href=\"HTTP://c.example/RU=a%3a%2f%2fb/RK=\">x</a>"
        "<input id=i type=Submit name=UserName value=\"v&amp;1\"><a id=none>no link</a>"
        "<script>var hidden = 1;</script></body></html>");
    EXPECT_EQ(doc->title(), "The page");
    const HtmlElement link = doc->elementById(u"l");
    EXPECT_EQ(link.tagName(), "A");
    EXPECT_EQ(link.className(), " Next ");
    EXPECT_EQ(link.innerText(), "Go on now\nline");
    EXPECT_EQ(link.innerHtml(), "Go <b>on</b>\n  now<br>line");
    EXPECT_EQ(link.href(), "http://b.example/base/next.html?x=1");
    // An absolute target stays as the page wrote it, escapes and all.
    EXPECT_EQ(doc->elementById(u"abs").href(), "HTTP://c.example/RU=a%3a%2f%2fb/RK=");
    EXPECT_EQ(doc->elementById(u"none").href(), QString());
    const HtmlElement input = doc->elementById(u"i");
    EXPECT_EQ(input.type(), "Submit");
    EXPECT_EQ(input.name(), "UserName");
    EXPECT_EQ(input.value(), "v&1");
    EXPECT_EQ(input.outerHtml(),
              "<input id=\"i\" type=\"Submit\" name=\"UserName\" value=\"v&amp;1\">");
    EXPECT_TRUE(doc->outerHtml().startsWith(u"<html><head><title> The  page </title>"));
    EXPECT_TRUE(doc->outerHtml().contains(u"<script>var hidden = 1;</script>"));
    EXPECT_EQ(doc->elementsByTagName(u"body").at(0).innerText().count(u"hidden"), 0);
}

TEST(HtmlDocument, AValueSetThroughTheBrowserShowsInValueAndMarkup) {
    const auto doc = parse("<form><input id=u name=user value=old></form>");
    const HtmlElement input = doc->elementById(u"u");
    doc->setValue(input, QStringLiteral("新\"值"));
    EXPECT_EQ(input.value(), "新\"值");
    EXPECT_EQ(input.outerHtml(), "<input id=\"u\" name=\"user\" value=\"新&quot;值\">");
}

TEST(HtmlDocument, NoscriptContentIsTextAsInABrowserThatRunsScripts) {
    const auto doc = parse(
        "<div><noscript><a class=next href=/wrong>Next</a></noscript>"
        "<a class=next href=/right>Next</a></div>");
    const HtmlElementList links = doc->elementsByTagName(u"a");
    ASSERT_EQ(links.count(), 1);
    EXPECT_EQ(links.at(0).href(), "http://a.example/right");
}

TEST(HtmlDocument, TheLivePagesNumbersAddressElementsAndStayOutOfTheMarkup) {
    const auto doc = HtmlDocument::parse(
        "<html data-orvellin-n=0><body data-orvellin-n=2><a data-orvellin-n=7 id=x "
        "href=/y>y</a></body></html>",
        QStringLiteral("http://a.example/"), true);
    EXPECT_EQ(doc->elementByNumber(7).id(), "x");
    EXPECT_EQ(doc->elementById(u"x").number(), 7);
    EXPECT_FALSE(doc->outerHtml().contains(u"orvellin"));
    EXPECT_EQ(doc->elementById(u"x").attribute(u"data-orvellin-n"), QString());
    // A page's own attribute of that name means nothing without numbering.
    EXPECT_EQ(parse("<a data-orvellin-n=7 id=x>y</a>")->elementById(u"x").number(), -1);
}

TEST(HtmlDocument, DeepNestingIsFlattenedAndItsContentKept) {
    QByteArray html;
    const int levels = 450'000;  // 5 MB of nested DIVs
    html.reserve(levels * 11 + 100);
    for (int i = 0; i < levels; ++i) {
        html += "<div>";
    }
    html += "<a class=deep href=/d>deep</a>";
    for (int i = 0; i < levels; ++i) {
        html += "</div>";
    }
    html += "<p id=after>after</p>";
    const auto doc = parse(html);
    EXPECT_LE(doc->elementsByTagName(u"div").count(), HtmlBounds::kMaxDepth);
    EXPECT_EQ(doc->elementsByTagName(u"body").at(0).innerText(), "deepafter");
    EXPECT_EQ(doc->elementById(u"after").parent().tagName(), "BODY");
}

TEST(HtmlBounds, SloppyPagesWithManyUnclosedItemsKeepEveryElement) {
    QByteArray html = "<ul>";
    for (int i = 0; i < 2000; ++i) {
        html += "<li><p>item";
    }
    html += "</ul><table>";
    for (int i = 0; i < 700; ++i) {
        html += "<tr><td>cell";
    }
    html += "</table>";
    EXPECT_EQ(HtmlBounds::bounded(html), html);
    const auto doc = parse(html);
    EXPECT_EQ(doc->elementsByTagName(u"li").count(), 2000);
    EXPECT_EQ(doc->elementsByTagName(u"td").count(), 700);
}

TEST(HtmlBounds, TagsInsideScriptsCommentsAndQuotedValuesAreNotCounted) {
    QByteArray html = "<script>";
    for (int i = 0; i < 600; ++i) {
        html += "<div>";
    }
    html += "</script><!-- <div><div> --><div title=\"<div><div>\">x</div>";
    EXPECT_EQ(HtmlBounds::bounded(html), html);
}

TEST(HtmlBounds, DocumentsOverTheLimitAreCutOnACharacterBoundary) {
    QByteArray html = "<p>";
    while (html.size() < HtmlBounds::kMaxBytes + 10) {
        html += "汉";
    }
    const QByteArray bounded = HtmlBounds::bounded(html);
    EXPECT_LE(bounded.size(), HtmlBounds::kMaxBytes);
    EXPECT_TRUE(bounded.isValidUtf8());
}

TEST(HtmlDocument, AnyBytesParseIntoADocument) {
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("\x00\xff\xfe%PDF-1.4\x89PNG", 16),
        QByteArray("<div class=\"dd algo x\"><a href=\"/RU=%E4"),
        QByteArray("<<<>>></</div></a></p><p<<a"),
        QByteArray("<svg><path/><foreignObject><div><math><mi>x"),
    };
    for (const QByteArray& bytes : cases) {
        const auto doc = parse(bytes);
        EXPECT_EQ(doc->documentElement().tagName(), "HTML");
        EXPECT_FALSE(doc->outerHtml().isEmpty());
    }
}

}  // namespace
