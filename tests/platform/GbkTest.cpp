#include <gtest/gtest.h>

#include "platform/text/Gbk.h"

TEST(Gbk, EncodesAndDecodesChineseAsTwoBytesEach) {
    const QString text = QStringLiteral("报告2020.pdf");
    const QByteArray bytes = Gbk::encode(text);
    EXPECT_EQ(bytes, QByteArray("\xB1\xA8\xB8\xE6"
                                "2020.pdf"));
    EXPECT_EQ(Gbk::decode(bytes), text);
    EXPECT_EQ(Gbk::byteLength(text), 12);
    EXPECT_EQ(Gbk::decodePair(0xB1, 0xA8), QStringLiteral("报"));
    EXPECT_EQ(Gbk::decodePair(0xFF, 0xFF), QString());
    EXPECT_EQ(Gbk::decode(QByteArray("\x80")), QStringLiteral("€"));
}

TEST(Gbk, DecodingNeverStopsAtInvalidBytes) {
    // A lead byte at the end, a lead byte before a control byte, a pair without a character.
    const QByteArray bytes(
        "a\xB1"
        "\x01"
        "b\xFE\xFE"
        "c\xB1",
        8);
    EXPECT_EQ(Gbk::decode(bytes), QStringLiteral("a\uFFFD\u0001b\uFFFDc\uFFFD"));
}

TEST(Gbk, CutsNeverSplitADoubleByteCharacterOrASurrogatePair) {
    const QString text = QStringLiteral("ab报告");
    EXPECT_EQ(Gbk::cutToBytes(text, 3), "ab");
    EXPECT_EQ(Gbk::cutToBytes(text, 4), QStringLiteral("ab报"));
    EXPECT_EQ(Gbk::cutToBytes(text, 100), text);
    // Characters outside GBK count as four bytes (GB18030) and stay whole.
    const QString emoji = QStringLiteral("a📄b");
    EXPECT_EQ(Gbk::byteLength(emoji), 6);
    EXPECT_EQ(Gbk::cutToBytes(emoji, 4), "a");
    EXPECT_EQ(Gbk::cutToBytes(emoji, 5), QStringLiteral("a📄"));
    // Writing them to a GBK file gives the code page's "?".
    EXPECT_EQ(Gbk::encode(emoji), QByteArray("a?b"));
}
