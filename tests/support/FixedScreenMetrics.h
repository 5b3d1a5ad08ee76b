#pragma once

#include <QHash>

#include "platform/desktop/ScreenMetrics.h"

// Fixed measurements: a 1920 x 1080 screen, 7 pixels per character, controls at the
// left edge unless a test places them.
class FixedScreenMetrics final : public ScreenMetrics {
  public:
    QSize screenPixels() const override { return screen; }
    int textWidth(const QString& text, const Control* control) const override;
    int scrollBarWidth() const override { return 17; }
    int screenLeft(const Control& control) const override;

    QSize screen{1920, 1080};
    int pixelsPerCharacter = 7;
    QHash<QString, int> leftOfControl;
};
