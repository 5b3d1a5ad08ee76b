#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class Forms;
class Window;
class Control;
class QWidget;
class FormBinder;

// Gives every window model that the collection of windows creates its Qt form, bound
// by a FormBinder, and deletes the form when the model goes.
class QtWindowHost final : public QObject {
    Q_OBJECT
  public:
    explicit QtWindowHost(Forms& forms);
    ~QtWindowHost() override;

    QWidget* formOf(const Window* window) const;
    QWidget* widgetOf(const Control* control) const;

  private:
    struct View {
        QPointer<QWidget> form;
        QPointer<FormBinder> binder;
    };
    void create(Window* window);
    void destroy(Window* window);

    QHash<const Window*, View> views_;
};
