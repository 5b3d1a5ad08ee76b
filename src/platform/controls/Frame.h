#pragma once

#include "platform/controls/Control.h"

// A captioned frame that groups other controls.
class Frame : public Control {
    Q_OBJECT
  public:
    Frame(QObject* owner, const QString& name, const QString& caption = {});

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

  private:
    QString caption_;
};
