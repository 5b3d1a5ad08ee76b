#pragma once

#include "platform/controls/Control.h"

// An option button. Buttons of the same owner and group name are exclusive:
// selecting one clears the others.
class OptionButton : public Control {
    Q_OBJECT
  public:
    OptionButton(QObject* owner, const QString& name, const QString& group,
                 const QString& caption = {}, bool value = false);

    QString group() const { return group_; }
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool value() const { return value_; }
    // Selecting clears the other buttons of the group; no handler runs.
    void setValue(bool value);

    // The user's click: selects this button, then runs the Click handler.
    void click();
    Handler onClick;

  private:
    QString group_;
    QString caption_;
    bool value_;
};
