#pragma once

#include <QPoint>
#include "platform/controls/Color.h"

#include "platform/controls/Control.h"
#include "platform/controls/MouseButton.h"

// A picture box, panel or image: an optional picture (a resource path such as
// ":/images/cover.png"), a background colour and mouse events with positions in twips.
class PictureBox : public Control {
    Q_OBJECT
  public:
    PictureBox(QObject* owner, const QString& name, const QString& picture = {});

    QString picture() const { return picture_; }
    void setPicture(const QString& resource);
    Color backColor() const { return backColor_; }
    void setBackColor(const Color& color);

    using MouseHandler = std::function<void(MouseButton, QPoint twips)>;
    void mouseDown(MouseButton button, QPoint twips);
    void mouseMove(MouseButton button, QPoint twips);
    void mouseUp(MouseButton button, QPoint twips);
    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;

  private:
    QString picture_;
    Color backColor_;
};
