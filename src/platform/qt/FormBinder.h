#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class Window;
class Control;
class MenuItem;
class QWidget;
class QAction;
class QMenu;

// Joins a window model to its form by object name, both ways: a property set in the
// model shows on the widget, and a click or an edit on the widget reaches the model.
// Menus are built from the model's menu items; a list view gets a ListViewAdapter.
class FormBinder final : public QObject {
    Q_OBJECT
  public:
    FormBinder(Window& window, QWidget& form);

    QWidget* widgetOf(const Control* control) const { return widgets_.value(control); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void bindWindow();
    void syncWindow();
    void reportClientSize();
    bool windowEvent(QEvent* event);
    void bindControl(Control* control, QWidget* widget);
    void bindButtonLike(Control* control, QWidget* widget);
    void bindInputs(Control* control, QWidget* widget);
    void bindPanels(Control* control, QWidget* widget);
    void sync(Control* control);
    void bindMenus();
    QAction* menuAction(MenuItem* item);
    void syncMenuItem(MenuItem* item);
    void popup(MenuItem* menu);

    Window& window_;
    QWidget& form_;
    QHash<const Control*, QWidget*> widgets_;
    QHash<const QObject*, Control*> controlOf_;
    QHash<const MenuItem*, QAction*> actions_;
    QHash<const MenuItem*, QMenu*> menus_;
    bool syncing_ = false;
    bool firstShow_ = true;
};
