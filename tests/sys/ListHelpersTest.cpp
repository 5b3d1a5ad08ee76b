#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "platform/browser/HtmlDocument.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/ListView.h"
#include "platform/text/Gbk.h"
#include "support/FixedScreenMetrics.h"
#include "sys/ListHelpers.h"

namespace {

class Lists : public ::testing::Test {
  protected:
    QString path(const QString& name = QStringLiteral("SaveList.dat")) const {
        return dir.filePath(name);
    }
    void write(const QByteArray& bytes) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    QObject owner;
    ComboBox combo{&owner, QStringLiteral("Combo1")};
    ListView list{&owner, QStringLiteral("ListView1")};
};

TEST_F(Lists, ColumnWidthsAddressExistingColumnsFromOneAndMinusTwoAsksForAFit) {
    list.addColumn(QStringLiteral("标题"), 100);
    list.addColumn(QStringLiteral("类型"), 100);
    QSignalSpy fits(&list, &ListView::columnFitRequested);
    SetColumnWidth(list, 2, 250);
    EXPECT_EQ(list.columns().at(1).width, 250);
    SetColumnWidth(list, 0, 50);
    SetColumnWidth(list, 3, 50);
    EXPECT_EQ(list.columns().at(0).width, 100);
    EXPECT_EQ(fits.size(), 0);
    AutoSizeColumns(list, -2);
    ASSERT_EQ(fits.size(), 2);
    EXPECT_EQ(fits.at(0).at(0).toInt(), 0);
    EXPECT_EQ(fits.at(1).at(0).toInt(), 1);
}

TEST_F(Lists, RowStripesArePaleGreenAndWhiteAtTheGivenHeight) {
    PaintRowStripes(list, 13);
    EXPECT_EQ(list.stripeColor().rgb(), 0xE7F8EDu);
    EXPECT_EQ(list.rowHeight(), 13);
}

TEST_F(Lists, HistoryLoadsTheFirstHundredNonEmptyLinesWithoutCaseDuplicates) {
    QByteArray file = "\r\n  \r\n";
    for (int i = 1; i <= 150; ++i) {
        file += Gbk::encode(QStringLiteral(" D:\\文件夹%1 \r\n\r\n").arg(i));
    }
    write(file);
    combo.addItem(QStringLiteral("old"));
    LoadComboHistory(combo, path());
    ASSERT_EQ(combo.listCount(), 100);
    EXPECT_EQ(combo.item(0), "D:\\文件夹1");
    EXPECT_EQ(combo.item(99), "D:\\文件夹100");

    write("D:\\a\r\nd:\\A\r\nx\r\n");
    LoadComboHistory(combo, path());
    EXPECT_EQ(combo.items(), QStringList({"D:\\a", "x"}));
}

TEST_F(Lists, DuplicatesCountTowardsTheHundredLines) {
    QByteArray file;
    for (int i = 0; i < 100; ++i) {
        file += "same\r\n";
    }
    file += "late\r\n";
    write(file);
    LoadComboHistory(combo, path());
    EXPECT_EQ(combo.items(), QStringList({"same"}));
}

TEST_F(Lists, AMissingHistoryFileLeavesTheListAlone) {
    combo.setItems({QStringLiteral("keep")});
    LoadComboHistory(combo, path(QStringLiteral("none.dat")));
    EXPECT_EQ(combo.items(), QStringList({"keep"}));
}

TEST_F(Lists, HistorySavesGbkLinesAndAnEmptyListReadsBackEmpty) {
    combo.setItems({QStringLiteral("D:\\资料"), QStringLiteral("/home/u")});
    SaveComboHistory(combo, path());
    EXPECT_EQ(read(), Gbk::encode(QStringLiteral("D:\\资料\r\n/home/u\r\n")));

    combo.clear();
    SaveComboHistory(combo, path());
    EXPECT_EQ(read(), "\r\n");
    combo.setItems({QStringLiteral("x")});
    LoadComboHistory(combo, path());
    EXPECT_TRUE(combo.items().isEmpty());
}

TEST_F(Lists, TheDropDownFitsTheLongestEntryButNeverPassesTheScreen) {
    FixedScreenMetrics screen;
    combo.setItems({QStringLiteral("abc"), QStringLiteral("abcdefghij"), QStringLiteral("x")});
    FitComboDropWidth(combo, screen);
    EXPECT_EQ(combo.dropDownWidth(), 10 * 7 + 7);

    QStringList many;
    for (int i = 0; i < 9; ++i) {
        many << QString(20, u'w');
    }
    combo.setItems(many);
    FitComboDropWidth(combo, screen);
    EXPECT_EQ(combo.dropDownWidth(), 20 * 7 + 17 + 7);

    screen.leftOfControl.insert(QStringLiteral("Combo1"), 1850);
    FitComboDropWidth(combo, screen);
    EXPECT_EQ(combo.dropDownWidth(), 70);
}

TEST_F(Lists, LineBreaksAndNulsAreRemoved) {
    EXPECT_EQ(RemoveLineBreaks(QStringLiteral("a\rb\nc") + QChar(0) + QStringLiteral("d\r\n")),
              "abcd");
}

TEST(FindElementsByClass, MatchesTrimmedClassNamesIgnoringCaseExactlyOrByContaining) {
    const auto doc = HtmlDocument::parse(
        "<div class=res id=1></div><div class=' RES first ' id=2></div><div class=mres id=3>"
        "<div class=Res id=4></div></div><span class=res id=5></span><div id=6></div>",
        QStringLiteral("http://a.example/"));
    const auto ids = [](const QList<HtmlElement>& found) {
        QStringList out;
        for (const HtmlElement& element : found) {
            out << element.id();
        }
        return out;
    };
    EXPECT_EQ(ids(FindElementsByClass(doc.get(), "div", "res", false)),
              QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(ids(FindElementsByClass(doc.get(), "DIV", "res", true)), QStringList({"1", "4"}));
    EXPECT_EQ(ids(FindElementsByClass(doc->elementById(u"3"), "div", "res", true)),
              QStringList({"4"}));
    EXPECT_TRUE(FindElementsByClass(nullptr, "div", "res", false).isEmpty());
}

}  // namespace
