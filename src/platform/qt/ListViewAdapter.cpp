#include "platform/qt/ListViewAdapter.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeView>

#include "platform/controls/ListView.h"
#include "platform/qt/RowHeightDelegate.h"
#include "platform/qt/ViewUnits.h"

ListViewAdapter::ListViewAdapter(ListView& list, QTreeView& view, QObject* owner)
    : QAbstractTableModel(owner),
      list_(list),
      view_(view),
      delegate_(new RowHeightDelegate(list.rowHeight(), &view)) {
    announced_ = list_.count();
    view_.setModel(this);
    view_.setItemDelegate(delegate_);
    view_.setRootIsDecorated(false);
    view_.setUniformRowHeights(true);
    view_.setItemsExpandable(false);
    view_.setSortingEnabled(false);
    view_.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_.setSelectionBehavior(QAbstractItemView::SelectRows);
    view_.header()->setSectionsClickable(true);
    // The last column takes the rest of the width, so the row stripes reach the edge.
    view_.header()->setStretchLastSection(true);
    view_.viewport()->installEventFilter(this);

    connect(&list_, &ListView::rowsAppended, this, &ListViewAdapter::appended);
    connect(&list_, &ListView::rowRemoved, this, &ListViewAdapter::removed);
    connect(&list_, &ListView::rowChanged, this, &ListViewAdapter::changed);
    connect(&list_, &ListView::rowsReset, this, &ListViewAdapter::reset);
    connect(&list_, &ListView::columnsChanged, this, &ListViewAdapter::applyColumns);
    connect(&list_, &ListView::changed, this, &ListViewAdapter::applyLook);
    connect(&list_, &ListView::rowSelectionChanged, this, [this](int position) {
        if (!syncing_) {
            flush();
            selectRow(position, list_.at(position + 1) && list_.at(position + 1)->selected());
        }
    });
    connect(&list_, &ListView::selectionReset, this, &ListViewAdapter::selectionFromModel);
    connect(&list_, &ListView::ensureVisibleRequested, this, [this](int position) {
        flush();
        view_.scrollTo(index(position, 0));
    });
    connect(&list_, &ListView::columnFitRequested, this, [this](int column) {
        flush();
        view_.resizeColumnToContents(column);
    });
    connect(view_.header(), &QHeaderView::sectionClicked, &list_,
            [this](int section) { list_.columnClick(section + 1); });
    connect(view_.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListViewAdapter::selectionFromView);
    connect(view_.selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ListViewAdapter::currentFromView);
    applyColumns();
    applyLook();
    selectionFromModel();
}

int ListViewAdapter::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : announced_;
}

int ListViewAdapter::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.columnCount();
}

QVariant ListViewAdapter::data(const QModelIndex& index, int role) const {
    const ListRow* row = list_.at(index.row() + 1);
    if (!row) {
        return {};
    }
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return row->columnText(column);
        case Qt::ToolTipRole:
            // The list's own tooltip, where it has one; else the cell's full text.
            return list_.toolTip().isEmpty() ? row->columnText(column) : list_.toolTip();
        case Qt::DecorationRole:
            return column == 0 && row->smallIcon() > 0 ? QVariant(icon(row->smallIcon()))
                                                       : QVariant();
        case Qt::TextAlignmentRole:
            if (column < list_.columnCount() &&
                list_.columns()[column].align == ListColumn::Align::Right) {
                return int(Qt::AlignRight | Qt::AlignVCenter);
            }
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (list_.stripeColor().isValid()) {
                return index.row() % 2 == 0 ? QColor(QRgb(list_.stripeColor().rgb()))
                                            : QColor(Qt::white);
            }
            return {};
        default:
            return {};
    }
}

