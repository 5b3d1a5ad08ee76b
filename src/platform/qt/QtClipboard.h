#pragma once

#include "platform/desktop/Clipboard.h"

class QtClipboard final : public Clipboard {
  public:
    void clear() override;
    void setText(const QString& text) override;
    QString text() const override;
};
