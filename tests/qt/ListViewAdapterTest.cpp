#include <gtest/gtest.h>

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include "platform/controls/ListView.h"
#include "platform/qt/ListViewAdapter.h"
#include "sys/ListHelpers.h"

namespace {

struct Adapter : testing::Test {
    QObject owner;
    ListView list{&owner, "ListView3"};
    QTreeView view;
    ListViewAdapter* adapter = nullptr;

    void SetUp() override {
        list.addColumn("名称", 200);
        list.addColumn("文件大小", 80, ListColumn::Align::Right);
        list.setMultiSelect(true);
        adapter = new ListViewAdapter(list, view, &owner);
        view.resize(400, 300);
        view.show();
    }
    void add(int from, int to) {
        for (int i = from; i < to; ++i) {
            list.setSubItem(list.add(QString::number(i), QStringLiteral("row%1").arg(i)), 1, "0");
        }
    }
};

}  // namespace

TEST_F(Adapter, AppendsAndChangesArriveInBatches) {
    QSignalSpy inserted(adapter, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(adapter, &QAbstractItemModel::dataChanged);
    add(0, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(adapter->rowCount(), 500);
    for (int i = 1; i <= 500; i += 50) {
        list.setSubItem(list.at(i), 1, "99");
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(adapter->data(adapter->index(450, 1), Qt::DisplayRole).toString(), "99");
    EXPECT_EQ(adapter->data(adapter->index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
              Qt::AlignRight);
}

TEST_F(Adapter, BulkChangesWhileHiddenAreOneReset) {
    add(0, 100);
    QCoreApplication::processEvents();
    QSignalSpy resets(adapter, &QAbstractItemModel::modelReset);
    QSignalSpy removed(adapter, &QAbstractItemModel::rowsRemoved);
    list.setVisible(false);
    for (int i = list.count(); i >= 1; i -= 2) {
        list.removeAt(i);
    }
    list.setVisible(true);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(removed.count(), 0);
    EXPECT_EQ(adapter->rowCount(), 50);
    // A visible removal is one row removal.
    list.removeAt(1);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(adapter->rowCount(), 49);
}

TEST_F(Adapter, SelectionTravelsBothWays) {
    add(0, 10);
    QCoreApplication::processEvents();
    view.selectionModel()->setCurrentIndex(
        adapter->index(3, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(list.selectedItem(), list.at(4));
    EXPECT_TRUE(list.at(4)->selected());
    list.selectAll(true);
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 10);
    list.setSelected(list.at(1), false);
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 9);
}

TEST_F(Adapter, MouseAndHeaderEventsReachTheModel) {
    add(0, 5);
    QCoreApplication::processEvents();
    QStringList seen;
    list.onItemClick = [&](ListRow* row) { seen << "item " + row->text(); };
    list.onClick = [&] { seen << "click"; };
    list.onMouseDown = [&](MouseButton button, QPoint) {
        seen << QStringLiteral("down %1").arg(int(button));
    };
    list.onColumnClick = [&](int column) { seen << QStringLiteral("column %1").arg(column); };
    const QRect second = view.visualRect(adapter->index(1, 0));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(list.selectedItem(), list.at(2));
    Q_EMIT view.header()->sectionClicked(1);
    EXPECT_EQ(seen, QStringList({"item row1", "down 1", "click", "column 2"}));
}

TEST_F(Adapter, AFitRequestFitsTheWiderOfHeaderAndContent) {
    list.setSubItem(list.add("k", QString(60, u'W')), 1, "1");
    AutoSizeColumns(list, -2);
    const QFontMetrics metrics(view.font());
    // Column 0: its content is far wider than its header; column 1: the reverse.
    EXPECT_GE(view.header()->sectionSize(0), metrics.horizontalAdvance(QString(60, u'W')));
    EXPECT_GE(view.header()->sectionSize(1), metrics.horizontalAdvance(QStringLiteral("文件大小")));
    EXPECT_LT(view.header()->sectionSize(1), 80 + 40);
}
