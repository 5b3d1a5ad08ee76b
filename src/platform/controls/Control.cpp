#include "platform/controls/Control.h"

Control::Control(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        notify();
    }
}

void Control::setVisible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        notify();
    }
}

void Control::setToolTip(const QString& text) {
    if (toolTip_ != text) {
        toolTip_ = text;
        notify();
    }
}

void Control::setGeometry(const QRect& twips) {
    if (geometry_ != twips) {
        geometry_ = twips;
        notify();
    }
}

void Control::bringToFront() {
    Q_EMIT broughtToFront();
}
