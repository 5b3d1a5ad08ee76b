#include <gtest/gtest.h>

#include "search/SearchAddress.h"

namespace {

const QString kBase = QStringLiteral("https://search.yahoo.com");
const FileType& kPdf = kFileTypes[0];

QString queryValue(const QString& address) {
    return address.mid(address.indexOf(QStringLiteral("&p=")) + 3);
}

}  // namespace

TEST(EncodeQueryText, EscapesTheFourSignsAndPercentWithoutEncodingTwice) {
    EXPECT_EQ(EncodeQueryText(QStringLiteral("a&b")), QStringLiteral("a%26b"));
    EXPECT_EQ(EncodeQueryText(QStringLiteral("a+b")), QStringLiteral("a%2Bb"));
    EXPECT_EQ(EncodeQueryText(QStringLiteral("100%")), QStringLiteral("100%25"));
    EXPECT_EQ(EncodeQueryText(QStringLiteral("C#")), QStringLiteral("C%23"));
    EXPECT_EQ(EncodeQueryText(QStringLiteral("x^2")), QStringLiteral("x%5E2"));
    // A typed escape is sent as text, never as the byte it names.
    EXPECT_EQ(EncodeQueryText(QStringLiteral("%E4")), QStringLiteral("%25E4"));
    EXPECT_EQ(EncodeQueryText(QStringLiteral("%2B+")), QStringLiteral("%252B%2B"));
    // Every other ASCII sign, blanks included, is left to the browser layer.
    EXPECT_EQ(EncodeQueryText(QStringLiteral("a b=c?d/e:f\"g'h<i>j;k~")),
              QStringLiteral("a b=c?d/e:f\"g'h<i>j;k~"));
    EXPECT_EQ(EncodeQueryText(QString()), QString());
}

TEST(EncodeQueryText, WritesTheUtf8BytesOfEveryOtherCharacterInUpperCaseHex) {
    EXPECT_EQ(EncodeQueryText(QStringLiteral("深度learning")),
              QStringLiteral("%E6%B7%B1%E5%BA%A6learning"));
    EXPECT_EQ(EncodeQueryText(QStringLiteral("é")), QStringLiteral("%C3%A9"));
    // A character beyond the BMP is one character of four bytes, not two halves.
    EXPECT_EQ(EncodeQueryText(QStringLiteral("𠀀")), QStringLiteral("%F0%A0%80%80"));
    EXPECT_EQ(EncodeQueryText(QStringLiteral("a📄&")), QStringLiteral("a%F0%9F%93%84%26"));
    // Half a pair has no UTF-8 form and travels as the replacement character.
    EXPECT_EQ(EncodeQueryText(QString(QChar(0xD800)) + QLatin1Char('x')),
              QStringLiteral("%EF%BF%BDx"));
    EXPECT_EQ(EncodeQueryText(QString(QChar(0xDC00))), QStringLiteral("%EF%BF%BD"));
    // The full-width signs are not the ASCII ones.
    EXPECT_EQ(EncodeQueryText(QStringLiteral("＆＋")), QStringLiteral("%EF%BC%86%EF%BC%8B"));
}

TEST(BuildSearchAddress, DefaultOptionsGiveTheDescribedAddress) {
    EXPECT_EQ(BuildSearchAddress(kBase, QStringLiteral("  机器 学习  "), kPdf, SearchOptions{}),
              QStringLiteral("https://search.yahoo.com/search?va_vt=any&vo_vt=any&ve_vt=any&"
                             "vp_vt=any&fl=0&n=20&vm=p&ei=UTF-8&vst=0 &p="
                             "%E6%9C%BA%E5%99%A8 %E5%AD%A6%E4%B9%A0+filetype%3Apdf"));
}

