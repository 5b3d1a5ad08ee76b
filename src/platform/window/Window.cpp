#include "platform/window/Window.h"

#include "platform/dialogs/Dialogs.h"
#include "platform/window/Forms.h"

Window::Window(Forms& forms, const QString& name) : forms_(forms) {
    setObjectName(name);
}

Window::~Window() = default;

Runtime& Window::runtime() const {
    return forms_.runtime();
}

Dialogs& Window::dialogs() const {
    return forms_.dialogs();
}

void Window::setCaption(const QString& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        Q_EMIT changed();
    }
}

void Window::setIcon(const QString& resource) {
    if (icon_ != resource) {
        icon_ = resource;
        Q_EMIT changed();
    }
}

void Window::setVisible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        Q_EMIT changed();
    }
}

void Window::show() {
    if (!unloaded_) {
        setVisible(true);
    }
}

void Window::hide() {
    setVisible(false);
}

void Window::showModal() {
    if (unloaded_) {
        return;
    }
    RunGuard running(*this);
    setVisible(true);
    dialogs().showModal(*this);
}

void Window::setWindowState(WindowState state) {
    if (state_ != state) {
        state_ = state;
        Q_EMIT changed();
    }
}

void Window::setTopMost(bool topMost) {
    if (topMost_ != topMost) {
        topMost_ = topMost;
        Q_EMIT changed();
    }
}

void Window::activateWindow() {
    Q_EMIT activateRequested();
}

void Window::setGeometry(const QRect& twips) {
    if (geometry_ != twips) {
        geometry_ = twips;
        Q_EMIT changed();
    }
}

void Window::setMinimumSize(const QSize& twips) {
    if (minimumSize_ != twips) {
        minimumSize_ = twips;
        Q_EMIT changed();
    }
}

void Window::load() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    RunGuard running(*this);
    Form_Load();
}

bool Window::close() {
    if (unloaded_ || closing_) {
        return unloaded_;
    }
    RunGuard running(*this);
    closing_ = true;
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        closing_ = false;
        return false;
    }
    Form_Unload();
    unloaded_ = true;
    closing_ = false;
    setVisible(false);
    forms_.unloaded(this);
    return true;
}

void Window::activatedByView() {
    if (!unloaded_) {
        RunGuard running(*this);
        Form_Activate();
    }
}

void Window::resizedByView(const QRect& outerTwips, const QSize& clientTwips) {
    geometry_ = outerTwips;
    clientSize_ = clientTwips;
    if (!unloaded_) {
        RunGuard running(*this);
        Form_Resize();
    }
}

void Window::stateChangedByView(WindowState state) {
    state_ = state;
}

MenuItem* Window::addMenu(const QString& name, const QString& caption) {
    auto* menu = new MenuItem(this, name, caption);
    menus_.append(menu);
    return menu;
}

void Window::popupMenu(MenuItem* menu) {
    Q_EMIT popupRequested(menu);
}

Window::RunGuard::RunGuard(Window& window) : window_(window) {
    ++window_.runDepth_;
}

Window::RunGuard::~RunGuard() {
    if (--window_.runDepth_ == 0 && window_.unloaded_) {
        window_.forms_.reapLater();
    }
}
