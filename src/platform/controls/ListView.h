#pragma once

#include <QHash>
#include <QList>
#include <QPoint>
#include <memory>
#include <vector>
#include "platform/controls/Color.h"

#include "platform/controls/Control.h"
#include "platform/controls/ListColumn.h"
#include "platform/controls/ListRow.h"
#include "platform/controls/MouseButton.h"

// A list view in report view, and the data model of the rows it shows: every row has a
// key unique within the list, found in constant time, and an id that never changes.
// Positions count from 1; removing a row moves the later rows up.
//
// While the list is hidden, changes reach a bound view as one reset when it is shown
// again. Rows sit in a gap buffer, so a walk that removes k of n rows from front to
// back costs O(n + k) in all.
class ListView : public Control {
    Q_OBJECT
  public:
    enum class SortOrder { Ascending, Descending };

    ListView(QObject* owner, const QString& name);
    ~ListView() override;

    // Columns (report view). Column 0 shows the row text, 1 and up the sub-items.
    void addColumn(const QString& caption, int width = 100,
                   ListColumn::Align align = ListColumn::Align::Left);
    const QList<ListColumn>& columns() const { return columns_; }
    int columnCount() const { return int(columns_.size()); }
    void setColumnWidth(int column, int width);
    // Asks a bound view to fit a column (from 0) to the wider of header and content.
    void requestColumnFit(int column);

    // Rows.
    // Appends a row; nullptr (the failure) when the key is already in the list.
    ListRow* add(const QString& key, const QString& text);
    int count() const { return int(rows_.size() - gapLength_); }
    ListRow* at(int position) const;
    ListRow* findByKey(const QString& key) const { return byKey_.value(key); }
    ListRow* findById(quint64 id) const { return byId_.value(id); }
    // Position from 1, or 0 when the row is not in this list.
    int positionOf(const ListRow* row) const;
    void remove(ListRow* row);
    void removeAt(int position);
    void clear();
    // Moves a row to the end of the list, keeping its id.
    void moveToEnd(ListRow* row);
    // Moves the rows to the end in this order, as one moveToEnd after the other would,
    // in one pass however many rows move; the others keep their order.
    void moveToEnd(const QList<ListRow*>& rows);

    void setText(ListRow* row, const QString& text);
    // Fails (false, nothing changes) when another row holds the key.
    bool setKey(ListRow* row, const QString& key);
    void setSubItem(ListRow* row, int column, const QString& text);
    void setTag(ListRow* row, const QString& tag);
    void setSmallIcon(ListRow* row, int icon);

    // Selection: a flag per row, and the current row (the selected item).
    void setSelected(ListRow* row, bool selected);
    void selectAll(bool selected);
    ListRow* selectedItem() const { return findById(currentId_); }
    void setSelectedItem(ListRow* row);
    QList<ListRow*> selectedRows() const;
    bool multiSelect() const { return multiSelect_; }
    void setMultiSelect(bool multi) { multiSelect_ = multi; }

    // Sorts once by the text of a column, case-insensitively; later rows append at the end.
    void sortOnce(int column, SortOrder order);
    void ensureVisible(ListRow* row);

    // Alternating row colours: a stripe colour and white, rows of `rowHeight` pixels.
    void setRowStripes(const Color& stripe, int rowHeight);
    Color stripeColor() const { return stripeColor_; }
    int rowHeight() const { return rowHeight_; }
    // Small icons: a resource folder holding <number>.png images.
    void setIconSet(const QString& resourceFolder);
    QString iconSet() const { return iconSet_; }

    void setVisible(bool visible) override;

    // Events, as the user raises them.
    void itemClick(ListRow* row);
    void click();
    void dblClick();
    void columnClick(int column);
    void mouseDown(MouseButton button, QPoint twips);
    // True when the label edit may go ahead.
    bool beforeLabelEdit();
    std::function<void(ListRow*)> onItemClick;
    Handler onClick;
    Handler onDblClick;
    std::function<void(int column)> onColumnClick;
    std::function<void(MouseButton, QPoint)> onMouseDown;
    std::function<void(bool& cancel)> onBeforeLabelEdit;

  Q_SIGNALS:
    // Positions below are 0-based.
    void rowsAppended(int first, int last);
    void rowRemoved(int position);
    void rowChanged(int position);
    void rowsReset();
    void columnsChanged();
    void rowSelectionChanged(int position);
    void selectionReset();
    void ensureVisibleRequested(int position);
    void columnFitRequested(int column);

  private:
    ListRow* slot(qsizetype index) const;
    void moveGapTo(qsizetype index);
    void closeGap();
    void renumberFrom(qsizetype index) const;
    void rowTouched(const ListRow* row);
    void structureChanged();

    QList<ListColumn> columns_;
    std::vector<std::unique_ptr<ListRow>> rows_;
    qsizetype gapStart_ = 0;
    qsizetype gapLength_ = 0;
    mutable qsizetype numberedBelow_ = 0;
    QHash<QString, ListRow*> byKey_;
    QHash<quint64, ListRow*> byId_;
    quint64 nextId_ = 1;
    quint64 currentId_ = 0;
    bool multiSelect_ = false;
    bool hiddenChanges_ = false;
    Color stripeColor_;
    int rowHeight_ = 0;
    QString iconSet_;
};
