#include "platform/controls/ListView.h"

#include <algorithm>

ListView::ListView(QObject* owner, const QString& name) : Control(owner, name) {}

ListView::~ListView() = default;

void ListView::addColumn(const QString& caption, int width, ListColumn::Align align) {
    columns_.append(ListColumn{caption, width, align});
    Q_EMIT columnsChanged();
}

void ListView::setColumnWidth(int column, int width) {
    if (column >= 0 && column < columns_.size()) {
        columns_[column].width = width;
        Q_EMIT columnsChanged();
    }
}

void ListView::requestColumnFit(int column) {
    if (column >= 0 && column < columns_.size()) {
        Q_EMIT columnFitRequested(column);
    }
}

// --- gap buffer -------------------------------------------------------------

ListRow* ListView::slot(qsizetype index) const {
    return rows_[size_t(index < gapStart_ ? index : index + gapLength_)].get();
}

void ListView::moveGapTo(qsizetype index) {
    if (gapLength_ == 0) {
        gapStart_ = index;
        return;
    }
    while (gapStart_ > index) {
        --gapStart_;
        rows_[size_t(gapStart_ + gapLength_)] = std::move(rows_[size_t(gapStart_)]);
    }
    while (gapStart_ < index) {
        rows_[size_t(gapStart_)] = std::move(rows_[size_t(gapStart_ + gapLength_)]);
        ++gapStart_;
    }
}

void ListView::closeGap() {
    moveGapTo(count());
    rows_.resize(size_t(count()));
    gapLength_ = 0;
    gapStart_ = qsizetype(rows_.size());
}

void ListView::renumberFrom(qsizetype index) const {
    const qsizetype n = count();
    for (qsizetype i = index; i < n; ++i) {
        slot(i)->position_ = i;
    }
    numberedBelow_ = n;
}

// --- change notification ------------------------------------------------------

void ListView::rowTouched(const ListRow* row) {
    if (!visible()) {
        hiddenChanges_ = true;
        return;
    }
    Q_EMIT rowChanged(positionOf(row) - 1);
}

void ListView::structureChanged() {
    if (visible()) {
        Q_EMIT rowsReset();
    } else {
        hiddenChanges_ = true;
    }
}

void ListView::setVisible(bool visible) {
    Control::setVisible(visible);
    if (visible && hiddenChanges_) {
        hiddenChanges_ = false;
        Q_EMIT rowsReset();
    }
}

// --- rows -----------------------------------------------------------------------

ListRow* ListView::add(const QString& key, const QString& text) {
    if (byKey_.contains(key)) {
        return nullptr;
    }
    auto row = std::make_unique<ListRow>();
    ListRow* raw = row.get();
    raw->id_ = nextId_++;
    raw->key_ = key;
    raw->text_ = text;
    const qsizetype n = count();
    if (gapLength_ > 0) {
        moveGapTo(n);
        rows_[size_t(gapStart_)] = std::move(row);
        ++gapStart_;
        --gapLength_;
    } else {
        rows_.push_back(std::move(row));
        gapStart_ = qsizetype(rows_.size());
    }
    raw->position_ = n;
    if (numberedBelow_ == n) {
        numberedBelow_ = n + 1;
    }
    byKey_.insert(key, raw);
    byId_.insert(raw->id_, raw);
    if (visible()) {
        Q_EMIT rowsAppended(int(n), int(n));
    } else {
        hiddenChanges_ = true;
    }
    return raw;
}

ListRow* ListView::at(int position) const {
    if (position < 1 || position > count()) {
        return nullptr;
    }
    return slot(position - 1);
}

int ListView::positionOf(const ListRow* row) const {
    if (!row || byId_.value(row->id_) != row) {
        return 0;
    }
    if (row->position_ >= numberedBelow_) {
        renumberFrom(numberedBelow_);
    }
    return int(row->position_) + 1;
}

void ListView::remove(ListRow* row) {
    removeAt(positionOf(row));
}

void ListView::removeAt(int position) {
    if (position < 1 || position > count()) {
        return;
    }
    const qsizetype index = position - 1;
    moveGapTo(index);
    std::unique_ptr<ListRow> row = std::move(rows_[size_t(gapStart_ + gapLength_)]);
    ++gapLength_;
    byKey_.remove(row->key_);
    byId_.remove(row->id_);
    if (currentId_ == row->id_) {
        currentId_ = 0;
    }
    numberedBelow_ = std::min(numberedBelow_, index);
    if (visible()) {
        Q_EMIT rowRemoved(int(index));
    } else {
        hiddenChanges_ = true;
    }
}

void ListView::clear() {
    rows_.clear();
    gapStart_ = 0;
    gapLength_ = 0;
    numberedBelow_ = 0;
    byKey_.clear();
    byId_.clear();
    currentId_ = 0;
    structureChanged();
}

void ListView::moveToEnd(ListRow* row) {
    const int position = positionOf(row);
    if (position == 0) {
        return;
    }
    const qsizetype index = position - 1;
    moveGapTo(index);
    std::unique_ptr<ListRow> taken = std::move(rows_[size_t(gapStart_ + gapLength_)]);
    ++gapLength_;
    const qsizetype last = count();
    moveGapTo(last);
    rows_[size_t(gapStart_)] = std::move(taken);
    ++gapStart_;
    --gapLength_;
    numberedBelow_ = std::min(numberedBelow_, index);
    if (visible()) {
        Q_EMIT rowRemoved(int(index));
        Q_EMIT rowsAppended(int(last), int(last));
    } else {
        hiddenChanges_ = true;
    }
}

