#include "platform/controls/Button.h"

Button::Button(QObject* owner, const QString& name, const QString& caption)
    : Control(owner, name), caption_(caption) {}

void Button::setCaption(const QString& caption) {
    update(caption_, caption);
}

void Button::setBackColor(const Color& color) {
    update(backColor_, color);
}

void Button::click() {
    if (enabled() && visible()) {
        raise(onClick);
    }
}
