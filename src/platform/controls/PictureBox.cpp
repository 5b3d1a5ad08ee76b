#include "platform/controls/PictureBox.h"

PictureBox::PictureBox(QObject* owner, const QString& name, const QString& picture)
    : Control(owner, name), picture_(picture) {}

void PictureBox::setPicture(const QString& resource) {
    update(picture_, resource);
}

void PictureBox::setBackColor(const Color& color) {
    update(backColor_, color);
}

void PictureBox::mouseDown(MouseButton button, QPoint twips) {
    if (onMouseDown) {
        onMouseDown(button, twips);
    }
}

void PictureBox::mouseMove(MouseButton button, QPoint twips) {
    if (onMouseMove) {
        onMouseMove(button, twips);
    }
}

void PictureBox::mouseUp(MouseButton button, QPoint twips) {
    if (onMouseUp) {
        onMouseUp(button, twips);
    }
}