QVariant ListViewAdapter::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= list_.columnCount()) {
        return {};
    }
    const ListColumn& column = list_.columns()[section];
    if (role == Qt::DisplayRole) {
        return column.caption;
    }
    if (role == Qt::TextAlignmentRole) {
        return int((column.align == ListColumn::Align::Right ? Qt::AlignRight : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    }
    return {};
}

QIcon ListViewAdapter::icon(int number) const {
    auto it = icons_.find(number);
    if (it == icons_.end()) {
        it = icons_.insert(number, QIcon(list_.iconSet() + QStringLiteral("/%1.png").arg(number)));
    }
    return it.value();
}

// --- batched notifications ----------------------------------------------------------

void ListViewAdapter::schedule() {
    if (!flushScheduled_) {
        flushScheduled_ = true;
        QTimer::singleShot(0, this, &ListViewAdapter::flush);
    }
}

void ListViewAdapter::flush() {
    flushScheduled_ = false;
    const int count = list_.count();
    if (announced_ < count) {
        beginInsertRows({}, announced_, count - 1);
        announced_ = count;
        endInsertRows();
    }
    if (changedFirst_ >= 0) {
        const int last = std::min(changedLast_, announced_ - 1);
        if (changedFirst_ <= last) {
            Q_EMIT dataChanged(index(changedFirst_, 0), index(last, columnCount() - 1));
        }
        changedFirst_ = changedLast_ = -1;
    }
}

void ListViewAdapter::appended(int, int) {
    schedule();
}

void ListViewAdapter::removed(int position) {
    if (announced_ != list_.count() + 1 || position >= announced_) {
        reset();  // appends were still pending: start over
        return;
    }
    beginRemoveRows({}, position, position);
    announced_ = list_.count();
    endRemoveRows();
    changedFirst_ = changedLast_ = -1;
}

void ListViewAdapter::changed(int position) {
    if (position < 0 || position >= announced_) {
        return;  // not shown yet: the pending insert carries the new data
    }
    changedFirst_ = changedFirst_ < 0 ? position : std::min(changedFirst_, position);
    changedLast_ = std::max(changedLast_, position);
    schedule();
}

void ListViewAdapter::reset() {
    beginResetModel();
    announced_ = list_.count();
    changedFirst_ = changedLast_ = -1;
    endResetModel();
    selectionFromModel();
}

// --- look ---------------------------------------------------------------------------------

void ListViewAdapter::applyColumns() {
    beginResetModel();
    endResetModel();
    for (int c = 0; c < list_.columnCount(); ++c) {
        view_.setColumnWidth(c, list_.columns()[c].width);
    }
    selectionFromModel();
}

void ListViewAdapter::applyLook() {
    view_.setSelectionMode(list_.multiSelect() ? QAbstractItemView::ExtendedSelection
                                               : QAbstractItemView::SingleSelection);
    view_.setToolTip(list_.toolTip());
    view_.setEnabled(list_.enabled());
    view_.setVisible(list_.visible());
    if (list_.rowHeight() > 0) {
        delegate_->setRowHeight(list_.rowHeight());
    }
}

// --- selection -------------------------------------------------------------------------------

void ListViewAdapter::selectRow(int position, bool selected) {
    if (position < 0 || position >= announced_) {
        return;
    }
    syncing_ = true;
    view_.selectionModel()->select(index(position, 0), (selected ? QItemSelectionModel::Select
                                                                 : QItemSelectionModel::Deselect) |
                                                           QItemSelectionModel::Rows);
    syncing_ = false;
}

void ListViewAdapter::selectionFromModel() {
    flush();
    QItemSelection selection;
    int runStart = -1;
    for (int r = 0; r <= announced_; ++r) {
        const ListRow* row = r < announced_ ? list_.at(r + 1) : nullptr;
        const bool selected = row && row->selected();
        if (selected && runStart < 0) {
            runStart = r;
        } else if (!selected && runStart >= 0) {
            selection.select(index(runStart, 0), index(r - 1, columnCount() - 1));
            runStart = -1;
        }
    }
    syncing_ = true;
    view_.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    syncing_ = false;
}

void ListViewAdapter::selectionFromView(const QItemSelection& selected,
                                        const QItemSelection& deselected) {
    if (syncing_) {
        return;
    }
    syncing_ = true;
    for (const QModelIndex& idx : deselected.indexes()) {
        if (idx.column() == 0) {
            list_.setSelected(list_.at(idx.row() + 1), false);
        }
    }
    for (const QModelIndex& idx : selected.indexes()) {
        if (idx.column() == 0) {
            list_.setSelected(list_.at(idx.row() + 1), true);
        }
    }
    syncing_ = false;
}

void ListViewAdapter::currentFromView(const QModelIndex& current) {
    if (syncing_) {
        return;
    }
    syncing_ = true;
    list_.setSelectedItem(current.isValid() ? list_.at(current.row() + 1) : nullptr);
    syncing_ = false;
}

// --- mouse events ------------------------------------------------------------------------------

bool ListViewAdapter::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (redispatching_ || (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
                           type != QEvent::MouseButtonDblClick)) {
        return QAbstractTableModel::eventFilter(watched, event);
    }
    // Let the view handle the mouse first (selection, current row), then tell the model.
    redispatching_ = true;
    QCoreApplication::sendEvent(watched, event);
    redispatching_ = false;
    flush();

    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();
    const QModelIndex hit = view_.indexAt(pos);
    if (type == QEvent::MouseButtonPress) {
        if (hit.isValid() && mouse->button() == Qt::LeftButton) {
            list_.itemClick(list_.at(hit.row() + 1));
        }
        list_.mouseDown(toMouseButton(mouse->button()), pos * kTwipsPerPixel);
    } else if (type == QEvent::MouseButtonRelease) {
        if (mouse->button() == Qt::LeftButton) {
            list_.click();
        }
    } else {
        list_.dblClick();
    }
    return true;
}