TEST(BuildSearchAddress, OptionsChooseTheirPiecesInTheFixedOrder) {
    SearchOptions options;
    options.quoteWholeGroup = true;
    options.titleOnly = true;
    options.simplifiedChineseOnly = true;
    EXPECT_EQ(BuildSearchAddress(kBase, QStringLiteral("a&b"), kFileTypes[4], options),
              QStringLiteral("https://search.yahoo.com/search?va_vt=title&vo_vt=title&"
                             "ve_vt=title&vp_vt=title&fl=1&vl=lang_zh_chs&n=20&vm=p&ei=UTF-8&"
                             "vst=0 &p=intitle%3A%22a%26b%22+filetype%3Atxt"));

    options = {};
    options.quoteWholeGroup = true;
    EXPECT_EQ(queryValue(BuildSearchAddress(kBase, QStringLiteral("x"), kPdf, options)),
              QStringLiteral("%22x%22+filetype%3Apdf"));
    options = {};
    options.titleOnly = true;
    const QString titles = BuildSearchAddress(kBase, QStringLiteral("x"), kPdf, options);
    EXPECT_TRUE(
        titles.contains(QStringLiteral("?va_vt=title&vo_vt=title&ve_vt=title&vp_vt=title&fl=0&")));
    EXPECT_EQ(queryValue(titles), QStringLiteral("intitle%3Ax+filetype%3Apdf"));
}

TEST(BuildSearchAddress, EmptyGroupsGiveNoAddress) {
    for (const QString& group : {QString(), QStringLiteral("   "), QStringLiteral("\t \u3000")}) {
        EXPECT_EQ(BuildSearchAddress(kBase, group, kPdf, SearchOptions{}), QString());
    }
}

TEST(BuildSearchAddress, EachCheckedTypeGivesOneAddressInTheBatchOrder) {
    SearchOptions options;
    QStringList addresses;
    for (const FileType& type : CheckedFileTypes(options)) {
        addresses.append(BuildSearchAddress(kBase, QStringLiteral("x"), type, options));
    }
    ASSERT_EQ(addresses.size(), 5);
    const QStringList types{"pdf", "doc", "ppt", "xls", "txt"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(addresses[i].endsWith(QStringLiteral("&p=x+filetype%3A") + types[i]));
        EXPECT_EQ(addresses[i].chopped(3), addresses[0].chopped(3));
        EXPECT_EQ(kFileTypes[size_t(i)].progressTag,
                  QLatin1Char('(') + types[i] + QLatin1Char(')'));
    }
    EXPECT_EQ(kFileTypes[0].checkBox, QStringLiteral("Check3"));
    EXPECT_EQ(kFileTypes[4].checkBox, QStringLiteral("Check11"));

    options.fileTypes = {false, true, false, false, true};
    const QList<FileType> some = CheckedFileTypes(options);
    ASSERT_EQ(some.size(), 2);
    EXPECT_EQ(some[0].type, QStringLiteral("doc"));
    EXPECT_EQ(some[1].type, QStringLiteral("txt"));
    options.fileTypes = {};
    EXPECT_TRUE(CheckedFileTypes(options).isEmpty());
}

TEST(SearchBase, CommandLineBeatsEnvironmentBeatsTheDefault) {
    EXPECT_EQ(ChooseSearchBase(QString(), QString()), QStringLiteral("https://search.yahoo.com"));
    EXPECT_EQ(ChooseSearchBase(QString(), QStringLiteral("http://127.0.0.1:8080")),
              QStringLiteral("http://127.0.0.1:8080"));
    EXPECT_EQ(ChooseSearchBase(QStringLiteral("http://127.0.0.1:9/"), QStringLiteral("http://x.y")),
              QStringLiteral("http://127.0.0.1:9"));
    EXPECT_EQ(ChooseSearchBase(QStringLiteral("  "), QStringLiteral(" https://a.b// ")),
              QStringLiteral("https://a.b"));
    // Anything but an http or https address with a host is refused.
    for (const char* bad : {"ftp://a.b", "search.yahoo.com", "http://", "javascript:alert(1)",
                            "file:///tmp", "http://a b"}) {
        EXPECT_EQ(ChooseSearchBase(QString::fromUtf8(bad), QString()), QString()) << bad;
    }
    EXPECT_EQ(ChooseSearchBase(QString(), QStringLiteral("nonsense")), QString());
}
