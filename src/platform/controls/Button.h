#pragma once

#include "platform/controls/Color.h"

#include "platform/controls/Control.h"

// A command button. An invalid background colour means the window's own colour.
class Button : public Control {
    Q_OBJECT
  public:
    Button(QObject* owner, const QString& name, const QString& caption = {});

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    Color backColor() const { return backColor_; }
    void setBackColor(const Color& color);

    // The user's click: runs the Click handler when the button is enabled.
    void click();
    Handler onClick;

  private:
    QString caption_;
    Color backColor_;
};
