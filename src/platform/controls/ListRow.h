#pragma once

#include <QString>
#include <QStringList>

class ListView;

// One row of a list view. Fields change only through the list view, which keeps its
// key index current and tells a bound view. `id` is given when the row is added and
// never changes: not by sorting, removals of other rows or moving the row.
class ListRow {
  public:
    quint64 id() const { return id_; }
    const QString& key() const { return key_; }
    const QString& text() const { return text_; }
    // Sub-item `column` (from 1); empty when never set.
    QString subItem(int column) const { return subItems_.value(column - 1); }
    // Column 0 is the text, 1 and up the sub-items.
    QString columnText(int column) const { return column == 0 ? text_ : subItem(column); }
    const QString& tag() const { return tag_; }
    int smallIcon() const { return smallIcon_; }
    bool selected() const { return selected_; }

  private:
    friend class ListView;
    quint64 id_ = 0;
    QString key_;
    QString text_;
    QStringList subItems_;
    QString tag_;
    int smallIcon_ = 0;
    bool selected_ = false;
    qsizetype position_ = 0;  // 0-based; valid below the list's renumbering mark
};
