#include "support/FakeClipboard.h"

void FakeClipboard::clear() {
    text_.clear();
    ++clears_;
}

void FakeClipboard::setText(const QString& text) {
    text_ = text;
}
