#include "platform/window/Forms.h"

#include <QPointer>

#include "platform/runtime/Runtime.h"

Forms::Forms(Runtime& runtime, Dialogs& dialogs) : runtime_(runtime), dialogs_(dialogs) {}

Forms::~Forms() {
    for (auto& window : loaded_) {
        Q_EMIT windowDestroying(window.get());
    }
    for (auto& window : dying_) {
        Q_EMIT windowDestroying(window.get());
    }
}

void Forms::registerWindow(const QString& name, Factory factory) {
    factories_.insert(name.toLower(), std::move(factory));
}

Window* Forms::load(const QString& name) {
    if (Window* window = find(name)) {
        return window;
    }
    const auto factory = factories_.value(name.toLower());
    if (!factory) {
        return nullptr;
    }
    loaded_.push_back(factory(*this));
    Window* window = loaded_.back().get();
    Q_EMIT windowCreated(window);
    window->load();
    // The load may have closed the window again.
    return window->isUnloaded() ? nullptr : window;
}

Window* Forms::find(const QString& name) const {
    for (const auto& window : loaded_) {
        if (window->name().compare(name, Qt::CaseInsensitive) == 0) {
            return window.get();
        }
    }
    return nullptr;
}

QList<Window*> Forms::loaded() const {
    QList<Window*> result;
    for (const auto& window : loaded_) {
        result.append(window.get());
    }
    return result;
}

void Forms::endProgram() {
    for (const auto& window : loaded_) {
        window->hide();
    }
    runtime_.requestQuit();
}

void Forms::unloaded(Window* window) {
    for (auto it = loaded_.begin(); it != loaded_.end(); ++it) {
        if (it->get() == window) {
            dying_.push_back(std::move(*it));
            loaded_.erase(it);
            break;
        }
    }
    reapLater();
}

void Forms::reapLater() {
    if (reapPosted_) {
        return;
    }
    reapPosted_ = true;
    runtime_.post([self = QPointer<Forms>(this)] {
        if (self) {
            self->reap();
        }
    });
}

void Forms::reap() {
    reapPosted_ = false;
    for (auto it = dying_.begin(); it != dying_.end();) {
        if ((*it)->runDepth() == 0) {
            auto window = std::move(*it);
            it = dying_.erase(it);
            destroy(std::move(window));
        } else {
            ++it;
        }
    }
}

void Forms::destroy(std::unique_ptr<Window> window) {
    Q_EMIT windowDestroying(window.get());
    window.reset();
}
