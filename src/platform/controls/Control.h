#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <functional>

// The common part of every control model: a name (the object name the form's widget
// carries too), enabled, visible, tooltip and an optional geometry in twips.
// `changed` tells a bound view that some property changed; it reads them all again.
class Control : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void()>;

    Control(QObject* owner, const QString& name);

    QString name() const { return objectName(); }

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    virtual void setVisible(bool visible);
    QString toolTip() const { return toolTip_; }
    void setToolTip(const QString& text);

    // Position and size in twips (pixels x 15). Null: the form's own layout decides.
    QRect geometry() const { return geometry_; }
    void setGeometry(const QRect& twips);
    // Puts the control in front of its siblings (z-order 0).
    void bringToFront();

  Q_SIGNALS:
    void changed();
    void broughtToFront();

  protected:
    // Runs an event handler when one is bound.
    static void raise(const Handler& handler) {
        if (handler) {
            handler();
        }
    }
    void notify() { Q_EMIT changed(); }
    // Sets a property and tells a bound view, when the value really changes.
    template <class T>
    void update(T& field, const T& value) {
        if (field != value) {
            field = value;
            notify();
        }
    }

  private:
    bool enabled_ = true;
    bool visible_ = true;
    QString toolTip_;
    QRect geometry_;
};
