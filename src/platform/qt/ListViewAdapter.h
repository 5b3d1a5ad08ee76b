#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QItemSelection>

class ListView;
class QTreeView;
class RowHeightDelegate;

// Shows a ListView model in a QTreeView and reports the view's events back to it.
// Appends and data changes are announced in batches (one insert range and one merged
// dataChanged range per turn of the event loop); whole-list changes are one reset.
class ListViewAdapter final : public QAbstractTableModel {
    Q_OBJECT
  public:
    // `owner` must not outlive `list`; the view drops the adapter when it goes.
    ListViewAdapter(ListView& list, QTreeView& view, QObject* owner);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Announces pending appends and changes now.
    void flush();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void schedule();
    void appended(int first, int last);
    void removed(int position);
    void changed(int position);
    void reset();
    void applyColumns();
    void applyLook();
    void selectRow(int position, bool selected);
    void selectionFromModel();
    void selectionFromView(const QItemSelection& selected, const QItemSelection& deselected);
    void currentFromView(const QModelIndex& current);
    QIcon icon(int number) const;

    ListView& list_;
    QTreeView& view_;
    RowHeightDelegate* delegate_;
    int announced_ = 0;
    int changedFirst_ = -1;
    int changedLast_ = -1;
    bool flushScheduled_ = false;
    bool syncing_ = false;
    bool redispatching_ = false;
    mutable QHash<int, QIcon> icons_;
};
