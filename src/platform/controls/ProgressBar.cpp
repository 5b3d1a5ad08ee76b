#include "platform/controls/ProgressBar.h"

#include <algorithm>

ProgressBar::ProgressBar(QObject* owner, const QString& name) : Control(owner, name) {}

void ProgressBar::setRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    value_ = std::clamp(value_, min_, max_);
    notify();
}

void ProgressBar::setValue(int value) {
    value = std::clamp(value, min_, max_);
    if (value_ != value) {
        value_ = value;
        notify();
    }
}
