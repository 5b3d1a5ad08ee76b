#include <gtest/gtest.h>

#include <QSignalSpy>

#include "platform/controls/ListView.h"

namespace {

QStringList texts(const ListView& list) {
    QStringList out;
    for (int i = 1; i <= list.count(); ++i) {
        out << list.at(i)->text();
    }
    return out;
}

struct Fixture : testing::Test {
    QObject owner;
    ListView list{&owner, QStringLiteral("ListView1")};
    void fill(const QStringList& names) {
        for (const QString& name : names) {
            list.add(QStringLiteral("key-") + name, name);
        }
    }
};

}  // namespace

using ListViewRows = Fixture;

TEST_F(ListViewRows, ADuplicateKeyIsRefusedAndChangesNothing) {
    fill({"a", "b"});
    EXPECT_EQ(list.add(QStringLiteral("key-a"), QStringLiteral("other")), nullptr);
    EXPECT_EQ(texts(list), QStringList({"a", "b"}));
    EXPECT_EQ(list.findByKey(QStringLiteral("key-a"))->text(), "a");
    // Keys differing in letter case are different keys.
    EXPECT_NE(list.add(QStringLiteral("KEY-A"), QStringLiteral("upper")), nullptr);
}

TEST_F(ListViewRows, PositionsCountFromOneAndCloseGapsOnRemoval) {
    fill({"a", "b", "c", "d"});
    EXPECT_EQ(list.at(0), nullptr);
    EXPECT_EQ(list.at(5), nullptr);
    ListRow* c = list.findByKey(QStringLiteral("key-c"));
    EXPECT_EQ(list.positionOf(c), 3);
    list.removeAt(2);
    EXPECT_EQ(texts(list), QStringList({"a", "c", "d"}));
    EXPECT_EQ(list.positionOf(c), 2);
    EXPECT_EQ(list.findByKey(QStringLiteral("key-b")), nullptr);
    list.add(QStringLiteral("key-b"), QStringLiteral("b again"));
    EXPECT_EQ(texts(list), QStringList({"a", "c", "d", "b again"}));
}

TEST_F(ListViewRows, ARemovalWalkThatReexaminesThePositionRemovesNeighbours) {
    fill({"x1", "keep", "x2", "x3", "keep2", "x4"});
    list.setVisible(false);
    for (int i = 1; i <= list.count();) {
        if (list.at(i)->text().startsWith('x')) {
            list.removeAt(i);
        } else {
            ++i;
        }
    }
    list.setVisible(true);
    EXPECT_EQ(texts(list), QStringList({"keep", "keep2"}));
    EXPECT_EQ(list.positionOf(list.findByKey(QStringLiteral("key-keep2"))), 2);
}

TEST_F(ListViewRows, RowIdsSurviveSortRemovalAndMoves) {
    fill({"c", "a", "b"});
    const quint64 idA = list.findByKey(QStringLiteral("key-a"))->id();
    const quint64 idB = list.findByKey(QStringLiteral("key-b"))->id();
    list.sortOnce(0, ListView::SortOrder::Ascending);
    EXPECT_EQ(texts(list), QStringList({"a", "b", "c"}));
    list.removeAt(1);
    EXPECT_EQ(list.findById(idA), nullptr);
    ListRow* b = list.findById(idB);
    ASSERT_NE(b, nullptr);
    list.moveToEnd(b);
    EXPECT_EQ(texts(list), QStringList({"c", "b"}));
    EXPECT_EQ(list.findById(idB), b);
    EXPECT_EQ(list.positionOf(b), 2);

    // Several rows at once, in the order given; a row named twice moves once.
    ListRow* c = list.at(1);
    list.add(QStringLiteral("key-d"), QStringLiteral("d"));
    list.moveToEnd(QList<ListRow*>{b, c, b});
    EXPECT_EQ(texts(list), QStringList({"d", "b", "c"}));
    EXPECT_EQ(list.positionOf(c), 3);
    EXPECT_EQ(list.findById(idB), b);
}

TEST_F(ListViewRows, ChangingAKeyKeepsTheIndexAndRefusesATakenKey) {
    fill({"a", "b"});
    ListRow* a = list.findByKey(QStringLiteral("key-a"));
    EXPECT_FALSE(list.setKey(a, QStringLiteral("key-b")));
    EXPECT_EQ(a->key(), "key-a");
    EXPECT_TRUE(list.setKey(a, QStringLiteral("new")));
    EXPECT_EQ(list.findByKey(QStringLiteral("new")), a);
    EXPECT_EQ(list.findByKey(QStringLiteral("key-a")), nullptr);
}

