#include "platform/controls/Button.h"

Button::Button(QObject* owner, const QString& name, const QString& caption)
    : Control(owner, name), caption_(caption) {}

void Button::setCaption(const QString& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        notify();
    }
}

void Button::setBackColor(const Color& color) {
    if (backColor_ != color) {
        backColor_ = color;
        notify();
    }
}

void Button::click() {
    if (enabled() && visible()) {
        raise(onClick);
    }
}
