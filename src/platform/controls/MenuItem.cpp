#include "platform/controls/MenuItem.h"

MenuItem::MenuItem(QObject* owner, const QString& name, const QString& caption)
    : Control(owner, name), caption_(caption) {}

void MenuItem::setCaption(const QString& caption) {
    update(caption_, caption);
}

void MenuItem::setChecked(bool checked) {
    update(checked_, checked);
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
