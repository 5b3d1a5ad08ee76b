#include <gtest/gtest.h>

#include <QFile>

#include "DownloadTestSupport.h"
#include "download/DuplicatePolicy.h"
#include "download/NumberedNames.h"
#include "platform/controls/OptionButton.h"
#include "sys/CleanFileName.h"

namespace {

qsizetype Utf8Bytes(const QString& text) {
    return text.toUtf8().size();
}

QString NameOf(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

struct Folder : testing::Test {
    QTemporaryDir temp;
    QString dir() const { return temp.path() + QLatin1Char('/'); }
    void touch(const QString& name) { ASSERT_TRUE(WriteFile(dir() + name, "x")); }
    // The target and new name a transfer of this name and type would get.
    QString numbered(const QString& name, const QString& type,
                     DuplicatePolicy policy = DuplicatePolicy::Rename) {
        QString newName;
        const QString path = 重命名保存路径(temp.path(), name, type, policy, newName);
        EXPECT_EQ(path, dir() + newName + (type.isEmpty() ? QString() : "." + type));
        return newName;
    }
};

}  // namespace

TEST(CleanFileName, RemovesWhatNamesCannotHoldAndDotsAtBothEnds) {
    EXPECT_EQ(CleanFileName("a/b:c*?"), "abc");
    EXPECT_EQ(CleanFileName("x\\\"<y>|z"), "xyz");
    EXPECT_EQ(CleanFileName("..report.."), "report");
    EXPECT_EQ(CleanFileName("...."), "");
    EXPECT_EQ(CleanFileName(QString::fromUtf16(u"a\r\nb\nc\rd\0e", 10)), "abcde");
    // Tabs, spaces and inner dots stay.
    EXPECT_EQ(CleanFileName(" a\tb. c "), " a\tb. c ");
}

TEST(CleanFileName, CutsTo200GbkBytesWithoutHalfCharacters) {
    // Greek letters are two bytes in GBK and in UTF-8: only the GBK limit cuts them.
    EXPECT_EQ(CleanFileName(QString(150, QChar(u'α'))), QString(100, QChar(u'α')));
    // 100 Chinese characters (200 GBK bytes) are then cut to 230 UTF-8 bytes.
    EXPECT_EQ(CleanFileName(QString(150, QChar(u'报'))), QString(76, QChar(u'报')));
    EXPECT_EQ(CleanFileName(QString(300, QLatin1Char('a'))), QString(200, QLatin1Char('a')));
    // A double-byte character across byte 200 is dropped whole.
    EXPECT_EQ(CleanFileName(QString(199, QLatin1Char('a')) + QStringLiteral("报告")),
              QString(199, 'a'));
}

TEST(DuplicatePolicy, ComesFromTheSelectedOptionsCaption) {
    EXPECT_EQ(DuplicatePolicyFromCaption(" 跳过 "), DuplicatePolicy::Skip);
    EXPECT_EQ(DuplicatePolicyFromCaption("覆盖"), DuplicatePolicy::Overwrite);
    EXPECT_EQ(DuplicatePolicyFromCaption("重命名"), DuplicatePolicy::Rename);
    EXPECT_EQ(DuplicatePolicyFromCaption("something else"), DuplicatePolicy::Rename);

    QObject window;
    OptionButton option1(&window, "Option1", "same", "跳过");
    OptionButton option2(&window, "Option2", "same", "覆盖");
    OptionButton option3(&window, "Option3", "same", "重命名", true);
    EXPECT_EQ(SelectedDuplicatePolicy({&option1, &option2, &option3}), DuplicatePolicy::Rename);
    // A change counts for the next question, nothing is cached.
    option2.click();
    EXPECT_EQ(SelectedDuplicatePolicy({&option1, &option2, &option3}), DuplicatePolicy::Overwrite);
}

using NumberedSavePath = Folder;

TEST_F(NumberedSavePath, CountsOnFromTheFirstFreeNumber) {
    EXPECT_EQ(numbered("报告", "pdf"), "报告");
    touch("报告.pdf");
    EXPECT_EQ(numbered("报告", "pdf"), "报告[001]");
    touch("报告[001].pdf");
    EXPECT_EQ(numbered("报告", "pdf"), "报告[002]");
    // Another type is another file.
    EXPECT_EQ(numbered("报告", "doc"), "报告");
    // Without a type there is no dot.
    touch("报告");
    EXPECT_EQ(numbered("报告", ""), "报告[001]");
}

TEST_F(NumberedSavePath, OverwriteKeepsThePlainNameEvenWhenTaken) {
    touch("a.pdf");
    EXPECT_EQ(numbered("a", "pdf", DuplicatePolicy::Overwrite), "a");
    // Skipping is settled before; a path is still formed by numbering.
    EXPECT_EQ(numbered("a", "pdf", DuplicatePolicy::Skip), "a[001]");
}

TEST_F(NumberedSavePath, ABracketedCounterAnywhereInTheNameIsWhereCountingGoesOn) {
    touch("x[5].pdf");
    EXPECT_EQ(numbered("x[5]", "pdf"), "x[005]");
    touch("r[007].pdf");
    EXPECT_EQ(numbered("r[007]", "pdf"), "r[008]");
    // The text after "]" goes with the counter; spaces around the number are allowed.
    touch("m[3]tail.pdf");
    EXPECT_EQ(numbered("m[3]tail", "pdf"), "m[003]");
    touch("s[ 4 ].pdf");
    EXPECT_EQ(numbered("s[ 4 ]", "pdf"), "s[004]");
    // Counter 0 is tried without brackets, then counts from 1.
    touch("z[0].pdf");
    EXPECT_EQ(numbered("z[0]", "pdf"), "z");
    touch("z.pdf");
    EXPECT_EQ(numbered("z[0]", "pdf"), "z[001]");
    // Three digits at least, more when the counter grows past them.
    touch("n[999].pdf");
    EXPECT_EQ(numbered("n[999]", "pdf"), "n[1000]");
}

TEST_F(NumberedSavePath, OtherBracketsBecomeCornerBrackets) {
    touch("a[b].pdf");
    EXPECT_EQ(numbered("a[b]", "pdf"), "a『b』");
    touch("a『b』.pdf");
    EXPECT_EQ(numbered("a[b]", "pdf"), "a『b』[001]");
    // Not counters: a sign, an exponent, more than nine digits.
    for (const QString& name : {QStringLiteral("p[1e3]"), QStringLiteral("p[-3]"),
                                QStringLiteral("p[12345678901234567890]")}) {
        touch(name + ".pdf");
        QString expected = name;
        expected.replace(QLatin1Char('['), QStringLiteral("『"))
            .replace(QLatin1Char(']'), QStringLiteral("』"));
        EXPECT_EQ(numbered(name, "pdf"), expected) << name.toStdString();
    }
    // Nine digits still count.
    touch("q[123456789].pdf");
    EXPECT_EQ(numbered("q[123456789]", "pdf"), "q[123456790]");
    // The last "[" and "]" decide; earlier brackets are plain text.
    touch("k[1][2].pdf");
    EXPECT_EQ(numbered("k[1][2]", "pdf"), "k『1』[002]");
}

TEST_F(NumberedSavePath, FinalNamesFitInALinuxNameWithNumberAndExtension) {
    // Names that did not go through cleaning are cut too, whole characters only.
    const QString longName(120, QChar(u'报'));  // 360 UTF-8 bytes
    QString newName;
    const QString path =
        重命名保存路径(temp.path(), longName, "pdf", DuplicatePolicy::Rename, newName);
    EXPECT_LE(Utf8Bytes(NameOf(path)), kNameMaxBytes);
    ASSERT_TRUE(WriteFile(path, "x"));
    const QString second =
        重命名保存路径(temp.path(), longName, "pdf", DuplicatePolicy::Rename, newName);
    EXPECT_TRUE(newName.endsWith("[001]"));
    EXPECT_LE(Utf8Bytes(NameOf(second)), kNameMaxBytes);
    EXPECT_TRUE(WriteFile(second, "x"));

    // A cleaned name (at most 230 bytes) keeps its whole length beside a number.
    const QString cleaned = CleanFileName(QString(150, QChar(u'报')));
    touch(cleaned + ".pdf");
    EXPECT_EQ(numbered(cleaned, "pdf"), cleaned + "[001]");
}

using FreeRenamedPath = Folder;

TEST_F(FreeRenamedPath, NumbersWithFourDigitsOnlyWhenThePathIsTaken) {
    EXPECT_EQ(UniqueFilePath(dir() + "a.pdf"), dir() + "a.pdf");
    touch("a.pdf");
    EXPECT_EQ(UniqueFilePath(dir() + "a.pdf"), dir() + "a[0001].pdf");
    touch("a[0001].pdf");
    EXPECT_EQ(UniqueFilePath(dir() + "a.pdf"), dir() + "a[0002].pdf");
    // A numbered name that is taken starts over from its base.
    touch("b[0003].pdf");
    EXPECT_EQ(UniqueFilePath(dir() + "b[0003].pdf"), dir() + "b.pdf");
    // A name without a dot has no extension; the dot of "c." goes.
    touch("c");
    EXPECT_EQ(UniqueFilePath(dir() + "c"), dir() + "c[0001]");
    touch("d.");
    EXPECT_EQ(UniqueFilePath(dir() + "d."), dir() + "d");
}

TEST_F(FreeRenamedPath, CutsTheBaseTo100CharactersAndKeepsItNonEmpty) {
    const QString base(150, QLatin1Char('n'));
    touch(base + ".htm");
    EXPECT_EQ(UniqueFilePath(dir() + base + ".htm"), dir() + QString(100, 'n') + ".htm");
    // A base that is only a counter keeps it, so the file never becomes hidden.
    touch("[0002].htm");
    EXPECT_EQ(UniqueFilePath(dir() + "[0002].htm"), dir() + "[0002][0001].htm");
    // A surrogate pair across the cut is left out whole.
    QString name = QStringLiteral("x");
    for (int i = 0; i < 60; ++i) {
        name += QString::fromUtf16(u"\U0001F600");
    }
    touch(name + ".htm");
    EXPECT_EQ(UniqueFilePath(dir() + name + ".htm"), dir() + name.left(99) + ".htm");
}

TEST_F(FreeRenamedPath, FitsInALinuxNameAfterNumbering) {
    const QString base(84, QChar(u'页'));  // 252 bytes: only ".ht" would fit
    const QString taken = base.left(83) + ".htm";
    touch(taken);
    const QString free = UniqueFilePath(dir() + taken);
    EXPECT_LE(Utf8Bytes(NameOf(free)), kNameMaxBytes);
    EXPECT_TRUE(NameOf(free).endsWith("[0001].htm"));
    EXPECT_TRUE(WriteFile(free, "x"));
    // A path whose name is too long to exist is brought within the limit.
    const QString tooLong = UniqueFilePath(dir() + base + ".html");
    EXPECT_LE(Utf8Bytes(NameOf(tooLong)), kNameMaxBytes);
    EXPECT_TRUE(NameOf(tooLong).endsWith(".html"));
}
