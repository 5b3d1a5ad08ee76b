#include "support/FixedScreenMetrics.h"

#include "platform/controls/Control.h"

int FixedScreenMetrics::textWidth(const QString& text, const Control*) const {
    return int(text.size()) * pixelsPerCharacter;
}

int FixedScreenMetrics::screenLeft(const Control& control) const {
    return leftOfControl.value(control.name(), 0);
}
