#pragma once

#include <QSize>
#include <QString>

class Control;

// Screen and font measurements that the window rules need; the desktop shell measures
// its real widgets, tests give fixed numbers.
class ScreenMetrics {
  public:
    virtual ~ScreenMetrics() = default;
    virtual QSize screenPixels() const = 0;
    // Width of a text in the font of the given control (of a default control when null).
    virtual int textWidth(const QString& text, const Control* control = nullptr) const = 0;
    virtual int scrollBarWidth() const = 0;
    // Left edge of a control in screen pixels.
    virtual int screenLeft(const Control& control) const = 0;
};