void ListView::moveToEnd(const QList<ListRow*>& moving) {
    closeGap();
    std::vector<bool> moves(rows_.size(), false);
    std::vector<qsizetype> order;
    order.reserve(size_t(moving.size()));
    for (const ListRow* row : moving) {
        const int position = positionOf(row);
        if (position > 0 && !moves[size_t(position - 1)]) {
            moves[size_t(position - 1)] = true;
            order.push_back(position - 1);
        }
    }
    std::vector<std::unique_ptr<ListRow>> reordered;
    reordered.reserve(rows_.size());
    for (size_t index = 0; index < rows_.size(); ++index) {
        if (!moves[index]) {
            reordered.push_back(std::move(rows_[index]));
        }
    }
    for (const qsizetype index : order) {
        reordered.push_back(std::move(rows_[size_t(index)]));
    }
    rows_ = std::move(reordered);
    gapStart_ = qsizetype(rows_.size());
    numberedBelow_ = 0;
    structureChanged();
}

// --- row fields -------------------------------------------------------------------

void ListView::setText(ListRow* row, const QString& text) {
    if (row && row->text_ != text) {
        row->text_ = text;
        rowTouched(row);
    }
}

bool ListView::setKey(ListRow* row, const QString& key) {
    if (!row) {
        return false;
    }
    if (row->key_ == key) {
        return true;
    }
    if (byKey_.contains(key)) {
        return false;
    }
    byKey_.remove(row->key_);
    row->key_ = key;
    byKey_.insert(key, row);
    return true;
}

void ListView::setSubItem(ListRow* row, int column, const QString& text) {
    if (!row || column < 1) {
        return;
    }
    while (row->subItems_.size() < column) {
        row->subItems_.append(QString());
    }
    if (row->subItems_[column - 1] != text) {
        row->subItems_[column - 1] = text;
        rowTouched(row);
    }
}

void ListView::setTag(ListRow* row, const QString& tag) {
    if (row) {
        row->tag_ = tag;
    }
}

void ListView::setSmallIcon(ListRow* row, int icon) {
    if (row && row->smallIcon_ != icon) {
        row->smallIcon_ = icon;
        rowTouched(row);
    }
}

// --- selection ----------------------------------------------------------------------

void ListView::setSelected(ListRow* row, bool selected) {
    if (!row || row->selected_ == selected) {
        return;
    }
    row->selected_ = selected;
    if (visible()) {
        Q_EMIT rowSelectionChanged(positionOf(row) - 1);
    } else {
        hiddenChanges_ = true;
    }
}

void ListView::selectAll(bool selected) {
    for (qsizetype i = 0, n = count(); i < n; ++i) {
        slot(i)->selected_ = selected;
    }
    if (visible()) {
        Q_EMIT selectionReset();
    } else {
        hiddenChanges_ = true;
    }
}

void ListView::setSelectedItem(ListRow* row) {
    currentId_ = row ? row->id_ : 0;
    if (row) {
        setSelected(row, true);
    }
}

QList<ListRow*> ListView::selectedRows() const {
    QList<ListRow*> result;
    for (qsizetype i = 0, n = count(); i < n; ++i) {
        if (slot(i)->selected_) {
            result.append(slot(i));
        }
    }
    return result;
}

// --- sorting and view requests ---------------------------------------------------------

void ListView::sortOnce(int column, SortOrder order) {
    closeGap();
    // Fold each text once; comparing folded texts is the case-insensitive order.
    std::vector<std::pair<QString, std::unique_ptr<ListRow>>> decorated;
    decorated.reserve(rows_.size());
    for (auto& row : rows_) {
        decorated.emplace_back(row->columnText(column).toCaseFolded(), std::move(row));
    }
    const bool ascending = order == SortOrder::Ascending;
    std::stable_sort(decorated.begin(), decorated.end(), [ascending](const auto& a, const auto& b) {
        return ascending ? a.first < b.first : b.first < a.first;
    });
    for (size_t i = 0; i < decorated.size(); ++i) {
        rows_[i] = std::move(decorated[i].second);
    }
    numberedBelow_ = 0;
    structureChanged();
}

void ListView::ensureVisible(ListRow* row) {
    const int position = positionOf(row);
    if (position > 0 && visible()) {
        Q_EMIT ensureVisibleRequested(position - 1);
    }
}

void ListView::setRowStripes(const Color& stripe, int rowHeight) {
    stripeColor_ = stripe;
    rowHeight_ = rowHeight;
    notify();
}

void ListView::setIconSet(const QString& resourceFolder) {
    iconSet_ = resourceFolder;
    notify();
}

// --- events -------------------------------------------------------------------------------

void ListView::itemClick(ListRow* row) {
    if (row && onItemClick) {
        onItemClick(row);
    }
}

void ListView::click() {
    raise(onClick);
}

void ListView::dblClick() {
    raise(onDblClick);
}

void ListView::columnClick(int column) {
    if (onColumnClick) {
        onColumnClick(column);
    }
}

void ListView::mouseDown(MouseButton button, QPoint twips) {
    if (onMouseDown) {
        onMouseDown(button, twips);
    }
}

bool ListView::beforeLabelEdit() {
    bool cancel = false;
    if (onBeforeLabelEdit) {
        onBeforeLabelEdit(cancel);
    }
    return !cancel;
}
