#include "platform/controls/Frame.h"

Frame::Frame(QObject* owner, const QString& name, const QString& caption)
    : Control(owner, name), caption_(caption) {}

void Frame::setCaption(const QString& caption) {
    update(caption_, caption);
}
