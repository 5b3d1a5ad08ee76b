#include "platform/controls/Label.h"

Label::Label(QObject* owner, const QString& name, const QString& caption)
    : Control(owner, name), caption_(caption) {}

void Label::setCaption(const QString& caption) {
    update(caption_, caption);
}

void Label::setForeColor(const Color& color) {
    update(foreColor_, color);
}

void Label::setHandCursor(bool hand) {
    update(handCursor_, hand);
}

void Label::click() {
    if (enabled() && visible()) {
        raise(onClick);
    }
}
