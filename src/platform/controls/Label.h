#pragma once

#include "platform/controls/Color.h"

#include "platform/controls/Control.h"

// A label. A hand cursor marks a label that acts as a link.
class Label : public Control {
    Q_OBJECT
  public:
    Label(QObject* owner, const QString& name, const QString& caption = {});

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    Color foreColor() const { return foreColor_; }
    void setForeColor(const Color& color);
    bool handCursor() const { return handCursor_; }
    void setHandCursor(bool hand);

    void click();
    Handler onClick;

  private:
    QString caption_;
    Color foreColor_;
    bool handCursor_ = false;
};
