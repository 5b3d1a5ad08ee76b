#include "platform/controls/TextBox.h"

TextBox::TextBox(QObject* owner, const QString& name, bool multiLine)
    : Control(owner, name), multiLine_(multiLine) {}

void TextBox::setText(const QString& text) {
    if (text_ != text) {
        text_ = text;
        notify();
    }
}

void TextBox::setLocked(bool locked) {
    if (locked_ != locked) {
        locked_ = locked;
        notify();
    }
}

void TextBox::edit(const QString& text) {
    if (!enabled() || locked_) {
        return;
    }
    setText(text);
    raise(onChange);
}
