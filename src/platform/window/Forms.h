#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "platform/window/Window.h"

class Runtime;
class Dialogs;

// The program's collection of loaded windows. Windows are made by registered
// factories when first loaded, and destroyed only after their running code has
// returned (see Window).
class Forms : public QObject {
    Q_OBJECT
  public:
    using Factory = std::function<std::unique_ptr<Window>(Forms&)>;

    Forms(Runtime& runtime, Dialogs& dialogs);
    ~Forms() override;

    Runtime& runtime() const { return runtime_; }
    Dialogs& dialogs() const { return dialogs_; }

    void registerWindow(const QString& name, Factory factory);
    // The loaded window of that name, made and loaded first when needed; nullptr for a
    // name without factory.
    Window* load(const QString& name);
    template <class T>
    T* load(const QString& name) {
        return dynamic_cast<T*>(load(name));
    }
    // The loaded window of that name (case-insensitive), or nullptr.
    Window* find(const QString& name) const;
    template <class T>
    T* find(const QString& name) const {
        return dynamic_cast<T*>(find(name));
    }
    bool IsFormLoaded(const QString& name) const { return find(name) != nullptr; }
    QList<Window*> loaded() const;

    // Ends the program at once: hides every window and asks the runtime to quit.
    // No window's unload handling runs.
    void endProgram();

  Q_SIGNALS:
    // A new window model exists and its load is about to run: a view binds its form now.
    void windowCreated(Window* window);
    // The window model is about to be destroyed.
    void windowDestroying(Window* window);

  private:
    friend class Window;
    void unloaded(Window* window);
    void reapLater();
    void reap();
    void destroy(std::unique_ptr<Window> window);

    Runtime& runtime_;
    Dialogs& dialogs_;
    QHash<QString, Factory> factories_;
    std::vector<std::unique_ptr<Window>> loaded_;
    std::vector<std::unique_ptr<Window>> dying_;
    bool reapPosted_ = false;
};
