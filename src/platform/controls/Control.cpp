#include "platform/controls/Control.h"

Control::Control(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
}

void Control::setEnabled(bool enabled) {
    update(enabled_, enabled);
}

void Control::setVisible(bool visible) {
    update(visible_, visible);
}

void Control::setToolTip(const QString& text) {
    update(toolTip_, text);
}

void Control::setGeometry(const QRect& twips) {
    update(geometry_, twips);
}

void Control::bringToFront() {
    Q_EMIT broughtToFront();
}
