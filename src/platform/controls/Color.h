#pragma once

#include <QString>
#include <cstdint>

// A colour of a control without QtGui: red, green and blue, or none (the window's
// own colour). The described colour values are in blue-green-red order: fromBgr().
class Color {
  public:
    constexpr Color() = default;
    static constexpr Color fromRgb(uint32_t rgb) { return Color(rgb & 0xFFFFFF); }
    static constexpr Color fromBgr(uint32_t bgr) {
        return Color((bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF));
    }

    constexpr bool isValid() const { return valid_; }
    constexpr uint32_t rgb() const { return rgb_; }
    // "#rrggbb", or empty when none.
    QString name() const {
        return valid_ ? QStringLiteral("#%1").arg(rgb_, 6, 16, QLatin1Char('0')) : QString();
    }
    constexpr bool operator==(const Color&) const = default;

  private:
    constexpr explicit Color(uint32_t rgb) : rgb_(rgb), valid_(true) {}
    uint32_t rgb_ = 0;
    bool valid_ = false;
};
