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

TEST(Gbk, EveryDoubleByteCharacterSurvivesARoundTrip) {
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const QString c = Gbk::decodePair(uchar(lead), uchar(trail));
            if (c.isEmpty()) {
                continue;
            }
            ++characters;
            ASSERT_EQ(c.size(), 1);
            QByteArray pair;
            pair.append(char(lead)).append(char(trail));
            EXPECT_EQ(Gbk::decode(pair), c);
            EXPECT_EQ(Gbk::byteLength(c), 2);
            // Where two pairs name the same character, encoding picks one of them.
            EXPECT_EQ(Gbk::decode(Gbk::encode(c)), c);
        }
    }
    EXPECT_GT(characters, 21000);  // GBK holds 21,886 characters
}

TEST(Gbk, DecodingAnyBytesGoesOnToTheEnd) {
    QByteArray bytes;
    quint32 state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        bytes.append(char(state >> 16));
    }
    const QString text = Gbk::decode(bytes);
    // One character for each byte or pair: never more characters than bytes, and a
    // text of at least half as many.
    EXPECT_LE(text.size(), bytes.size());
    EXPECT_GE(text.size(), bytes.size() / 2);
    // An invalid byte in the middle does not swallow what follows.
    EXPECT_EQ(Gbk::decode(QByteArray("\xFF"
                                     "abc\x81"
                                     "\x7F"
                                     "d")),
              QStringLiteral("\uFFFDabc\uFFFD\u007Fd"));
    EXPECT_EQ(Gbk::decode(QByteArray("\x00x", 2)), QString(QChar(0)) + QLatin1Char('x'));
    EXPECT_EQ(Gbk::decode(QByteArray()), QString());
}

TEST(Gbk, CharactersOutsideGbkAreQuestionMarksInFilesAndFourBytesInCuts) {
    // Emoji, a character beyond the BMP, Korean and a joiner are all outside GBK.
    const QString text = QStringLiteral("👨‍👩‍👧𠀀한报");
    EXPECT_EQ(Gbk::encode(text), QByteArray("???????\xB1\xA8"));
    // 👨 ZWJ 👩 ZWJ 👧 𠀀 한 = 7 characters of 4 bytes, 报 = 2.
    EXPECT_EQ(Gbk::byteLength(text), 30);
    for (qsizetype limit = 0; limit <= 30; ++limit) {
        const QString cut = Gbk::cutToBytes(text, limit);
        EXPECT_TRUE(text.startsWith(cut));
        EXPECT_LE(Gbk::byteLength(cut), limit);
        // The next character would not have fitted, and no pair is split.
        EXPECT_FALSE(cut.size() > 0 && cut.back().isHighSurrogate()) << limit;
        if (cut.size() < text.size()) {
            const qsizetype next = text.at(cut.size()).isHighSurrogate() ? 2 : 1;
            EXPECT_GT(Gbk::byteLength(text.left(cut.size() + next)), limit);
        }
    }
    // Half a pair on its own is a character outside GBK too.
    EXPECT_EQ(Gbk::encode(QString(QChar(0xD83D)) + QLatin1Char('a')), QByteArray("?a"));
    EXPECT_EQ(Gbk::byteLength(QString(QChar(0xDC00))), 4);
}
