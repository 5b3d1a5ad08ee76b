#pragma once

#include "platform/desktop/ScreenMetrics.h"

class QtWindowHost;

// Measures with the real screen and the fonts of the bound widgets.
class QtScreenMetrics final : public ScreenMetrics {
  public:
    explicit QtScreenMetrics(const QtWindowHost& host);

    QSize screenPixels() const override;
    int textWidth(const QString& text, const Control* control) const override;
    int scrollBarWidth() const override;
    int screenLeft(const Control& control) const override;

  private:
    const QtWindowHost& host_;
};
