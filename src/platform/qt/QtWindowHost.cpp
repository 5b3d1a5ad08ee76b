#include "platform/qt/QtWindowHost.h"

#include <QWidget>

#include "platform/controls/Control.h"
#include "platform/qt/FormBinder.h"
#include "platform/qt/FormRegistry.h"
#include "platform/window/Forms.h"

QtWindowHost::QtWindowHost(Forms& forms) {
    connect(&forms, &Forms::windowCreated, this, &QtWindowHost::create);
    connect(&forms, &Forms::windowDestroying, this, &QtWindowHost::destroy);
}

QtWindowHost::~QtWindowHost() {
    for (const View& view : std::as_const(views_)) {
        delete view.form;
    }
}

void QtWindowHost::create(Window* window) {
    QWidget* form = FormRegistry::create(window->name());
    if (!form) {
        qWarning("no form for window %s", qPrintable(window->name()));
        return;
    }
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    views_.insert(window, View{form, new FormBinder(*window, *form)});
}

void QtWindowHost::destroy(Window* window) {
    const View view = views_.take(window);
    // The binder and its adapters refer to the model: they go with it, now.
    delete view.binder;
    if (view.form) {
        // Qt may still hold events for the form: delete it later.
        view.form->hide();
        view.form->deleteLater();
    }
}

QWidget* QtWindowHost::formOf(const Window* window) const {
    return views_.value(window).form;
}

QWidget* QtWindowHost::widgetOf(const Control* control) const {
    const auto* window = control ? qobject_cast<const Window*>(control->parent()) : nullptr;
    const View view = views_.value(window);
    return view.binder ? view.binder->widgetOf(control) : nullptr;
}
