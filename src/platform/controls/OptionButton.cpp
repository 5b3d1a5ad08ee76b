#include "platform/controls/OptionButton.h"

OptionButton::OptionButton(QObject* owner, const QString& name, const QString& group,
                           const QString& caption, bool value)
    : Control(owner, name), group_(group), caption_(caption), value_(value) {}

void OptionButton::setCaption(const QString& caption) {
    update(caption_, caption);
}

void OptionButton::setValue(bool value) {
    if (value && parent()) {
        for (auto* other : parent()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly)) {
            if (other != this && other->group_ == group_ && other->value_) {
                other->value_ = false;
                other->notify();
            }
        }
    }
    if (value_ != value) {
        value_ = value;
        notify();
    }
}

void OptionButton::click() {
    if (!enabled()) {
        return;
    }
    setValue(true);
    raise(onClick);
}
