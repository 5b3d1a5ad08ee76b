#pragma once

#include "platform/desktop/Clipboard.h"

class FakeClipboard final : public Clipboard {
  public:
    void clear() override;
    void setText(const QString& text) override;
    QString text() const override { return text_; }
    int clears() const { return clears_; }

  private:
    QString text_;
    int clears_ = 0;
};
