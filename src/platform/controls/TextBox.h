#pragma once

#include "platform/controls/Control.h"

// A text box, single- or multi-line. setText() is silent; edit() is the user's
// edit and runs the Change handler.
class TextBox : public Control {
    Q_OBJECT
  public:
    TextBox(QObject* owner, const QString& name, bool multiLine = false);

    QString text() const { return text_; }
    void setText(const QString& text);
    bool multiLine() const { return multiLine_; }
    bool locked() const { return locked_; }
    void setLocked(bool locked);

    void edit(const QString& text);
    Handler onChange;

  private:
    QString text_;
    bool multiLine_;
    bool locked_ = false;
};
