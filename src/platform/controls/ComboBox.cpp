#include "platform/controls/ComboBox.h"

ComboBox::ComboBox(QObject* owner, const QString& name, Style style)
    : Control(owner, name), style_(style) {}

void ComboBox::addItem(const QString& text) {
    items_.append(text);
    notify();
}

void ComboBox::setItems(const QStringList& items) {
    items_ = items;
    if (listIndex_ >= items_.size()) {
        listIndex_ = -1;
    }
    notify();
}

void ComboBox::clear() {
    items_.clear();
    listIndex_ = -1;
    if (style_ == Style::ListOnly) {
        text_.clear();
    }
    notify();
}

void ComboBox::setListIndex(int index) {
    if (index < 0 || index >= items_.size()) {
        index = -1;
    }
    listIndex_ = index;
    if (index >= 0) {
        text_ = items_.at(index);
    } else if (style_ == Style::ListOnly) {
        text_.clear();
    }
    notify();
}

void ComboBox::setText(const QString& text) {
    if (style_ == Style::ListOnly) {
        // A list-only box can only show one of its items.
        setListIndex(int(items_.indexOf(text)));
        return;
    }
    if (text_ != text) {
        text_ = text;
        listIndex_ = int(items_.indexOf(text));
        notify();
    }
}

void ComboBox::setDropDownWidth(int pixels) {
    update(dropDownWidth_, pixels);
}

void ComboBox::select(int index) {
    if (!enabled()) {
        return;
    }
    setListIndex(index);
    raise(onClick);
}

void ComboBox::edit(const QString& text) {
    if (!enabled() || style_ == Style::ListOnly) {
        return;
    }
    setText(text);
    raise(onChange);
}
