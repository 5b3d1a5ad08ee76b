#pragma once

#include "platform/controls/Control.h"

class ProgressBar : public Control {
    Q_OBJECT
  public:
    ProgressBar(QObject* owner, const QString& name);

    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    void setRange(int min, int max);
    void setValue(int value);

  private:
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
};
