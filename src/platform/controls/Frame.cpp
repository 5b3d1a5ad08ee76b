#include "platform/controls/Frame.h"

Frame::Frame(QObject* owner, const QString& name, const QString& caption)
    : Control(owner, name), caption_(caption) {}

void Frame::setCaption(const QString& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        notify();
    }
}
