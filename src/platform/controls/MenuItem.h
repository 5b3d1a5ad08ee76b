#pragma once

#include <QList>

#include "platform/controls/Control.h"

// A menu or menu item. A menu is an item with sub-items; a separator is an item
// whose caption is "-". "&" in a caption marks the access key.
class MenuItem : public Control {
    Q_OBJECT
  public:
    MenuItem(QObject* owner, const QString& name, const QString& caption);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool checked() const { return checked_; }
    void setChecked(bool checked);
    bool isSeparator() const { return caption_ == QStringLiteral("-"); }

    // Adds a sub-item; the item belongs to the same owner as this one.
    MenuItem* add(const QString& name, const QString& caption);
    MenuItem* addSeparator();
    const QList<MenuItem*>& items() const { return items_; }

    void click();
    Handler onClick;

  private:
    QString caption_;
    bool checked_ = false;
    QList<MenuItem*> items_;
};
