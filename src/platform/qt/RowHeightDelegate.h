#pragma once

#include <QStyledItemDelegate>

// Gives every row of a list the list model's fixed row height.
class RowHeightDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    RowHeightDelegate(int rowHeight, QObject* parent);
    void setRowHeight(int rowHeight) { rowHeight_ = rowHeight; }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    int rowHeight_;
};
