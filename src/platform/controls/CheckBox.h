#pragma once

#include "platform/controls/Control.h"

// A check box. setValue() changes the value silently; click() is the user's click,
// which toggles the value and then runs the Click handler.
class CheckBox : public Control {
    Q_OBJECT
  public:
    CheckBox(QObject* owner, const QString& name, const QString& caption = {}, bool value = false);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool value() const { return value_; }
    void setValue(bool value);

    void click();
    Handler onClick;

  private:
    QString caption_;
    bool value_;
};
