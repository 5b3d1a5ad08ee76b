#include "platform/qt/RowHeightDelegate.h"

RowHeightDelegate::RowHeightDelegate(int rowHeight, QObject* parent)
    : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}

QSize RowHeightDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (rowHeight_ > 0) {
        size.setHeight(rowHeight_);
    }
    return size;
}