TEST_F(ListViewRows, SortsOnceByColumnTextThenAppendsUnsorted) {
    for (const auto& [name, size] :
         {std::pair{"p", "000000012000"}, {"q", "000000000900"}, {"r", "下载失败"}}) {
        ListRow* row = list.add(name, name);
        list.setSubItem(row, 2, size);
    }
    list.sortOnce(2, ListView::SortOrder::Ascending);
    EXPECT_EQ(texts(list), QStringList({"q", "p", "r"}));
    list.sortOnce(2, ListView::SortOrder::Descending);
    EXPECT_EQ(texts(list), QStringList({"r", "p", "q"}));
    list.add(QStringLiteral("a"), QStringLiteral("a"));
    EXPECT_EQ(texts(list).last(), "a");
    // Text comparison ignores letter case.
    list.sortOnce(0, ListView::SortOrder::Ascending);
    list.add(QStringLiteral("B"), QStringLiteral("B"));
    list.sortOnce(0, ListView::SortOrder::Ascending);
    EXPECT_EQ(texts(list), QStringList({"a", "B", "p", "q", "r"}));
}

TEST_F(ListViewRows, SubItemsTagsIconsAndSelection) {
    fill({"a", "b", "c"});
    ListRow* b = list.findByKey(QStringLiteral("key-b"));
    list.setSubItem(b, 3, QStringLiteral("third"));
    EXPECT_EQ(b->subItem(1), QString());
    EXPECT_EQ(b->subItem(3), "third");
    list.setTag(b, QStringLiteral("tag"));
    list.setSmallIcon(b, 4);
    EXPECT_EQ(b->tag(), "tag");
    EXPECT_EQ(b->smallIcon(), 4);
    EXPECT_EQ(list.selectedItem(), nullptr);
    list.setSelectedItem(b);
    EXPECT_EQ(list.selectedItem(), b);
    EXPECT_EQ(list.selectedRows(), QList<ListRow*>({b}));
    list.selectAll(true);
    EXPECT_EQ(list.selectedRows().size(), 3);
    list.remove(b);
    EXPECT_EQ(list.selectedItem(), nullptr);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.findByKey(QStringLiteral("key-a")), nullptr);
}

TEST_F(ListViewRows, HiddenBulkChangesReachAViewAsOneReset) {
    fill({"a", "b", "c"});
    QSignalSpy resets(&list, &ListView::rowsReset);
    QSignalSpy removed(&list, &ListView::rowRemoved);
    QSignalSpy appended(&list, &ListView::rowsAppended);
    QSignalSpy changed(&list, &ListView::rowChanged);
    list.setVisible(false);
    for (int i = 0; i < 100; ++i) {
        list.add(QString::number(i), QString::number(i));
    }
    list.removeAt(1);
    list.setText(list.at(1), QStringLiteral("changed"));
    list.sortOnce(0, ListView::SortOrder::Descending);
    EXPECT_EQ(resets.count(), 0);
    list.setVisible(true);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(removed.count() + appended.count() + changed.count(), 0);
    // Visible changes are announced one by one (a view merges them).
    list.add(QStringLiteral("v"), QStringLiteral("v"));
    list.setSubItem(list.at(1), 1, QStringLiteral("x"));
    list.removeAt(2);
    EXPECT_EQ(appended.count(), 1);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(removed.count(), 1);
    // Showing without changes in between sends nothing.
    list.setVisible(false);
    list.setVisible(true);
    EXPECT_EQ(resets.count(), 1);
}

TEST_F(ListViewRows, EventsReachTheirHandlers) {
    fill({"a"});
    QStringList seen;
    list.onItemClick = [&](ListRow* row) { seen << "item " + row->text(); };
    list.onClick = [&] { seen << "click"; };
    list.onDblClick = [&] { seen << "dbl"; };
    list.onColumnClick = [&](int column) { seen << QStringLiteral("column %1").arg(column); };
    list.onMouseDown = [&](MouseButton button, QPoint at) {
        seen << QStringLiteral("down %1 %2").arg(int(button)).arg(at.x());
    };
    list.onBeforeLabelEdit = [](bool& cancel) { cancel = true; };
    list.itemClick(list.at(1));
    list.click();
    list.dblClick();
    list.columnClick(3);
    list.mouseDown(MouseButton::Right, QPoint(150, 30));
    EXPECT_FALSE(list.beforeLabelEdit());
    EXPECT_EQ(seen, QStringList({"item a", "click", "dbl", "column 3", "down 2 150"}));
}

TEST(ListViewScale, ManyRowsAddFindAndRemoveInOneWalk) {
    QObject owner;
    ListView list(&owner, QStringLiteral("big"));
    constexpr int n = 20'000;
    for (int i = 0; i < n; ++i) {
        ASSERT_NE(list.add(QString::number(i), QString::number(i)), nullptr);
    }
    for (int i = 0; i < n; i += 997) {
        EXPECT_EQ(list.positionOf(list.findByKey(QString::number(i))), i + 1);
    }
    list.setVisible(false);
    for (int i = 1; i <= list.count();) {
        if (list.at(i)->text().toInt() % 2 == 0) {
            list.removeAt(i);
        } else {
            ++i;
        }
    }
    list.setVisible(true);
    ASSERT_EQ(list.count(), n / 2);
    EXPECT_EQ(list.at(1)->text(), "1");
    EXPECT_EQ(list.at(n / 2)->text(), QString::number(n - 1));
    EXPECT_EQ(list.positionOf(list.findByKey(QStringLiteral("4001"))), 2001);
}
