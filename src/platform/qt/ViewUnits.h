#pragma once

#include <Qt>

#include "platform/controls/MouseButton.h"

// Units and buttons as the window models count them.
constexpr int kTwipsPerPixel = 15;

inline MouseButton toMouseButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::RightButton:
            return MouseButton::Right;
        case Qt::MiddleButton:
            return MouseButton::Middle;
        default:
            return MouseButton::Left;
    }
}
