#pragma once

#include <QStringList>

#include "platform/controls/Control.h"

// A drop-down list. An editable one (the default) has a text of its own; a
// list-only one shows the chosen item as its text. The list index is -1 when no
// item is chosen. Setters are silent; select() and edit() are the user's actions.
class ComboBox : public Control {
    Q_OBJECT
  public:
    enum class Style { Editable, ListOnly };

    ComboBox(QObject* owner, const QString& name, Style style = Style::Editable);

    Style style() const { return style_; }
    const QStringList& items() const { return items_; }
    int listCount() const { return int(items_.size()); }
    QString item(int index) const { return items_.value(index); }
    void addItem(const QString& text);
    void setItems(const QStringList& items);
    void clear();

    int listIndex() const { return listIndex_; }
    // Choosing an item also makes it the text; an index out of range chooses none.
    void setListIndex(int index);
    QString text() const { return text_; }
    void setText(const QString& text);

    // Width of the drop-down part in pixels; 0 means as wide as the box.
    int dropDownWidth() const { return dropDownWidth_; }
    void setDropDownWidth(int pixels);

    void select(int index);
    void edit(const QString& text);
    Handler onClick;
    Handler onChange;

  private:
    Style style_;
    QStringList items_;
    int listIndex_ = -1;
    QString text_;
    int dropDownWidth_ = 0;
};
