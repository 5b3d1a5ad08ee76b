#include "platform/controls/Label.h"

Label::Label(QObject* owner, const QString& name, const QString& caption)
    : Control(owner, name), caption_(caption) {}

void Label::setCaption(const QString& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        notify();
    }
}

void Label::setForeColor(const Color& color) {
    if (foreColor_ != color) {
        foreColor_ = color;
        notify();
    }
}

void Label::setHandCursor(bool hand) {
    if (handCursor_ != hand) {
        handCursor_ = hand;
        notify();
    }
}

void Label::click() {
    if (enabled() && visible()) {
        raise(onClick);
    }
}
