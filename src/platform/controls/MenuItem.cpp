#include "platform/controls/MenuItem.h"

MenuItem::MenuItem(QObject* owner, const QString& name, const QString& caption)
    : Control(owner, name), caption_(caption) {}

void MenuItem::setCaption(const QString& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        notify();
    }
}

void MenuItem::setChecked(bool checked) {
    if (checked_ != checked) {
        checked_ = checked;
        notify();
    }
}

MenuItem* MenuItem::add(const QString& name, const QString& caption) {
    auto* item = new MenuItem(parent(), name, caption);
    items_.append(item);
    return item;
}

MenuItem* MenuItem::addSeparator() {
    return add(name() + QStringLiteral("_sep%1").arg(items_.size()), QStringLiteral("-"));
}

void MenuItem::click() {
    if (enabled() && visible() && !isSeparator()) {
        raise(onClick);
    }
}
