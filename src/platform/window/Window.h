#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <utility>

#include "platform/controls/MenuItem.h"
#include "platform/window/WindowState.h"

class Forms;
class Runtime;
class Dialogs;

// The base of every window model: caption, icon, visibility, window state, geometry in
// twips (pixels x 15), minimum size, menus and the events load, activate, resize,
// query-unload (with cancel) and unload. Controls are child objects named after their
// form widgets.
//
// A window may close while one of its own handlers is still running a loop (inside a
// yield). Every handler bound through guard() counts as running; the model is
// destroyed only after the last of them has returned.
class Window : public QObject {
    Q_OBJECT
  public:
    Window(Forms& forms, const QString& name);
    ~Window() override;

    QString name() const { return objectName(); }
    Forms& forms() const { return forms_; }
    Runtime& runtime() const;
    Dialogs& dialogs() const;

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    // Resource path of the window icon, such as ":/images/orvellin.png".
    QString icon() const { return icon_; }
    void setIcon(const QString& resource);
    bool visible() const { return visible_; }
    void show();
    void hide();
    // Shows the window modally and returns when it is hidden or unloaded.
    void showModal();
    WindowState windowState() const { return state_; }
    void setWindowState(WindowState state);
    bool topMost() const { return topMost_; }
    void setTopMost(bool topMost);
    // Brings the window in front of the others and gives it the focus.
    void activateWindow();

    // Outer geometry and inner (client) size in twips.
    QRect geometry() const { return geometry_; }
    void setGeometry(const QRect& twips);
    QSize clientSize() const { return clientSize_; }
    QSize minimumSize() const { return minimumSize_; }
    void setMinimumSize(const QSize& twips);

    // Life cycle.
    void load();
    // Asks the window to close: query-unload, then unload. True when it is unloaded.
    bool close();
    bool isUnloaded() const { return unloaded_; }
    int runDepth() const { return runDepth_; }

    // Calls from the view.
    void activatedByView();
    void resizedByView(const QRect& outerTwips, const QSize& clientTwips);
    void stateChangedByView(WindowState state);

    // Menus of the menu bar, in order.
    MenuItem* addMenu(const QString& name, const QString& caption);
    const QList<MenuItem*>& menus() const { return menus_; }
    // Shows a menu as a pop-up at the mouse pointer.
    void popupMenu(MenuItem* menu);

    // A control of this window by name, or nullptr.
    template <class T>
    T* control(const QString& name) const {
        return findChild<T*>(name, Qt::FindDirectChildrenOnly);
    }

    // Marks the window as running code while alive.
    class RunGuard {
      public:
        explicit RunGuard(Window& window);
        ~RunGuard();
        RunGuard(const RunGuard&) = delete;
        RunGuard& operator=(const RunGuard&) = delete;

      private:
        Window& window_;
    };

    // Wraps an event handler so that it counts as running code of this window.
    template <class F>
    auto guard(F handler) {
        return [this, handler = std::move(handler)](auto&&... args) {
            RunGuard running(*this);
            handler(std::forward<decltype(args)>(args)...);
        };
    }

  Q_SIGNALS:
    void changed();
    void popupRequested(MenuItem* menu);
    void activateRequested();

  protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(bool& cancel) { (void)cancel; }
    virtual void Form_Unload() {}

  private:
    void setVisible(bool visible);

    Forms& forms_;
    QString caption_;
    QString icon_;
    bool visible_ = false;
    bool topMost_ = false;
    WindowState state_ = WindowState::Normal;
    QRect geometry_;
    QSize clientSize_;
    QSize minimumSize_;
    QList<MenuItem*> menus_;
    bool loaded_ = false;
    bool closing_ = false;
    bool unloaded_ = false;
    int runDepth_ = 0;
};
