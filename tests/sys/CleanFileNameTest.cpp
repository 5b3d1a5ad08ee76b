#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "platform/text/Gbk.h"
#include "sys/CleanFileName.h"

namespace {

bool hasLoneSurrogate(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() &&
            text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (text.at(i).isSurrogate()) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(CleanFileName, RemovesForbiddenSignsLineBreaksAndOuterDots) {
    EXPECT_EQ(CleanFileName(QStringLiteral("a/b:c*?")), QStringLiteral("abc"));
    EXPECT_EQ(CleanFileName(QStringLiteral("a\\b<c>d|e\"f")), QStringLiteral("abcdef"));
    EXPECT_EQ(CleanFileName(QStringLiteral("..report..")), QStringLiteral("report"));
    EXPECT_EQ(CleanFileName(QStringLiteral("....")), QString());
    EXPECT_EQ(CleanFileName(QStringLiteral("?*")), QString());
    EXPECT_EQ(CleanFileName(QStringLiteral("x\r\ny\rz\n") + QChar(0) + QStringLiteral("w")),
              QStringLiteral("xyzw"));
    // Dots are removed only where they stand at an end after the removals.
    EXPECT_EQ(CleanFileName(QStringLiteral("?.a.b.?")), QStringLiteral("a.b"));
    EXPECT_EQ(CleanFileName(QStringLiteral(". a .")), QStringLiteral(" a "));
    // Tabs, blanks and every other character stay.
    EXPECT_EQ(CleanFileName(QStringLiteral("\t报告 2020 (终稿)#1%'~$;")),
              QStringLiteral("\t报告 2020 (终稿)#1%'~$;"));
}

TEST(CleanFileName, CutsTo200GbkBytesThenTo230Utf8BytesOfWholeCharacters) {
    // 300 ASCII letters: 200 of them.
    EXPECT_EQ(CleanFileName(QString(300, QLatin1Char('x'))), QString(200, QLatin1Char('x')));
    // A double-byte character cut in half at byte 200 is dropped.
    EXPECT_EQ(CleanFileName(QString(199, QLatin1Char('x')) + QStringLiteral("报告")),
              QString(199, QLatin1Char('x')));
    // 100 or 150 Chinese characters: the GBK cut keeps 100 (200 bytes), and the name
    // then keeps the 76 characters that fit in 230 UTF-8 bytes on Linux.
    const QString chinese = QStringLiteral("文").repeated(150);
    EXPECT_EQ(CleanFileName(chinese.left(100)), chinese.left(76));
    EXPECT_EQ(CleanFileName(chinese), chinese.left(76));
    EXPECT_EQ(CleanFileName(chinese.left(76)).toUtf8().size(), 228);
}

TEST(CleanFileName, NamesWithEmojiStayWholeAndUsable) {
    // Outside GBK, an emoji counts four bytes and is never cut in half.
    EXPECT_EQ(CleanFileName(QStringLiteral("报告📄.pdf")), QStringLiteral("报告📄.pdf"));
    const QString emoji = QStringLiteral("📄");
    EXPECT_EQ(CleanFileName(emoji.repeated(100)), emoji.repeated(50));
    EXPECT_EQ(CleanFileName(QStringLiteral("a") + emoji.repeated(60)),
              QStringLiteral("a") + emoji.repeated(49));

    QTemporaryDir dir;
    QFile file(
        dir.filePath(CleanFileName(QStringLiteral("周报🎉:第1期?")) + QStringLiteral("[0001].pdf")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << file.fileName().toStdString();
    EXPECT_TRUE(file.fileName().endsWith(QStringLiteral("/周报🎉第1期[0001].pdf")));
}

TEST(CleanFileName, AnyNameFitsTheLimitsAndLeavesRoomForNumberAndExtension) {
    const QStringList pieces{QStringLiteral("a"),  QStringLiteral("文"), QStringLiteral("📄"),
                             QStringLiteral("é"),  QStringLiteral("."),  QStringLiteral(" "),
                             QStringLiteral("?"),  QStringLiteral("/"),  QStringLiteral("\r\n"),
                             QStringLiteral("ㄱ"), QStringLiteral("€"),  QString(QChar(0xD800))};
    QRandomGenerator random(42);
    QTemporaryDir dir;
    for (int round = 0; round < 300; ++round) {
        QString name;
        const int length = int(random.bounded(400));
        for (int i = 0; i < length; ++i) {
            name += pieces[int(random.bounded(pieces.size()))];
        }
        const QString clean = CleanFileName(name);
        SCOPED_TRACE(name.toStdString());
        EXPECT_LE(Gbk::byteLength(clean), 200);
        EXPECT_LE(clean.toUtf8().size(), 230);
        // Dots are stripped before the cut, which may end the name in one (harmless on Linux).
        EXPECT_FALSE(clean.startsWith(QLatin1Char('.')));
        EXPECT_FALSE(clean.contains(QLatin1Char('/')) || clean.contains(QLatin1Char('?')) ||
                     clean.contains(QLatin1Char('\n')));
        // Only a lone half of a pair in the input can be a lone half in the output.
        if (!name.contains(QChar(0xD800))) {
            EXPECT_FALSE(hasLoneSurrogate(clean));
        }
        if (!clean.isEmpty() && !name.contains(QChar(0xD800))) {
            QFile file(dir.filePath(clean + QStringLiteral("[1000].xlsx")));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.remove();
        }
    }
}

TEST(TextCuts, CharacterAndByteCutsNeverSplitASurrogatePair) {
    const QString text = QStringLiteral("ab𠀀c");
    EXPECT_EQ(CutToCharacters(text, 2), QStringLiteral("ab"));
    EXPECT_EQ(CutToCharacters(text, 3), QStringLiteral("ab"));
    EXPECT_EQ(CutToCharacters(text, 4), QStringLiteral("ab𠀀"));
    EXPECT_EQ(CutToCharacters(text, 99), text);
    EXPECT_EQ(CutToCharacters(text, 0), QString());
    EXPECT_EQ(CutToCharacters(text, -1), QString());
    EXPECT_EQ(CutToUtf8Bytes(text, 5), QStringLiteral("ab"));
    EXPECT_EQ(CutToUtf8Bytes(text, 6), QStringLiteral("ab𠀀"));
    EXPECT_EQ(CutToUtf8Bytes(QStringLiteral("é文"), 4), QStringLiteral("é"));
    EXPECT_EQ(CutToUtf8Bytes(QStringLiteral("é文"), 5), QStringLiteral("é文"));
}
