#include "platform/controls/CheckBox.h"

CheckBox::CheckBox(QObject* owner, const QString& name, const QString& caption, bool value)
    : Control(owner, name), caption_(caption), value_(value) {}

void CheckBox::setCaption(const QString& caption) {
    update(caption_, caption);
}

void CheckBox::setValue(bool value) {
    update(value_, value);
}

void CheckBox::click() {
    if (!enabled()) {
        return;
    }
    setValue(!value_);
    raise(onClick);
}
