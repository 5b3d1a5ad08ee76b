#include "platform/controls/CheckBox.h"

CheckBox::CheckBox(QObject* owner, const QString& name, const QString& caption, bool value)
    : Control(owner, name), caption_(caption), value_(value) {}

void CheckBox::setCaption(const QString& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        notify();
    }
}

void CheckBox::setValue(bool value) {
    if (value_ != value) {
        value_ = value;
        notify();
    }
}

void CheckBox::click() {
    if (!enabled()) {
        return;
    }
    setValue(!value_);
    raise(onClick);
}
