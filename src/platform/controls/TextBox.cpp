#include "platform/controls/TextBox.h"

TextBox::TextBox(QObject* owner, const QString& name, bool multiLine)
    : Control(owner, name), multiLine_(multiLine) {}

void TextBox::setText(const QString& text) {
    update(text_, text);
}

void TextBox::setLocked(bool locked) {
    update(locked_, locked);
}

void TextBox::edit(const QString& text) {
    if (!enabled() || locked_) {
        return;
    }
    setText(text);
    raise(onChange);
}
